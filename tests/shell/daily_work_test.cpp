// Daily work in a database window: finding clients, windows that fit, the modified mark
// and importing a CSV file.

#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMenu>
#include <QUndoStack>
#include <QtTest>
#include <fstream>

#include "database/csv_export.h"
#include "shell/client_list.h"
#include "shell/commands.h"
#include "shell/database_window.h"
#include "shell/frame_window.h"
#include "shell_fixture.h"

using namespace tarn;
using namespace tarn::test;

namespace {

struct Scene {
    explicit Scene(ShellWorld& world, const std::vector<std::string>& names) {
        writeDatabase(world.path("scene.tdb"), names);
        frame.resize(900, 600);
        frame.show();
        window = frame.openDatabaseWindow(world.path("scene.tdb"), false);
        settle();
        world.feedback->clear();
    }
    void run(int id) {
        window->runCommand(id);
        settle();
    }
    FrameWindow frame;
    DatabaseWindow* window = nullptr;
};

}  // namespace

class DailyWorkTest : public QObject {
    Q_OBJECT
  private slots:
    void findShowsMatchesAndCommandsReachOnlyThem();
    void windowsOpenAndCascadeAtTheAreaSize();
    void titlesAndWindowMenuMarkModifiedAndActive();
    void importAppendsReadableClientsOnlyWhenAsked();
};

void DailyWorkTest::findShowsMatchesAndCommandsReachOnlyThem() {
    ShellWorld world;
    Scene scene(world, {"Alpha", "Bravo", "alpine", "Charlie"});
    ClientList& list = scene.window->list();
    list.setFocus();
    list.selectAll();
    clickRow(*scene.window, 1, Qt::ControlModifier);  // focus mark on Bravo, deselected
    clickRow(*scene.window, 1, Qt::ControlModifier);
    QCOMPARE(list.focusedClient(), 1);
    QTest::keyClick(&list, Qt::Key_F, Qt::ControlModifier);
    QVERIFY(scene.window->findField().hasFocus());
    QTest::keyClicks(&scene.window->findField(), "AL");
    QCOMPARE(columnTexts(*scene.window, 0), (QStringList{"Alpha", "alpine"}));
    QCOMPARE(scene.window->findStatus().text(), QString("2 of 4 clients"));
    QCOMPARE(list.focusedClient(), -1);
    QCOMPARE(list.selectedClients(), (std::vector<int>{0, 2}));  // Charlie was selected too
    // Delete reaches only the selected rows that are shown.
    world.feedback->script({MessageAnswer::Yes});
    scene.run(cmd::DeleteClient);
    QCOMPARE(scene.window->database().clientCount(), 2);
    QCOMPARE(columnTexts(*scene.window, 0), QStringList{});
    QCOMPARE(scene.window->findStatus().text(), QString("0 of 2 clients"));
    // With every row hidden, Edit says nothing is selected rather than offer a new client.
    world.feedback->clear();
    scene.run(cmd::EditClient);
    QCOMPARE(world.messageTexts(),
             std::vector<std::string>{"There is no client selected to edit."});
    QTest::keyClick(&scene.window->findField(), Qt::Key_Escape);
    QVERIFY(scene.window->findField().text().isEmpty());
    QCOMPARE(columnTexts(*scene.window, 0), (QStringList{"Bravo", "Charlie"}));
    QVERIFY(scene.window->findStatus().text().isEmpty());
}

void DailyWorkTest::windowsOpenAndCascadeAtTheAreaSize() {
    ShellWorld world;
    Scene scene(world, {"A"});
    DatabaseWindow* second = scene.frame.openDatabaseWindow(std::nullopt, false);
    settle();
    const QSize area = scene.frame.mdiArea()->viewport()->size();
    for (DatabaseWindow* window : {scene.window, second}) {
        QVERIFY(window->width() >= window->list().horizontalHeader()->length());
        QVERIFY2(window->width() > area.width() - 40 && window->height() > area.height() - 40,
                 qPrintable(QString("%1x%2 in %3x%4")
                                .arg(window->width())
                                .arg(window->height())
                                .arg(area.width())
                                .arg(area.height())));
    }
    QVERIFY(second->pos() != scene.window->pos());
    // With no widths stored, the columns fit their longest texts ("Advanced", not "Advan...").
    const ClientList& list = second->list();
    QVERIFY(list.columnWidth(1) > list.fontMetrics().horizontalAdvance("Advanced"));
    QVERIFY(list.columnWidth(3) > list.fontMetrics().horizontalAdvance("SelCall"));
    const QSize size = second->size();
    scene.frame.command(cmd::Cascade);
    settle();
    QCOMPARE(second->size(), size);
    QCOMPARE(scene.window->size(), size);
}

void DailyWorkTest::titlesAndWindowMenuMarkModifiedAndActive() {
    ShellWorld world;
    Scene scene(world, {"A", "B"});
    DatabaseWindow* second = scene.frame.openDatabaseWindow(world.path("scene.tdb"), false);
    settle();
    QVERIFY(!scene.window->isWindowModified());
    scene.frame.mdiArea()->setActiveSubWindow(scene.window);
    clickRow(*scene.window, 0);
    scene.run(cmd::MakeAdvanced);
    QVERIFY(scene.window->isWindowModified());
    QCOMPARE(scene.window->shownTitle(), QString::fromStdString(world.path("scene.tdb") + "*"));
    emit scene.frame.windowMenu()->aboutToShow();
    QStringList items;
    for (QAction* item : scene.frame.windowMenu()->actions())
        if (item->text().startsWith('&'))
            items << item->text() + (item->isCheckable() ? " [x]" : "") +
                         (item->isChecked() ? " on" : "");
    const QString name = QString::fromStdString(world.path("scene.tdb"));
    QCOMPARE(items, (QStringList{"&Next", "&Previous", "&1 " + name + "* [x] on", "&2 " + name}));
    scene.run(cmd::Save);
    QVERIFY(!scene.window->isWindowModified());
    QVERIFY(!second->isWindowModified());
}

void DailyWorkTest::importAppendsReadableClientsOnlyWhenAsked() {
    ShellWorld world;
    Scene scene(world, {"Old"});
    {
        ClientDatabase source(false);
        writeDatabase(world.path("source.tdb"), {"New1", "New2"});
        QVERIFY(source.load(world.path("source.tdb")));
        QVERIFY(exportCsv(source, world.path("good.csv")));
    }
    std::ifstream in(world.path("good.csv"));
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::ofstream(world.path("bad.csv")) << text << "\nBroken\nnot,a,heading\n";
    // A damaged file asks first; No (the default) imports nothing.
    world.scriptFileNames({world.path("bad.csv"), world.path("bad.csv"), world.path("good")});
    world.feedback->script({MessageAnswer::No});
    scene.run(cmd::Import);
    QCOMPARE(world.askedKinds, std::vector<FileDialogKind>{FileDialogKind::ImportCsv});
    QCOMPARE(scene.window->database().clientCount(), 1);
    QVERIFY(!scene.window->isWindowModified());
    QVERIFY(world.messageTexts().back().find("Import the readable clients?") != std::string::npos);
    world.feedback->clear();
    world.feedback->script({MessageAnswer::Yes});
    scene.run(cmd::Import);
    QCOMPARE(columnTexts(*scene.window, 0), (QStringList{"Old", "New1", "New2"}));
    QCOMPARE(world.messageTexts().back(), std::string("Imported 2 clients with 0 channels."));
    QVERIFY(scene.window->isWindowModified());
    // The import is one step to undo.
    QCOMPARE(scene.window->undoStack()->undoText(), QString("Import 2 clients"));
    scene.run(cmd::Undo);
    QCOMPARE(columnTexts(*scene.window, 0), QStringList{"Old"});
    QVERIFY(!scene.window->isWindowModified());
    // Export: a name without an extension gets ".csv".
    scene.run(cmd::Export);
    QVERIFY(QFile::exists(QString::fromStdString(world.path("good.csv"))));
    QVERIFY(!QFile::exists(QString::fromStdString(world.path("good"))));
}

QTEST_MAIN(DailyWorkTest)
#include "daily_work_test.moc"
