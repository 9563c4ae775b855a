// tarn-cli import [--skip-bad] FILE IN.csv: the clients of a CSV export appended to FILE.
#include <cstdio>

#include "cli/cli_command.h"
#include "cli/cli_support.h"
#include "database/client_database.h"
#include "database/csv_import.h"
#include "model/message_texts.h"
#include "model/user_feedback.h"

namespace tarn::cli {
namespace {

void say(const std::string& text) {
    std::fprintf(stderr, "%s\n", terminalText(text).c_str());
}

// How many clients the import adds: all of them, or (after saying why) none, unless
// --skip-bad asks for the readable ones that fit.
std::optional<int> chosenCount(const CsvImport& read, int room, bool skipBad) {
    for (const std::string& line : lineErrorTexts(read)) say(line);
    if (read.readable == 0) {
        say(read.errorCount > 0 ? msg::kImportNothingReadable : msg::kImportNoClients);
    } else if (room == 0) {
        say(formatMessage(msg::kImportDatabaseFull, kMaxClients));
    } else if (skipBad) {
        return room;
    } else if (read.errorCount > 0) {
        say(formatMessage(msg::kCliSkipBad, read.readable));
    } else if (read.readable > room) {
        const std::string tooMany = formatMessage(
            formatMessage(formatMessage(msg::kImportTooMany, read.readable), room), kMaxClients);
        say(tooMany + formatMessage(msg::kCliFirstOnes, room));
    } else {
        return read.readable;
    }
    return std::nullopt;
}

}  // namespace

int runImport(const std::vector<std::string>& args) {
    auto parsed = parseArguments(args, {"--skip-bad"}, {}, 2);
    if (!parsed) return usageError("import [--skip-bad] FILE IN.csv");
    ClientDatabase db(false);
    if (!loadDatabase(db, parsed->positional[0])) return kExitFailure;
    const auto read = readCsvFile(fullPath(parsed->positional[1]));
    if (!read) return kExitFailure;
    const auto count = chosenCount(*read, importRoom(db), parsed->flags.count("--skip-bad") != 0);
    if (!count) return kExitFailure;

    // Nobody is asked here: a dealer text of the database's own stays.
    const bool dealerText = dealerTextOffered(db, *read) && !dealerTextAsks(db);
    const CsvImportSummary summary = importClients(db, *read, *count, dealerText);
    // Nobody answers a question here: a file changed meanwhile is refused, not replaced.
    db.setAskBeforeReplacingChanges(false);
    if (!saveDatabase(db, parsed->positional[0])) return kExitFailure;
    std::printf("%s\n", importSummaryText(summary).c_str());
    return kExitOk;
}

}  // namespace tarn::cli
