#pragma once

#include <optional>
#include <string>
#include <vector>

#include "radio/radio_log.h"

namespace tarn {
class ClientDatabase;
class SerialLink;
}  // namespace tarn

namespace tarn::cli {

// What read and write share: [--port NAME] [--yes] [--log FILE [--force]] FILE INDEX,
// the client checks and the transcript of the run.
struct RadioCommand {
    std::string file;
    int index = -1;
    std::string port;  // empty: the "Port" setting
    bool assumeYes = false;
    std::string logFile;  // empty: no transcript is written
    RadioLog log;

    // Parses the arguments, loads FILE into `db` and checks that client INDEX exists
    // (`emptyText` tells an empty database). Nothing on success, else the exit code
    // after its message.
    std::optional<int> prepare(const std::vector<std::string>& args, const char* usage,
                               ClientDatabase& db, const char* emptyText);
    // The port override, the answer to the connect prompt and the transcript.
    void setUp(SerialLink& link);
    // Writes the transcript to the --log file, if one was named; says so when it cannot.
    void saveLog() const;
};

}  // namespace tarn::cli
