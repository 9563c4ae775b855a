// The edit channel dialog driven through its widgets: what it shows, when it checks a
// field and where the focus goes. The rules themselves are the core's (ChannelEdit tests).
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "model/client_record.h"
#include "shell/edit_channel_dialog.h"
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
    EXPECT_EQ(dialog->numberField()->text(), "12");
    EXPECT_EQ(dialog->rxField()->text(), "3740.0");
    EXPECT_TRUE(dialog->usbButton()->isChecked());
    EXPECT_EQ(dialog->labelField()->text(), "Home");
    EXPECT_TRUE(dialog->scanBox()->isEnabled());
    EXPECT_EQ(QApplication::focusWidget(), dialog->numberField());

    typeAndLeave(dialog->rxField(), "3500 kHz", dialog->labelField());
    EXPECT_EQ(dialog->txField()->text(), "3500 kHz");  // exactly as typed
    typeAndLeave(dialog->rxField(), "1000", dialog->labelField());
    EXPECT_EQ(dialog->txField()->text(), "3500 kHz");
    // Passing through RX without typing keeps a split channel's TX.
    dialog->rxField()->setText("4500.0");
    dialog->txField()->setText("8000.0");
    dialog->rxField()->setFocus();
    dialog->labelField()->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(dialog->txField()->text(), "8000.0");
    EXPECT_EQ(feedback.texts(), kNoMessages);

    client.setOption(ClientOption::Advanced, 0);
    auto standard = open();
    EXPECT_FALSE(standard->scanBox()->isEnabled() || standard->selcallBox()->isEnabled());
}

TEST_F(EditChannelDialog, RefusedFieldGetsTheFocusBackButNotForCancel) {
    auto dialog = open();
    const ClientRecord before = client;
    QLineEdit* number = dialog->numberField();
    const std::tuple<QLineEdit*, const char*, const char*> cases[] = {
        {dialog->rxField(), "499.9", "Receive frequancy is invalid."},
        {dialog->txField(), "1799.9", "Transmit frequancy is invalid."},
        {number, "256", "Channel number is out of range (1-255)."},
    };
    for (const auto& [field, text, message] : cases) {
        feedback.clear();
        typeAndLeave(field, text, dialog->labelField());
        EXPECT_EQ(feedback.texts(), std::vector<std::string>{message}) << text;
        EXPECT_EQ(feedback.messages()[0].window, static_cast<QWidget*>(dialog.get()));
        EXPECT_EQ(QApplication::focusWidget(), field) << text;
        // A frequency stays for correction, selected so typing replaces it; a number is put back.
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

    feedback.clear();
    dialog->rxField()->setText("7000");
    dialog->txField()->setText("30000");
    dialog->okButton()->click();
    EXPECT_EQ(feedback.texts(), std::vector<std::string>{"Transmit frequancy is invalid."});
    EXPECT_EQ(QApplication::focusWidget(), dialog->txField());
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
