// The serial devices of a POSIX machine: Linux's sysfs lists them.
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <vector>

#include "radio/port_name.h"
#include "radio/radio_texts.h"
#include "radio/serial_ports.h"

namespace tarn {
namespace {

bool inGroup(gid_t group) {
    if (::getegid() == group) return true;
    std::vector<gid_t> groups(static_cast<std::size_t>(::getgroups(0, nullptr) + 1));
    const int n = ::getgroups(static_cast<int>(groups.size()), groups.data());
    for (int i = 0; i < n; ++i)
        if (groups[static_cast<std::size_t>(i)] == group) return true;
    return false;
}

}  // namespace

std::vector<SerialPortInfo> listSerialPorts() {
    return listSysfsSerialPorts("/sys/class/tty");
}

std::string permissionDeniedText(const std::string& port) {
    struct stat info {};
    const std::string path = posixDevicePath(port);
    const group* owner = ::stat(path.c_str(), &info) == 0 ? ::getgrgid(info.st_gid) : nullptr;
    // Joining the device's group helps only where the group may use it and we lack it.
    if (!owner || info.st_gid == 0 || !(info.st_mode & S_IRGRP && info.st_mode & S_IWGRP) ||
        inGroup(info.st_gid))
        return probe_text::kPermissionDenied;
    const std::string group = owner->gr_name;
    const passwd* user = ::getpwuid(::geteuid());
    char text[512];
    std::snprintf(text, sizeof text, probe_text::kPermissionGroup, group.c_str());
    std::string reason = text;
    std::snprintf(text, sizeof text, probe_text::kJoinGroup, group.c_str(),
                  user ? user->pw_name : "$USER");
    return reason + "\n" + text;
}

}  // namespace tarn
