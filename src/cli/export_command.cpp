// tarn-cli export FILE OUT.csv: the CSV export of a database file.
#include "cli/cli_command.h"
#include "cli/cli_support.h"
#include "database/client_database.h"
#include "database/csv_export.h"

namespace tarn::cli {

int runExport(const std::vector<std::string>& args) {
    auto parsed = parseArguments(args, {}, {}, 2);
    if (!parsed) return usageError("export FILE OUT.csv");
    ClientDatabase db(false);
    if (!loadDatabase(db, parsed->positional[0])) return kExitFailure;
    return exportCsv(db, fullPath(parsed->positional[1])) ? kExitOk : kExitFailure;
}

}  // namespace tarn::cli
