#include "radio/serial_ports.h"

#include <algorithm>
#include <cctype>
#include <fstream>

namespace tarn {
namespace {

namespace fs = std::filesystem;

std::string firstLine(const fs::path& file) {
    std::ifstream in(file);
    std::string line;
    std::getline(in, line);
    while (!line.empty() && std::isspace(static_cast<unsigned char>(line.back()))) line.pop_back();
    return line;
}

// The USB device above a tty's device: the first folder up that has a vendor id.
std::string usbDescription(const fs::path& device) {
    std::error_code error;
    fs::path folder = fs::canonical(device, error);
    if (error) return {};
    for (int up = 0; up < 4 && folder.has_relative_path(); ++up, folder = folder.parent_path()) {
        if (!fs::exists(folder / "idVendor", error)) continue;
        const std::string maker = firstLine(folder / "manufacturer");
        const std::string product = firstLine(folder / "product");
        if (product.empty())
            return maker.empty() ? "USB device " + firstLine(folder / "idVendor") + ":" +
                                       firstLine(folder / "idProduct")
                                 : maker;
        if (maker.empty() || product.rfind(maker, 0) == 0) return product;
        return maker + " " + product;
    }
    return {};
}

}  // namespace

std::vector<SerialPortInfo> listSysfsSerialPorts(const fs::path& ttyClass,
                                                 const std::string& devFolder) {
    std::vector<SerialPortInfo> ports;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(ttyClass, error)) {
        const std::string name = entry.path().filename().string();
        if (!fs::exists(entry.path() / "device", error)) continue;
        std::string description = usbDescription(entry.path() / "device");
        if (name.rfind("ttyS", 0) == 0) {
            const std::string type = firstLine(entry.path() / "type");
            if (type.empty() || type == "0") continue;
            if (description.empty()) description = "Built-in serial port";
        }
        ports.push_back({devFolder + "/" + name, description});
    }
    sortPorts(ports);
    return ports;
}

std::string describePort(const SerialPortInfo& port) {
    return port.description.empty() ? port.name : port.name + " \u2014 " + port.description;
}

void sortPorts(std::vector<SerialPortInfo>& ports) {
    auto less = [](const std::string& a, const std::string& b) {
        std::size_t i = 0, j = 0;
        auto digit = [](char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; };
        while (i < a.size() && j < b.size()) {
            if (digit(a[i]) && digit(b[j])) {
                std::size_t ei = i, ej = j;
                while (ei < a.size() && digit(a[ei])) ++ei;
                while (ej < b.size() && digit(b[ej])) ++ej;
                while (i + 1 < ei && a[i] == '0') ++i;  // numbers: fewer digits first
                while (j + 1 < ej && b[j] == '0') ++j;
                const std::string x = a.substr(i, ei - i), y = b.substr(j, ej - j);
                if (x.size() != y.size()) return x.size() < y.size();
                if (x != y) return x < y;
                i = ei;
                j = ej;
            } else {
                if (a[i] != b[j]) return a[i] < b[j];
                ++i;
                ++j;
            }
        }
        return a.size() - i < b.size() - j;
    };
    std::sort(ports.begin(), ports.end(), [&](const SerialPortInfo& x, const SerialPortInfo& y) {
        return less(x.name, y.name);
    });
}

}  // namespace tarn
