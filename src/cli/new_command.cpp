// tarn-cli new [--force] FILE: a database file holding the demonstration client.
#include "cli/cli_command.h"
#include "cli/cli_support.h"
#include "document/database_document.h"

namespace tarn::cli {

int runNew(const std::vector<std::string>& args) {
    auto parsed = parseArguments(args, {"--force"}, {}, 1);
    if (!parsed) return usageError("new [--force] FILE");
    const std::string file = fullPath(parsed->positional[0]);
    if (const auto refused = refuseOutput(file, parsed->flags.count("--force") != 0))
        return *refused;
    DatabaseDocument document;  // the demonstration client
    return saveNewDatabase(document, file) ? kExitOk : kExitFailure;
}

}  // namespace tarn::cli
