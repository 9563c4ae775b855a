// Loading and saving database files: odd files that still load, and saves that never lose
// the existing file. Damaged files: database_mutation_test.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstring>
#include <filesystem>

#include "database/client_database.h"
#include "database/replace_file.h"
#include "database_file_builder.h"
#include "load_invariants.h"
#include "support/file_size_limit.h"
#include "support/recording_ui.h"
#include "support/temp_dir.h"

namespace tarn {
namespace {

namespace fs = std::filesystem;
using test::fileHeader;
using test::readFile;
using test::writeFile;
using Texts = std::vector<std::string>;
const std::vector<std::uint8_t> kOld = {'o', 'l', 'd'};

class DatabaseFile : public ::testing::Test {
  protected:
    long filesInDir() const {
        return std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator());
    }
    test::RecordingUi feedback;
    test::TempDir dir;
};

TEST_F(DatabaseFile, SaveAndLoadRoundTrip) {
    ClientDatabase db(true);
    std::strcpy(db.dealerText().data(), "Dealer\r\nLine 2");
    db.dealerText()[60] = 'q';  // bytes after the NUL are carried as held
    db.client(db.addClient())->setLabel(2, "two");
    const std::string path = dir.file("two.tdb");
    ASSERT_EQ(db.save(path), 1);
    auto file = fileHeader(2, std::string(db.dealerText().data(), 100)).record(*db.client(0));
    EXPECT_EQ(readFile(path), file.record(*db.client(1)).end().bytes);
    EXPECT_EQ(file.bytes.size(), 130u + 2 * 10259u);
    ClientDatabase loaded(true);
    ASSERT_EQ(loaded.load(path), 1);
    EXPECT_EQ(test::DatabaseSnapshot::of(loaded), test::DatabaseSnapshot::of(db));
    EXPECT_TRUE(feedback.empty());
}

// Only regular files open: neither a device nor a FIFO, which would wait for a writer for
// ever. A save that cannot happen, or whose bytes do not all reach the disk, says why and
// leaves the old file and nothing else.
TEST_F(DatabaseFile, LoadsAndSavesThatCannotHappenChangeNothing) {
    const std::string path = dir.file("existing.tdb");
    writeFile(path, kOld);
    ASSERT_EQ(mkfifo(dir.file("fifo.tdb").c_str(), 0600), 0);
    ClientDatabase db(true), empty(false);
    for (const std::string& name : {dir.file("missing.tdb"), dir.path().string(),
                                    std::string("/dev/null"), dir.file("fifo.tdb")})
        EXPECT_EQ(db.load(name), 0) << name;
    empty.setModified(true);
    EXPECT_EQ(empty.save(path) + empty.save(dir.file("new.tdb")), 0);
    EXPECT_EQ(db.save(dir.file("no/such/folder.tdb")) + db.save(dir.path().string()), 0);
    Texts expected(4, "Could not open database file");
    expected.insert(expected.end(), {"No data to save", "No data to save"});
    expected.insert(expected.end(), 2, "Failed to create/open database file");
    EXPECT_EQ(feedback.texts(), expected);
    EXPECT_TRUE(test::withFileSizeLimit(4096, [&] {
        test::RecordingUi inChild;
        return db.save(path) == 0 && db.isModified() &&
               inChild.texts() == Texts{"Failed to write database file"};
    }));
    EXPECT_EQ(readFile(path), kOld);
    EXPECT_EQ(filesInDir(), 2);
    EXPECT_NE(db.isModified() && empty.isModified(), 0);
    // A file that does not open leaves nothing that a save could write over it.
    EXPECT_EQ(db.open(dir.file("missing.tdb")), 0);
    EXPECT_EQ(db.clientCount() + db.isModified(), 0);
}

// Records of another length become default clients; bytes after the marker are ignored; a
// dealer field without NUL ends after its 100th byte.
TEST_F(DatabaseFile, ToleratedOddities) {
    ClientRecord named, plain;
    named.setName("Named");
    auto odd = fileHeader(3, std::string(100, 'D')).record(named).int16(0).int16(10256);
    writeFile(dir.file("odd.tdb"), odd.append(std::string(10256, 'z')).end().append("x").bytes);
    ClientDatabase db(false);
    ASSERT_EQ(db.load(dir.file("odd.tdb")), 1);
    ASSERT_EQ(db.clientCount(), 3);
    EXPECT_TRUE(*db.client(0) == named && *db.client(1) == plain && *db.client(2) == plain);
    EXPECT_EQ(db.dealerString(), std::string(100, 'D'));
    EXPECT_TRUE(feedback.empty());
}

TEST_F(DatabaseFile, SaveReplacesWholeAndFollowsSymbolicLinks) {
    const std::string target = dir.file("target.tdb"), link = dir.file("link.tdb");
    writeFile(target, std::vector<std::uint8_t>(50000, 0xAA));
    // A link to a file not there yet, through a second link, relative to its folder.
    fs::create_symlink("later.tdb", link);
    fs::create_symlink("link.tdb", dir.file("chain.tdb"));
    ClientDatabase db(true);
    ASSERT_EQ(db.save(dir.file("chain.tdb")), 1);
    fs::create_symlink(target, dir.file("other.tdb"));
    ASSERT_EQ(db.save(dir.file("other.tdb")), 1);
    EXPECT_TRUE(fs::is_symlink(link) && fs::is_symlink(dir.file("chain.tdb")));
    EXPECT_EQ(readFile(target).size() + readFile(dir.file("later.tdb")).size(), 2 * 10389u);
    EXPECT_EQ(filesInDir(), 5) << "no temporary file remains";
}

TEST_F(DatabaseFile, TemporaryFilesKeepThePermissionsFitTheNameAndAreCleanedUp) {
    const std::string path = dir.file("private.tdb");
    writeFile(path, kOld);
    const auto mode = fs::perms::owner_all | fs::perms::group_write;
    fs::permissions(path, mode);
    {
        ReplacingFile file(path);
        ASSERT_TRUE(file.isOpen());
        for (const auto& entry : fs::directory_iterator(dir.path())) {
            if (entry.path() == path) continue;
            EXPECT_EQ(fs::status(entry).permissions(), mode) << "before the first byte";
            // The name the next save's clean-up takes for a leftover of a killed save.
            EXPECT_EQ(entry.path().filename().string().size(), 15u + 16u) << entry.path();
        }
    }
    // Leftovers of killed saves of this file go with the next save; nothing else does.
    const Texts kept = {"private.tdb.tmp0123", "private.tdb.tmp0123456789abcdeg",
                        "other.tdb.tmp0123456789abcdef"};
    for (const auto& name : kept) writeFile(dir.file(name), {'x'});
    writeFile(dir.file("private.tdb.tmp0123456789abcdef"), {'x'});
    ClientDatabase db(true);
    ASSERT_EQ(db.save(path), 1);
    EXPECT_EQ(filesInDir(), 4);
    for (const auto& name : kept) EXPECT_TRUE(fs::exists(dir.file(name))) << name;

    // The longest names a file system takes still get a temporary file beside them.
    const std::string longest = dir.file(std::string(251, 'n') + ".tdb");
    ASSERT_EQ(db.save(longest) + db.save(longest), 2);
    EXPECT_EQ(readFile(longest).size() + filesInDir(), 10389u + 5);
    EXPECT_TRUE(feedback.empty());
}

TEST_F(DatabaseFile, ASaveAsksBeforeReplacingWhatAnotherProgramChanged) {
    const std::string path = dir.file("shared.tdb"), elsewhere = dir.file("elsewhere.tdb");
    const std::string question =
        "The file '" + path +
        "' has been changed by another program since it was opened.\n\nDo you want to replace it?";
    ClientDatabase first(true), second(false);
    ASSERT_EQ(first.save(path) + second.load(path), 2);
    second.addClient();
    ASSERT_EQ(second.save(path), 1);
    const auto theirs = readFile(path);

    first.addClient();
    feedback.script({MessageAnswer::No});
    EXPECT_EQ(first.save(path), 0);
    EXPECT_EQ(readFile(path), theirs);
    EXPECT_NE(first.isModified(), 0);
    EXPECT_EQ(feedback.texts(), Texts{question});
    EXPECT_TRUE(feedback.messages()[0].buttons == MessageButtons::YesNo &&
                feedback.messages()[0].defaultNo);

    // Saving elsewhere is not a conflict, nor is its own save. (Where nobody can answer the
    // save is refused: tarn-cli's read.)
    EXPECT_EQ(first.save(elsewhere) + first.save(elsewhere), 2);
    EXPECT_EQ(feedback.texts().size(), 1u);

    // Same size and time, other content: only the content tells.
    auto bytes = readFile(elsewhere);
    const auto time = std::filesystem::last_write_time(elsewhere);
    bytes[30] ^= 1;
    writeFile(elsewhere, bytes);
    std::filesystem::last_write_time(elsewhere, time);
    feedback.script({MessageAnswer::No});
    EXPECT_EQ(first.save(elsewhere), 0);
    EXPECT_EQ(feedback.texts().size(), 2u);
}

TEST(ForceDatabaseExtension, ReplacesTheNamesExtensionOnly) {
    const char* paths[] = {"fleet", "/d/fleet.old", "/d/my.fleet/x", "c:\\a.b\\x", "x.tdb"};
    const char* forced[] = {"fleet.tdb", "/d/fleet.tdb", "/d/my.fleet/x.tdb", "c:\\a.b\\x.tdb",
                            "x.tdb"};
    for (int i = 0; i < 5; ++i) EXPECT_EQ(forceDatabaseExtension(paths[i]), forced[i]) << paths[i];
}

}  // namespace
}  // namespace tarn
