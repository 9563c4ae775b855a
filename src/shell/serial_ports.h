#pragma once

#include <QString>

namespace tarn {

// Whether the port can be opened right now (it exists and nobody holds it).
bool probeSerialPort(const QString& name);

}  // namespace tarn
