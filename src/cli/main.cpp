// tarn-cli: the database, radio and printing work of Tarn DataBase without the desktop.
// Each subcommand lives in its own file; adding one means one file and one line below.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "cli/cli_command.h"
#include "cli/cli_feedback.h"
#include "cli/cli_settings.h"

namespace {

using tarn::cli::Command;

constexpr Command kCommands[] = {
    {"info", "info [--json] FILE", tarn::cli::runInfo},
    {"channels", "channels [--json] FILE INDEX", tarn::cli::runChannels},
    {"export", "export FILE OUT.csv", tarn::cli::runExport},
    {"new", "new FILE", tarn::cli::runNew},
    {"read", "read [--port NAME] [--yes] FILE INDEX", tarn::cli::runRead},
    {"write", "write [--port NAME] [--yes] FILE INDEX", tarn::cli::runWrite},
    {"print", "print (--summary | --all | --client INDEX) FILE OUT.pdf", tarn::cli::runPrint},
};

void printUsage(std::FILE* out) {
    std::fputs("usage:\n", out);
    for (const Command& command : kCommands) std::fprintf(out, "  tarn-cli %s\n", command.usage);
    std::fputs("Exit codes: 0 success, 1 failure, 2 usage error, 3 verification difference.\n",
               out);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        printUsage(stderr);
        return tarn::cli::kExitUsage;
    }
    if (!std::strcmp(argv[1], "--help") || !std::strcmp(argv[1], "help")) {
        printUsage(stdout);
        return tarn::cli::kExitOk;
    }
    // The same settings as the desktop program: a load or save updates its recent files.
    tarn::setSettingsBackend(&tarn::cli::platformSettings());
    tarn::setUserFeedback(&tarn::cli::cliFeedback());

    const std::vector<std::string> args(argv + 2, argv + argc);
    int code = -1;
    for (const Command& command : kCommands) {
        if (argv[1] == std::string(command.name)) code = command.run(args);
    }
    if (code < 0) {
        std::fprintf(stderr, "tarn-cli: unknown command \"%s\"\n", argv[1]);
        printUsage(stderr);
        code = tarn::cli::kExitUsage;
    }
    std::fflush(stdout);
    tarn::setUserFeedback(nullptr);
    tarn::setSettingsBackend(nullptr);
    return code;
}
