#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "printing/print_surface.h"

namespace tarn::test {

// One text drawn on a page: page 1 is the first, line is the grid line its band starts on.
struct DrawnText {
    int page = 0;
    int line = 0;
    PrintRect rect;
    TextAlign align = TextAlign::Left;
    std::string text;
};

// What a recording surface was asked to do, kept by the test after the job ends.
struct PrintLog {
    std::vector<std::string> events;  // "startDoc <name>", "startPage", "endPage", "endDoc"
    std::vector<DrawnText> texts;
    int pages = 0;

    // The texts drawn on one line of one page, left to right.
    std::vector<std::string> lineTexts(int page, int line) const;
    // The nth drawing of a text (0 first); a missing one has page and line -1, which no
    // test expects.
    DrawnText at(std::string_view text, int nth = 0) const;
    int count(std::string_view text) const;
    // The last grid line used on a page, -1 when the page is blank.
    int lastLine(int page) const;
};

// Fixed metrics: every character is charWidth wide, so widths are easy to follow.
struct SurfaceSetup {
    int charHeight = 9;
    int externalLeading = 1;  // line height 10
    int width = 2000;
    int height = 600;  // 59 lines per page
    int charWidth = 10;
    std::string dateLine = "09:41 24/12/2026";
    bool failStartDoc = false;
    int failStartPage = 0;  // 1-based number of the startPage call that fails; 0 none
    bool failEndDoc = false;
};

class RecordingSurface final : public PrintSurface {
  public:
    RecordingSurface(const SurfaceSetup& setup, PrintLog& log) : setup_(setup), log_(log) {}

    int charHeight() const override { return setup_.charHeight; }
    int externalLeading() const override { return setup_.externalLeading; }
    int printableWidth() const override { return setup_.width; }
    int printableHeight() const override { return setup_.height; }
    int textWidth(std::string_view text) const override;
    void drawText(const PrintRect& rect, std::string_view text, TextAlign align) override;
    std::string localTimeAndDate() const override { return setup_.dateLine; }
    bool startDoc(std::string_view name) override;
    bool startPage() override;
    bool endPage() override;
    bool endDoc() override;

  private:
    SurfaceSetup setup_;
    PrintLog& log_;
    int startPageCalls_ = 0;
};

// Installs itself as the print backend for its lifetime; every job gets a recording
// surface with the current setup, or nothing when the dialog is to be cancelled.
class RecordingBackend final : public PrintBackend {
  public:
    RecordingBackend();
    ~RecordingBackend() override;

    std::unique_ptr<PrintSurface> choosePrinter(WindowHandle owner) override;

    SurfaceSetup setup;
    PrintLog log;
    bool cancel = false;
    int dialogsShown = 0;
    WindowHandle dialogOwner = nullptr;
};

}  // namespace tarn::test
