#pragma once

#include "settings/settings_store.h"

namespace tarn {

// The settings key HKEY_LOCAL_MACHINE\SOFTWARE\TARN\Tarn DataBase through the registry
// API itself, for the Windows programs built without Qt (QSettings reads the same key).
// Values are strings (REG_SZ) of 8-bit text.
class RegistrySettingsBackend final : public SettingsBackend {
  public:
    std::optional<std::string> read(std::string_view name) const override;
    bool write(std::string_view name, std::string_view text) override;
};

}  // namespace tarn
