#include "radio/port_name.h"

#include <cctype>

namespace tarn {

std::string posixDevicePath(const std::string& name) {
    if (!name.empty() && name[0] == '/') return name;
    if (name.size() < 4 || name.size() > 8) return {};
    for (int i = 0; i < 3; ++i) {
        if (std::toupper(static_cast<unsigned char>(name[i])) != "COM"[i]) return {};
    }
    unsigned number = 0;
    for (std::size_t i = 3; i < name.size(); ++i) {
        if (!std::isdigit(static_cast<unsigned char>(name[i]))) return {};
        number = number * 10 + static_cast<unsigned>(name[i] - '0');
    }
    if (number == 0) return {};
    return "/dev/ttyS" + std::to_string(number - 1);
}

std::string win32DevicePath(const std::string& name) {
    if (name.rfind("\\\\", 0) == 0) return name;  // already a device-namespace path
    return "\\\\.\\" + name;
}

}  // namespace tarn
