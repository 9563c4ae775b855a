// tarn-cli: the database, radio and printing work of Tarn DataBase without the desktop.
// Each subcommand lives in its own file; adding one means one file and one line below.
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "cli/cli_command.h"
#include "cli/cli_feedback.h"
#include "cli/cli_settings.h"
#include "cli/cli_support.h"
#include "model/message_texts.h"
#include "model/services.h"

namespace {

using tarn::cli::Command;

constexpr Command kCommands[] = {
    {"info", "info [--json] FILE", tarn::cli::runInfo},
    {"channels", "channels [--json] FILE INDEX", tarn::cli::runChannels},
    {"find", "find [--json] FILE TEXT", tarn::cli::runFind},
    {"export", "export [--force] FILE OUT.csv", tarn::cli::runExport},
    {"import", "import [--skip-bad] FILE IN.csv", tarn::cli::runImport},
    {"new", "new [--force] FILE", tarn::cli::runNew},
    {"read", "read [--port NAME] [--yes] [--log FILE [--force]] FILE INDEX", tarn::cli::runRead},
    {"write", "write [--port NAME] [--yes] [--json] [--no-backup] [--log FILE [--force]] FILE LIST",
     tarn::cli::runWrite},
    {"identify", "identify [--port NAME] [--yes] [--json] FILE...", tarn::cli::runIdentify},
    {"history", "history [--json] FILE INDEX", tarn::cli::runHistory},
    {"ports", "ports [--probe] [--yes] [--json] [PORT...]", tarn::cli::runPorts},
    {"compare", "compare [--port NAME] [--yes] [--json] [--log FILE [--force]] FILE INDEX",
     tarn::cli::runCompare},
    {"print",
     "print (--summary | --all | --client INDEX | --clients LIST)\n"
     "    [--new-page | --no-new-page] [--footer | --no-footer] [--force]\n"
     "    FILE (OUT.pdf | --each DIR)",
     tarn::cli::runPrint},
    {"apply-channels",
     "apply-channels FILE (--from INDEX | --from-csv IN.csv) --to LIST [--merge]\n"
     "    [--dry-run]",
     tarn::cli::runApplyChannels},
    {"selcalls", "selcalls FILE --to LIST --start NNNN", tarn::cli::runSelcalls},
    {"check", "check FILE", tarn::cli::runCheck},
};

void printUsage(std::FILE* out) {
    std::fputs("usage:\n", out);
    for (const Command& command : kCommands) std::fprintf(out, "  tarn-cli %s\n", command.usage);
    std::fputs(
        "An existing output file of new, export or print is replaced only with --force,\n"
        "and never when it is the database file being read.\n"
        "import appends the clients of a CSV file (the export's form, or as a spreadsheet\n"
        "  saved it: quoted fields, UTF-8 or Windows-1252) to FILE and saves it; every\n"
        "  value must be one the desktop program's dialogs accept. A file with unreadable\n"
        "  lines (the first 100 are named) or more clients than fit imports nothing unless\n"
        "  --skip-bad is given, which imports the readable clients that fit.\n"
        "print uses the desktop program's print options unless told otherwise: --new-page\n"
        "  starts each client sheet on a new page under the full heading; --footer puts\n"
        "  \"Page n of m\" and the file name at the foot of every page and names the client\n"
        "  on a page that goes on with its table.\n"
        "find lists the clients whose name, serial or selcall contains TEXT (any case,\n"
        "  accented letters too; TEXT in the locale's encoding).\n"
        "read, write and compare with --log FILE write the transcript of their radio\n"
        "  exchanges.\n"
        "ports lists this computer's serial ports (or the PORTs named); --probe asks each\n"
        "  in turn for a radio, as read does, and stops at the first that answered. The\n"
        "  system console, a session's terminal and a port another program has locked are\n"
        "  left alone.\n"
        "compare reads the radio as read does and lists how it differs from client INDEX;\n"
        "  FILE is not changed.\n"
        "write with a LIST of clients (\"3,5-12\") programs one radio after another:\n"
        "  before each it asks for the radio (Enter goes on, s skips, q stops; --yes asks\n"
        "  nothing), leaves a radio that holds its client already, and ends with the report\n"
        "  of every radio (--json for scripts); exit 0 when every radio verified. The row\n"
        "  always keeps what each radio held, --no-backup or not.\n"
        "identify reads the radio and names the client of the FILEs it holds exactly\n"
        "  (exit 0) or the closest ones (exit 4).\n"
        "history lists every backup of client INDEX, newest first.\n"
        "read, write and compare keep what came from the radio (and read the client it\n"
        "  replaced) as one-client database files in the backup folder.\n"
        "print --clients LIST prints the clients of the list (\"3,5-12\": indexes as info\n"
        "  shows them); --each DIR writes each client's sheet into its own PDF file in DIR,\n"
        "  named after the client (existing files only with --force).\n"
        "apply-channels lists what changes in each client of LIST, then gives them the\n"
        "  channels and labels of client INDEX or of the first client of a CSV export:\n"
        "  they replace the clients' channels, or with --merge join them (the plan wins\n"
        "  on a channel number both use; the clients' own channels lose Scan beyond 8).\n"
        "  --dry-run lists and changes nothing.\n"
        "selcalls gives the advanced clients of LIST consecutive selcalls from NNNN,\n"
        "  passing over those other advanced clients use; standard clients are left alone.\n"
        "check lists selcalls or serials used by more than one client and clients without\n"
        "  channels; exit code 4 when it found any.\n"
        "write first reads the radio and keeps what it held (the desktop program's Backup\n"
        "  Before Write); --no-backup skips that read for this run.\n"
        "--remember (with any command): a database file loaded or saved goes to the front\n"
        "  of the desktop program's recent-file list; without it the list is left alone.\n"
        "Exit codes: 0 success, 1 failure (for ports --probe: no radio answered), 2 usage\n"
        "  error, 3 verification difference, 4 the radio differs from the client (compare)\n"
        "  or the database has findings (check).\n",
        out);
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> words = tarn::cli::commandLineWords(argc, argv);
    const auto remember = std::remove(words.begin(), words.end(), "--remember");
    tarn::cli::setRememberFiles(remember != words.end());
    words.erase(remember, words.end());
    if (words.empty()) {
        printUsage(stderr);
        return tarn::cli::kExitUsage;
    }
    if (words[0] == "--help" || words[0] == "help") {
        printUsage(stdout);
        return tarn::cli::kExitOk;
    }
    // The same settings as the desktop program (the port; the recent files with --remember).
    tarn::Services services;
    services.settings = &tarn::cli::platformSettings();
    services.feedback = &tarn::cli::cliFeedback();
    const tarn::ScopedServices installed(std::move(services));

    const std::vector<std::string> args(words.begin() + 1, words.end());
    int code = -1;
    for (const Command& command : kCommands) {
        if (words[0] == command.name) code = command.run(args);
    }
    if (code < 0) {
        std::fprintf(stderr, tarn::msg::kCliUnknownCommand,
                     tarn::cli::terminalText(words[0]).c_str());
        printUsage(stderr);
        code = tarn::cli::kExitUsage;
    }
    std::fflush(stdout);
    return code;
}
