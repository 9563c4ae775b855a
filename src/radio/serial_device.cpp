#include "radio/serial_device.h"

#include <cerrno>

#include "model/services.h"

namespace tarn {

OpenError openErrorFromErrno(int error) {
    switch (error) {
        case 0:
            return OpenError::None;
        case ENOENT:
        case ENODEV:
        case ENXIO:
            return OpenError::Missing;
        case EACCES:
        case EPERM:
            return OpenError::PermissionDenied;
        case EBUSY:
        case EWOULDBLOCK:
            return OpenError::Busy;  // held exclusively or locked by another
        default:
            return OpenError::Other;
    }
}

SerialConnection makeSerialConnection() {
    if (const auto& installed = services().serialConnection) return installed();
    return {makePlatformSerialDevice(), makeRealClock()};
}

}  // namespace tarn
