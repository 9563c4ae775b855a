#pragma once

#include <string>

#include "radio/port_rules.h"
#include "radio/serial_device.h"

namespace tarn {

// Why `port` did not open, as shown under "Failed to open the serial port.", by Find radio
// and under the port dialog's question: no such device, busy (and who holds its lock),
// permission denied (the group to join and the command), not a serial port. One line, or
// two for a permission the user can get. OpenError::None means the device opened but took
// no serial line settings.
std::string portOpenFailureText(const std::string& port, OpenError error, const PortHolder& holder);

// Why the port is left alone (empty when it is free).
std::string portUseText(const PortUse& use);

}  // namespace tarn
