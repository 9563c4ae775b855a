#pragma once

#include <optional>
#include <string>
#include <vector>

namespace tarn {
class ClientDatabase;
class SerialLink;
}  // namespace tarn

namespace tarn::cli {

// What read and write share: [--port NAME] [--yes] FILE INDEX and the client checks.
struct RadioCommand {
    std::string file;
    int index = -1;
    std::string port;  // empty: the "Port" setting
    bool assumeYes = false;

    // Parses the arguments, loads FILE into `db` and checks that client INDEX exists
    // (`emptyText` tells an empty database). Nothing on success, else the exit code
    // after its message.
    std::optional<int> prepare(const std::vector<std::string>& args, const char* usage,
                               ClientDatabase& db, const char* emptyText);
    // The port override and the answer to the connect prompt.
    void setUp(SerialLink& link) const;
};

}  // namespace tarn::cli
