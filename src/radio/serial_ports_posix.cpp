// The serial devices of a POSIX machine: Linux's sysfs lists them.
#include <grp.h>
#include <sys/stat.h>

#include <cstdio>

#include "radio/port_name.h"
#include "radio/radio_texts.h"
#include "radio/serial_ports.h"

namespace tarn {

std::vector<SerialPortInfo> listSerialPorts() {
    return listSysfsSerialPorts("/sys/class/tty");
}

std::string permissionDeniedText(const std::string& port) {
    struct stat info {};
    const std::string path = posixDevicePath(port);
    const group* owner = ::stat(path.c_str(), &info) == 0 ? ::getgrgid(info.st_gid) : nullptr;
    if (!owner || info.st_gid == 0) return probe_text::kPermissionDenied;
    char text[256];
    std::snprintf(text, sizeof text, probe_text::kPermissionGroup, owner->gr_name);
    return text;
}

}  // namespace tarn
