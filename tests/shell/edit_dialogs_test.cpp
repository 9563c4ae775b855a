// The edit client and edit channel dialogs driven through their widgets.
#include "shell/edit_channel_dialog.h"
#include "shell/edit_client_dialog.h"
#include "shell/qt_clipboard.h"
#include "shell_fixture.h"

using namespace tarn;
using namespace tarn::test;

namespace {

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

// Types into a field and moves the focus on to another control.
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

// After its posted refresh has filled the list.
std::unique_ptr<ClientDialog> openClient(ClientRecord& client) {
    auto dialog = std::make_unique<ClientDialog>(client, nullptr);
    QApplication::processEvents();
    return dialog;
}

// Selects the list's rows `rows` and puts the focus on `current` (none for -1).
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

class EditDialogsTest : public QObject {
    Q_OBJECT
  private slots:

    void channelDialogFieldsAndTheirChecks() {
        ShellWorld world;
        ClientRecord client;
        auto dialog = openChannel(client);
        QCOMPARE(QStringList({dialog->numberField()->text(), dialog->rxField()->text(),
                              dialog->labelField()->text()}),
                 QStringList({"12", "3740.0", "Home"}));
        QVERIFY(dialog->usbButton()->isChecked());
        QCOMPARE(QApplication::focusWidget(), dialog->numberField());
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
        QVERIFY(world.feedback->empty());
        QCOMPARE(client.currentChannel(), 12);
        typeAndLeave(number, "40", dialog->labelField());  // an accepted number moves at once
        QCOMPARE(client.currentChannel(), 40);
        QVERIFY(client.isChannelFree(12));

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
        QVERIFY(dialog->isVisible());
        QCOMPARE(QApplication::focusWidget(), dialog->rxField());
        QCOMPARE(client, moved);
        dialog->rxField()->setText("7000");
        dialog->txField()->setText("7100");
        dialog->numberField()->setText("30");
        QTest::keyClick(dialog->numberField(), Qt::Key_Return);
        QCOMPARE(world.messageTexts().size(), std::size_t{1});
        QCOMPARE(dialog->result(), int(QDialog::Accepted));
        QCOMPARE(std::pair(client.getFrequency(30, 0), client.getFrequency(30, 1)),
                 std::pair(70000u, 71000u));
        QVERIFY(client.isChannelFree(40));
        client.setOption(ClientOption::Advanced, 0);
        auto standard = openChannel(client);
        QVERIFY(!standard->scanBox()->isEnabled() && !standard->selcallBox()->isEnabled());
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
        dialog->nameField()->selectAll();
        QTest::keyClicks(dialog->nameField(), "Lighthouse");
        dialog->selcallField()->selectAll();
        QTest::keyClicks(dialog->selcallField(), "5678");
        dialog->programBox()->setChecked(false);
        dialog->autoTuneBox()->setChecked(true);
        dialog->accept();
        char text[33];
        client.getName(text, sizeof text);
        QCOMPARE(QString(text), QString("Lighthouse"));
        QCOMPARE(selcall(), std::pair(std::uint8_t{0x56}, std::uint8_t{0x78}));
        QCOMPARE(client.getOption(0xFF), 0x80 | 0x10 | 0x0C | 0x01);

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
    }

    // The whole round: adds, edits, moves and deletes inside the dialog, then Cancel.
    void cancelLeavesTheClientExactlyAsBefore() {
        ClientWorld world;
        ClientDatabase database(false);
        *database.client(database.addClient()) = fourChannels();
        database.setModified(false);
        const ClientRecord before = *database.client(0);
        world.services->editChannel = [](ClientRecord& record, WindowHandle) {
            ChannelDialog channel(record, nullptr);
            channel.numberField()->setText(QString::number(record.currentChannel() + 100));
            channel.rxField()->setText("12345.6");
            channel.labelField()->setText("changed");
            channel.accept();
            return channel.result();
        };
        world.services->editClient = [&](ClientRecord& record, WindowHandle) {
            ClientDialog dialog(record, nullptr);
            QApplication::processEvents();
            dialog.button(ClientDialog::kNew)->click();
            QApplication::processEvents();
            select(dialog, {0}, 0);
            dialog.button(ClientDialog::kEdit)->click();  // moves channel 1 to 101
            QApplication::processEvents();
            select(dialog, {0, 1});
            dialog.button(ClientDialog::kDelete)->click();
            dialog.nameField()->setText("Gone");
            [&] { QVERIFY(record != before); }();
            dialog.reject();
            return dialog.result();
        };
        QCOMPARE(database.editClient(nullptr, 0), 0);
        QCOMPARE(*database.client(0), before);
        QVERIFY(!database.isModified());
        QCOMPARE(world.messageTexts(),
                 Texts{"Are you sure you want to delete all 2 selected channels?"});
    }
};

QTEST_MAIN(EditDialogsTest)
#include "edit_dialogs_test.moc"
