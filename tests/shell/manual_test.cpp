// The dealer's manual must keep up with the program: every menu command, every toolbar tool
// tip and every message text of the real program is named in the rendered Tarn.pdf.
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QRegularExpression>
#include <QToolBar>

#include "database/client_compare.h"
#include "database/csv_import.h"
#include "model/message_texts.h"
#include "radio/radio_outcome.h"
#include "radio/radio_texts.h"
#include "shell/commands.h"
#include "shell/frame_window.h"
#include "shell_fixture.h"

using namespace tarn;
using namespace tarn::test;

namespace {

// The manual's text as a reader finds it: ligatures undone, lines joined, each table cell
// whole (in drawing order, not beside its neighbours).
QString manualText() {
    QProcess pdftotext;
    pdftotext.start("pdftotext", {"-raw", "-enc", "UTF-8", TARN_MANUAL_PDF, "-"});
    if (!pdftotext.waitForFinished(30000) || pdftotext.exitCode() != 0) return {};
    QString text = QString::fromUtf8(pdftotext.readAllStandardOutput());
    text = text.normalized(QString::NormalizationForm_KC);
    return text.replace(QRegularExpression("\\s+"), " ");
}

// A menu item's name as a reader says it: no mnemonic mark, no shortcut text.
QString spokenName(const QString& itemText) {
    return itemText.section('\t', 0, 0)
        .remove('&')
        .normalized(QString::NormalizationForm_KC)
        .remove("...");
}

// The words of a message around what it fills in (a number, a name), without the white
// space, which the manual breaks into lines wherever it likes.
QStringList fixedPieces(const std::string& message) {
    static const QRegularExpression filledIn("%z?[dsu]"), space("\\s+");
    QStringList pieces;
    for (QString piece : QString::fromStdString(message).split(filledIn))
        if (piece.remove(space).size() > 2) pieces.append(piece);
    return pieces;
}

RadioOutcome outcome(RadioFailure failure, RadioOutcome::Verify verified = {},
                     std::vector<int> differing = {}) {
    RadioOutcome result;
    result.failure = failure;
    result.verified = verified;
    result.differing = std::move(differing);
    return result;
}

// What the program shows: its fixed texts, and reports built as the program builds them
// (the manual quotes these examples word for word).
std::vector<std::string> everyMessage() {
    std::vector<std::string> texts(std::begin(msg::kEveryText), std::end(msg::kEveryText));
    texts.insert(texts.end(), std::begin(radio_text::kEveryText), std::end(radio_text::kEveryText));
    texts.insert(texts.end(), {kIdenticalText, kDifferencesHeading});
    for (int f = int(RadioFailure::Cancelled); f <= int(RadioFailure::Incomplete); ++f)
        texts.push_back(readReport(outcome(RadioFailure(f)), "", 0, 0, ""));
    texts.push_back(readReport(outcome(RadioFailure::None), "Coral Charters", 2048, 0, "10:32"));
    texts.push_back(readReport(outcome(RadioFailure::None), "Coral Charters", 2048, 1, "10:32"));
    using Verify = RadioOutcome::Verify;
    texts.push_back(writeReport(outcome(RadioFailure::Cancelled), "", ""));
    texts.push_back(writeReport(outcome(RadioFailure::NoContact), "", ""));
    texts.push_back(writeReport(outcome(RadioFailure::NoData, Verify::ReadFailed), "", ""));
    texts.push_back(writeReport(outcome({}, Verify::Differs, {32, 72, 73}), "", ""));
    texts.push_back(writeReport(outcome({}, Verify::Passed), "Coral Charters", "10:35"));
    texts.push_back(importSummaryText({12, 340, 0}));
    texts.push_back(importSummaryText({12, 340, 3}));
    texts.push_back(lineErrorText({12, msg::kCsvSelcall}));
    return texts;
}

}  // namespace

class ManualTest : public QObject {
    Q_OBJECT
  private slots:

    void namesEveryMenuCommandAndToolTip() {
        const QString text = manualText();
        QVERIFY2(text.size() > 1000, "pdftotext could not read the rendered manual");

        ShellWorld world;
        FrameWindow frame;
        settle();
        QStringList missing;
        int named = 0;
        for (QAction* popup : frame.menuBar()->actions()) {
            if (!text.contains(spokenName(popup->text()))) missing.append(popup->text());
            for (QAction* item : popup->menu()->actions()) {
                const int id = item->data().toInt();
                if (item->isSeparator() || (id >= cmd::RecentFile1 && id <= cmd::RecentFile4))
                    continue;
                ++named;
                if (!text.contains(spokenName(item->text()))) missing.append(item->text());
            }
        }
        for (QAction* button : frame.toolBar()->actions()) {
            if (button->isSeparator()) continue;
            ++named;
            // Its image, from the program's resources, at the toolbar's size.
            QCOMPARE(button->icon().pixmap(QSize(16, 15)).size(), QSize(16, 15));
            if (!text.contains(button->toolTip())) missing.append(button->toolTip());
        }
        QVERIFY(named >= 40);  // 31 menu commands and 12 buttons
        QVERIFY2(missing.isEmpty(), qPrintable("not in the manual: " + missing.join(", ")));
    }

    void explainsEveryMessage() {
        const QString text = manualText().remove(' ');
        QVERIFY2(text.size() > 1000, "pdftotext could not read the rendered manual");
        QStringList missing;
        for (const std::string& message : everyMessage())
            for (const QString& piece : fixedPieces(message))
                if (!text.contains(piece)) missing.append(piece);
        QVERIFY2(missing.isEmpty(), qPrintable("not in the manual: " + missing.join(" | ")));
    }
};

QTEST_MAIN(ManualTest)
#include "manual_test.moc"
