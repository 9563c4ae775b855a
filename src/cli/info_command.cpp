// tarn-cli info [--json] FILE: the dealer text and the summary of every client.
#include <cstdio>

#include "cli/cli_command.h"
#include "cli/cli_support.h"
#include "database/client_database.h"

namespace tarn::cli {
namespace {

constexpr const char* kUsage = "info [--json] FILE";

void printJson(const ClientDatabase& db) {
    std::string out = "{\"dealer\": " + jsonString(db.dealerString()) + ", \"clients\": [";
    ClientSummary s;
    for (int i = 0; i < db.clientCount(); ++i) {
        db.clientSummary(i, s);
        out += i ? ",\n  " : "\n  ";
        out += "{\"index\": " + std::to_string(i) + ", \"name\": " + jsonString(s.name) +
               ", \"type\": " + jsonString(s.type) + ", \"serial\": " + jsonString(s.serial) +
               ", \"selcall\": " + jsonString(s.selcall) +
               ", \"program\": " + jsonString(s.program) + ", \"mode\": " + jsonString(s.mode) +
               ", \"tune\": " + jsonString(s.tune) + ", \"power\": " + jsonString(s.power) + "}";
    }
    out += db.clientCount() ? "\n]}\n" : "]}\n";
    std::fputs(out.c_str(), stdout);
}

void printText(const ClientDatabase& db) {
    // The dealer text may span lines; each one is indented under the heading.
    std::string dealer;
    for (char c : latin1ToUtf8(db.dealerString())) {
        if (c == '\r') continue;
        dealer += c == '\n' ? std::string("\n  ") : std::string(1, c);
    }
    std::printf("Dealer:%s%s\nClients: %d\n", dealer.empty() ? "" : "\n  ", dealer.c_str(),
                db.clientCount());
    std::vector<std::vector<std::string>> rows = {
        {"Index", "Name", "Type", "Serial", "Selcall", "Program", "Mode", "Tune", "Power"}};
    ClientSummary s;
    for (int i = 0; i < db.clientCount(); ++i) {
        db.clientSummary(i, s);
        rows.push_back({std::to_string(i), latin1ToUtf8(s.name), s.type, latin1ToUtf8(s.serial),
                        s.selcall, s.program, s.mode, s.tune, s.power});
    }
    std::fputs(formatTable(rows).c_str(), stdout);
}

}  // namespace

int runInfo(const std::vector<std::string>& args) {
    auto parsed = parseArguments(args, {"--json"}, {}, 1);
    if (!parsed) return usageError(kUsage);
    ClientDatabase db(false);
    if (!loadDatabase(db, parsed->positional[0])) return kExitFailure;
    if (parsed->flags.count("--json")) {
        printJson(db);
    } else {
        printText(db);
    }
    return kExitOk;
}

}  // namespace tarn::cli
