// The frame: shortcuts and routing of commands to the current database window, the
// Window commands, recent files, dropped files, Help and closing.
#include <QApplication>
#include <QMdiArea>
#include <QMenu>
#include <QMimeData>
#include <QToolBar>

#include "shell/client_list.h"
#include "shell/commands.h"
#include "shell/database_window.h"
#include "shell/frame_window.h"
#include "shell/help_file.h"
#include "shell/qt_progress.h"
#include "shell_fixture.h"

using namespace tarn;
using namespace tarn::test;

namespace {

// "text|command" for every item of a menu; separators are "-".
QStringList itemsOf(const QMenu* menu) {
    QStringList items;
    for (const QAction* action : menu->actions())
        items.append(action->isSeparator()
                         ? QString("-")
                         : QString("%1|%2").arg(action->text()).arg(action->data().toInt()));
    return items;
}

QString pathOf(ShellWorld& world, const std::string& name) {
    return QString::fromStdString(world.path(name));
}

}  // namespace

class FrameWindowTest : public QObject {
    Q_OBJECT
  private slots:
    void databaseCommandsArePostedToCurrentWindow();
    void windowCommandsArrangeCycleAndList();
    void recentFilesRebuildTheFileMenu();
    void openActivatesWindowAlreadyOnFile();
    void droppedFilesAskAboveTwenty();
    void helpAndWebsiteReportFailure();
    void helpFileFoundInFirstFolderHoldingIt();
    void closeKeepsFrameWhileDatabaseUnsavedAndSavesPlacement();
    void inputDuringLongOperationIsDiscarded();
};

void FrameWindowTest::databaseCommandsArePostedToCurrentWindow() {
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
    QCOMPARE(world.messageTexts(), std::vector<std::string>{"There are no clients selected."});
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

void FrameWindowTest::windowCommandsArrangeCycleAndList() {
    ShellWorld world;
    FrameWindow frame;
    frame.resize(800, 600);
    frame.show();
    writeDatabase(world.path("one.tdb"), {"A"});
    DatabaseWindow* first = frame.openDatabaseWindow(world.path("one.tdb"), false);
    DatabaseWindow* second = frame.openDatabaseWindow(std::nullopt, false);
    settle();
    frame.command(cmd::TileVertical);
    QVERIFY(first->y() == second->y() && first->x() != second->x());
    frame.command(cmd::TileHorizontal);
    QVERIFY(first->x() == second->x() && first->y() != second->y());

    emit frame.windowMenu()->aboutToShow();
    emit frame.windowMenu()->aboutToShow();  // rebuilt, not added twice
    const QStringList items = itemsOf(frame.windowMenu());
    QCOMPARE(items.size(), 9);
    QVERIFY(items[7].startsWith("&1 " + pathOf(world, "one.tdb")));
    QVERIFY(items[8].startsWith("&2 <NoName>"));
}

void FrameWindowTest::recentFilesRebuildTheFileMenu() {
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
    frame.fileMenu()->insertAction(frame.fileMenu()->actions().value(0), new QAction("X", &frame));
    settle();
    QStringList items = itemsOf(frame.fileMenu());
    QCOMPARE(items.mid(9, 4), (QStringList{"-", "&1. newest.tdb|40036", "&3. old.tdb|40038", "-"}));
    // Opening a file, maximised, puts it first once the posted rebuild has run.
    DatabaseWindow* window = frame.openDatabaseWindow(world.path("a.tdb"), true);
    QCOMPARE(itemsOf(frame.fileMenu()), items);  // posted: rebuilt later
    settle();
    QVERIFY(window->isMaximized());
    QCOMPARE(itemsOf(frame.fileMenu()).mid(10, 3),
             (QStringList{"&1. a.tdb|40036", "&2. newest.tdb|40037", "&4. old.tdb|40039"}));
    // The recent item opens a second window on the same file, maximised like the first.
    frame.fileMenu()->actions()[10]->trigger();
    settle();
    QCOMPARE(frame.databaseWindows().size(), 2);
    QVERIFY(frame.databaseWindows()[1]->isMaximized());
}

void FrameWindowTest::openActivatesWindowAlreadyOnFile() {
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

void FrameWindowTest::droppedFilesAskAboveTwenty() {
    ShellWorld world;
    writeDatabase(world.path("a.tdb"), {"A"});
    writeDatabase(world.path("b.tdb"), {"B"});
    FrameWindow frame;
    const QStringList twenty(20, pathOf(world, "a.tdb"));
    const QStringList twentyOne = twenty + QStringList{pathOf(world, "a.tdb")};

    world.feedback->script({MessageAnswer::No, MessageAnswer::Yes});
    frame.openDroppedFiles(twentyOne);
    QCOMPARE(frame.databaseWindows().size(), 0);
    QCOMPARE(world.messageTexts(),
             std::vector<std::string>{"Do you really want to open 21 files?"});
    QCOMPARE(world.feedback->messages()[0].owner, MessageOwner::Kind::Frame);
    frame.openDroppedFiles(twentyOne);
    QCOMPARE(frame.databaseWindows().size(), 21);
    world.feedback->clear();
    frame.openDroppedFiles(twenty);
    QVERIFY(world.feedback->empty());

    // A drop event opens the local files only.
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(pathOf(world, "a.tdb")), QUrl("https://example.com/x.tdb"),
                  QUrl::fromLocalFile(pathOf(world, "b.tdb"))});
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    static_cast<QObject&>(frame).event(&drop);  // straight to the frame, as a drop lands
    QCOMPARE(frame.databaseWindows().size(), 43);
}

void FrameWindowTest::helpAndWebsiteReportFailure() {
    ShellWorld world;
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
    QFile pdf("Tarn.pdf");
    QVERIFY(pdf.open(QIODevice::WriteOnly));
    pdf.close();
    frame.command(cmd::Help);
    opens = false;
    frame.command(cmd::VisitWebsite);
    QDir::setCurrent(previous);
    QCOMPARE(world.messageTexts(),
             (std::vector<std::string>{"Failed to open \"Tarn.pdf\".",
                                       "Failed to open \"https://www.tarn-radio.example/\"."}));
    QCOMPARE(opened.size(), 2);
}

void FrameWindowTest::helpFileFoundInFirstFolderHoldingIt() {
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
}

void FrameWindowTest::closeKeepsFrameWhileDatabaseUnsavedAndSavesPlacement() {
    ShellWorld world;
    writeDatabase(world.path("a.tdb"), {"A"});
    FrameWindow frame;
    frame.setGeometry(30, 40, 500, 300);
    frame.show();
    frame.openDatabaseWindow(world.path("a.tdb"), false);
    frame.openDatabaseWindow(std::nullopt, false);  // modified, untitled
    settle();
    // Yes to saving the untitled one, then its save dialog is cancelled.
    QVERIFY(!frame.close());
    QVERIFY(frame.isVisible());
    QCOMPARE(frame.databaseWindows().size(), 1);
    QCOMPARE(world.messageTexts(),
             std::vector<std::string>{"Do you want to save changes to '<NoName>'?"});
    world.feedback->script({MessageAnswer::No});
    QVERIFY(frame.close());
    // The outer corner (as the frame is placed at start-up) and the inner size.
    QCOMPARE(*world.settings.read("Window Placement"),
             QString("%1 %2 500 300").arg(frame.x()).arg(frame.y()).toStdString());
    QVERIFY(frame.x() <= 30 && frame.y() <= 40);
}

void FrameWindowTest::inputDuringLongOperationIsDiscarded() {
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

QTEST_MAIN(FrameWindowTest)
#include "frame_window_test.moc"
