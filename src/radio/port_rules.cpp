#include "radio/port_rules.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <mutex>
#include <sstream>

namespace tarn {
namespace {

namespace fs = std::filesystem;

std::mutex placesMutex;
PortPlaces& places() {
    static PortPlaces inUse;
    return inUse;
}

std::string fileText(const fs::path& file) {
    std::ifstream in(file);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void addName(std::vector<std::string>& names, const std::string& name) {
    if (!name.empty() && std::find(names.begin(), names.end(), name) == names.end())
        names.push_back(name);
}

}  // namespace

PortPlaces portPlaces() {
    std::lock_guard guard(placesMutex);
    return places();
}

void setPortPlaces(PortPlaces replacement) {
    std::lock_guard guard(placesMutex);
    places() = std::move(replacement);
}

std::vector<std::string> consoleNames(const PortPlaces& where) {
    std::vector<std::string> names;
    std::istringstream consoles(fileText(where.procFolder / "consoles"));
    for (std::string line; std::getline(consoles, line);) {
        std::istringstream fields(line);
        std::string name;
        fields >> name;  // "ttyS0 -W- (EC p a) 4:64"
        addName(names, name);
    }
    std::istringstream active(fileText(where.sysFolder / "class/tty/console/active"));
    for (std::string name; active >> name;) addName(names, name);
    // "console=ttyS0,115200n8"; what follows "--" is for init, not for the kernel.
    std::istringstream arguments(fileText(where.procFolder / "cmdline"));
    for (std::string word; arguments >> word && word != "--";)
        if (word.rfind("console=", 0) == 0) addName(names, word.substr(8, word.find(',') - 8));
    return names;
}

long sessionOfTerminal(const fs::path& procFolder, unsigned major, unsigned minor) {
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(procFolder, error)) {
        const std::string pid = entry.path().filename().string();
        if (pid.empty() ||
            !std::all_of(pid.begin(), pid.end(), [](unsigned char c) { return std::isdigit(c); }))
            continue;
        // "pid (name) state ppid pgrp session tty_nr ...": the name may hold anything.
        const std::string stat = fileText(entry.path() / "stat");
        const std::size_t nameEnd = stat.rfind(')');
        if (nameEnd == std::string::npos) continue;
        std::istringstream fields(stat.substr(nameEnd + 1));
        std::string state;
        long parent = 0, group = 0, session = 0;
        unsigned long tty = 0;
        if (!(fields >> state >> parent >> group >> session >> tty) || tty == 0) continue;
        // The kernel's encoding of a device number: minor bits 0-7 and 20-31, major 8-19.
        const unsigned ttyMajor = (tty >> 8) & 0xfff;
        const unsigned ttyMinor = (tty & 0xff) | ((tty >> 12) & 0xfff00);
        if (ttyMajor == major && ttyMinor == minor) return session > 0 ? session : std::stol(pid);
    }
    return 0;
}

std::string processName(const fs::path& procFolder, long pid) {
    std::string name = fileText(procFolder / std::to_string(pid) / "comm");
    while (!name.empty() && (name.back() == '\n' || name.back() == ' ')) name.pop_back();
    return name;
}

}  // namespace tarn
