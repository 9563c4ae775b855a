// Loading and saving database files: odd files that still load, and saves that never lose
// the existing file. Damaged files: database_mutation_test.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <cstring>
#include <filesystem>
#include <fstream>

#include "database/client_database.h"
#include "database/csv_export.h"
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

// A save's clean-up removes what killed writers left, never the file of a write that is
// still running, however old.
TEST_F(DatabaseFile, TemporaryFilesKeepThePermissionsFitTheNameAndOutliveOtherSaves) {
    const std::string path = dir.file("private.tdb");
    writeFile(path, kOld);
    const auto mode = fs::perms::owner_all | fs::perms::group_write;
    fs::permissions(path, mode);
    ReplacingFile running(path);
    ASSERT_TRUE(running.isOpen());
    const auto old = fs::file_time_type::clock::now() - std::chrono::minutes(2);
    for (const auto& entry : fs::directory_iterator(dir.path())) {
        if (entry.path() == path) continue;
        EXPECT_EQ(fs::status(entry).permissions(), mode) << "before the first byte";
        EXPECT_EQ(entry.path().filename().string().size(), 15u + 16u) << entry.path();
        fs::last_write_time(entry.path(), old);
    }
    const Texts kept = {"private.tdb.tmp0123", "private.tdb.tmp0123456789abcdeg",
                        "other.tdb.tmp0123456789abcdef"};
    for (const auto& name : kept) writeFile(dir.file(name), {'x'});
    writeFile(dir.file("private.tdb.tmp0123456789abcdef"), {'x'});
    fs::last_write_time(dir.file("private.tdb.tmp0123456789abcdef"), old);
    ClientDatabase db(true);
    ASSERT_EQ(db.save(path), 1);
    EXPECT_EQ(filesInDir(), 5);
    for (const auto& name : kept) EXPECT_TRUE(fs::exists(dir.file(name))) << name;
    running.write(kOld.data(), kOld.size());
    EXPECT_EQ(running.commit(), ReplaceResult::Written);
    EXPECT_EQ(readFile(path), kOld);

    // The longest names a file system takes still get a temporary file beside them.
    const std::string longest = dir.file(std::string(251, 'n') + ".tdb");
    ASSERT_EQ(db.save(longest) + db.save(longest), 2);
    EXPECT_EQ(readFile(longest).size() + filesInDir(), 10389u + 5);
    EXPECT_TRUE(feedback.empty());
}

// Only a regular file is replaced, and in a shared folder (sticky, writable by all) a link
// is followed only when it is the user's or the folder owner's, as the kernel's rule has it.
TEST_F(DatabaseFile, OutputsReplaceOnlyFilesAndNeverFollowAnotherUsersLinkInASharedFolder) {
    ASSERT_EQ(mkfifo(dir.file("fifo").c_str(), 0600), 0);
    ClientDatabase db(true);
    EXPECT_EQ(db.save(dir.file("fifo")) + exportCsv(db, dir.file("fifo")), 0);
    EXPECT_EQ(feedback.texts(),
              Texts(2, "'" + dir.file("fifo") + "' is not a regular file; it is never replaced."));
    EXPECT_TRUE(fs::is_fifo(dir.file("fifo")));
    if (geteuid() != 0) GTEST_SKIP() << "playing another user takes root";
    ASSERT_EQ(mknod(dir.file("null").c_str(), S_IFCHR | 0666, makedev(1, 3)), 0);
    EXPECT_EQ(checkReplaceable(dir.file("null")), ReplaceResult::NotAFile);

    const fs::path shared = dir.path() / "shared";
    fs::create_directory(shared);
    fs::permissions(shared, fs::perms::all | fs::perms::sticky_bit);
    writeFile(dir.file("victim"), kOld);
    fs::create_symlink(dir.file("victim"), shared / "planted.csv");
    ASSERT_EQ(lchown((shared / "planted.csv").c_str(), 65534, 65534), 0);
    feedback.clear();
    EXPECT_EQ(exportCsv(db, shared / "planted.csv") + db.save(shared / "planted.csv"), 0);
    EXPECT_EQ(
        feedback.texts(),
        Texts(2, "'" + (shared / "planted.csv").string() +
                     "' is a link another user made in a shared folder; it is not followed."));
    EXPECT_EQ(readFile(dir.file("victim")), kOld);
    // The user's own link, and the folder owner's, are followed.
    fs::create_symlink(dir.file("mine.tdb"), shared / "mine.tdb");
    ASSERT_EQ(chown(shared.c_str(), 65534, 65534), 0);
    EXPECT_EQ(db.save(shared / "mine.tdb") + db.save(shared / "planted.csv"), 2);
    EXPECT_EQ(readFile(dir.file("victim")).size() + readFile(dir.file("mine.tdb")).size(),
              2 * 10389u);
}

// A save keeps owner, group, permissions and every name of the file; where the new file
// could not have its owner (another member of its group saving), it writes in place.
TEST_F(DatabaseFile, ASaveKeepsOwnerGroupModeAndHardLinks) {
    if (geteuid() != 0) GTEST_SKIP() << "files of other users take root";
    const std::string path = dir.file("owned.tdb"), other = dir.file("second name.tdb");
    ClientDatabase db(true);
    ASSERT_EQ(db.save(path), 1);
    ASSERT_EQ(chown(path.c_str(), 65534, 65534) + chmod(path.c_str(), 0664), 0);
    fs::create_hard_link(path, other);
    const auto stat = [](const std::string& name) {
        struct stat info {};
        ::stat(name.c_str(), &info);
        return info;
    };
    const ino_t inode = stat(path).st_ino;
    db.addClient();
    ASSERT_EQ(db.save(path), 1);
    EXPECT_EQ(readFile(other).size(), 130u + 2 * 10259u);
    EXPECT_EQ(stat(other).st_ino, inode);
    fs::remove(other);
    ASSERT_EQ(db.save(path), 1);
    EXPECT_NE(stat(path).st_ino, inode) << "replaced whole, as a file of one name is";
    EXPECT_TRUE(stat(path).st_uid == 65534 && stat(path).st_gid == 65534 &&
                (stat(path).st_mode & 07777) == 0664);

    // Another member of the group (uid 65533) saves into the shared folder.
    fs::permissions(dir.path(), fs::perms::all);
    db.addClient();
    EXPECT_TRUE(test::withFileSizeLimit(RLIM_INFINITY, [&] {
        test::RecordingUi inChild;
        return setgid(65534) == 0 && setuid(65533) == 0 && db.save(path) == 1;
    }));
    EXPECT_EQ(readFile(path).size(), 130u + 3 * 10259u);
    EXPECT_TRUE(stat(path).st_uid == 65534 && (stat(path).st_mode & 07777) == 0664);
}

// A file's identity costs what the format holds and a bounded tail: a sparse tail of 4 GB
// after the end marker is never read, by a load nor a save.
TEST_F(DatabaseFile, ATailAfterTheEndMarkerIsNeverReadWhole) {
    const auto bytesRead = [] {
        std::ifstream io("/proc/self/io");
        std::string key;
        long long value = -1;
        while (io >> key >> value && key != "rchar:") {
        }
        return value;
    };
    if (bytesRead() < 0) GTEST_SKIP() << "no /proc/self/io";
    const std::string path = dir.file("tail.tdb");
    ClientDatabase db(true);
    ASSERT_EQ(db.save(path), 1);
    fs::resize_file(path, (std::uintmax_t{4} << 30));
    const long long before = bytesRead();
    ASSERT_EQ(db.load(path), 1);
    db.addClient();
    ASSERT_EQ(db.save(path), 1);
    EXPECT_LT(bytesRead() - before, 1 << 20);
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
