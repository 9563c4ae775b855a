#pragma once

#include <QStringList>

namespace tarn {

// The serial devices this machine has (built-in ports and USB adapters), by the names
// the port setting takes: device paths on POSIX, "COMn" on Windows.
QStringList availableSerialPorts();

// Whether the port can be opened right now (it exists and nobody holds it).
bool probeSerialPort(const QString& name);

}  // namespace tarn
