// The dealer's manual must keep up with the program: every menu command and toolbar tool tip
// of the real program is named in the rendered Tarn.pdf, and every message text is explained.
#include <QFile>
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

// What the program shows: its fixed texts, and reports built as the program builds them
// (the manual quotes these examples word for word).
std::vector<std::string> everyMessage() {
    using F = RadioFailure;
    using V = RadioOutcome::Verify;
    std::vector<std::string> texts(std::begin(msg::kEveryText), std::end(msg::kEveryText));
    texts.insert(texts.end(), std::begin(radio_text::kEveryText), std::end(radio_text::kEveryText));
    texts.insert(texts.end(), {kIdenticalText, kDifferencesHeading});
    for (int f = int(F::Cancelled); f <= int(F::Incomplete); ++f)
        texts.push_back(readReport({F(f), 0, 0, V::NotRun, {}}, "", 0, 0, ""));
    for (int repaired : {0, 1})
        texts.push_back(readReport({}, "Coral Charters", 2048, repaired, "10:32"));
    texts.push_back(writeReport({F::Cancelled, 0, 0, V::NotRun, {}}, "", ""));
    texts.push_back(writeReport({F::NoContact, 0, 0, V::NotRun, {}}, "", ""));
    texts.push_back(writeReport({F::NoData, 0, 0, V::ReadFailed, {}}, "", ""));
    texts.push_back(writeReport({F::None, 0, 0, V::Differs, {32, 72, 73}}, "", ""));
    texts.push_back(writeReport({F::None, 0, 0, V::Passed, {}}, "Coral Charters", "10:35"));
    for (int notFitting : {0, 3}) texts.push_back(importSummaryText({12, 340, notFitting}));
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
        // The source without white space or emphasis marks, so that a message broken over
        // lines or pages is found whole; each by its words around what it fills in.
        QFile source(TARN_MANUAL_SOURCE);
        QVERIFY(source.open(QIODevice::ReadOnly));
        static const QRegularExpression noise("[\\s*`]+"), filledIn("%z?[dsu]");
        const QString text = QString::fromUtf8(source.readAll()).remove(noise);
        QStringList missing;
        for (const std::string& message : everyMessage())
            for (QString piece : QString::fromStdString(message).split(filledIn))
                if (piece.remove(noise).size() > 2 && !text.contains(piece)) missing.append(piece);
        QVERIFY2(missing.isEmpty(), qPrintable("not in the manual: " + missing.join(" | ")));
    }
};

QTEST_MAIN(ManualTest)
#include "manual_test.moc"
