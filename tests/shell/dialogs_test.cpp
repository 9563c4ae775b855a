// The desktop's dialogs and the windows and status bar of the radio commands.
#include "database/client_compare.h"
#include "database/radio_backups.h"
#include "radio/radio_log.h"
#include "radio/radio_texts.h"
#include "radio/serial_ports.h"
#include "shell/port_dialog.h"
#include "shell/qt_user_feedback.h"
#include "shell/radio_log_window.h"
#include "shell_fixture.h"

using namespace tarn;
using namespace tarn::test;

namespace {

QStringList lines(const QListWidget* list) {
    QStringList texts;
    for (int i = 0; list && i < list->count(); ++i) texts.append(list->item(i)->text());
    return texts;
}

// A client of low power with one channel, whose channel 3 slot is not a channel.
ClientRecord radioClient() {
    ClientRecord c;
    c.setOption(ClientOption::PowerLevel, PowerLevel::Low);
    c.addChannel();
    std::fill_n(c.image().begin() + 3 * kSlotSize, kSlotSize, 0xFF);
    return c;
}

// Runs Compare with radio and presses `button` in its dialog; the dialog's lines.
QStringList compare(Scene& scene, const QString& button) {
    QStringList shown;
    whenModal([&](QWidget* modal) {
        shown = lines(modal->findChild<QListWidget*>());
        QVERIFY(modal->windowTitle() == "Compare with radio");
        for (QPushButton* b : modal->findChildren<QPushButton*>())
            if (b->text() == button) b->click();
    });
    scene.run(cmd::CompareRadio);
    return shown;
}

// The status bar's text with its time of day taken out.
QString status(FrameWindow& frame) {
    return frame.statusText().replace(QRegularExpression(" at \\d\\d:\\d\\d"), "");
}

}  // namespace

class DialogsTest : public QObject {
    Q_OBJECT
  private slots:

    void fileDialogsHaveTheirTitlesAndFilters() {
        ShellWorld world;
        const std::pair<FileDialogKind, QString> cases[] = {
            {FileDialogKind::OpenDatabase, "Open database file|Database Files (*.tdb)|open"},
            {FileDialogKind::SaveDatabase, "Save database file|Database Files (*.tdb)|save"},
            {FileDialogKind::ExportDatabase, "Export database file|CSV Files (*.csv)|save"},
            {FileDialogKind::ImportCsv, "Import CSV file|CSV Files (*.csv)|open"},
        };
        // Cancel leaves the buffer alone; OK hands back the name typed.
        for (const auto& [kind, expected] : cases) {
            QString seen;
            whenModal([&](QWidget* modal) {
                auto* dialog = qobject_cast<QFileDialog*>(modal);
                seen = dialog->windowTitle() + "|" + dialog->selectedNameFilter() + "|" +
                       (dialog->acceptMode() == QFileDialog::AcceptSave ? "save" : "open");
                static_cast<QDialog*>(dialog)->reject();
            });
            std::filesystem::path path = "unchanged";
            QVERIFY(!showFileNameDialog(nullptr, path, kind) && path == "unchanged");
            QCOMPARE(seen, expected);
        }
        writeDatabase(world.path("a.tdb"), {"A"});
        whenModal([&](QWidget* modal) {
            // Typed, as a user would (selectFile leaves a focused name field alone).
            modal->findChild<QLineEdit*>("fileNameEdit")->setText(world.qpath("a.tdb"));
            static_cast<QDialog*>(modal)->accept();
        });
        std::filesystem::path path;
        QVERIFY(showFileNameDialog(nullptr, path, FileDialogKind::OpenDatabase));
        QCOMPARE(path.string(), world.path("a.tdb"));
    }

    void messageBoxIsTheFramesWithItsDefaultAndUtf8Text() {
        ShellWorld world;
        FrameWindow frame;
        world.services->frame = &frame;
        QString seen;
        whenModal([&](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            seen = box->windowTitle() + "|" + box->text();
            QCOMPARE(box->parentWidget(), &frame);
            QCOMPARE(box->standardButton(box->defaultButton()), QMessageBox::No);
            box->button(QMessageBox::No)->click();
        });
        QCOMPARE(QtUserFeedback().showMessage(
                     {.kind = MessageOwner::Kind::Frame, .defaultNo = true},
                     "Save 'M\xc3\xbcller'?", MessageIcon::Question, MessageButtons::YesNo),
                 MessageAnswer::No);
        QCOMPARE(seen, QString::fromUtf8("Tarn DataBase|Save 'Müller'?"));
    }

    void portDialogAsksAboutUnavailablePortAndTakesEnter() {
        ShellWorld world;
        world.services->probePort = [](const std::string& name) { return name == "COM2"; };
        PortDialog dialog(nullptr);
        QCOMPARE(dialog.portBox()->currentText(), QString("COM1"));
        dialog.portBox()->setEditText("COM7");
        world.feedback->script({MessageAnswer::No, MessageAnswer::Yes});
        dialog.accept();
        QCOMPARE(dialog.result(), int(QDialog::Rejected));  // still open
        QVERIFY(!world.settings.read("Port"));
        dialog.accept();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(*world.settings.read("Port"), std::string("COM7"));
        QCOMPARE(world.messageTexts(),
                 Texts(2,
                       "Port 'COM7' is either busy or unavailable.\n\nAre you sure you want to "
                       "use this port?"));
        world.services->probePort = [](const std::string&) { return true; };
        // Enter presses OK with the text as shown, whether typed or stored, listed or not.
        for (const char* stored : {"COM3", "COM", "/dev/ttyUSB7"}) {
            world.settings.write("Port", stored);
            PortDialog shown(nullptr);
            shown.show();
            QVERIFY(QTest::qWaitForWindowActive(&shown));
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            QCOMPARE(shown.result(), int(QDialog::Accepted));
            QCOMPARE(*world.settings.read("Port"), std::string(stored));
        }
    }

    // Find radio tries the typed name, then the list; a description stores its port's name.
    void portDialogListsDevicesAndFindsTheRadio() {
        ShellWorld world;
        const auto clock = std::make_shared<VirtualClock>();
        world.services->serialConnection = [clock, n = 0]() mutable {  // the second port answers
            return SerialConnection{
                std::make_unique<FakeRadioDevice>(std::make_shared<RadioMonitor>(), clock,
                                                  FakePortFaults{.missing = n++ != 1}),
                clock};
        };
        PortDialog dialog(nullptr, {{"/dev/ttyUSB0", "Prolific USB-Serial Controller"},
                                    {"/dev/ttyRADIO", ""},
                                    {"COM3", "Communications Port"}});
        QStringList entries;
        for (int i = 0; i < dialog.portBox()->count(); ++i)
            entries.append(dialog.portBox()->itemText(i));
        QCOMPARE(entries,
                 QStringList({"/dev/ttyRADIO", "/dev/ttyUSB0 \u2014 Prolific USB-Serial Controller",
                              "COM1", "COM2", "COM3", "COM4"}));
        dialog.portBox()->setEditText("/dev/pts/9");
        world.feedback->script({MessageAnswer::Cancel});
        dialog.findRadio();
        QVERIFY(dialog.results()->isHidden());  // nothing tried without the radio ready
        dialog.findRadio();
        QCOMPARE(world.messageTexts(), Texts(2, radio_text::kConnectPrompt));
        QCOMPARE(lines(dialog.results()).mid(0, 3),
                 QStringList({"/dev/pts/9 \u2014 The port cannot be opened.",
                              "/dev/ttyRADIO \u2014 The radio answered.",
                              "/dev/ttyUSB0 \u2014 The port cannot be opened."}));
        QCOMPARE(dialog.portBox()->currentText(), QString("/dev/ttyRADIO"));
        QVERIFY(dialog.isEnabled());
        world.services->probePort = [](const std::string&) { return true; };
        const int usb = dialog.portBox()->findData("/dev/ttyUSB0");
        dialog.portBox()->setCurrentIndex(usb);
        QCOMPARE(dialog.portBox()->currentText(), QString("/dev/ttyUSB0"));
        dialog.portBox()->setEditText(dialog.portBox()->itemText(usb));  // cut at 31 characters
        QCOMPARE(dialog.portBox()->currentText().size(), 31);
        dialog.accept();
        QCOMPARE(*world.settings.read("Port"), std::string("/dev/ttyUSB0"));
    }

    // The status bar, log window and backups hear of a read; a failure shows no box.
    void readReportsToStatusBarLogWindowAndBackups() {
        ShellWorld world;
        RadioLog log;
        world.services->radioLog = &log;
        Scene scene(world);
        scene.frame.command(cmd::ShowRadioLog);
        RadioLogWindow* shown = scene.frame.radioLogWindow();
        QVERIFY(shown && shown->isVisible() && !shown->isModal());
        QCOMPARE(shown->windowTitle() + "|" + shown->textBox()->toPlainText(),
                 QString("Radio log|No radio exchanges yet."));
        QList<QUrl> opened;
        scene.frame.setUrlOpener([&](const QUrl& url) { return opened << url, true; });
        scene.frame.command(cmd::OpenBackupFolder);  // made and opened
        QCOMPARE(opened, QList<QUrl>{QUrl::fromLocalFile(QString::fromStdString(backupFolder()))});
        std::filesystem::remove(backupFolder());
        writeFile(backupFolder(), "a file where the folder goes");

        world.radio(radioClient());
        scene.click(1);
        scene.run(cmd::ReadRadio);
        QVERIFY2(
            status(scene.frame)
                    .startsWith("Read the radio into 'B' (2048 bytes, 1 channel repaired). Backup "
                                "not kept: the folder '") &&
                scene.frame.statusText().count("Backup not kept") == 1,
            qPrintable(scene.frame.statusText()));
        QCOMPARE(world.messageTexts().size(), std::size_t{2});  // prompt, repair: no failure box
        QCOMPARE(scene.column(7), (QStringList{"High", "Low", "High"}));
        QVERIFY(scene.window->isEnabled());                    // enabled again after the transfer
        const QString text = shown->textBox()->toPlainText();  // refreshed as the read ended
        QVERIFY2(text.startsWith("Read, started ") && text.contains("sent \"D 1800 0800\""),
                 qPrintable(text));
        QCOMPARE(text, QString::fromStdString(log.toText()));
        scene.frame.command(cmd::OpenBackupFolder);  // cannot make it: a box says so
        QVERIFY(opened.size() == 1 &&
                QString::fromStdString(world.messageTexts().back())
                    .startsWith("The backup folder '" + QString::fromStdString(backupFolder())));

        world.radio(radioClient(), RadioFaults{.silentDump = true});
        scene.click(1);
        world.feedback->clear();
        scene.run(cmd::ReadRadio);
        QCOMPARE(world.messageTexts().size(), std::size_t{1});
        QCOMPARE(status(scene.frame), QString("Read failed: the radio sent no data"));
        scene.click(0);
        scene.click(2, Qt::ControlModifier);
        QCOMPARE(scene.frame.selectionText(), QString("2 of 3 selected"));
    }

    void compareDialogWritesOrReplaces() {
        ShellWorld world;
        Scene scene(world, {"A", "B"});
        scene.db().client(1)->addChannel();
        world.radio(*scene.db().client(1));
        scene.click(1);
        QCOMPARE(compare(scene, "Close") << status(scene.frame),
                 (QStringList{kIdenticalText, "Compared 'B' with the radio: identical"}));
        QCOMPARE(world.messageTexts().size(), std::size_t{1});  // the connect prompt
        QCOMPARE(compare(scene, "Write client to radio") << status(scene.frame),
                 (QStringList{kIdenticalText, "Programmed and verified 'B'"}));
        QVERIFY(!scene.db().isModified());

        // A different radio; Replace is one step to undo, its channel check not repeated.
        ClientRecord radio = *scene.db().client(1);
        radio.setOption(ClientOption::PowerLevel, PowerLevel::Low);
        std::fill_n(radio.image().begin() + 3 * kSlotSize, kSlotSize, 0xFF);  // a corrupt slot
        world.radio(radio);
        const ClientRecord before = *scene.db().client(1);
        world.feedback->clear();
        const QStringList shown = compare(scene, "Replace client");
        QVERIFY2(shown.size() == 1 && shown[0].startsWith("Power level: "), qPrintable(shown[0]));
        QCOMPARE(world.messageTexts().size(), std::size_t{2});
        QCOMPARE(status(scene.frame), "Read the radio into 'B' (2048 bytes, 1 channel repaired)");
        QVERIFY(*scene.db().client(1) != before);
        QCOMPARE(scene.frame.menuAction(cmd::Undo)->text(),
                 QString("&Undo Read radio into 'B'\tCtrl-Z"));
        scene.run(cmd::Undo);
        QVERIFY(*scene.db().client(1) == before);
    }
};

QTEST_MAIN(DialogsTest)
#include "dialogs_test.moc"
