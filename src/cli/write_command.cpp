// tarn-cli write [--port NAME] [--yes] [--no-backup] [--log FILE [--force]] FILE INDEX:
// program a radio from a client and verify it.
#include "cli/cli_command.h"
#include "cli/radio_command.h"
#include "model/message_texts.h"

namespace tarn::cli {

int runWrite(const std::vector<std::string>& args) {
    constexpr const char* kUsage =
        "write [--port NAME] [--yes] [--no-backup] [--log FILE [--force]] FILE INDEX";
    RadioCommand command;
    if (const auto code = command.prepare(args, kUsage, msg::kNoClientsToWrite, {"--no-backup"}))
        return *code;
    // The file is never changed by a write.
    return command.finish(programRadio(command.document, command.index, command.setup()));
}

}  // namespace tarn::cli
