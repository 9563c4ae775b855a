#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "radio/clock.h"

namespace tarn {

enum class ModemLine { Rts, Dtr };

// Why a device did not open.
enum class OpenError { None, Missing, PermissionDenied, Busy, Other };
// What a POSIX errno of open (or of locking the port) means.
OpenError openErrorFromErrno(int error);

// Who keeps a port from opening, when a lock file tells: the lock file, and the process it
// names (0 when it names none).
struct PortHolder {
    long pid = 0;
    std::string lockFile;
};

// One serial port, driven the way the radio link needs it. Every driver gives:
// - open: by name, for reading and writing, exclusive, only an existing device; on POSIX
//   also under the port's UUCP lock file, and close puts back the terminal settings open
//   found;
// - line settings: 4800 baud, 8 data bits, no parity, 1 stop bit, binary, no flow
//   control of any kind, modem lines driven by hand; other settings kept as found;
// - time-outs: a read returns the buffered bytes at once, else waits up to 100 ms for
//   the first byte and returns it, else returns 0; a write of n bytes gives up after
//   n + 1000 ms and returns only once its bytes have left the port.
// Reads and writes report the bytes moved; an error counts as 0.
class SerialDevice {
  public:
    virtual ~SerialDevice() = default;
    virtual bool open(const std::string& name) = 0;
    virtual bool applyLineSettings() = 0;
    virtual bool applyTimeouts() = 0;
    // Not every device has modem lines (a pseudo-terminal has none): no result.
    virtual void setModemLine(ModemLine line, bool raised) = 0;
    virtual int read(std::uint8_t* buffer, int capacity) = 0;
    virtual int write(const std::uint8_t* bytes, int length) = 0;
    virtual void close() = 0;
    // Why the last open failed (drivers that cannot tell say Other).
    virtual OpenError lastOpenError() const { return OpenError::Other; }
    // Who held the port when the last open failed as Busy (drivers that cannot tell: nobody).
    virtual PortHolder lastOpenHolder() const { return {}; }
    // Makes close put RTS and DTR back as open found them, as a probe leaves a port.
    virtual void restoreModemLinesOnClose() {}
};

// The driver of this platform (termios on POSIX, the comm API on Windows).
std::unique_ptr<SerialDevice> makePlatformSerialDevice();

// What a SerialLink built with its default constructor talks through.
struct SerialConnection {
    std::unique_ptr<SerialDevice> device;
    std::shared_ptr<Clock> clock;
};
using SerialDeviceFactory = std::function<SerialConnection()>;

// The installed connection (Services::serialConnection: tests of the windows install an
// in-process radio there), else the platform driver with the real clock.
SerialConnection makeSerialConnection();

}  // namespace tarn
