// The database window and the frame: its commands, menus, saving, closing, undo and redo.
#include <QCheckBox>
#include <QSpinBox>

#include "database/csv_export.h"
#include "database/csv_import.h"
#include "database/load_invariants.h"
#include "model/message_texts.h"
#include "shell/apply_channels_dialog.h"
#include "shell/title_bar_style.h"
#include "shell_fixture.h"

using namespace tarn;
using namespace tarn::test;

namespace {

// "text|command" for every item of a menu; separators are "-".
QStringList itemsOf(const QMenu* menu) {
    QStringList items;
    for (const QAction* action : menu->actions())
        items.append(action->isSeparator() ? "-"
                                           : action->text() + "|" + action->data().toString());
    return items;
}

// The database as its file holds it: the dealer text field and every serialised client.
std::vector<std::uint8_t> contents(const ClientDatabase& db) {
    return DatabaseSnapshot::of(db).bytes;
}

}  // namespace

class DesktopTest : public QObject {
    Q_OBJECT
  private slots:

    void commandsNeedTheFocusMarkOrTheSelection() {
        ShellWorld world;
        Scene scene(world);  // clients at the defaults have no channels
        const Texts unfocused{"There is no client selected to edit.",
                              "There is no client selected to print.",
                              "There is no client highlighted to write to the radio.",
                              "There is no client highlighted to read the data too.",
                              "There is no client selected to copy."};
        const int needFocus[] = {cmd::EditClient, cmd::PrintClient, cmd::WriteRadio, cmd::ReadRadio,
                                 cmd::Copy};
        for (int id : needFocus) scene.run(id);
        QCOMPARE(world.messageTexts(), unfocused);
        world.feedback->clear();
        scene.click(1);
        scene.click(1, Qt::ControlModifier);  // deselects, keeps the focus mark
        scene.run(cmd::EditClient);
        QCOMPARE(world.editedClients, Texts{"B"});
        scene.run(cmd::DeleteClient);
        scene.run(cmd::WriteRadio);
        QCOMPARE(world.messageTexts(), (Texts{msg::kNoClientsSelected, msg::kNoChannelsDefined}));
        // A command refills the list, which clears the mark; focus without a click sets none.
        scene.click(0);
        scene.run(cmd::MakeStandard);
        QCOMPARE(scene.column(1), (QStringList{"Standard", "Advanced", "Advanced"}));
        world.feedback->clear();
        scene.window->list().setFocus();
        scene.run(cmd::EditClient);
        QCOMPARE(world.messageTexts(), Texts{unfocused[0]});
        world.editResult = 0;  // a new client cancelled adds nothing
        scene.run(cmd::NewClient);
        QCOMPARE(scene.db().clientCount(), 3);
        world.editResult = 1;

        // An empty list: each command says so; Yes to Edit's offer makes a new client.
        while (scene.db().clientCount() > 0) scene.db().deleteClient(0);
        scene.window->refillClientList();
        world.feedback->clear();
        world.feedback->script({MessageAnswer::No, MessageAnswer::No});
        for (int id : needFocus) scene.run(id);
        for (int id : {cmd::DeleteClient, cmd::MakeAdvanced, cmd::MakeStandard}) scene.run(id);
        QCOMPARE(
            world.messageTexts(),
            (Texts{"There are no clients to edit, would you like to create one?.",
                   "There are no clients to print, would you like to create one?.",
                   msg::kNoClientsToWrite, msg::kNoClientsToRead, "There are no clients to copy",
                   msg::kNoClientsSelected, msg::kNoClientsSelected, msg::kNoClientsSelected}));
        world.editName = "Fresh";
        scene.run(cmd::EditClient);
        QCOMPARE(world.editedClients, (Texts{"B", "New Client", "New Client"}));
        QCOMPARE(scene.column(0), QStringList{"Fresh"});
    }

    // Byte-wise, never reversed; an edit keeps its row; Delete refills in database order.
    void sortsRefreshesAndDeletesChosenClients() {
        ShellWorld world;
        Scene scene(world, {"b", "Z", "a", "10", "9"});
        for (int i = 0; i < 2; ++i) emit scene.window->list().horizontalHeader()->sectionClicked(0);
        QCOMPARE(scene.column(0), (QStringList{"10", "9", "Z", "a", "b"}));
        scene.click(2);
        world.editName = "zz";
        scene.run(cmd::EditClient);
        QCOMPARE(scene.column(0), (QStringList{"10", "9", "zz", "a", "b"}));
        for (int client : {0, 3, 2})
            scene.click(scene.window->list().rowOfClient(client),
                        client == 0 ? Qt::NoModifier : Qt::ControlModifier);
        world.feedback->script({MessageAnswer::No});
        scene.run(cmd::DeleteClient);
        QVERIFY(world.feedback->messages().at(0).defaultNo && scene.db().clientCount() == 5);
        scene.run(cmd::DeleteClient);
        QCOMPARE(scene.column(0), (QStringList{"zz", "9"}));
    }

    void saveAsAsksBeforeReplacing() {
        ShellWorld world;
        Scene scene(world);
        const std::string target = world.path("fleet.tdb");
        writeFile(target, "keep me");
        world.fileNames = {world.path("fleet"), world.path("fleet.old")};
        world.feedback->script({MessageAnswer::No, MessageAnswer::Yes});
        // No brings the dialog back; Yes replaces the file under the forced name.
        scene.run(cmd::SaveAs);
        QCOMPARE(world.offeredNames.size(), std::size_t{2});
        QCOMPARE(fileBytes(target).size(), 130 + 10259 * 3);
        QVERIFY(scene.window->fileName() == target && *world.settings.read("MRU_0") == target);
        // A path too long once forced is refused; nothing is written.
        const std::string base = world.dir.path().toStdString() + "/";
        const std::string fits = base + std::string(257 - base.size(), 'x');  // 257 + ".tdb" = 261
        world.fileNames = {fits};
        scene.run(cmd::SaveAs);
        QVERIFY(scene.window->fileName() == target && !QFile::exists((fits + ".tdb").c_str()));
        QCOMPARE(world.messageTexts().size(), std::size_t{3});
    }

    // A file that failed to load is never saved over; a cancelled save keeps the frame open.
    void failedLoadAndClosing() {
        ShellWorld world;
        const std::string file = world.path("letter.txt");
        const QByteArray letter("Dear dealer, this is not a database at all.");
        writeFile(file, letter);
        FrameWindow frame;
        frame.show();
        DatabaseWindow* window = frame.openDatabaseWindow(file, false);
        settle();
        QVERIFY(window->loadFailed() && window->database().clientCount() == 0);
        QVERIFY(window->close());  // nothing to ask
        QCOMPARE(world.messageTexts(), Texts{"File does not appear to be a database file"});
        // Given a client, Save asks for a name as for an untitled database, then saves there.
        window = frame.openDatabaseWindow(file, false);
        window->database().addClient();
        world.fileNames = {std::nullopt, world.path("rescued")};
        for (int i = 0; i < 3; ++i) window->runCommand(cmd::Save);
        QCOMPARE(world.offeredNames, (Texts(2, "<NoName>")));
        QVERIFY(window->fileName() == world.path("rescued.tdb") && !window->loadFailed());
        QVERIFY(!window->database().isModified() && fileBytes(file) == letter);

        world.feedback->clear();
        DatabaseWindow* untitled = frame.openDatabaseWindow(std::nullopt, false);
        settle();
        untitled->runCommand(cmd::Save);  // the save dialog is cancelled
        QCOMPARE(world.askedKinds.back(), FileDialogKind::SaveDatabase);
        QCOMPARE(untitled->shownTitle(), QString("<NoName>*"));
        QVERIFY(!frame.close() && frame.isVisible());  // Yes, then the save dialog is cancelled
        QCOMPARE(frame.databaseWindows(), QList<DatabaseWindow*>{untitled});
        QCOMPARE(world.messageTexts(), Texts{"Do you want to save changes to '<NoName>'?"});
        world.fileNames = {world.path("kept")};
        untitled->runCommand(cmd::Close);  // posted: nothing happens yet
        QCOMPARE(world.messageTexts().size(), std::size_t{1});
        settle();
        settle();
        QVERIFY(QFile::exists(world.qpath("kept.tdb")) && frame.databaseWindows().isEmpty());
        QVERIFY(frame.close());
    }

    // Commands go to the current window once, and not while a long operation runs; Help.
    void commandsArePostedToCurrentWindowOnce() {
        ShellWorld world;
        FrameWindow frame;
        frame.command(cmd::DeleteClient);  // no window: nothing at all
        settle();
        QVERIFY(world.feedback->empty());
        frame.setUrlOpener([](const QUrl&) { return false; });
        const QString previous = QDir::currentPath();
        QDir::setCurrent(world.dir.path());  // no Tarn.pdf here or beside the program
        frame.command(cmd::Help);
        frame.command(cmd::VisitWebsite);
        QDir::setCurrent(previous);
        QCOMPARE(world.messageTexts(),
                 (Texts{"Failed to open \"Tarn.pdf\".",
                        "Failed to open \"https://www.tarn-radio.example/\"."}));
        world.feedback->clear();
        frame.openDatabaseWindow(std::nullopt, false);
        DatabaseWindow* second = frame.openDatabaseWindow(std::nullopt, true);
        frame.show();
        frame.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&frame));
        frame.command(cmd::DeleteClient);
        QVERIFY(world.feedback->empty());  // posted, not yet handled
        settle();
        QCOMPARE(world.messageTexts(), Texts{msg::kNoClientsSelected});
        QCOMPARE(world.feedback->messages()[0].window, static_cast<WindowHandle>(second));
        clickRow(*second, 0);
        world.feedback->clear();
        world.feedback->script({MessageAnswer::No});
        QTest::keyClick(&second->list(), Qt::Key_Delete);
        settle();
        QCOMPARE(world.feedback->messages().size(), std::size_t{1});
        QTest::keyClick(&second->list(), Qt::Key_F8);
        settle();
        QCOMPARE(columnTexts(*second, 1), QStringList{"Advanced"});
        clickRow(*second, 0);
        QTest::keyClick(&second->list(), Qt::Key_Return);  // edits the focused row
        settle();
        QCOMPARE(world.editedClients.size(), std::size_t{1});

        // During a radio transfer or print job the toolbar's New and Ctrl+F4 are discarded.
        world.feedback->clear();
        QWidget* newButton = frame.toolBar()->widgetForAction(frame.toolBar()->actions()[0]);
        QtProgressUi ui;
        for (const auto kind : {ProgressUi::Kind::Progress, ProgressUi::Kind::Printing}) {
            auto progress = ui.create(kind, second);
            ui.enableWindow(second, false);
            QTest::mouseClick(newButton, Qt::LeftButton);
            QTest::keyClick(&frame, Qt::Key_F4, Qt::ControlModifier);
            progress->update(50, nullptr);
            ui.enableWindow(second, true);
            progress.reset();
            settle();
            QVERIFY(frame.databaseWindows().size() == 2 && world.feedback->empty());
        }
        QTest::mouseClick(newButton, Qt::LeftButton);  // afterwards it works again
        settle();
        QCOMPARE(frame.databaseWindows().size(), 3);
    }

    void recentFilesAndOpening() {
        ShellWorld world;
        world.settings.write("MRU count", "3");
        world.settings.write("MRU_0", "/data/newest.tdb");
        world.settings.write("MRU_1", "<NoName>");
        world.settings.write("MRU_2", "C:\\fleet\\old.tdb");
        writeDatabase(world.path("a.tdb"), {"A"});
        FrameWindow frame;
        frame.show();
        world.services->recentFilesChanged = [&frame] { frame.postRecentFilesChanged(); };
        settle();
        const QStringList items = itemsOf(frame.fileMenu());
        const auto first = items.indexOf("Open &backup folder|40140") + 1;
        QCOMPARE(items.mid(first, 4),
                 (QStringList{"-", "&1. newest.tdb|40036", "&3. old.tdb|40038", "-"}));
        // Opening a file, maximised, puts it first once the posted rebuild has run.
        QVERIFY(frame.openDatabaseWindow(world.path("a.tdb"), true)->isMaximized());
        QCOMPARE(itemsOf(frame.fileMenu()), items);
        settle();
        QCOMPARE(itemsOf(frame.fileMenu()).mid(first + 1, 3),
                 (QStringList{"&1. a.tdb|40036", "&2. newest.tdb|40037", "&4. old.tdb|40039"}));
        // The recent item opens a second window on the file; Open activates one on it.
        frame.fileMenu()->actions()[first + 1]->trigger();
        world.fileNames = {world.path("a.tdb")};
        frame.command(cmd::Open);
        QCOMPARE(frame.databaseWindows().size(), 2);
        QCOMPARE(static_cast<DatabaseWindow*>(frame.mdiArea()->currentSubWindow())->fileName(),
                 world.path("a.tdb"));
#ifndef Q_OS_WIN
        writeDatabase(world.path("A.TDB"), {"B"});  // another letter case is another file
        world.fileNames = {world.path("A.TDB")};
        frame.command(cmd::Open);
        QCOMPARE(frame.databaseWindows().size(), 3);
#endif
        // The modified mark in the title and the Window menu; only the active item checked.
        auto* active = static_cast<DatabaseWindow*>(frame.mdiArea()->currentSubWindow());
        active->runCommand(cmd::NewClient);
        settle();
        emit frame.windowMenu()->aboutToShow();
        QStringList marks;
        for (QAction* item : frame.windowMenu()->actions())
            if (item->text().contains(world.dir.path()))
                marks << item->text().section(' ', 1) + (item->isCheckable() ? " [x]" : "");
        QCOMPARE(marks, (QStringList{world.qpath("a.tdb"), world.qpath("a.tdb"),
                                     world.qpath("A.TDB") + "* [x]"}));
    }

    void findShowsMatchesAndCommandsReachOnlyThem() {
        ShellWorld world;
        Scene scene(world, {"Alpha", "Bravo", "alpine", "Charlie"});
        ClientList& list = scene.window->list();
        list.setFocus();
        list.selectAll();
        scene.click(1, Qt::ControlModifier);  // focus mark on Bravo, deselected
        scene.click(1, Qt::ControlModifier);
        QTest::keyClick(&list, Qt::Key_F, Qt::ControlModifier);
        QTest::keyClicks(&scene.window->findField(), "AL");
        QCOMPARE(scene.column(0) << scene.window->findStatus().text(),
                 (QStringList{"Alpha", "alpine", "2 of 4 clients"}));
        QCOMPARE(list.focusedClient(), -1);
        QCOMPARE(list.selectedClients(), (std::vector<int>{0, 2}));  // Charlie was selected too
        scene.run(cmd::DeleteClient);  // only the selected rows that are shown
        QCOMPARE(scene.db().clientCount(), 2);
        QCOMPARE(scene.window->findStatus().text(), QString("0 of 2 clients"));
        // With every row hidden, Edit says nothing is selected rather than offer a new client.
        world.feedback->clear();
        scene.run(cmd::EditClient);
        QCOMPARE(world.messageTexts(), Texts{"There is no client selected to edit."});
        QTest::keyClick(&scene.window->findField(), Qt::Key_Escape);
        QCOMPARE(
            scene.column(0) << scene.window->findField().text() + scene.window->findStatus().text(),
            (QStringList{"Bravo", "Charlie", ""}));
        // Enter in the field goes to the first match, Enter there edits it.
        QTest::keyClick(&list, Qt::Key_F, Qt::ControlModifier);
        QTest::keyClicks(&scene.window->findField(), "ch");
        QTest::keyClick(&scene.window->findField(), Qt::Key_Return);
        QVERIFY(list.hasFocus() && list.focusedClient() == 1);
        QCOMPARE(list.selectedClients(), std::vector<int>{1});
        QTest::keyClick(&list, Qt::Key_Return);
        settle();
        QCOMPARE(world.editedClients, Texts{"Charlie"});
        // A new client is the current and only selected row, ready for F6.
        scene.window->findField().clear();
        scene.run(cmd::NewClient);
        QVERIFY(list.focusedClient() == 2 && list.selectedClients() == std::vector<int>{2});
    }

    // The frame's title, the keyboard and the status bar follow the active window; Exit
    // asks about each window while it is the active one.
    void titleFocusAndStatusFollowTheActiveWindow() {
        ShellWorld world;
        Scene scene(world);
        FrameWindow& frame = scene.frame;
        const QString first = "Tarn DataBase - [" + world.qpath("scene.tdb") + "*]";
        const auto shown = [&] {  // the title, the status and the list with the keys
            const auto* list = qobject_cast<ClientList*>(QApplication::focusWidget());
            return frame.windowHandle()->title() + frame.statusText() +
                   (list && list->parentWidget()->parentWidget() == frame.currentDatabaseWindow()
                        ? "|keys"
                        : "");
        };
        QVERIFY(QTest::qWaitForWindowActive(&frame));
        scene.run(cmd::NewClient);
        emit scene.window->radioReported("Read into 'A'");
        QCOMPARE(shown(), first + "Read into 'A'|keys");
        DatabaseWindow* second = frame.openDatabaseWindow(std::nullopt, false);
        settle();
        QCOMPARE(shown(), QString("Tarn DataBase - [<NoName>*]|keys"));
        world.feedback->script({MessageAnswer::No});
        QVERIFY(second->close());
        settle();
        QCOMPARE(shown(), first + "Read into 'A'|keys");
        frame.openDatabaseWindow(std::nullopt, false);
        settle();
        QStringList asked;
        world.feedback->whileShown = [&] { asked << frame.windowHandle()->title(); };
        world.feedback->script({MessageAnswer::No, MessageAnswer::No});
        QVERIFY(frame.close());
        world.feedback->whileShown = nullptr;
        QCOMPARE(asked, (QStringList{first, "Tarn DataBase - [<NoName>*]"}));
    }

    // New windows never land on an earlier one's corner; Cascade keeps all inside the area;
    // title bars name the file first; a name of 31 capitals shows whole.
    void windowsFitTheArea() {
        ShellWorld world;
        FrameWindow frame;
        frame.resize(900, 600);
        frame.show();
        const QRect area = frame.mdiArea()->viewport()->rect();
        QSet<std::pair<int, int>> corners;
        for (int i = 0; i < 6; ++i) {
            const DatabaseWindow* window = frame.openDatabaseWindow(std::nullopt, false);
            QVERIFY(area.contains(window->geometry()));
            corners.insert({window->x(), window->y()});
        }
        frame.databaseWindows()[2]->showMaximized();
        frame.command(cmd::Cascade);
        for (const DatabaseWindow* window : frame.databaseWindows()) {
            QVERIFY(area.contains(window->geometry()));
            corners.insert({window->x(), window->y() + 1000});
        }
        QCOMPARE(corners.size(), 12);
        const QFontMetrics metrics(frame.font());
        const QString path = "/home/dealer/customers/fleet.tdb";
        QCOMPARE(titleBarText(metrics, path, true, 1000), "fleet.tdb* — /home/dealer/customers");
        QVERIFY(titleBarText(metrics, path, false, metrics.horizontalAdvance("fleet.tdb — /home"))
                    .startsWith("fleet.tdb — /"));
        const ClientList& list = frame.databaseWindows()[0]->list();
        QVERIFY(list.fontMetrics().horizontalAdvance("COASTGUARD STATION PORT LINCOLN") <
                list.columnWidth(0));
    }

    // A preview first, then all or nothing: the readable clients, the first that fit and
    // the file's dealer text only when asked; a file without clients is a failure.
    void importShowsAPreviewAndIsAllOrNothing() {
        ShellWorld world;
        Scene scene(world, {"Old"});
        writeDatabase(world.path("source.tdb"), {"New1", "New2"});
        ClientDatabase source(false);
        QVERIFY(source.load(world.path("source.tdb")));
        std::strcpy(source.dealerText().data(), "Source Marine");
        QVERIFY(exportCsv(source, world.path("good.csv")));
        writeFile(world.path("bad.csv"),
                  fileBytes(world.path("good.csv")) + "\nBroken\nnot,a,heading\n");
        writeFile(world.path("dealer.csv"), "Dealer only\r\n");
        world.fileNames = {world.path("dealer.csv")};
        scene.run(cmd::Import);
        QCOMPARE(world.messageTexts(), Texts{"The file holds no clients. Nothing was imported."});

        // Presses `button` in the preview; what it showed.
        auto import = [&](const char* file, const QString& button) {
            QStringList shown;
            whenModal([&](QWidget* preview) {
                shown = lines(preview->findChild<QListWidget*>("problems"));
                for (QPushButton* b : preview->findChildren<QPushButton*>()) {
                    shown << b->text() + (b->isEnabled() ? "" : " (off)");
                    if (b->text() == button) b->click();
                }
            });
            world.fileNames = {world.path(file)};
            scene.run(cmd::Import);
            return shown;
        };
        QCOMPARE(import("bad.csv", "Cancel"),
                 (QStringList{"line 14: expected \"" + QString(kCsvClientHeading.data()) + "\"",
                              "Import (off)", "Import the readable", "Cancel"}));
        QCOMPARE(scene.db().clientCount(), 1);
        import("bad.csv", "Import the readable");
        QCOMPARE(scene.column(0), (QStringList{"Old", "New1", "New2"}));
        QCOMPARE(world.messageTexts().back(), std::string("Imported 2 clients with 0 channels."));
        QCOMPARE(scene.window->list().selectedClients(), (std::vector<int>{1, 2}));
        QCOMPARE(scene.window->list().focusedClient(), 1);
        QCOMPARE(QString::fromStdString(scene.window->document().history().undoName()),
                 QString("Import 2 clients"));
        scene.run(cmd::Undo);
        QVERIFY(scene.column(0) == QStringList{"Old"} && !scene.window->isWindowModified());

        // Room for one: asked, No imports nothing, Yes the first one.
        while (scene.db().addClient() >= 0) {
        }
        scene.db().deleteClient(0);
        scene.window->refillClientList();
        world.feedback->script({MessageAnswer::No, MessageAnswer::Yes});
        import("good.csv", "Import");
        QCOMPARE(scene.db().clientCount(), 999);
        import("good.csv", "Import");
        QCOMPARE(world.messageTexts()[world.messageTexts().size() - 2],
                 std::string("The file holds 2 clients; the database has room for 1 more (it "
                             "holds at most 1000).\n\nImport the first 1?"));
        QCOMPARE(scene.db().clientCount(), 1000);

        // Into a database without clients: the file's dealer text, asked about one's own.
        while (scene.db().clientCount() > 0) scene.db().deleteClient(0);
        std::strcpy(scene.db().dealerText().data(), "Own Radio");
        scene.window->refillClientList();
        world.feedback->script({MessageAnswer::Yes});
        import("good.csv", "Import");
        QCOMPARE(world.messageTexts()[world.messageTexts().size() - 2],
                 std::string("The database's dealer text is \"Own Radio\".\n\nReplace it with "
                             "the file's first line, \"Source Marine\"?"));
        QCOMPARE(scene.db().dealerString() + std::to_string(scene.db().clientCount()),
                 std::string("Source Marine2"));
        scene.run(cmd::Undo);  // one step
        QCOMPARE(scene.db().dealerString() + std::to_string(scene.db().clientCount()),
                 std::string("Own Radio0"));
    }

    // A fleet: shared selcalls marked, numbered apart, one client's channels given to the
    // others after the preview, and each selected client printed into its own PDF.
    void fleetCommands() {
        ShellWorld world;
        Scene scene(world, {"A", "B", "C"});
        ClientList& list = scene.window->list();
        for (int i = 0; i < 3; ++i) scene.db().client(i)->setSelcall("1234");
        scene.window->refillClientList();
        const auto selcallCell = [&](int row, int role) {
            return list.model()->index(row, 3).data(role);
        };
        QCOMPARE(selcallCell(2, Qt::ToolTipRole).toString(),
                 QString("Selcall 1234 is used by 3 clients: 'A', 'B', 'C'"));
        scene.click(1);
        scene.click(2, Qt::ControlModifier);
        whenModal([](QWidget* dialog) {
            dialog->findChild<QSpinBox*>()->setValue(4242);
            static_cast<QDialog*>(dialog)->accept();
        });
        scene.run(cmd::NumberSelcalls);
        QCOMPARE(scene.column(3), (QStringList{"1234", "4242", "4243"}));
        QVERIFY(!selcallCell(0, Qt::ForegroundRole).isValid());

        scene.db().client(0)->addChannel();
        scene.click(1);
        scene.click(2, Qt::ControlModifier);
        QString preview;
        whenModal([&](QWidget* dialog) {
            auto* apply = static_cast<ApplyChannelsDialog*>(dialog);
            apply->chooseClient(0);
            preview = apply->previewText();
            apply->accept();
        });
        scene.run(cmd::ApplyChannels);
        QCOMPARE(preview, QString("1 'B': 1 added (1)\n2 'C': 1 added (1)\n"));
        QVERIFY(!scene.db().client(2)->isChannelFree(1));
        QCOMPARE(QString::fromStdString(scene.window->document().history().undoName()),
                 QString("Apply channels to 2 clients"));

        scene.click(1);
        scene.click(2, Qt::ControlModifier);
        const QString folder = QString::fromStdString(world.path("sheets"));
        QDir().mkpath(folder);
        world.fileNames = {folder.toStdString()};
        whenModal([&](QWidget* dialog) {
            dialog->findChild<QCheckBox*>("each")->setChecked(true);
            static_cast<QDialog*>(dialog)->accept();
        });
        scene.run(cmd::PrintSelected);
        QVERIFY(QFile::exists(folder + "/C.pdf"));
        QVERIFY(QFile::exists(folder + "/B.pdf") && !QFile::exists(folder + "/A.pdf"));
    }

    void everyCommandUndoesAndRedoesByteForByte() {
        const struct {
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
        for (const auto& c : cases) {
            ShellWorld world;
            Scene scene(world);
            world.editName = "E&ve";
            world.services->editDealerText = [](std::array<char, 100>& text, WindowHandle) {
                return std::snprintf(text.data(), text.size(), "Harbour Radio"), 1;
            };
            ClientRecord radio;
            radio.setOption(ClientOption::PowerLevel, PowerLevel::Low);
            world.radio(radio);
            for (std::size_t i = 0; i < c.rows.size(); ++i)
                scene.click(c.rows[i], i == 0 ? Qt::NoModifier : Qt::ControlModifier);
            const auto before = contents(scene.db());
            for (int id : c.commands) scene.run(id);
            const auto after = contents(scene.db());
            QVERIFY2(after != before, c.step);
            const QString step = QString(c.step).replace('&', "&&");
            auto item = [&](int id) { return scene.frame.menuAction(id)->text(); };
            QCOMPARE(item(cmd::Undo), "&Undo " + step + "\tCtrl-Z");
            scene.run(cmd::Undo);
            QVERIFY2(contents(scene.db()) == before, c.step);
            QCOMPARE(scene.column(0).size(), scene.db().clientCount());
            QCOMPARE(item(cmd::Redo), "&Redo " + step + "\tCtrl-Y");
            QCOMPARE(item(cmd::Undo), QString("&Undo\tCtrl-Z"));
            scene.run(cmd::Redo);
            QVERIFY2(contents(scene.db()) == after, c.step);
        }
    }
};

QTEST_MAIN(DesktopTest)
#include "desktop_test.moc"
