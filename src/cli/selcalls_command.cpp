// tarn-cli selcalls and check: consecutive free selcalls for clients, and what a dealer
// should look at in a database before programming its radios.
#include <cstdio>

#include "cli/cli_command.h"
#include "cli/cli_support.h"
#include "database/client_database.h"
#include "document/apply_channels.h"
#include "document/database_document.h"
#include "document/selcall_numbers.h"
#include "model/message_texts.h"

namespace tarn::cli {
namespace {

constexpr const char* kSelcallsUsage = "selcalls FILE --to LIST --start NNNN";
constexpr const char* kCheckUsage = "check FILE";

}  // namespace

int runSelcalls(const std::vector<std::string>& args) {
    auto parsed = parseArguments(args, {}, {"--to", "--start"}, 1);
    if (!parsed || !parsed->values.count("--to") || !parsed->values.count("--start"))
        return usageError(kSelcallsUsage);
    const std::string& startText = parsed->values["--start"];
    const std::optional<int> start = parseIndex(startText);
    if (!start || *start > kLastSelcall || startText.size() > 4) {
        std::fputs(msg::kCliSelcallStart, stderr);
        return kExitUsage;
    }
    const std::optional<std::vector<int>> targets = parseClientList(parsed->values["--to"]);
    if (!targets) return kExitUsage;

    DatabaseDocument document;
    if (!loadDatabase(document, parsed->positional[0])) return kExitFailure;
    ClientDatabase& db = document.database();
    if (!hasClients(db, *targets)) return kExitFailure;
    const SelcallNumbering numbering = numberSelcalls(db, *targets, *start);
    if (numbering.clients.empty() && numbering.leftOver == 0) {
        std::fprintf(stderr, "%s\n", msg::kSelcallsNoAdvanced);
        return kExitFailure;
    }
    for (std::size_t i = 0; i < numbering.clients.size(); ++i)
        std::printf("%d %s: %s\n", numbering.clients[i],
                    quotedClientName(db, numbering.clients[i]).c_str(),
                    selcallText(numbering.selcalls[i]).c_str());
    applySelcalls(document, numbering);
    db.setAskBeforeReplacingChanges(false);
    if (!numbering.clients.empty() && !saveDatabase(document)) return kExitFailure;
    if (numbering.leftOver > 0) {
        std::fprintf(stderr, "%s\n",
                     formatMessage(msg::kSelcallsLeftOver, numbering.leftOver).c_str());
        return kExitFailure;
    }
    return kExitOk;
}

int runCheck(const std::vector<std::string>& args) {
    auto parsed = parseArguments(args, {}, {}, 1);
    if (!parsed) return usageError(kCheckUsage);
    DatabaseDocument document;
    if (!loadDatabase(document, parsed->positional[0])) return kExitFailure;
    const std::vector<std::string> findings = databaseFindings(document.database());
    for (const std::string& finding : findings) std::printf("%s\n", finding.c_str());
    if (findings.empty()) std::printf("%s\n", msg::kCliNoFindings);
    return findings.empty() ? kExitOk : kExitDiffers;
}

}  // namespace tarn::cli
