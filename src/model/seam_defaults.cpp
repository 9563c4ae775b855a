// The stand-ins the core uses while the installed services leave a seam empty.
#include <map>

#include "model/clipboard.h"
#include "model/progress.h"
#include "model/services.h"

namespace tarn {
namespace {

class MemoryClipboard final : public Clipboard {
  public:
    bool isRegistered(ClipboardFormat) const override { return true; }
    bool open(WindowHandle) override { return true; }
    bool empty() override {
        blocks_.clear();
        return true;
    }
    bool setData(ClipboardFormat format, std::vector<std::uint8_t> block) override {
        blocks_[format] = std::move(block);
        return true;
    }
    bool isAvailable(ClipboardFormat format) const override { return blocks_.count(format) != 0; }
    std::optional<std::vector<std::uint8_t>> getData(ClipboardFormat format) const override {
        auto it = blocks_.find(format);
        if (it == blocks_.end()) return std::nullopt;
        return it->second;
    }
    void close() override {}

  private:
    std::map<ClipboardFormat, std::vector<std::uint8_t>> blocks_;
};

class SilentWindow final : public ProgressWindow {
  public:
    void setCaption(std::string_view) override {}
    void update(int, const char*) override {}
};

class SilentProgressUi final : public ProgressUi {
  public:
    std::unique_ptr<ProgressWindow> create(Kind, WindowHandle) override {
        return std::make_unique<SilentWindow>();
    }
    void enableWindow(WindowHandle, bool) override {}
    void focusWindow(WindowHandle) override {}
};

}  // namespace

Clipboard& clipboard() {
    static MemoryClipboard memory;
    Clipboard* installed = services().clipboard;
    return installed ? *installed : memory;
}
ProgressUi& progressUi() {
    static SilentProgressUi silent;
    ProgressUi* installed = services().progress;
    return installed ? *installed : silent;
}

}  // namespace tarn
