// The dealer's manual must keep up with the program: every menu command and every
// toolbar tool tip of the real frame window is named in the rendered Tarn.pdf.
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QRegularExpression>
#include <QToolBar>

#include "shell/commands.h"
#include "shell/frame_window.h"
#include "shell_fixture.h"

using namespace tarn;
using namespace tarn::test;

namespace {

// The manual's text as a reader finds it: ligatures undone, lines joined.
QString manualText() {
    QProcess pdftotext;
    pdftotext.start("pdftotext", {"-enc", "UTF-8", TARN_MANUAL_PDF, "-"});
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
};

QTEST_MAIN(ManualTest)
#include "manual_test.moc"
