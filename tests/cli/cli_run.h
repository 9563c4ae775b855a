#pragma once

#include <sys/wait.h>

#include <cstdlib>
#include <string>

#include "support/temp_dir.h"

namespace tarn::test {

struct CliRun {
    int code;
    std::string out, err;
};

inline std::string fileText(const TempDir& dir, const std::string& name) {
    const auto bytes = readFile(dir.file(name));
    return {bytes.begin(), bytes.end()};
}

// Runs tarn-cli in `dir` with the argument text and what the shell command `input` prints
// on its stdin; stdout and stderr go to files of those names in `dir`.
inline CliRun runCli(const TempDir& dir, const std::string& arguments,
                     const std::string& input = "true") {
    const std::string command = "cd '" + dir.path().string() + "' && (" + input + ") | '" +
                                TARN_CLI_PATH + "' " + arguments + " >stdout 2>stderr";
    const int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, fileText(dir, "stdout"),
            fileText(dir, "stderr")};
}

}  // namespace tarn::test
