// The CSV export: 8-bit text, CR LF line ends, fields never quoted or escaped.
#include "database/csv_export.h"

#include <charconv>

#include "database/client_database.h"
#include "database/replace_file.h"
#include "model/user_feedback.h"

namespace tarn {
namespace {

constexpr const char* kClientHeader =
    "serial,selcall,mode toggle,power toggle,autotune,base master,f/p programable,advanced,"
    "power\r\n";
constexpr const char* kChannelHeader = "channel,rx,tx,alarm,selcall,scan,usb,txeqrx,label\r\n";

void appendFlag(std::string& out, int set) {
    out += set ? "1," : ",";
}

void appendNumber(std::string& out, std::uint32_t value) {
    char digits[16];
    auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    out.append(digits, end);
}

// "%.1f" of value / 10 for a 20-bit value: exact in integers.
void appendKilohertz(std::string& out, std::uint32_t value) {
    appendNumber(out, value / 10);
    out += '.';
    out += static_cast<char>('0' + value % 10);
}

const char* powerWord(int level) {
    if (level == PowerLevel::Low) return "low";
    if (level == PowerLevel::High) return "high";
    return "mid";
}

void appendClient(std::string& out, const ClientRecord& client) {
    char text[kLabelSize + 1] = {};
    out += "\r\n";
    client.getName(text, sizeof text);
    out += text;
    out += "\r\n";
    out += kClientHeader;
    text[0] = '\0';
    client.getSerial(text, sizeof text);
    out += text;
    out += ',';
    client.getSelcall(text, sizeof text);
    out += text;
    out += ',';
    for (int option :
         {ClientOption::ModeToggle, ClientOption::PowerToggle, ClientOption::AutoTune,
          ClientOption::BaseMaster, ClientOption::FrontPanelProgramming, ClientOption::Advanced}) {
        appendFlag(out, client.getOption(option));
    }
    out += powerWord(client.getOption(ClientOption::PowerLevel));
    out += "\r\n";
    out += kChannelHeader;
    for (int n = 1; n <= kChannelCount; ++n) {
        if (client.isChannelFree(n)) continue;
        appendNumber(out, static_cast<std::uint32_t>(n));
        out += ',';
        appendKilohertz(out, client.getFrequency(n, 0));
        out += ',';
        appendKilohertz(out, client.getFrequency(n, 1));
        out += ',';
        for (int flag : {ChannelFlag::Alarm, ChannelFlag::Selcall, ChannelFlag::Scan,
                         ChannelFlag::Usb, ChannelFlag::TxEqualsRx}) {
            appendFlag(out, client.getChannelFlag(n, flag));
        }
        client.getLabel(n, text, sizeof text);
        out += text;
        out += "\r\n";
    }
}

}  // namespace

std::string csvText(const ClientDatabase& database) {
    std::string out;
    // About 50 bytes per channel line; growing the string is the slow part otherwise.
    out.reserve(256 + static_cast<std::size_t>(database.clientCount()) * 512);
    for (char c : database.dealerString()) out += (c == '\r' || c == '\n') ? '.' : c;
    out += "\r\n";
    for (int i = 0; i < database.clientCount(); ++i) appendClient(out, *database.client(i));
    return out;
}

bool exportCsv(const ClientDatabase& database, const std::string& path) {
    switch (replaceFile(path, csvText(database))) {
        case ReplaceResult::CannotCreate:
            showError(MessageOwner::none(), "Failed to create/open csv file");
            return false;
        case ReplaceResult::WriteFailed:
            showError(MessageOwner::none(), "Failed to write csv file");
            return false;
        case ReplaceResult::Written:
            break;
    }
    return true;
}

}  // namespace tarn
