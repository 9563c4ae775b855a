#include "radio/serial_device.h"

namespace tarn {
namespace {

SerialDeviceFactory& installedFactory() {
    static SerialDeviceFactory factory;
    return factory;
}

}  // namespace

void setSerialDeviceFactory(SerialDeviceFactory factory) {
    installedFactory() = std::move(factory);
}

SerialConnection makeSerialConnection() {
    if (installedFactory()) return installedFactory()();
    return {makePlatformSerialDevice(), makeRealClock()};
}

}  // namespace tarn
