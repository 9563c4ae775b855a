#pragma once

#include <map>
#include <string>

#include "settings/settings_store.h"

namespace tarn {

// Settings values held in memory: the default until start-up installs the platform's
// backend, and the backend of tests. A read-only one stands for a key that cannot be
// created or written.
class MemorySettingsBackend final : public SettingsBackend {
  public:
    std::optional<std::string> read(std::string_view name) const override;
    bool write(std::string_view name, std::string_view text) override;

    void setWritable(bool writable) { writable_ = writable; }
    void clear() { values_.clear(); }
    const std::map<std::string, std::string, std::less<>>& values() const { return values_; }

  private:
    std::map<std::string, std::string, std::less<>> values_;
    bool writable_ = true;
};

}  // namespace tarn
