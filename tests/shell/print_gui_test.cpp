// File > Print options and Client > Print preview.
#include <QApplication>
#include <QCheckBox>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QTimer>

#include "printing/print_options.h"
#include "shell/commands.h"
#include "shell/database_window.h"
#include "shell/frame_window.h"
#include "shell_fixture.h"

using namespace tarn;
using namespace tarn::test;

class PrintGuiTest : public QObject {
    Q_OBJECT
  private slots:
    void optionsDialogStoresOnOkOnly();
    void previewShowsTheFocusedClientsPages();
};

void PrintGuiTest::optionsDialogStoresOnOkOnly() {
    ShellWorld world;
    FrameWindow frame;
    // Ticks both boxes, then closes with OK (true) or Cancel.
    auto answer = [&](bool ok) {
        QTimer::singleShot(0, [ok] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog && dialog->windowTitle() == "Print options");
            for (QCheckBox* box : dialog->findChildren<QCheckBox*>()) box->setChecked(true);
            ok ? dialog->accept() : dialog->reject();
        });
        frame.command(cmd::EditPrintOptions);
        const PrintOptions stored = storedPrintOptions();
        return std::pair{stored.newPagePerClient, stored.pageFooter};
    };
    QCOMPARE(answer(false), std::pair(false, false));
    QCOMPARE(answer(true), std::pair(true, true));
}

void PrintGuiTest::previewShowsTheFocusedClientsPages() {
    ShellWorld world;
    const std::string file = world.path("fleet.tdb");
    writeDatabase(file, {"A", "B"});
    FrameWindow frame;
    DatabaseWindow* window = frame.openDatabaseWindow(file, true);
    frame.show();
    settle();
    window->runCommand(cmd::PrintPreview);  // no focus mark yet
    QCOMPARE(world.messageTexts(),
             std::vector<std::string>{"There is no client selected to print."});
    for (int i = 0; i < 200; ++i) window->database().client(i % 2)->addChannel();  // 2 pages each
    clickRow(*window, 1);
    window->runCommand(cmd::PrintPreview);
    settle();
    auto* preview = window->findChild<QPrintPreviewDialog*>();
    QVERIFY(preview && preview->isVisible());
    QCOMPARE(preview->findChild<QPrintPreviewWidget*>()->pageCount(), 2);
    preview->close();
    settle();
    QVERIFY(!window->findChild<QPrintPreviewDialog*>());
}

QTEST_MAIN(PrintGuiTest)
#include "print_gui_test.moc"
