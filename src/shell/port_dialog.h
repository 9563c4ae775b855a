#pragma once

#include <QDialog>
#include <vector>

#include "radio/serial_ports.h"

class QComboBox;
class QListWidget;
class QPushButton;

namespace tarn {

// "Set port": chooses the serial device of the radio and stores it as "Port" on OK.
// A port that cannot be opened now is stored only when the user confirms it. The list
// holds COM1..COM4 and the serial devices found (shown with their descriptions); "Find
// radio" knocks on each until a radio answers and puts that port into the field; the
// reasons of ports that do not open or are left alone are shown with them.
class PortDialog final : public QDialog {
    Q_OBJECT
  public:
    explicit PortDialog(QWidget* parent, std::vector<SerialPortInfo> found = listSerialPorts());
    QComboBox* portBox() const { return portBox_; }
    QListWidget* results() const { return results_; }  // one line per port Find radio tried
    void accept() override;
    void findRadio();
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QString portName(const QString& shown) const;  // a listed entry's text -> its port name
    void showResults();

    QComboBox* portBox_;
    QPushButton* find_;
    QListWidget* results_;
    bool searching_ = false;
};

void showPortDialog(QWidget* parent);

}  // namespace tarn
