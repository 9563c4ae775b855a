// Backups of radio images: names a person can read, files the program opens, a private
// folder, pruning by the date in the name, and failure as data rather than a message.
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

#include "database/client_database.h"
#include "database/radio_backups.h"
#include "support/recording_ui.h"
#include "support/temp_dir.h"

namespace tarn {
namespace {

namespace fs = std::filesystem;

constexpr std::time_t kNow = 1796639525;  // 2026-12-07 10:32:05 UTC
constexpr std::time_t kDay = 86400;

std::string u8name(const fs::path& path) {
    const auto text = path.filename().u8string();
    return {text.begin(), text.end()};
}

TEST(RadioBackups, AreNamedSafelyKeptPrivatelyPrunedByDateAndFailQuietly) {
    setenv("TZ", "UTC", 1);
    tzset();
    test::RecordingUi ui;
    test::TempDir dir;
    const fs::path folder = dir.path() / "data" / "backups";
    ClientRecord client;
    client.setName(
        "A/B\x01"
        "C:\xE9t\xE9");
    client.setSerial("SN 7");

    const BackupResult first =
        keepBackupIn(folder, BackupKind::BeforeRead, "/x/fleet.tdb", client, kNow);
    const BackupResult second =
        keepBackupIn(folder, BackupKind::BeforeRead, "/x/fleet.tdb", client, kNow);
    ASSERT_TRUE(first.ok() && second.ok()) << first.failure << second.failure;
    EXPECT_EQ(u8name(first.file),
              "2026-12-07_103205_fleet_A_B_C_\xC3\xA9t\xC3\xA9_SN 7_before-read.tdb");
    EXPECT_EQ(u8name(second.file),
              "2026-12-07_103205_fleet_A_B_C_\xC3\xA9t\xC3\xA9_SN 7_before-read-2.tdb");
    EXPECT_EQ(fs::status(folder).permissions() & fs::perms::all, fs::perms::owner_all);
    ClientDatabase kept(false);
    ASSERT_EQ(kept.load(second.file), 1);
    EXPECT_EQ(*kept.client(0), client);

    // A long name stays within the file system's limit of 255 bytes.
    client.setName(std::string(31, '\xE9').c_str());
    const auto longName =
        backupFileName(BackupKind::Verified, std::string(200, 'x') + ".tdb", client, kNow, 99);
    EXPECT_LE(u8name(longName).size(), 255u);

    // Pruning goes by the date in the name and leaves every other file alone.
    keepBackupIn(folder, BackupKind::Radio, "old.tdb", client, kNow - 31 * kDay);
    keepBackupIn(folder, BackupKind::Verified, "old.tdb", client, kNow - 29 * kDay);
    test::writeFile((folder / "2020-01-01_000000_mine.tdb").string(), {1});
    EXPECT_EQ(pruneBackups(folder, 0, kNow), 0) << "0 days keeps them forever";
    EXPECT_EQ(pruneBackups(folder, 30, kNow), 1);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 4);
    EXPECT_EQ(pruneBackups(folder, 1, kNow + kDay), 1) << "exactly a day old is kept";
    EXPECT_EQ(pruneBackups(folder, 1, kNow + kDay + 1), 2);
    EXPECT_TRUE(fs::exists(folder / "2020-01-01_000000_mine.tdb"));

    // A folder that cannot be made: failure as a text, nothing shown, nothing written.
    test::writeFile(dir.file("file"), {1});
    const BackupResult failed =
        keepBackupIn(dir.path() / "file" / "backups", BackupKind::Radio, "a.tdb", client, kNow);
    EXPECT_FALSE(failed.ok());
    EXPECT_EQ(failed.failure.rfind("Backup not kept: the folder '" + dir.file("file") +
                                       "/backups' cannot be created (",
                                   0),
              0u)
        << failed.failure;
    EXPECT_TRUE(
        keepBackupIn({}, BackupKind::Radio, "a.tdb", client, kNow).failure.find("unknown") !=
        std::string::npos);
    EXPECT_TRUE(ui.empty());
}

}  // namespace
}  // namespace tarn
