// Hundreds of damaged database files, made deterministically from a good one: each load
// must end in one of its defined outcomes, and a failed one must change nothing; what
// loads exports, imports into a new database and exports again to the same bytes.
// With TARN_SEED_CORPUS set, the files are also written there as the fuzzer's seeds.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "database_file_builder.h"
#include "load_invariants.h"
#include "support/recording_ui.h"
#include "support/temp_dir.h"

namespace tarn {
namespace {

constexpr std::size_t kCountAt = 122, kFirstRecordAt = 124;
constexpr std::size_t kStride = 2 + kSerializedClientSize;
const std::string kNotDb = "File does not appear to be a database file",
                  kNothing = "Database file does not contain any information",
                  kInvalid = "Database file is invalid/corrupted",
                  kNoEnd = "Database file is corrupted";

class DatabaseMutation : public ::testing::Test {
  protected:
    // Loads `bytes` into a database holding other content, checks the outcome and
    // returns the last message shown ("" when none).
    std::string check(const std::vector<std::uint8_t>& bytes, const std::string& what) {
        test::writeFile(path, bytes);
        if (const char* corpus = std::getenv("TARN_SEED_CORPUS")) {
            const std::string name =
                ::testing::UnitTest::GetInstance()->current_test_info()->name();
            test::writeFile(std::string(corpus) + "/" + name + "-" + std::to_string(++cases),
                            bytes);
        }
        ClientDatabase db(true);
        std::strcpy(db.dealerText().data(), "Before");
        const auto before = test::DatabaseSnapshot::of(db);
        feedback.clear();
        const int result = db.load(path);
        EXPECT_EQ(test::checkLoadOutcome(before, db, result, feedback.texts()), "") << what;
        if (result) {  // export, import into a new database, export: the same bytes
            const std::string exported = csvText(db);
            const CsvImport read = readCsv(exported);
            ClientDatabase again(false);
            importClients(again, read, kMaxClients, dealerTextOffered(again, read));
            EXPECT_EQ(csvText(again), exported) << what;
        }
        return result ? "" : feedback.texts().back();
    }

    std::vector<std::uint8_t> with16(std::size_t at, int value) const {
        auto bytes = good;
        bytes[at] = std::uint8_t(value), bytes[at + 1] = std::uint8_t(value >> 8);
        return bytes;
    }

    test::RecordingUi feedback;
    test::TempDir dir;
    std::string path = dir.file("mutant.tdb");
    // Three clients with channels, eight scan flags, labels and texts.
    const std::vector<std::uint8_t> good = [] {
        ClientRecord a, b;
        a.setLabel(1, "ONE");
        for (int i = 0; i < 20; ++i) a.setChannelFlag(a.addChannel(), ChannelFlag::Scan, i < 8);
        b.setSerial("SN123456789");
        b.addChannel();
        return test::fileHeader(3, "Dealer\r\nStreet 1").record(a).record(b).record({}).end().bytes;
    }();
    int cases = 0;
};

TEST_F(DatabaseMutation, EveryTruncation) {
    EXPECT_EQ(check(good, "whole"), "");
    EXPECT_EQ(check({good.begin(), good.end() - 1}, "marker without NUL"), "");
    for (std::size_t n = 0; n + 1 < good.size(); ++n) {
        // Every cut in the header and within 8 bytes of a record boundary; a sweep elsewhere.
        const std::size_t offset = (n + kStride - kFirstRecordAt) % kStride;
        if (n >= 130 && offset >= 8 && offset <= kStride - 8 && n % 97 != 0) continue;
        const std::string message =
            check({good.begin(), good.begin() + long(n)}, "cut " + std::to_string(n));
        const bool inRecords = n >= kFirstRecordAt + 2 && n < good.size() - 6;
        EXPECT_TRUE(!inRecords || message == kInvalid) << n << ": " << message;
    }
}

TEST_F(DatabaseMutation, EveryRefusal) {
    const ClientRecord client;
    const std::pair<test::DatabaseFileBuilder, std::string> files[] = {
        {{}, kNotDb},
        {test::DatabaseFileBuilder().magic("TARN Database file v3X").dealer("").int16(1), kNotDb},
        // A file that ends before (or inside) its count reads as count 0.
        {test::DatabaseFileBuilder().magic().dealer("x").append("\x01"), kNothing},
        {test::DatabaseFileBuilder().magic("TARN Database file v3"), kNothing},
        {test::fileHeader(3).record(client).record(client).int16(10257).append("cut"), kInvalid},
        {test::fileHeader(2).record(client).append("\x11"), kInvalid},  // half a length
        {test::fileHeader(1).record(client).end(""), kNoEnd},
        {test::fileHeader(1).record(client).end("[end"), kNoEnd},
        {test::fileHeader(1).record(client).end("[END]"), kNoEnd},
        {test::fileHeader(1).record(client).end("[end]x"), kNoEnd},
    };
    for (const auto& [file, message] : files) EXPECT_EQ(check(file.bytes, message), message);

    const std::pair<int, std::string> counts[] = {
        {0, kNothing},    {-1, kNothing},    {-32768, kNothing}, {4, kInvalid},
        {1001, kInvalid}, {32767, kInvalid}, {2, kNoEnd},        {1, kNoEnd}};
    for (const auto& [count, message] : counts)
        EXPECT_EQ(check(with16(kCountAt, count), "count"), message) << count;
    for (std::size_t at = kFirstRecordAt; at < good.size() - 6; at += kStride) {
        for (int length : {-1, -10257, -32768, 20481, 32767})
            EXPECT_EQ(check(with16(at, length), "length"), kInvalid) << length;
        for (int length : {0, 1, 10256, 10258, 20480}) check(with16(at, length), "length");
    }
}

}  // namespace
}  // namespace tarn
