// tarn-cli new [--force] FILE: a database file holding the demonstration client.
#include "cli/cli_command.h"
#include "cli/cli_support.h"
#include "database/client_database.h"

namespace tarn::cli {

int runNew(const std::vector<std::string>& args) {
    auto parsed = parseArguments(args, {"--force"}, {}, 1);
    if (!parsed) return usageError("new [--force] FILE");
    const std::string file = fullPath(parsed->positional[0]);
    if (const auto refused = refuseOutput(file, parsed->flags.count("--force") != 0))
        return *refused;
    ClientDatabase db(true);
    return saveDatabase(db, file) ? kExitOk : kExitFailure;
}

}  // namespace tarn::cli
