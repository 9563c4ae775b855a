#pragma once

#include "settings/settings_store.h"

namespace tarn {

// The platform's settings: on Windows the machine-wide registry key
// HKEY_LOCAL_MACHINE\SOFTWARE\TARN\Tarn DataBase; elsewhere an INI file in the user's
// configuration folder (TARN/Tarn DataBase.ini, moved by XDG_CONFIG_HOME). Every call
// opens the store, reads or writes one value and closes it again.
class QtSettingsBackend final : public SettingsBackend {
  public:
    std::optional<std::string> read(std::string_view name) const override;
    bool write(std::string_view name, std::string_view text) override;
};

}  // namespace tarn
