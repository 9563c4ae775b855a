// Loading and saving database files: every failure message, the state each one leaves,
// the recent-file list, and saves that must never lose the existing file.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>

#include "database/client_database.h"
#include "database_file_builder.h"
#include "settings/memory_settings_backend.h"
#include "support/recording_feedback.h"
#include "support/temp_dir.h"

namespace tarn {
namespace {

using test::DatabaseFileBuilder;
using test::readFile;
using test::RecordingFeedback;
using test::TempDir;
using test::writeFile;

using Texts = std::vector<std::string>;

class DatabaseFile : public ::testing::Test {
  protected:
    void SetUp() override { setSettingsBackend(&settingsValues); }
    void TearDown() override { setSettingsBackend(nullptr); }

    // A database of two named clients with labels, its dealer text set, not modified.
    static void fill(ClientDatabase& db) {
        std::strcpy(db.dealerText().data(), "Old dealer");
        for (const char* name : {"Keep A", "Keep B"}) {
            ClientRecord& c = *db.client(db.addClient());
            c.setName(name);
            c.setLabel(1, name);
        }
        db.setModified(false);
    }

    // Loads `bytes` into a filled database and checks the load changed nothing.
    void expectRefused(const std::vector<std::uint8_t>& bytes, const std::string& message) {
        const std::string path = dir.file("broken.tdb");
        writeFile(path, bytes);
        ClientDatabase db(false);
        fill(db);
        db.setModified(true);
        feedback.clear();
        EXPECT_EQ(db.load(path), 0);
        EXPECT_EQ(feedback.texts(), Texts{message});
        EXPECT_EQ(feedback.messages().back().owner, MessageOwner::Kind::None);
        EXPECT_EQ(feedback.messages().back().icon, MessageIcon::Error);
        ASSERT_EQ(db.clientCount(), 2);
        char name[32];
        db.client(1)->getName(name, sizeof name);
        EXPECT_STREQ(name, "Keep B");
        EXPECT_EQ(db.dealerString(), "Old dealer");
        EXPECT_NE(db.isModified(), 0);
        EXPECT_FALSE(settings().recentFile(0, false)) << "a failed load is not recent";
    }

    static DatabaseFileBuilder header(int count, const std::string& dealer = "File dealer") {
        DatabaseFileBuilder b;
        b.magic().dealer(dealer).int16(count);
        return b;
    }

    MemorySettingsBackend settingsValues;
    RecordingFeedback feedback;
    TempDir dir;
};

TEST_F(DatabaseFile, SaveAndLoadRoundTrip) {
    ClientDatabase db(true);
    std::strcpy(db.dealerText().data(), "Dealer\r\nLine 2");
    db.dealerText()[60] = 'q';  // bytes after the NUL are carried as held
    db.client(0)->setLabel(2, "two");
    const std::string path = dir.file("one.tdb");
    ASSERT_EQ(db.save(path), 1);
    EXPECT_TRUE(feedback.empty());
    EXPECT_EQ(db.isModified(), 0);
    auto bytes = readFile(path);
    ASSERT_EQ(bytes.size(), 10389u);
    EXPECT_EQ(0, std::memcmp(bytes.data(), "TARN Database file v3", 22));
    EXPECT_EQ(bytes[22 + 60], 'q');
    EXPECT_EQ(bytes[122], 1);
    EXPECT_EQ(bytes[123], 0);
    EXPECT_EQ(bytes[124] | (bytes[125] << 8), 10257);
    EXPECT_EQ(0, std::memcmp(bytes.data() + bytes.size() - 6, "[end]", 6));
    EXPECT_EQ(settings().recentFile(0, false), path);

    ClientDatabase loaded(true);
    loaded.addClient();
    settingsValues.clear();
    ASSERT_EQ(loaded.load(path), 1);
    EXPECT_TRUE(feedback.empty());
    EXPECT_EQ(loaded.isModified(), 0);
    ASSERT_EQ(loaded.clientCount(), 1);
    EXPECT_EQ(*loaded.client(0), *db.client(0));
    EXPECT_EQ(loaded.dealerText(), db.dealerText());
    EXPECT_EQ(settings().recentFile(0, false), path);
}

TEST_F(DatabaseFile, ManyClientsKeepTheirOrder) {
    ClientDatabase db(false);
    for (int i = 0; i < 300; ++i) {
        ClientRecord& c = *db.client(db.addClient());
        c.setName(std::to_string(i).c_str());
        c.addChannel();
    }
    const std::string path = dir.file("many.tdb");
    ASSERT_EQ(db.save(path), 1);
    EXPECT_EQ(readFile(path).size(), 130u + 10259u * 300u);
    ClientDatabase loaded(false);
    ASSERT_EQ(loaded.load(path), 1);
    ASSERT_EQ(loaded.clientCount(), 300);
    for (int i = 0; i < 300; ++i) ASSERT_EQ(*loaded.client(i), *db.client(i)) << i;
}

TEST_F(DatabaseFile, OpenAndMagicFailures) {
    expectRefused({}, "File does not appear to be a database file");
    {
        ClientDatabase db(false);
        fill(db);
        feedback.clear();
        EXPECT_EQ(db.load(dir.file("missing.tdb")), 0);
        EXPECT_EQ(db.load(dir.path().string()), 0) << "a folder is not a file";
        EXPECT_EQ(feedback.texts(),
                  (Texts{"Could not open database file", "Could not open database file"}));
        EXPECT_EQ(db.clientCount(), 2);
    }
    ClientRecord client;
    expectRefused(DatabaseFileBuilder()
                      .magic("TARN Database file v3X")
                      .dealer("")
                      .int16(1)
                      .record(client)
                      .end()
                      .bytes,
                  "File does not appear to be a database file");
    expectRefused(DatabaseFileBuilder().magic("TARN Database file v2").bytes,
                  "File does not appear to be a database file");
}

TEST_F(DatabaseFile, CountsThatHoldNothing) {
    const std::string nothing = "Database file does not contain any information";
    expectRefused(header(0).end().bytes, nothing);
    expectRefused(header(-1).end().bytes, nothing);
    expectRefused(header(0x8000).end().bytes, nothing);  // 32768 reads as negative
    // A file that ends before (or inside) its count reads as count 0.
    expectRefused(DatabaseFileBuilder().magic().dealer("x").bytes, nothing);
    expectRefused(DatabaseFileBuilder().magic().dealer("x").append("\x01").bytes, nothing);
    expectRefused(DatabaseFileBuilder().magic().append("short dealer").bytes, nothing);
    expectRefused(DatabaseFileBuilder().magic("TARN Database file v3").bytes, nothing);
}

TEST_F(DatabaseFile, BrokenRecords) {
    const std::string invalid = "Database file is invalid/corrupted";
    ClientRecord c;
    expectRefused(header(1).int16(-1).bytes, invalid);
    expectRefused(header(1).int16(-10257).append(std::string(20000, '\0')).end().bytes, invalid);
    expectRefused(header(1).int16(20481).append(std::string(20481, '\0')).end().bytes, invalid);
    expectRefused(header(3).record(c).record(c).int16(10257).append("cut short").bytes, invalid);
    expectRefused(header(2).record(c).bytes, invalid);                 // second length missing
    expectRefused(header(2).record(c).append("\x11").bytes, invalid);  // half a length
    expectRefused(header(1001).record(c).end().bytes, invalid);
    expectRefused(header(32767).record(c).end().bytes, invalid);
}

TEST_F(DatabaseFile, EndMarker) {
    ClientRecord c;
    expectRefused(header(1).record(c).bytes, "Database file is corrupted");
    expectRefused(header(1).record(c).end("[end").bytes, "Database file is corrupted");
    expectRefused(header(1).record(c).end("[END]").bytes, "Database file is corrupted");
    expectRefused(header(1).record(c).end("[end]x").bytes, "Database file is corrupted");

    ClientDatabase db(false);
    feedback.clear();
    for (const auto& bytes : {header(1).record(c).end("[end]").bytes,
                              header(1).record(c).end().append("trailing bytes").bytes}) {
        writeFile(dir.file("ok.tdb"), bytes);
        EXPECT_EQ(db.load(dir.file("ok.tdb")), 1);
    }
    EXPECT_TRUE(feedback.empty());
}

TEST_F(DatabaseFile, RecordsOfAnotherLengthBecomeDefaultClients) {
    ClientRecord named;
    named.setName("Named");
    auto bytes = header(4)
                     .record(named)
                     .int16(0)
                     .int16(10256)
                     .append(std::string(10256, 'z'))
                     .record(named)
                     .end()
                     .bytes;
    writeFile(dir.file("odd.tdb"), bytes);
    ClientDatabase db(false);
    ASSERT_EQ(db.load(dir.file("odd.tdb")), 1);
    ASSERT_EQ(db.clientCount(), 4);
    const ClientRecord fresh;
    EXPECT_EQ(*db.client(0), named);
    EXPECT_EQ(*db.client(1), fresh);
    EXPECT_EQ(*db.client(2), fresh);
    EXPECT_EQ(*db.client(3), named);
    EXPECT_EQ(db.dealerString(), "File dealer");
}

TEST_F(DatabaseFile, DealerFieldWithoutNul) {
    ClientRecord c;
    writeFile(dir.file("d.tdb"), header(1, std::string(100, 'D')).record(c).end().bytes);
    ClientDatabase db(false);
    ASSERT_EQ(db.load(dir.file("d.tdb")), 1);
    EXPECT_EQ(db.dealerString(), std::string(100, 'D'));
    ASSERT_EQ(db.save(dir.file("again.tdb")), 1);
    EXPECT_EQ(readFile(dir.file("again.tdb")), readFile(dir.file("d.tdb")));
}

TEST_F(DatabaseFile, ChannelCheckMessagesPerClientAndStillLoads) {
    ClientRecord bad;
    bad.image()[8 * 10 + 5] = 0x01;  // channel 10: RX 0 with a TX byte
    writeFile(dir.file("bad.tdb"), header(2).record(bad).record(bad).end().bytes);
    ClientDatabase db(false);
    ASSERT_EQ(db.load(dir.file("bad.tdb")), 1);
    const std::string one = "1 channels appear to be corrupted and have been deleted";
    EXPECT_EQ(feedback.texts(), (Texts{one, one}));
    EXPECT_EQ(feedback.messages()[0].owner, MessageOwner::Kind::Frame);
    EXPECT_TRUE(db.client(1)->isChannelFree(10));
}

TEST_F(DatabaseFile, SavingNothingTouchesNoFile) {
    const std::string path = dir.file("existing.tdb");
    writeFile(path, {'o', 'l', 'd'});
    ClientDatabase db(false);
    db.setModified(true);
    EXPECT_EQ(db.save(path), 0);
    EXPECT_EQ(db.save(dir.file("new.tdb")), 0);
    EXPECT_EQ(feedback.texts(), (Texts{"No data to save", "No data to save"}));
    EXPECT_EQ(feedback.messages()[0].owner, MessageOwner::Kind::None);
    EXPECT_EQ(readFile(path), (std::vector<std::uint8_t>{'o', 'l', 'd'}));
    EXPECT_FALSE(std::filesystem::exists(dir.file("new.tdb")));
    EXPECT_NE(db.isModified(), 0);
}

TEST_F(DatabaseFile, SaveThatCannotCreateKeepsModified) {
    ClientDatabase db(true);
    EXPECT_EQ(db.save(dir.file("no/such/folder.tdb")), 0);
    EXPECT_EQ(db.save(dir.path().string()), 0) << "a folder cannot be replaced";
    EXPECT_EQ(feedback.texts(), (Texts{"Failed to create/open database file",
                                       "Failed to create/open database file"}));
    EXPECT_NE(db.isModified(), 0);
    EXPECT_FALSE(settings().recentFile(0, false));
    EXPECT_TRUE(std::filesystem::is_directory(dir.path()));
}

TEST_F(DatabaseFile, SaveReplacesTheFileAndLeavesNoTemporary) {
    const std::string path = dir.file("replace.tdb");
    writeFile(path, std::vector<std::uint8_t>(50000, 0xAA));  // longer than the new file
    ClientDatabase db(true);
    ASSERT_EQ(db.save(path), 1);
    EXPECT_EQ(readFile(path).size(), 10389u);
    int files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.path())) {
        ++files;
    }
    EXPECT_EQ(files, 1);
}

TEST_F(DatabaseFile, SaveThroughASymbolicLinkReplacesItsTarget) {
    const std::string target = dir.file("target.tdb");
    const std::string link = dir.file("link.tdb");
    writeFile(target, {'x'});
    std::filesystem::create_symlink(target, link);
    ClientDatabase db(true);
    ASSERT_EQ(db.save(link), 1);
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(readFile(target).size(), 10389u);
}

// A disk that fills up during the save: the file size limit of a child process makes
// the writes fail for real. The old file must survive and the failure must be told.
TEST_F(DatabaseFile, FailedWriteKeepsTheOldFileAndTellsTheUser) {
    const std::string path = dir.file("precious.tdb");
    ClientDatabase original(true);
    ASSERT_EQ(original.save(path), 1);
    const auto before = readFile(path);

    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{4096, 4096};
        setrlimit(RLIMIT_FSIZE, &limit);
        RecordingFeedback inChild;
        ClientDatabase db(true);
        for (int i = 0; i < 3; ++i) db.addClient();
        const int saved = db.save(path);
        const bool told = inChild.texts() == Texts{"Failed to write database file"};
        _exit(saved == 0 && told && db.isModified() ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "save must fail with its message and stay modified";
    EXPECT_EQ(readFile(path), before);
    int files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.path())) {
        ++files;
    }
    EXPECT_EQ(files, 1) << "no temporary file may remain";
}

}  // namespace
}  // namespace tarn
