#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace tarn {

// One serial device of this computer: the name the "Port" setting takes (a device path
// on POSIX, "COMn" on Windows) and what the system knows of it (may be empty).
struct SerialPortInfo {
    std::string name;
    std::string description;
};

// The serial devices of this computer, in natural order (COM2 before COM10).
std::vector<SerialPortInfo> listSerialPorts();

// The ports of a Linux sysfs tty class folder (normally /sys/class/tty): every tty with
// a device behind it, except legacy ttyS ports whose UART type is unknown (the kernel
// lists 32 of them whether they exist or not); described by the USB manufacturer and
// product where the device is on USB. Names are `devFolder` + "/" + the tty's name.
std::vector<SerialPortInfo> listSysfsSerialPorts(const std::filesystem::path& ttyClass,
                                                 const std::string& devFolder = "/dev");

// "/dev/ttyUSB0 — Prolific Technology Inc. USB-Serial Controller", or the name alone.
std::string describePort(const SerialPortInfo& port);

// Sorts by name with runs of digits compared as numbers.
void sortPorts(std::vector<SerialPortInfo>& ports);

// Why this user may not open the port: where joining the device's group helps, that group
// and on a second line the command that adds the user to it.
std::string permissionDeniedText(const std::string& port);

}  // namespace tarn
