// The serial devices of a Windows machine: the COM ports the system's device map lists.
#include <windows.h>

#include "radio/radio_texts.h"
#include "radio/serial_ports.h"

namespace tarn {

std::vector<SerialPortInfo> listSerialPorts() {
    std::vector<SerialPortInfo> ports;
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_READ, &key) !=
        ERROR_SUCCESS)
        return ports;
    // Each value: the driver's device name ("\Device\ProlificSerial0") = "COM3".
    for (DWORD index = 0;; ++index) {
        char device[256];
        BYTE port[64];
        DWORD deviceSize = sizeof device, portSize = sizeof port - 1, type = 0;
        const LONG status =
            RegEnumValueA(key, index, device, &deviceSize, nullptr, &type, port, &portSize);
        if (status == ERROR_NO_MORE_ITEMS) break;
        if (status != ERROR_SUCCESS || type != REG_SZ) continue;
        port[portSize] = 0;
        ports.push_back({reinterpret_cast<const char*>(port), device});
    }
    RegCloseKey(key);
    sortPorts(ports);
    return ports;
}

std::string permissionDeniedText(const std::string&) {
    return probe_text::kPermissionDenied;
}

}  // namespace tarn
