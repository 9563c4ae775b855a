// tarn-cli export [--force] FILE OUT.csv: the CSV export of a database file.
#include "cli/cli_command.h"
#include "cli/cli_support.h"
#include "database/csv_export.h"
#include "document/database_document.h"

namespace tarn::cli {

int runExport(const std::vector<std::string>& args) {
    auto parsed = parseArguments(args, {"--force"}, {}, 2);
    if (!parsed) return usageError("export [--force] FILE OUT.csv");
    DatabaseDocument document;
    if (!loadDatabase(document, parsed->positional[0])) return kExitFailure;
    const std::string out = fullPath(parsed->positional[1]);
    if (const auto refused = refuseOutput(out, parsed->flags.count("--force") != 0))
        return *refused;
    return exportCsv(document.database(), pathFromArgument(out)) ? kExitOk : kExitFailure;
}

}  // namespace tarn::cli
