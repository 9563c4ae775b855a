#include "shell/port_dialog.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "model/user_feedback.h"
#include "settings/settings_store.h"
#include "shell/ansi_text.h"
#include "shell/dialog_units.h"
#include "shell/serial_ports.h"

namespace tarn {
namespace {

constexpr int kPortNameLength = 31;

PortDialog::Probe& probe() {
    static PortDialog::Probe installed;
    return installed;
}

}  // namespace

void PortDialog::setProbe(Probe p) {
    probe() = std::move(p);
}

PortDialog::PortDialog(QWidget* parent) : QDialog(parent), portBox_(new QComboBox(this)) {
    setWindowTitle("Set port");
    setFixedSize(dluSize(161, 58));
    auto* label = new QLabel("Port", this);
    label->setGeometry(dluX(7), dluY(9), dluX(18), dluY(8) + 2);
    portBox_->setEditable(true);
    portBox_->setInsertPolicy(QComboBox::NoInsert);
    portBox_->lineEdit()->setMaxLength(kPortNameLength);
    portBox_->setGeometry(dluX(28), dluY(7), dluX(66), dluY(12));
    QStringList names{"COM1", "COM2", "COM3", "COM4"};
    for (const QString& found : availableSerialPorts())
        if (!names.contains(found)) names.append(found);
    names.sort();
    portBox_->addItems(names);
    portBox_->setEditText(fromAnsi(settings().readText("Port", 32, "COM1")));

    auto* hint = new QLabel("Specify the port that is or will be connected to the radio", this);
    hint->setGeometry(dluX(7), dluY(25), dluX(88), dluY(26));
    hint->setWordWrap(true);
    hint->setAlignment(Qt::AlignHCenter | Qt::AlignTop);

    auto* ok = new QPushButton("OK", this);
    ok->setGeometry(dluX(104), dluY(7), dluX(50), dluY(14));
    ok->setDefault(true);
    auto* cancel = new QPushButton("Cancel", this);
    cancel->setGeometry(dluX(104), dluY(24), dluX(50), dluY(14));
    connect(ok, &QPushButton::clicked, this, &PortDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    portBox_->setFocus();
}

void PortDialog::accept() {
    const QString name = portBox_->currentText().left(kPortNameLength);
    const bool opens = probe() ? probe()(name) : probeSerialPort(name);
    if (!opens &&
        !askYesNo(MessageOwner::of(this),
                  formatMessage("Port '%s' is either busy or unavailable.\n\nAre you sure you "
                                "want to use this port?",
                                toAnsi(name))))
        return;  // the dialog stays open and nothing is stored
    settings().writeText("Port", toAnsi(name));
    QDialog::accept();
}

void showPortDialog(QWidget* parent) {
    PortDialog dialog(parent);
    dialog.exec();
}

}  // namespace tarn
