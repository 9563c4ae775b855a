// tarn-cli import [--skip-bad] FILE IN.csv: the clients of a CSV export appended to FILE.
#include <cstdio>

#include "cli/cli_command.h"
#include "cli/cli_support.h"
#include "database/client_database.h"
#include "database/csv_import.h"
#include "document/csv_import_plan.h"
#include "document/database_document.h"
#include "document/selcall_numbers.h"
#include "model/message_texts.h"
#include "model/user_feedback.h"

namespace tarn::cli {
namespace {

void say(const std::string& text) {
    std::fprintf(stderr, "%s\n", terminalText(text).c_str());
}

}  // namespace

int runImport(const std::vector<std::string>& args) {
    auto parsed = parseArguments(args, {"--skip-bad"}, {}, 2);
    if (!parsed) return usageError("import [--skip-bad] FILE IN.csv");
    loadForEditing();
    DatabaseDocument document;
    if (!loadDatabase(document, parsed->positional[0])) return kExitFailure;
    const auto read = readCsvFile(fullPath(parsed->positional[1]));
    if (!read) return kExitFailure;

    // --skip-bad is this tool's answer to the questions the desktop program asks.
    const bool skipBad = parsed->flags.count("--skip-bad") != 0;
    for (const std::string& line : lineErrorTexts(*read)) say(line);
    ImportPlan plan = planImport(document.database(), *read, skipBad);
    if (!plan.refusal.empty()) {
        say(plan.refusal);
        if (read->errorCount > 0 && read->readable > 0 && !skipBad)
            say(formatMessage(msg::kCliSkipBad, read->readable));
        return kExitFailure;
    }
    if (!plan.tooMany.empty() && !skipBad) {
        say(plan.tooMany + formatMessage(msg::kCliFirstOnes, plan.count));
        return kExitFailure;
    }
    // Nobody is asked here: a dealer text of the database's own stays.
    if (!plan.dealerTextQuestion.empty()) plan.dealerText = false;
    const int before = document.database().clientCount();
    const CsvImportSummary summary = importPlanned(document, *read, plan);
    const std::string clashes =
        selcallClashText(document.database(), selcallClashesFrom(document.database(), before));
    if (!clashes.empty()) say(clashes);
    // Nobody answers a question here: a file changed meanwhile is refused, not replaced.
    document.database().setAskBeforeReplacingChanges(false);
    if (!saveDatabase(document)) return kExitFailure;
    std::printf("%s\n", importSummaryText(summary).c_str());
    return kExitOk;
}

}  // namespace tarn::cli
