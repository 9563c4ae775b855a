// Undo and redo in a database window (each command, byte for byte; the clean point; the
// limit of 100 steps) and the frame's status bar after the radio commands.
#include <QRegularExpression>
#include <QUndoStack>

#include "model/client_record.h"
#include "shell/commands.h"
#include "shell/database_window.h"
#include "shell/frame_window.h"
#include "shell_fixture.h"
#include "sim/fake_radio_device.h"

using namespace tarn;
using namespace tarn::test;

namespace {

// The database as its file holds it: the dealer text field and every serialised client.
std::string contents(const ClientDatabase& db) {
    std::string bytes(db.dealerText().begin(), db.dealerText().end());
    std::vector<std::uint8_t> record(20000);
    for (int i = 0; i < db.clientCount(); ++i) {
        const int n = db.client(i)->serialize(record.data(), static_cast<int>(record.size()));
        bytes.append(reinterpret_cast<const char*>(record.data()), static_cast<std::size_t>(n));
    }
    return bytes;
}

// A frame with one window on a saved database of the clients A, B and C.
struct Scene {
    explicit Scene(ShellWorld& w) : world(w) {
        const std::string file = world.path("undo.tdb");
        writeDatabase(file, {"A", "B", "C"});
        window = frame.openDatabaseWindow(file, true);
        frame.resize(900, 600);
        frame.show();
        settle();
        world.feedback->clear();
    }
    void run(int id) {
        window->runCommand(id);
        settle();
    }
    void click(int row, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        clickRow(*window, row, modifiers);
    }
    QString item(int id) const { return frame.menuAction(id)->text(); }
    ClientDatabase& db() { return window->database(); }
    // A fake radio holding `memory` (with these faults) on the port.
    void radio(const ClientRecord& memory, RadioFaults faults = {}) {
        auto monitor = std::make_shared<RadioMonitor>(faults);
        memory.copyImage(monitor->memory().data(), kImageSize);
        world.services->serialConnection =
            fakeRadioFactory(monitor, std::make_shared<VirtualClock>());
    }

    ShellWorld& world;
    FrameWindow frame;
    DatabaseWindow* window = nullptr;
};

// A client of low power with channel 1, whose channel 3 slot is not a channel.
ClientRecord radioClient() {
    ClientRecord c;
    c.setOption(ClientOption::PowerLevel, PowerLevel::Low);
    c.addChannel();
    std::fill_n(c.image().begin() + 3 * kSlotSize, kSlotSize, 0xFF);
    return c;
}

}  // namespace

class UndoTest : public QObject {
    Q_OBJECT
  private slots:
    void everyCommandUndoesAndRedoesByteForByte();
    void cleanPointIsTheStateLoadedOrSaved();
    void historyKeepsTheLastHundredSteps();
    void statusBarReportsRadioCommandsAndSelection();
};

void UndoTest::everyCommandUndoesAndRedoesByteForByte() {
    struct Case {
        const char* step;
        std::vector<int> rows;  // clicked, the first alone and the others with Ctrl
        std::vector<int> commands;
    } cases[] = {
        {"New client 'E&ve'", {}, {cmd::NewClient}},
        {"Edit client 'E&ve'", {1}, {cmd::EditClient}},
        {"Delete client 'B'", {1}, {cmd::DeleteClient}},
        {"Delete 2 clients", {0, 2}, {cmd::DeleteClient}},
        {"Make standard", {2}, {cmd::MakeStandard}},
        {"Paste 2 clients", {0, 1}, {cmd::Copy, cmd::Paste}},
        {"Edit dealer text", {}, {cmd::EditDealer}},
        {"Read radio into 'B'", {1}, {cmd::ReadRadio}},
    };
    for (const Case& c : cases) {
        ShellWorld world;
        Scene scene(world);
        world.editName = "E&ve";
        world.services->editDealerText = [](std::array<char, 100>& text, WindowHandle) {
            std::snprintf(text.data(), text.size(), "Harbour Radio");
            return 1;
        };
        scene.radio(radioClient());
        for (std::size_t i = 0; i < c.rows.size(); ++i)
            scene.click(c.rows[i], i == 0 ? Qt::NoModifier : Qt::ControlModifier);
        const std::string before = contents(scene.db());
        for (int id : c.commands) scene.run(id);
        const std::string after = contents(scene.db());
        QVERIFY2(after != before, c.step);
        const QString step = QString(c.step).replace('&', "&&");
        QCOMPARE(scene.item(cmd::Undo), "&Undo " + step + "\tCtrl-Z");
        scene.run(cmd::Undo);
        QVERIFY2(contents(scene.db()) == before, c.step);
        QCOMPARE(columnTexts(*scene.window, 0).size(), scene.db().clientCount());
        QCOMPARE(scene.item(cmd::Redo), "&Redo " + step + "\tCtrl-Y");
        QCOMPARE(scene.item(cmd::Undo), QString("&Undo\tCtrl-Z"));
        scene.run(cmd::Redo);
        QVERIFY2(contents(scene.db()) == after, c.step);
    }
}

void UndoTest::cleanPointIsTheStateLoadedOrSaved() {
    ShellWorld world;
    Scene scene(world);
    scene.click(0);
    scene.run(cmd::MakeStandard);
    QVERIFY(scene.db().isModified());
    scene.run(cmd::Undo);
    QVERIFY(!scene.db().isModified());  // back at the file as loaded
    scene.run(cmd::Redo);
    QVERIFY(scene.db().isModified());
    scene.run(cmd::Save);
    QVERIFY(!scene.db().isModified());
    scene.run(cmd::Undo);
    QVERIFY(scene.db().isModified());  // away from what was saved
    scene.run(cmd::Redo);
    QVERIFY(!scene.db().isModified());

    // An untitled database was never saved: undoing its first step leaves it modified.
    DatabaseWindow* untitled = scene.frame.openDatabaseWindow(std::nullopt, false);
    settle();
    clickRow(*untitled, 0);
    untitled->runCommand(cmd::MakeStandard);
    untitled->runCommand(cmd::Undo);
    QVERIFY(untitled->database().isModified());
}

void UndoTest::historyKeepsTheLastHundredSteps() {
    ShellWorld world;
    Scene scene(world);
    for (int step = 1; step <= 105; ++step) {
        scene.click(0);
        scene.run(step % 2 ? cmd::MakeStandard : cmd::MakeAdvanced);
    }
    QCOMPARE(scene.window->undoStack()->count(), 100);
    for (int step = 0; step < 101; ++step) scene.run(cmd::Undo);
    // Back at the state after the fifth step (Make standard), not at the file.
    QCOMPARE(columnTexts(*scene.window, 1).front(), QString("Standard"));
    QVERIFY(scene.db().isModified());
}

void UndoTest::statusBarReportsRadioCommandsAndSelection() {
    ShellWorld world;
    Scene scene(world);
    const QString time = "at \\d\\d:\\d\\d$";
    scene.radio(radioClient());
    scene.click(1);
    scene.run(cmd::ReadRadio);
    QVERIFY2(scene.frame.statusText().contains(QRegularExpression(
                 "^Read the radio into 'B' \\(2048 bytes, 1 channel repaired\\) " + time)),
             qPrintable(scene.frame.statusText()));

    // No reply to the dump: no message box beyond the prompt, the status bar says why.
    scene.radio(radioClient(), RadioFaults{.silentDump = true});
    scene.click(1);
    world.feedback->clear();
    scene.run(cmd::ReadRadio);
    QCOMPARE(world.messageTexts().size(), std::size_t{1});
    QCOMPARE(scene.frame.statusText(), QString("Read failed: the radio sent no data"));

    ClientRecord written = radioClient();
    written.setName("Coral Charters");
    written.deleteChannel(3);
    *scene.db().client(2) = written;
    scene.radio(ClientRecord());
    scene.click(2);
    scene.run(cmd::WriteRadio);
    QVERIFY2(scene.frame.statusText().contains(
                 QRegularExpression("^Programmed and verified 'Coral Charters' " + time)),
             qPrintable(scene.frame.statusText()));
    scene.radio(ClientRecord(), RadioFaults{.corruptAddress = 0x1800 + 4 * kSlotSize});
    scene.click(2);
    scene.run(cmd::WriteRadio);
    QCOMPARE(scene.frame.statusText(), QString("Verify failed: 1 byte differs (channel 4)"));

    scene.click(0);
    scene.click(2, Qt::ControlModifier);
    QCOMPARE(scene.frame.selectionText(), QString("2 of 3 selected"));
}

QTEST_MAIN(UndoTest)
#include "undo_test.moc"
