// tarn-cli info [--json] FILE: the dealer text and the summary of every client.
#include <algorithm>
#include <cstdio>

#include "cli/cli_command.h"
#include "cli/cli_support.h"
#include "cli/client_rows.h"
#include "database/client_database.h"
#include "database/client_match.h"
#include "document/database_document.h"

namespace tarn::cli {
namespace {

constexpr const char* kUsage = "info [--json] FILE";

// An empty text matches every client.
std::vector<int> everyClient(const ClientDatabase& db) {
    return findClients(db, {});
}

void printJson(const ClientDatabase& db) {
    const std::string out = "{\"dealer\": " + jsonString(db.dealerString()) +
                            ", \"clients\": " + clientJson(db, everyClient(db)) + "}\n";
    std::fputs(out.c_str(), stdout);
}

void printText(const ClientDatabase& db) {
    // The dealer text may span lines (CR LF); each one is indented under the heading.
    const std::string text = db.dealerString();
    std::string dealer;
    for (std::size_t start = 0, end; start < text.size(); start = end + 1) {
        end = std::min(text.find('\n', start), text.size());
        std::string_view line(text.data() + start, end - start);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (start > 0) dealer += "\n  ";
        dealer += shownText(line);
    }
    std::printf("Dealer:%s%s\nClients: %d\n", dealer.empty() ? "" : "\n  ", dealer.c_str(),
                db.clientCount());
    std::fputs(clientTable(db, everyClient(db)).c_str(), stdout);
}

}  // namespace

int runInfo(const std::vector<std::string>& args) {
    auto parsed = parseArguments(args, {"--json"}, {}, 1);
    if (!parsed) return usageError(kUsage);
    DatabaseDocument document;
    if (!loadDatabase(document, parsed->positional[0])) return kExitFailure;
    const ClientDatabase& db = document.database();
    if (parsed->flags.count("--json")) {
        printJson(db);
    } else {
        printText(db);
    }
    return kExitOk;
}

}  // namespace tarn::cli
