// The desktop's windows and dialogs: the database window's commands (focus mark against
// selection, sorting, deleting, saving, closing, the radio), the frame's routing, menus,
// drops, Help and closing, and the small dialogs and Qt windows behind the services.
#include <QComboBox>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QToolBar>

#include "model/client_record.h"
#include "model/message_texts.h"
#include "shell/artwork.h"
#include "shell/client_list.h"
#include "shell/commands.h"
#include "shell/database_window.h"
#include "shell/dealer_text_dialog.h"
#include "shell/frame_window.h"
#include "shell/help_file.h"
#include "shell/port_dialog.h"
#include "shell/qt_progress.h"
#include "shell/qt_user_feedback.h"
#include "shell/splash_screen.h"
#include "shell_fixture.h"
#include "sim/fake_radio_device.h"

using namespace tarn;
using namespace tarn::test;

namespace {

using msg::kNoClientsSelected;
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

void writeFile(const std::string& path, const QByteArray& bytes) {
    QFile file(QString::fromStdString(path));
    if (file.open(QIODevice::WriteOnly)) file.write(bytes);
}

bool exists(const std::string& path) {
    return QFile::exists(QString::fromStdString(path));
}

QString pathOf(ShellWorld& world, const std::string& name) {
    return QString::fromStdString(world.path(name));
}

// "text|command" for every item of a menu; separators are "-".
QStringList itemsOf(const QMenu* menu) {
    QStringList items;
    for (const QAction* action : menu->actions())
        items.append(action->isSeparator()
                         ? QString("-")
                         : QString("%1|%2").arg(action->text()).arg(action->data().toInt()));
    return items;
}

// Runs `act` on the next modal dialog that opens (the way a user answers it); with
// `boxOnly`, on the next message box.
void whenModal(std::function<void(QWidget*)> act, bool boxOnly = false) {
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, act, boxOnly] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal && (!boxOnly || qobject_cast<QMessageBox*>(modal))) {
            timer->stop();
            timer->deleteLater();
            // Acted on after the timer's turn, so a box the action opens gets its own.
            QMetaObject::invokeMethod(
                modal, [act, modal] { act(modal); }, Qt::QueuedConnection);
        }
    });
    timer->start();
}

void clickButton(QWidget* box, QMessageBox::StandardButton button) {
    static_cast<QMessageBox*>(box)->button(button)->click();
}

}  // namespace

class DesktopTest : public QObject {
    Q_OBJECT
  private slots:

    void emptyListPreconditions() {
        ShellWorld world;
        Scene scene(world, {{"A"}});
        scene.db().deleteClient(0);
        scene.window->refillClientList();
        world.feedback->script({MessageAnswer::No, MessageAnswer::No});
        for (int id : {cmd::EditClient, cmd::PrintClient, cmd::WriteRadio, cmd::ReadRadio,
                       cmd::Copy, cmd::DeleteClient, cmd::MakeAdvanced, cmd::MakeStandard})
            scene.run(id);
        const Texts expected{"There are no clients to edit, would you like to create one?.",
                             "There are no clients to print, would you like to create one?.",
                             msg::kNoClientsToWrite,
                             msg::kNoClientsToRead,
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

    void focusMarkIsNotTheSelection() {
        ShellWorld world;
        Scene scene(world);  // clients at the defaults have no channels
        const Texts unfocused{"There is no client selected to edit.",
                              "There is no client selected to print.",
                              "There is no client highlighted to write to the radio.",
                              "There is no client highlighted to read the data too.",
                              "There is no client selected to copy."};
        for (int id :
             {cmd::EditClient, cmd::PrintClient, cmd::WriteRadio, cmd::ReadRadio, cmd::Copy})
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
        QCOMPARE(world.messageTexts(), (Texts{kNoClientsSelected, msg::kNoChannelsDefined}));
        QCOMPARE(scene.db().clientCount(), 3);

        // A command refills the list, which clears the mark; focus without a click sets none.
        scene.click(0);
        scene.run(cmd::MakeStandard);
        QCOMPARE(scene.column(1), (QStringList{"Standard", "Advanced", "Advanced"}));
        world.feedback->clear();
        scene.window->list().setFocus();
        for (int id : {cmd::EditClient, cmd::PrintClient, cmd::ReadRadio}) scene.run(id);
        QCOMPARE(world.messageTexts(), (Texts{unfocused[0], unfocused[1], unfocused[3]}));
        QCOMPARE(world.editedClients.size(), std::size_t{1});

        // New client cancelled adds nothing; at the limit New does nothing at all.
        world.editResult = 0;
        scene.run(cmd::NewClient);
        QCOMPARE(scene.db().clientCount(), 3);
        while (scene.db().addClient() >= 0) {
        }
        scene.run(cmd::NewClient);
        QCOMPARE(world.editedClients.size(), std::size_t{2});
        QCOMPARE(scene.db().clientCount(), kMaxClients);
    }

    void sortsByteWiseAndRefreshesInPlace() {
        ShellWorld world;
        Scene scene(world, {{"b", "Z", "a", "10", "9"}});
        const int levels[] = {PowerLevel::Mid1, PowerLevel::High, PowerLevel::Low, PowerLevel::Mid2,
                              PowerLevel::High};
        for (int i = 0; i < 5; ++i) {
            std::uint8_t& options =
                scene.db().client(i)->image()[0];  // Mid levels come from radios
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

    void deletesChosenClientsOfSortedList() {
        ShellWorld world;
        std::vector<std::string> names;
        for (char digit = '0'; digit <= '8'; ++digit) names.push_back({'K', digit});
        Scene scene(world, names);
        for (int i = 0; i < 9; ++i) scene.db().client(i)->setSerial(std::to_string(9 - i).c_str());
        scene.window->refillClientList();
        scene.window->list().horizontalHeader()->sectionClicked(2);  // K8 first
        ClientList& list = scene.window->list();
        for (int client : {5, 2, 7})
            scene.click(list.rowOfClient(client),
                        client == 5 ? Qt::NoModifier : Qt::ControlModifier);

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

    void saveAsAsksBeforeReplacing() {
        ShellWorld world;
        Scene scene(world);
        const std::string name = scene.window->fileName();
        // Export asks for its own name and leaves the database's alone.
        world.scriptFileNames({world.path("clients.csv")});
        scene.run(cmd::Export);
        QVERIFY(exists(world.path("clients.csv")));
        QCOMPARE(scene.window->fileName(), name);

        // An existing file under the forced name: No keeps it, Yes replaces it.
        const std::string target = world.path("fleet.tdb");
        writeFile(target, "keep me");
        world.scriptFileNames({world.path("fleet"), world.path("fleet.old")});
        world.feedback->script({MessageAnswer::No, MessageAnswer::Yes});
        scene.run(cmd::SaveAs);
        QCOMPARE(fileBytes(target), QByteArray("keep me"));
        QCOMPARE(scene.window->fileName(), name);
        scene.run(cmd::SaveAs);
        QCOMPARE(fileBytes(target).size(), 130 + 10259 * 3);
        QCOMPARE(scene.window->fileName(), target);
        QCOMPARE(*world.settings.read("MRU_0"), target);  // the window keeps the recent files
        QCOMPARE(world.messageTexts().size(), std::size_t{2});
        QVERIFY(world.feedback->messages()[0].defaultNo);

        // A path too long once forced is refused; nothing is written.
        const std::string base = world.dir.path().toStdString() + "/";
        const std::string fits = base + std::string(257 - base.size(), 'x');  // 257 + ".tdb" = 261
        world.scriptFileNames({fits});
        scene.run(cmd::SaveAs);
        QCOMPARE(scene.window->fileName(), target);
        QVERIFY(!exists(fits + ".tdb"));
    }

    // Closing asks about an unsaved database; a cancelled save keeps it and the frame open.
    void closingAsksAndSaves() {
        ShellWorld world;
        writeDatabase(world.path("a.tdb"), {"A"});
        FrameWindow frame;
        frame.setGeometry(30, 40, 500, 300);
        frame.show();
        frame.openDatabaseWindow(world.path("a.tdb"), false);
        DatabaseWindow* untitled = frame.openDatabaseWindow(std::nullopt, false);
        settle();
        untitled->runCommand(cmd::Save);  // the save dialog is cancelled
        QCOMPARE(world.askedKinds, std::vector<FileDialogKind>{FileDialogKind::SaveDatabase});
        QVERIFY(untitled->database().isModified());
        QCOMPARE(untitled->shownTitle(), QString("<NoName>*"));
        QVERIFY(!frame.close());  // Yes, then the save dialog is cancelled
        QVERIFY(frame.isVisible());
        QCOMPARE(frame.databaseWindows(), QList<DatabaseWindow*>{untitled});
        QCOMPARE(world.messageTexts(), Texts{"Do you want to save changes to '<NoName>'?"});

        world.feedback->script({MessageAnswer::Yes});
        world.scriptFileNames({world.path("kept")});
        untitled->runCommand(cmd::Close);  // posted: nothing happens yet
        QCOMPARE(world.messageTexts().size(), std::size_t{1});
        settle();
        settle();
        QVERIFY(exists(world.path("kept.tdb")));
        QCOMPARE(frame.databaseWindows().size(), 0);
        QVERIFY(frame.close());
        // The outer corner (as the frame is placed at start-up) and the inner size.
        QCOMPARE(*world.settings.read("Window Placement"),
                 QString("%1 %2 500 300").arg(frame.x()).arg(frame.y()).toStdString());
    }

    void failedLoadLeavesNothingToSave() {
        ShellWorld world;
        const std::string file = world.path("letter.txt");
        const QByteArray letter("Dear dealer, this is not a database at all.");
        writeFile(file, letter);
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

    void radioCommandsUseFocusedClient() {
        ShellWorld world;
        Scene scene(world);
        auto radio = std::make_shared<RadioMonitor>();
        ClientRecord source;
        source.setOption(ClientOption::Advanced, 0);
        source.copyImage(radio->memory().data(), kImageSize);
        world.services->serialConnection =
            fakeRadioFactory(radio, std::make_shared<VirtualClock>());

        scene.click(1);
        scene.run(cmd::ReadRadio);
        QCOMPARE(scene.column(1), (QStringList{"Advanced", "Standard", "Advanced"}));
        QVERIFY(scene.db().client(1)->image() == source.image());
        QVERIFY(scene.window->isEnabled());  // enabled again after the transfer
    }

    void commandsArePostedToCurrentWindowOnce() {
        ShellWorld world;
        FrameWindow frame;
        frame.command(cmd::DeleteClient);  // no window: nothing at all
        settle();
        QVERIFY(world.feedback->empty());
        frame.resize(800, 500);
        frame.openDatabaseWindow(std::nullopt, false);
        DatabaseWindow* second = frame.openDatabaseWindow(std::nullopt, true);
        frame.show();
        frame.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&frame));
        settle();
        frame.command(cmd::DeleteClient);
        QVERIFY(world.feedback->empty());  // posted, not yet handled
        settle();
        QCOMPARE(world.messageTexts(), Texts{kNoClientsSelected});
        QCOMPARE(world.feedback->messages()[0].window, static_cast<WindowHandle>(second));

        // A shortcut key runs its command once: one action carries the menu item, the button
        // and the key.
        QVERIFY(frame.toolBar()->actions().contains(frame.menuAction(cmd::DeleteClient)));
        clickRow(*second, 0);
        world.feedback->clear();
        world.feedback->script({MessageAnswer::No});
        QTest::keyClick(&second->list(), Qt::Key_Delete);
        settle();
        QCOMPARE(world.feedback->messages().size(), std::size_t{1});
        QTest::keyClick(&second->list(), Qt::Key_F8);
        settle();
        QCOMPARE(columnTexts(*second, 1), QStringList{"Advanced"});
        // Return on the list edits the row with the focus mark, selected or not.
        clickRow(*second, 0);
        clickRow(*second, 0, Qt::ControlModifier);
        QVERIFY(second->list().selectedClients().empty());
        QTest::keyClick(&second->list(), Qt::Key_Return);
        settle();
        QCOMPARE(world.editedClients.size(), std::size_t{1});
    }

    void windowMenuAndRecentFiles() {
        ShellWorld world;
        world.settings.write("MRU count", "3");
        world.settings.write("MRU_0", "/data/newest.tdb");
        world.settings.write("MRU_1", "<NoName>");
        world.settings.write("MRU_2", "C:\\fleet\\old.tdb");
        writeDatabase(world.path("a.tdb"), {"A"});
        FrameWindow frame;
        frame.resize(700, 500);
        frame.show();
        world.services->recentFilesChanged = [&frame] { frame.postRecentFilesChanged(); };
        // An item added above them does not move the recent files off their place.
        frame.fileMenu()->insertAction(frame.fileMenu()->actions().value(0),
                                       new QAction("X", &frame));
        settle();
        QStringList items = itemsOf(frame.fileMenu());
        // The recent files follow the separator after "Open &backup folder".
        const auto first = items.indexOf("Open &backup folder|40140") + 1;
        QCOMPARE(items.mid(first, 4),
                 (QStringList{"-", "&1. newest.tdb|40036", "&3. old.tdb|40038", "-"}));
        // Opening a file, maximised, puts it first once the posted rebuild has run.
        DatabaseWindow* window = frame.openDatabaseWindow(world.path("a.tdb"), true);
        QCOMPARE(itemsOf(frame.fileMenu()), items);  // posted: rebuilt later
        settle();
        QVERIFY(window->isMaximized());
        QCOMPARE(itemsOf(frame.fileMenu()).mid(first + 1, 3),
                 (QStringList{"&1. a.tdb|40036", "&2. newest.tdb|40037", "&4. old.tdb|40039"}));
        // The recent item opens a second window on the same file, maximised like the first.
        frame.fileMenu()->actions()[first + 1]->trigger();
        settle();
        QCOMPARE(frame.databaseWindows().size(), 2);
        QVERIFY(frame.databaseWindows()[1]->isMaximized());

        // The Window menu lists the windows, rebuilt each time it opens.
        emit frame.windowMenu()->aboutToShow();
        emit frame.windowMenu()->aboutToShow();
        items = itemsOf(frame.windowMenu());
        QCOMPARE(items.size(), 9);
        QVERIFY(items[7].startsWith("&1 " + pathOf(world, "a.tdb")));
    }

    void openActivatesWindowAlreadyOnFile() {
        ShellWorld world;
        FrameWindow frame;
        frame.show();
        writeDatabase(world.path("a.tdb"), {"A"});
        DatabaseWindow* onFile = frame.openDatabaseWindow(world.path("a.tdb"), false);
        frame.openDatabaseWindow(std::nullopt, false);
        settle();
        world.scriptFileNames({world.path("a.tdb")});
        frame.command(cmd::Open);
        QCOMPARE(frame.databaseWindows().size(), 2);
        QCOMPARE(frame.mdiArea()->currentSubWindow(), onFile);
#ifndef Q_OS_WIN
        // Letter case tells files apart here, so another spelling is another window.
        writeDatabase(world.path("A.TDB"), {"B"});
        world.scriptFileNames({world.path("A.TDB")});
        frame.command(cmd::Open);
        QCOMPARE(frame.databaseWindows().size(), 3);
#endif
    }

    void droppedFilesAskAboveTwenty() {
        ShellWorld world;
        writeDatabase(world.path("a.tdb"), {"A"});
        FrameWindow frame;
        const QStringList twenty(20, pathOf(world, "a.tdb"));
        const QStringList twentyOne = twenty + QStringList{pathOf(world, "a.tdb")};

        world.feedback->script({MessageAnswer::No, MessageAnswer::Yes});
        frame.openDroppedFiles(twentyOne);
        QCOMPARE(frame.databaseWindows().size(), 0);
        QCOMPARE(world.messageTexts(), Texts{"Do you really want to open 21 files?"});
        frame.openDroppedFiles(twentyOne);
        QCOMPARE(frame.databaseWindows().size(), 21);
        world.feedback->clear();
        frame.openDroppedFiles(twenty);
        QVERIFY(world.feedback->empty());

        // A drop event opens the local files only.
        QMimeData data;
        data.setUrls(
            {QUrl::fromLocalFile(pathOf(world, "a.tdb")), QUrl("https://example.com/x.tdb")});
        QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        static_cast<QObject&>(frame).event(&drop);  // straight to the frame, as a drop lands
        QCOMPARE(frame.databaseWindows().size(), 42);
    }

    void helpIsFoundAndFailuresReported() {
        // Working folder, program folder, documentation folder: the first holding the manual,
        // else the working folder's name.
        ShellWorld world;
        QStringList folders;
        for (int i = 0; i < 3; ++i)
            QVERIFY(QDir().mkpath(folders.emplace_back(pathOf(world, std::to_string(i)))));
        QCOMPARE(findHelpFile(folders), folders[0] + "/Tarn.pdf");
        for (int i : {2, 1}) {
            QFile pdf(folders[i] + "/Tarn.pdf");
            QVERIFY(pdf.open(QIODevice::WriteOnly));
            QCOMPARE(findHelpFile(folders), folders[i] + "/Tarn.pdf");
        }
        // The installed manual sits where the program's prefix keeps documentation.
        QVERIFY(helpFolders()[2].endsWith("/share/doc/tarn"));

        FrameWindow frame;
        QList<QUrl> opened;
        bool opens = true;
        frame.setUrlOpener([&](const QUrl& url) {
            opened.append(url);
            return opens;
        });
        const QString previous = QDir::currentPath();
        QDir::setCurrent(world.dir.path());
        frame.command(cmd::Help);  // no Tarn.pdf here
        writeFile("Tarn.pdf", {});
        frame.command(cmd::Help);
        opens = false;
        frame.command(cmd::VisitWebsite);
        QDir::setCurrent(previous);
        QCOMPARE(world.messageTexts(),
                 (Texts{"Failed to open \"Tarn.pdf\".",
                        "Failed to open \"https://www.tarn-radio.example/\"."}));
        QCOMPARE(opened.size(), 2);
    }

    void inputDuringLongOperationIsDiscarded() {
        ShellWorld world;
        FrameWindow frame;
        DatabaseWindow* window = frame.openDatabaseWindow(std::nullopt, true);
        frame.show();
        frame.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&frame));
        QWidget* newButton = frame.toolBar()->widgetForAction(frame.toolBar()->actions()[0]);
        QtProgressUi ui;
        for (const auto kind : {ProgressUi::Kind::Progress, ProgressUi::Kind::Printing}) {
            {
                // A radio transfer or print job: the toolbar's New and Ctrl+F4 meanwhile.
                auto progress = ui.create(kind, window);
                ui.enableWindow(window, false);
                QTest::mouseClick(newButton, Qt::LeftButton);
                QTest::keyClick(&frame, Qt::Key_F4, Qt::ControlModifier);
                progress->update(50, nullptr);
                ui.enableWindow(window, true);
            }
            settle();
            QCOMPARE(frame.databaseWindows().size(), 1);
            QVERIFY(world.feedback->empty());
        }
        QTest::mouseClick(newButton, Qt::LeftButton);  // afterwards it works again
        settle();
        QCOMPARE(frame.databaseWindows().size(), 2);
    }

    void portDialogAsksAboutUnavailablePortAndTakesEnter() {
        ShellWorld world;
        world.services->probePort = [](const std::string& name) { return name == "COM2"; };
        PortDialog dialog(nullptr);
        QCOMPARE(dialog.portBox()->currentText(), QString("COM1"));
        QVERIFY(dialog.portBox()->findText("COM4") >= 0);
        dialog.portBox()->setEditText("COM7");
        world.feedback->script({MessageAnswer::No, MessageAnswer::Yes});
        dialog.accept();
        QCOMPARE(dialog.result(), int(QDialog::Rejected));  // still open
        QVERIFY(!world.settings.read("Port"));
        dialog.accept();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(*world.settings.read("Port"), std::string("COM7"));
        QCOMPARE(world.messageTexts(),
                 Texts(2,
                       "Port 'COM7' is either busy or unavailable.\n\nAre you sure you want to "
                       "use this port?"));
        world.services->probePort = {};
        // Enter presses OK with the text as shown, whether typed or stored, listed or not.
        for (const char* stored : {"COM3", "COM", "/dev/ttyUSB7"}) {
            world.settings.write("Port", stored);
            PortDialog shown(nullptr);
            shown.show();
            QVERIFY(QTest::qWaitForWindowActive(&shown));
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            QCOMPARE(shown.result(), int(QDialog::Accepted));
            QCOMPARE(*world.settings.read("Port"), std::string(stored));
        }
    }

    void dealerTextKeepsNinetyNineCharacters() {
        std::array<char, 100> text{};
        std::memcpy(text.data(), "Line one\r\nLine two", 18);
        DealerTextDialog dialog(text, nullptr);
        QCOMPARE(dialog.textBox()->toPlainText(), QString("Line one\nLine two"));
        dialog.textBox()->setPlainText(QString(150, 'x'));
        dialog.storeText(text);
        QCOMPARE(std::string(text.data()), std::string(99, 'x'));
        dialog.textBox()->setPlainText("a\nb");
        dialog.storeText(text);
        QCOMPARE(std::string(text.data()), std::string("a\r\nb"));
    }

    void fileDialogsHaveTheirTitlesAndFilters() {
        ShellWorld world;
        const std::pair<FileDialogKind, QString> cases[] = {
            {FileDialogKind::OpenDatabase, "Open database file|Database Files (*.tdb)|open"},
            {FileDialogKind::SaveDatabase, "Save database file|Database Files (*.tdb)|save"},
            {FileDialogKind::ExportDatabase, "Export database file|CSV Files (*.csv)|save"},
            {FileDialogKind::ImportCsv, "Import CSV file|CSV Files (*.csv)|open"},
        };
        writeDatabase(world.path("a.tdb"), {"A"});
        for (const auto& [kind, expected] : cases) {
            QString seen;
            whenModal([&](QWidget* modal) {
                auto* dialog = qobject_cast<QFileDialog*>(modal);
                const bool save = dialog->acceptMode() == QFileDialog::AcceptSave;
                seen = dialog->windowTitle() + "|" + dialog->selectedNameFilter() + "|" +
                       (save ? "save" : "open");
                // Typed, as a user would (selectFile leaves a focused name field alone).
                dialog->findChild<QLineEdit*>("fileNameEdit")->setText(pathOf(world, "a.tdb"));
                // Saving over a file asks first; answer Yes when that box comes.
                if (save) whenModal([](QWidget* box) { clickButton(box, QMessageBox::Yes); }, true);
                static_cast<QDialog*>(dialog)->accept();
            });
            std::filesystem::path path = "unchanged";
            QVERIFY(showFileNameDialog(nullptr, path, kind));
            settle();
            QCOMPARE(seen, expected);
            QCOMPARE(path.string(), world.path("a.tdb"));
        }
        // Cancel leaves the buffer alone.
        whenModal([](QWidget* modal) { static_cast<QDialog*>(modal)->reject(); });
        std::filesystem::path path = "unchanged";
        QVERIFY(!showFileNameDialog(nullptr, path, FileDialogKind::OpenDatabase));
        QCOMPARE(path.string(), std::string("unchanged"));
    }

    void splashIsCentredModalAndTimed() {
        ShellWorld world;
        FrameWindow frame;
        frame.show();
        const QRect screen = frame.screen()->geometry();
        QPointer<SplashScreen> splash = SplashScreen::start(&frame, 20);
        QCOMPARE(splash->pos(), QPoint((screen.width() - kSplashWidth) / 2,
                                       (screen.height() - kSplashHeight) / 2));
        QCOMPARE(QApplication::activeModalWidget(), splash.data());  // the frame takes no input
        QTRY_VERIFY(splash.isNull());
        QVERIFY(!QApplication::activeModalWidget());
    }

    void messageBoxesAndProgressWindows() {
        ShellWorld world;
        FrameWindow frame;
        world.services->frame = &frame;
        QtUserFeedback feedback;
        QString seen;
        whenModal([&](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            seen = box->windowTitle() + "|" + box->text();
            QCOMPARE(box->parentWidget(), &frame);
            QCOMPARE(box->standardButton(box->defaultButton()), QMessageBox::No);
            clickButton(box, QMessageBox::No);
        });
        MessageOwner owner = MessageOwner::frame();
        owner.defaultNo = true;
        // A path shows as the platform names files, not as an 8-bit database text.
        const std::filesystem::path path("/data/M\xc3\xbcller Fleet.tdb");
        QCOMPARE(feedback.showMessage(owner, formatMessage("Save '%s'?", path),
                                      MessageIcon::Question, MessageButtons::YesNo),
                 MessageAnswer::No);
        QCOMPARE(seen, QString::fromUtf8("Tarn DataBase|Save '/data/Müller Fleet.tdb'?"));

        QtProgressUi ui;
        auto window = ui.create(ProgressUi::Kind::Progress, &frame);
        window->setCaption("Reading radio");
        window->update(40, "4000 bytes");
        QWidget* shown = nullptr;
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (widget->windowTitle() == "Reading radio" && widget->isVisible()) shown = widget;
        QVERIFY(shown);
        QCOMPARE(shown->findChild<QProgressBar*>()->value(), 40);
        QCOMPARE(shown->findChild<QLabel*>()->text(), QString("4000 bytes"));
    }
};

QTEST_MAIN(DesktopTest)
#include "desktop_test.moc"
