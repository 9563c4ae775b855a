// Reading the CSV export back: a client block is an empty line, the name line, the client
// heading, the client line, the channel heading and one line per valid channel.
#include "database/csv_import.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <memory>

#include "database/client_database.h"
#include "database/csv_export.h"
#include "database/file_sync.h"
#include "model/message_texts.h"
#include "model/user_feedback.h"

namespace tarn {
namespace {

constexpr int kFieldsPerLine = 9;  // client and channel lines alike
// Far above the largest export (1000 clients of 255 channels, about 16 MB).
constexpr std::size_t kLargestFile = 64u << 20;

// Serialised client offsets (see ClientRecord::serialize).
constexpr std::size_t kSerialAt = kNameSize;
constexpr std::size_t kLabelsAt = kNameSize + kSerialSize + 1;
constexpr std::size_t kImageAt = kLabelsAt + kChannelCount * kLabelSize;

// The option bits of the client line, in column order after serial and selcall.
struct BitColumn {
    int mask;
    const char* column;
};
constexpr BitColumn kOptionColumns[] = {{ClientOption::ModeToggle, "mode toggle"},
                                        {ClientOption::PowerToggle, "power toggle"},
                                        {ClientOption::AutoTune, "autotune"},
                                        {ClientOption::BaseMaster, "base master"},
                                        {ClientOption::FrontPanelProgramming, "f/p programable"},
                                        {ClientOption::Advanced, "advanced"}};
constexpr BitColumn kFlagColumns[] = {{ChannelFlag::Alarm, "alarm"},
                                      {ChannelFlag::Selcall, "selcall"},
                                      {ChannelFlag::Scan, "scan"},
                                      {ChannelFlag::Usb, "usb"},
                                      {ChannelFlag::TxEqualsRx, "txeqrx"}};

// Splits a line at its commas. The free text (the serial, first on its line, or the label,
// last on its line) may hold commas of its own: it takes the columns beyond the other eight.
std::vector<std::string_view> fields(std::string_view line, bool textFirst) {
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    for (std::size_t comma; (comma = line.find(',', start)) != std::string_view::npos;
         start = comma + 1) {
        parts.push_back(line.substr(start, comma - start));
    }
    parts.push_back(line.substr(start));
    if (parts.size() <= kFieldsPerLine) return parts;
    const std::size_t extra = parts.size() - kFieldsPerLine;
    const std::size_t textAt = textFirst ? 0 : kFieldsPerLine - 1;
    const char* from = parts[textAt].data();
    const std::string_view& last = parts[textAt + extra];
    parts[textAt] =
        std::string_view(from, static_cast<std::size_t>(last.data() + last.size() - from));
    parts.erase(parts.begin() + long(textAt) + 1, parts.begin() + long(textAt + extra) + 1);
    return parts;
}

// A frequency as the export writes it ("7000.0"; "7000" too), in units of 100 Hz.
std::optional<std::uint32_t> tenths(std::string_view text) {
    const std::size_t point = text.find('.');
    const std::string_view whole = text.substr(0, point);
    const std::string_view decimal =
        point == std::string_view::npos ? std::string_view("0") : text.substr(point + 1);
    auto digits = [](std::string_view d) {
        return !d.empty() &&
               std::all_of(d.begin(), d.end(), [](char c) { return c >= '0' && c <= '9'; });
    };
    if (!digits(whole) || whole.size() > 6 || decimal.size() != 1 || !digits(decimal))
        return std::nullopt;
    std::uint32_t value = 0;
    for (char c : whole) value = value * 10 + std::uint32_t(c - '0');
    return value * 10 + std::uint32_t(decimal[0] - '0');
}

// One client block being read: its serialised form, then its channels.
class ClientReader {
  public:
    explicit ClientReader(int nameLine) : nameLine_(nameLine) {}

    int nameLine() const { return nameLine_; }

    std::optional<std::string> name(std::string_view text) {
        if (text.size() >= std::size_t(kNameSize)) return msg::kCsvNameTooLong;
        std::copy(text.begin(), text.end(), bytes_.begin());
        return std::nullopt;
    }

    std::optional<std::string> clientLine(std::string_view line) {
        const auto f = fields(line, true);
        if (f.size() < kFieldsPerLine) return msg::kCsvClientFields;
        if (f[0].size() > std::size_t(kSerialSize)) return msg::kCsvSerialTooLong;
        if (f[1].size() != 4 ||
            !std::all_of(f[1].begin(), f[1].end(), [](char c) { return c >= '0' && c <= '9'; }))
            return msg::kCsvSelcall;
        std::uint8_t* image = bytes_.data() + kImageAt;
        // A new client's header; the option byte and the selcall come from the line.
        static const ClientRecord fresh;
        std::copy_n(fresh.image().begin(), kSlotSize, image);
        image[0] = 0;
        for (std::size_t i = 0; i < std::size(kOptionColumns); ++i) {
            if (!flag(f[2 + i]))
                return formatMessage(msg::kCsvFlag, std::string_view(kOptionColumns[i].column));
            if (*flag(f[2 + i])) image[0] |= std::uint8_t(kOptionColumns[i].mask);
        }
        if (f[8] == "high") {
            image[0] |= PowerLevel::High;
        } else if (f[8] == "mid") {  // Mid1 or Mid2: the export does not tell them apart
            image[0] |= PowerLevel::Mid1;
        } else if (f[8] != "low") {
            return msg::kCsvPower;
        }
        image[5] = std::uint8_t(((f[1][0] & 0x0F) << 4) | (f[1][1] & 0x0F));
        image[6] = std::uint8_t(((f[1][2] & 0x0F) << 4) | (f[1][3] & 0x0F));
        std::copy(f[0].begin(), f[0].end(), bytes_.begin() + kSerialAt);
        return std::nullopt;
    }

    std::optional<std::string> channelLine(std::string_view line) {
        const auto f = fields(line, false);
        if (f.size() < kFieldsPerLine) return msg::kCsvChannelFields;
        int n = 0;
        const char* end = f[0].data() + f[0].size();
        if (std::from_chars(f[0].data(), end, n).ptr != end || f[0].empty() || n < 1 ||
            n > kChannelCount)
            return msg::kCsvChannelNumber;
        if (used_[std::size_t(n)]) return formatMessage(msg::kCsvChannelTwice, n);
        const auto rx = tenths(f[1]);
        if (!rx || *rx == 0 || *rx >= kFrequencyLimit) return msg::kCsvRx;
        const auto tx = tenths(f[2]);
        if (!tx || *tx >= kFrequencyLimit) return msg::kCsvTx;
        Channel channel{n, *rx, *tx, 0};
        for (std::size_t i = 0; i < std::size(kFlagColumns); ++i) {
            if (!flag(f[3 + i]))
                return formatMessage(msg::kCsvFlag, std::string_view(kFlagColumns[i].column));
            if (*flag(f[3 + i])) channel.flags |= kFlagColumns[i].mask;
        }
        if (f[8].size() >= std::size_t(kLabelSize)) return msg::kCsvLabelTooLong;
        used_[std::size_t(n)] = true;
        std::copy(f[8].begin(), f[8].end(),
                  bytes_.begin() + long(kLabelsAt) + kLabelSize * (n - 1));
        channels_.push_back(channel);
        return std::nullopt;
    }

    // The client as a database file would give it: through the channel check.
    ClientRecord record() const {
        ClientRecord client(bytes_.data());
        for (const Channel& c : channels_) {
            client.setFrequency(c.number, 0, c.rx);
            client.setFrequency(c.number, 1, c.tx);
            client.image()[std::size_t(kSlotSize * c.number)] = std::uint8_t(c.flags);
        }
        client.validateChannels();
        return client;
    }

  private:
    struct Channel {
        int number;
        std::uint32_t rx, tx;
        int flags;
    };

    static std::optional<bool> flag(std::string_view text) {
        if (text.empty()) return false;
        if (text == "1") return true;
        return std::nullopt;
    }

    int nameLine_;
    std::vector<std::uint8_t> bytes_ = std::vector<std::uint8_t>(kSerializedClientSize);
    std::vector<Channel> channels_;
    std::array<bool, kChannelCount + 1> used_{};
};

std::vector<std::string_view> splitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.push_back(line);
        start = end + 1;
    }
    // The export never ends in an empty line after its first; an editor may add some.
    while (lines.size() > 1 && lines.back().empty()) lines.pop_back();
    return lines;
}

}  // namespace

CsvImport readCsv(std::string_view text) {
    enum class Expect { Gap, Name, ClientHeading, ClientLine, ChannelHeading, Channel, Skip };
    CsvImport result;
    const auto lines = splitLines(text);
    std::unique_ptr<ClientReader> client;
    bool clientBad = false;
    auto finish = [&] {
        if (!client) return;
        if (!clientBad) result.clients.push_back(client->record());
        client.reset();
    };

    Expect expect = Expect::Gap;
    for (std::size_t i = 1; i < lines.size(); ++i) {  // line 1 is the dealer text
        const std::string_view line = lines[i];
        const int number = int(i) + 1;
        std::optional<std::string> problem;
        if (expect != Expect::Skip && line.find('\0') != std::string_view::npos)
            problem = msg::kCsvNulByte;
        switch (expect) {
            case Expect::Gap:
            case Expect::Skip:
            case Expect::Channel:
                if (line.empty()) {
                    finish();
                    expect = Expect::Name;
                } else if (expect == Expect::Gap) {
                    problem = msg::kCsvGapExpected;
                    expect = Expect::Skip;
                } else if (expect == Expect::Channel && !problem) {
                    problem = client->channelLine(line);
                }
                break;
            case Expect::Name:
                client = std::make_unique<ClientReader>(number);
                clientBad = false;
                if (!problem) problem = client->name(line);
                expect = Expect::ClientHeading;
                break;
            case Expect::ClientHeading:
            case Expect::ChannelHeading: {
                const std::string_view heading =
                    expect == Expect::ClientHeading ? kCsvClientHeading : kCsvChannelHeading;
                if (line != heading) {
                    problem = formatMessage(msg::kCsvHeadingExpected, heading);
                    expect = Expect::Skip;
                } else {
                    expect = expect == Expect::ClientHeading ? Expect::ClientLine : Expect::Channel;
                }
                break;
            }
            case Expect::ClientLine:
                if (!problem) problem = client->clientLine(line);
                expect = Expect::ChannelHeading;
                break;
        }
        if (problem) {
            result.errors.push_back({number, *problem});
            clientBad = true;
        }
    }
    if (client && expect != Expect::Channel && expect != Expect::Skip) {
        result.errors.push_back({client->nameLine(), msg::kCsvEndsInClient});
        clientBad = true;
    }
    finish();
    return result;
}

std::optional<CsvImport> readCsvFile(const std::filesystem::path& path) {
    std::FILE* file = openRegularFile(path);
    std::string text;
    bool read = file != nullptr;
    if (file) {
        char buffer[64 * 1024];
        for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, file)) > 0;) {
            text.append(buffer, got);
            if (text.size() > kLargestFile) break;
        }
        read = !std::ferror(file) && text.size() <= kLargestFile;
        std::fclose(file);
    }
    if (!read) {
        showError(MessageOwner::none(), msg::kCannotOpenCsv);
        return std::nullopt;
    }
    return readCsv(text);
}

CsvImportSummary appendClients(ClientDatabase& database, const std::vector<ClientRecord>& clients) {
    CsvImportSummary summary;
    for (const ClientRecord& client : clients) {
        const int index = database.addClient();
        if (index < 0) {
            ++summary.notFitting;
            continue;
        }
        *database.client(index) = client;
        ++summary.clients;
        for (int n = 1; n <= kChannelCount; ++n) summary.channels += !client.isChannelFree(n);
    }
    return summary;
}

std::string importSummaryText(const CsvImportSummary& summary) {
    // Appended piece by piece: GCC 12 at -O3 warns falsely about "literal" + std::string.
    auto counted = [](int count, const char* what) {
        std::string text = std::to_string(count);
        text += ' ';
        text += what;
        if (count != 1) text += 's';
        return text;
    };
    std::string text = "Imported ";
    text += counted(summary.clients, "client");
    text += " with ";
    text += counted(summary.channels, "channel");
    text += '.';
    if (summary.notFitting > 0) {
        text += ' ';
        text += counted(summary.notFitting, "client");
        text += summary.notFitting == 1 ? " does" : " do";
        text += " not fit: a database holds at most 1000 clients.";
    }
    return text;
}

std::string lineErrorText(const CsvLineError& error) {
    return "line " + std::to_string(error.line) + ": " + error.reason;
}

}  // namespace tarn
