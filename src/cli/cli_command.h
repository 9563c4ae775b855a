#pragma once

#include <string>
#include <vector>

namespace tarn::cli {

// Exit codes of tarn-cli.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;  // after its message on stderr
inline constexpr int kExitUsage = 2;
inline constexpr int kExitMismatch = 3;  // written, but verification found a difference
inline constexpr int kExitDiffers = 4;   // compared, and the radio holds something else;
                                         // checked, and the database has findings

// One subcommand: its name, its usage line (after "tarn-cli ") and its entry point,
// which gets the arguments after the name and returns the exit code.
struct Command {
    const char* name;
    const char* usage;
    int (*run)(const std::vector<std::string>& args);
};

// The subcommands, one source file each.
int runInfo(const std::vector<std::string>& args);           // info_command.cpp
int runChannels(const std::vector<std::string>& args);       // channels_command.cpp
int runExport(const std::vector<std::string>& args);         // export_command.cpp
int runNew(const std::vector<std::string>& args);            // new_command.cpp
int runRead(const std::vector<std::string>& args);           // read_command.cpp
int runWrite(const std::vector<std::string>& args);          // write_command.cpp
int runCompare(const std::vector<std::string>& args);        // compare_command.cpp
int runPrint(const std::vector<std::string>& args);          // print_command.cpp
int runImport(const std::vector<std::string>& args);         // import_command.cpp
int runFind(const std::vector<std::string>& args);           // find_command.cpp
int runPorts(const std::vector<std::string>& args);          // ports_command.cpp
int runIdentify(const std::vector<std::string>& args);       // identify_command.cpp
int runHistory(const std::vector<std::string>& args);        // history_command.cpp
int runApplyChannels(const std::vector<std::string>& args);  // apply_channels_command.cpp
int runSelcalls(const std::vector<std::string>& args);       // selcalls_command.cpp
int runCheck(const std::vector<std::string>& args);          // selcalls_command.cpp

}  // namespace tarn::cli
