#pragma once

#include <QDialog>

class QComboBox;

namespace tarn {

// "Set port": chooses the serial device of the radio and stores it as "Port" on OK.
// A port that cannot be opened now is stored only when the user confirms it.
class PortDialog final : public QDialog {
    Q_OBJECT
  public:
    explicit PortDialog(QWidget* parent);
    QComboBox* portBox() const { return portBox_; }
    void accept() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QComboBox* portBox_;
};

void showPortDialog(QWidget* parent);

}  // namespace tarn
