// The frame: its menus, toolbar and shortcuts, routing of commands to the current
// database window, the Window commands, recent files, dropped files, Help and closing.
#include <QApplication>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QToolBar>

#include "shell/client_list.h"
#include "shell/commands.h"
#include "shell/database_window.h"
#include "shell/frame_window.h"
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

QMenu* menuNamed(FrameWindow& frame, const QString& title) {
    for (QAction* action : frame.menuBar()->actions())
        if (action->text() == title) return action->menu();
    return nullptr;
}

}  // namespace

class FrameWindowTest : public QObject {
    Q_OBJECT
  private slots:
    void menusCarryTextsAndCommandNumbers();
    void toolbarHasSeventeenEntries();
    void databaseCommandsArePostedToCurrentWindow();
    void deleteKeyRunsCommandOnce();
    void windowCommandsArrangeAndCycle();
    void windowMenuListsOpenDatabases();
    void recentFilesRebuildTheFileMenu();
    void recentFilesFoundWhileMaximised();
    void openActivatesWindowAlreadyOnFile();
    void openOfUnreadableFileIsNotRecent();
    void droppedFilesAskAboveTwenty();
    void dropEventOpensLocalFiles();
    void helpAndWebsiteReportFailure();
    void closeKeepsFrameWhileDatabaseUnsaved();
    void closeSavesPlacement();
};

void FrameWindowTest::menusCarryTextsAndCommandNumbers() {
    ShellWorld world;
    FrameWindow frame;
    settle();
    QStringList titles;
    for (QAction* action : frame.menuBar()->actions()) titles.append(action->text());
    QCOMPARE(titles, (QStringList{"&File", "&Edit", "&Client", "&Setup", "&Window", "&Help"}));
    QCOMPARE(itemsOf(menuNamed(frame, "&File")),
             (QStringList{"&New\tCtrl-N|57600", "&Open\tCtrl-O|57601", "&Save\tCtrl-S|57603",
                          "Save &as|40003", "&Close\tCtrl-F4|57602", "-", "&Export|40042", "-", "-",
                          "E&xit\tAlt-F4|40006"}));
    QCOMPARE(itemsOf(menuNamed(frame, "&Edit")),
             (QStringList{"&Copy\tCtrl-C|57634", "&Paste\tCtrl-V|57637"}));
    QCOMPARE(itemsOf(menuNamed(frame, "&Client")),
             (QStringList{"&New\tINS|40018", "&Edit\tCR|40019", "&Delete\tDel|40020", "-",
                          "Make &advanced\tF8|40021", "Make &standard\tF9|40022", "-",
                          "&Print client\tCtrl-P|40023", "Print s&ummary|40040", "Print &all|40041",
                          "-", "&Write\tF5|40016", "&Read\tF6|40017"}));
    QCOMPARE(itemsOf(menuNamed(frame, "&Setup")),
             (QStringList{"&Radio port|40024", "&Edit dealer|40025"}));
    QCOMPARE(itemsOf(menuNamed(frame, "&Window")),
             (QStringList{"Cascade|57650", "Tile &Horizontal|40010", "Tile &Vertical|40011", "-",
                          "&Next|40027", "&Previous|40028"}));
    QCOMPARE(itemsOf(menuNamed(frame, "&Help")),
             (QStringList{"&About...|40013", "&Help|40014", "Visit &Website|40015"}));
    for (QAction* action : frame.menuBar()->actions())
        for (QAction* item : action->menu()->actions()) {
            QVERIFY(item->isEnabled());
            QVERIFY(!item->isChecked());
        }
}

void FrameWindowTest::toolbarHasSeventeenEntries() {
    ShellWorld world;
    FrameWindow frame;
    const QList<QAction*> entries = frame.toolBar()->actions();
    QCOMPARE(entries.size(), 17);
    QStringList shape;
    for (QAction* entry : entries)
        shape.append(entry->isSeparator() ? QString("-") : QString::number(entry->data().toInt()));
    QCOMPARE(shape,
             (QStringList{"57600", "57601", "57603", "-", "40023", "-", "57634", "57637", "-",
                          "40018", "40019", "40020", "-", "40016", "40017", "-", "40014"}));
    QCOMPARE(entries[6]->toolTip(), QString("Copy the selected client(s) to the clipboard"));
    QCOMPARE(entries[14]->toolTip(),
             QString("Read the radio and store in the selected client data"));
    QCOMPARE(entries[0]->icon().pixmap(16, 15).size(), QSize(16, 15));
    // The MDI area starts two pixels below the toolbar.
    frame.resize(640, 480);
    frame.show();
    settle();
    const QPoint areaTop = frame.mdiArea()->mapTo(&frame, QPoint(0, 0));
    QCOMPARE(areaTop.y(), frame.toolBar()->geometry().bottom() + 1 + 2);
}

void FrameWindowTest::databaseCommandsArePostedToCurrentWindow() {
    ShellWorld world;
    FrameWindow frame;
    frame.command(cmd::DeleteClient);  // no window: nothing at all
    settle();
    QVERIFY(world.feedback->empty());
    frame.openDatabaseWindow(std::nullopt, false);
    DatabaseWindow* second = frame.openDatabaseWindow(std::nullopt, false);
    settle();
    frame.command(cmd::DeleteClient);
    QVERIFY(world.feedback->empty());  // posted, not yet handled
    settle();
    QCOMPARE(world.messageTexts(), std::vector<std::string>{"There are no clients selected."});
    QCOMPARE(world.feedback->messages()[0].window, static_cast<WindowHandle>(second));
}

void FrameWindowTest::deleteKeyRunsCommandOnce() {
    ShellWorld world;
    FrameWindow frame;
    frame.resize(800, 500);
    DatabaseWindow* window = frame.openDatabaseWindow(std::nullopt, true);
    frame.show();
    frame.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&frame));
    settle();
    clickRow(*window, 0);
    world.feedback->script({MessageAnswer::No});
    QTest::keyClick(&window->list(), Qt::Key_Delete);
    settle();
    QCOMPARE(world.feedback->messages().size(), std::size_t{1});
    QTest::keyClick(&window->list(), Qt::Key_F8);
    settle();
    QCOMPARE(columnTexts(*window, 1), QStringList{"Advanced"});
}

void FrameWindowTest::windowCommandsArrangeAndCycle() {
    ShellWorld world;
    FrameWindow frame;
    frame.resize(800, 600);
    frame.show();
    DatabaseWindow* first = frame.openDatabaseWindow(std::nullopt, false);
    DatabaseWindow* second = frame.openDatabaseWindow(std::nullopt, false);
    settle();
    frame.command(cmd::TileVertical);
    QCOMPARE(first->y(), second->y());
    QVERIFY(first->x() != second->x());
    QCOMPARE(first->height(), frame.mdiArea()->viewport()->height());
    frame.command(cmd::TileHorizontal);
    QCOMPARE(first->x(), second->x());
    QVERIFY(first->y() != second->y());
    QCOMPARE(first->width(), frame.mdiArea()->viewport()->width());
    frame.command(cmd::Cascade);
    QVERIFY(first->pos() != second->pos());
    QMdiSubWindow* before = frame.mdiArea()->currentSubWindow();
    frame.command(cmd::NextWindow);
    QVERIFY(frame.mdiArea()->currentSubWindow() != before);
    frame.command(cmd::PreviousWindow);
    QCOMPARE(frame.mdiArea()->currentSubWindow(), before);
}

void FrameWindowTest::windowMenuListsOpenDatabases() {
    ShellWorld world;
    FrameWindow frame;
    writeDatabase(world.path("one.tdb"), {"A"});
    frame.openDatabaseWindow(world.path("one.tdb"), false);
    frame.openDatabaseWindow(std::nullopt, false);
    settle();
    emit frame.windowMenu()->aboutToShow();
    const QStringList items = itemsOf(frame.windowMenu());
    QCOMPARE(items.size(), 9);
    QVERIFY(items[7].startsWith("&1 " + QString::fromStdString(world.path("one.tdb"))));
    QVERIFY(items[8].startsWith("&2 <NoName>"));
    emit frame.windowMenu()->aboutToShow();  // rebuilt, not added twice
    QCOMPARE(itemsOf(frame.windowMenu()).size(), 9);
}

void FrameWindowTest::recentFilesRebuildTheFileMenu() {
    ShellWorld world;
    world.settings.write("MRU count", "3");
    world.settings.write("MRU_0", "/data/newest.tdb");
    world.settings.write("MRU_1", "<NoName>");
    world.settings.write("MRU_2", "C:\\fleet\\old.tdb");
    FrameWindow frame;
    settings().setRecentFilesChanged([&frame] { frame.postRecentFilesChanged(); });
    settle();
    QStringList items = itemsOf(frame.fileMenu());
    QCOMPARE(items.mid(7, 4), (QStringList{"-", "&1. newest.tdb|40036", "&3. old.tdb|40038", "-"}));
    settings().addRecentFile("/data/third.tdb");
    QCOMPARE(itemsOf(frame.fileMenu()), items);  // posted: rebuilt later
    settle();
    items = itemsOf(frame.fileMenu());
    // The entry "<NoName>" moved to place 3 and still shows nothing.
    QCOMPARE(items.mid(8, 4), (QStringList{"&1. third.tdb|40036", "&2. newest.tdb|40037",
                                           "&4. old.tdb|40039", "-"}));
}

void FrameWindowTest::recentFilesFoundWhileMaximised() {
    ShellWorld world;
    writeDatabase(world.path("a.tdb"), {"A"});
    FrameWindow frame;
    frame.resize(700, 500);
    frame.show();
    settings().setRecentFilesChanged([&frame] { frame.postRecentFilesChanged(); });
    DatabaseWindow* window = frame.openDatabaseWindow(world.path("a.tdb"), true);
    settle();
    QVERIFY(window->isMaximized());
    QCOMPARE(itemsOf(frame.fileMenu())[8], QString("&1. a.tdb|40036"));
    // The recent item opens a second window on the same file, maximised like the first.
    frame.fileMenu()->actions()[8]->trigger();
    settle();
    QCOMPARE(frame.databaseWindows().size(), 2);
    QVERIFY(frame.databaseWindows()[1]->isMaximized());
}

void FrameWindowTest::openActivatesWindowAlreadyOnFile() {
    ShellWorld world;
    writeDatabase(world.path("a.tdb"), {"A"});
    FrameWindow frame;
    frame.show();
    DatabaseWindow* onFile = frame.openDatabaseWindow(world.path("a.tdb"), false);
    frame.openDatabaseWindow(std::nullopt, false);
    settle();
    const std::string recentBefore = *world.settings.read("MRU_0");
    world.settings.write("MRU_0", "/elsewhere.tdb");
    world.scriptFileNames({world.path("A.TDB")});  // letter case does not matter
    frame.command(cmd::Open);
    QCOMPARE(world.askedKinds, std::vector<FileDialogKind>{FileDialogKind::OpenDatabase});
    QCOMPARE(frame.databaseWindows().size(), 2);
    QCOMPARE(frame.mdiArea()->currentSubWindow(), onFile);
    QCOMPARE(*world.settings.read("MRU_0"), std::string("/elsewhere.tdb"));
    QVERIFY(!recentBefore.empty());
}

void FrameWindowTest::openOfUnreadableFileIsNotRecent() {
    ShellWorld world;
    FrameWindow frame;
    world.scriptFileNames({world.path("missing.tdb"), world.path("there.tdb")});
    frame.command(cmd::Open);
    QCOMPARE(frame.databaseWindows().size(), 1);
    QCOMPARE(world.messageTexts(), std::vector<std::string>{"Could not open database file"});
    QVERIFY(!world.settings.read("MRU_0"));
    writeDatabase(world.path("there.tdb"), {"A"});
    world.settings.clear();
    frame.command(cmd::Open);
    QCOMPARE(*world.settings.read("MRU_0"), world.path("there.tdb"));
}

void FrameWindowTest::droppedFilesAskAboveTwenty() {
    ShellWorld world;
    writeDatabase(world.path("a.tdb"), {"A"});
    FrameWindow frame;
    QStringList twenty, twentyOne;
    for (int i = 0; i < 20; ++i) twenty.append(QString::fromStdString(world.path("a.tdb")));
    twentyOne = twenty + QStringList{QString::fromStdString(world.path("a.tdb"))};

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
    QCOMPARE(frame.databaseWindows().size(), 41);
    // A path too long to be a database path is refused with a message, not opened.
    frame.openDroppedFiles({QString(270, 'p')});
    QCOMPARE(frame.databaseWindows().size(), 41);
    QCOMPARE(world.feedback->messages().size(), std::size_t{1});
}

void FrameWindowTest::dropEventOpensLocalFiles() {
    ShellWorld world;
    writeDatabase(world.path("a.tdb"), {"A"});
    writeDatabase(world.path("b.tdb"), {"B"});
    FrameWindow frame;
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QString::fromStdString(world.path("a.tdb"))),
                  QUrl("https://example.com/x.tdb"),
                  QUrl::fromLocalFile(QString::fromStdString(world.path("b.tdb")))});
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    static_cast<QObject&>(frame).event(&drop);  // straight to the frame, as a drop lands
    const QList<DatabaseWindow*> windows = frame.databaseWindows();
    QCOMPARE(windows.size(), 2);
    QCOMPARE(windows[1]->fileName(), world.path("b.tdb"));
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
    QCOMPARE(world.feedback->messages()[0].owner, MessageOwner::Kind::Frame);
    QCOMPARE(opened.size(), 2);
    QCOMPARE(opened[0].fileName(), QString("Tarn.pdf"));
}

void FrameWindowTest::closeKeepsFrameWhileDatabaseUnsaved() {
    ShellWorld world;
    writeDatabase(world.path("a.tdb"), {"A"});
    FrameWindow frame;
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
}

void FrameWindowTest::closeSavesPlacement() {
    ShellWorld world;
    FrameWindow frame;
    frame.setGeometry(30, 40, 500, 300);
    frame.show();
    settle();
    QVERIFY(frame.close());
    // The outer corner (as the frame is placed at start-up) and the inner size.
    QCOMPARE(*world.settings.read("Window Placement"),
             QString("%1 %2 500 300").arg(frame.x()).arg(frame.y()).toStdString());
    QVERIFY(frame.x() <= 30 && frame.y() <= 40);
}

QTEST_MAIN(FrameWindowTest)
#include "frame_window_test.moc"
