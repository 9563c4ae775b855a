// tarn-cli identify [--port NAME] [--yes] [--json] FILE...: which client of the databases
// the radio on the port holds.
#include <cstdio>

#include "cli/cli_command.h"
#include "cli/cli_feedback.h"
#include "cli/cli_support.h"
#include "document/database_document.h"
#include "document/radio_identify.h"
#include "settings/settings_store.h"

namespace tarn::cli {
namespace {

constexpr const char* kUsage = "identify [--port NAME] [--yes] [--json] FILE...";

void printJson(const IdentifyReport& report) {
    std::string out = "{\"matches\": [";
    for (const IdentityMatch& match : report.matches) {
        if (&match != &report.matches.front()) out += ", ";
        out += "{\"file\": " + jsonText(match.document->fileName().string()) +
               ", \"index\": " + std::to_string(match.client) +
               ", \"exact\": " + (match.exact ? "true" : "false") +
               ", \"sameSelcall\": " + (match.sameSelcall ? "true" : "false") +
               ", \"channelsDiffering\": " + std::to_string(match.channelsDiffering) +
               ", \"text\": " + jsonString(matchText(match)) + "}";
    }
    std::fputs((out + "]}\n").c_str(), stdout);
}

}  // namespace

// Exit codes: 0 a client holds exactly what the radio holds, 4 only a closest one (or
// none), 1 the radio could not be read.
int runIdentify(const std::vector<std::string>& args) {
    const auto parsed = parseArguments(args, {"--yes", "--json"}, {"--port"}, kOneOrMore);
    if (!parsed) return usageError(kUsage);
    std::vector<std::unique_ptr<DatabaseDocument>> documents;
    std::vector<DatabaseDocument*> open;
    for (const std::string& file : parsed->positional) {
        documents.push_back(std::make_unique<DatabaseDocument>());
        if (!loadDatabase(*documents.back(), file)) return kExitFailure;
        open.push_back(documents.back().get());
    }
    cliFeedback().setAssumeYes(parsed->flags.count("--yes") != 0);
    RadioSetup setup;
    setup.port = parsed->values.count("--port") ? parsed->values.at("--port") : settings().port();
    const IdentifyReport report = identifyRadio(open, setup);
    if (!report.radio.succeeded()) {
        if (!report.radio.failureTold) std::fprintf(stderr, "%s\n", report.radio.text.c_str());
        return kExitFailure;
    }
    if (parsed->flags.count("--json")) {
        printJson(report);
    } else {
        for (const IdentityMatch& match : report.matches)
            std::printf("%s\t%d\t%s\n", terminalText(match.document->fileName().string()).c_str(),
                        match.client, shownText(matchText(match)).c_str());
        if (report.matches.empty()) std::printf("%s\n", shownText(report.text).c_str());
    }
    if (!report.radio.backupFailure.empty())
        std::fprintf(stderr, "%s\n", terminalText(report.radio.backupFailure).c_str());
    const bool exact = !report.matches.empty() && report.matches.front().exact;
    return exact ? kExitOk : kExitDiffers;
}

}  // namespace tarn::cli
