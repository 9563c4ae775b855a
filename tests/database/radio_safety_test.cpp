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
    ClientDatabase kept(false);
    ASSERT_EQ(kept.load(second), 1);
    EXPECT_EQ(*kept.client(0), client);
    // A long database name is cut whole characters at a time, inside a file name's limit.
    std::string longName;
    for (int i = 0; i < 200; ++i) longName += "\xC3\xA9";
    const auto cut = keepBackupIn(folder, BackupKind::Radio, "/x/" + longName + ".tdb", client, 0);
    ASSERT_TRUE(cut.ok()) << cut.failure;
    const std::string cutName = cut.file.filename().string();
    EXPECT_LE(cutName.size(), 255u);
    std::string forty(1, '_');  // grown in place: GCC 12 at -O3 warns on "_" + string
    forty.append(longName, 0, 80).push_back('_');
    EXPECT_NE(cutName.find(forty), std::string::npos);
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

    // A folder that cannot be made, or none: failure as a text (its words: tarn-cli's read).
    test::writeFile(dir.file("file"), {1});
    EXPECT_FALSE(keepBackupIn(dir.path() / "file/backups", BackupKind::Radio, "a", client, 0).ok());
    EXPECT_NE(keepBackupIn({}, BackupKind::Radio, "a.tdb", client, kNow).failure.find("unknown"),
              std::string::npos);
    EXPECT_TRUE(ui.empty());
}

}  // namespace
}  // namespace tarn
