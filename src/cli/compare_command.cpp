// tarn-cli compare [--port NAME] [--yes] [--json] [--log FILE [--force]] FILE INDEX: what a
// radio holds against a client, without changing either.
#include <array>
#include <cstdio>

#include "cli/cli_command.h"
#include "cli/cli_support.h"
#include "cli/radio_command.h"
#include "database/client_compare.h"
#include "database/client_database.h"
#include "model/message_texts.h"
#include "radio/serial_link.h"

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
    ClientDatabase db(false);
    if (const auto code = command.prepare(args, kUsage, db, msg::kNoClientsToCompare, {"--json"}))
        return *code;
    SerialLink link;
    command.setUp(link);
    std::array<std::uint8_t, kImageSize> image{};
    if (!command.readRadio(link, image.data())) return kExitFailure;
    // The radio's image as Read would load it, in a copy: the file stays as it is.
    const ClientRecord& client = *db.client(command.index);
    ClientRecord radio = client;
    radio.loadImage(image.data(), kImageSize);
    command.keepBackup(BackupKind::Radio, radio);

    const ImageComparison comparison = compareWithImage(client, radio);
    if (command.flags.count("--json")) {
        std::fputs(json(comparison).c_str(), stdout);
    } else {
        if (!comparison.identical()) std::printf("%s\n", kDifferencesHeading);
        for (const auto& line : comparison.lines()) std::printf("%s\n", shownText(line).c_str());
    }
    return comparison.identical() ? kExitOk : kExitDiffers;
}

}  // namespace tarn::cli
