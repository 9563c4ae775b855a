// tarn-cli history [--json] FILE INDEX: every backup of a client, newest first.
#include <cstdio>
#include <ctime>

#include "cli/cli_command.h"
#include "cli/cli_support.h"
#include "document/client_history.h"
#include "document/database_document.h"
#include "model/message_texts.h"
#include "model/user_feedback.h"

namespace tarn::cli {
namespace {

constexpr const char* kUsage = "history [--json] FILE INDEX";

std::string dateText(std::time_t when) {
    char text[32] = "";
    if (const std::tm* local = std::localtime(&when))
        std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", local);
    return text;
}

}  // namespace

int runHistory(const std::vector<std::string>& args) {
    const auto parsed = parseArguments(args, {"--json"}, {}, 2);
    const auto index = parsed ? parseIndex(parsed->positional[1]) : std::nullopt;
    if (!index) return usageError(kUsage);
    DatabaseDocument document;
    if (!loadDatabase(document, parsed->positional[0])) return kExitFailure;
    if (!hasClient(document.database(), *index)) return kExitFailure;
    const std::vector<BackupEntry> history = historyOf(document, *index);
    if (parsed->flags.count("--json")) {
        std::string out = "[";
        for (const BackupEntry& entry : history) {
            if (&entry != &history.front()) out += ", ";
            out += "{\"date\": " + jsonString(dateText(entry.date)) +
                   ", \"kind\": " + jsonString(historyKindText(entry.kind)) +
                   ", \"client\": " + jsonString(entry.name) +
                   ", \"serial\": " + jsonString(entry.serial) +
                   ", \"file\": " + jsonText(entry.file.string()) + "}";
        }
        std::fputs((out + "]\n").c_str(), stdout);
        return kExitOk;
    }
    if (history.empty()) {
        char name[kNameSize] = {};
        document.database().client(*index)->getName(name, sizeof name);
        std::printf("%s\n",
                    shownText(formatMessage(msg::kNoHistory, std::string_view(name))).c_str());
        return kExitOk;
    }
    std::vector<std::vector<std::string>> table{{"Date", "Kind", "Client", "Serial", "File"}};
    for (const BackupEntry& entry : history) {
        table.push_back({dateText(entry.date), historyKindText(entry.kind), shownText(entry.name),
                         shownText(entry.serial), terminalText(entry.file.filename().string())});
    }
    std::fputs(formatTable(table).c_str(), stdout);
    return kExitOk;
}

}  // namespace tarn::cli
