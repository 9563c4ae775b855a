// tarn-cli find FILE TEXT [--json]: the clients whose name, serial or selcall contains TEXT.
#include <cstdio>

#include "cli/cli_command.h"
#include "cli/cli_support.h"
#include "cli/client_rows.h"
#include "database/client_database.h"
#include "database/client_match.h"
#include "document/database_document.h"
#include "model/message_texts.h"

namespace tarn::cli {

int runFind(const std::vector<std::string>& args) {
    auto parsed = parseArguments(args, {"--json"}, {}, 2);
    if (!parsed) return usageError("find [--json] FILE TEXT");
    DatabaseDocument document;
    if (!loadDatabase(document, parsed->positional[0])) return kExitFailure;
    const ClientDatabase& db = document.database();
    // As the desktop program's Find field: typed text, in the records' encoding.
    const std::vector<int> found = findClients(db, findTextOf(argumentUtf8(parsed->positional[1])));
    if (parsed->flags.count("--json")) {
        std::printf("%s\n", clientJson(db, found).c_str());
    } else if (found.empty()) {
        std::puts(msg::kCliNoMatch);
    } else {
        std::fputs(clientTable(db, found).c_str(), stdout);
    }
    return kExitOk;
}

}  // namespace tarn::cli
