// The CSV export byte for byte; reading it back, and what spreadsheets write; every
// unreadable line with its reason; the limits the edit dialogs keep; hostile files.
#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "database/client_database.h"
#include "database/csv_export.h"
#include "database/csv_import.h"
#include "load_invariants.h"
#include "support/file_size_limit.h"
#include "support/recording_ui.h"
#include "support/temp_dir.h"

namespace tarn {
namespace {

const std::string kClientHeader =
    "serial,selcall,mode toggle,power toggle,autotune,base master,f/p programable,advanced,"
    "power\r\n";
const std::string kChannelHeader = "channel,rx,tx,alarm,selcall,scan,usb,txeqrx,label\r\n";

// The export byte for byte: the demonstration client, every flag, the longest frequencies,
// texts unescaped (the other power words: the round trip below). An export of several
// write pieces arrives whole; one that cannot be written is told and keeps the old file.
TEST(CsvExport, ExactTextLargeExportsAndFailures) {
    test::RecordingUi feedback;
    test::TempDir dir;
    const std::string path = dir.file("out.csv");
    auto exported = [&](const ClientDatabase& db) {
        EXPECT_TRUE(exportCsv(db, path));
        const auto bytes = test::readFile(path);
        return std::string(bytes.begin(), bytes.end());
    };
    test::writeFile(path, std::vector<std::uint8_t>(100000, 'x'));  // replaced whole
    EXPECT_EQ(exported(ClientDatabase(false)), "\r\n");
    ClientDatabase db(true);
    std::strcpy(db.dealerText().data(), "A\r\nB\rC\nD");
    db.client(0)->setLabel(1, "H");
    db.client(0)->setLabel(9, "not a channel");
    ClientRecord& last = *db.client(db.addClient());
    last.image()[0] = 0xFE;
    last.setName("Smith, John");
    last.setSerial("123");
    last.setSelcall("0042");
    last.setFrequency(255, 0, 1);
    last.setFrequency(255, 1, 299999);
    last.image()[8 * 255] = 0x1F;
    last.setLabel(255, "a,b\"c");
    EXPECT_EQ(exported(db), "A..B.C.D\r\n\r\nNew Client\r\n" + kClientHeader +
                                "0,1234,1,,,,1,1,high\r\n" + kChannelHeader +
                                "1,3740.0,3740.0,,,,1,1,H\r\n"
                                "2,5058.0,5058.0,,,,1,1,\r\n"
                                "3,9326.0,9326.0,,,,1,1,\r\n"
                                "4,6988.0,6988.0,,,,1,1,\r\n"
                                "5,9999.0,10100.0,,,,1,,\r\n"
                                "6,11000.0,11000.0,,,,1,1,\r\n"
                                "7,14999.0,15015.0,,,,1,,\r\n"
                                "\r\nSmith, John\r\n" +
                                kClientHeader + "123,0042,,1,1,1,1,1,high\r\n" + kChannelHeader +
                                "255,0.1,29999.9,1,1,1,1,1,a,b\"c\r\n");
    EXPECT_TRUE(feedback.empty());

    for (int i = 0; i < 100; ++i) {
        ClientRecord& c = *db.client(db.addClient());
        for (int n = 1; n <= 255; ++n)
            c.setLabel(c.addChannel(), "label of thirty-one characters.");
    }
    const std::string text = csvText(db);
    EXPECT_GT(text.size(), 1u << 20) << "spans several write pieces";
    EXPECT_EQ(exported(db), text);
    EXPECT_FALSE(exportCsv(db, dir.file("missing/out.csv")));
    EXPECT_EQ(feedback.texts(), std::vector<std::string>{"Failed to create/open csv file"});
    EXPECT_EQ(feedback.messages()[0].owner, MessageOwner::Kind::None);
    EXPECT_TRUE(test::withFileSizeLimit(1000, [&] {
        test::RecordingUi inChild;
        return !exportCsv(db, path) &&
               inChild.texts() == std::vector<std::string>{"Failed to write csv file"};
    }));
    EXPECT_EQ(test::readFile(path), std::vector<std::uint8_t>(text.begin(), text.end()));
}

// Clients with every option byte (Mid2 included), names, serials and labels with commas and
// 8-bit characters at their longest, empty clients and full channel tables; every value
// within what the edit dialogs accept.
std::vector<ClientRecord> generatedClients(std::mt19937& random, int count) {
    auto below = [&](int n) { return static_cast<int>(random() % unsigned(n)); };
    auto text = [&](int length) {
        std::string t(std::size_t(length), ' ');
        for (char& c : t) c = "aZ09 ,,\x80\xE9\xFC;.-'"[below(14)];
        return t;
    };
    std::vector<ClientRecord> clients(static_cast<std::size_t>(count));
    for (ClientRecord& c : clients) {
        c.setName(text(below(4) ? 1 + below(31) : 31).c_str());
        c.setSerial(text(below(16)).c_str());
        c.setSelcall(std::to_string(10000 + below(10000)).substr(1).c_str());
        c.image()[0] = static_cast<std::uint8_t>(random());
        c.image()[1] = static_cast<std::uint8_t>(random());  // not exported
        const int channels = std::vector<int>{0, 1, 40, 255}[std::size_t(below(4))];
        for (int k = 0, scans = 0; k < channels; ++k) {
            const int n = channels == 255 ? k + 1 : 1 + below(255);
            c.setFrequency(n, 0, kLowestRx + unsigned(below(kFrequencyLimit - kLowestRx)));
            c.setFrequency(n, 1, kLowestTx + unsigned(below(kFrequencyLimit - kLowestTx)));
            int flags = below(32);
            if ((flags & ChannelFlag::Scan) && ++scans > kScanLimit) flags &= ~ChannelFlag::Scan;
            c.image()[std::size_t(8 * n)] = static_cast<std::uint8_t>(flags);
            c.setLabel(n, text(below(3) ? below(32) : 31).c_str());
        }
        if (c.isChannelFree(200)) c.setLabel(200, "a free channel's label is not exported");
        c.validateChannels();
    }
    return clients;
}

// What an import gives back: Mid2 as Mid1, the header and free labels as a new client has.
ClientRecord asImported(ClientRecord c) {
    if (c.getOption(ClientOption::PowerLevel) == PowerLevel::Mid2) c.image()[0] ^= 0x0C;
    const ClientRecord fresh;
    for (int i : {1, 2, 3, 4, 7}) c.image()[std::size_t(i)] = fresh.image()[std::size_t(i)];
    for (int n = 1; n <= kChannelCount; ++n) {
        if (c.isChannelFree(n)) std::memset(c.labelBytes(n), 0, kLabelSize);
        c.labelBytes(n)[kLabelLength] = 0;  // a label is exported with 31 characters
    }
    return c;
}

// Export, import into a new database, export: the same bytes, the limits of the edit
// dialogs included (what they refuse is refused: the unreadable lines below).
TEST(CsvImport, RoundTripGivesBackWhatTheExportCarries) {
    std::mt19937 random(20261207);
    test::RecordingUi feedback;
    for (int count : {0, 1, 7, 30}) {
        ClientDatabase db(count == 1);
        std::strcpy(db.dealerText().data(), "Harbour \x80 Marine\r\nPort, 5\" whip");
        for (const ClientRecord& c : generatedClients(random, count))
            *db.client(db.addClient()) = c;
        if (count == 1) {  // the longest texts, the lowest and the highest frequencies
            ClientRecord& c = *db.client(0);
            std::memset(c.labelBytes(1), 'Z', kLabelSize);  // 32 bytes
            c.setSerial(std::string(15, 's').c_str());
            c.setFrequency(5, 0, kLowestRx), c.setFrequency(5, 1, kLowestTx);
            c.setFrequency(3, 0, kFrequencyLimit - 1), c.setFrequency(3, 1, kFrequencyLimit - 1);
        }
        std::string text = csvText(db);
        if (count == 7) {  // as an editor may leave it: LF line ends, empty lines at the end
            std::erase(text, '\r');
            text += "\n\n";
        }
        const CsvImport read = readCsv(text);
        EXPECT_EQ(read.errorCount, 0) << lineErrorText(read.errors[0]);
        ASSERT_EQ(read.clients.size(), std::size_t(db.clientCount()));
        for (int i = 0; i < db.clientCount(); ++i)
            EXPECT_EQ(read.clients[std::size_t(i)].record, asImported(*db.client(i))) << i;
        ClientDatabase again(false);
        importClients(again, read, kMaxClients, dealerTextOffered(again, read));
        EXPECT_EQ(csvText(again), csvText(db)) << count;
    }
    EXPECT_TRUE(feedback.empty());
}

// Each case replaces lines of a good export of two clients; a client with a bad line is
// left out, the other is read. Lines: 1 dealer, 2 gap, 3 name, 4 heading, 5 client,
// 6 heading, 7..13 channels 1..7, 14 gap, 15 name, 16, 17, 18 headings and client, 19 channel.
TEST(CsvImport, EveryUnreadableLineIsReportedWithItsNumber) {
    ClientDatabase db(true);
    db.client(db.addClient())->addChannel();
    std::vector<std::string> good;
    const std::string text = csvText(db);
    for (std::size_t at = 0, end; (end = text.find("\r\n", at)) != std::string::npos; at = end + 2)
        good.push_back(text.substr(at, end - at));
    const std::string number = "the channel number must be 1 to 255",
                      rx = "\"rx\" must be from 500.0 to 29999.9 kHz",
                      tx = "\"tx\" must be from 1800.0 to 29999.9 kHz", heading = "expected \"",
                      extra = "an empty line too many: the next client's name belongs here";
    std::string scans = "1,7000.0,7000.0,,,1,,,";  // the second client's channels 1..9
    for (int n = 2; n <= 9; ++n) scans += "\r\n" + std::to_string(n) + ",7000.0,7000.0,,,1,,,";
    using Lines = std::vector<std::pair<int, std::string>>;
    const std::pair<Lines, Lines> cases[] = {
        {{{3, std::string(32, 'n')}}, {{3, "the name has more than 31 characters"}}},
        {{{4, "serial"}}, {{4, heading + std::string(kCsvClientHeading) + "\""}}},
        {{{5, "0,1234,1,,,,1,1"}}, {{5, "a client line needs 9 fields"}}},
        {{{5, "0,12a4,1,,,,1,1,high"}}, {{5, "the selcall is not four digits"}}},
        {{{5, std::string(16, 's') + ",1234,1,,,,1,1,high"}},
         {{5, "the serial has more than 15 characters"}}},
        {{{5, "0,1234,1,0,,,1,1,high"}}, {{5, "\"power toggle\" must be 1 or empty"}}},
        {{{5, "0,1234,1,,,,1,1,mid2"}}, {{5, "\"power\" must be low, mid or high"}}},
        {{{6, "channel"}}, {{6, heading + std::string(kCsvChannelHeading) + "\""}}},
        {{{7, "0,3740.0,3740.0,,,,1,1,"}}, {{7, number}}},
        {{{7, "-100000000000,3740.0,3740.0,,,,1,1,"}}, {{7, number}}},
        {{{8, "1,3740.0,3740.0,,,,1,1,"}}, {{8, "channel 1 appears twice"}}},
        {{{7, "1,0.0,3740.0,,,,1,1,"}, {10, "4,499.9,1800.0,,,,1,1,"}}, {{7, rx}, {10, rx}}},
        {{{9, "3,7000.05,7000.0,,,,1,1,"}}, {{9, "\"rx\" must have at most one decimal"}}},
        {{{7, "1,3740.0,30000.0,,,,1,1,"}, {19, "1,2000.0,1799.9,,,,1,1,"}}, {{7, tx}, {19, tx}}},
        {{{19, "1,2000.0,-1.0,,,,1,1,"}},
         {{19, "\"tx\" must be a frequency in kHz, such as 7000.0"}}},
        {{{7, "1,3740.0,3740.0,yes,,,1,1,"}}, {{7, "\"alarm\" must be 1 or empty"}}},
        {{{7, "1,3740.0,3740.0,,,,1,1," + std::string(32, 'l')}},
         {{7, "the label has more than 31 characters"}}},
        {{{7, "1,3740.0,3740.0,,,,1,1,\"two\nlines\""}}, {{7, "the label holds a line break"}}},
        {{{7, std::string("1,3740.0,3740.0,,,,1,1,a\0b", 26)}}, {{7, "the line holds a NUL byte"}}},
        {{{7, "1,3740.0,3740.0,,,,1,1," + std::string(5000, 'l')}},
         {{7, "the line has more than 4096 characters"}}},
        {{{19, scans}}, {{27, "the client has more than 8 scan channels"}}},
        {{{2, "x"}}, {{2, "expected an empty line before the next client"}}},
        {{{14, "\r\n"}}, {{15, extra}}},                 // a doubled empty line
        {{{15, ""}}, {{15, "the client has no name"}}},  // the name empty
        {{{15, std::string(kCsvClientHeading)}, {16, "0,1234,1,,,,1,1,high"}, {17, "x"}},
         {{15, "the client has no name"}, {17, heading + std::string(kCsvChannelHeading) + "\""}}},
        {{{14, "\r\n\r\n"}, {15, ""}}, {{15, extra}, {17, "the client has no name"}}},
        {{{17, ""}, {18, ""}, {19, ""}}, {{17, "a client line needs 9 fields"}}},
    };
    for (const auto& [replaced, errors] : cases) {
        auto lines = good;
        for (const auto& [line, with] : replaced) lines[std::size_t(line - 1)] = with;
        std::string csv;
        for (const std::string& line : lines) csv += line + "\r\n";
        const CsvImport read = readCsv(csv);
        std::vector<std::string> got, expected;
        int badClients = 0;
        for (const CsvLineError& e : read.errors) got.push_back(lineErrorText(e));
        for (const auto& [line, reason] : errors) expected.push_back(lineErrorText({line, reason}));
        for (int first : {1, 0})
            badClients += std::any_of(errors.begin(), errors.end(), [&](const auto& e) {
                return (e.first < 14) == first && e.second != extra;
            });
        EXPECT_EQ(got, expected);
        EXPECT_EQ(read.clients.size(), std::size_t(2 - badClients)) << expected[0];
    }
}

// What spreadsheets write: a byte order mark, UTF-8, quoted fields with commas, quotes and
// line breaks, rows padded with empty fields, "7000" for 7000.0 and 42 for selcall 0042.
// A text the export wrote with an opening quote of its own stays as written.
TEST(CsvImport, ReadsWhatSpreadsheetsWrite) {
    const std::string client = std::string(kCsvClientHeading) + "\n";
    const std::string channel = std::string(kCsvChannelHeading) + "\n";
    // The texts of the first client read: name, serial, selcall, labels 1 and 2.
    auto texts = [](const CsvImport& read) {
        std::vector<std::string> out;
        char text[40] = {};
        const ClientRecord& c = read.clients.at(0).record;
        for (auto get :
             {&ClientRecord::getName, &ClientRecord::getSerial, &ClientRecord::getSelcall})
            (c.*get)(text, sizeof text), out.emplace_back(text);
        for (int n : {1, 2}) c.getLabel(n, text, sizeof text), out.emplace_back(text);
        return out;
    };
    CsvImport read = readCsv(
        "\xEF\xBB\xBF\"Harbour Marine\nPort Lincoln\",,,,,,,,\n,,,,,,,,\n"
        "\"Müller, K\",,,,,,,,\n" +
        client + "\"SN 5, \"\"B\"\"\",42,1,,,,,1,high\n" + channel +
        "1,7000,7000.00,,,,1,1,\"€ \"\"whip\"\", 5m\"\n");
    ASSERT_EQ(read.errorCount, 0) << lineErrorText(read.errors[0]);
    EXPECT_EQ(read.dealerText, "Harbour Marine\r\nPort Lincoln");
    EXPECT_EQ(texts(read), (std::vector<std::string>{"M\xFCller, K", "SN 5, \"B\"", "0042",
                                                     "\x80 \"whip\", 5m", ""}));
    EXPECT_EQ(read.clients[0].record.getFrequency(1, 1) + std::uint32_t(read.clients[0].line),
              70000u + 4);

    // Windows-1252 (not UTF-8), in the export's own unquoted form.
    read = readCsv("\r\n\r\nM\xFCller, K\r\n" + client + "0,1234,,,,,,,low\r\n" + channel +
                   "1,7000.0,7000.0,,,,,,\"Whip\r\n2,7100.0,7100.0,,,,,,a \"b\" c\r\n");
    ASSERT_EQ(read.errorCount, 0) << lineErrorText(read.errors[0]);
    EXPECT_EQ(texts(read),
              (std::vector<std::string>{"M\xFCller, K", "0", "1234", "\"Whip", "a \"b\" c"}));
    read = readCsv(
        "\r\n\r\n\xC5\x81\xC3\xB3"
        "d\xC5\xBA\r\n" +
        client);  // UTF-8 "Łódź"
    EXPECT_EQ(lineErrorText(read.errors.at(0)), "line 3: the name cannot hold the character \"Ł\"");
}

// A hostile file: 100 lines are listed and the rest counted; a file over the size limit is
// too large, and one that cannot be opened says so.
TEST(CsvImport, ErrorListsAndFileLimits) {
    std::string text = "\r\n";
    for (int i = 0; i < 250; ++i) text += "\r\n\r\n\r\nx";
    CsvImport read = readCsv(text);
    EXPECT_EQ(read.errorCount, 500);
    EXPECT_EQ(read.errors.size(), 100u);
    EXPECT_EQ(lineErrorTexts(read).back(), "... and 400 more");
    EXPECT_EQ(test::checkCsvRead(text), "");

    test::RecordingUi feedback;
    test::TempDir dir;
    const std::string bom = "\xEF\xBB\xBF\xE2\x82\xAC\r\n";
    test::writeFile(dir.file("bom.csv"), {bom.begin(), bom.end()});
    EXPECT_EQ(readCsvFile(dir.file("bom.csv"))->dealerText, "\x80");
    test::writeFile(dir.file("big.csv"), {});
    std::filesystem::resize_file(dir.file("big.csv"), (std::uintmax_t{64} << 20) + 1);  // sparse
    EXPECT_FALSE(readCsvFile(dir.file("big.csv")));
    EXPECT_FALSE(readCsvFile(dir.file("missing.csv")));
    EXPECT_EQ(feedback.texts(),
              (std::vector<std::string>{"The csv file is too large: it has more than 64 MB.",
                                        "Could not open csv file"}));
}

}  // namespace
}  // namespace tarn
