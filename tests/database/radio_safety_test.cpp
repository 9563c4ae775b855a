// What guards a radio's memory: the comparison of a client with a radio image, and
// backups of radio images.
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <functional>

#include "database/client_compare.h"
#include "database/client_database.h"
#include "database/radio_backups.h"
#include "support/recording_ui.h"
#include "support/temp_dir.h"

namespace tarn {
namespace {

TEST(CompareWithImage, NamesEveryDifferenceInWordsAndOnlyEqualImagesAreIdentical) {
    const ClientDatabase demo(true);  // channels 1..7, 3740.0 kHz first
    ClientRecord client = *demo.client(0);
    client.setLabel(2, "Harbour");
    const std::pair<std::function<void(ClientRecord&)>, std::vector<std::string>> cases[] = {
        {[](ClientRecord& r) { r.setName("Other"); }, {"The radio holds exactly this client."}},
        {[](ClientRecord& r) {
             r.setOption(ClientOption::PowerLevel, PowerLevel::Low);
             r.setOption(ClientOption::Advanced, 0);
             r.setSelcall("4321");
             r.image()[2] = 0x78;  // reserved, beside the named fields
             r.image()[7] = 0x00;
         },
         {"Type: Advanced -> Standard", "Power level: High -> Low", "Selcall: 1234 -> 4321",
          "Reserved header bytes 1-4: 00 77 FF FF -> 00 78 FF FF",
          "Reserved header byte 7: FF -> 00"}},
        {[](ClientRecord& r) { r.image()[5] = 0x9A; },  // digits above 9 show as 9
         {"Selcall: 1234 -> 9934"}},
        {[](ClientRecord& r) {
             r.setFrequency(2, 0, 50600);
             r.setChannelFlag(2, ChannelFlag::Usb, 0);
             r.setChannelFlag(2, ChannelFlag::Scan, 1);
         },
         {"Channel 2 'Harbour' changed: RX 5058.0 kHz -> 5060.0 kHz, Mode USB -> LSB, "
          "Scan no -> yes"}},
        {[](ClientRecord& r) {
             r.deleteChannel(3);
             r.image()[8 * 20] = ChannelFlag::Alarm;
             r.setFrequency(20, 0, 20000);
             r.setFrequency(20, 1, 20001);
             r.image()[8 * 9] = ChannelFlag::Usb;  // no frequency: not a channel
         },
         {"Channel 3 removed: RX 9326.0 kHz, TX 9326.0 kHz, Mode USB, Scan no, SelCall no, "
          "Alarm no, TX=RX yes",
          "Channel 9 damaged: Bytes 00 00 00 00 00 00 00 00 -> 08 00 00 00 00 00 00 00",
          "Channel 20 added: RX 2000.0 kHz, TX 2000.1 kHz, Mode LSB, Scan no, SelCall no, "
          "Alarm yes, TX=RX no"}},
        {[](ClientRecord& r) {  // bytes no field shows
             r.image()[8 + 7] = 0x5A;
             r.image()[8 + 6] = 9;
             r.image()[8] |= 0x40;
         },
         {"Channel 1 changed: Unused flag bits 00 -> 40, Stored number 1 -> 9, Spare byte 00 -> "
          "5A"}},
    };
    for (const auto& [edit, lines] : cases) {
        ClientRecord radio = client;
        edit(radio);
        const ImageComparison comparison = compareWithImage(client, radio.image());
        EXPECT_EQ(comparison.lines(), lines);
        EXPECT_EQ(comparison.identical(), client.image() == radio.image()) << lines[0];
    }
    // A radio with too many scan channels says so; the whole text names the client.
    ClientRecord radio = client;
    for (int n = 1; n <= 7; ++n) radio.setChannelFlag(n, ChannelFlag::Scan, 1);
    for (int n = 8; n <= 9; ++n) {
        radio.image()[8 * n] = ChannelFlag::Scan;
        radio.setFrequency(n, 0, 30000);
    }
    const ImageComparison many = compareWithImage(client, radio.image());
    EXPECT_EQ(many.lines().back(), "The radio has 9 scan channels, more than the limit of 8.");
    EXPECT_EQ(comparisonText(many, "Coral", "77").substr(0, 78),
              "Compare with radio: 'Coral' (serial 77)\nDifferences (client -> radio):\nChannel");
}

// Backups of radio images: names a person can read, files the program opens, a private
// folder, pruning by the date in the name, and failure as data rather than a message.
namespace fs = std::filesystem;

constexpr std::time_t kNow = 1796639525;  // 2026-12-07 10:32:05 UTC
constexpr std::time_t kDay = 86400;

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

    const std::string name = "2026-12-07_103205_fleet_A_B_C_\xC3\xA9t\xC3\xA9_SN 7_before-read";
    fs::path second;
    for (const char* suffix : {".tdb", "-2.tdb"}) {
        const auto kept =
            keepBackupIn(folder, BackupKind::BeforeRead, "/x/fleet.tdb", client, kNow);
        ASSERT_TRUE(kept.ok()) << kept.failure;
        const auto u8 = (second = kept.file).filename().u8string();
        EXPECT_EQ(std::string(u8.begin(), u8.end()), name + suffix);
    }
    EXPECT_EQ(fs::status(folder).permissions() & fs::perms::all, fs::perms::owner_all);
    EXPECT_EQ(fs::status(second).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
    ClientDatabase kept(false);
    ASSERT_EQ(kept.load(second), 1);
    EXPECT_EQ(*kept.client(0), client);
    // Names fit the file system's limit in bytes: parts of four-byte characters and
    // Latin-1 letters (two bytes each) are cut, the longest first, whole characters only.
    std::string longName;
    for (int i = 0; i < 200; ++i) longName += "\xF0\x9F\x9A\xA2";
    ClientRecord accented;
    accented.setName(std::string(31, '\xE9').c_str());
    accented.setSerial(std::string(15, '\xE9').c_str());
    const auto cut =
        keepBackupIn(folder, BackupKind::BeforeRead, "/x/" + longName + ".tdb", accented, 0);
    ASSERT_TRUE(cut.ok()) << cut.failure;
    const std::string cutName = cut.file.filename().string();
    EXPECT_EQ(cutName.size(), 255u - 3u) << "not one character more would fit";
    EXPECT_NE(cutName.find("_" + longName.substr(0, 31 * 4) + "_"), std::string::npos);
    fs::remove(cut.file);

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

    // A folder that cannot be made, or none, or one that other users can reach: failure as
    // a short text for the status line (its words: tarn-cli's read).
    test::writeFile(dir.file("file"), {1});
    const auto failure = [&](const fs::path& where, const char* database = "a.tdb") {
        const std::string text =
            keepBackupIn(where, BackupKind::Radio, database, client, 0).failure;
        EXPECT_LE(text.size(), 70u) << text;
        return text;
    };
    EXPECT_EQ(failure(dir.path() / "file/backups"),
              "Backup not kept: the backup folder cannot be made (Not a directory).");
    EXPECT_NE(failure({}).find("unknown"), std::string::npos);
    fs::permissions(folder, fs::perms::group_read | fs::perms::group_exec, fs::perm_options::add);
    EXPECT_EQ(failure(folder), "Backup not kept: other users can reach the backup folder.");
    EXPECT_EQ(pruneBackups(folder, 1, kNow + 100 * kDay), 0) << "nor is anything removed there";
    if (geteuid() == 0) {
        // A link to another user's open folder is not the user's backup folder.
        fs::create_directory(dir.path() / "theirs");
        fs::permissions(dir.path() / "theirs", fs::perms::all);
        ASSERT_EQ(chown((dir.path() / "theirs").c_str(), 65534, 65534), 0);
        fs::create_directory_symlink(dir.path() / "theirs", dir.path() / "data" / "linked");
        EXPECT_EQ(failure(dir.path() / "data" / "linked"),
                  "Backup not kept: other users can reach the backup folder.");
        EXPECT_TRUE(fs::is_empty(dir.path() / "theirs"));
    }
    EXPECT_TRUE(ui.empty());
}

}  // namespace
}  // namespace tarn
