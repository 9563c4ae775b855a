#pragma once

#include <QString>
#include <map>

#include "model/clipboard.h"

namespace tarn {

// The clipboard seam on QClipboard. Each private format is a MIME type of our own; on
// Windows Qt maps it to the registered clipboard format of the same name as the
// Windows program ("Tarn_RadioData", "Tarn_ChanData"), so both can exchange data.
class QtClipboard final : public Clipboard {
  public:
    static QString mimeType(ClipboardFormat format);

    bool isRegistered(ClipboardFormat format) const override;
    bool open(WindowHandle owner) override;
    bool empty() override;
    bool setData(ClipboardFormat format, std::vector<std::uint8_t> block) override;
    bool isAvailable(ClipboardFormat format) const override;
    std::optional<std::vector<std::uint8_t>> getData(ClipboardFormat format) const override;
    void close() override;

  private:
    std::map<ClipboardFormat, QByteArray> offered_;  // what this open/close cycle has set
};

// The program's one Qt clipboard (for Services::clipboard).
QtClipboard& qtClipboard();

}  // namespace tarn
