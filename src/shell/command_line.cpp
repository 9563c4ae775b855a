#include "shell/command_line.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <string_view>

#include "qtcommon/file_path.h"

namespace tarn {

void processCommandLine(QCoreApplication& app) {
    QCoreApplication::setApplicationName("Tarn DataBase");
    QCoreApplication::setApplicationVersion(TARN_VERSION);
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Tarn DataBase keeps the clients of a dealer of HF SSB radios, each the complete\n"
        "configuration of one customer's radio, in database files (.tdb). It reads a\n"
        "radio's memory over RS-232, programs a client into a radio and verifies it,\n"
        "prints client sheets and exports CSV.\n"
        "\n"
        "It opens each database file named, else the most recent file, else a new\n"
        "untitled database. When it already runs, the running program comes to the top\n"
        "and opens the files named. Help opens the manual, Tarn.pdf.");
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument("files", "The database files to open.", "[--] [files...]");
    parser.process(app);
}

bool asksForHelpOrVersion(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "--") break;
        for (std::string_view option : {"-h", "--help", "-?", "--help-all", "-v", "--version"})
            if (argument == option) return true;
    }
    return false;
}

std::vector<std::filesystem::path> fileArguments(int argc, char** argv) {
    std::vector<std::filesystem::path> paths;
    bool optionsEnded = false;
    // Full paths, so a running program started elsewhere opens the same files, and each
    // window's title is its file's full path.
    auto add = [&](const std::filesystem::path& path, bool isEnd) {
        if (isEnd && !optionsEnded) {
            optionsEnded = true;
            return;
        }
        std::error_code error;
        paths.push_back(std::filesystem::absolute(path, error).lexically_normal());
    };
#ifdef _WIN32
    (void)argc;
    (void)argv;
    for (const QString& argument : QCoreApplication::arguments().mid(1))
        add(pathFromQt(argument), argument == "--");
#else
    for (int i = 1; i < argc; ++i) add(argv[i], std::string_view(argv[i]) == "--");
#endif
    return paths;
}

}  // namespace tarn
