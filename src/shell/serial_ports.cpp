#include "shell/serial_ports.h"

#include <QDir>
#include <QFile>
#include <QSettings>

#include "radio/serial_device.h"

namespace tarn {

QStringList availableSerialPorts() {
    QStringList ports;
#ifdef Q_OS_WIN
    QSettings map("HKEY_LOCAL_MACHINE\\HARDWARE\\DEVICEMAP\\SERIALCOMM", QSettings::NativeFormat);
    for (const QString& key : map.allKeys()) ports.append(map.value(key).toString());
#else
    // A tty with a device behind it is a port; a legacy ttyS is real only when its
    // UART type is known (the kernel lists ttyS0..31 whether they exist or not).
    const QDir classes("/sys/class/tty");
    for (const QString& name : classes.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
        const QString entry = classes.filePath(name);
        if (!QFile::exists(entry + "/device")) continue;
        if (name.startsWith("ttyS")) {
            QFile type(entry + "/type");
            if (!type.open(QIODevice::ReadOnly) || type.readAll().trimmed() == "0") continue;
        }
        ports.append("/dev/" + name);
    }
#endif
    ports.sort();
    return ports;
}

bool probeSerialPort(const QString& name) {
    std::unique_ptr<SerialDevice> device = makePlatformSerialDevice();
    if (!device->open(QFile::encodeName(name).toStdString())) return false;
    device->close();
    return true;
}

}  // namespace tarn
