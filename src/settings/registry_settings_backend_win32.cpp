#include "settings/registry_settings_backend.h"

#include <windows.h>

#include <vector>

namespace tarn {
namespace {

constexpr const char* kKey = "SOFTWARE\\TARN\\Tarn DataBase";

// Closes the key on every path out.
struct Key {
    HKEY handle = nullptr;
    ~Key() {
        if (handle) RegCloseKey(handle);
    }
};

}  // namespace

std::optional<std::string> RegistrySettingsBackend::read(std::string_view name) const {
    Key key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kKey, 0, KEY_READ, &key.handle) != ERROR_SUCCESS)
        return std::nullopt;
    const std::string value(name);
    DWORD type = 0, size = 0;
    if (RegQueryValueExA(key.handle, value.c_str(), nullptr, &type, nullptr, &size) !=
            ERROR_SUCCESS ||
        type != REG_SZ)
        return std::nullopt;
    std::vector<char> bytes(size + 1, '\0');
    if (RegQueryValueExA(key.handle, value.c_str(), nullptr, &type,
                         reinterpret_cast<BYTE*>(bytes.data()), &size) != ERROR_SUCCESS)
        return std::nullopt;
    return std::string(bytes.data());  // the stored text may or may not end in its NUL
}

bool RegistrySettingsBackend::write(std::string_view name, std::string_view text) {
    Key key;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, kKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key.handle,
                        nullptr) != ERROR_SUCCESS)
        return false;
    const std::string value(name), data(text);
    return RegSetValueExA(key.handle, value.c_str(), 0, REG_SZ,
                          reinterpret_cast<const BYTE*>(data.c_str()),
                          static_cast<DWORD>(data.size() + 1)) == ERROR_SUCCESS;
}

}  // namespace tarn
