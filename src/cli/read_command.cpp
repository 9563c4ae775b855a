// tarn-cli read [--port NAME] [--yes] FILE INDEX: a radio's memory into a client, then save.
#include <array>

#include "cli/cli_command.h"
#include "cli/cli_support.h"
#include "cli/radio_command.h"
#include "database/client_database.h"
#include "model/message_texts.h"
#include "model/user_feedback.h"
#include "radio/serial_link.h"

namespace tarn::cli {

int runRead(const std::vector<std::string>& args) {
    constexpr const char* kUsage = "read [--port NAME] [--yes] FILE INDEX";
    RadioCommand command;
    ClientDatabase db(false);
    if (const auto code = command.prepare(args, kUsage, db, msg::kNoClientsToRead)) return *code;
    SerialLink link;
    command.setUp(link);
    std::array<std::uint8_t, kImageSize> image{};
    if (!link.readRadio(nullptr, image.data(), kImageSize, false)) return kExitFailure;
    db.loadClientImage(command.index, image.data(), kImageSize);
    return saveDatabase(db, command.file) ? kExitOk : kExitFailure;
}

}  // namespace tarn::cli
