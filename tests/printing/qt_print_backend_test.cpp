// Printing through Qt's print dialog on the offscreen platform, whose only printer is a
// PDF file.
#include "shell/qt_print_backend.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QPrintDialog>
#include <QTemporaryDir>
#include <QTimer>

#include "database/client_database.h"
#include "printing/print_clients.h"
#include "printing/print_recorder.h"

namespace tarn::test {
namespace {

class QtPrintBackend : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        static int argc = 1;
        static char name[] = "qt_print_backend_test";
        static char* argv[] = {name, nullptr};
        new QApplication(argc, argv);  // lives to the end of the process, never among statics
    }
    void SetUp() override {
        installQtPrintBackend();
        db.addClient();
    }
    void TearDown() override { setPrintBackend(nullptr); }

    // Prints, handing the print dialog to `answer` as soon as it is up.
    bool printAnswering(const std::function<void(QPrintDialog&)>& answer) {
        QTimer timer;
        QObject::connect(&timer, &QTimer::timeout, [&] {
            if (auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget())) {
                timer.stop();
                EXPECT_EQ(dialog->parentWidget(), &owner);
                EXPECT_FALSE(dialog->testOption(QAbstractPrintDialog::PrintSelection));
                EXPECT_FALSE(dialog->testOption(QAbstractPrintDialog::PrintPageRange));
                answer(*dialog);
            }
        });
        timer.start(20);
        return printClients(db, &owner, true, "harbour.tdb", -1);
    }

    RecordingUi ui;
    ClientDatabase db{false};
    QWidget owner;
    QTemporaryDir dir;
};

TEST_F(QtPrintBackend, CancelPrintsNothingAndOkPrintsIntoTheChosenPdfFile) {
    EXPECT_FALSE(printAnswering([](QPrintDialog& dialog) { dialog.reject(); }));
    EXPECT_TRUE(ui.messages.empty() && ui.events.empty());

    const QString pdf = dir.filePath("summary.pdf");
    EXPECT_TRUE(printAnswering([&](QPrintDialog& dialog) {
        dialog.findChild<QLineEdit*>("filename")->setText(pdf);
        dialog.accept();
    }));
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(ui.events.size(), 5u);  // the Printing window came and went
    QFile file(pdf);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().startsWith("%PDF"));
}

}  // namespace
}  // namespace tarn::test
