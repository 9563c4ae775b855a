// The database window's commands: preconditions and their messages, the focus mark
// against the selection, sorting, deleting, saving, closing and the radio commands.
#include <QFile>
#include <QHeaderView>

#include "model/client_record.h"
#include "shell/client_list.h"
#include "shell/commands.h"
#include "shell/database_window.h"
#include "shell/frame_window.h"
#include "shell_fixture.h"
#include "sim/fake_radio_device.h"

using namespace tarn;
using namespace tarn::test;

namespace {

constexpr const char* kNoClientsSelected = "There are no clients selected.";

// A frame holding one window on a database of the given clients.
struct Scene {
    explicit Scene(ShellWorld& world, std::vector<std::string> names = {"A", "B", "C"}) {
        const std::string file = world.path("scene.tdb");
        writeDatabase(file, names);
        window = frame.openDatabaseWindow(file, false);
        frame.resize(900, 600);
        frame.show();
        window->showMaximized();
        settle();
        world.feedback->clear();
    }
    void run(int id) {
        window->runCommand(id);
        settle();
    }
    ClientDatabase& db() { return window->database(); }

    FrameWindow frame;
    DatabaseWindow* window = nullptr;
};

QByteArray fileBytes(const std::string& path) {
    QFile file(QString::fromStdString(path));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

class DatabaseWindowTest : public QObject {
    Q_OBJECT
  private slots:
    void emptyListPreconditions();
    void unfocusedPreconditions();
    void editOnEmptyListOffersNewClient();
    void writeRefusesClientWithoutChannels();
    void focusMarkIsNotTheSelection();
    void refillClearsFocusMark();
    void sortsByteWiseAndRefreshesInPlace();
    void deletesChosenClientsOfSortedList();
    void deleteAsksWithNoAsDefault();
    void makeAdvancedChangesTypeAndMarksModified();
    void newClientCancelledKeepsListButMarksModified();
    void newClientRefusedAtLimit();
    void saveAsForcesExtension();
    void saveAsAsksBeforeReplacingForcedName();
    void saveAsRefusesLongPaths();
    void untitledSaveCancelledKeepsTitle();
    void closeAsksAndStaysOpenWhenSaveCancelled();
    void failedLoadLeavesNothingToSave();
    void columnWidthsComeFromAndGoToSettings();
    void readRadioIntoFocusedClient();
    void writeRadioFromFocusedClient();
    void exportKeepsDatabaseName();
};

void DatabaseWindowTest::emptyListPreconditions() {
    ShellWorld world;
    Scene scene(world, {"A"});
    scene.db().deleteClient(0);
    scene.window->refillClientList();
    world.feedback->script({MessageAnswer::No, MessageAnswer::No});
    for (int id : {cmd::EditClient, cmd::PrintClient, cmd::WriteRadio, cmd::ReadRadio, cmd::Copy,
                   cmd::DeleteClient, cmd::MakeAdvanced, cmd::MakeStandard})
        scene.run(id);
    const std::vector<std::string> expected{
        "There are no clients to edit, would you like to create one?.",
        "There are no clients to print, would you like to create one?.",
        "There are no clients to write to the radio. Please create a new client first using the "
        "'client', 'new' menu item.",
        "There are no clients to read the data to. Please create a new client first using the "
        "'client', 'new' menu item.",
        "There are no clients to copy",
        kNoClientsSelected,
        kNoClientsSelected,
        kNoClientsSelected};
    QCOMPARE(world.messageTexts(), expected);
    const auto& boxes = world.feedback->messages();
    QCOMPARE(boxes[0].icon, MessageIcon::Question);
    QCOMPARE(boxes[2].icon, MessageIcon::Error);
    for (const auto& box : boxes) QCOMPARE(box.window, static_cast<WindowHandle>(scene.window));
    QVERIFY(world.editedClients.empty());  // No created nothing
}

void DatabaseWindowTest::unfocusedPreconditions() {
    ShellWorld world;
    Scene scene(world);
    for (int id : {cmd::EditClient, cmd::PrintClient, cmd::WriteRadio, cmd::ReadRadio, cmd::Copy})
        scene.run(id);
    const std::vector<std::string> expected{"There is no client selected to edit.",
                                            "There is no client selected to print.",
                                            "There is no client highlighted to write to the radio.",
                                            "There is no client highlighted to read the data too.",
                                            "There is no client selected to copy."};
    QCOMPARE(world.messageTexts(), expected);
}

void DatabaseWindowTest::editOnEmptyListOffersNewClient() {
    ShellWorld world;
    Scene scene(world, {"A"});
    scene.db().deleteClient(0);
    scene.window->refillClientList();
    world.editName = "Fresh";
    scene.run(cmd::EditClient);  // Yes (unscripted) posts New client
    QCOMPARE(world.editedClients, std::vector<std::string>{"New Client"});
    QCOMPARE(columnTexts(*scene.window, 0), QStringList{"Fresh"});
}

void DatabaseWindowTest::writeRefusesClientWithoutChannels() {
    ShellWorld world;
    Scene scene(world);  // clients at the defaults have no channels
    clickRow(*scene.window, 1);
    scene.run(cmd::WriteRadio);
    QCOMPARE(world.messageTexts(), std::vector<std::string>{"There are no channels defined."});
}

void DatabaseWindowTest::focusMarkIsNotTheSelection() {
    ShellWorld world;
    Scene scene(world);
    clickRow(*scene.window, 1);
    clickRow(*scene.window, 1, Qt::ControlModifier);  // deselects, keeps the focus mark
    QVERIFY(scene.window->list().selectedClients().empty());
    scene.run(cmd::EditClient);
    QCOMPARE(world.editedClients, std::vector<std::string>{"B"});
    scene.run(cmd::DeleteClient);
    QCOMPARE(world.messageTexts(), std::vector<std::string>{kNoClientsSelected});
    QCOMPARE(scene.db().clientCount(), 3);
}

void DatabaseWindowTest::refillClearsFocusMark() {
    ShellWorld world;
    Scene scene(world);
    clickRow(*scene.window, 0);
    scene.run(cmd::MakeAdvanced);
    scene.window->list().setFocus();  // focus without a click sets no mark either
    for (int id : {cmd::EditClient, cmd::PrintClient, cmd::ReadRadio}) scene.run(id);
    const std::vector<std::string> expected{"There is no client selected to edit.",
                                            "There is no client selected to print.",
                                            "There is no client highlighted to read the data too."};
    QCOMPARE(world.messageTexts(), expected);
    QVERIFY(world.editedClients.empty());
}

void DatabaseWindowTest::sortsByteWiseAndRefreshesInPlace() {
    ShellWorld world;
    Scene scene(world, {"b", "Z", "a", "10", "9"});
    const int levels[] = {PowerLevel::Mid1, PowerLevel::High, PowerLevel::Low, PowerLevel::Mid2,
                          PowerLevel::High};
    for (int i = 0; i < 5; ++i) {
        std::uint8_t& options = scene.db().client(i)->image()[0];  // Mid levels come from radios
        options = static_cast<std::uint8_t>((options & ~ClientOption::PowerLevel) | levels[i]);
    }
    scene.window->refillClientList();

    scene.window->list().horizontalHeader()->sectionClicked(7);
    QCOMPARE(columnTexts(*scene.window, 7), (QStringList{"High", "High", "Low", "Mid1", "Mid2"}));
    // Equal texts keep their order; a second click does not reverse anything.
    QCOMPARE(columnTexts(*scene.window, 0), (QStringList{"Z", "9", "a", "b", "10"}));
    scene.window->list().horizontalHeader()->sectionClicked(7);
    QCOMPARE(columnTexts(*scene.window, 0), (QStringList{"Z", "9", "a", "b", "10"}));

    scene.window->list().horizontalHeader()->sectionClicked(0);
    QCOMPARE(columnTexts(*scene.window, 0), (QStringList{"10", "9", "Z", "a", "b"}));
    QCOMPARE(compareClientRows(scene.db(), 0, 1, 8), 0);  // no such column

    // Editing "Z" (third row) rewrites that row only; the order stays.
    clickRow(*scene.window, 2);
    world.editName = "Renamed";
    scene.run(cmd::EditClient);
    QCOMPARE(columnTexts(*scene.window, 0), (QStringList{"10", "9", "Renamed", "a", "b"}));
}

void DatabaseWindowTest::deletesChosenClientsOfSortedList() {
    ShellWorld world;
    std::vector<std::string> names;
    for (int i = 0; i < 9; ++i) names.push_back("K" + std::to_string(i));
    Scene scene(world, names);
    for (int i = 0; i < 9; ++i) scene.db().client(i)->setSerial(std::to_string(9 - i).c_str());
    scene.window->refillClientList();
    scene.window->list().horizontalHeader()->sectionClicked(2);  // K8 first
    ClientList& list = scene.window->list();
    bool first = true;
    for (int client : {5, 2, 7}) {
        clickRow(*scene.window, list.rowOfClient(client),
                 first ? Qt::NoModifier : Qt::ControlModifier);
        first = false;
    }
    scene.run(cmd::DeleteClient);
    QCOMPARE(world.messageTexts().size(), std::size_t{1});
    QStringList left;
    for (int i = 0; i < scene.db().clientCount(); ++i) {
        char name[kNameSize] = {};
        scene.db().client(i)->getName(name, kNameSize);
        left.append(name);
    }
    QCOMPARE(left, (QStringList{"K0", "K1", "K3", "K4", "K6", "K8"}));
    QCOMPARE(columnTexts(*scene.window, 0), left);  // refilled in database order
}

void DatabaseWindowTest::deleteAsksWithNoAsDefault() {
    ShellWorld world;
    Scene scene(world);
    clickRow(*scene.window, 0);
    world.feedback->script({MessageAnswer::No});
    scene.run(cmd::DeleteClient);
    const auto& box = world.feedback->messages().at(0);
    QCOMPARE(box.text, std::string("You are about to delete the selected client(s).\n\nDo you "
                                   "want to continue?"));
    QVERIFY(box.defaultNo);
    QCOMPARE(scene.db().clientCount(), 3);
}

void DatabaseWindowTest::makeAdvancedChangesTypeAndMarksModified() {
    ShellWorld world;
    Scene scene(world);  // new clients start out advanced
    QVERIFY(!scene.db().isModified());
    clickRow(*scene.window, 0);
    clickRow(*scene.window, 2, Qt::ShiftModifier);
    scene.run(cmd::MakeStandard);
    QCOMPARE(columnTexts(*scene.window, 1), (QStringList{"Standard", "Standard", "Standard"}));
    QVERIFY(scene.db().isModified());  // so closing offers to save the change
    scene.run(cmd::Save);
    QVERIFY(!scene.db().isModified());
    clickRow(*scene.window, 1);
    scene.run(cmd::MakeAdvanced);
    QCOMPARE(columnTexts(*scene.window, 1), (QStringList{"Standard", "Advanced", "Standard"}));
    QVERIFY(scene.db().isModified());
}

void DatabaseWindowTest::newClientCancelledKeepsListButMarksModified() {
    ShellWorld world;
    Scene scene(world);
    world.editResult = 0;
    scene.run(cmd::NewClient);
    QCOMPARE(world.editedClients.size(), std::size_t{1});
    QCOMPARE(scene.db().clientCount(), 3);
    QCOMPARE(columnTexts(*scene.window, 0), (QStringList{"A", "B", "C"}));
    QVERIFY(scene.db().isModified());
}

void DatabaseWindowTest::newClientRefusedAtLimit() {
    ShellWorld world;
    Scene scene(world, {"A"});
    while (scene.db().addClient() >= 0) {
    }
    scene.run(cmd::NewClient);
    QVERIFY(world.editedClients.empty());
    QVERIFY(world.feedback->empty());
    QCOMPARE(scene.db().clientCount(), kMaxClients);
}

void DatabaseWindowTest::saveAsForcesExtension() {
    ShellWorld world;
    Scene scene(world);
    QDir(world.dir.path()).mkdir("my.fleet");
    const std::string dotted = world.path("my.fleet/fleet");
    world.scriptFileNames({world.path("fleet"), world.path("other.old"), dotted});
    for (int i = 0; i < 3; ++i) scene.run(cmd::SaveAs);
    QCOMPARE(world.askedKinds, std::vector<FileDialogKind>(3, FileDialogKind::SaveDatabase));
    QVERIFY(QFile::exists(QString::fromStdString(world.path("fleet.tdb"))));
    QVERIFY(QFile::exists(QString::fromStdString(world.path("other.tdb"))));
    QVERIFY(!QFile::exists(QString::fromStdString(world.path("other.old"))));
    QCOMPARE(scene.window->fileName(), dotted + ".tdb");
    QCOMPARE(scene.window->windowTitle(), QString::fromStdString(dotted + ".tdb"));
    QVERIFY(world.feedback->empty());
    QCOMPARE(forceDatabaseExtension("fleet.old"), std::string("fleet.tdb"));
    QCOMPARE(forceDatabaseExtension("a.b\\fleet"), std::string("a.b\\fleet.tdb"));
}

void DatabaseWindowTest::saveAsAsksBeforeReplacingForcedName() {
    ShellWorld world;
    Scene scene(world);
    const std::string target = world.path("fleet.tdb");
    QFile existing(QString::fromStdString(target));
    QVERIFY(existing.open(QIODevice::WriteOnly));
    existing.write("keep me");
    existing.close();
    const std::string title = scene.window->fileName();

    world.scriptFileNames({world.path("fleet"), world.path("fleet.old")});
    world.feedback->script({MessageAnswer::No, MessageAnswer::Yes});
    scene.run(cmd::SaveAs);
    QCOMPARE(fileBytes(target), QByteArray("keep me"));
    QCOMPARE(scene.window->fileName(), title);
    scene.run(cmd::SaveAs);
    QCOMPARE(fileBytes(target).size(), 130 + 10259 * 3);
    QCOMPARE(scene.window->fileName(), target);
    const std::string question =
        "The file '" + target + "' already exists.\n\nDo you want to replace it?";
    QCOMPARE(world.messageTexts(), (std::vector<std::string>{question, question}));
}

void DatabaseWindowTest::saveAsRefusesLongPaths() {
    ShellWorld world;
    Scene scene(world);
    const std::string base = world.dir.path().toStdString() + "/";
    const std::string fits = base + std::string(257 - base.size(), 'x');  // 257 + ".tdb" = 261
    const std::string tooLong = base + std::string(260 - base.size(), 'y');
    const std::string title = scene.window->fileName();
    world.scriptFileNames({fits, tooLong});
    scene.run(cmd::SaveAs);
    scene.run(cmd::SaveAs);
    QCOMPARE(scene.window->fileName(), title);
    QCOMPARE(world.messageTexts().size(), std::size_t{2});
    QVERIFY(world.messageTexts()[0].find(fits + ".tdb") != std::string::npos);
    QVERIFY(world.messageTexts()[1].find("shorter than 260") != std::string::npos);
    QCOMPARE(QDir(world.dir.path()).entryList(QDir::Files), QStringList{"scene.tdb"});
}

void DatabaseWindowTest::untitledSaveCancelledKeepsTitle() {
    ShellWorld world;
    FrameWindow frame;
    DatabaseWindow* window = frame.openDatabaseWindow(std::nullopt, false);
    settle();
    QCOMPARE(columnTexts(*window, 0), QStringList{"New Client"});
    window->runCommand(cmd::Save);
    QCOMPARE(world.askedKinds, std::vector<FileDialogKind>{FileDialogKind::SaveDatabase});
    QCOMPARE(window->windowTitle(), QString("<NoName>"));
    QVERIFY(window->database().isModified());
}

void DatabaseWindowTest::closeAsksAndStaysOpenWhenSaveCancelled() {
    ShellWorld world;
    FrameWindow frame;
    DatabaseWindow* window = frame.openDatabaseWindow(std::nullopt, false);
    settle();
    QVERIFY(!window->close());  // Yes, then the save dialog is cancelled
    QCOMPARE(world.messageTexts(),
             std::vector<std::string>{"Do you want to save changes to '<NoName>'?"});
    QCOMPARE(frame.databaseWindows().size(), 1);

    world.feedback->script({MessageAnswer::Yes});
    world.scriptFileNames({world.path("kept")});
    window->runCommand(cmd::Close);  // posted: nothing happens yet
    QCOMPARE(world.messageTexts().size(), std::size_t{1});
    settle();
    settle();
    QVERIFY(QFile::exists(QString::fromStdString(world.path("kept.tdb"))));
    QCOMPARE(frame.databaseWindows().size(), 0);
}

void DatabaseWindowTest::failedLoadLeavesNothingToSave() {
    ShellWorld world;
    const std::string file = world.path("letter.txt");
    QFile text(QString::fromStdString(file));
    QVERIFY(text.open(QIODevice::WriteOnly));
    text.write("Dear dealer, this is not a database at all.");
    text.close();
    FrameWindow frame;
    DatabaseWindow* window = frame.openDatabaseWindow(file, false);
    settle();
    QVERIFY(window->loadFailed());
    QCOMPARE(window->database().clientCount(), 0);
    QVERIFY(!window->database().isModified());
    window->runCommand(cmd::Save);
    QCOMPARE(world.messageTexts(),
             (std::vector<std::string>{"File does not appear to be a database file",
                                       "No data to save"}));
    QVERIFY(window->close());  // nothing to ask
    QCOMPARE(world.messageTexts().size(), std::size_t{2});
    QCOMPARE(fileBytes(file), QByteArray("Dear dealer, this is not a database at all."));
}

void DatabaseWindowTest::columnWidthsComeFromAndGoToSettings() {
    ShellWorld world;
    world.settings.write("Database Columns", "19 20 100 60");
    FrameWindow frame;
    DatabaseWindow* window = frame.openDatabaseWindow(std::nullopt, false);
    QCOMPARE(window->list().columnWidths(), (std::vector<int>{60, 20, 100, 60, 60, 60, 60, 60}));
    window->list().setColumnWidth(7, 33);
    world.feedback->script({MessageAnswer::No});
    QVERIFY(window->close());
    QCOMPARE(*world.settings.read("Database Columns"), std::string("60 20 100 60 60 60 60 33"));
}

void DatabaseWindowTest::readRadioIntoFocusedClient() {
    ShellWorld world;
    Scene scene(world);
    auto radio = std::make_shared<RadioMonitor>();
    ClientRecord source;
    source.setOption(ClientOption::Advanced, 0);
    source.setOption(ClientOption::PowerLevel, PowerLevel::Low);
    source.copyImage(radio->memory().data(), kImageSize);
    setSerialDeviceFactory(fakeRadioFactory(radio, std::make_shared<VirtualClock>()));

    clickRow(*scene.window, 1);
    scene.run(cmd::ReadRadio);
    QCOMPARE(columnTexts(*scene.window, 1), (QStringList{"Advanced", "Standard", "Advanced"}));
    QCOMPARE(columnTexts(*scene.window, 7), (QStringList{"High", "Low", "High"}));
    QVERIFY(scene.db().client(1)->image() == source.image());
    QVERIFY(scene.db().isModified());
    QVERIFY(scene.window->isEnabled());  // enabled again after the transfer
    QCOMPARE(world.feedback->messages().front().icon, MessageIcon::Information);  // the prompt
}

void DatabaseWindowTest::writeRadioFromFocusedClient() {
    ShellWorld world;
    FrameWindow frame;
    DatabaseWindow* window = frame.openDatabaseWindow(std::nullopt, false);  // demo client
    frame.show();
    settle();
    auto radio = std::make_shared<RadioMonitor>();
    setSerialDeviceFactory(fakeRadioFactory(radio, std::make_shared<VirtualClock>()));
    clickRow(*window, 0);
    window->runCommand(cmd::WriteRadio);
    QCOMPARE(radio->loadsCompleted(), 1);
    QVERIFY(std::equal(radio->memory().begin(), radio->memory().end(),
                       window->database().client(0)->image().begin()));
    for (const auto& box : world.feedback->messages()) QVERIFY(box.icon != MessageIcon::Error);
}

void DatabaseWindowTest::exportKeepsDatabaseName() {
    ShellWorld world;
    Scene scene(world);
    const std::string name = scene.window->fileName();
    world.scriptFileNames({world.path("clients.csv")});
    scene.run(cmd::Export);
    QCOMPARE(world.askedKinds, std::vector<FileDialogKind>{FileDialogKind::ExportDatabase});
    QVERIFY(QFile::exists(QString::fromStdString(world.path("clients.csv"))));
    scene.db().setModified(true);
    scene.run(cmd::Save);
    QCOMPARE(scene.window->fileName(), name);
    QVERIFY(!scene.db().isModified());
}

QTEST_MAIN(DatabaseWindowTest)
#include "database_window_test.moc"
