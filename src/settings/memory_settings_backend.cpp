#include "settings/memory_settings_backend.h"

namespace tarn {

std::optional<std::string> MemorySettingsBackend::read(std::string_view name) const {
    auto it = values_.find(name);
    if (it == values_.end()) return std::nullopt;
    return it->second;
}

bool MemorySettingsBackend::write(std::string_view name, std::string_view text) {
    if (!writable_) return false;
    values_.insert_or_assign(std::string(name), std::string(text));
    return true;
}

}  // namespace tarn
