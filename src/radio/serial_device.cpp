#include "radio/serial_device.h"

#include "model/services.h"

namespace tarn {

SerialConnection makeSerialConnection() {
    if (const auto& installed = services().serialConnection) return installed();
    return {makePlatformSerialDevice(), makeRealClock()};
}

}  // namespace tarn
