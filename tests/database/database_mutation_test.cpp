// Thousands of damaged database files, made deterministically from a good one: each load
// must end in one of its defined outcomes, and a failed one must change nothing.
// With TARN_SEED_CORPUS set, the files are also written there as the fuzzer's seeds.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <random>

#include "database/client_database.h"
#include "database_file_builder.h"
#include "load_invariants.h"
#include "support/recording_feedback.h"
#include "support/temp_dir.h"

namespace tarn {
namespace {

using test::checkLoadOutcome;
using test::DatabaseFileBuilder;
using test::DatabaseSnapshot;
using test::RecordingFeedback;
using test::TempDir;

constexpr std::size_t kCountAt = 122;
constexpr std::size_t kFirstRecordAt = 124;
constexpr std::size_t kRecordStride = 2 + kSerializedClientSize;

// A good file of three clients with channels, scan flags, labels and texts.
std::vector<std::uint8_t> goodFile() {
    ClientRecord a, b, c;
    a.setName("Alpha");
    a.setLabel(1, "ONE");
    for (int i = 0; i < 20; ++i) a.addChannel();
    for (int n = 1; n <= 8; ++n) a.setChannelFlag(n, ChannelFlag::Scan, 1);
    b.setName("Bravo");
    b.setSerial("SN123456789");
    b.addChannel();
    c.setName("Charlie");
    return DatabaseFileBuilder()
        .magic()
        .dealer("Dealer\r\nStreet 1")
        .int16(3)
        .record(a)
        .record(b)
        .record(c)
        .end()
        .bytes;
}

void put16(std::vector<std::uint8_t>& bytes, std::size_t at, int value) {
    if (at + 2 > bytes.size()) return;
    bytes[at] = static_cast<std::uint8_t>(value & 0xFF);
    bytes[at + 1] = static_cast<std::uint8_t>((value >> 8) & 0xFF);
}

class DatabaseMutation : public ::testing::Test {
  protected:
    // Loads `bytes` into a database holding other content and checks the outcome.
    // Returns the load's result.
    int check(const std::vector<std::uint8_t>& bytes, const std::string& what) {
        ++cases;
        test::writeFile(path, bytes);
        if (const char* corpus = std::getenv("TARN_SEED_CORPUS")) {
            const std::string test =
                ::testing::UnitTest::GetInstance()->current_test_info()->name();
            test::writeFile(std::string(corpus) + "/" + test + "-" + std::to_string(cases), bytes);
        }
        ClientDatabase db(true);
        std::strcpy(db.dealerText().data(), "Before");
        const DatabaseSnapshot before = DatabaseSnapshot::of(db);
        feedback.clear();
        const int result = db.load(path);
        const std::string problem = checkLoadOutcome(before, db, result, feedback.texts());
        EXPECT_EQ(problem, "") << what;
        return result;
    }

    std::string lastMessage() const {
        return feedback.empty() ? std::string() : feedback.texts().back();
    }

    // Thousands of small files: memory-backed storage where there is some.
    static std::filesystem::path scratch() {
        std::error_code error;
        return std::filesystem::is_directory("/dev/shm", error)
                   ? std::filesystem::path("/dev/shm")
                   : std::filesystem::temp_directory_path();
    }

    RecordingFeedback feedback;
    TempDir dir{scratch()};
    std::string path = dir.file("mutant.tdb");
    const std::vector<std::uint8_t> good = goodFile();
    int cases = 0;
};

TEST_F(DatabaseMutation, TheGoodFileLoads) {
    EXPECT_EQ(check(good, "good"), 1);
}

TEST_F(DatabaseMutation, EveryTruncation) {
    // Every cut inside the header and around each record boundary, and a sweep of the rest.
    std::vector<std::size_t> cuts;
    for (std::size_t n = 0; n <= kFirstRecordAt + 4; ++n) cuts.push_back(n);
    for (std::size_t r = 0; r <= 3; ++r) {
        const std::size_t at = kFirstRecordAt + r * kRecordStride;
        for (std::size_t d = 0; d < 8; ++d) {
            cuts.push_back(at + d);
            if (at >= d) cuts.push_back(at - d);
        }
    }
    for (std::size_t n = 0; n < good.size(); n += 97) cuts.push_back(n);
    for (std::size_t n : cuts) {
        if (n >= good.size()) continue;
        std::vector<std::uint8_t> cut(good.begin(), good.begin() + static_cast<long>(n));
        const int result = check(cut, "cut at " + std::to_string(n));
        EXPECT_EQ(result, n >= good.size() - 1 ? 1 : 0) << "cut at " << n;
        if (n >= kFirstRecordAt && n + 6 < good.size() - 1 && n < good.size() - 6) {
            EXPECT_EQ(lastMessage(), "Database file is invalid/corrupted") << n;
        }
    }
}

TEST_F(DatabaseMutation, Counts) {
    const std::pair<int, const char*> counts[] = {
        {0, "Database file does not contain any information"},
        {-1, "Database file does not contain any information"},
        {-32768, "Database file does not contain any information"},
        {4, "Database file is invalid/corrupted"},
        {1000, "Database file is invalid/corrupted"},
        {1001, "Database file is invalid/corrupted"},
        {32767, "Database file is invalid/corrupted"},
        {2, "Database file is corrupted"},  // the third record is read as the end marker
        {1, "Database file is corrupted"},
    };
    for (auto [count, message] : counts) {
        auto bytes = good;
        put16(bytes, kCountAt, count);
        EXPECT_EQ(check(bytes, "count " + std::to_string(count)), 0);
        EXPECT_EQ(lastMessage(), message) << count;
    }
}

TEST_F(DatabaseMutation, RecordLengths) {
    for (int record = 0; record < 3; ++record) {
        const std::size_t at = kFirstRecordAt + static_cast<std::size_t>(record) * kRecordStride;
        for (int length : {-1, -2, -10257, -32768, 20481, 32767}) {
            auto bytes = good;
            put16(bytes, at, length);
            EXPECT_EQ(check(bytes, "length " + std::to_string(length)), 0);
            EXPECT_EQ(lastMessage(), "Database file is invalid/corrupted") << length;
        }
        for (int length : {0, 1, 10256, 10258, 20480}) {
            auto bytes = good;
            put16(bytes, at, length);
            check(bytes, "length " + std::to_string(length));  // defined, either way
        }
    }
}

TEST_F(DatabaseMutation, TextsWithoutTerminators) {
    auto bytes = good;
    std::memset(bytes.data() + 22, 'D', 100);  // dealer text without NUL
    for (std::size_t r = 0; r < 3; ++r) {
        std::uint8_t* record = bytes.data() + kFirstRecordAt + r * kRecordStride + 2;
        std::memset(record, 'N', 32);             // name
        std::memset(record + 32, 'S', 16);        // serial
        std::memset(record + 49, 'L', 255 * 32);  // every label
    }
    ASSERT_EQ(check(bytes, "no terminators"), 1);
    ClientDatabase db(false);
    ASSERT_EQ(db.load(path), 1);
    EXPECT_EQ(db.dealerString(), std::string(100, 'D'));
    char label[40];
    EXPECT_EQ(db.client(0)->getLabel(255, label, sizeof label), 32);
}

TEST_F(DatabaseMutation, RandomByteFlipsAndSplices) {
    std::mt19937 random(20240611);  // fixed: the same files on every run
    auto below = [&](std::size_t n) { return static_cast<std::size_t>(random() % n); };
    for (int i = 0; i < 3000; ++i) {
        auto bytes = good;
        const int kind = i % 4;
        if (kind == 0) {  // scattered flips, anywhere
            for (std::size_t k = 1 + below(8); k > 0; --k)
                bytes[below(bytes.size())] ^= static_cast<std::uint8_t>(1u << below(8));
        } else if (kind == 1) {  // flips in the header and the length fields
            const std::size_t spots[] = {kCountAt,
                                         kCountAt + 1,
                                         kFirstRecordAt,
                                         kFirstRecordAt + 1,
                                         kFirstRecordAt + kRecordStride + 1,
                                         bytes.size() - 6};
            bytes[spots[below(6)] + below(2)] = static_cast<std::uint8_t>(random());
        } else if (kind == 2) {  // random image bytes: the channel check's work
            const std::size_t image = kFirstRecordAt + 2 + 8209 + below(3) * kRecordStride;
            for (int k = 0; k < 64; ++k)
                bytes[image + below(kImageSize)] = static_cast<std::uint8_t>(random());
        } else {  // a cut after a flip
            bytes[below(bytes.size())] ^= 0xFF;
            bytes.resize(below(bytes.size()) + 1);
        }
        check(bytes, "random case " + std::to_string(i));
        if (HasFailure()) break;
    }
    EXPECT_GT(cases, 2999);
}

}  // namespace
}  // namespace tarn
