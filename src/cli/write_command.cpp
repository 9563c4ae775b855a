// tarn-cli write [--port NAME] [--yes] [--log FILE [--force]] FILE INDEX: program a radio from a
// client and verify.
#include <algorithm>
#include <array>

#include "cli/cli_command.h"
#include "cli/cli_support.h"
#include "cli/radio_command.h"
#include "database/client_database.h"
#include "model/message_texts.h"
#include "model/user_feedback.h"
#include "radio/serial_link.h"

namespace tarn::cli {

int runWrite(const std::vector<std::string>& args) {
    constexpr const char* kUsage = "write [--port NAME] [--yes] [--log FILE [--force]] FILE INDEX";
    RadioCommand command;
    ClientDatabase db(false);
    if (const auto code = command.prepare(args, kUsage, db, msg::kNoClientsToWrite)) return *code;
    if (db.clientHasNoChannels(command.index)) {
        showError(MessageOwner::of(nullptr), msg::kNoChannelsDefined);
        return kExitFailure;
    }

    SerialLink link;
    command.setUp(link);
    std::array<std::uint8_t, kImageSize> image{};
    db.copyClientImage(command.index, image.data(), kImageSize);
    const bool done = link.writeRadio(nullptr, image.data(), kImageSize, true);
    command.saveLog();
    if (!done) return kExitFailure;
    if (link.lastReadBack().size() == kImageSize) {
        // What the radio holds now, as it came back (unchecked, byte for byte).
        ClientRecord verified = *db.client(command.index);
        verified.image() = {};
        std::copy(link.lastReadBack().begin(), link.lastReadBack().end(), verified.image().begin());
        command.keepBackup(BackupKind::Verified, verified);
    }
    // The file is never changed by a write.
    return link.lastVerification() == SerialLink::Verification::Passed ? kExitOk : kExitMismatch;
}

}  // namespace tarn::cli
