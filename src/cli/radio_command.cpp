#include "cli/radio_command.h"

#include <cstdio>
#include <ctime>

#include "cli/cli_command.h"
#include "cli/cli_feedback.h"
#include "cli/cli_support.h"
#include "database/client_database.h"
#include "database/replace_file.h"
#include "model/message_texts.h"
#include "model/user_feedback.h"
#include "radio/serial_link.h"
#include "settings/settings_store.h"

namespace tarn::cli {

std::optional<int> RadioCommand::prepare(const std::vector<std::string>& args, const char* usage,
                                         ClientDatabase& db, const char* emptyText,
                                         const std::set<std::string>& ownFlags) {
    std::set<std::string> known = ownFlags;
    known.insert({"--yes", "--force"});
    const auto parsed = parseArguments(args, known, {"--port", "--log"}, 2);
    const auto number = parsed ? parseIndex(parsed->positional[1]) : std::nullopt;
    if (!number) return usageError(usage);
    file = parsed->positional[0];
    index = *number;
    if (parsed->values.count("--port")) port = parsed->values.at("--port");
    assumeYes = parsed->flags.count("--yes") != 0;
    if (parsed->values.count("--log")) {
        logFile = fullPath(parsed->values.at("--log"));
        if (const auto refused = refuseOutput(logFile, parsed->flags.count("--force") != 0, file))
            return refused;
    } else if (parsed->flags.count("--force")) {
        return usageError(usage);
    }
    flags = parsed->flags;

    if (!loadDatabase(db, file)) return kExitFailure;
    if (db.clientCount() == 0) {
        showError(MessageOwner::of(nullptr), emptyText);
        return kExitFailure;
    }
    if (!hasClient(db, index)) return kExitFailure;
    return std::nullopt;
}

void RadioCommand::setUp(SerialLink& link) {
    if (!port.empty()) link.usePort(port);
    if (!logFile.empty()) link.setLog(&log);
    cliFeedback().setAssumeYes(assumeYes);
    pruneBackups(backupFolder(), settings().backupDays(), std::time(nullptr));
}

void RadioCommand::keepBackup(BackupKind kind, const ClientRecord& client) {
    const BackupResult result = tarn::keepBackup(kind, fullPath(file), client, std::time(nullptr));
    if (result.ok() || backupFailureTold_) return;
    backupFailureTold_ = true;
    std::fprintf(stderr, "%s\n", result.failure.c_str());
}

void RadioCommand::saveLog() const {
    if (logFile.empty()) return;
    ReplacingFile out(logFile);
    out.write(log.toText());
    if (out.commit() != ReplaceResult::Written)
        std::fprintf(stderr, "%s\n",
                     formatMessage(msg::kRadioLogNotWritten, std::string_view(logFile)).c_str());
}

bool RadioCommand::readRadio(SerialLink& link, std::uint8_t* image) const {
    const bool done = link.readRadio(nullptr, image, kImageSize, false);
    saveLog();
    return done;
}

}  // namespace tarn::cli
