// Printing through Qt's print dialog, driven on the offscreen platform where the dialog
// offers printing into a PDF file.
#include "shell/qt_print_backend.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QPrintDialog>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>

#include "database/client_database.h"
#include "model/client_record.h"
#include "printing/print_clients.h"
#include "printing/print_surface.h"
#include "printing/recording_ui.h"

namespace tarn::test {
namespace {

class QtPrintBackendTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        static int argc = 1;
        static char name[] = "qt_print_backend_test";
        static char* argv[] = {name, nullptr};
        // Kept to the end of the process: a widget application must not be destroyed
        // among the other static objects.
        static QApplication* app = new QApplication(argc, argv);
        (void)app;
    }

    void SetUp() override {
        installQtPrintBackend();
        db.client(db.addClient())->setName("Ketch Aurora");
    }
    void TearDown() override { setPrintBackend(nullptr); }

    // Runs `answer` on the print dialog as soon as it is up, and prints.
    bool printAnswering(const std::function<void(QPrintDialog&)>& answer) {
        QTimer timer;
        timer.setInterval(20);
        QObject::connect(&timer, &QTimer::timeout, [&] {
            if (auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget())) {
                timer.stop();
                seen = dialog;
                options = dialog->options();
                parent = dialog->parentWidget();
                answer(*dialog);
            }
        });
        timer.start();
        return printClients(db, &owner, true, "harbour.tdb", -1);
    }

    RecordingUi ui;
    ClientDatabase db{false};
    QWidget owner;
    QTemporaryDir dir;
    QPrintDialog* seen = nullptr;
    QAbstractPrintDialog::PrintDialogOptions options;
    QWidget* parent = nullptr;
};

TEST_F(QtPrintBackendTest, CancelledDialogPrintsNothingAndSaysNothing) {
    EXPECT_FALSE(printAnswering([](QPrintDialog& dialog) { dialog.reject(); }));
    ASSERT_NE(seen, nullptr);
    EXPECT_EQ(parent, &owner);
    EXPECT_FALSE(options.testFlag(QAbstractPrintDialog::PrintSelection));
    EXPECT_FALSE(options.testFlag(QAbstractPrintDialog::PrintPageRange));
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_TRUE(ui.events.empty());
}

TEST_F(QtPrintBackendTest, AcceptedDialogPrintsIntoTheChosenPdfFile) {
    const QString out = dir.filePath("summary.pdf");
    EXPECT_TRUE(printAnswering([&](QPrintDialog& dialog) {
        // The only printer here is the PDF file; its field holds the output path.
        for (QLineEdit* field : dialog.findChildren<QLineEdit*>())
            if (field->objectName() == "filename") field->setText(out);
        dialog.accept();
    }));
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(ui.events.front(), "create Printing");
    EXPECT_EQ(ui.events.back(), "focus");
    QFile pdf(out);
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    EXPECT_TRUE(pdf.readAll().startsWith("%PDF"));
}

}  // namespace
}  // namespace tarn::test
