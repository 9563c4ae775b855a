#pragma once

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

    // False after printing the usage line.
    bool parse(const std::vector<std::string>& args, const char* usage);
    // False after telling that the database is empty (`emptyText`) or lacks the client.
    bool checkClient(const ClientDatabase& db, const char* emptyText) const;
    // The port override and the answer to the connect prompt.
    void setUp(SerialLink& link) const;
};

}  // namespace tarn::cli
