#include "shell/port_dialog.h"

#include <algorithm>

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include "model/message_texts.h"
#include "model/user_feedback.h"
#include "qtcommon/ansi_text.h"
#include "radio/port_probe.h"
#include "radio/radio_texts.h"
#include "settings/settings_store.h"
#include "shell/context_help.h"
#include "shell/font_dialog_units.h"
#include "shell/user_input.h"

namespace tarn {
namespace {

constexpr int kPortNameLength = 31;
constexpr const char* kDash = " \u2014 ";  // between a port and what is said of it
constexpr const char* kAsking = "asking the radio\u2026";

}  // namespace

PortDialog::PortDialog(QWidget* parent, std::vector<SerialPortInfo> found)
    : QDialog(parent),
      portBox_(new QComboBox(this)),
      find_(new QPushButton("&Find radio", this)),
      results_(new QListWidget(this)) {
    setWindowTitle("Set port");
    setHelpTopic(this, "choosing-the-radio-s-port");
    const FontDialogUnits du(font());
    setFixedSize(du.size(161, 58));
    auto* label = new QLabel("Port", this);
    label->setGeometry(du.x(7), du.y(9), du.x(18), du.y(8));
    portBox_->setEditable(true);
    portBox_->setInsertPolicy(QComboBox::NoInsert);
    portBox_->lineEdit()->setMaxLength(kPortNameLength);
    portBox_->setGeometry(du.x(28), du.y(7), du.x(66), du.y(12));
    // The four COM names, and each device found under its description; an entry's data
    // is the name the port setting takes.
    std::vector<SerialPortInfo> ports{{"COM1", ""}, {"COM2", ""}, {"COM3", ""}, {"COM4", ""}};
    const auto listed = [&](const SerialPortInfo& port) {
        return std::any_of(ports.begin(), ports.begin() + 4,
                           [&](const SerialPortInfo& com) { return com.name == port.name; });
    };
    for (SerialPortInfo& port : found)
        if (!listed(port)) ports.push_back(std::move(port));
    sortPorts(ports);
    for (const SerialPortInfo& port : ports)
        portBox_->addItem(QString::fromStdString(describePort(port)),
                          QString::fromStdString(port.name));
    portBox_->view()->setMinimumWidth(portBox_->view()->sizeHintForColumn(0) + du.x(8));
    portBox_->setEditText(fromAnsi(settings().readText("Port", 32, "COM1")));
    // Choosing an entry puts only its name into the field.
    auto showName = [this](int index) {
        if (index >= 0) portBox_->setEditText(portBox_->itemData(index).toString());
    };
    connect(portBox_, &QComboBox::activated, this, showName);
    connect(portBox_, &QComboBox::currentIndexChanged, this, showName);

    auto* hint = new QLabel("Specify the port that is or will be connected to the radio", this);
    hint->setGeometry(du.x(7), du.y(25), du.x(88), du.y(26));
    hint->setWordWrap(true);
    hint->setAlignment(Qt::AlignHCenter | Qt::AlignTop);

    auto* ok = new QPushButton("OK", this);
    ok->setGeometry(du.x(104), du.y(7), du.x(50), du.y(14));
    ok->setDefault(true);
    auto* cancel = new QPushButton("Cancel", this);
    cancel->setGeometry(du.x(104), du.y(24), du.x(50), du.y(14));
    find_->setGeometry(du.x(104), du.y(41), du.x(50), du.y(14));
    find_->setAutoDefault(false);
    results_->setGeometry(du.x(7), du.y(58), du.x(147), du.y(66));
    results_->setWordWrap(true);
    results_->hide();  // until Find radio has something to say
    connect(ok, &QPushButton::clicked, this, &PortDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(find_, &QPushButton::clicked, this, &PortDialog::findRadio);
    portBox_->setFocus();
    // The combo box would take Enter for itself and put a list entry into the field.
    portBox_->installEventFilter(this);
    portBox_->lineEdit()->installEventFilter(this);
}

bool PortDialog::eventFilter(QObject* watched, QEvent* event) {
    if (searching_) return isUserInput(event);  // thrown away, not kept for later
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            accept();  // with the text as shown
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

QString PortDialog::portName(const QString& shown) const {
    // The field may hold an entry's description, whole or cut at the field's length.
    for (int i = 0; i < portBox_->count(); ++i) {
        const QString name = portBox_->itemData(i).toString();
        if (shown == portBox_->itemText(i) || shown.startsWith(name + kDash)) return name;
    }
    return shown;
}

void PortDialog::accept() {
    const QString name = portName(portBox_->currentText()).left(kPortNameLength);
    // The question, and under it why the port does not open now.
    const std::string reason = portUnavailableReason(QFile::encodeName(name).toStdString());
    if (!reason.empty() && !askYesNo(MessageOwner::of(this),
                                     formatMessage(msg::kPortUnavailable,
                                                   std::string_view(name.toUtf8().toStdString())) +
                                         "\n\n" + reason))
        return;  // the dialog stays open and nothing is stored
    const auto stored = typedAnsi(name, "port name", static_cast<QWidget*>(this));
    if (!stored) return;
    settings().writeText("Port", *stored);
    QDialog::accept();
}

void PortDialog::showResults() {
    if (results_->isVisible()) return;
    const FontDialogUnits du(font());
    setFixedSize(du.size(161, 130));
    results_->show();
}

void PortDialog::findRadio() {
    if (searching_ || userFeedback().showMessage(MessageOwner::of(this), radio_text::kConnectPrompt,
                                                 MessageIcon::Information,
                                                 MessageButtons::OkCancel) != MessageAnswer::Ok)
        return;
    // The name in the field first when it is not a listed one, then the list in order.
    QStringList ports;
    const QString typed = portName(portBox_->currentText());
    if (!typed.isEmpty() && portBox_->findData(typed) < 0) ports.append(typed);
    for (int i = 0; i < portBox_->count(); ++i) ports.append(portBox_->itemData(i).toString());

    // One port after the other, each up to a second, until a radio answers; the dialog
    // repaints in between, and what the user does meanwhile is discarded, as during the
    // other long operations.
    searching_ = true;
    setEnabled(false);
    qApp->installEventFilter(this);
    results_->clear();
    showResults();
    QString found;
    std::vector<std::string> names;
    for (const QString& port : ports) names.push_back(QFile::encodeName(port).toStdString());
    QListWidgetItem* line = nullptr;
    tarn::findRadio(names, [&](const std::string& port, const PortProbe* probe) {
        const QString shown = QFile::decodeName(port.c_str()) + kDash;
        if (!probe) {
            line = new QListWidgetItem(shown + kAsking, results_);
            results_->scrollToItem(line);
            QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
            return;
        }
        line->setText(shown + QString::fromStdString(probe->message));
        if (probe->result == PortProbe::Result::Answered) {
            found = QFile::decodeName(port.c_str());
            line->setSelected(true);
        }
    });
    if (!found.isEmpty()) portBox_->setEditText(found);
    QApplication::processEvents();  // what was typed or clicked meanwhile goes nowhere
    qApp->removeEventFilter(this);
    searching_ = false;
    setEnabled(true);
    activateWindow();  // a disabled window loses the keyboard
    portBox_->setFocus();
}

void showPortDialog(QWidget* parent) {
    PortDialog dialog(parent);
    dialog.exec();
}

}  // namespace tarn
