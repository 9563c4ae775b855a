// tarn-cli write [--port NAME] [--yes] [--json] [--no-backup] [--log FILE [--force]] FILE LIST:
// program a radio from a client and verify it; with a list of clients, one radio after
// another with the report of every radio.
#include <cstdio>
#include <string>

#include "cli/cli_command.h"
#include "cli/cli_support.h"
#include "cli/radio_command.h"
#include "document/radio_queue.h"
#include "model/message_texts.h"
#include "model/text_codec.h"
#include "radio/radio_texts.h"

namespace tarn::cli {
namespace {

enum class Answer { GoOn, Skip, Stop };

// Asks between radios; the end of input stops.
Answer ask(const std::string& question) {
    std::fputs(terminalText(ansiToUtf8(question), true).c_str(), stderr);
    std::fflush(stderr);
    std::string line;
    for (int c; (c = std::fgetc(stdin)) != EOF && c != '\n';) line += static_cast<char>(c);
    if (std::feof(stdin) && line.empty()) return Answer::Stop;
    if (line == "s" || line == "S") return Answer::Skip;
    if (line == "q" || line == "Q") return Answer::Stop;
    return Answer::GoOn;
}

void printReport(const RadioQueue& queue, bool json) {
    if (json) {
        std::string out = std::string("{\"allVerified\": ") +
                          (queue.allVerified() ? "true" : "false") + ", \"radios\": [";
        for (const RadioQueue::Row& row : queue.rows()) {
            if (&row != &queue.rows().front()) out += ", ";
            out += "{\"index\": " + std::to_string(row.client) +
                   ", \"client\": " + jsonString(row.name) +
                   ", \"serial\": " + jsonString(row.serial) +
                   ", \"selcall\": " + jsonString(row.selcall) +
                   ", \"result\": " + jsonString(queueResultText(row.result)) +
                   ", \"reason\": " + jsonString(row.reason) +
                   ", \"time\": " + jsonString(row.time) +
                   ", \"bytes\": " + std::to_string(row.bytes) + "}";
        }
        std::fputs((out + "]}\n").c_str(), stdout);
        return;
    }
    std::vector<std::vector<std::string>> table{
        {"Index", "Client", "Serial", "Selcall", "Result", "Time", "Bytes"}};
    for (const RadioQueue::Row& row : queue.rows()) {
        table.push_back({std::to_string(row.client), shownText(row.name), shownText(row.serial),
                         row.selcall, queueResultText(row.result), row.time,
                         std::to_string(row.bytes)});
    }
    std::fputs(formatTable(table).c_str(), stdout);
    for (const RadioQueue::Row& row : queue.rows()) {
        if (!row.reason.empty())
            std::printf("%s: %s\n", shownText(row.name).c_str(), shownText(row.reason).c_str());
    }
    std::printf("%s\n", queueSummary(queue.rows()).c_str());
}

// Exit codes: 0 every radio verified, 3 a radio failed its verification, 1 otherwise.
int programInRow(RadioCommand& command) {
    RadioQueue queue(command.document, command.indexes);
    const RadioSetup setup = command.setup();
    bool failedVerify = false;
    while (!queue.finished()) {
        const RadioQueue::Row& row = queue.rows()[std::size_t(queue.current())];
        const bool retrying = row.result == RadioQueue::Result::Failed;
        const Answer answer =
            command.assumeYes
                ? Answer::GoOn
                : ask(retrying ? std::string(msg::kCliQueueRetry)
                               : formatMessage(msg::kCliQueueAsk,
                                               std::string_view(queue.connectText())));
        if (answer == Answer::Stop) {
            queue.stop();
        } else if (answer == Answer::Skip) {
            queue.skip();
        } else {
            const RadioReport& report = queue.programCurrent(setup);
            if (!report.text.empty()) std::fprintf(stderr, "%s\n", shownText(report.text).c_str());
            const auto verified = report.outcome.verified;
            if (verified != RadioOutcome::Verify::NotRun &&
                verified != RadioOutcome::Verify::Passed)
                failedVerify = true;
            // Nobody to ask: a radio that failed is left as it is and the row goes on.
            if (command.assumeYes && !queue.finished() &&
                queue.rows()[std::size_t(queue.current())].result == RadioQueue::Result::Failed)
                queue.skip();
        }
    }
    printReport(queue, command.flags.count("--json") != 0);
    command.finish(RadioReport{});
    if (queue.allVerified()) return kExitOk;
    return failedVerify ? kExitMismatch : kExitFailure;
}

}  // namespace

int runWrite(const std::vector<std::string>& args) {
    constexpr const char* kUsage =
        "write [--port NAME] [--yes] [--json] [--no-backup] [--log FILE [--force]] FILE LIST";
    RadioCommand command;
    if (const auto code =
            command.prepare(args, kUsage, msg::kNoClientsToWrite, {"--no-backup", "--json"}, true))
        return *code;
    // The file is never changed by a write.
    if (command.indexes.size() > 1 || command.flags.count("--json")) return programInRow(command);
    return command.finish(programRadio(command.document, command.index, command.setup()));
}

}  // namespace tarn::cli
