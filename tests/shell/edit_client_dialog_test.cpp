// The edit client dialog driven through its widgets: what it shows, what OK stores, the
// channel list and its commands, and the transaction that a Cancel rolls back.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
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
#include "support/fake_clipboard.h"
#include "support/recording_ui.h"

namespace tarn {
namespace {

using test::FakeClipboard;
using test::RecordingUi;

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
    FakeClipboard board;
    ScopedServices services;
    ClientRecord client;
    std::vector<int> editedChannels;
    int channelAnswer = 1;
};

TEST_F(EditClientDialog, ShowsTheClientAndItsChannelsInStoredWidths) {
    client.setOption(ClientOption::AutoTune, 1);
    auto dialog = open();
    EXPECT_EQ(dialog->nameField()->text(), "Harbour Master");
    EXPECT_EQ(dialog->selcallField()->text(), "1234");
    EXPECT_EQ(dialog->serialField()->text(), "SN-42");
    EXPECT_TRUE(dialog->programBox()->isChecked());
    EXPECT_TRUE(dialog->modesBox()->isChecked());
    EXPECT_TRUE(dialog->autoTuneBox()->isChecked());
    EXPECT_TRUE(dialog->highButton()->isChecked());

    EXPECT_EQ(dialog->rowChannels(), (std::vector<int>{1, 2, 5, 9}));
    const QStringList row5 = {
        "5", QString::fromLatin1("\xE9t\xE9"), "USB", "14000.0", "14000.0", "yes", "no"};
    for (int column = 0; column < 7; ++column) EXPECT_EQ(cell(*dialog, 2, column), row5[column]);

    // Column widths come from the settings and go back on OK only.
    settingsBackend.write("Radio Columns", "60 200");
    dialog = open();
    EXPECT_EQ(dialog->channelList()->columnWidth(1), 200);
    dialog->channelList()->setColumnWidth(2, 90);
    dialog->reject();
    EXPECT_EQ(*settingsBackend.read("Radio Columns"), "60 200");
    dialog->accept();
    EXPECT_EQ(*settingsBackend.read("Radio Columns"), "60 200 90 60 60 60 60");
}

// OK stores what was edited and nothing else.
TEST_F(EditClientDialog, OkStoresEditedFieldsOnly) {
    client.image()[5] = 0xAB;
    const auto selcall = [&] { return std::make_pair(client.image()[5], client.image()[6]); };
    auto dialog = open();  // shows 9934; untouched it stays 0xAB 0x34
    EXPECT_EQ(dialog->selcallField()->text(), "9934");
    dialog->accept();
    EXPECT_EQ(selcall(), std::make_pair(std::uint8_t{0xAB}, std::uint8_t{0x34}));

    dialog = open();
    dialog->nameField()->selectAll();
    QTest::keyClicks(dialog->nameField(), "Lighthouse");
    dialog->serialField()->selectAll();
    QTest::keyClicks(dialog->serialField(), "X-1");
    dialog->selcallField()->selectAll();
    QTest::keyClicks(dialog->selcallField(), "5678");
    dialog->programBox()->setChecked(false);
    dialog->autoTuneBox()->setChecked(true);
    dialog->accept();
    char text[33];
    client.getName(text, sizeof text);
    EXPECT_STREQ(text, "Lighthouse");
    client.getSerial(text, sizeof text);
    EXPECT_STREQ(text, "X-1");
    EXPECT_EQ(selcall(), std::make_pair(std::uint8_t{0x56}, std::uint8_t{0x78}));
    EXPECT_EQ(client.getOption(0xFF), 0x80 | 0x10 | 0x0C | 0x01);

    // Mid levels check neither button, are named beside them and survive OK, unless Low
    // is really chosen.
    for (int level : {PowerLevel::Mid1, PowerLevel::Mid2}) {
        client.image()[0] = static_cast<std::uint8_t>((client.image()[0] & ~0x0C) | level);
        dialog = open();
        EXPECT_FALSE(dialog->lowButton()->isChecked() || dialog->highButton()->isChecked());
        EXPECT_EQ(dialog->powerNowLabel()->text(),
                  level == PowerLevel::Mid1 ? "Now: Mid1" : "Now: Mid2");
        dialog->nameField()->setText("Renamed");
        dialog->accept();
        EXPECT_EQ(client.getOption(ClientOption::PowerLevel), level);
        dialog = open();
        QTest::mouseClick(dialog->lowButton(), Qt::LeftButton);
        dialog->accept();
        EXPECT_EQ(client.getOption(ClientOption::PowerLevel), PowerLevel::Low);
    }

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
    const auto usbFirst = sortBy(ClientDialog::ModeColumn);
    EXPECT_EQ(std::set<int>(usbFirst.begin(), usbFirst.begin() + 2), (std::set<int>{1, 5}));
    EXPECT_EQ(sortBy(ClientDialog::RxColumn), (std::vector<int>{2, 9, 1, 5}));
    EXPECT_EQ(sortBy(ClientDialog::ScanColumn).front(), 5);
    EXPECT_EQ(sortBy(ClientDialog::SelcallColumn).front(), 9);
    EXPECT_EQ(sortBy(ClientDialog::ChannelColumn), (std::vector<int>{1, 2, 5, 9}));

    sortBy(ClientDialog::ModeColumn);
    select(*dialog, {0}, 0);
    dialog->button(ClientDialog::kEdit)->click();
    QApplication::processEvents();
    EXPECT_EQ(dialog->rowChannels(), (std::vector<int>{1, 2, 5, 9}));
}

TEST_F(EditClientDialog, DeleteAsksOnlyForSeveralRows) {
    auto dialog = open();
    select(*dialog, {0, 1, 3});
    feedback.script({MessageAnswer::No});
    dialog->button(ClientDialog::kDelete)->click();
    ASSERT_EQ(feedback.texts(),
              std::vector<std::string>{"Are you sure you want to delete all 3 selected channels?"});
    EXPECT_EQ(feedback.messages()[0].buttons, MessageButtons::YesNo);
    EXPECT_EQ(dialog->rowChannels(), (std::vector<int>{1, 2, 5, 9}));
    EXPECT_FALSE(client.isChannelFree(1) || client.isChannelFree(2) || client.isChannelFree(9));

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
    EXPECT_TRUE(client.isChannelFree(1) && client.isChannelFree(2) && client.isChannelFree(9));

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

TEST_F(EditClientDialog, CopyAndPasteThroughKeysAndButtons) {
    auto dialog = open();
    QTableView* list = dialog->channelList();
    select(*dialog, {3, 1});
    QTest::keyClick(list, Qt::Key_C);  // C alone does nothing
    QApplication::processEvents();
    EXPECT_TRUE(board.blocks.empty());
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
