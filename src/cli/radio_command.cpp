#include "cli/radio_command.h"

#include <cstdio>
#include <ctime>

#include "cli/cli_command.h"
#include "cli/cli_feedback.h"
#include "cli/cli_support.h"
#include "database/client_database.h"
#include "model/user_feedback.h"
#include "radio/serial_link.h"
#include "settings/settings_store.h"

namespace tarn::cli {

std::optional<int> RadioCommand::prepare(const std::vector<std::string>& args, const char* usage,
                                         ClientDatabase& db, const char* emptyText,
                                         const std::set<std::string>& ownFlags) {
    std::set<std::string> known = ownFlags;
    known.insert("--yes");
    const auto parsed = parseArguments(args, known, {"--port"}, 2);
    const auto number = parsed ? parseIndex(parsed->positional[1]) : std::nullopt;
    if (!number) return usageError(usage);
    file = parsed->positional[0];
    index = *number;
    if (parsed->values.count("--port")) port = parsed->values.at("--port");
    assumeYes = parsed->flags.count("--yes") != 0;
    flags = parsed->flags;

    if (!loadDatabase(db, file)) return kExitFailure;
    if (db.clientCount() == 0) {
        showError(MessageOwner::of(nullptr), emptyText);
        return kExitFailure;
    }
    if (!hasClient(db, index)) return kExitFailure;
    return std::nullopt;
}

void RadioCommand::setUp(SerialLink& link) const {
    if (!port.empty()) link.usePort(port);
    cliFeedback().setAssumeYes(assumeYes);
    pruneBackups(backupFolder(), settings().backupDays(), std::time(nullptr));
}

void RadioCommand::keepBackup(BackupKind kind, const ClientRecord& client) {
    const BackupResult result = tarn::keepBackup(kind, fullPath(file), client, std::time(nullptr));
    if (result.ok() || backupFailureTold_) return;
    backupFailureTold_ = true;
    std::fprintf(stderr, "%s\n", result.failure.c_str());
}

}  // namespace tarn::cli
