// tarn-cli export [--force] FILE OUT.csv: the CSV export of a database file.
#include "cli/cli_command.h"
#include "cli/cli_support.h"
#include "database/client_database.h"
#include "database/csv_export.h"

namespace tarn::cli {

int runExport(const std::vector<std::string>& args) {
    auto parsed = parseArguments(args, {"--force"}, {}, 2);
    if (!parsed) return usageError("export [--force] FILE OUT.csv");
    const std::string out = fullPath(parsed->positional[1]);
    if (const auto refused =
            refuseOutput(out, parsed->flags.count("--force") != 0, parsed->positional[0]))
        return *refused;
    ClientDatabase db(false);
    if (!loadDatabase(db, parsed->positional[0])) return kExitFailure;
    return exportCsv(db, pathFromArgument(out)) ? kExitOk : kExitFailure;
}

}  // namespace tarn::cli
