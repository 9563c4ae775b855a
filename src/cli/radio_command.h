#pragma once

#include <optional>
#include <set>
#include <string>
#include <vector>

#include "database/radio_backups.h"

namespace tarn {
class ClientDatabase;
class SerialLink;
}  // namespace tarn

namespace tarn::cli {

// What read, write and compare share: [--port NAME] [--yes] FILE INDEX, the client
// checks and the backups of what comes from the radio.
struct RadioCommand {
    std::string file;
    int index = -1;
    std::string port;  // empty: the "Port" setting
    bool assumeYes = false;
    std::set<std::string> flags;  // the command's own flags given (`ownFlags` of prepare)

    // Parses the arguments, loads FILE into `db` and checks that client INDEX exists
    // (`emptyText` tells an empty database). Nothing on success, else the exit code
    // after its message.
    std::optional<int> prepare(const std::vector<std::string>& args, const char* usage,
                               ClientDatabase& db, const char* emptyText,
                               const std::set<std::string>& ownFlags = {});
    // The port override and the answer to the connect prompt; backups older than the
    // "Backup Days" setting go.
    void setUp(SerialLink& link) const;
    // Keeps a backup of the client; a failure is told once on stderr and changes nothing
    // else.
    void keepBackup(BackupKind kind, const ClientRecord& client);

  private:
    bool backupFailureTold_ = false;
};

}  // namespace tarn::cli
