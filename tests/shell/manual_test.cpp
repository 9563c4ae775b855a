// The dealer's manual must keep up with the program: every menu command and toolbar tool tip
// of the real program is named in the rendered Tarn.pdf and in its index, every text the
// program shows has an entry that its message box and the help window's search lead to, and
// F1 in every dialog opens that dialog's section.
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QPrintPreviewDialog>
#include <QProcess>
#include <QRegularExpression>
#include <QTextBrowser>
#include <QToolBar>

#include "database/client_compare.h"
#include "database/csv_import.h"
#include "model/message_texts.h"
#include "radio/radio_outcome.h"
#include "radio/radio_texts.h"
#include "shell/commands.h"
#include "shell/context_help.h"
#include "shell/dealer_text_dialog.h"
#include "shell/edit_channel_dialog.h"
#include "shell/edit_client_dialog.h"
#include "shell/frame_window.h"
#include "shell/help_content.h"
#include "shell/help_window.h"
#include "shell/qt_print_backend.h"
#include "shell/qt_user_feedback.h"
#include "shell/radio_log_window.h"
#include "shell_fixture.h"

using namespace tarn;
using namespace tarn::test;

namespace {

// The manual's text as pdftotext gives it, without undoing ligatures (a search in a PDF
// viewer sees the same): lines joined, each table cell whole (in drawing order).
QString manualText() {
    QProcess pdftotext;
    pdftotext.start("pdftotext", {"-raw", "-enc", "UTF-8", TARN_MANUAL_PDF, "-"});
    if (!pdftotext.waitForFinished(30000) || pdftotext.exitCode() != 0) return {};
    return QString::fromUtf8(pdftotext.readAllStandardOutput())
        .replace(QRegularExpression("\\s+"), " ");
}

// A menu item's name as a reader says it: no mnemonic mark, no shortcut text.
QString spokenName(const QString& itemText) {
    return itemText.section('\t', 0, 0)
        .remove('&')
        .normalized(QString::NormalizationForm_KC)
        .remove("...");
}

// A text as the program shows it: a number or a name where it fills one in.
QString shown(const std::string& text) {
    static const QRegularExpression number("%z?[du]"), name("%s");
    return QString::fromStdString(text).replace(number, "7").replace(name, "name");
}

// What the program shows: its fixed texts, and reports built as the program builds them.
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
    texts.push_back(writeReport({F::None, 0, 0, V::Passed, {}}, "Coral Charters", "10:35", true));
    texts.push_back(writeReport({F::NoData, 0, 0, V::NotRun, {}}, "", "", false, true));
    texts.push_back(readReport({}, "Coral Charters", 2048, 0, "10:32", true));
    texts.push_back(compareReport({F::Cancelled, 0, 0, V::NotRun, {}}, "", 0, ""));
    texts.push_back(compareReport({F::NoData, 0, 0, V::NotRun, {}}, "", 0, ""));
    texts.push_back(compareReport({}, "Coral Charters", 4, "10:40"));
    for (int notFitting : {0, 3}) texts.push_back(importSummaryText({12, 340, notFitting}));
    texts.push_back(lineErrorText({12, msg::kCsvSelcall}));
    return texts;
}

const HelpContent& help() {
    return HelpContent::compiledIn();
}

}  // namespace

class ManualTest : public QObject {
    Q_OBJECT
  private slots:

    void namesEveryMenuCommandAndToolTipInTextAndIndex() {
        const QString text = manualText();
        QVERIFY2(text.size() > 1000, "pdftotext could not read the rendered manual");
        // Words extract as typed: no "fi" ligature in "file", and the build's version is on
        // the cover.
        QVERIFY(!text.contains(QRegularExpression("[\\x{FB00}-\\x{FB06}]")));
        QVERIFY(text.contains(QRegularExpression("^Tarn DataBase — Dealer's manual Version \\d+")));
        QVERIFY(
            text.contains(QRegularExpression("Appendix [A-Z]: Index .* Failed to contact the "
                                             "radio\\. \\d+ ")));
        QStringList terms;
        for (const HelpContent::IndexEntry& entry : help().index()) terms.append(entry.term);

        ShellWorld world;
        FrameWindow frame;
        settle();
        QStringList missing;
        int named = 0;
        for (QAction* popup : frame.menuBar()->actions()) {
            const QString menu = spokenName(popup->text());
            if (!text.contains(menu)) missing.append(popup->text());
            for (QAction* item : popup->menu()->actions()) {
                const int id = item->data().toInt();
                if (item->isSeparator() || (id >= cmd::RecentFile1 && id <= cmd::RecentFile4))
                    continue;
                ++named;
                const QString indexed = item->text().section('\t', 0, 0).remove('&');
                if (!text.contains(spokenName(item->text())) ||
                    !terms.contains(indexed + " (" + menu + " menu)"))
                    missing.append(item->text());
            }
        }
        for (QAction* button : frame.toolBar()->actions()) {
            if (button->isSeparator()) continue;
            ++named;
            // Its image, from the program's resources, at the toolbar's size.
            QCOMPARE(button->icon().pixmap(QSize(16, 15)).size(), QSize(16, 15));
            if (!text.contains(button->toolTip())) missing.append(button->toolTip());
        }
        QVERIFY(named >= 40);  // 32 menu commands and 12 buttons
        QVERIFY2(missing.isEmpty(), qPrintable("not in the manual: " + missing.join(", ")));
    }

    // Each text has its entry: the place its message box's Help opens, which the help
    // window's search finds first when the text is pasted there.
    void leadsFromEveryMessageToItsEntry() {
        ShellWorld world;
        HelpWindow window(help());
        QStringList missing;
        for (const std::string& message : everyMessage()) {
            const QString text = shown(message);
            const QString anchor = help().anchorForText(text);
            window.search(text);
            const QListWidgetItem* first = window.results()->item(0);
            if (anchor.isEmpty() || help().topicOf(anchor) < 0 || !first ||
                first->data(Qt::UserRole).toString() != anchor || window.currentAnchor() != anchor)
                missing.append(text);
        }
        QVERIFY2(missing.isEmpty(), qPrintable("no entry: " + missing.join(" | ")));
        // The most particular entry wins; words find the topics that hold them all.
        QVERIFY(help().anchorForText("Failed to open \"Tarn.pdf\".") !=
                help().anchorForText("Failed to open \"https://x/\"."));
        window.search("TX=RX base master");
        QStringList found;
        for (int row = 0; row < window.results()->count(); ++row)
            found.append(
                help().topics()[window.results()->item(row)->data(Qt::UserRole + 1).toInt()].id);
        QVERIFY(found.contains("glossary") && !found.contains("read-a-radio"));
        QVERIFY(!window.page()->extraSelections().isEmpty());
    }

    // F1 in each dialog opens its section (which exists); in the main window, the contents.
    void f1OpensEachDialogsSection() {
        ShellWorld world;
        world.services->editClient = runClientDialog;
        world.services->editChannel = runChannelDialog;
        world.services->editDealerText = runDealerTextDialog;
        world.services->printer = &qtPrintBackend();
        world.radio(ClientRecord());
        Scene scene(world);
        world.shell->frame = &scene.frame;
        QStringList wrong;
        const auto pressF1 = [&](QWidget* dialog, const QString& expected) {
            QTest::keyClick(dialog->focusWidget() ? dialog->focusWidget() : dialog, Qt::Key_F1);
            const HelpWindow* window = openHelpWindow();
            if (!window || window->currentAnchor() != expected || help().topicOf(expected) < 0)
                wrong.append(expected + " from " + dialog->windowTitle());
        };
        const auto onModal = [&](const QString& expected) {
            whenModal([=](QWidget* modal) {
                pressF1(modal, expected);
                static_cast<QDialog*>(modal)->reject();
            });
        };
        onModal("help-menu");
        scene.frame.command(cmd::About);
        onModal("choosing-the-radio-s-port");
        scene.frame.command(cmd::RadioPort);
        onModal("print-options");
        scene.frame.command(cmd::EditPrintOptions);
        onModal("options");
        scene.frame.command(cmd::EditOptions);
        onModal("the-dealer-text");
        scene.run(cmd::EditDealer);
        onModal("choosing-a-file");
        std::filesystem::path path;
        showFileNameDialog(&scene.frame, path, FileDialogKind::OpenDatabase);
        onModal("print-a-customer-s-sheet");
        qtPrintBackend().choosePrinter(&scene.frame);
        whenModal([&](QWidget* client) {  // and the channel dialog it opens
            pressF1(client, "edit-a-client-and-its-channels");
            onModal("the-edit-channel-dialog");
            for (QPushButton* button : client->findChildren<QPushButton*>())
                if (button->text() == "New") button->click();
            static_cast<QDialog*>(client)->reject();
        });
        scene.click(0);
        scene.run(cmd::EditClient);
        onModal("compare-with-the-radio");
        scene.click(0);
        scene.run(cmd::CompareRadio);
        scene.run(cmd::PrintPreview);
        auto* preview = scene.frame.findChild<QPrintPreviewDialog*>();
        QVERIFY(preview);
        pressF1(preview, "print-a-customer-s-sheet");
        preview->close();
        scene.frame.command(cmd::ShowRadioLog);
        pressF1(scene.frame.radioLogWindow(), "the-radio-log");
        scene.frame.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&scene.frame));
        QTest::keyClick(&scene.window->list(), Qt::Key_F1);
        QCOMPARE(openHelpWindow()->currentTopic(), help().topics().first().id);
        QVERIFY2(wrong.isEmpty(), qPrintable("F1 missed: " + wrong.join(", ")));
    }

    // A message box's Help shows the entry and leaves the box to be answered; Escape still
    // closes a box with OK alone.
    void messageBoxHelpKeepsTheBoxOpen() {
        ShellWorld world;
        Scene scene(world);
        world.shell->frame = &scene.frame;
        bool openAfterHelp = false;
        whenModal([&](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            box->button(QMessageBox::Help)->click();
            openAfterHelp = box->isVisible();
            QTest::keyClick(box, Qt::Key_Escape);
        });
        QCOMPARE(QtUserFeedback().showMessage(MessageOwner::frame(), msg::kNoClientToEdit,
                                              MessageIcon::Error, MessageButtons::Ok),
                 MessageAnswer::Ok);
        QVERIFY(openAfterHelp);
        QCOMPARE(openHelpWindow()->currentAnchor(), help().anchorForText(msg::kNoClientToEdit));
        QCOMPARE(openHelpWindow()->currentTopic(), QString("working-with-clients-and-channels"));
    }
};

QTEST_MAIN(ManualTest)
#include "manual_test.moc"
