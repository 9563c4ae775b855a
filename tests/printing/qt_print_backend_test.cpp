// Printing through Qt's print dialog offscreen, whose only printer is a PDF file.
#include "shell/qt_print_backend.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QPrintDialog>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTimer>

#include "database/client_database.h"
#include "model/client_record.h"
#include "model/services.h"
#include "printing/pdf_file_surface.h"
#include "printing/print_clients.h"
#include "printing/print_recorder.h"
#include "printing/qt_page_surface.h"
#include "shell/client_list.h"
#include "shell/commands.h"
#include "shell/database_window.h"
#include "support/recording_ui.h"

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
        services->printer = &qtPrintBackend();
        db.addClient();
    }
    ScopedServices services;

    // Prints, handing the print dialog to `answer` as soon as it is up.
    bool printAnswering(const std::function<void(QPrintDialog&)>& answer, bool summary = true) {
        QTimer timer;
        QObject::connect(&timer, &QTimer::timeout, [&] {
            if (auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget())) {
                timer.stop();
                EXPECT_EQ(dialog->parentWidget(), &owner);
                EXPECT_FALSE(dialog->testOption(QAbstractPrintDialog::PrintSelection));
                EXPECT_TRUE(dialog->testOption(QAbstractPrintDialog::PrintPageRange));
                answer(*dialog);
            }
        });
        timer.start(20);
        return printClients(db, &owner, summary, "harbour.tdb", -1, {});
    }

    RecordingUi ui;
    ClientDatabase db{false};
    QWidget owner;
    QTemporaryDir dir;
};

TEST_F(QtPrintBackend, DatabaseWindowCommandsPrintWhatTheyName) {
    RecordingPrinter printer;
    DatabaseWindow window(std::nullopt);
    window.database().client(window.database().addClient())->setName("Second");
    window.refillClientList();
    window.list().setCurrentIndex(window.list().model()->index(1, 0));
    for (const int command : {cmd::PrintSummary, cmd::PrintAll, cmd::PrintClient})
        window.runCommand(command);
    EXPECT_EQ(printer.dialogOwner, static_cast<WindowHandle>(&window));
    EXPECT_EQ(printer.events.front(), "startDoc Tarn database summary");
    EXPECT_EQ(printer.at(window.fileName()).line, 5);
    // Summary, all and the focused client: names 2 + 2 + 1, tables 0 + 2 + 1.
    EXPECT_EQ(std::tuple(printer.count("Client name:"), printer.count("Channel"),
                         printer.count("Second")),
              std::tuple(5, 3, 3));
    EXPECT_TRUE(ui.empty());
}

// Cancel prints nothing; OK prints the range chosen into the chosen PDF file, and a range
// past the end prints nothing.
TEST_F(QtPrintBackend, CancelOrPrintThePageRangeChosenInTheDialog) {
    EXPECT_FALSE(printAnswering([](QPrintDialog& dialog) { dialog.reject(); }));
    EXPECT_TRUE(ui.empty() && ui.windowLog().empty());

    for (int n = 1; n <= kChannelCount; ++n) db.client(0)->addChannel();  // several pages
    const QString pdf = dir.filePath("range.pdf");
    auto pages = [&](int from, int to) {
        QFile::remove(pdf);
        return printAnswering(
            [&](QPrintDialog& dialog) {
                dialog.findChild<QLineEdit*>("filename")->setText(pdf);
                dialog.findChild<QRadioButton*>("printRange")->click();
                dialog.findChild<QSpinBox*>("to")->setValue(to);
                dialog.findChild<QSpinBox*>("from")->setValue(from);
                dialog.accept();
            },
            false);
    };
    ASSERT_TRUE(pages(2, 3));
    EXPECT_TRUE(ui.empty() && ui.windowLog().size() == 5);  // the Printing window came and went
    QFile file(pdf);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_TRUE(bytes.startsWith("%PDF") && bytes.count("/Type /Page\n") == 2);
    EXPECT_FALSE(pages(90, 99));
    EXPECT_EQ(ui.texts(), std::vector<std::string>{"Nothing to print."});
    EXPECT_FALSE(QFile::exists(pdf));
}

TEST_F(QtPrintBackend, SafeMarginsAndTheDateLine) {
    // The printer's unprintable margin, PDF file or not: the margin used (all in mm).
    auto even = [](double mm) { return QMarginsF(mm, mm, mm, mm); };
    for (const auto& [minimum, toFile, used] :
         {std::tuple{0., true, 12.7}, {0., false, 12.7}, {4., false, 8.}, {4., true, 12.7}}) {
        const QPageLayout layout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                 even(minimum ? 8 : 3.5), QPageLayout::Millimeter, even(minimum));
        EXPECT_EQ(withSafeMargins(layout, toFile).margins(QPageLayout::Millimeter), even(used));
    }
    // A4 at 1200 dpi less 2 x 36 points (margins of 10 points left 9583 units).
    EXPECT_EQ(pdfFileSurface(dir.filePath("a.pdf").toStdString())->printableWidth(), 8717);

    const QDateTime when(QDate(2026, 12, 24), QTime(9, 41, 7));
    for (const auto& [locale, text] :
         {std::pair{QLocale(QLocale::English, QLocale::UnitedStates), "9:41:07 AM 12/24/26"},
          std::pair{QLocale(QLocale::Chinese), "09:41:07 2026/12/24"},  // "t HH:mm:ss"
          std::pair{QLocale(QLocale::Spanish), "9:41:07 24/12/26"},     // "H:mm:ss (t)"
          std::pair{QLocale::c(), "09:41:07 24 Dec 2026"}})
        EXPECT_EQ(printedTimeAndDate(locale, when).toStdString(), text);
}

}  // namespace
}  // namespace tarn::test
