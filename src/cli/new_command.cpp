// tarn-cli new FILE: a database file holding the demonstration client.
#include "cli/cli_command.h"
#include "cli/cli_support.h"
#include "database/client_database.h"

namespace tarn::cli {

int runNew(const std::vector<std::string>& args) {
    auto parsed = parseArguments(args, {}, {}, 1);
    if (!parsed) return usageError("new FILE");
    ClientDatabase db(true);
    return saveDatabase(db, parsed->positional[0]) ? kExitOk : kExitFailure;
}

}  // namespace tarn::cli
