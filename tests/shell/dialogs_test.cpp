// The desktop's dialogs driven through their widgets; the radio commands' windows.
#include "database/client_compare.h"
#include "database/radio_backups.h"
#include "model/message_texts.h"
#include "radio/radio_harness.h"
#include "radio/radio_log.h"
#include "radio/radio_texts.h"
#include "radio/serial_ports.h"
#include "shell/dealer_text_dialog.h"
#include "shell/edit_channel_dialog.h"
#include "shell/edit_client_dialog.h"
#include "shell/port_dialog.h"
#include "shell/qt_clipboard.h"
#include "shell/qt_user_feedback.h"
#include "shell/radio_log_window.h"
#include "shell_fixture.h"
#include "support/temp_dir.h"

using namespace tarn;
using namespace tarn::test;

namespace {

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

void putChannel(ClientRecord& client, int n, std::uint32_t rx, int flags, const char* label) {
    for (int tx : {0, 1}) client.setFrequency(n, tx, rx);
    client.image()[static_cast<std::size_t>(8 * n)] = static_cast<std::uint8_t>(flags);
    client.image()[static_cast<std::size_t>(8 * n + 6)] = static_cast<std::uint8_t>(n);
    client.setLabel(n, label);
}

// The channel dialog, active, on channel 12 (3740.0 kHz, USB, "Home"); channel 20 in use too.
std::unique_ptr<ChannelDialog> openChannel(ClientRecord& client) {
    if (client.isChannelFree(12)) {
        putChannel(client, 12, 37400, ChannelFlag::Usb | ChannelFlag::Alarm | 0x20, "Home");
        putChannel(client, 20, 50000, 0, "");
        client.setCurrentChannel(12);
    }
    auto dialog = std::make_unique<ChannelDialog>(client, nullptr);
    dialog->show();
    dialog->activateWindow();
    if (!QTest::qWaitForWindowActive(dialog.get())) qWarning("the channel dialog is not active");
    return dialog;
}

void typeAndLeave(QLineEdit* field, const QString& text, QWidget* next) {
    field->setFocus();
    field->selectAll();
    QTest::keyClicks(field, text);
    next->setFocus();
    QApplication::processEvents();
}

ClientRecord fourChannels() {
    ClientRecord client;
    client.setName("Harbour Master");
    client.setSerial("SN-42");
    putChannel(client, 1, 70000, ChannelFlag::Usb, "zulu");
    putChannel(client, 2, 35000, 0, "Alpha");
    putChannel(client, 5, 140000, ChannelFlag::Usb | ChannelFlag::Scan, "\xE9t\xE9");
    putChannel(client, 9, 50000, ChannelFlag::Selcall, "alpha");
    return client;
}

std::unique_ptr<ClientDialog> openClient(ClientRecord& client) {
    auto dialog = std::make_unique<ClientDialog>(client, nullptr);
    QApplication::processEvents();
    return dialog;
}

// Selects the rows `rows`; the focus goes on `current` (none for -1).
void select(ClientDialog& dialog, std::initializer_list<int> rows, int current = -1) {
    QTableView* list = dialog.channelList();
    list->clearSelection();
    for (int row : rows)
        list->selectionModel()->select(list->model()->index(row, 0),
                                       QItemSelectionModel::Select | QItemSelectionModel::Rows);
    if (current >= 0)
        list->selectionModel()->setCurrentIndex(list->model()->index(current, 0),
                                                QItemSelectionModel::NoUpdate);
}

// The channel dialog records the channels it was opened on and answers `channelAnswer`.
struct ClientWorld : ShellWorld {
    ClientWorld() {
        services->clipboard = &qtClipboard();
        services->editChannel = [this](ClientRecord& record, WindowHandle) {
            return editedChannels.push_back(record.currentChannel()), channelAnswer;
        };
    }
    std::vector<int> editedChannels;
    int channelAnswer = 1;
};

}  // namespace

class DialogsTest : public QObject {
    Q_OBJECT
  private slots:

    void fileDialogsAndMessageBoxes() {
        ShellWorld world;
        const std::pair<FileDialogKind, QString> cases[] = {
            {FileDialogKind::OpenDatabase, "Open database file|Database Files (*.tdb)|open"},
            {FileDialogKind::SaveDatabase, "Save database file|Database Files (*.tdb)|save"},
            {FileDialogKind::ExportDatabase, "Export database file|CSV Files (*.csv)|save"},
            {FileDialogKind::ImportCsv, "Import CSV file|CSV Files (*.csv)|open"},
        };
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
        whenModal([&](QWidget* modal) {  // typed: selectFile leaves a focused name field alone
            modal->findChild<QLineEdit*>("fileNameEdit")->setText(world.qpath("a.tdb"));
            static_cast<QDialog*>(modal)->accept();
        });
        std::filesystem::path path;
        QVERIFY(showFileNameDialog(nullptr, path, FileDialogKind::OpenDatabase) &&
                path == world.path("a.tdb"));
        // A box with a short text leaves its title bar room for the title, an icon, buttons.
        int width = 0;
        whenModal(
            [&](QWidget* box) { width = box->width(), static_cast<QDialog*>(box)->accept(); });
        QtUserFeedback().showMessage({}, "x", MessageIcon::Error, MessageButtons::Ok);
        QFont bold = QApplication::font();
        bold.setBold(true);
        QVERIFY(width >= QFontMetrics(bold).horizontalAdvance(kMessageTitle) +
                             4 * QApplication::style()->pixelMetric(QStyle::PM_TitleBarHeight));
        // A message box: the frame's, its default button as asked, its text UTF-8.
        FrameWindow frame;
        world.shell->frame = &frame;
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

    // An unopenable port is asked about, with the reason under the question; Enter takes the
    // text shown; Find radio stops at the radio; descriptions.
    void portDialog() {
        ShellWorld world;
        test::TempDir places;  // no console, session or lock file of this computer
        ScopedPortPlaces rules(places.path());
        const auto clock = std::make_shared<VirtualClock>();
        const auto ports = [clock](std::function<bool(int)> missing) {
            return [clock, missing, n = 0]() mutable {
                return SerialConnection{
                    std::make_unique<FakeRadioDevice>(std::make_shared<RadioMonitor>(), clock,
                                                      FakePortFaults{.missing = missing(n++)}),
                    clock};
            };
        };
        world.services->serialConnection = ports([](int) { return true; });
        PortDialog dialog(nullptr);
        QCOMPARE(dialog.portBox()->currentText(), QString("COM1"));
        dialog.portBox()->setEditText("COM7");
        world.feedback->script({MessageAnswer::No, MessageAnswer::Yes});
        dialog.accept();
        QVERIFY(dialog.result() == QDialog::Rejected && !world.settings.read("Port"));  // open
        dialog.accept();
        QVERIFY(dialog.result() == QDialog::Accepted && *world.settings.read("Port") == "COM7");
        QCOMPARE(world.messageTexts(),
                 Texts(2,
                       "Port 'COM7' is either busy or unavailable.\n\nAre you sure you want to "
                       "use this port?\n\nThere is no such device."));
        world.services->serialConnection = ports([](int) { return false; });
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
        world.feedback->clear();
        world.services->serialConnection = ports([](int n) { return n != 1; });  // the second
        PortDialog found(nullptr, {{"/dev/ttyUSB0", "Prolific USB-Serial Controller"},
                                   {"/dev/ttyRADIO", ""},
                                   {"COM3", "Communications Port"}});
        QStringList entries;
        for (int i = 0; i < found.portBox()->count(); ++i)
            entries.append(found.portBox()->itemText(i));
        QCOMPARE(entries,
                 QStringList({"/dev/ttyRADIO", "/dev/ttyUSB0 \u2014 Prolific USB-Serial Controller",
                              "COM1", "COM2", "COM3", "COM4"}));
        found.portBox()->setEditText("/dev/pts/9");
        world.feedback->script({MessageAnswer::Cancel});
        found.findRadio();
        QVERIFY(found.results()->isHidden());  // nothing tried without the radio ready
        found.findRadio();
        QCOMPARE(world.messageTexts(), Texts(2, radio_text::kConnectPrompt));
        QCOMPARE(lines(found.results()), QStringList({"/dev/pts/9 \u2014 There is no such device.",
                                                      "/dev/ttyRADIO \u2014 The radio answered."}));
        QVERIFY(found.portBox()->currentText() == "/dev/ttyRADIO" && found.isEnabled());
        world.services->serialConnection = ports([](int) { return false; });
        const int usb = found.portBox()->findData("/dev/ttyUSB0");
        found.portBox()->setCurrentIndex(usb);
        QCOMPARE(found.portBox()->currentText(), QString("/dev/ttyUSB0"));
        found.portBox()->setEditText(found.portBox()->itemText(usb));  // cut at 31 characters
        QCOMPARE(found.portBox()->currentText().size(), 31);
        found.accept();
        QCOMPARE(*world.settings.read("Port"), std::string("/dev/ttyUSB0"));
    }

    // The status bar, log window and backups hear of a read; a failure shows no box.
    void readReportsToStatusBarLogWindowAndBackups() {
        ShellWorld world;
        RadioLog log;
        world.shell->radioLog = &log;
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
                                "not kept: the backup folder cannot be made (") &&
                scene.frame.statusText().count("Backup not kept") == 1,
            qPrintable(scene.frame.statusText()));
        QCOMPARE(world.messageTexts().size(), std::size_t{2});  // prompt, repair: no failure box
        QCOMPARE(scene.column(7), (QStringList{"High", "Low", "High"}));
        QVERIFY(scene.window->isEnabled());                    // enabled again after the transfer
        const QString text = shown->textBox()->toPlainText();  // refreshed as the read ended
        QVERIFY(text.contains("sent \"D 1800 0800\"") && text == log.toText().c_str());
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
                 (QStringList{kIdenticalText,
                              "Programmed and verified 'B'; what it held before is kept"}));
        QVERIFY(!scene.db().isModified());

        // A different radio; Replace is one step to undo, its channel check not repeated.
        ClientRecord radio = *scene.db().client(1);
        radio.setOption(ClientOption::PowerLevel, PowerLevel::Low);
        std::fill_n(radio.image().begin() + 3 * kSlotSize, kSlotSize, 0xFF);  // a corrupt slot
        world.radio(radio);
        const ClientRecord before = *scene.db().client(1);
        world.feedback->clear();
        const QStringList shown = compare(scene, "Replace client");
        QVERIFY2(shown.size() == 2 && shown[0].startsWith("Power level: ") &&
                     shown[1].startsWith("Channel 3 damaged: "),
                 qPrintable(shown.join('|')));
        QCOMPARE(world.messageTexts().size(), std::size_t{2});
        QCOMPARE(status(scene.frame), "Read the radio into 'B' (2048 bytes, 1 channel repaired)");
        QVERIFY(*scene.db().client(1) != before);
        QCOMPARE(scene.frame.menuAction(cmd::Undo)->text(),
                 QString("&Undo Read radio into 'B'\tCtrl-Z"));
        scene.run(cmd::Undo);
        QVERIFY(*scene.db().client(1) == before);
    }

    void channelDialogFieldsAndTheirChecks() {
        ShellWorld world;
        ClientRecord client;
        auto dialog = openChannel(client);
        QCOMPARE(QStringList({dialog->numberField()->text(), dialog->rxField()->text(),
                              dialog->labelField()->text()}),
                 QStringList({"12", "3740.0", "Home"}));
        QVERIFY(dialog->usbButton()->isChecked() &&
                QApplication::focusWidget() == dialog->numberField());
        typeAndLeave(dialog->rxField(), "3500 kHz", dialog->labelField());
        QCOMPARE(dialog->txField()->text(), QString("3500 kHz"));  // exactly as typed
        // Passing through RX without typing keeps a split channel's TX.
        dialog->txField()->setText("8000.0");
        dialog->rxField()->setFocus();
        dialog->labelField()->setFocus();
        QApplication::processEvents();
        QCOMPARE(dialog->txField()->text(), QString("8000.0"));

        // A refused field gets the focus back, but not for Cancel; OK checks too.
        const ClientRecord before = client;
        QLineEdit* number = dialog->numberField();
        const std::tuple<QLineEdit*, const char*, const char*> cases[] = {
            {dialog->txField(), "1799.9", "Transmit frequancy is invalid."},
            {number, "256", "Channel number is out of range (1-255)."},
        };
        for (const auto& [field, text, message] : cases) {
            world.feedback->clear();
            typeAndLeave(field, text, dialog->labelField());
            QCOMPARE(world.messageTexts(), Texts{message});
            QCOMPARE(world.feedback->messages()[0].window, static_cast<QWidget*>(dialog.get()));
            QCOMPARE(QApplication::focusWidget(), field);
            // A frequency stays, selected for correction; a number is put back.
            QCOMPARE(field->text(), QString(field == number ? "12" : text));
            QCOMPARE(field->selectedText(), field->text());
        }
        QCOMPARE(client, before);
        world.feedback->clear();
        typeAndLeave(dialog->rxField(), "12", dialog->cancelButton());
        typeAndLeave(number, "0", dialog->cancelButton());
        QVERIFY(world.feedback->empty() && client.currentChannel() == 12);
        typeAndLeave(number, "40", dialog->labelField());  // an accepted number moves at once
        QVERIFY(client.currentChannel() == 40 && client.isChannelFree(12));

        // A refused Scan tick is taken back.
        for (int n = 100; n < 108; ++n) client.setChannelFlag(n, ChannelFlag::Scan, 1);
        QTest::mouseClick(dialog->scanBox(), Qt::LeftButton);
        QVERIFY(!dialog->scanBox()->isChecked());
        QCOMPARE(world.messageTexts(), Texts{"There are already 8 scan channels selected."});
        world.feedback->clear();
        // A field confirmed with Enter was never left: OK checks it, the dialog stays open.
        const ClientRecord moved = client;
        dialog->rxField()->setFocus();
        dialog->rxField()->setText("abc");
        QTest::keyClick(dialog->rxField(), Qt::Key_Return);
        QCOMPARE(world.messageTexts(), Texts{"Receive frequancy is invalid."});
        QVERIFY(dialog->isVisible() && QApplication::focusWidget() == dialog->rxField());
        QCOMPARE(client, moved);
        dialog->rxField()->setText("7000");
        dialog->txField()->setText("7100");
        dialog->numberField()->setText("30");
        QTest::keyClick(dialog->numberField(), Qt::Key_Return);
        QVERIFY(world.messageTexts().size() == 1 && dialog->result() == QDialog::Accepted);
        QCOMPARE(std::pair(client.getFrequency(30, 0), client.getFrequency(30, 1)),
                 std::pair(70000u, 71000u));
        QVERIFY(client.isChannelFree(40));
    }

    void clientDialogShowsAndStoresEditedFieldsOnly() {
        ClientWorld world;
        ClientRecord client = fourChannels();
        client.image()[5] = 0xAB;
        const auto selcall = [&] { return std::pair(client.image()[5], client.image()[6]); };
        auto dialog = openClient(client);
        QCOMPARE(QStringList({dialog->nameField()->text(), dialog->selcallField()->text(),
                              dialog->serialField()->text()}),
                 QStringList({"Harbour Master", "9934", "SN-42"}));
        QVERIFY(dialog->programBox()->isChecked() && dialog->modesBox()->isChecked() &&
                !dialog->autoTuneBox()->isChecked() && dialog->highButton()->isChecked());
        QCOMPARE(dialog->rowChannels(), (std::vector<int>{1, 2, 5, 9}));
        QStringList row;
        for (int column = 0; column < 7; ++column)
            row << dialog->channelList()->model()->index(2, column).data().toString();
        QCOMPARE(row, (QStringList{"5", QString::fromLatin1("\xE9t\xE9"), "USB", "14000.0",
                                   "14000.0", "yes", "no"}));
        // Column widths go back to the settings on OK; an untouched selcall stays.
        dialog->channelList()->setColumnWidth(2, 90);
        dialog->accept();
        QVERIFY(world.settings.read("Radio Columns")->find(" 90 ") != std::string::npos);
        QCOMPARE(selcall(), std::pair(std::uint8_t{0xAB}, std::uint8_t{0x34}));

        dialog = openClient(client);
        typeAndLeave(dialog->nameField(), "Lighthouse", dialog->selcallField());
        typeAndLeave(dialog->selcallField(), "5678", dialog->nameField());
        dialog->programBox()->setChecked(false);
        dialog->autoTuneBox()->setChecked(true);
        dialog->accept();
        char text[33];
        client.getName(text, sizeof text);
        QCOMPARE(QString(text), QString("Lighthouse"));
        QCOMPARE(selcall(), std::pair(std::uint8_t{0x56}, std::uint8_t{0x78}));
        QCOMPARE(client.getOption(0xFF), 0x80 | 0x10 | 0x0C | 0x01);
        // A selcall of three digits is told about and not stored; OK goes on.
        dialog = openClient(client);
        typeAndLeave(dialog->selcallField(), "567", dialog->nameField());
        dialog->accept();
        QVERIFY(dialog->result() == 1 &&
                selcall() == std::pair(std::uint8_t{0x56}, std::uint8_t{0x78}));
        QCOMPARE(world.messageTexts().at(0).substr(0, 48),
                 "The selcall '567' is not four digits and was not");

        // A mid level and a standard client's selcall are shown as such and kept on OK.
        client.image()[0] =
            static_cast<std::uint8_t>((client.image()[0] & ~0x0C) | PowerLevel::Mid2);
        client.setOption(ClientOption::Advanced, 0);
        const ClientRecord before = client;
        dialog = openClient(client);
        QVERIFY(!dialog->lowButton()->isChecked() && !dialog->highButton()->isChecked());
        QCOMPARE(dialog->powerNowLabel()->text() + dialog->selcallField()->text(), "Now: Mid2N/A");
        QVERIFY(!dialog->selcallField()->isEnabled());
        dialog->accept();
        QCOMPARE(client, before);
    }

    // Byte-wise and case-sensitive ("Alpha" < "alpha" < "zulu" < "\xE9t\xE9"); focus and
    // selection follow their channel; a refresh shows channel order again.
    void channelListSortsAndRefreshesUnsorted() {
        ClientWorld world;
        ClientRecord client = fourChannels();
        auto dialog = openClient(client);
        select(*dialog, {2}, 2);  // channel 5
        auto sortBy = [&](int column) {
            emit dialog->channelList()->horizontalHeader()->sectionClicked(column);
            return dialog->rowChannels();
        };
        QCOMPARE(sortBy(ClientDialog::LabelColumn), (std::vector<int>{2, 9, 1, 5}));
        QCOMPARE(dialog->channelList()->currentIndex().row(), 3);
        QVERIFY(dialog->channelList()->selectionModel()->isRowSelected(3, {}));
        QCOMPARE(sortBy(ClientDialog::RxColumn), (std::vector<int>{2, 9, 1, 5}));  // by value
        QCOMPARE(sortBy(ClientDialog::ChannelColumn), (std::vector<int>{1, 2, 5, 9}));
        sortBy(ClientDialog::LabelColumn);
        select(*dialog, {0}, 0);
        dialog->button(ClientDialog::kEdit)->click();
        QApplication::processEvents();
        QCOMPARE(dialog->rowChannels(), (std::vector<int>{1, 2, 5, 9}));
    }

    void channelListCommands() {
        ClientWorld world;
        ClientRecord client = fourChannels();
        auto dialog = openClient(client);
        // Edit needs the focused row, selected or not.
        dialog->button(ClientDialog::kEdit)->click();  // nothing happens
        select(*dialog, {}, 2);
        dialog->button(ClientDialog::kEdit)->click();
        QCOMPARE(world.editedChannels, std::vector<int>{5});
        // New takes the number after the highest in use; cancelled, it is deleted again.
        world.channelAnswer = 0;
        dialog->button(ClientDialog::kNew)->click();
        QVERIFY(world.editedChannels == (std::vector<int>{5, 10}) && client.isChannelFree(10));
        world.channelAnswer = 1;
        dialog->button(ClientDialog::kNew)->click();
        QApplication::processEvents();
        QCOMPARE(dialog->rowChannels(), (std::vector<int>{1, 2, 5, 9, 10}));

        // Ctrl+C and Ctrl+V through our clipboard, which another program's text does not fill.
        QGuiApplication::clipboard()->setText("from another program");
        QVERIFY(!clipboard().isAvailable(ClipboardFormat::Channels));
        select(*dialog, {3, 1});
        QTest::keyClick(dialog->channelList(), Qt::Key_C, Qt::ControlModifier);
        settle();
        ClientRecord other;
        auto target = openClient(other);
        QTest::keyClick(target->channelList(), Qt::Key_V, Qt::ControlModifier);
        settle();  // the paste, which posts the refresh
        QCOMPARE(target->rowChannels(), (std::vector<int>{2, 9}));

        // Delete asks only for several rows; Enter edits (not OK); the Delete key deletes.
        select(*dialog, {0, 1, 4});
        world.feedback->script({MessageAnswer::No});
        dialog->button(ClientDialog::kDelete)->click();
        QCOMPARE(world.messageTexts(),
                 Texts{"Are you sure you want to delete all 3 selected channels?"});
        QCOMPARE(dialog->rowChannels(), (std::vector<int>{1, 2, 5, 9, 10}));
        select(*dialog, {0, 1, 4}, 1);
        QTest::keyClick(dialog->channelList(), Qt::Key_Return);
        settle();
        QVERIFY(world.editedChannels.back() == 2 && dialog->result() == 0);
        select(*dialog, {0, 1, 4});
        QTest::keyClick(dialog->channelList(), Qt::Key_Delete);  // unscripted: Yes
        QApplication::processEvents();
        QCOMPARE(dialog->rowChannels(), (std::vector<int>{5, 9}));
        world.feedback->clear();
        select(*dialog, {0});
        dialog->button(ClientDialog::kDelete)->click();
        QVERIFY(world.feedback->empty() && dialog->rowChannels() == std::vector<int>{9});
        select(*dialog, {});
        dialog->button(ClientDialog::kDelete)->click();  // nothing selected: nothing happens
        QVERIFY(world.feedback->empty() && !client.isChannelFree(9));
        // New with every channel in use says why nothing happens.
        while (client.addChannel() > 0) {
        }
        dialog->button(ClientDialog::kNew)->click();
        QCOMPARE(world.messageTexts(), Texts{msg::kNoFreeChannel});
    }

    // The dealer sees the count while typing; what OK cuts is told.
    void dealerTextCountsAndTellsWhatIsCut() {
        ShellWorld world;
        std::array<char, 100> text{"Harbour\r\nRadio"};
        QStringList counts;
        whenModal([&](QWidget* modal) {
            auto* dialog = static_cast<DealerTextDialog*>(modal);
            counts << dialog->countLabel()->text();
            dialog->textBox()->setPlainText(QString(98, 'x') + "\nyyy");  // no half line break
            dialog->accept();
            counts << dialog->countLabel()->text();
        });
        QCOMPARE(runDealerTextDialog(text, nullptr), 1);
        QCOMPARE(counts, (QStringList{"14 of 99 characters", "103 of 99 characters"}));
        QCOMPARE(std::string(text.data()), std::string(98, 'x'));
        QCOMPARE(world.messageTexts(), Texts{formatMessage(msg::kDealerTextCut, 5)});
    }

    // A character the records cannot hold is refused with a message naming it (never a
    // "?"); the dialog stays open and stores nothing until it is taken out.
    void typedTextTheRecordsCannotHoldIsRefused() {
        ClientWorld world;
        ClientRecord client = fourChannels();
        auto dialog = openClient(client);
        dialog->nameField()->setText("\u0141\u00f3d\u017a Marine");
        dialog->nameField()->setModified(true);
        dialog->accept();
        char label[kLabelSize] = {};
        auto channel = openChannel(client);
        channel->labelField()->setText("Whip \u03a9");
        channel->accept();
        DealerTextDialog dealer({}, nullptr);
        dealer.textBox()->setPlainText("\u20ac Harbour\n\u0141ine 2");
        dealer.accept();
        QCOMPARE(world.messageTexts(),
                 (Texts{"The name cannot hold the character \"\u0141\".",
                        "The label cannot hold the character \"\u03a9\".",
                        "The dealer text cannot hold the character \"\u0141\"."}));
        QVERIFY(dialog->result() != QDialog::Accepted && channel->result() != QDialog::Accepted &&
                dealer.result() != QDialog::Accepted);
        client.getLabel(12, label, sizeof label);
        QCOMPARE(std::string(label), std::string("Home"));
        client.getName(label, sizeof label);
        QCOMPARE(std::string(label), std::string("Harbour Master"));
        channel.reset();
        dealer.textBox()->setPlainText("\u20ac Harbour\nLine 2");
        dealer.accept();
        std::array<char, 100> text{};
        dealer.storeText(text);
        QCOMPARE(std::string(text.data()), std::string("\x80 Harbour\r\nLine 2"));
    }
};

QTEST_MAIN(DialogsTest)
#include "dialogs_test.moc"
