#include "shell/serial_ports.h"

#include <QFile>

#include "radio/serial_device.h"
#include "radio/serial_ports.h"

namespace tarn {

QStringList availableSerialPorts() {
    QStringList ports;
    for (const SerialPortInfo& port : listSerialPorts())
        ports.append(QString::fromStdString(port.name));
    return ports;
}

bool probeSerialPort(const QString& name) {
    std::unique_ptr<SerialDevice> device = makePlatformSerialDevice();
    if (!device->open(QFile::encodeName(name).toStdString())) return false;
    device->close();
    return true;
}

}  // namespace tarn
