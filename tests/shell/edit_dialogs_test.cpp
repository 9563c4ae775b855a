// The edit client and edit channel dialogs driven through their widgets: what they show,
// what OK stores, when a field is checked and where the focus goes, the channel list and its
// commands, and the transaction that a Cancel rolls back. The rules are the core's.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTest>

#include "database/client_database.h"
#include "model/services.h"
#include "settings/memory_settings_backend.h"
#include "shell/edit_channel_dialog.h"
#include "shell/edit_client_dialog.h"
#include "shell/qt_clipboard.h"
#include "support/recording_ui.h"

namespace tarn {
namespace {

using test::RecordingUi;

const std::vector<std::string> kNoMessages;

class EditChannelDialog : public ::testing::Test {
  protected:
    void SetUp() override {
        client.setFrequency(12, 0, 37400);
        client.setFrequency(12, 1, 37400);
        client.setChannelFlag(12, ChannelFlag::Usb, 1);
        client.setChannelFlag(12, ChannelFlag::Alarm, 1);
        client.setChannelFlag(12, 0x20, 1);
        client.image()[12 * 8 + 6] = 12;
        client.setLabel(12, "Home");
        client.setFrequency(20, 0, 50000);  // another channel in use
        client.image()[20 * 8 + 6] = 20;
        client.setCurrentChannel(12);
    }

    // Shows the dialog as the active window, the number field focused.
    std::unique_ptr<ChannelDialog> open() {
        auto dialog = std::make_unique<ChannelDialog>(client, nullptr);
        dialog->show();
        dialog->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
        return dialog;
    }

    // Types into a field and moves the focus on to another control.
    static void typeAndLeave(QLineEdit* field, const QString& text, QWidget* next) {
        field->setFocus();
        field->selectAll();
        QTest::keyClicks(field, text);
        next->setFocus();
        QApplication::processEvents();
    }

    RecordingUi feedback;
    ClientRecord client;
};

TEST_F(EditChannelDialog, ShowsTheChannelAndCopiesRxToTxWhenLeft) {
    auto dialog = open();
    EXPECT_EQ(QStringList({dialog->numberField()->text(), dialog->rxField()->text(),
                           dialog->labelField()->text()}),
              QStringList({"12", "3740.0", "Home"}));
    EXPECT_TRUE(dialog->usbButton()->isChecked());
    EXPECT_EQ(QApplication::focusWidget(), dialog->numberField());
    typeAndLeave(dialog->rxField(), "3500 kHz", dialog->labelField());
    EXPECT_EQ(dialog->txField()->text(), "3500 kHz");  // exactly as typed
    // Passing through RX without typing keeps a split channel's TX.
    dialog->rxField()->setText("4500.0");
    dialog->txField()->setText("8000.0");
    dialog->rxField()->setFocus();
    dialog->labelField()->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(dialog->txField()->text(), "8000.0");

    client.setOption(ClientOption::Advanced, 0);
    auto standard = open();
    EXPECT_FALSE(standard->scanBox()->isEnabled() || standard->selcallBox()->isEnabled());
}

TEST_F(EditChannelDialog, RefusedFieldGetsTheFocusBackButNotForCancel) {
    auto dialog = open();
    const ClientRecord before = client;
    QLineEdit* number = dialog->numberField();
    const std::tuple<QLineEdit*, const char*, const char*> cases[] = {
        {dialog->txField(), "1799.9", "Transmit frequancy is invalid."},
        {number, "256", "Channel number is out of range (1-255)."},
    };
    for (const auto& [field, text, message] : cases) {
        feedback.clear();
        typeAndLeave(field, text, dialog->labelField());
        EXPECT_EQ(feedback.texts(), std::vector<std::string>{message}) << text;
        EXPECT_EQ(feedback.messages()[0].window, static_cast<QWidget*>(dialog.get()));
        EXPECT_EQ(QApplication::focusWidget(), field) << text;
        EXPECT_EQ(field->text(), field == number ? "12" : text);
        EXPECT_EQ(field->selectedText(), field->text()) << text;
    }
    EXPECT_EQ(client, before);
    feedback.clear();
    typeAndLeave(dialog->rxField(), "12", dialog->cancelButton());
    typeAndLeave(number, "0", dialog->cancelButton());
    EXPECT_EQ(feedback.texts(), kNoMessages);
    EXPECT_EQ(client.currentChannel(), 12);
    typeAndLeave(number, "40", dialog->labelField());  // an accepted number moves at once
    EXPECT_EQ(client.currentChannel(), 40);
    EXPECT_TRUE(client.isChannelFree(12));
}

TEST_F(EditChannelDialog, RefusedScanTickIsUndone) {
    for (int n = 100; n < 108; ++n) client.setChannelFlag(n, ChannelFlag::Scan, 1);
    auto dialog = open();
    QTest::mouseClick(dialog->scanBox(), Qt::LeftButton);
    EXPECT_FALSE(dialog->scanBox()->isChecked());
    EXPECT_EQ(feedback.texts(),
              std::vector<std::string>{"There are already 8 scan channels selected."});
}

// A field confirmed with Enter was never left: OK checks it and keeps the dialog open.
TEST_F(EditChannelDialog, OkChecksFieldsThatWereNeverLeft) {
    auto dialog = open();
    const ClientRecord before = client;
    dialog->rxField()->setFocus();
    dialog->rxField()->setText("abc");
    QTest::keyClick(dialog->rxField(), Qt::Key_Return);
    EXPECT_EQ(feedback.texts(), std::vector<std::string>{"Receive frequancy is invalid."});
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(QApplication::focusWidget(), dialog->rxField());
    EXPECT_EQ(client, before);
    feedback.clear();
    dialog->rxField()->setText("7000");
    dialog->txField()->setText("7100");
    dialog->numberField()->setText("30");
    QTest::keyClick(dialog->numberField(), Qt::Key_Return);
    EXPECT_EQ(feedback.texts(), kNoMessages);
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(client.getFrequency(30, 0), 70000u);
    EXPECT_EQ(client.getFrequency(30, 1), 71000u);
    EXPECT_TRUE(client.isChannelFree(12));
}

void putChannel(ClientRecord& client, int n, std::uint32_t rx, int flags, const char* label) {
    client.setFrequency(n, 0, rx);
    client.setFrequency(n, 1, rx);
    client.image()[static_cast<std::size_t>(8 * n)] = static_cast<std::uint8_t>(flags);
    client.image()[static_cast<std::size_t>(8 * n + 6)] = static_cast<std::uint8_t>(n);
    client.setLabel(n, label);
}

class EditClientDialog : public ::testing::Test {
  protected:
    void SetUp() override {
        services->settings = &settingsBackend;
        services->clipboard = &qtClipboard();
        QGuiApplication::clipboard()->setText("from another program");
        client.setName("Harbour Master");
        client.setSerial("SN-42");
        putChannel(client, 1, 70000, ChannelFlag::Usb, "zulu");
        putChannel(client, 2, 35000, 0, "Alpha");
        putChannel(client, 5, 140000, ChannelFlag::Usb | ChannelFlag::Scan, "\xE9t\xE9");
        putChannel(client, 9, 50000, ChannelFlag::Selcall, "alpha");
        services->editChannel = [this](ClientRecord& record, WindowHandle) {
            editedChannels.push_back(record.currentChannel());
            return channelAnswer;
        };
    }

    // The dialog after its posted refresh has filled the list.
    std::unique_ptr<ClientDialog> open() {
        auto dialog = std::make_unique<ClientDialog>(client, nullptr);
        QApplication::processEvents();
        return dialog;
    }

    static void select(ClientDialog& dialog, std::initializer_list<int> rows, int current = -1) {
        QTableView* list = dialog.channelList();
        list->clearSelection();
        for (int row : rows)
            list->selectionModel()->select(list->model()->index(row, 0),
                                           QItemSelectionModel::Select | QItemSelectionModel::Rows);
        if (current >= 0)
            list->selectionModel()->setCurrentIndex(list->model()->index(current, 0),
                                                    QItemSelectionModel::NoUpdate);
    }

    static QString cell(const ClientDialog& dialog, int row, int column) {
        return dialog.channelList()->model()->index(row, column).data().toString();
    }

    MemorySettingsBackend settingsBackend;
    RecordingUi feedback;
    ScopedServices services;
    ClientRecord client;
    std::vector<int> editedChannels;
    int channelAnswer = 1;
};

TEST_F(EditClientDialog, ShowsAndStoresEditedFieldsOnly) {
    client.setOption(ClientOption::AutoTune, 1);
    client.image()[5] = 0xAB;
    const auto selcall = [&] { return std::make_pair(client.image()[5], client.image()[6]); };
    auto dialog = open();
    EXPECT_EQ(QStringList({dialog->nameField()->text(), dialog->selcallField()->text(),
                           dialog->serialField()->text()}),
              QStringList({"Harbour Master", "9934", "SN-42"}));
    EXPECT_TRUE(dialog->programBox()->isChecked() && dialog->modesBox()->isChecked() &&
                dialog->autoTuneBox()->isChecked() && dialog->highButton()->isChecked());
    EXPECT_EQ(dialog->rowChannels(), (std::vector<int>{1, 2, 5, 9}));
    const QStringList row5 = {
        "5", QString::fromLatin1("\xE9t\xE9"), "USB", "14000.0", "14000.0", "yes", "no"};
    for (int column = 0; column < 7; ++column) EXPECT_EQ(cell(*dialog, 2, column), row5[column]);
    // Column widths go back to the settings on OK only; an untouched selcall stays as stored.
    dialog->channelList()->setColumnWidth(2, 90);
    dialog->reject();
    EXPECT_FALSE(settingsBackend.read("Radio Columns"));
    dialog->accept();
    EXPECT_NE(settingsBackend.read("Radio Columns")->find(" 90 "), std::string::npos);
    EXPECT_EQ(selcall(), std::make_pair(std::uint8_t{0xAB}, std::uint8_t{0x34}));

    dialog = open();
    dialog->nameField()->selectAll();
    QTest::keyClicks(dialog->nameField(), "Lighthouse");
    dialog->selcallField()->selectAll();
    QTest::keyClicks(dialog->selcallField(), "5678");
    dialog->programBox()->setChecked(false);
    dialog->accept();
    char text[33];
    client.getName(text, sizeof text);
    EXPECT_STREQ(text, "Lighthouse");
    EXPECT_EQ(selcall(), std::make_pair(std::uint8_t{0x56}, std::uint8_t{0x78}));
    EXPECT_EQ(client.getOption(0xFF), 0x80 | 0x10 | 0x0C | 0x01);

    // A mid level checks neither button, is named beside them and survives OK, unless Low
    // is really chosen.
    client.image()[0] = static_cast<std::uint8_t>((client.image()[0] & ~0x0C) | PowerLevel::Mid2);
    dialog = open();
    EXPECT_FALSE(dialog->lowButton()->isChecked() || dialog->highButton()->isChecked());
    EXPECT_EQ(dialog->powerNowLabel()->text(), "Now: Mid2");
    dialog->accept();
    EXPECT_EQ(client.getOption(ClientOption::PowerLevel), PowerLevel::Mid2);
    dialog = open();
    QTest::mouseClick(dialog->lowButton(), Qt::LeftButton);
    dialog->accept();
    EXPECT_EQ(client.getOption(ClientOption::PowerLevel), PowerLevel::Low);

    // A standard client shows no selcall and keeps the stored one.
    client.setOption(ClientOption::Advanced, 0);
    const ClientRecord before = client;
    dialog = open();
    EXPECT_EQ(dialog->selcallField()->text(), "N/A");
    EXPECT_FALSE(dialog->selcallField()->isEnabled() || dialog->selcallLabel()->isEnabled());
    dialog->accept();
    EXPECT_EQ(client, before);
}

TEST_F(EditClientDialog, SortingByColumnsAndRefreshRestoresChannelOrder) {
    auto dialog = open();
    select(*dialog, {2}, 2);  // channel 5
    auto sortBy = [&](int column) {
        emit dialog->channelList()->horizontalHeader()->sectionClicked(column);
        return dialog->rowChannels();
    };
    // Unsigned bytes, case-sensitive: "Alpha" < "alpha" < "zulu" < "\xE9t\xE9".
    EXPECT_EQ(sortBy(ClientDialog::LabelColumn), (std::vector<int>{2, 9, 1, 5}));
    EXPECT_EQ(dialog->channelList()->currentIndex().row(), 3);  // focus and selection follow
    EXPECT_EQ(dialog->channelList()->selectionModel()->selectedRows().size(), 1);
    EXPECT_TRUE(dialog->channelList()->selectionModel()->isRowSelected(3, {}));
    EXPECT_EQ(sortBy(ClientDialog::RxColumn), (std::vector<int>{2, 9, 1, 5}));  // by value
    EXPECT_EQ(sortBy(ClientDialog::ChannelColumn), (std::vector<int>{1, 2, 5, 9}));

    sortBy(ClientDialog::LabelColumn);
    select(*dialog, {0}, 0);
    dialog->button(ClientDialog::kEdit)->click();
    QApplication::processEvents();
    EXPECT_EQ(dialog->rowChannels(), (std::vector<int>{1, 2, 5, 9}));  // refreshed unsorted
}

TEST_F(EditClientDialog, DeleteAsksOnlyForSeveralRows) {
    auto dialog = open();
    select(*dialog, {0, 1, 3});
    feedback.script({MessageAnswer::No});
    dialog->button(ClientDialog::kDelete)->click();
    ASSERT_EQ(feedback.texts(),
              std::vector<std::string>{"Are you sure you want to delete all 3 selected channels?"});
    EXPECT_EQ(dialog->rowChannels(), (std::vector<int>{1, 2, 5, 9}));

    // Enter on the list edits the focused channel (it does not press OK); Delete deletes.
    select(*dialog, {0, 1, 3}, 1);
    QTest::keyClick(dialog->channelList(), Qt::Key_Return);
    QApplication::processEvents();
    QApplication::processEvents();  // the refresh the edit posted
    EXPECT_EQ(editedChannels, std::vector<int>{2});
    EXPECT_EQ(dialog->result(), 0);
    select(*dialog, {0, 1, 3});
    QTest::keyClick(dialog->channelList(), Qt::Key_Delete);  // unscripted: Yes
    QApplication::processEvents();
    EXPECT_EQ(dialog->rowChannels(), std::vector<int>{5});

    feedback.clear();
    select(*dialog, {0});
    dialog->button(ClientDialog::kDelete)->click();
    EXPECT_TRUE(feedback.empty());
    EXPECT_TRUE(client.hasNoChannels());
    dialog->button(ClientDialog::kDelete)->click();  // nothing selected: nothing happens
    EXPECT_TRUE(feedback.empty());
}

TEST_F(EditClientDialog, EditNeedsTheFocusedRowNewTakesTheNextNumber) {
    int helpCalls = 0;
    services->help = [&] { ++helpCalls; };
    auto dialog = open();
    dialog->button(ClientDialog::kEdit)->click();
    EXPECT_TRUE(editedChannels.empty());
    select(*dialog, {}, 2);  // focus without selection still counts
    dialog->button(ClientDialog::kEdit)->click();
    EXPECT_EQ(editedChannels, std::vector<int>{5});

    editedChannels.clear();
    channelAnswer = 0;
    dialog->button(ClientDialog::kNew)->click();
    EXPECT_EQ(editedChannels, std::vector<int>{10});  // after the highest in use
    EXPECT_TRUE(client.isChannelFree(10));            // cancelled: deleted again
    channelAnswer = 1;
    dialog->button(ClientDialog::kNew)->click();
    QApplication::processEvents();
    EXPECT_EQ(dialog->rowChannels(), (std::vector<int>{1, 2, 5, 9, 10}));

    dialog->button(ClientDialog::kHelp)->click();
    EXPECT_EQ(helpCalls, 0);
    QApplication::processEvents();
    EXPECT_EQ(helpCalls, 1);
}

// Through the application's clipboard, which text from another program does not fill.
TEST_F(EditClientDialog, CopyAndPasteThroughKeys) {
    auto dialog = open();
    QTableView* list = dialog->channelList();
    select(*dialog, {3, 1});
    QTest::keyClick(list, Qt::Key_C);  // C alone does nothing
    QApplication::processEvents();
    EXPECT_FALSE(clipboard().isAvailable(ClipboardFormat::Channels));
    QTest::keyClick(list, Qt::Key_C, Qt::ControlModifier);
    QApplication::processEvents();
    ClientRecord other;
    ClientDialog target(other, nullptr);
    QApplication::processEvents();
    QTest::keyClick(target.channelList(), Qt::Key_V, Qt::ControlModifier);
    QApplication::processEvents();  // the paste, which posts the refresh
    QApplication::processEvents();
    EXPECT_EQ(target.rowChannels(), (std::vector<int>{2, 9}));
}

// The whole round: adds, edits, moves and deletes inside the dialog, then Cancel.
TEST_F(EditClientDialog, CancelLeavesTheClientExactlyAsBefore) {
    ClientDatabase database(false);
    database.addClient();
    *database.client(0) = client;
    database.setModified(false);
    const ClientRecord before = *database.client(0);

    services->editChannel = [](ClientRecord& record, WindowHandle) {
        ChannelDialog channel(record, nullptr);
        channel.numberField()->setText(QString::number(record.currentChannel() + 100));
        channel.rxField()->setText("12345.6");
        channel.labelField()->setText("changed");
        channel.accept();
        return channel.result();
    };
    services->editClient = [&](ClientRecord& record, WindowHandle) {
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
        EXPECT_NE(record, before);
        dialog.reject();
        return dialog.result();
    };
    EXPECT_EQ(database.editClient(nullptr, 0), 0);
    EXPECT_EQ(*database.client(0), before);
    EXPECT_FALSE(database.isModified());
    EXPECT_EQ(feedback.texts(),
              std::vector<std::string>{"Are you sure you want to delete all 2 selected channels?"});
}

}  // namespace
}  // namespace tarn
