#pragma once

#include <map>

#include "model/clipboard.h"
#include "model/services.h"

namespace tarn::test {

// An in-memory clipboard that can be told to fail, and that counts its open/close
// cycles so a test can see that every open is closed again. Installs itself for its lifetime.
class FakeClipboard final : public Clipboard {
  public:
    bool registered = true;
    bool openFails = false;
    bool refusesData = false;
    int opens = 0;
    int closes = 0;

    FakeClipboard() { installed_->clipboard = this; }
    FakeClipboard(const FakeClipboard&) = delete;
    FakeClipboard& operator=(const FakeClipboard&) = delete;

    bool isRegistered(ClipboardFormat) const override { return registered; }
    bool open(WindowHandle) override {
        if (openFails) return false;
        ++opens;
        return true;
    }
    bool empty() override {
        blocks.clear();
        return true;
    }
    bool setData(ClipboardFormat format, std::vector<std::uint8_t> block) override {
        if (refusesData) return false;
        blocks[format] = std::move(block);
        return true;
    }
    bool isAvailable(ClipboardFormat format) const override { return blocks.count(format) != 0; }
    std::optional<std::vector<std::uint8_t>> getData(ClipboardFormat format) const override {
        auto it = blocks.find(format);
        if (it == blocks.end()) return std::nullopt;
        return it->second;
    }
    void close() override { ++closes; }

    std::map<ClipboardFormat, std::vector<std::uint8_t>> blocks;

  private:
    ScopedServices installed_;
};

}  // namespace tarn::test
