#pragma once

#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "database/radio_backups.h"
#include "radio/radio_log.h"

namespace tarn {
class ClientDatabase;
class SerialLink;
}  // namespace tarn

namespace tarn::cli {

// What read, write and compare share: [--port NAME] [--yes] [--log FILE [--force]] FILE
// INDEX, the client checks, the transcript of the run and the backups of what comes from
// the radio.
struct RadioCommand {
    std::string file;
    int index = -1;
    std::string port;  // empty: the "Port" setting
    bool assumeYes = false;
    std::string logFile;  // empty: no transcript is written
    RadioLog log;
    std::set<std::string> flags;  // the command's own flags given (`ownFlags` of prepare)

    // Parses the arguments, loads FILE into `db` and checks that client INDEX exists
    // (`emptyText` tells an empty database). Nothing on success, else the exit code
    // after its message.
    std::optional<int> prepare(const std::vector<std::string>& args, const char* usage,
                               ClientDatabase& db, const char* emptyText,
                               const std::set<std::string>& ownFlags = {});
    // The port override, the answer to the connect prompt and the transcript; backups
    // older than the "Backup Days" setting go.
    void setUp(SerialLink& link);
    // Writes the transcript to the --log file, if one was named; says so when it cannot.
    void saveLog() const;
    // Reads the radio's memory into `image` (kImageSize bytes) and writes the transcript;
    // false when the read failed (after its message).
    bool readRadio(SerialLink& link, std::uint8_t* image) const;
    // Keeps a backup of the client; a failure is told once on stderr and changes nothing
    // else.
    void keepBackup(BackupKind kind, const ClientRecord& client);

  private:
    bool backupFailureTold_ = false;
};

}  // namespace tarn::cli
