// Thousands of damaged database files, made deterministically from a good one: each load
// must end in one of its defined outcomes, and a failed one must change nothing.
// With TARN_SEED_CORPUS set, the files are also written there as the fuzzer's seeds.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <random>

#include "database_file_builder.h"
#include "load_invariants.h"
#include "support/recording_ui.h"
#include "support/temp_dir.h"

namespace tarn {
namespace {

constexpr std::size_t kCountAt = 122, kFirstRecordAt = 124;
constexpr std::size_t kStride = 2 + kSerializedClientSize;

// Three clients with channels, eight scan flags, labels and texts.
std::vector<std::uint8_t> goodFile() {
    ClientRecord a, b;
    a.setLabel(1, "ONE");
    for (int i = 0; i < 20; ++i) a.setChannelFlag(a.addChannel(), ChannelFlag::Scan, i < 8);
    b.setSerial("SN123456789");
    b.addChannel();
    return test::DatabaseFileBuilder()
        .magic()
        .dealer("Dealer\r\nStreet 1")
        .int16(3)
        .record(a)
        .record(b)
        .record(ClientRecord())
        .end()
        .bytes;
}

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
        return result ? "" : feedback.texts().back();
    }

    static std::vector<std::uint8_t> with16(std::vector<std::uint8_t> bytes, std::size_t at,
                                            int value) {
        bytes[at] = static_cast<std::uint8_t>(value & 0xFF);
        bytes[at + 1] = static_cast<std::uint8_t>((value >> 8) & 0xFF);
        return bytes;
    }

    test::RecordingUi feedback;
    // Thousands of small files: memory-backed storage where there is some.
    test::TempDir dir{std::filesystem::is_directory("/dev/shm")
                          ? "/dev/shm"
                          : std::filesystem::temp_directory_path()};
    std::string path = dir.file("mutant.tdb");
    const std::vector<std::uint8_t> good = goodFile();
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
        if (n >= kFirstRecordAt + 2 && n < good.size() - 6) {
            EXPECT_EQ(message, "Database file is invalid/corrupted") << n;
        }
    }
}

TEST_F(DatabaseMutation, EveryRefusal) {
    const std::string notDb = "File does not appear to be a database file",
                      nothing = "Database file does not contain any information",
                      invalid = "Database file is invalid/corrupted",
                      noEnd = "Database file is corrupted";
    const ClientRecord client;
    const std::pair<test::DatabaseFileBuilder, std::string> files[] = {
        {{}, notDb},
        {test::DatabaseFileBuilder().magic("TARN Database file v3X").dealer("").int16(1), notDb},
        // A file that ends before (or inside) its count reads as count 0.
        {test::DatabaseFileBuilder().magic().dealer("x").append("\x01"), nothing},
        {test::DatabaseFileBuilder().magic("TARN Database file v3"), nothing},
        {test::fileHeader(3).record(client).record(client).int16(10257).append("cut"), invalid},
        {test::fileHeader(2).record(client).append("\x11"), invalid},  // half a length
        {test::fileHeader(1).record(client).end(""), noEnd},
        {test::fileHeader(1).record(client).end("[end"), noEnd},
        {test::fileHeader(1).record(client).end("[END]"), noEnd},
        {test::fileHeader(1).record(client).end("[end]x"), noEnd},
    };
    for (const auto& [file, message] : files) EXPECT_EQ(check(file.bytes, message), message);

    const std::pair<int, std::string> counts[] = {{0, nothing}, {-1, nothing},   {-32768, nothing},
                                                  {4, invalid}, {1001, invalid}, {32767, invalid},
                                                  {2, noEnd},   {1, noEnd}};
    for (const auto& [count, message] : counts) {
        EXPECT_EQ(check(with16(good, kCountAt, count), "count"), message) << count;
    }
    for (std::size_t at = kFirstRecordAt; at < good.size() - 6; at += kStride) {
        for (int length : {-1, -10257, -32768, 20481, 32767}) {
            EXPECT_EQ(check(with16(good, at, length), "length"), invalid) << length;
        }
        for (int length : {0, 1, 10256, 10258, 20480}) check(with16(good, at, length), "length");
    }
}

TEST_F(DatabaseMutation, RandomFlipsAndCuts) {
    std::mt19937 random(20240611);  // fixed: the same files on every run
    auto below = [&](std::size_t n) { return static_cast<std::size_t>(random() % n); };
    for (int i = 0; i < 3000 && !HasFailure(); ++i) {
        auto bytes = good;
        switch (i % 4) {
            case 0:  // scattered bit flips
                for (std::size_t k = 1 + below(8); k > 0; --k)
                    bytes[below(bytes.size())] ^= std::uint8_t(1u << below(8));
                break;
            case 1:  // a header or length byte replaced
                bytes[std::vector<std::size_t>{kCountAt, kFirstRecordAt,
                                               kFirstRecordAt + kStride}[below(3)] +
                      below(2)] = static_cast<std::uint8_t>(random());
                break;
            case 2:  // image bytes: the channel check's work
                for (int k = 0; k < 64; ++k) {
                    bytes[kFirstRecordAt + 2 + 8209 + below(3) * kStride + below(kImageSize)] =
                        static_cast<std::uint8_t>(random());
                }
                break;
            default:  // a flip, then a cut
                bytes[below(bytes.size())] ^= 0xFF;
                bytes.resize(below(bytes.size()) + 1);
        }
        check(bytes, "random case " + std::to_string(i));
    }
}

}  // namespace
}  // namespace tarn
