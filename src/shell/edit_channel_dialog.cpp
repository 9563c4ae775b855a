#include "shell/edit_channel_dialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>

#include "model/client_record.h"
#include "model/khz_text.h"
#include "model/user_feedback.h"
#include "qtcommon/ansi_text.h"
#include "shell/context_help.h"
#include "shell/font_dialog_units.h"

namespace tarn {
namespace {

// A kHz field's text for the core's checks.
std::string typed(const QLineEdit* field) {
    return field->text().toStdString();
}

}  // namespace

ChannelDialog::ChannelDialog(ClientRecord& client, QWidget* parent)
    : QDialog(parent), client_(client) {
    setWindowTitle(QStringLiteral("Edit Channel"));
    setHelpTopic(this, "the-edit-channel-dialog");
    buildControls();
    loadChannel();
    focusWatch_ = connect(qApp, &QApplication::focusChanged, this, &ChannelDialog::focusChanged);
}

// The controls hand the focus on while they are destroyed; this dialog is gone by then.
ChannelDialog::~ChannelDialog() {
    disconnect(focusWatch_);
}

void ChannelDialog::buildControls() {
    const FontDialogUnits du(font());
    setFixedSize(du.size(172, 127));
    if (parentWidget()) move(parentWidget()->mapToGlobal(QPoint(du.x(75), du.y(30))));

    // Created in tab order; the number field comes first.
    du.place(new QLabel(QStringLiteral("Number"), this), 7, 7, 35, 8);
    number_ = new QLineEdit(this);
    number_->setGeometry(du.rect(7, 17, 35, 14));
    number_->setAlignment(Qt::AlignRight);
    number_->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]*"), number_));
    scan_ = new QCheckBox(QStringLiteral("Scan"), this);
    du.place(scan_, 61, 12, 33, 10);
    selcall_ = new QCheckBox(QStringLiteral("SelCall"), this);
    du.place(selcall_, 61, 28, 37, 10);
    du.place(new QLabel(QStringLiteral("RX (KHz)"), this), 7, 55, 43, 8);
    rx_ = new QLineEdit(this);
    rx_->setGeometry(du.rect(7, 65, 43, 14));
    connect(rx_, &QLineEdit::textEdited, this, [this] { rxTyped_ = true; });
    du.place(new QLabel(QStringLiteral("TX (KHz)"), this), 61, 55, 43, 8);
    tx_ = new QLineEdit(this);
    tx_->setGeometry(du.rect(61, 65, 43, 14));
    (new QGroupBox(QStringLiteral("Mode"), this))->setGeometry(du.rect(118, 48, 47, 41));
    usb_ = new QRadioButton(QStringLiteral("USB"), this);
    du.place(usb_, 126, 61, 31, 10);
    lsb_ = new QRadioButton(QStringLiteral("LSB"), this);
    du.place(lsb_, 126, 74, 29, 10);
    du.place(new QLabel(QStringLiteral("Label"), this), 7, 94, 28, 8);
    label_ = new QLineEdit(this);
    label_->setGeometry(du.rect(7, 106, 158, 14));
    ok_ = new QPushButton(QStringLiteral("OK"), this);
    ok_->setGeometry(du.rect(115, 7, 50, 14));
    ok_->setDefault(true);
    cancel_ = new QPushButton(QStringLiteral("Cancel"), this);
    cancel_->setGeometry(du.rect(115, 24, 50, 14));

    connect(ok_, &QPushButton::clicked, this, &ChannelDialog::accept);
    connect(cancel_, &QPushButton::clicked, this, &ChannelDialog::reject);
    connect(scan_, &QCheckBox::clicked, this, &ChannelDialog::scanClicked);
}

void ChannelDialog::loadChannel() {
    const int n = client_.currentChannel();
    number_->setText(QString::number(n));
    number_->setMaxLength(4);
    rx_->setText(QString::fromStdString(formatKhz(client_.getFrequency(n, 0))));
    tx_->setText(QString::fromStdString(formatKhz(client_.getFrequency(n, 1))));
    if (client_.getOption(ClientOption::Advanced)) {
        scan_->setChecked(client_.getChannelFlag(n, ChannelFlag::Scan) != 0);
        selcall_->setChecked(client_.getChannelFlag(n, ChannelFlag::Selcall) != 0);
    } else {
        // A standard client's channels cannot carry these flags through this dialog.
        scan_->setEnabled(false);
        selcall_->setEnabled(false);
    }
    (client_.getChannelFlag(n, ChannelFlag::Usb) ? usb_ : lsb_)->setChecked(true);
    char label[kLabelSize + 1] = {};
    if (client_.getLabel(n, label, sizeof label) > 0) label_->setText(fromAnsi(label));
    label_->setMaxLength(kLabelLength);
    number_->setFocus();
}

// A field is checked when the focus leaves it for another control of this dialog, but
// never for Cancel, so the user can always back out. The check runs once the focus
// change is complete, so a message box never interrupts a mouse press half-way.
void ChannelDialog::focusChanged(QWidget* old, QWidget* now) {
    if (checking_ || !now || now->window() != this || now == cancel_) return;
    if (now == rx_) rxTyped_ = false;  // a new visit; a refusal's return is not one
    const Field left = old == number_ ? Field::Number
                       : old == rx_   ? Field::Rx
                       : old == tx_   ? Field::Tx
                                      : Field::None;
    if (left == Field::None) return;
    pending_ = left;
    QMetaObject::invokeMethod(this, &ChannelDialog::runPendingCheck, Qt::QueuedConnection);
}

void ChannelDialog::runPendingCheck() {
    const Field field = pending_;
    pending_ = Field::None;
    if (field != Field::None && isVisible()) check(field, true);
}

bool ChannelDialog::check(Field field, bool copyRxToTx) {
    switch (field) {
        case Field::Number:
            return checkNumber();
        case Field::Rx:
            if (!checkFrequency(rx_, 0)) return false;
            // Only a typed RX replaces TX: passing through keeps a split channel's TX.
            if (copyRxToTx && rxTyped_ && ClientRecord::rxCopiesToTx(typed(rx_)))
                tx_->setText(rx_->text());
            rxTyped_ = false;
            return true;
        case Field::Tx:
            return checkFrequency(tx_, 1);
        case Field::None:
            break;
    }
    return true;
}

// A refused number is replaced by the current one; an accepted one moves the channel at once.
bool ChannelDialog::checkNumber() {
    const unsigned wanted = number_->text().toUInt();  // empty reads as 0
    const ChannelRefusal refusal = client_.checkChannelNumber(wanted);
    if (refusal != ChannelRefusal::None) {
        number_->setText(QString::number(client_.currentChannel()));
        refuse(number_, refusal);
        return false;
    }
    client_.moveChannel(wanted);
    return true;
}

// A refused frequency stays in the field for correction.
bool ChannelDialog::checkFrequency(QLineEdit* field, int which) {
    const ChannelRefusal refusal = ClientRecord::checkFrequency(which, typed(field));
    if (refusal == ChannelRefusal::None) return true;
    refuse(field, refusal);
    return false;
}

void ChannelDialog::refuse(QLineEdit* field, ChannelRefusal refusal) {
    checking_ = true;
    // A button pressed on the way out of the field must not fire after the message.
    for (auto* button : findChildren<QAbstractButton*>())
        if (button->isDown()) button->setDown(false);
    showError(MessageOwner::of(handle()), channelRefusalText(refusal));
    field->setFocus();
    field->selectAll();  // typing replaces the refused text
    checking_ = false;
}

void ChannelDialog::scanClicked(bool checked) {
    if (!checked) return;
    const ChannelRefusal refusal = client_.checkScanTick();
    if (refusal == ChannelRefusal::None) return;
    showError(MessageOwner::of(handle()), channelRefusalText(refusal));
    scan_->setChecked(false);
}

// OK checks the number and both frequencies again: a field confirmed with Enter was
// never left, and an unchecked text must not reach the channel table.
void ChannelDialog::accept() {
    pending_ = Field::None;
    if (!check(Field::Number, false)) return;
    const auto label = typedAnsi(label_->text().left(kLabelLength), "label", handle());
    if (!label) return label_->setFocus();
    const ChannelEntry entry{typed(rx_),         typed(tx_),
                             scan_->isChecked(), selcall_->isChecked(),
                             usb_->isChecked(),  *label};
    const ChannelRefusal refusal = client_.storeChannel(entry);
    if (refusal != ChannelRefusal::None)
        return refuse(refusal == ChannelRefusal::Receive ? rx_ : tx_, refusal);
    QDialog::accept();
}

int runChannelDialog(ClientRecord& client, WindowHandle parent) {
    ChannelDialog dialog(client, static_cast<QWidget*>(parent));
    return dialog.exec() == QDialog::Accepted ? 1 : 0;
}

}  // namespace tarn
