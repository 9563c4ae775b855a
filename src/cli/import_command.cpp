// tarn-cli import [--skip-bad] FILE IN.csv: the clients of a CSV export appended to FILE.
#include <cstdio>

#include "cli/cli_command.h"
#include "cli/cli_support.h"
#include "database/client_database.h"
#include "database/csv_import.h"
#include "document/database_document.h"
#include "model/message_texts.h"

namespace tarn::cli {
namespace {

// Tells every unreadable line; true (after saying why) when nothing may be imported:
// lines that cannot be read, or more clients than the database has room for, unless
// --skip-bad asks for what can be imported.
bool refused(const CsvImport& read, int room, bool skipBad) {
    for (const CsvLineError& error : read.errors)
        std::fprintf(stderr, "%s\n", lineErrorText(error).c_str());
    if (skipBad) return false;
    const std::size_t readable = read.clients.size();
    if (!read.errors.empty() && readable == 0) {
        std::fputs(msg::kCliNothingReadable, stderr);
    } else if (!read.errors.empty()) {
        std::fprintf(stderr, msg::kCliSkipBad, readable);
    } else if (readable > static_cast<std::size_t>(room) && room == 0) {
        std::fprintf(stderr, msg::kCliDatabaseFull, kMaxClients);
    } else if (readable > static_cast<std::size_t>(room)) {
        std::fprintf(stderr, msg::kCliNoRoom, readable, room, kMaxClients, room);
    } else {
        return false;
    }
    return true;
}

}  // namespace

int runImport(const std::vector<std::string>& args) {
    auto parsed = parseArguments(args, {"--skip-bad"}, {}, 2);
    if (!parsed) return usageError("import [--skip-bad] FILE IN.csv");
    loadForEditing();
    DatabaseDocument document;
    if (!loadDatabase(document, parsed->positional[0])) return kExitFailure;
    ClientDatabase& db = document.database();
    const auto read = readCsvFile(fullPath(parsed->positional[1]));
    if (!read ||
        refused(*read, kMaxClients - db.clientCount(), parsed->flags.count("--skip-bad") != 0))
        return kExitFailure;

    const CsvImportSummary summary = appendClients(db, read->clients);
    // Nobody answers a question here: a file changed meanwhile is refused, not replaced.
    db.setAskBeforeReplacingChanges(false);
    if (summary.clients > 0 && !saveDatabase(document)) return kExitFailure;
    std::printf("%s\n", importSummaryText(summary).c_str());
    return kExitOk;
}

}  // namespace tarn::cli
