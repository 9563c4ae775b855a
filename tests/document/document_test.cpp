// The database document: its undo history, which changes it keeps, where it may be saved
// or exported; and the radio workflow both programs run on it.
#include <gtest/gtest.h>

#include "database/output_guard.h"
#include "document/csv_import_plan.h"
#include "document/database_document.h"
#include "document/radio_workflow.h"
#include "model/channel_slot.h"
#include "model/message_texts.h"
#include "radio/radio_harness.h"
#include "radio/radio_log.h"
#include "sim/fake_radio_device.h"
#include "support/recording_ui.h"
#include "support/temp_dir.h"

namespace tarn {
namespace {

namespace fs = std::filesystem;
using Save = DatabaseDocument::SaveResult;

DatabaseChange someChange() {
    DatabaseChange change;
    change.dealerAfter[0] = 'x';
    return change;
}

TEST(UndoHistory, StepsNamesCleanPointAndLimit) {
    UndoHistory history(3);
    EXPECT_TRUE(history.isClean());
    EXPECT_EQ(history.undo(), nullptr);
    for (const char* name : {"a", "b", "c"}) history.push(name, someChange());
    EXPECT_FALSE(history.isClean());
    EXPECT_EQ(history.undoName(), "c");
    ASSERT_NE(history.undo(), nullptr);
    EXPECT_EQ(history.redoName(), "c");
    history.setClean();               // saved with "c" undone
    history.push("d", someChange());  // "c" can no longer be redone
    EXPECT_FALSE(history.canRedo());
    EXPECT_EQ(history.count(), 3u);
    history.undo();
    EXPECT_TRUE(history.isClean());
    history.redo();
    history.push("e", someChange());  // "a" falls out beyond the limit
    EXPECT_EQ(history.count(), 3u);
    while (history.undo()) {
    }
    EXPECT_EQ(history.redoName(), "b");
    EXPECT_FALSE(history.isClean());
    history.redo();
    EXPECT_TRUE(history.isClean()) << "the saved state is still one step in";
    history.push("f", someChange());
    history.push("g", someChange());
    history.push("h", someChange());
    history.push("i", someChange());  // the saved state fell out with "f"
    while (history.undo()) EXPECT_FALSE(history.isClean());
}

struct Documents : ::testing::Test {
    test::RecordingUi ui;
    test::TempDir dir;
    fs::path file(const std::string& name) const { return dir.path() / name; }
    std::vector<std::uint8_t> bytes(const std::string& name) const {
        return test::readFile(file(name).string());
    }
};

TEST_F(Documents, KeepStepsOnlyForRealChangesAndComeBackUnmodified) {
    DatabaseDocument document;
    ASSERT_EQ(document.saveAs(file("fleet.tdb")), Save::Saved);
    EXPECT_FALSE(document.isModified());
    // A change that changes nothing: no step, no mark.
    EXPECT_EQ(document.change([](ClientDatabase&) { return 1; }, "nothing"), 1);
    EXPECT_FALSE(document.isModified());
    EXPECT_FALSE(document.history().canUndo());
    int added = -1;
    document.change([&](ClientDatabase& db) { return added = db.addClient(); },
                    [&] { return "New client " + std::to_string(added); });
    EXPECT_TRUE(document.isModified());
    EXPECT_EQ(document.history().undoName(), "New client 1");
    ASSERT_TRUE(document.undo());
    EXPECT_FALSE(document.isModified()) << "back at the saved state";
    EXPECT_EQ(document.database().clientCount(), 1);
    ASSERT_TRUE(document.redo());
    EXPECT_TRUE(document.isModified());
    EXPECT_EQ(document.database().clientCount(), 2);
    const auto add = [](ClientDatabase& db) { return db.addClient(); };
    for (int step = 0; step < 105; ++step) document.change(add, "Add");
    EXPECT_EQ(document.history().count(), 100u) << "the last 100 steps are kept";
    // Never saved, an untitled database has no state to come back to unmodified.
    DatabaseDocument untitled;
    untitled.change(add, "Add");
    ASSERT_TRUE(untitled.undo());
    EXPECT_TRUE(untitled.isModified());
}

// All or nothing: unreadable lines or too little room import nothing unless the user chose
// so; the file's dealer text replaces one of the database's own only on Yes; one undo step.
TEST(ImportPlan, AllOrNothingUnlessChosenAndOneStep) {
    DatabaseDocument document;
    ClientDatabase& db = document.database();
    db.deleteClient(0);
    CsvImport read;
    read.dealerText = "Harbour Radio";
    read.clients.resize(3);
    read.readable = 3;
    read.errorCount = 1;
    EXPECT_EQ(planImport(db, read, false).refusal, msg::kImportUnreadable);
    EXPECT_EQ(planImport(db, read, false).count, 0);
    EXPECT_EQ(planImport(db, read, true).count, 3);
    read.readable = 0;
    EXPECT_EQ(planImport(db, read, true).refusal, msg::kImportNothingReadable);
    read.errorCount = 0;
    EXPECT_EQ(planImport(db, read, true).refusal, msg::kImportNoClients);

    read.readable = 3;
    ImportPlan plan = planImport(db, read, false);
    EXPECT_TRUE(plan.dealerText && plan.dealerTextQuestion.empty()) << "no text of its own";
    std::copy_n("Harbour Radio", 14, db.dealerText().begin());
    EXPECT_FALSE(planImport(db, read, false).dealerText) << "the same text";
    std::copy_n("Own text", 9, db.dealerText().begin());
    plan = planImport(db, read, false);
    EXPECT_TRUE(plan.refusal.empty() && plan.tooMany.empty());
    EXPECT_EQ(plan.dealerTextQuestion,
              "The database's dealer text is \"Own text\".\n\nReplace it with the file's first "
              "line, \"Harbour Radio\"?");
    plan.dealerText = true;  // Yes
    const CsvImportSummary summary = importPlanned(document, read, plan);
    EXPECT_EQ(summary.clients, 3);
    EXPECT_EQ(db.dealerString(), "Harbour Radio");
    EXPECT_EQ(document.history().undoName(), "Import 3 clients");
    ASSERT_TRUE(document.undo());
    EXPECT_EQ(db.clientCount(), 0);
    EXPECT_EQ(db.dealerString(), "Own text");

    while (db.clientCount() < kMaxClients - 1) db.addClient();
    plan = planImport(db, read, false);
    EXPECT_EQ(plan.count, 1);
    EXPECT_EQ(plan.tooMany,
              "The file holds 3 clients; the database has room for 1 more (it holds at most "
              "1000).");
    EXPECT_FALSE(plan.dealerText) << "only into a database without clients";
    db.addClient();
    EXPECT_EQ(planImport(db, read, true).refusal,
              "The database already holds 1000 clients. Nothing was imported.");
}

TEST_F(Documents, SaveAsForcesTheExtensionAsksForAMadeNameAndKeepsTheNameOnFailure) {
    DatabaseDocument document;
    EXPECT_EQ(document.save(), Save::NeedsName);
    test::writeFile(file("fleet.tdb").string(), {'o', 'l', 'd'});
    ui.script({MessageAnswer::No});
    EXPECT_EQ(document.saveAs(file("fleet.old")), Save::Retry);
    EXPECT_EQ(bytes("fleet.tdb"), (std::vector<std::uint8_t>{'o', 'l', 'd'}));
    EXPECT_TRUE(document.untitled());
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_TRUE(ui.messages()[0].defaultNo);
    ui.script({MessageAnswer::Yes});
    EXPECT_EQ(document.saveAs(file("fleet.old")), Save::Saved);
    EXPECT_EQ(document.fileName(), file("fleet.tdb"));
    // A save that fails leaves the name as it was.
    EXPECT_EQ(document.saveAs(dir.path() / "missing" / "x.tdb"), Save::Failed);
    EXPECT_EQ(document.fileName(), file("fleet.tdb"));
    EXPECT_EQ(document.saveAs(file("fleet.tdb")), Save::Saved) << "its own file is fine";
}

TEST_F(Documents, NoOutputReplacesADatabaseOpenInTheProgram) {
    DatabaseDocument open, other;
    ASSERT_EQ(open.saveAs(file("open.tdb")), Save::Saved);
    const auto original = bytes("open.tdb");
    fs::create_hard_link(file("open.tdb"), file("alias.tdb"));
    ui.clear();
    // The desktop once replaced an open database with CSV when asked to export over it.
    for (const char* name : {"open.tdb", "alias.tdb"}) {
        EXPECT_EQ(other.exportTo(file(name)).result, Save::Retry) << name;
        EXPECT_EQ(other.saveAs(file(name)), Save::Retry) << name;
    }
    EXPECT_EQ(bytes("open.tdb"), original);
    EXPECT_EQ(ui.texts().size(), 4u);
    EXPECT_NE(ui.texts()[0].find("is a database file open in this program"), std::string::npos);
    EXPECT_TRUE(pathFits(file("x"), MessageOwner::none()));
    EXPECT_FALSE(pathFits(fs::path(std::string(260, 'a')), MessageOwner::none()));

    const auto exported = other.exportTo(file("report"));
    EXPECT_EQ(exported.result, Save::Saved);
    EXPECT_EQ(exported.file, file("report.csv"));
    EXPECT_EQ(exported.clients, 1);
    {
        DatabaseDocument closing;
        ASSERT_EQ(closing.saveAs(file("closing.tdb")), Save::Saved);
    }
    EXPECT_FALSE(OpenDatabases::contains(file("closing.tdb"))) << "a closed document lets go";
}

TEST_F(Documents, OneEditsADatabaseTheOthersOpenItReadOnlyOrNotAtAll) {
    using Locking = DatabaseDocument::Locking;
    {
        DatabaseDocument maker;
        ASSERT_EQ(maker.saveAs(file("shop.tdb")), Save::Saved);
    }
    DatabaseDocument editor, reader, declined, viewer;
    for (DatabaseDocument* document : {&editor, &reader, &declined})
        document->setLocking(Locking::AskReadOnly);
    ASSERT_TRUE(editor.open(file("shop.tdb")));
    EXPECT_TRUE(ui.empty());
    EXPECT_TRUE(viewer.open(file("shop.tdb"))) << "a document that only reads needs no lock";

    ui.script({MessageAnswer::Yes, MessageAnswer::No});
    ASSERT_TRUE(reader.open(file("shop.tdb")));
    EXPECT_FALSE(declined.open(file("shop.tdb")));
    EXPECT_TRUE(declined.untitled());
    ASSERT_EQ(ui.texts().size(), 2u);
    EXPECT_TRUE(ui.texts()[0].starts_with("The database '" + file("shop.tdb").string() +
                                          "' is being edited by "))
        << ui.texts()[0];
    EXPECT_NE(ui.texts()[0].find("Do you want to open it read-only?"), std::string::npos);

    // Read-only: Save asks for another name and never replaces the file.
    const auto original = bytes("shop.tdb");
    reader.database().addClient();
    EXPECT_TRUE(reader.readOnly());
    EXPECT_EQ(reader.save(), Save::NeedsName);
    EXPECT_EQ(reader.saveAs(file("shop.tdb")), Save::Retry);
    EXPECT_EQ(bytes("shop.tdb"), original);
    ASSERT_EQ(reader.saveAs(file("copy.tdb")), Save::Saved);
    EXPECT_FALSE(reader.readOnly()) << "saved elsewhere, it edits its new file";
    EXPECT_TRUE(fs::exists(file(".copy.tdb.lock")));
    editor.database().addClient();
    EXPECT_EQ(editor.save(), Save::Saved) << "the editor's own lock lets its saves through";
}

// The radio workflow on the fake radio: the same steps in both programs.
struct Workflow : Documents {
    std::shared_ptr<RadioMonitor> radio = std::make_shared<RadioMonitor>();
    std::shared_ptr<VirtualClock> clock = std::make_shared<VirtualClock>(0);
    ScopedServices line;
    DatabaseDocument document;
    RadioLog log;
    RadioSetup setup;

    Workflow() {
        line->serialConnection = fakeRadioFactory(radio, clock);
        setup.owner = test::RecordingUi::kOwner;
        setup.log = &log;
        setup.backupFolder = dir.path() / "backups";
        setup.now = [] { return std::time_t(1796639525); };
        radio->memory() = document.database().client(0)->image();
    }
    std::vector<std::string> backupKinds(const RadioReport& report) const {
        std::vector<std::string> kinds;
        for (const auto& f : report.backups) {
            const std::string name = f.stem().string();
            kinds.push_back(name.substr(name.rfind('_') + 1));
        }
        return kinds;
    }
};

TEST_F(Workflow, ReadKeepsTheRadioAsItCameRepairsAndIsOneStep) {
    // Ten scan channels and a damaged slot: the backup keeps them, the client gets the
    // channel check's repair.
    RadioImage memory = radio->memory();
    for (int n = 10; n < 20; ++n) {
        std::uint8_t* s = slotBytes(memory, n);
        s[slot::Flags] = ChannelFlag::Scan;
        setSlotRx(s, 40000);
        s[slot::Number] = static_cast<std::uint8_t>(n);
    }
    slotBytes(memory, 30)[slot::Spare] = 0x42;  // free, yet not empty
    radio->memory() = memory;
    ui.script({MessageAnswer::Ok});
    const RadioReport report = readRadio(document, 0, setup);
    EXPECT_EQ(report.exitCode(), 0);
    EXPECT_TRUE(report.changed);
    EXPECT_EQ(backupKinds(report), (std::vector<std::string>{"radio", "before-read"}));
    EXPECT_EQ(test::readFile(report.backups[0].string()).size(), 10389u);
    const auto raw = test::readFile(report.backups[0].string());
    EXPECT_TRUE(std::equal(memory.begin(), memory.end(), raw.end() - 6 - kImageSize))
        << "the radio's memory exactly as it arrived";
    EXPECT_EQ(report.repaired, 11);
    EXPECT_EQ(report.text,
              "Read the radio into 'New Client' (2048 bytes, 11 channels repaired) at " +
                  report.text.substr(report.text.size() - 5));
    EXPECT_EQ(document.history().undoName(), "Read radio into 'New Client'");
    EXPECT_EQ(ui.entries("message"),
              (std::vector<std::string>{
                  test::kConnectPromptEntry,
                  "message error !owner: 1 channels appear to be corrupted and have "
                  "been deleted",
                  "message error !owner: There were 10 scan channels, this is more "
                  "than the limit of 8.\nAll scan channels have been deselected"}));

    // The same radio again: nothing changes, nothing is marked, no step, no second backup
    // of the client.
    ASSERT_EQ(document.saveAs(file("fleet.tdb")), Save::Saved);
    ui.script({MessageAnswer::Ok});
    const RadioReport again = readRadio(document, 0, setup);
    EXPECT_FALSE(again.changed);
    EXPECT_FALSE(document.isModified());
    EXPECT_EQ(backupKinds(again), (std::vector<std::string>{"radio"}));
    EXPECT_NE(again.text.find("no change"), std::string::npos);
}

TEST_F(Workflow, CompareShowsWhatTheRadioHoldsAndChangesNothing) {
    slotBytes(radio->memory(), 3)[slot::Spare] = 0x5A;
    slotBytes(radio->memory(), 9)[0] = 0x08;  // damaged: no frequency
    radio->memory()[2] = 0x78;                // a reserved header byte
    const RadioImage before = document.database().client(0)->image();
    ui.script({MessageAnswer::Ok});
    const RadioReport report = compareRadio(document, 0, setup);
    EXPECT_EQ(report.exitCode(), 4);
    ASSERT_TRUE(report.comparison);
    EXPECT_EQ(report.comparison->lines(),
              (std::vector<std::string>{
                  "Reserved header bytes 1-4: 00 77 FF FF -> 00 78 FF FF",
                  "Channel 3 changed: Spare byte 00 -> 5A",
                  "Channel 9 damaged: Bytes 00 00 00 00 00 00 00 00 -> 08 00 00 00 00 00 00 00"}));
    EXPECT_EQ(ui.entries("message"), (std::vector<std::string>{test::kConnectPromptEntry}))
        << "a compare deletes nothing and says nothing of deleting";
    EXPECT_EQ(document.database().client(0)->image(), before);
    EXPECT_FALSE(document.history().canUndo());
    EXPECT_EQ(backupKinds(report), (std::vector<std::string>{"radio"}));
    EXPECT_EQ(report.text.substr(0, 52), "Compared 'New Client' with the radio: 3 differences ");
    EXPECT_EQ(log.exchanges().back().what, "Compare");

    ui.script({MessageAnswer::Cancel});
    const RadioReport cancelled = compareRadio(document, 0, setup);
    EXPECT_EQ(cancelled.text, "Compare cancelled");
    EXPECT_EQ(cancelled.exitCode(), 1);
}

TEST_F(Workflow, WriteKeepsWhatTheRadioHeldAndStopsWhenItCannot) {
    radio->memory()[0x100] = 0x77;  // what the customer's radio held
    const RadioImage held = radio->memory();
    ui.script({MessageAnswer::Ok});
    const RadioReport report = programRadio(document, 0, setup);
    EXPECT_EQ(report.exitCode(), 0);
    EXPECT_EQ(backupKinds(report), (std::vector<std::string>{"before-write", "verified"}));
    const auto raw = test::readFile(report.backups[0].string());
    EXPECT_TRUE(std::equal(held.begin(), held.end(), raw.end() - 6 - kImageSize));
    EXPECT_EQ(radio->memory(), document.database().client(0)->image());
    EXPECT_FALSE(report.alreadyHeld);
    EXPECT_NE(report.text.find("what it held before is kept"), std::string::npos);
    EXPECT_EQ(ui.entries("caption").front(), "caption Reading radio before programming");
    EXPECT_EQ(ui.entries("message").size(), 1u) << "one prompt for the whole command";

    ui.script({MessageAnswer::Ok});
    EXPECT_TRUE(programRadio(document, 0, setup).alreadyHeld);

    // A radio whose memory cannot be read first is not programmed.
    radio->memory() = held;
    RadioFaults silent;
    silent.silentDump = true;
    auto mute = std::make_shared<RadioMonitor>(silent);
    mute->memory() = held;
    line->serialConnection = fakeRadioFactory(mute, clock);
    ui.script({MessageAnswer::Ok});
    const RadioReport stopped = programRadio(document, 0, setup);
    EXPECT_EQ(stopped.exitCode(), 1);
    EXPECT_EQ(mute->memory(), held);
    EXPECT_EQ(stopped.text,
              "Write stopped: what the radio holds could not be read first (the radio sent no "
              "data)");
    setup.backupBeforeWrite = false;
    ui.script({MessageAnswer::Ok});
    const RadioReport unkept = programRadio(document, 0, setup);
    EXPECT_TRUE(backupKinds(unkept).empty() || backupKinds(unkept)[0] != "before-write");
}

}  // namespace
}  // namespace tarn
