#include "cli/radio_command.h"

#include <cstdio>

#include "cli/cli_command.h"
#include "cli/cli_feedback.h"
#include "cli/cli_support.h"
#include "database/replace_file.h"
#include "model/message_texts.h"
#include "model/user_feedback.h"
#include "settings/settings_store.h"

namespace tarn::cli {

std::optional<int> RadioCommand::prepare(const std::vector<std::string>& args, const char* usage,
                                         const char* emptyText,
                                         const std::set<std::string>& ownFlags, bool list) {
    std::set<std::string> known = ownFlags;
    known.insert({"--yes", "--force"});
    const auto parsed = parseArguments(args, known, {"--port", "--log"}, 2);
    std::optional<std::vector<int>> numbers;
    if (parsed && list) {
        numbers = parseIndexList(parsed->positional[1]);
    } else if (const auto one = parsed ? parseIndex(parsed->positional[1]) : std::nullopt) {
        numbers = std::vector<int>{*one};
    }
    if (!numbers) return usageError(usage);
    file = parsed->positional[0];
    indexes = *numbers;
    index = indexes.front();
    if (parsed->values.count("--port")) port = parsed->values.at("--port");
    assumeYes = parsed->flags.count("--yes") != 0;
    flags = parsed->flags;
    if (!parsed->values.count("--log") && flags.count("--force")) return usageError(usage);

    if (!loadDatabase(document, file)) return kExitFailure;
    if (parsed->values.count("--log")) {
        logFile = fullPath(parsed->values.at("--log"));
        if (const auto refused = refuseOutput(logFile, flags.count("--force") != 0)) return refused;
    }
    if (document.database().clientCount() == 0) {
        showError(MessageOwner::none(), emptyText);
        return kExitFailure;
    }
    for (const int n : indexes) {
        if (!hasClient(document.database(), n)) return kExitFailure;
    }
    return std::nullopt;
}

RadioSetup RadioCommand::setup() {
    cliFeedback().setAssumeYes(assumeYes);
    RadioSetup setup;
    setup.port = port.empty() ? settings().port() : port;
    if (!logFile.empty()) setup.log = &log;
    setup.backupBeforeWrite = settings().backupBeforeWrite() && !flags.count("--no-backup");
    return setup;
}

int RadioCommand::finish(const RadioReport& report) const {
    if (!logFile.empty()) {
        ReplacingFile out(logFile);
        out.write(log.toText());
        if (out.commit() != ReplaceResult::Written)
            std::fprintf(
                stderr, "%s\n",
                terminalText(formatMessage(msg::kRadioLogNotWritten, std::string_view(logFile)))
                    .c_str());
    }
    // Every command says how it ended, also when no message did.
    if (!report.text.empty()) std::fprintf(stderr, "%s\n", shownText(report.text).c_str());
    if (!report.backupFailure.empty())
        std::fprintf(stderr, "%s\n", terminalText(report.backupFailure).c_str());
    return report.exitCode();
}

}  // namespace tarn::cli
