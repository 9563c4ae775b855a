// tarn-cli ports [--probe] [--yes] [--json] [PORT...]: this computer's serial ports (or
// the named ones), each with why a probe would leave it alone, and with --probe whether a
// radio answers, up to the first where one does.
#include <algorithm>
#include <cstdio>
#include <optional>

#include "cli/cli_command.h"
#include "cli/cli_feedback.h"
#include "cli/cli_support.h"
#include "model/message_texts.h"
#include "model/user_feedback.h"
#include "radio/port_probe.h"
#include "radio/port_problem.h"
#include "radio/radio_texts.h"
#include "radio/serial_ports.h"

namespace tarn::cli {
namespace {

constexpr const char* kUsage = "ports [--probe] [--yes] [--json] [PORT...]";

struct Row {
    SerialPortInfo port;
    std::optional<PortProbe> probe;
    std::string note;  // why a probe leaves it alone
};

void printJson(const std::vector<Row>& rows, const std::string& found) {
    std::string out = "{\"ports\": [";
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const Row& row = rows[i];
        out += (i ? ", " : "") + std::string("{\"name\": ") + jsonString(row.port.name) +
               ", \"description\": " + jsonString(row.port.description);
        if (row.probe)
            out += std::string(", \"probe\": \"") + probeResultName(row.probe->result) +
                   "\", \"message\": " + jsonString(row.probe->message);
        else if (!row.note.empty())
            out += ", \"note\": " + jsonString(row.note);
        out += "}";
    }
    out += "], \"radio\": " + (found.empty() ? std::string("null") : jsonString(found)) + "}\n";
    std::fputs(out.c_str(), stdout);
}

void printText(const std::vector<Row>& rows, const std::string& found, bool probed) {
    std::vector<std::vector<std::string>> table;
    for (const Row& row : rows) {
        table.push_back({row.port.name, row.port.description});
        std::string said = row.probe ? row.probe->message : row.note;
        std::replace(said.begin(), said.end(), '\n', ' ');  // one line a port
        if (!said.empty()) table.back().push_back(said);
    }
    std::fputs(formatTable(table).c_str(), stdout);
    if (rows.empty()) std::printf("%s\n", msg::kCliNoPorts);
    if (!found.empty()) std::printf(msg::kCliRadioFoundOn, found.c_str());
    if (probed && found.empty()) std::printf("%s\n", probe_text::kNoAnswer);
}

}  // namespace

int runPorts(const std::vector<std::string>& args) {
    Arguments parsed;
    for (const std::string& arg : args) {
        if (arg == "--probe" || arg == "--yes" || arg == "--json") {
            parsed.flags.insert(arg);
        } else if (arg.rfind("--", 0) == 0) {
            return usageError(kUsage);
        } else {
            parsed.positional.push_back(arg);
        }
    }
    const bool probe = parsed.flags.count("--probe") != 0;
    std::vector<Row> rows;
    if (parsed.positional.empty()) {
        for (SerialPortInfo& port : listSerialPorts()) rows.push_back({std::move(port), {}, {}});
    } else {
        for (const std::string& name : parsed.positional) rows.push_back({{name, {}}, {}, {}});
    }

    std::string found;
    if (probe && !rows.empty()) {
        // One prompt for all of them: the radio must be in its RS-232 mode first.
        cliFeedback().setAssumeYes(parsed.flags.count("--yes") != 0);
        if (userFeedback().showMessage(MessageOwner::of(nullptr), radio_text::kConnectPrompt,
                                       MessageIcon::Information,
                                       MessageButtons::OkCancel) != MessageAnswer::Ok)
            return kExitFailure;
        std::vector<std::string> names;
        for (const Row& row : rows) names.push_back(row.port.name);
        const std::vector<PortProbe> probes = findRadio(names);
        for (std::size_t i = 0; i < probes.size(); ++i) rows[i].probe = probes[i];
        if (probes.back().result == PortProbe::Result::Answered) found = probes.back().port;
    }
    for (Row& row : rows)
        if (!row.probe) row.note = portUseText(portUse(row.port.name));
    if (parsed.flags.count("--json")) {
        printJson(rows, found);
    } else {
        printText(rows, found, probe);
    }
    return !probe || !found.empty() ? kExitOk : kExitFailure;
}

}  // namespace tarn::cli
