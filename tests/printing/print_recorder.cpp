#include "printing/print_recorder.h"

#include <algorithm>
#include <map>

namespace tarn::test {
namespace {

class RecordingSurface final : public PrintSurface {
  public:
    explicit RecordingSurface(RecordingPrinter& p) : p_(p) {}
    int charHeight() const override { return p_.charHeight; }
    int externalLeading() const override { return p_.leading; }
    int printableWidth() const override { return 2000; }
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

}  // namespace

std::unique_ptr<PrintSurface> RecordingPrinter::choosePrinter(WindowHandle owner) {
    ++dialogs;
    dialogOwner = owner;
    return cancel ? nullptr : std::make_unique<RecordingSurface>(*this);
}

Drawn RecordingPrinter::at(const std::string& text, int nth) const {
    for (const Drawn& d : texts)
        if (d.text == text && nth-- == 0) return d;
    return {};
}

std::vector<std::string> RecordingPrinter::line(int page, int n) const {
    std::multimap<int, std::string> byLeft;  // equal keys keep the drawing order
    for (const Drawn& d : texts)
        if (d.page == page && d.line == n) byLeft.emplace(d.left, d.text);
    std::vector<std::string> out;
    for (const auto& entry : byLeft) out.push_back(entry.second);
    return out;
}

int RecordingPrinter::count(const std::string& text) const {
    return int(
        std::count_if(texts.begin(), texts.end(), [&](const Drawn& d) { return d.text == text; }));
}

}  // namespace tarn::test
