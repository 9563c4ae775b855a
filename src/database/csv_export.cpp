// The CSV export: 8-bit text, CR LF line ends, fields never quoted or escaped.
#include "database/csv_export.h"

#include <charconv>

#include "database/client_database.h"
#include "database/replace_file.h"
#include "model/khz_text.h"
#include "model/message_texts.h"
#include "model/user_feedback.h"

namespace tarn {
namespace {

void appendFlag(std::string& out, int set) {
    out.append(set ? "1," : ",", set ? 2 : 1);
}

// One channel line, built in place: the export's bulk.
void appendChannel(std::string& out, const ClientRecord& client, int n) {
    char line[128];
    char* at = std::to_chars(line, line + 4, n).ptr;
    *at++ = ',';
    at = putKhz(at, client.getFrequency(n, 0));
    *at++ = ',';
    at = putKhz(at, client.getFrequency(n, 1));
    *at++ = ',';
    const int flags = client.getChannelFlag(n, 0xFF);
    for (int flag : {ChannelFlag::Alarm, ChannelFlag::Selcall, ChannelFlag::Scan, ChannelFlag::Usb,
                     ChannelFlag::TxEqualsRx}) {
        if (flags & flag) *at++ = '1';
        *at++ = ',';
    }
    const int length = client.getLabel(n, at, static_cast<int>(line + sizeof line - at));
    at += length > 0 ? length : 0;
    *at++ = '\r';
    *at++ = '\n';
    out.append(line, static_cast<std::size_t>(at - line));
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
    out += kCsvClientHeading;
    out += "\r\n";
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
    out += kCsvChannelHeading;
    out += "\r\n";
    for (int n = 1; n <= kChannelCount; ++n) {
        if (!client.isChannelFree(n)) appendChannel(out, client, n);
    }
}

// The export's lines in order, handed to `sink` in pieces of about `piece` bytes.
template <typename Sink>
void produceCsv(const ClientDatabase& database, std::size_t piece, Sink&& sink) {
    std::string out;
    out.reserve(piece + 256 * 1024);
    for (char c : database.dealerString()) out += (c == '\r' || c == '\n') ? '.' : c;
    out += "\r\n";
    for (int i = 0; i < database.clientCount(); ++i) {
        appendClient(out, *database.client(i));  // at most about 17 KB
        if (out.size() >= piece) {
            sink(out);
            out.clear();
        }
    }
    sink(out);
}

}  // namespace

std::string csvText(const ClientDatabase& database) {
    std::string text;
    produceCsv(database, 1 << 20, [&](const std::string& piece) { text += piece; });
    return text;
}

bool exportCsv(const ClientDatabase& database, const std::filesystem::path& path) {
    ReplacingFile file(path);
    // Written in pieces, so the whole text is never held at once.
    if (file.isOpen())
        produceCsv(database, 1 << 20, [&](const std::string& piece) { file.write(piece); });
    const ReplaceResult result = file.commit();
    if (result == ReplaceResult::Written) return true;
    const std::string refusal = replaceRefusalText(result, path, file.keptCopy());
    showError(MessageOwner::none(), !refusal.empty()                        ? refusal.c_str()
                                    : result == ReplaceResult::CannotCreate ? msg::kCannotCreateCsv
                                                                            : msg::kCannotWriteCsv);
    return false;
}

}  // namespace tarn
