#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "radio/serial_device.h"

namespace tarn {

// Where this computer tells who uses which terminal. Tests point them at a temporary folder.
struct PortPlaces {
    std::filesystem::path lockFolder = "/var/lock";  // UUCP lock files
    std::filesystem::path procFolder = "/proc";      // processes, consoles, kernel command line
    std::filesystem::path sysFolder = "/sys";        // the active console
};
PortPlaces portPlaces();
void setPortPlaces(PortPlaces places);

// The terminals the kernel writes its console to ("ttyS0"): /proc/consoles, the active
// console in sysfs and the console= arguments of the kernel command line.
std::vector<std::string> consoleNames(const PortPlaces& places);

// The session whose controlling terminal is the device major:minor, from the processes'
// stat files (readable by every user); 0 when no process has it as its terminal.
long sessionOfTerminal(const std::filesystem::path& procFolder, unsigned major, unsigned minor);

// The program name of a process ("minicom"), empty when unknown.
std::string processName(const std::filesystem::path& procFolder, long pid);

// Why a port is left alone before anything opens it: the system console, the terminal of
// a running session (a login, a terminal window), or a live lock of another program.
struct PortUse {
    enum class Kind { Free, Console, Session, Locked };
    Kind kind = Kind::Free;
    long pid = 0;          // Session: the session's leader; Locked: the lock's process
    std::string lockFile;  // Locked
};

// What the rules above say of `port` now (on Windows: always free).
PortUse portUse(const std::string& port);

}  // namespace tarn
