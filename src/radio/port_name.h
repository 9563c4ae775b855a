#pragma once

#include <string>

namespace tarn {

// The device a stored port name stands for. POSIX: a name starting with "/" is the
// path itself and "COMn" (any case, n >= 1) is /dev/ttyS(n-1); anything else is
// returned empty (no such port). Windows: the name in the "\\.\" device namespace,
// so that COM10 and above open too; the stored name is never rewritten.
std::string posixDevicePath(const std::string& name);
std::string win32DevicePath(const std::string& name);

}  // namespace tarn
