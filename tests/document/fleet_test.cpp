// Fleets: a radio recognised by what it holds, radios programmed in a row, and the backups
// that make up a radio's history.
#include <gtest/gtest.h>

#include "database/backup_history.h"
#include "document/client_history.h"
#include "document/database_document.h"
#include "document/radio_identify.h"
#include "document/radio_queue.h"
#include "model/channel_slot.h"
#include "radio/radio_harness.h"
#include "sim/fake_radio_device.h"
#include "support/recording_ui.h"
#include "support/temp_dir.h"

namespace tarn {
namespace {

namespace fs = std::filesystem;
using Result = RadioQueue::Result;

struct Fleet : ::testing::Test {
    test::RecordingUi ui;
    test::TempDir dir;
    std::shared_ptr<VirtualClock> clock = std::make_shared<VirtualClock>(0);
    ScopedServices line;
    DatabaseDocument document;
    RadioSetup setup;
    std::time_t now = 1796639525;

    Fleet() {
        setup.owner = test::RecordingUi::kOwner;
        setup.backupFolder = dir.path() / "backups";
        setup.now = [this] { return now++; };
        // Boats 1-4 after the demonstration client, each its own selcall and channel 7.
        for (int n = 1; n <= 4; ++n) addBoat(document, n);
    }
    static int addBoat(DatabaseDocument& doc, int n) {
        ClientDatabase& db = doc.database();
        db.addClient();
        const int index = db.clientCount() - 1;
        *db.client(index) = *db.client(0);
        ClientRecord& boat = *db.client(index);
        boat.setName(("Boat " + std::to_string(n)).c_str());
        boat.setSerial(("SN" + std::to_string(n)).c_str());
        boat.setSelcall(("400" + std::to_string(n)).c_str());
        boat.setFrequency(7, 0, 40000u + unsigned(n));
        return index;
    }
    std::shared_ptr<RadioMonitor> connect(const RadioImage& memory, RadioFaults faults = {}) {
        auto radio = std::make_shared<RadioMonitor>(std::move(faults));
        radio->memory() = memory;
        line->serialConnection = fakeRadioFactory(radio, clock);
        return radio;
    }
    const RadioImage& image(int index) { return document.database().client(index)->image(); }
};

TEST_F(Fleet, IdentifyNamesTheExactClientElseTheClosestBySelcallThenChannels) {
    DatabaseDocument other;
    other.database().deleteClient(0);
    const int twin = addBoat(other, 3);  // Boat 3's channels under another selcall
    other.database().client(twin)->setSelcall("9999");
    const std::vector<DatabaseDocument*> open{&document, &other};

    connect(image(3));
    const IdentifyReport exact = identifyRadio(open, setup);
    ASSERT_FALSE(exact.matches.empty());
    EXPECT_TRUE(exact.matches[0].exact);
    EXPECT_EQ(exact.matches[0].client, 3);
    EXPECT_EQ(exact.text, "The radio holds exactly 'Boat 3' (serial SN3) of <NoName>");
    ASSERT_EQ(exact.radio.backups.size(), 1u);
    EXPECT_NE(exact.radio.backups[0].filename().string().find("_Boat 3_SN3_radio"),
              std::string::npos);

    // Boat 3's radio with two channels changed: its own selcall outranks the twin that
    // holds the same channels under another selcall.
    RadioImage changed = image(3);
    slotBytes(changed, 7)[1] ^= 1;
    slotBytes(changed, 40)[1] ^= 1;
    connect(changed);
    const IdentifyReport close = identifyRadio(open, setup);
    ASSERT_GE(close.matches.size(), 2u);
    EXPECT_FALSE(close.matches[0].exact);
    EXPECT_EQ(close.matches[0].document, &document);
    EXPECT_EQ(close.matches[0].client, 3);
    EXPECT_EQ(close.matches[0].channelsDiffering, 2);
    EXPECT_EQ(close.text,
              "The radio is closest to 'Boat 3' (serial SN3) of <NoName>: same selcall, 2 "
              "channels differ");
    EXPECT_NE(close.radio.backups[0].filename().string().find("unidentified_selcall 4003"),
              std::string::npos);
    EXPECT_EQ(matchImage(open, changed, 1).size(), 1u);

    DatabaseDocument empty;
    empty.database().deleteClient(0);
    const IdentifyReport none = identifyRadio({&empty}, setup);
    EXPECT_TRUE(none.matches.empty());
    EXPECT_EQ(none.text, "No open database holds a client to match.");
}

TEST_F(Fleet, QueueProgramsEachRadioLeavesAnIdenticalOneAndStopsOnAFailedVerify) {
    RadioQueue queue(document, {1, 2, 3, 4});
    EXPECT_EQ(queue.connectText(), "Connect the radio for 'Boat 1' (serial SN1)");
    auto first = connect(image(0));
    EXPECT_TRUE(queue.programCurrent(setup).succeeded());
    EXPECT_EQ(first->memory(), image(1));

    auto second = connect(image(2));  // holds its client already
    queue.programCurrent(setup);
    EXPECT_EQ(second->loadsCompleted(), 0) << "an identical radio is not programmed again";
    EXPECT_EQ(queue.rows()[1].result, Result::AlreadyHeld);

    // The third radio stores one byte halfway through its memory wrongly.
    RadioFaults faulty;
    faulty.corruptAddress = RadioMonitor::kBase + 0x400;
    auto third = connect(image(0), faulty);
    EXPECT_FALSE(queue.programCurrent(setup).succeeded());
    EXPECT_EQ(queue.current(), 2) << "a failed radio stays current for Retry or Skip";
    EXPECT_EQ(queue.rows()[2].result, Result::Failed);
    EXPECT_FALSE(queue.rows()[2].reason.empty());
    EXPECT_EQ(queue.rows()[2].bytes, 2048);
    const auto kept = queue.lastReport().backups;
    ASSERT_EQ(kept.size(), 2u);  // what it held, and what it gave back
    EXPECT_NE(kept[0].string().find("before-write"), std::string::npos);
    queue.skip();
    EXPECT_EQ(queue.rows()[2].result, Result::Failed) << "skipping keeps the failure";

    queue.stop();
    EXPECT_TRUE(queue.finished());
    EXPECT_EQ(queue.rows()[3].result, Result::NotReached);
    EXPECT_FALSE(queue.allVerified());
    EXPECT_EQ(queueSummary(queue.rows()), "2 of 4 radios verified");
    const std::string csv = queueReportCsv(queue.rows());
    EXPECT_EQ(csv.substr(0, csv.find("\r\n")), "Client,Serial,Selcall,Result,Reason,Time,Bytes");
    EXPECT_NE(csv.find("Boat 2,SN2,4002,already held,,"), std::string::npos);
    EXPECT_NE(csv.find("Boat 4,SN4,4004,not programmed,,,0"), std::string::npos);

    // Retry: the same row again on a sound radio verifies it.
    RadioQueue again(document, {3});
    connect(image(0), faulty);
    again.programCurrent(setup);
    connect(image(0));
    again.programCurrent(setup);
    EXPECT_TRUE(again.allVerified());
    EXPECT_TRUE(again.finished());
}

TEST_F(Fleet, HistoryFindsAClientByNameAndByTheImagesItHeldNewestFirst) {
    const fs::path folder = setup.backupFolder;
    ClientRecord boat = *document.database().client(1);
    ClientRecord unknown;  // its radio read before anyone knew whose it was
    unknown.image() = boat.image();
    unknown.setName("selcall 4001");
    ClientRecord stranger = *document.database().client(2);
    ClientRecord factory = boat;  // a new radio's memory, before the boat was written into it
    factory.image() = document.database().client(0)->image();
    keepBackupIn(folder, BackupKind::BeforeWrite, "fleet.tdb", factory, now);
    ClientRecord otherNew = stranger;
    otherNew.image() = factory.image();
    keepBackupIn(folder, BackupKind::BeforeWrite, "fleet.tdb", otherNew, now + 30);
    keepBackupIn(folder, BackupKind::Radio, "unidentified", unknown, now + 60);
    keepBackupIn(folder, BackupKind::Radio, "fleet.tdb", stranger, now + 120);
    ClientRecord older = boat;  // the boat's radio as it was last year
    older.setFrequency(9, 0, 55000);
    keepBackupIn(folder, BackupKind::Verified, "fleet.tdb", older, now - 86400 * 300);

    // Names read back: the kind after the last '_', a number for the same second.
    const auto name = [](const char* text) { return parseBackupName(text); };
    const auto second = name("2026-12-07_103205_fleet_Coral_Boat_12_before-write-2.tdb");
    ASSERT_TRUE(second);
    EXPECT_EQ(second->kind, BackupKind::BeforeWrite);
    EXPECT_EQ(second->date - name("2026-12-07_093200_a_b_c_radio.tdb")->date, 3605);
    for (const char* other :
         {"2026-12-07_103205_mine.tdb", "2026-12-07_103205_a_radio.txt",
          "2026-1x-07_103205_a_b_c_radio.tdb", "2026-12-07_103205_a_b_radio-.tdb",
          "2026-12-07_103205_a_b_c_radios.tdb"})
        EXPECT_FALSE(name(other)) << other;

    auto history = historyOf(document, 1, folder);
    ASSERT_EQ(history.size(), 3u);
    EXPECT_EQ(history[0].name, "selcall 4001");
    EXPECT_EQ(history[1].kind, BackupKind::BeforeWrite);
    EXPECT_EQ(history[2].kind, BackupKind::Verified);
    EXPECT_EQ(historyKindText(history[0].kind), std::string("read"));

    // The index is a cache: rebuilt when lost, kept up as backups come and go.
    ASSERT_TRUE(fs::exists(folder / kBackupIndexName));
    fs::remove(history[2].file);
    keepBackupIn(folder, BackupKind::Radio, "fleet.tdb", boat, now + 180);
    EXPECT_EQ(historyOf(document, 1, folder).size(), 3u);
    fs::remove(folder / kBackupIndexName);
    EXPECT_EQ(historyOf(document, 1, folder).size(), 3u);
    EXPECT_EQ(listBackups(folder).size(), 5u);

    // Restore the boat as it was; compare first.
    const fs::path last = history[2].file;
    keepBackupIn(folder, BackupKind::Verified, "fleet.tdb", older, now + 240);
    history = historyOf(document, 1, folder);
    const auto comparison = compareWithBackup(document, 1, history[0].file);
    ASSERT_TRUE(comparison);
    ASSERT_EQ(comparison->channels.size(), 1u);
    EXPECT_EQ(comparison->channels[0].channel, 9);
    EXPECT_TRUE(restoreBackup(document, 1, history[0].file));
    EXPECT_EQ(document.database().client(1)->getFrequency(9, 0), 55000u);
    EXPECT_EQ(document.history().undoName(), "Restore 'Boat 1' from a backup");
    document.undo();
    EXPECT_EQ(*document.database().client(1), boat);
    EXPECT_FALSE(restoreBackup(document, 1, last)) << "a removed backup restores nothing";
}

}  // namespace
}  // namespace tarn
