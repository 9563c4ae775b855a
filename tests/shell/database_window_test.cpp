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
using Texts = std::vector<std::string>;

// A frame holding one window on a database of the given clients (none: an untitled one).
struct Scene {
    explicit Scene(ShellWorld& world,
                   std::optional<std::vector<std::string>> names = std::vector<std::string>{
                       "A", "B", "C"}) {
        std::optional<std::string> file;
        if (names) writeDatabase(*(file = world.path("scene.tdb")), *names);
        window = frame.openDatabaseWindow(file, false);
        frame.resize(900, 600);
        frame.show();
        if (names) window->showMaximized();
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
    QStringList column(int column) { return columnTexts(*window, column); }
    ClientDatabase& db() { return window->database(); }

    FrameWindow frame;
    DatabaseWindow* window = nullptr;
};

QByteArray fileBytes(const std::string& path) {
    QFile file(QString::fromStdString(path));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool exists(const std::string& path) {
    return QFile::exists(QString::fromStdString(path));
}

}  // namespace

class DatabaseWindowTest : public QObject {
    Q_OBJECT
  private slots:
    void emptyListPreconditions();
    void focusMarkIsNotTheSelection();
    void sortsByteWiseAndRefreshesInPlace();
    void deletesChosenClientsOfSortedList();
    void clientCommandsRefillTheList();
    void saveAsForcesExtensionAndAsks();
    void untitledCloseAsksAndSaves();
    void failedLoadLeavesNothingToSave();
    void radioCommandsUseFocusedClient();
};

void DatabaseWindowTest::emptyListPreconditions() {
    ShellWorld world;
    Scene scene(world, {{"A"}});
    scene.db().deleteClient(0);
    scene.window->refillClientList();
    world.feedback->script({MessageAnswer::No, MessageAnswer::No});
    for (int id : {cmd::EditClient, cmd::PrintClient, cmd::WriteRadio, cmd::ReadRadio, cmd::Copy,
                   cmd::DeleteClient, cmd::MakeAdvanced, cmd::MakeStandard})
        scene.run(id);
    const Texts expected{"There are no clients to edit, would you like to create one?.",
                         "There are no clients to print, would you like to create one?.",
                         "There are no clients to write to the radio. Please create a new client "
                         "first using the 'client', 'new' menu item.",
                         "There are no clients to read the data to. Please create a new client "
                         "first using the 'client', 'new' menu item.",
                         "There are no clients to copy",
                         kNoClientsSelected,
                         kNoClientsSelected,
                         kNoClientsSelected};
    QCOMPARE(world.messageTexts(), expected);
    QVERIFY(world.editedClients.empty());  // No created nothing
    // Yes (unscripted) posts New client.
    world.editName = "Fresh";
    scene.run(cmd::EditClient);
    QCOMPARE(world.editedClients, Texts{"New Client"});
    QCOMPARE(scene.column(0), QStringList{"Fresh"});
}

void DatabaseWindowTest::focusMarkIsNotTheSelection() {
    ShellWorld world;
    Scene scene(world);  // clients at the defaults have no channels
    const Texts unfocused{"There is no client selected to edit.",
                          "There is no client selected to print.",
                          "There is no client highlighted to write to the radio.",
                          "There is no client highlighted to read the data too.",
                          "There is no client selected to copy."};
    for (int id : {cmd::EditClient, cmd::PrintClient, cmd::WriteRadio, cmd::ReadRadio, cmd::Copy})
        scene.run(id);
    QCOMPARE(world.messageTexts(), unfocused);
    world.feedback->clear();

    scene.click(1);
    scene.click(1, Qt::ControlModifier);  // deselects, keeps the focus mark
    QVERIFY(scene.window->list().selectedClients().empty());
    scene.run(cmd::EditClient);
    QCOMPARE(world.editedClients, Texts{"B"});
    scene.run(cmd::DeleteClient);
    scene.run(cmd::WriteRadio);
    QCOMPARE(world.messageTexts(), (Texts{kNoClientsSelected, "There are no channels defined."}));
    QCOMPARE(scene.db().clientCount(), 3);

    // A refill clears the mark; focus without a click sets none either.
    scene.click(0);
    scene.run(cmd::MakeAdvanced);
    world.feedback->clear();
    scene.window->list().setFocus();
    for (int id : {cmd::EditClient, cmd::PrintClient, cmd::ReadRadio}) scene.run(id);
    QCOMPARE(world.messageTexts(), (Texts{unfocused[0], unfocused[1], unfocused[3]}));
    QCOMPARE(world.editedClients.size(), std::size_t{1});
}

void DatabaseWindowTest::sortsByteWiseAndRefreshesInPlace() {
    ShellWorld world;
    Scene scene(world, {{"b", "Z", "a", "10", "9"}});
    const int levels[] = {PowerLevel::Mid1, PowerLevel::High, PowerLevel::Low, PowerLevel::Mid2,
                          PowerLevel::High};
    for (int i = 0; i < 5; ++i) {
        std::uint8_t& options = scene.db().client(i)->image()[0];  // Mid levels come from radios
        options = static_cast<std::uint8_t>((options & ~ClientOption::PowerLevel) | levels[i]);
    }
    scene.window->refillClientList();
    QHeaderView* header = scene.window->list().horizontalHeader();

    header->sectionClicked(7);
    QCOMPARE(scene.column(7), (QStringList{"High", "High", "Low", "Mid1", "Mid2"}));
    // Equal texts keep their order; a second click does not reverse anything.
    const QStringList byPower{"Z", "9", "a", "b", "10"};
    QCOMPARE(scene.column(0), byPower);
    header->sectionClicked(7);
    QCOMPARE(scene.column(0), byPower);

    header->sectionClicked(0);
    QCOMPARE(scene.column(0), (QStringList{"10", "9", "Z", "a", "b"}));

    // Editing "Z" (third row) rewrites that row only; the order stays.
    scene.click(2);
    world.editName = "zz";
    scene.run(cmd::EditClient);
    QCOMPARE(scene.column(0), (QStringList{"10", "9", "zz", "a", "b"}));
}

void DatabaseWindowTest::deletesChosenClientsOfSortedList() {
    ShellWorld world;
    std::vector<std::string> names;
    for (char digit = '0'; digit <= '8'; ++digit) names.push_back({'K', digit});
    Scene scene(world, names);
    for (int i = 0; i < 9; ++i) scene.db().client(i)->setSerial(std::to_string(9 - i).c_str());
    scene.window->refillClientList();
    scene.window->list().horizontalHeader()->sectionClicked(2);  // K8 first
    ClientList& list = scene.window->list();
    for (int client : {5, 2, 7})
        scene.click(list.rowOfClient(client), client == 5 ? Qt::NoModifier : Qt::ControlModifier);

    world.feedback->script({MessageAnswer::No});
    scene.run(cmd::DeleteClient);
    QVERIFY(world.feedback->messages().at(0).defaultNo);
    QCOMPARE(scene.db().clientCount(), 9);

    scene.run(cmd::DeleteClient);
    QStringList left;
    for (int i = 0; i < scene.db().clientCount(); ++i) {
        char name[kNameSize] = {};
        scene.db().client(i)->getName(name, kNameSize);
        left.append(name);
    }
    QCOMPARE(left, (QStringList{"K0", "K1", "K3", "K4", "K6", "K8"}));
    QCOMPARE(scene.column(0), left);  // refilled in database order
}

void DatabaseWindowTest::clientCommandsRefillTheList() {
    ShellWorld world;
    Scene scene(world);  // new clients start out advanced
    scene.click(0);
    scene.click(2, Qt::ShiftModifier);
    scene.run(cmd::MakeStandard);
    QCOMPARE(scene.column(1), (QStringList{"Standard", "Standard", "Standard"}));
    scene.click(1);
    scene.run(cmd::MakeAdvanced);
    QCOMPARE(scene.column(1), (QStringList{"Standard", "Advanced", "Standard"}));

    // New client cancelled: the list stays.
    world.editResult = 0;
    scene.run(cmd::NewClient);
    QCOMPARE(world.editedClients.size(), std::size_t{1});
    QCOMPARE(scene.column(0), (QStringList{"A", "B", "C"}));
    // At the limit New does nothing at all.
    while (scene.db().addClient() >= 0) {
    }
    scene.run(cmd::NewClient);
    QCOMPARE(world.editedClients.size(), std::size_t{1});
    QVERIFY(world.feedback->empty());
    QCOMPARE(scene.db().clientCount(), kMaxClients);
}

void DatabaseWindowTest::saveAsForcesExtensionAndAsks() {
    ShellWorld world;
    Scene scene(world);
    const std::string name = scene.window->fileName();
    // Export asks for its own name and leaves the database's alone.
    world.scriptFileNames({world.path("clients.csv")});
    scene.run(cmd::Export);
    QVERIFY(exists(world.path("clients.csv")));
    scene.db().setModified(true);
    scene.run(cmd::Save);
    QCOMPARE(scene.window->fileName(), name);
    QVERIFY(!scene.db().isModified());

    // An existing file under the forced name: No keeps it, Yes replaces it.
    const std::string target = world.path("fleet.tdb");
    QFile existing(QString::fromStdString(target));
    QVERIFY(existing.open(QIODevice::WriteOnly));
    existing.write("keep me");
    existing.close();
    world.scriptFileNames({world.path("fleet"), world.path("fleet.old")});
    world.feedback->script({MessageAnswer::No, MessageAnswer::Yes});
    scene.run(cmd::SaveAs);
    QCOMPARE(fileBytes(target), QByteArray("keep me"));
    QCOMPARE(scene.window->fileName(), name);
    scene.run(cmd::SaveAs);
    QCOMPARE(fileBytes(target).size(), 130 + 10259 * 3);
    QCOMPARE(scene.window->fileName(), target);
    QCOMPARE(*world.settings.read("MRU_0"), target);  // the window keeps the recent files
    const std::string question =
        "The file '" + target + "' already exists.\n\nDo you want to replace it?";
    QCOMPARE(world.messageTexts(), (Texts{question, question}));
    world.feedback->clear();

    // A dot in a folder name is not an extension.
    QDir(world.dir.path()).mkdir("my.fleet");
    const std::string dotted = world.path("my.fleet/fleet");
    world.scriptFileNames({world.path("other.old"), dotted});
    for (int i = 0; i < 2; ++i) scene.run(cmd::SaveAs);
    QVERIFY(exists(world.path("other.tdb")) && !exists(world.path("other.old")));
    QCOMPARE(scene.window->windowTitle(), QString::fromStdString(dotted + ".tdb[*]"));

    // A path too long once forced is refused; nothing is written.
    const std::string base = world.dir.path().toStdString() + "/";
    const std::string fits = base + std::string(257 - base.size(), 'x');  // 257 + ".tdb" = 261
    world.scriptFileNames({fits});
    scene.run(cmd::SaveAs);
    QCOMPARE(scene.window->fileName(), dotted + ".tdb");
    QVERIFY(!exists(fits + ".tdb"));
}

void DatabaseWindowTest::untitledCloseAsksAndSaves() {
    ShellWorld world;
    world.settings.write("Database Columns", "60 20 100 60");
    Scene scene(world, std::nullopt);
    QCOMPARE(scene.window->list().columnWidths(),
             (std::vector<int>{60, 20, 100, 60, 60, 60, 60, 60}));
    scene.window->list().setColumnWidth(7, 33);
    QCOMPARE(scene.column(0), QStringList{"New Client"});
    scene.run(cmd::Save);  // the save dialog is cancelled
    QCOMPARE(world.askedKinds, std::vector<FileDialogKind>{FileDialogKind::SaveDatabase});
    QCOMPARE(scene.window->shownTitle(), QString("<NoName>*"));
    QVERIFY(scene.db().isModified());

    QVERIFY(!scene.window->close());  // Yes, then the save dialog is cancelled
    QCOMPARE(world.messageTexts(), Texts{"Do you want to save changes to '<NoName>'?"});
    QCOMPARE(scene.frame.databaseWindows().size(), 1);

    world.feedback->script({MessageAnswer::Yes});
    world.scriptFileNames({world.path("kept")});
    scene.window->runCommand(cmd::Close);  // posted: nothing happens yet
    QCOMPARE(world.messageTexts().size(), std::size_t{1});
    settle();
    settle();
    QVERIFY(exists(world.path("kept.tdb")));
    QCOMPARE(scene.frame.databaseWindows().size(), 0);
    QCOMPARE(*world.settings.read("Database Columns"), std::string("60 20 100 60 60 60 60 33"));
}

void DatabaseWindowTest::failedLoadLeavesNothingToSave() {
    ShellWorld world;
    const std::string file = world.path("letter.txt");
    const QByteArray letter("Dear dealer, this is not a database at all.");
    QFile text(QString::fromStdString(file));
    QVERIFY(text.open(QIODevice::WriteOnly));
    text.write(letter);
    text.close();
    FrameWindow frame;
    DatabaseWindow* window = frame.openDatabaseWindow(file, false);
    settle();
    QVERIFY(window->loadFailed());
    QCOMPARE(window->database().clientCount(), 0);
    QVERIFY(!window->database().isModified());
    QVERIFY(window->close());  // nothing to ask
    QCOMPARE(world.messageTexts(), Texts{"File does not appear to be a database file"});

    // Given a client, Save still never goes to that file: it asks for a name, as for an
    // untitled database, and from then on the window saves there.
    window = frame.openDatabaseWindow(file, false);
    window->database().addClient();
    world.scriptFileNames({std::nullopt, world.path("rescued")});
    window->runCommand(cmd::Save);
    QVERIFY(window->database().isModified());
    window->runCommand(cmd::Save);
    window->runCommand(cmd::Save);
    QCOMPARE(world.offeredNames, (std::vector<std::string>(2, "<NoName>")));
    QCOMPARE(window->fileName(), world.path("rescued.tdb"));
    QVERIFY(!window->database().isModified() && !window->loadFailed());
    QCOMPARE(fileBytes(file), letter);
}

void DatabaseWindowTest::radioCommandsUseFocusedClient() {
    ShellWorld world;
    Scene scene(world);
    auto radio = std::make_shared<RadioMonitor>();
    ClientRecord source;
    source.setOption(ClientOption::Advanced, 0);
    source.setOption(ClientOption::PowerLevel, PowerLevel::Low);
    source.copyImage(radio->memory().data(), kImageSize);
    world.services->serialConnection = fakeRadioFactory(radio, std::make_shared<VirtualClock>());

    scene.click(1);
    scene.run(cmd::ReadRadio);
    QCOMPARE(scene.column(1), (QStringList{"Advanced", "Standard", "Advanced"}));
    QCOMPARE(scene.column(7), (QStringList{"High", "Low", "High"}));
    QVERIFY(scene.db().client(1)->image() == source.image());
    QVERIFY(scene.window->isEnabled());  // enabled again after the transfer

    // Written back from another client, the radio holds exactly its image.
    ClientDatabase demo(true);  // its client has seven channels
    *scene.db().client(2) = *demo.client(0);
    scene.click(2);
    world.feedback->clear();
    scene.run(cmd::WriteRadio);
    QCOMPARE(radio->loadsCompleted(), 1);
    QVERIFY(std::equal(radio->memory().begin(), radio->memory().end(),
                       scene.db().client(2)->image().begin()));
}

QTEST_MAIN(DatabaseWindowTest)
#include "database_window_test.moc"
