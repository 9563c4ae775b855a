// Reading the CSV export back: the round trip, every unreadable line, the client limit.
#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "database/client_database.h"
#include "database/csv_export.h"
#include "database/csv_import.h"
#include "support/recording_ui.h"
#include "support/temp_dir.h"

namespace tarn {
namespace {

// Clients with every option byte (Mid2 included), names, serials and labels with commas and
// 8-bit characters at their longest, empty clients and full channel tables.
std::vector<ClientRecord> generatedClients(std::mt19937& random, int count) {
    auto below = [&](int n) { return static_cast<int>(random() % unsigned(n)); };
    auto text = [&](int length) {
        static const char kChars[] = "aZ09 ,,\"\xE9\xFC;.-";
        std::string t;
        for (int i = 0; i < length; ++i) t += kChars[below(sizeof kChars - 1)];
        return t;
    };
    std::vector<ClientRecord> clients(static_cast<std::size_t>(count));
    for (ClientRecord& c : clients) {
        c.setName(text(below(4) ? below(32) : 31).c_str());
        c.setSerial(text(below(16)).c_str());
        c.setSelcall(std::to_string(10000 + below(10000)).substr(1).c_str());
        c.image()[0] = static_cast<std::uint8_t>(random());
        c.image()[1] = static_cast<std::uint8_t>(random());  // not exported
        const int channels = std::vector<int>{0, 1, 40, 255}[std::size_t(below(4))];
        for (int k = 0, scans = 0; k < channels; ++k) {
            const int n = channels == 255 ? k + 1 : 1 + below(255);
            c.setFrequency(n, 0, 1 + unsigned(below(299999)));
            c.setFrequency(n, 1, unsigned(below(300000)));
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
ClientRecord exported(ClientRecord c) {
    if (c.getOption(ClientOption::PowerLevel) == PowerLevel::Mid2) c.image()[0] ^= 0x0C;
    const ClientRecord fresh;
    for (int i : {1, 2, 3, 4, 7}) c.image()[std::size_t(i)] = fresh.image()[std::size_t(i)];
    for (int n = 1; n <= kChannelCount; ++n) {
        if (c.isChannelFree(n)) std::memset(c.labelBytes(n), 0, kLabelSize);
    }
    return c;
}

TEST(CsvImport, RoundTripGivesBackWhatTheExportCarries) {
    std::mt19937 random(20261207);
    test::RecordingUi feedback;
    for (int count : {0, 1, 7, 30}) {
        ClientDatabase db(count == 1);
        std::strcpy(db.dealerText().data(), "Dealer, Street 1");
        for (const ClientRecord& c : generatedClients(random, count))
            *db.client(db.addClient()) = c;
        std::string text = csvText(db);
        if (count == 7) {  // as an editor may leave it: LF line ends, empty lines at the end
            std::erase(text, '\r');
            text += "\n\n";
        }
        const CsvImport read = readCsv(text);
        EXPECT_TRUE(read.errors.empty()) << lineErrorText(read.errors[0]);
        ASSERT_EQ(read.clients.size(), std::size_t(db.clientCount()));
        for (int i = 0; i < db.clientCount(); ++i) {
            EXPECT_EQ(read.clients[std::size_t(i)], exported(*db.client(i))) << count << " " << i;
        }
        ClientDatabase back(false);
        back.dealerText() = db.dealerText();
        appendClients(back, read.clients);
        EXPECT_EQ(csvText(back), csvText(db));
    }
    EXPECT_TRUE(feedback.empty());
}

TEST(CsvImport, EveryUnreadableLineIsReportedWithItsNumber) {
    ClientDatabase db(true);
    db.client(0)->setName("First");
    db.client(db.addClient())->addChannel();
    const std::string good = csvText(db);
    // Lines: 1 dealer, 2 gap, 3 name, 4 heading, 5 client, 6 heading, 7..13 channels 1..7,
    // 14 gap, 15 name, 16, 17, 18 headings and client, 19 channel.
    // A client with a bad line is left out; the other is read.
    const std::string number = "the channel number must be 1 to 255",
                      rx = "\"rx\" must be a frequency from 0.1 to 29999.9 kHz",
                      tx = "\"tx\" must be a frequency from 0.0 to 29999.9 kHz";
    using Lines = std::vector<std::pair<int, std::string>>;
    const std::pair<Lines, Lines> cases[] = {
        {{{3, std::string(32, 'n')}}, {{3, "the name has more than 31 characters"}}},
        {{{4, "serial"}}, {{4, "expected \"" + std::string(kCsvClientHeading) + "\""}}},
        {{{5, "0,1234,1,,,,1,1"}}, {{5, "a client line needs 9 fields"}}},
        {{{5, "0,123,1,,,,1,1,high"}}, {{5, "the selcall is not four digits"}}},
        {{{5, std::string(17, 's') + ",1234,1,,,,1,1,high"}},
         {{5, "the serial has more than 16 characters"}}},
        {{{5, "0,1234,1,0,,,1,1,high"}}, {{5, "\"power toggle\" must be 1 or empty"}}},
        {{{5, "0,1234,1,,,,1,1,mid2"}}, {{5, "\"power\" must be low, mid or high"}}},
        {{{6, "channel"}}, {{6, "expected \"" + std::string(kCsvChannelHeading) + "\""}}},
        {{{7, "0,3740.0,3740.0,,,,1,1,"}}, {{7, number}}},
        {{{7, "256,3740.0,3740.0,,,,1,1,"}}, {{7, number}}},
        {{{7, "-100000000000,3740.0,3740.0,,,,1,1,"}}, {{7, number}}},
        {{{8, "1,3740.0,3740.0,,,,1,1,"}}, {{8, "channel 1 appears twice"}}},
        {{{7, "1,0.0,3740.0,,,,1,1,"}, {10, "4,7000.05,1.0,,,,1,1,"}}, {{7, rx}, {10, rx}}},
        {{{7, "1,3740.0,30000.0,,,,1,1,"}, {19, "1,2000.0,-1.0,,,,1,1,"}}, {{7, tx}, {19, tx}}},
        {{{7, "1,3740.0,3740.0,yes,,,1,1,"}}, {{7, "\"alarm\" must be 1 or empty"}}},
        {{{7, "1,3740.0,3740.0,,,,1,1," + std::string(32, 'l')}},
         {{7, "the label has more than 31 characters"}}},
        {{{7, std::string("1,3740.0,3740.0,,,,1,1,a\0b", 26)}}, {{7, "the line holds a NUL byte"}}},
        {{{2, "x"}}, {{2, "expected an empty line before the next client"}}},
        {{{17, ""}, {18, ""}, {19, ""}}, {{15, "the file ends inside this client"}}},
    };
    for (const auto& [replaced, errors] : cases) {
        std::vector<std::string> lines;
        for (std::size_t start = 0, end; (end = good.find("\r\n", start)) != std::string::npos;
             start = end + 2)
            lines.push_back(good.substr(start, end - start));
        for (const auto& [line, text] : replaced) lines[std::size_t(line - 1)] = text;
        std::string text;
        for (const std::string& line : lines) text += line + "\r\n";
        const CsvImport read = readCsv(text);
        std::vector<std::string> got, expected;
        for (const CsvLineError& e : read.errors) got.push_back(lineErrorText(e));
        for (const auto& [line, reason] : errors) expected.push_back(lineErrorText({line, reason}));
        EXPECT_EQ(got, expected);
        const auto bad = [&](bool first) {
            return std::any_of(errors.begin(), errors.end(),
                               [&](const auto& e) { return (e.first < 14) == first; });
        };
        EXPECT_EQ(read.clients.size(), std::size_t(2 - bad(true) - bad(false))) << expected[0];
    }
}

TEST(CsvImport, TheClientLimitAndTheChannelCheck) {
    test::RecordingUi feedback;
    std::string text = "\r\n";
    for (int i = 0; i < 3; ++i) {
        text += "\r\nC" + std::to_string(i) + "\r\n" + std::string(kCsvClientHeading) +
                "\r\n0,1234,,,,,,,mid\r\n" + std::string(kCsvChannelHeading) + "\r\n";
        for (int n = 1; n <= 9; ++n) text += std::to_string(n) + ",7000.0,7000.0,,,1,,,\r\n";
    }
    const CsvImport read = readCsv(text);
    ASSERT_EQ(read.clients.size(), 3u);
    EXPECT_EQ(read.clients[0].getOption(ClientOption::PowerLevel), PowerLevel::Mid1);
    EXPECT_EQ(read.clients[2].getChannelFlag(9, ChannelFlag::Scan), 0) << "nine: all deselected";
    EXPECT_EQ(feedback.texts().size(), 3u);

    ClientDatabase db(false);
    while (db.clientCount() < kMaxClients - 2) db.addClient();
    db.setModified(false);
    const CsvImportSummary summary = appendClients(db, read.clients);
    EXPECT_EQ(db.clientCount(), kMaxClients);
    EXPECT_TRUE(db.isModified());
    EXPECT_EQ(importSummaryText(summary),
              "Imported 2 clients with 18 channels. 1 client does not fit: a database holds at "
              "most 1000 clients.");
}

// A file larger than any export (64 MiB) is refused whole, never read in part.
TEST(CsvImport, AnOversizedFileIsRefused) {
    test::RecordingUi feedback;
    test::TempDir dir;
    test::writeFile(dir.file("big.csv"), {});
    std::filesystem::resize_file(dir.file("big.csv"), (std::uintmax_t{64} << 20) + 1);  // sparse
    EXPECT_FALSE(readCsvFile(dir.file("big.csv")));
    EXPECT_EQ(feedback.texts(), std::vector<std::string>{"Could not open csv file"});
}

}  // namespace
}  // namespace tarn
