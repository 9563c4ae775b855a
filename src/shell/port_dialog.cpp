#include "shell/port_dialog.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "model/services.h"
#include "model/user_feedback.h"
#include "qtcommon/ansi_text.h"
#include "settings/settings_store.h"
#include "shell/font_dialog_units.h"
#include "shell/serial_ports.h"

namespace tarn {
namespace {

constexpr int kPortNameLength = 31;

bool portOpens(const QString& name) {
    if (const auto& probe = services().probePort) return probe(name.toStdString());
    return probeSerialPort(name);
}

}  // namespace

PortDialog::PortDialog(QWidget* parent) : QDialog(parent), portBox_(new QComboBox(this)) {
    setWindowTitle("Set port");
    const FontDialogUnits du(font());
    setFixedSize(du.size(161, 58));
    auto* label = new QLabel("Port", this);
    label->setGeometry(du.x(7), du.y(9), du.x(18), du.y(8));
    portBox_->setEditable(true);
    portBox_->setInsertPolicy(QComboBox::NoInsert);
    portBox_->lineEdit()->setMaxLength(kPortNameLength);
    portBox_->setGeometry(du.x(28), du.y(7), du.x(66), du.y(12));
    QStringList names{"COM1", "COM2", "COM3", "COM4"};
    for (const QString& found : availableSerialPorts())
        if (!names.contains(found)) names.append(found);
    names.sort();
    portBox_->addItems(names);
    portBox_->setEditText(fromAnsi(settings().readText("Port", 32, "COM1")));

    auto* hint = new QLabel("Specify the port that is or will be connected to the radio", this);
    hint->setGeometry(du.x(7), du.y(25), du.x(88), du.y(26));
    hint->setWordWrap(true);
    hint->setAlignment(Qt::AlignHCenter | Qt::AlignTop);

    auto* ok = new QPushButton("OK", this);
    ok->setGeometry(du.x(104), du.y(7), du.x(50), du.y(14));
    ok->setDefault(true);
    auto* cancel = new QPushButton("Cancel", this);
    cancel->setGeometry(du.x(104), du.y(24), du.x(50), du.y(14));
    connect(ok, &QPushButton::clicked, this, &PortDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    portBox_->setFocus();
    // The combo box would take Enter for itself and put a list entry into the field.
    portBox_->installEventFilter(this);
    portBox_->lineEdit()->installEventFilter(this);
}

bool PortDialog::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            accept();  // with the text as shown
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void PortDialog::accept() {
    const QString name = portBox_->currentText().left(kPortNameLength);
    const bool opens = portOpens(name);
    if (!opens &&
        !askYesNo(MessageOwner::of(this),
                  formatMessage("Port '%s' is either busy or unavailable.\n\nAre you sure you "
                                "want to use this port?",
                                std::string_view(name.toUtf8().toStdString()))))
        return;  // the dialog stays open and nothing is stored
    settings().writeText("Port", toAnsi(name));
    QDialog::accept();
}

void showPortDialog(QWidget* parent) {
    PortDialog dialog(parent);
    dialog.exec();
}

}  // namespace tarn
