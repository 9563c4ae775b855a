// Which terminals of a POSIX machine a probe leaves alone.
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <algorithm>

#include "radio/port_lock.h"
#include "radio/port_name.h"
#include "radio/port_rules.h"

namespace tarn {

PortUse portUse(const std::string& port) {
    namespace fs = std::filesystem;
    const std::string path = posixDevicePath(port);
    std::error_code error;
    const fs::path real = fs::canonical(path, error);
    struct stat info {};
    if (path.empty() || error || ::stat(real.c_str(), &info) != 0) return {};
    const PortPlaces places = portPlaces();
    const std::vector<std::string> consoles = consoleNames(places);
    const unsigned major = ::major(info.st_rdev), minor = ::minor(info.st_rdev);
    // /dev/tty, /dev/console and the virtual terminals are consoles whatever their names.
    const bool character = S_ISCHR(info.st_mode);
    if ((character && ((major == 5 && minor <= 1) || (major == 4 && minor < 64))) ||
        std::find(consoles.begin(), consoles.end(), real.filename().string()) != consoles.end())
        return {PortUse::Kind::Console, 0, {}};
    if (character) {
        if (const long session = sessionOfTerminal(places.procFolder, major, minor))
            return {PortUse::Kind::Session, session, {}};
    }
    const PortHolder holder = portLockHolder(places.lockFolder, real.string());
    if (!holder.lockFile.empty()) return {PortUse::Kind::Locked, holder.pid, holder.lockFile};
    return {};
}

}  // namespace tarn
