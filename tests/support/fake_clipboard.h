#pragma once

#include <map>

#include "model/clipboard.h"
#include "model/services.h"

namespace tarn::test {

// An in-memory clipboard that can be told to fail and counts opens and closes, so a test
// sees every open closed again. Installs itself for its lifetime.
class FakeClipboard final : public Clipboard {
  public:
    bool registered = true, openFails = false, refusesData = false;
    int opens = 0, closes = 0;
    std::map<ClipboardFormat, std::vector<std::uint8_t>> blocks;

    FakeClipboard() { installed_->clipboard = this; }
    FakeClipboard(const FakeClipboard&) = delete;
    FakeClipboard& operator=(const FakeClipboard&) = delete;

    bool isRegistered(ClipboardFormat) const override { return registered; }
    bool open(WindowHandle) override { return !openFails && ++opens; }
    bool empty() override {
        blocks.clear();
        return true;
    }
    bool setData(ClipboardFormat format, std::vector<std::uint8_t> block) override {
        if (!refusesData) blocks[format] = std::move(block);
        return !refusesData;
    }
    bool isAvailable(ClipboardFormat format) const override { return blocks.count(format) != 0; }
    std::optional<std::vector<std::uint8_t>> getData(ClipboardFormat format) const override {
        auto it = blocks.find(format);
        return it == blocks.end() ? std::nullopt : std::optional(it->second);
    }
    void close() override { ++closes; }

  private:
    ScopedServices installed_;
};

}  // namespace tarn::test
