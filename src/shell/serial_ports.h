#pragma once

#include <QStringList>

namespace tarn {

// The names of the serial devices this machine has (listSerialPorts), as the port
// setting takes them.
QStringList availableSerialPorts();

// Whether the port can be opened right now (it exists and nobody holds it).
bool probeSerialPort(const QString& name);

}  // namespace tarn
