#pragma once

#include <filesystem>
#include <vector>

class QCoreApplication;

namespace tarn {

// Names the application and its version, and answers the options of the command line the
// way desktop programs do: --help and --version print and exit with 0, a mistyped option
// is told on standard error and exits with 1. Returns when the program is to start.
void processCommandLine(QCoreApplication& app);

// Whether the command line asks for --help or --version, which main answers before any
// window system is reached (so they work on a console without a display).
bool asksForHelpOrVersion(int argc, char** argv);

// The files named on the command line (after Qt took its own options): every argument but
// the first "--", which ends the options so that a file named "-x.tdb" can follow it. On
// POSIX the bytes as typed: a name that is not valid UTF-8 still names its file.
std::vector<std::filesystem::path> fileArguments(int argc, char** argv);

}  // namespace tarn
