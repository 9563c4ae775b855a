#pragma once

#include <QDialog>

#include "model/client_record.h"
#include "model/window_handle.h"

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace tarn {

// "Edit Channel": one channel of a client (number, RX and TX in kHz, sideband, scan and
// selcall flags, label). Works on the record in place: a new number moves the channel at
// once, the rest is stored by OK. The opener (ClientRecord::editChannel) keeps the copy
// that a Cancel restores.
class ChannelDialog final : public QDialog {
    Q_OBJECT
  public:
    ChannelDialog(ClientRecord& client, QWidget* parent);
    ~ChannelDialog() override;

    QLineEdit* numberField() const { return number_; }
    QLineEdit* rxField() const { return rx_; }
    QLineEdit* txField() const { return tx_; }
    QLineEdit* labelField() const { return label_; }
    QCheckBox* scanBox() const { return scan_; }
    QRadioButton* usbButton() const { return usb_; }
    QPushButton* cancelButton() const { return cancel_; }

  public slots:
    void accept() override;

  private:
    enum class Field { None, Number, Rx, Tx };

    void buildControls();
    void loadChannel();
    void focusChanged(QWidget* old, QWidget* now);
    void runPendingCheck();
    bool check(Field field, bool copyRxToTx);
    bool checkNumber();
    bool checkFrequency(QLineEdit* field, int which);
    void refuse(QLineEdit* field, ChannelRefusal refusal);
    void scanClicked(bool checked);
    WindowHandle handle() { return static_cast<QWidget*>(this); }

    ClientRecord& client_;
    QLineEdit* number_ = nullptr;
    QLineEdit* rx_ = nullptr;
    QLineEdit* tx_ = nullptr;
    QLineEdit* label_ = nullptr;
    QCheckBox* scan_ = nullptr;
    QCheckBox* selcall_ = nullptr;
    QRadioButton* usb_ = nullptr;
    QRadioButton* lsb_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
    Field pending_ = Field::None;  // a field left, checked once the focus has settled
    bool rxTyped_ = false;         // the RX text was edited since the focus entered it
    bool checking_ = false;        // focus moves of our own during a check are not "leaving"
    QMetaObject::Connection focusWatch_;
};

// The dialog as ClientRecord::editChannel runs it: modal over the parent, 1 for OK.
int runChannelDialog(ClientRecord& client, WindowHandle parent);

}  // namespace tarn
