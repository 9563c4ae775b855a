// The edit channel dialog driven through its widgets: field checks on leaving, the move
// to a free number, the scan limit, and what OK stores.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "model/client_record.h"
#include "model/model_dialogs.h"
#include "shell/edit_channel_dialog.h"
#include "support/recording_feedback.h"

namespace tarn {
namespace {

using test::RecordingFeedback;

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
        field->setText(text);
        next->setFocus();
        QApplication::processEvents();
    }

    RecordingFeedback feedback;
    ClientRecord client;
};

TEST_F(EditChannelDialog, OpensOnTheChannelAndCopiesRxToTxFrom1800Up) {
    auto dialog = open();
    EXPECT_EQ(dialog->numberField()->text(), "12");
    EXPECT_EQ(dialog->rxField()->text(), "3740.0");
    EXPECT_TRUE(dialog->usbButton()->isChecked());
    EXPECT_EQ(dialog->labelField()->text(), "Home");
    EXPECT_EQ(QApplication::focusWidget(), dialog->numberField());

    typeAndLeave(dialog->rxField(), "3500", dialog->labelField());
    EXPECT_EQ(dialog->txField()->text(), "3500");  // exactly as typed
    typeAndLeave(dialog->rxField(), "1000", dialog->labelField());
    EXPECT_EQ(dialog->txField()->text(), "3500");
    typeAndLeave(dialog->rxField(), "1800.0 kHz", dialog->labelField());
    EXPECT_EQ(dialog->txField()->text(), "1800.0 kHz");
    EXPECT_EQ(feedback.texts(), kNoMessages);
}

TEST_F(EditChannelDialog, InvalidFieldsAreRefusedWhenLeftButNotForCancel) {
    auto dialog = open();
    const ClientRecord before = client;
    QLineEdit* rx = dialog->rxField();
    QLineEdit* tx = dialog->txField();
    QLineEdit* number = dialog->numberField();
    const char* rxBad = "Receive frequancy is invalid.";
    const char* txBad = "Transmit frequancy is invalid.";
    const char* range = "Channel number is out of range (1-255).";
    const std::tuple<QLineEdit*, const char*, const char*> cases[] = {
        {rx, "499.9", rxBad},   {rx, "500", nullptr},
        {rx, "abc", rxBad},     {rx, "", rxBad},
        {rx, "30000", rxBad},   {rx, "29999.9", nullptr},
        {tx, "1799.9", txBad},  {tx, "1800", nullptr},
        {tx, "30000.0", txBad}, {tx, "29999.95", nullptr},
        {number, "0", range},   {number, "256", range},
        {number, "", range},    {number, "20", "Channel number is already in use."},
    };
    for (const auto& [field, text, message] : cases) {
        feedback.clear();
        typeAndLeave(field, text, dialog->labelField());
        if (message) {
            EXPECT_EQ(feedback.texts(), std::vector<std::string>{message}) << text;
            EXPECT_EQ(feedback.messages()[0].window, static_cast<QWidget*>(dialog.get()));
            EXPECT_EQ(QApplication::focusWidget(), field) << text;
            // A frequency stays for correction; a number is put back.
            EXPECT_EQ(field->text(), field == number ? "12" : text);
        } else {
            EXPECT_EQ(feedback.texts(), kNoMessages) << text;
            EXPECT_EQ(QApplication::focusWidget(), dialog->labelField());
        }
    }
    EXPECT_EQ(client, before);
    feedback.clear();
    typeAndLeave(rx, "12", dialog->cancelButton());
    typeAndLeave(number, "0", dialog->cancelButton());
    EXPECT_EQ(feedback.texts(), kNoMessages);
    EXPECT_EQ(client.currentChannel(), 12);
}

TEST_F(EditChannelDialog, NewNumberMovesTheChannelAtOnce) {
    auto dialog = open();
    const std::uint8_t flags = client.image()[12 * 8];
    typeAndLeave(dialog->numberField(), "40", dialog->rxField());
    EXPECT_EQ(feedback.texts(), kNoMessages);
    EXPECT_EQ(client.currentChannel(), 40);
    EXPECT_TRUE(client.isChannelFree(12));
    EXPECT_EQ(client.image()[12 * 8], 0);
    EXPECT_EQ(client.image()[40 * 8 + 6], 40);
    EXPECT_EQ(client.getFrequency(40, 0), 37400u);
    EXPECT_EQ(client.image()[40 * 8], flags);

    // Going on to another number is a move too; the label goes with the field at OK.
    typeAndLeave(dialog->numberField(), "41", dialog->rxField());
    dialog->labelField()->setText("Moved");
    dialog->okButton()->click();
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_TRUE(client.isChannelFree(40));
    char label[33];
    client.getLabel(41, label, sizeof label);
    EXPECT_STREQ(label, "Moved");
    client.getLabel(12, label, sizeof label);
    EXPECT_STREQ(label, "Home");  // a label belongs to its number
}

TEST_F(EditChannelDialog, CancelUndoesAMoveThroughTheTransaction) {
    const ClientRecord before = client;
    setEditChannelDialog([&](ClientRecord& record, WindowHandle) {
        auto dialog = std::make_unique<ChannelDialog>(record, nullptr);
        dialog->show();
        dialog->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
        typeAndLeave(dialog->numberField(), "40", dialog->rxField());
        EXPECT_FALSE(record.isChannelFree(40));
        typeAndLeave(dialog->rxField(), "100", dialog->cancelButton());
        dialog->cancelButton()->click();
        return dialog->result();
    });
    EXPECT_EQ(client.editChannel(12, nullptr), 0);
    setEditChannelDialog(nullptr);
    EXPECT_EQ(client, before);
    EXPECT_EQ(feedback.texts(), kNoMessages);
}

TEST_F(EditChannelDialog, NinthScanChannelIsRefused) {
    for (int n = 100; n < 107; ++n) client.setChannelFlag(n, ChannelFlag::Scan, 1);
    auto dialog = open();
    QTest::mouseClick(dialog->scanBox(), Qt::LeftButton);
    EXPECT_TRUE(dialog->scanBox()->isChecked());  // the eighth is fine
    EXPECT_EQ(feedback.texts(), kNoMessages);
    QTest::mouseClick(dialog->scanBox(), Qt::LeftButton);  // unticking asks nothing

    client.setChannelFlag(107, ChannelFlag::Scan, 1);
    QTest::mouseClick(dialog->scanBox(), Qt::LeftButton);
    EXPECT_FALSE(dialog->scanBox()->isChecked());
    EXPECT_EQ(feedback.texts(),
              std::vector<std::string>{"There are already 8 scan channels selected."});
}

// What OK stores: tenths as typed, TxEqualsRx from the numbers, flags by the client type.
TEST_F(EditChannelDialog, OkStoresFrequenciesAndFlags) {
    const int advancedFlags = ChannelFlag::Scan | ChannelFlag::Selcall | ChannelFlag::Alarm | 0x20;
    const std::tuple<bool, const char*, const char*, unsigned, bool, int> cases[] = {
        {true, "7000.3", "7000.35", 70003, false, advancedFlags},
        {true, "5000", "5000.0", 50000, true, advancedFlags | ChannelFlag::TxEqualsRx},
        {true, "5000", "5000.1", 50001, false, advancedFlags},
        {true, "5000.00", "5e3", 50000, true, advancedFlags | ChannelFlag::TxEqualsRx},
        {false, "5000", "5000.1", 50001, false, ChannelFlag::Alarm | 0x20},  // standard: no scan
    };
    for (const auto& [advanced, rx, tx, txTenths, equal, flags] : cases) {
        client.setOption(ClientOption::Advanced, advanced);
        for (int flag : {ChannelFlag::Scan, ChannelFlag::Selcall})
            client.setChannelFlag(12, flag, !advanced);
        auto dialog = open();
        EXPECT_EQ(dialog->scanBox()->isEnabled(), advanced);
        EXPECT_EQ(dialog->selcallBox()->isEnabled(), advanced);
        EXPECT_FALSE(dialog->scanBox()->isChecked());
        dialog->rxField()->setText(rx);
        dialog->txField()->setText(tx);
        dialog->lsbButton()->setChecked(true);
        if (advanced) {
            dialog->scanBox()->setChecked(true);
            dialog->selcallBox()->setChecked(true);
        }
        dialog->okButton()->click();
        ASSERT_EQ(dialog->result(), QDialog::Accepted) << rx << " " << tx;
        EXPECT_EQ(client.getFrequency(12, 1), txTenths) << rx << " " << tx;
        EXPECT_EQ(client.getChannelFlag(12, ChannelFlag::TxEqualsRx) != 0, equal) << rx << tx;
        EXPECT_EQ(client.getChannelFlag(12, 0xFF), flags) << rx << " " << tx;
    }
    EXPECT_EQ(client.getFrequency(12, 0), 50000u);
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

    feedback.clear();
    dialog->rxField()->setText("7000");
    dialog->txField()->setText("30000");
    dialog->okButton()->click();
    EXPECT_EQ(feedback.texts(), std::vector<std::string>{"Transmit frequancy is invalid."});
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(client, before);

    feedback.clear();
    dialog->txField()->setText("7100");
    dialog->numberField()->setText("30");
    QTest::keyClick(dialog->numberField(), Qt::Key_Return);
    EXPECT_EQ(feedback.texts(), kNoMessages);
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(client.getFrequency(30, 0), 70000u);
    EXPECT_EQ(client.getFrequency(30, 1), 71000u);
    EXPECT_TRUE(client.isChannelFree(12));
}

}  // namespace
}  // namespace tarn
