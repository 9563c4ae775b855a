#include "shell/serial_ports.h"

#include <QFile>

#include "radio/serial_device.h"

namespace tarn {

bool probeSerialPort(const QString& name) {
    std::unique_ptr<SerialDevice> device = makePlatformSerialDevice();
    if (!device->open(QFile::encodeName(name).toStdString())) return false;
    device->close();
    return true;
}

}  // namespace tarn
