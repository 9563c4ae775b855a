// Reading the CSV export back: line 1 is the dealer text; a client block is an empty
// line, the name line, the client heading, the client line, the channel heading and one
// line per valid channel.
#include "database/csv_import.h"

#include <algorithm>
#include <cstdio>
#include <memory>

#include "database/client_database.h"
#include "database/csv_export.h"
#include "database/csv_fields.h"
#include "database/file_sync.h"
#include "model/khz_text.h"
#include "model/message_texts.h"
#include "model/text_codec.h"
#include "model/user_feedback.h"

namespace tarn {
namespace {

constexpr std::size_t kFieldsPerLine = 9;  // client and channel lines alike
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

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

using Problem = std::optional<std::string>;

std::string formatted(std::string_view pattern, std::string_view first, std::string_view second) {
    return formatMessage(formatMessage(pattern, first), second);
}
std::string formatted(std::string_view pattern, std::string_view first, long long second) {
    return formatMessage(formatMessage(pattern, first), second);
}

bool allDigits(std::string_view text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// A decimal number; saturates far above every limit.
long long number(std::string_view digits) {
    long long value = 0;
    for (char c : digits) value = std::min(value * 10 + (c - '0'), 1000000000LL);
    return value;
}

// A frequency as the export writes it ("7000.0"), or as a spreadsheet may ("7000",
// "7000.00"), in tenths of a kHz, within the limits the edit channel dialog keeps.
Problem frequency(std::string_view text, int which, std::uint32_t& tenths) {
    const std::string_view column = which ? "tx" : "rx";
    const std::size_t point = text.find('.');
    const std::string_view whole = text.substr(0, point);
    const std::string_view decimals =
        point == std::string_view::npos ? std::string_view("0") : text.substr(point + 1);
    if (!allDigits(whole) || !allDigits(decimals)) return formatMessage(msg::kCsvFrequency, column);
    if (decimals.find_first_not_of('0', 1) != std::string_view::npos)
        return formatMessage(msg::kCsvDecimals, column);
    const long long value = number(whole) * 10 + (decimals[0] - '0');
    if (!frequencyAccepted(which, value)) {
        const std::string lowest = formatKhz(which ? kLowestTx : kLowestRx);
        const std::string highest = formatKhz(kFrequencyLimit - 1);
        return formatMessage(formatted(msg::kCsvRange, column, lowest), std::string_view(highest));
    }
    tenths = static_cast<std::uint32_t>(value);
    return std::nullopt;
}

std::optional<bool> flag(std::string_view text) {
    if (text.empty()) return false;
    if (text == "1") return true;
    return std::nullopt;
}

// One client block being read: its serialised form, then its channels.
class ClientReader {
  public:
    ClientReader(int nameLine, bool utf8) : nameLine_(nameLine), utf8_(utf8) {}

    int nameLine() const { return nameLine_; }
    int channels() const { return static_cast<int>(channels_.size()); }

    Problem name(const std::string& raw) {
        std::string text;
        if (Problem problem = readText(raw, "name", kNameLength, text)) return problem;
        std::copy(text.begin(), text.end(), bytes_.begin());
        return std::nullopt;
    }

    Problem clientLine(const CsvRecord& record, std::size_t width) {
        if (width < kFieldsPerLine) return msg::kCsvClientFields;
        const std::size_t extra = width - kFieldsPerLine;
        const auto f = [&](std::size_t i) -> const std::string& {
            return record.fields[i + extra];
        };
        std::string serial;
        if (Problem problem =
                readText(record.joined(0, extra + 1), "serial", kSerialLength, serial))
            return problem;
        const std::string& typed = f(1);
        if (typed.size() > std::size_t(kSelcallDigits) || !allDigits(typed))
            return msg::kCsvSelcall;
        // A spreadsheet drops the leading zeros of a selcall such as 0042.
        const std::string selcall = std::string(kSelcallDigits - typed.size(), '0') + typed;
        std::uint8_t* image = bytes_.data() + kImageAt;
        // A new client's header; the option byte and the selcall come from the line.
        static const ClientRecord fresh;
        std::copy_n(fresh.image().begin(), kSlotSize, image);
        image[0] = 0;
        for (std::size_t i = 0; i < std::size(kOptionColumns); ++i) {
            const std::optional<bool> set = flag(f(2 + i));
            if (!set)
                return formatMessage(msg::kCsvFlag, std::string_view(kOptionColumns[i].column));
            if (*set) image[0] |= std::uint8_t(kOptionColumns[i].mask);
        }
        if (f(8) == "high") {
            image[0] |= PowerLevel::High;
        } else if (f(8) == "mid") {  // Mid1 or Mid2: the export does not tell them apart
            image[0] |= PowerLevel::Mid1;
        } else if (f(8) != "low") {
            return msg::kCsvPower;
        }
        image[5] = std::uint8_t(((selcall[0] & 0x0F) << 4) | (selcall[1] & 0x0F));
        image[6] = std::uint8_t(((selcall[2] & 0x0F) << 4) | (selcall[3] & 0x0F));
        std::copy(serial.begin(), serial.end(), bytes_.begin() + kSerialAt);
        return std::nullopt;
    }

    Problem channelLine(const CsvRecord& record, std::size_t width) {
        if (width < kFieldsPerLine) return msg::kCsvChannelFields;
        const auto& f = record.fields;
        if (!allDigits(f[0]) || number(f[0]) < 1 || number(f[0]) > kChannelCount)
            return msg::kCsvChannelNumber;
        const int n = static_cast<int>(number(f[0]));
        if (used_[std::size_t(n)]) return formatMessage(msg::kCsvChannelTwice, n);
        Channel channel{n, 0, 0, 0};
        if (Problem problem = frequency(f[1], 0, channel.rx)) return problem;
        if (Problem problem = frequency(f[2], 1, channel.tx)) return problem;
        for (std::size_t i = 0; i < std::size(kFlagColumns); ++i) {
            const std::optional<bool> set = flag(f[3 + i]);
            if (!set) return formatMessage(msg::kCsvFlag, std::string_view(kFlagColumns[i].column));
            if (*set) channel.flags |= kFlagColumns[i].mask;
        }
        std::string label;
        if (Problem problem = readText(record.joined(8, width), "label", kLabelLength, label))
            return problem;
        if ((channel.flags & ChannelFlag::Scan) && ++scans_ > kScanLimit)
            return formatMessage(msg::kCsvScanLimit, kScanLimit);
        used_[std::size_t(n)] = true;
        std::copy(label.begin(), label.end(),
                  bytes_.begin() + long(kLabelsAt) + kLabelSize * (n - 1));
        channels_.push_back(channel);
        return std::nullopt;
    }

    // The client as a database file would give it: through the channel check (which finds
    // nothing to say: every channel is valid and at most 8 scan).
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

    // A text field in the records' form, within `limit` characters.
    Problem readText(const std::string& raw, std::string_view what, int limit,
                     std::string& text) const {
        if (utf8_) {
            std::string refused;
            auto ansi = utf8ToAnsi(raw, &refused);
            if (!ansi) return formatted(msg::kCsvCannotHold, what, refused);
            text = std::move(*ansi);
        } else {
            text = raw;
        }
        if (text.find('\n') != std::string::npos) return formatMessage(msg::kCsvLineBreak, what);
        if (text.size() > std::size_t(limit)) return formatted(msg::kCsvTooLong, what, limit);
        return std::nullopt;
    }

  private:
    struct Channel {
        int number;
        std::uint32_t rx, tx;
        int flags;
    };

    int nameLine_;
    bool utf8_;
    std::vector<std::uint8_t> bytes_ = std::vector<std::uint8_t>(kSerializedClientSize);
    std::vector<Channel> channels_;
    std::array<bool, kChannelCount + 1> used_{};
    int scans_ = 0;
};

// The file's records in order, into clients.
class CsvReader {
  public:
    explicit CsvReader(bool utf8) : utf8_(utf8) {}

    void take(const CsvRecord& record) {
        if (expect_ == Expect::Dealer) {
            dealerLine_ = record;
            expect_ = Expect::Gap;
            return;
        }
        if (dealerLine_) {
            // A spreadsheet pads every row to its widest with empty fields (",,,,,,,,"),
            // the empty line after the dealer text too.
            padded_ = record.fields.size() > 1 && record.empty();
            readDealer();
        }
        if (expect_ != Expect::Skip && (record.nul || record.tooLong)) {
            error(record.line, record.nul ? std::string(msg::kCsvNulByte)
                                          : formatMessage(msg::kCsvLineTooLong,
                                                          static_cast<long long>(kCsvLineLimit)));
            return skipLine(record);
        }
        const bool ends = record.empty() && expect_ != Expect::Gap && expect_ != Expect::Name;
        switch (expect_) {
            case Expect::Dealer:
            case Expect::Skip:
                break;
            case Expect::Gap:
                if (record.empty()) {
                    expect_ = Expect::Name;
                } else {
                    error(record.line, msg::kCsvGapExpected);
                    expect_ = Expect::Skip;
                }
                break;
            case Expect::Name:
                return nameLine(record);
            case Expect::ClientHeading:
            case Expect::ChannelHeading:
                heading(record);
                break;
            case Expect::ClientLine:
                problem(record.line, client_->clientLine(record, width(record, kFieldsPerLine)));
                expect_ = Expect::ChannelHeading;
                break;
            case Expect::Channel:
                if (!ends)
                    problem(record.line,
                            client_->channelLine(record, width(record, kFieldsPerLine)));
                break;
        }
        // An empty line ends a client block, complete or not: the next client follows.
        if (ends) {
            finishClient();
            expect_ = Expect::Name;
        }
    }

    CsvImport finish() {
        if (expect_ == Expect::Gap) readDealer();  // a file of one line
        if (client_ && expect_ != Expect::Channel && expect_ != Expect::Skip)
            error(client_->nameLine(), msg::kCsvEndsInClient);
        finishClient();
        return std::move(result_);
    }

  private:
    enum class Expect {
        Dealer,
        Gap,
        Name,
        ClientHeading,
        ClientLine,
        ChannelHeading,
        Channel,
        Skip
    };

    // The fields of a record without a spreadsheet's padding, but never fewer than `least`.
    std::size_t width(const CsvRecord& record, std::size_t least) const {
        std::size_t n = record.fields.size();
        while (padded_ && n > least && record.fields[n - 1].empty()) --n;
        return n;
    }

    void readDealer() {
        if (!dealerLine_) return;
        const CsvRecord& line = *dealerLine_;
        std::string refused;
        if (line.nul || line.tooLong) {
            error(1, line.nul ? std::string(msg::kCsvNulByte)
                              : formatMessage(msg::kCsvLineTooLong,
                                              static_cast<long long>(kCsvLineLimit)));
        } else if (auto ansi = utf8_ ? utf8ToAnsi(line.joined(0, width(line, 0)), &refused)
                                     : std::optional(line.joined(0, width(line, 0)))) {
            // A quoted line break is one of the dealer text's own, stored as CR LF.
            std::string dealer;
            for (char c : *ansi) dealer += c == '\n' ? std::string("\r\n") : std::string(1, c);
            if (dealer.size() > std::size_t(kDealerTextLength))
                error(1, formatted(msg::kCsvTooLong, "dealer text", kDealerTextLength));
            else
                result_.dealerText = std::move(dealer);
        } else {
            error(1, formatted(msg::kCsvCannotHold, "dealer text", refused));
        }
        dealerLine_.reset();
    }

    // Where a name belongs: the name, or empty lines (reported once the next line shows
    // whether one of them stood for a name).
    void nameLine(const CsvRecord& record) {
        if (record.empty()) {
            if (empty_++ == 0) firstEmpty_ = record.line;
            lastEmpty_ = record.line;
            return;
        }
        const bool nameless = isHeading(record, kCsvClientHeading);
        if (empty_ > (nameless ? 1 : 0)) error(firstEmpty_, msg::kCsvExtraEmptyLine);
        const int line = nameless && empty_ > 0 ? lastEmpty_ : record.line;
        empty_ = 0;
        client_ = std::make_unique<ClientReader>(line, utf8_);
        clientBad_ = false;
        if (nameless) {
            error(line, msg::kCsvNoName);
            expect_ = Expect::ClientLine;
        } else {
            problem(record.line, client_->name(record.joined(0, width(record, 0))));
            expect_ = Expect::ClientHeading;
        }
    }

    void heading(const CsvRecord& record) {
        const bool client = expect_ == Expect::ClientHeading;
        const std::string_view expected = client ? kCsvClientHeading : kCsvChannelHeading;
        if (isHeading(record, expected)) {
            expect_ = client ? Expect::ClientLine : Expect::Channel;
        } else {
            error(record.line, formatMessage(msg::kCsvHeadingExpected, expected));
            expect_ = Expect::Skip;
        }
    }

    bool isHeading(const CsvRecord& record, std::string_view heading) const {
        return record.fields.size() > 1 && record.joined(0, width(record, 0)) == heading;
    }

    // A line that cannot be read at all counts as read where it stands.
    void skipLine(const CsvRecord& record) {
        switch (expect_) {
            case Expect::Name:
                empty_ = 0;
                client_ = std::make_unique<ClientReader>(record.line, utf8_);
                clientBad_ = true;
                expect_ = Expect::ClientHeading;
                break;
            case Expect::ClientLine:
                expect_ = Expect::ChannelHeading;
                break;
            case Expect::Channel:
                break;
            default:
                expect_ = Expect::Skip;
        }
    }

    void finishClient() {
        if (client_ && !clientBad_) {
            ++result_.readable;
            result_.readableChannels += client_->channels();
            if (result_.clients.size() < std::size_t(kMaxClients))
                result_.clients.push_back({client_->nameLine(), client_->record()});
        }
        client_.reset();
    }

    void problem(int line, const Problem& reason) {
        if (reason) error(line, *reason);
    }

    void error(int line, std::string reason) {
        if (result_.errorCount++ < kListedLineErrors)
            result_.errors.push_back({line, std::move(reason)});
        clientBad_ = true;
    }

    bool utf8_;
    bool padded_ = false;
    Expect expect_ = Expect::Dealer;
    std::optional<CsvRecord> dealerLine_;  // until line 2 tells whether rows are padded
    std::unique_ptr<ClientReader> client_;
    bool clientBad_ = false;
    int empty_ = 0, firstEmpty_ = 0, lastEmpty_ = 0;  // empty lines where a name belongs
    CsvImport result_;
};

// Reads the text, already known to be UTF-8 or not, in pieces from `next`.
template <typename Next>
CsvImport readPieces(bool utf8, Next&& next) {
    CsvReader reader(utf8);
    CsvSplitter splitter([&](const CsvRecord& record) { reader.take(record); });
    bool first = true;
    for (std::string_view piece; !(piece = next()).empty(); first = false) {
        if (first && utf8 && piece.substr(0, kByteOrderMark.size()) == kByteOrderMark)
            piece.remove_prefix(kByteOrderMark.size());
        splitter.feed(piece);
    }
    splitter.finish();
    return reader.finish();
}

bool startsWithByteOrderMark(std::string_view text) {
    return text.substr(0, kByteOrderMark.size()) == kByteOrderMark;
}

}  // namespace

CsvImport readCsv(std::string_view text) {
    Utf8Check check;
    check.feed(text);
    const bool utf8 = startsWithByteOrderMark(text) || (check.valid() && check.sawNonAscii());
    bool given = false;
    return readPieces(utf8, [&] {
        const std::string_view piece = given ? std::string_view() : text;
        given = true;
        return piece;
    });
}

std::optional<CsvImport> readCsvFile(const std::filesystem::path& path) {
    std::error_code error;
    if (std::filesystem::file_size(path, error) > kLargestCsvFile && !error) {
        showError(MessageOwner::none(),
                  formatMessage(msg::kCsvTooLarge, static_cast<long long>(kLargestCsvFile >> 20)));
        return std::nullopt;
    }
    std::FILE* file = openRegularFile(path);
    if (!file) {
        showError(MessageOwner::none(), msg::kCannotOpenCsv);
        return std::nullopt;
    }
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> closing(file, std::fclose);
    std::vector<char> buffer(64 * 1024);
    std::uintmax_t total = 0;
    // Never more than the largest file, even when the file grows meanwhile.
    auto next = [&]() -> std::string_view {
        const std::size_t got =
            total > kLargestCsvFile ? 0 : std::fread(buffer.data(), 1, buffer.size(), file);
        total += got;
        return {buffer.data(), got};
    };
    Utf8Check check;
    bool byteOrderMark = false;
    for (std::string_view piece; !(piece = next()).empty();) {
        if (total == piece.size()) byteOrderMark = startsWithByteOrderMark(piece);
        check.feed(piece);
    }
    if (total > kLargestCsvFile) {
        showError(MessageOwner::none(),
                  formatMessage(msg::kCsvTooLarge, static_cast<long long>(kLargestCsvFile >> 20)));
        return std::nullopt;
    }
    if (std::ferror(file) || std::fseek(file, 0, SEEK_SET) != 0) {
        showError(MessageOwner::none(), msg::kCannotOpenCsv);
        return std::nullopt;
    }
    total = 0;
    CsvImport read = readPieces(byteOrderMark || (check.valid() && check.sawNonAscii()), next);
    if (std::ferror(file)) {
        showError(MessageOwner::none(), msg::kCannotOpenCsv);
        return std::nullopt;
    }
    return read;
}

std::string lineErrorText(const CsvLineError& error) {
    return "line " + std::to_string(error.line) + ": " + error.reason;
}

std::vector<std::string> lineErrorTexts(const CsvImport& read) {
    std::vector<std::string> texts;
    for (const CsvLineError& error : read.errors) texts.push_back(lineErrorText(error));
    const int more = read.errorCount - static_cast<int>(read.errors.size());
    if (more > 0) texts.push_back(formatMessage(msg::kMoreUnreadableLines, more));
    return texts;
}

int importRoom(const ClientDatabase& database) {
    return kMaxClients - database.clientCount();
}

bool dealerTextOffered(const ClientDatabase& database, const CsvImport& read) {
    return database.clientCount() == 0 && read.dealerText && !read.dealerText->empty() &&
           *read.dealerText != database.dealerString();
}

bool dealerTextAsks(const ClientDatabase& database) {
    return !database.dealerString().empty();
}

CsvImportSummary importClients(ClientDatabase& database, const CsvImport& read, int count,
                               bool dealerText) {
    CsvImportSummary summary;
    if (dealerText && read.dealerText) {
        auto& field = database.dealerText();
        field.fill('\0');
        std::copy(read.dealerText->begin(), read.dealerText->end(), field.begin());
        database.setModified(true);
    }
    const int wanted = std::min(count, static_cast<int>(read.clients.size()));
    for (int i = 0; i < wanted; ++i) {
        const int index = database.addClient();
        if (index < 0) break;
        const ClientRecord& client = read.clients[std::size_t(i)].record;
        *database.client(index) = client;
        ++summary.clients;
        for (int n = 1; n <= kChannelCount; ++n) summary.channels += !client.isChannelFree(n);
    }
    summary.notFitting = read.readable - summary.clients;
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

}  // namespace tarn
