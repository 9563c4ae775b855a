#pragma once

#include <algorithm>
#include <map>
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
    int width = 2000;
    int fromPage = 0, toPage = 0;  // a page range; 0: every page
    bool cancel = false;
    std::string failAt, dateLine = "09:41:07 24/12/2026";
    std::vector<std::string> events;  // "startDoc NAME", "startPage", "endPage", "endDoc"
    std::vector<Drawn> texts;
    int pages = 0, dialogs = 0;
    WindowHandle dialogOwner = nullptr;

    Drawn at(const std::string& text, int nth = 0) const {  // the nth drawing of a text
        for (const Drawn& d : texts)
            if (d.text == text && nth-- == 0) return d;
        return {};
    }
    std::vector<std::string> line(int page, int n) const {  // texts on a line, left to right
        std::multimap<int, std::string> byLeft;             // equal keys keep the drawing order
        for (const Drawn& d : texts)
            if (d.page == page && d.line == n) byLeft.emplace(d.left, d.text);
        std::vector<std::string> out;
        for (const auto& entry : byLeft) out.push_back(entry.second);
        return out;
    }
    int count(const std::string& text) const {
        return int(std::count_if(texts.begin(), texts.end(),
                                 [&](const Drawn& d) { return d.text == text; }));
    }

  private:
    ScopedServices installed_;
};

class RecordingSurface final : public PrintSurface {
  public:
    explicit RecordingSurface(RecordingPrinter& p) : p_(p) {}
    int charHeight() const override { return p_.charHeight; }
    int externalLeading() const override { return p_.leading; }
    int printableWidth() const override { return p_.width; }
    int printableHeight() const override { return p_.height; }
    int textWidth(std::string_view text) const override { return 10 * int(text.size()); }
    std::string localTimeAndDate() const override { return p_.dateLine; }
    bool printsPage(int n) const override {
        return p_.fromPage == 0 || (n >= p_.fromPage && n <= p_.toPage);
    }
    void drawText(const PrintRect& r, std::string_view text, TextAlign align) override {
        const int h = p_.charHeight + p_.leading;  // off the line grid: line -2
        const int line = r.top % h == 0 && r.bottom - r.top == h ? r.top / h : -2;
        p_.texts.push_back({p_.pages, line, r.left, r.right, align, std::string(text)});
    }
    void drawPath(const PrintRect& r, const std::filesystem::path& path, TextAlign align) override {
        drawText(r, path.string(), align);
    }
    bool startDoc(std::string_view name) override { return event("startDoc " + std::string(name)); }
    bool startPage() override {
        ++started_;
        return event("startPage", "startPage" + std::to_string(started_)) && ++p_.pages;
    }
    bool endPage() override { return event("endPage"); }
    bool endDoc() override { return event("endDoc"); }
    void abortDoc() override { event("abortDoc"); }

  private:
    bool event(const std::string& name, const std::string& failName = "") {
        p_.events.push_back(name);
        return p_.failAt != (failName.empty() ? name.substr(0, name.find(' ')) : failName);
    }
    RecordingPrinter& p_;
    int started_ = 0;
};

inline std::unique_ptr<PrintSurface> RecordingPrinter::choosePrinter(WindowHandle owner) {
    ++dialogs;
    dialogOwner = owner;
    return cancel ? nullptr : std::make_unique<RecordingSurface>(*this);
}

}  // namespace tarn::test
