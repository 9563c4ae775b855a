// tarn-cli compare [--port NAME] [--yes] [--json] [--log FILE [--force]] FILE INDEX: what a
// radio holds against a client, without changing either.
#include <cstdio>

#include "cli/cli_command.h"
#include "cli/cli_support.h"
#include "cli/radio_command.h"
#include "database/client_compare.h"
#include "model/message_texts.h"

namespace tarn::cli {
namespace {

std::string jsonFields(const std::vector<FieldDifference>& fields) {
    std::string out = "[";
    for (const auto& f : fields) {
        if (out.size() > 1) out += ", ";
        out += "{\"field\": " + jsonString(f.field) + ", \"client\": " + jsonString(f.client) +
               ", \"radio\": " + jsonString(f.radio) + "}";
    }
    return out + "]";
}

std::string json(const ImageComparison& comparison) {
    std::string out = std::string("{\"identical\": ") +
                      (comparison.identical() ? "true" : "false") +
                      ", \"header\": " + jsonFields(comparison.header) + ", \"channels\": [";
    bool first = true;
    for (const auto& c : comparison.channels) {
        out += std::string(first ? "" : ", ") + "{\"channel\": " + std::to_string(c.channel) +
               ", \"change\": \"" + changeName(c.change) + "\", \"label\": " + jsonString(c.label) +
               ", \"fields\": " + jsonFields(c.fields) + "}";
        first = false;
    }
    out += "], \"lines\": [";
    first = true;
    for (const auto& line : comparison.lines()) {
        out += (first ? "" : ", ") + jsonString(line);
        first = false;
    }
    return out + "]}\n";
}

}  // namespace

int runCompare(const std::vector<std::string>& args) {
    constexpr const char* kUsage =
        "compare [--port NAME] [--yes] [--json] [--log FILE [--force]] FILE INDEX";
    RadioCommand command;
    if (const auto code = command.prepare(args, kUsage, msg::kNoClientsToCompare, {"--json"}))
        return *code;
    const RadioReport report = compareRadio(command.document, command.index, command.setup());
    if (const auto& comparison = report.comparison) {
        if (command.flags.count("--json")) {
            std::fputs(json(*comparison).c_str(), stdout);
        } else {
            if (!comparison->identical()) std::printf("%s\n", kDifferencesHeading);
            for (const auto& line : comparison->lines())
                std::printf("%s\n", shownText(line).c_str());
        }
    }
    // The file stays as it is.
    return command.finish(report);
}

}  // namespace tarn::cli
