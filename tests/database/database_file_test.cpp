// Loading and saving database files: every failure message, the state each one leaves,
// the recent-file list, and saves that never lose the existing file.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "database/client_database.h"
#include "database_file_builder.h"
#include "settings/memory_settings_backend.h"
#include "support/file_size_limit.h"
#include "support/recording_feedback.h"
#include "support/temp_dir.h"

namespace tarn {
namespace {

using test::DatabaseFileBuilder;
using test::readFile;
using test::writeFile;
using Texts = std::vector<std::string>;

class DatabaseFile : public ::testing::Test {
  protected:
    void SetUp() override { setSettingsBackend(&settingsValues); }
    void TearDown() override { setSettingsBackend(nullptr); }

    // Loads `bytes` into a database with other content; the load must fail with `message`
    // and change nothing, not even the dealer text or the recent files.
    void expectRefused(const std::vector<std::uint8_t>& bytes, const std::string& message) {
        writeFile(dir.file("broken.tdb"), bytes);
        ClientDatabase db(true);
        db.addClient();
        std::strcpy(db.dealerText().data(), "Old dealer");
        const ClientRecord second = *db.client(1);
        feedback.clear();
        EXPECT_EQ(db.load(dir.file("broken.tdb")), 0);
        EXPECT_EQ(feedback.texts(), Texts{message});
        EXPECT_EQ(feedback.messages().back().owner, MessageOwner::Kind::None);
        ASSERT_EQ(db.clientCount(), 2);
        EXPECT_EQ(*db.client(1), second);
        EXPECT_EQ(db.dealerString(), "Old dealer");
        EXPECT_NE(db.isModified(), 0);
        EXPECT_FALSE(settings().recentFile(0, false));
    }

    static DatabaseFileBuilder header(int count, const std::string& dealer = "File dealer") {
        DatabaseFileBuilder b;
        b.magic().dealer(dealer).int16(count);
        return b;
    }

    int filesInDir() const {
        auto it = std::filesystem::directory_iterator(dir.path());
        return static_cast<int>(std::distance(it, std::filesystem::directory_iterator()));
    }

    MemorySettingsBackend settingsValues;
    test::RecordingFeedback feedback;
    test::TempDir dir;
    ClientRecord client;
};

TEST_F(DatabaseFile, SaveAndLoadRoundTrip) {
    ClientDatabase db(true);
    std::strcpy(db.dealerText().data(), "Dealer\r\nLine 2");
    db.dealerText()[60] = 'q';  // bytes after the NUL are carried as held
    db.client(db.addClient())->setLabel(2, "two");
    const std::string path = dir.file("two.tdb");
    ASSERT_EQ(db.save(path), 1);
    EXPECT_EQ(db.isModified(), 0);
    EXPECT_FALSE(settings().recentFile(0, false)) << "the recent files are the caller's";
    auto expected = header(2, "").record(*db.client(0)).record(*db.client(1)).end().bytes;
    std::memcpy(expected.data() + 22, db.dealerText().data(), 100);
    EXPECT_EQ(readFile(path), expected);
    EXPECT_EQ(expected.size(), 130u + 2 * 10259u);

    ClientDatabase loaded(true);
    ASSERT_EQ(loaded.load(path), 1);
    EXPECT_EQ(loaded.isModified(), 0);
    ASSERT_EQ(loaded.clientCount(), 2);
    EXPECT_EQ(*loaded.client(1), *db.client(1));
    EXPECT_EQ(loaded.dealerText(), db.dealerText());
    EXPECT_FALSE(settings().recentFile(0, false));
    EXPECT_TRUE(feedback.empty());
}

TEST_F(DatabaseFile, EveryRefusal) {
    const std::string notDb = "File does not appear to be a database file",
                      nothing = "Database file does not contain any information",
                      invalid = "Database file is invalid/corrupted",
                      noEnd = "Database file is corrupted";
    const std::pair<DatabaseFileBuilder, std::string> cases[] = {
        {{}, notDb},
        {DatabaseFileBuilder().magic("TARN Database file v3X").dealer("").int16(1).record(client),
         notDb},
        {header(0x8000).record(client).end(), nothing},
        // A file that ends before (or inside) its count reads as count 0.
        {DatabaseFileBuilder().magic().dealer("x").append("\x01"), nothing},
        {DatabaseFileBuilder().magic("TARN Database file v3"), nothing},
        {header(1).int16(-10257).append(std::string(20000, '\0')).end(), invalid},
        {header(1).int16(20481).append(std::string(20481, '\0')).end(), invalid},
        {header(3).record(client).record(client).int16(10257).append("cut"), invalid},
        {header(2).record(client).append("\x11"), invalid},  // half a length
        {header(1).record(client).end(""), noEnd},
        {header(1).record(client).end("[end"), noEnd},
        {header(1).record(client).end("[END]"), noEnd},
        {header(1).record(client).end("[end]x"), noEnd},
    };
    // Every count and record length: see the mutation test.
    for (const auto& [file, message] : cases) expectRefused(file.bytes, message);

    ClientDatabase db(true);
    feedback.clear();
    EXPECT_EQ(db.load(dir.file("missing.tdb")), 0);
    EXPECT_EQ(db.load(dir.path().string()), 0) << "a folder is not a file";
    EXPECT_EQ(feedback.texts(), Texts(2, "Could not open database file"));
}

TEST_F(DatabaseFile, ToleratedOddities) {
    ClientRecord named;
    named.setName("Named");
    // Records of another length become default clients; the marker may lack its NUL;
    // a dealer field without NUL ends after its 100th byte.
    writeFile(dir.file("odd.tdb"), header(4, std::string(100, 'D'))
                                       .record(named)
                                       .int16(0)
                                       .int16(10256)
                                       .append(std::string(10256, 'z'))
                                       .record(named)
                                       .end("[end]")
                                       .bytes);
    ClientDatabase db(false);
    ASSERT_EQ(db.load(dir.file("odd.tdb")), 1);
    ASSERT_EQ(db.clientCount(), 4);
    EXPECT_EQ(*db.client(0), named);
    EXPECT_EQ(*db.client(1), client);
    EXPECT_EQ(*db.client(2), client);
    EXPECT_EQ(db.dealerString(), std::string(100, 'D'));
    writeFile(dir.file("tail.tdb"), header(1).record(client).end().append("ignored").bytes);
    EXPECT_EQ(db.load(dir.file("tail.tdb")), 1);

    ClientRecord bad;  // the channel check speaks per client, and the load goes on
    bad.image()[8 * 10 + 5] = 0x01;
    writeFile(dir.file("bad.tdb"), header(2).record(bad).record(bad).end().bytes);
    ASSERT_EQ(db.load(dir.file("bad.tdb")), 1);
    EXPECT_EQ(feedback.texts(),
              Texts(2, "1 channels appear to be corrupted and have been deleted"));
}

TEST_F(DatabaseFile, SavesThatCannotHappenChangeNothing) {
    const std::string path = dir.file("existing.tdb");
    writeFile(path, {'o', 'l', 'd'});
    ClientDatabase empty(false);
    empty.setModified(true);
    EXPECT_EQ(empty.save(path), 0);
    EXPECT_EQ(empty.save(dir.file("new.tdb")), 0);
    ClientDatabase db(true);
    EXPECT_EQ(db.save(dir.file("no/such/folder.tdb")), 0);
    EXPECT_EQ(db.save(dir.path().string()), 0) << "a folder cannot be replaced";
    EXPECT_EQ(feedback.texts(),
              (Texts{"No data to save", "No data to save", "Failed to create/open database file",
                     "Failed to create/open database file"}));
    EXPECT_EQ(readFile(path), (std::vector<std::uint8_t>{'o', 'l', 'd'}));
    EXPECT_EQ(filesInDir(), 1);
    EXPECT_NE(db.isModified() && empty.isModified(), 0);
    EXPECT_FALSE(settings().recentFile(0, false));
}

TEST_F(DatabaseFile, SaveReplacesWholeAndFollowsSymbolicLinks) {
    const std::string target = dir.file("target.tdb"), link = dir.file("link.tdb");
    writeFile(target, std::vector<std::uint8_t>(50000, 0xAA));
    std::filesystem::create_symlink(target, link);
    ClientDatabase db(true);
    ASSERT_EQ(db.save(link), 1);
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(readFile(target).size(), 10389u);
    EXPECT_EQ(filesInDir(), 2) << "no temporary file remains";
}

TEST_F(DatabaseFile, FailedWriteKeepsTheOldFileAndTellsTheUser) {
    const std::string path = dir.file("precious.tdb");
    ClientDatabase original(true);
    ASSERT_EQ(original.save(path), 1);
    const auto before = readFile(path);
    EXPECT_TRUE(test::withFileSizeLimit(4096, [&] {
        test::RecordingFeedback inChild;
        ClientDatabase db(true);
        db.addClient();
        return db.save(path) == 0 && db.isModified() &&
               inChild.texts() == Texts{"Failed to write database file"};
    }));
    EXPECT_EQ(readFile(path), before);
    EXPECT_EQ(filesInDir(), 1) << "no temporary file remains";
}

}  // namespace
}  // namespace tarn
