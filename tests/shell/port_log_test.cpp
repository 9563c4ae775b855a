// The radio log window and the port dialog's device descriptions and Find radio.
#include <QComboBox>
#include <QFile>
#include <QListWidget>
#include <QPlainTextEdit>

#include "radio/radio_log.h"
#include "radio/radio_texts.h"
#include "radio/serial_ports.h"
#include "shell/commands.h"
#include "shell/database_window.h"
#include "shell/frame_window.h"
#include "shell/port_dialog.h"
#include "shell/radio_log_window.h"
#include "shell_fixture.h"
#include "sim/fake_radio_device.h"

using namespace tarn;
using namespace tarn::test;

namespace {

// A machine whose ports behave by name: a radio on /dev/ttyRADIO, a silent line on COM1,
// COM2 not for this user, nothing anywhere else.
class PortsByName final : public SerialDevice {
  public:
    explicit PortsByName(std::shared_ptr<VirtualClock> clock) : clock_(std::move(clock)) {}
    bool open(const std::string& name) override {
        const FakePortFaults port{
            .missing = name != "/dev/ttyRADIO" && name != "COM1" && name != "COM2",
            .denied = name == "COM2"};
        const auto radio = std::make_shared<RadioMonitor>(RadioFaults{.noPrompt = name == "COM1"});
        device_ = std::make_unique<FakeRadioDevice>(radio, clock_, port);
        return device_->open(name);
    }
    bool applyLineSettings() override { return device_->applyLineSettings(); }
    bool applyTimeouts() override { return device_->applyTimeouts(); }
    void setModemLine(ModemLine line, bool raised) override { device_->setModemLine(line, raised); }
    int read(std::uint8_t* buffer, int capacity) override {
        return device_->read(buffer, capacity);
    }
    int write(const std::uint8_t* bytes, int length) override {
        return device_->write(bytes, length);
    }
    void close() override { device_->close(); }
    OpenError lastOpenError() const override { return device_->lastOpenError(); }

  private:
    std::shared_ptr<VirtualClock> clock_;
    std::unique_ptr<FakeRadioDevice> device_;
};

const std::vector<SerialPortInfo> kFound = {{"/dev/ttyUSB0", "Prolific USB-Serial Controller"},
                                            {"/dev/ttyRADIO", ""},
                                            {"COM3", "Communications Port"}};

QStringList lines(const QListWidget& list) {
    QStringList texts;
    for (int i = 0; i < list.count(); ++i) texts.append(list.item(i)->text());
    return texts;
}

}  // namespace

class PortLogTest : public QObject {
    Q_OBJECT
  private slots:
    void logWindowShowsTheExchangesAndSavesThem();
    void describedEntriesStoreTheirNames();
    void findRadioProbesEachPortAndTakesTheOneThatAnswered();
};

void PortLogTest::logWindowShowsTheExchangesAndSavesThem() {
    ShellWorld world;
    RadioLog log;
    world.services->radioLog = &log;
    world.services->serialConnection =
        fakeRadioFactory(std::make_shared<RadioMonitor>(), std::make_shared<VirtualClock>());
    const std::string file = world.path("log.tdb");
    writeDatabase(file, {"A"});
    FrameWindow frame;
    DatabaseWindow* window = frame.openDatabaseWindow(file, true);
    frame.show();
    settle();
    frame.command(cmd::ShowRadioLog);
    RadioLogWindow* shown = frame.radioLogWindow();
    QVERIFY(shown && shown->isVisible() && !shown->isModal());
    QCOMPARE(shown->windowTitle(), QString("Radio log"));
    QCOMPARE(shown->textBox()->toPlainText(), QString("No radio exchanges yet."));

    clickRow(*window, 0);
    window->runCommand(cmd::ReadRadio);
    settle();
    const QString text = shown->textBox()->toPlainText();  // refreshed as the read ended
    QVERIFY2(text.startsWith("Read, started ") && text.contains("sent \"D 1800 0800\"") &&
                 text.contains("Result: Success"),
             qPrintable(text));
    QCOMPARE(text, QString::fromStdString(log.toText()));
    shown->close();
    frame.command(cmd::ShowRadioLog);
    QCOMPARE(frame.radioLogWindow(), shown);  // one window, shown again
    QVERIFY(shown->isVisible());

    world.scriptFileNames({world.path("radio.txt")});
    shown->saveAs();
    QCOMPARE(world.askedKinds, std::vector<FileDialogKind>{FileDialogKind::SaveRadioLog});
    QFile saved(QString::fromStdString(world.path("radio.txt")));
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QCOMPARE(saved.readAll().toStdString(), log.toText());
}

void PortLogTest::describedEntriesStoreTheirNames() {
    ShellWorld world;
    world.services->probePort = [](const std::string&) { return true; };
    PortDialog dialog(nullptr, kFound);
    QStringList entries;
    for (int i = 0; i < dialog.portBox()->count(); ++i)
        entries.append(dialog.portBox()->itemText(i));
    QCOMPARE(entries,
             QStringList({"/dev/ttyRADIO", "/dev/ttyUSB0 \u2014 Prolific USB-Serial Controller",
                          "COM1", "COM2", "COM3", "COM4"}));
    const int usb = dialog.portBox()->findData("/dev/ttyUSB0");
    dialog.portBox()->setCurrentIndex(usb);  // chosen from the list
    QCOMPARE(dialog.portBox()->currentText(), QString("/dev/ttyUSB0"));
    // The description itself in the field (cut at 31 characters) stands for the name too.
    dialog.portBox()->setEditText(dialog.portBox()->itemText(usb));
    QVERIFY(dialog.portBox()->currentText().size() == 31);
    dialog.accept();
    QCOMPARE(*world.settings.read("Port"), std::string("/dev/ttyUSB0"));
}

void PortLogTest::findRadioProbesEachPortAndTakesTheOneThatAnswered() {
    ShellWorld world;
    const auto clock = std::make_shared<VirtualClock>();
    world.services->serialConnection = [clock] {
        return SerialConnection{std::make_unique<PortsByName>(clock), clock};
    };
    PortDialog dialog(nullptr, kFound);
    dialog.portBox()->setEditText("/dev/pts/9");  // typed: tried first
    world.feedback->script({MessageAnswer::Cancel});
    dialog.findRadio();
    QVERIFY(dialog.results()->isHidden());  // nothing tried without the radio ready
    dialog.findRadio();
    QCOMPARE(world.messageTexts(), std::vector<std::string>(2, radio_text::kConnectPrompt));
    const QString cannot = " \u2014 The port cannot be opened.";
    QCOMPARE(lines(*dialog.results()),
             QStringList({"/dev/pts/9" + cannot, "/dev/ttyRADIO \u2014 The radio answered.",
                          "/dev/ttyUSB0" + cannot, "COM1 \u2014 No radio answered.",
                          "COM2 \u2014 " + QString::fromStdString(permissionDeniedText("COM2")),
                          "COM3" + cannot, "COM4" + cannot}));
    QCOMPARE(dialog.portBox()->currentText(), QString("/dev/ttyRADIO"));
    QVERIFY(dialog.isEnabled());
    dialog.accept();
    QCOMPARE(*world.settings.read("Port"), std::string("/dev/ttyRADIO"));
}

QTEST_MAIN(PortLogTest)
#include "port_log_test.moc"
