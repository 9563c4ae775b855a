#pragma once

#include <string>
#include <vector>

#include "model/services.h"
#include "printing/print_surface.h"

namespace tarn::test {

struct Drawn {
    int page = -1, line = -1, left = 0, right = 0;  // -1: not drawn at all
    TextAlign align = TextAlign::Left;
    std::string text;
};

// A printer with fixed metrics (line height 10, every character 10 units wide) that
// records the document. Installs itself for its lifetime. `failAt` names the call that fails:
// "startDoc", "startPage1", "startPage2" or "endDoc".
class RecordingPrinter final : public PrintBackend {
  public:
    RecordingPrinter() { installed_->printer = this; }
    std::unique_ptr<PrintSurface> choosePrinter(WindowHandle owner) override;

    int charHeight = 9, leading = 1, height = 600;  // 59 lines per page
    int fromPage = 0, toPage = 0;                   // a page range; 0: every page
    bool cancel = false;
    std::string failAt, dateLine = "09:41:07 24/12/2026";
    std::vector<std::string> events;  // "startDoc NAME", "startPage", "endPage", "endDoc"
    std::vector<Drawn> texts;
    int pages = 0, dialogs = 0;
    WindowHandle dialogOwner = nullptr;

    Drawn at(const std::string& text, int nth = 0) const;  // the nth drawing of a text
    std::vector<std::string> line(int page, int n) const;  // texts on a line, left to right
    int count(const std::string& text) const;

  private:
    ScopedServices installed_;
};

}  // namespace tarn::test
