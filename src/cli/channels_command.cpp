// tarn-cli channels [--json] FILE INDEX: the valid channels of one client.
#include <cstdio>

#include "cli/cli_command.h"
#include "cli/cli_support.h"
#include "database/client_database.h"
#include "document/database_document.h"
#include "model/channel_order.h"
#include "model/khz_text.h"

namespace tarn::cli {
namespace {

constexpr const char* kUsage = "channels [--json] FILE INDEX";

const char* jsonBool(int flag) {
    return flag ? "true" : "false";
}

void printJson(const ClientRecord& c) {
    std::string out = "[";
    bool first = true;
    for (int n = 1; n <= kChannelCount; ++n) {
        if (c.isChannelFree(n)) continue;
        out += first ? "\n  " : ",\n  ";
        first = false;
        out +=
            "{\"channel\": " + std::to_string(n) + ", \"label\": " + jsonString(labelText(c, n)) +
            ", \"usb\": " + jsonBool(c.getChannelFlag(n, ChannelFlag::Usb)) + ", \"rx\": \"" +
            formatKhz(c.getFrequency(n, 0)) + "\", \"tx\": \"" + formatKhz(c.getFrequency(n, 1)) +
            "\", \"scan\": " + jsonBool(c.getChannelFlag(n, ChannelFlag::Scan)) +
            ", \"selcall\": " + jsonBool(c.getChannelFlag(n, ChannelFlag::Selcall)) +
            ", \"alarm\": " + jsonBool(c.getChannelFlag(n, ChannelFlag::Alarm)) +
            ", \"txeqrx\": " + jsonBool(c.getChannelFlag(n, ChannelFlag::TxEqualsRx)) + "}";
    }
    out += first ? "]\n" : "\n]\n";
    std::fputs(out.c_str(), stdout);
}

void printText(const ClientRecord& c) {
    auto yesNo = [](int flag) { return std::string(flag ? "yes" : "no"); };
    std::vector<std::vector<std::string>> rows = {
        {"Channel", "RX kHz", "TX kHz", "Mode", "Scan", "SelCall", "Alarm", "TX=RX", "Label"}};
    for (int n = 1; n <= kChannelCount; ++n) {
        if (c.isChannelFree(n)) continue;
        rows.push_back(
            {std::to_string(n), formatKhz(c.getFrequency(n, 0)), formatKhz(c.getFrequency(n, 1)),
             c.getChannelFlag(n, ChannelFlag::Usb) ? "USB" : "LSB",
             yesNo(c.getChannelFlag(n, ChannelFlag::Scan)),
             yesNo(c.getChannelFlag(n, ChannelFlag::Selcall)),
             yesNo(c.getChannelFlag(n, ChannelFlag::Alarm)),
             yesNo(c.getChannelFlag(n, ChannelFlag::TxEqualsRx)), shownText(labelText(c, n))});
    }
    std::fputs(formatTable(rows).c_str(), stdout);
}

}  // namespace

int runChannels(const std::vector<std::string>& args) {
    auto parsed = parseArguments(args, {"--json"}, {}, 2);
    if (!parsed) return usageError(kUsage);
    auto index = parseIndex(parsed->positional[1]);
    if (!index) return usageError(kUsage);
    DatabaseDocument document;
    if (!loadDatabase(document, parsed->positional[0])) return kExitFailure;
    const ClientDatabase& db = document.database();
    if (!hasClient(db, *index)) return kExitFailure;
    const ClientRecord* client = db.client(*index);
    if (parsed->flags.count("--json")) {
        printJson(*client);
    } else {
        printText(*client);
    }
    return kExitOk;
}

}  // namespace tarn::cli
