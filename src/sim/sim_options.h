#pragma once

#include <optional>
#include <string>

#include "sim/radio_monitor.h"

namespace tarn {

struct SimOptions {
    RadioFaults faults;
    bool paced = true;
    bool verbose = false;
    std::string memoryFile;    // 2048 bytes to start from
    std::string databaseFile;  // or a client of a database file
    int client = 0;
    std::string saveFile;  // where the memory goes after each load, on SIGUSR1, on exit
};

// Parses tarn-radio-sim's arguments. On a usage error returns nothing and fills
// `error`; --help returns nothing with `error` empty.
std::optional<SimOptions> parseSimOptions(int argc, char** argv, std::string& error);
const char* simHelpText();

}  // namespace tarn
