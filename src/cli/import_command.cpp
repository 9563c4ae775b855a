// tarn-cli import [--skip-bad] FILE IN.csv: the clients of a CSV export appended to FILE.
#include <cstdio>

#include "cli/cli_command.h"
#include "cli/cli_support.h"
#include "database/client_database.h"
#include "database/csv_import.h"

namespace tarn::cli {

int runImport(const std::vector<std::string>& args) {
    auto parsed = parseArguments(args, {"--skip-bad"}, {}, 2);
    if (!parsed) return usageError("import [--skip-bad] FILE IN.csv");
    const bool skipBad = parsed->flags.count("--skip-bad") != 0;
    ClientDatabase db(false);
    if (!loadDatabase(db, parsed->positional[0])) return kExitFailure;
    const auto read = readCsvFile(fullPath(parsed->positional[1]));
    if (!read) return kExitFailure;

    for (const CsvLineError& error : read->errors)
        std::fprintf(stderr, "%s\n", lineErrorText(error).c_str());
    if (!read->errors.empty() && !skipBad) {
        if (read->clients.empty()) {
            std::fputs("Nothing was imported: no client of the file can be read.\n", stderr);
        } else {
            std::fprintf(stderr,
                         "Nothing was imported. Add --skip-bad to import the %zu readable "
                         "clients.\n",
                         read->clients.size());
        }
        return kExitFailure;
    }
    const int room = kMaxClients - db.clientCount();
    if (static_cast<int>(read->clients.size()) > room && !skipBad) {
        std::fprintf(stderr,
                     "The file holds %zu clients; the database has room for %d more (it holds "
                     "at most %d). Nothing was imported. Add --skip-bad to import the first %d.\n",
                     read->clients.size(), room, kMaxClients, room);
        return kExitFailure;
    }

    const CsvImportSummary summary = appendClients(db, read->clients);
    // Nobody answers a question here: a file changed meanwhile is refused, not replaced.
    db.setAskBeforeReplacingChanges(false);
    if (summary.clients > 0 && !saveDatabase(db, parsed->positional[0])) return kExitFailure;
    std::printf("%s\n", importSummaryText(summary).c_str());
    return kExitOk;
}

}  // namespace tarn::cli
