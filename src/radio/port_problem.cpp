#include "radio/port_problem.h"

#include <cstdio>

#include "radio/radio_texts.h"
#include "radio/serial_ports.h"

namespace tarn {
namespace {

std::string filled(const char* format, const std::string& first, const std::string& second = {}) {
    char text[1024];
    std::snprintf(text, sizeof text, format, first.c_str(), second.c_str());
    return text;
}

// "4711 (minicom)", or the number alone when the program is unknown.
std::string process(long pid) {
    const std::string name = processName(portPlaces().procFolder, pid);
    return std::to_string(pid) + (name.empty() ? "" : " (" + name + ")");
}

std::string busyText(const PortHolder& holder) {
    if (holder.lockFile.empty()) return probe_text::kBusy;
    if (holder.pid == 0) return filled(probe_text::kLockedByFile, holder.lockFile);
    return filled(probe_text::kLockedBy, process(holder.pid), holder.lockFile);
}

}  // namespace

std::string portOpenFailureText(const std::string& port, OpenError error,
                                const PortHolder& holder) {
    switch (error) {
        case OpenError::None:
            return probe_text::kNotSerial;
        case OpenError::Missing:
            return probe_text::kNoSuchDevice;
        case OpenError::PermissionDenied:
            return permissionDeniedText(port);
        case OpenError::Busy:
            return busyText(holder);
        case OpenError::Other:
            break;
    }
    return probe_text::kCannotOpen;
}

std::string portUseText(const PortUse& use) {
    switch (use.kind) {
        case PortUse::Kind::Free:
            break;
        case PortUse::Kind::Console:
            return probe_text::kConsole;
        case PortUse::Kind::Session:
            return filled(probe_text::kSession, process(use.pid));
        case PortUse::Kind::Locked:
            return busyText({use.pid, use.lockFile});
    }
    return {};
}

}  // namespace tarn
