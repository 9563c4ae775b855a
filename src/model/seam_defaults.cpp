// The stand-ins the core uses until the shell (or a test) installs its own seams.
#include <map>

#include "model/clipboard.h"
#include "model/installed_seam.h"
#include "model/progress.h"

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

MemoryClipboard memoryClipboard;
InstalledSeam<Clipboard> clipboardSeam(memoryClipboard);
SilentProgressUi silentProgress;
InstalledSeam<ProgressUi> progressSeam(silentProgress);

}  // namespace

Clipboard& clipboard() {
    return clipboardSeam.get();
}
void setClipboard(Clipboard* c) {
    clipboardSeam.install(c);
}
ProgressUi& progressUi() {
    return progressSeam.get();
}
void setProgressUi(ProgressUi* ui) {
    progressSeam.install(ui);
}

}  // namespace tarn
