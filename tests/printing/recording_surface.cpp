#include "printing/recording_surface.h"

#include <algorithm>

namespace tarn::test {

std::vector<std::string> PrintLog::lineTexts(int page, int line) const {
    std::vector<const DrawnText*> hits;
    for (const DrawnText& t : texts)
        if (t.page == page && t.line == line) hits.push_back(&t);
    std::stable_sort(hits.begin(), hits.end(), [](const DrawnText* a, const DrawnText* b) {
        return a->rect.left < b->rect.left;
    });
    std::vector<std::string> out;
    for (const DrawnText* t : hits) out.push_back(t->text);
    return out;
}

DrawnText PrintLog::at(std::string_view text, int nth) const {
    for (const DrawnText& t : texts)
        if (t.text == text && nth-- == 0) return t;
    DrawnText missing;
    missing.page = missing.line = -1;
    missing.text = "<missing " + std::string(text) + ">";
    return missing;
}

int PrintLog::count(std::string_view text) const {
    return static_cast<int>(std::count_if(texts.begin(), texts.end(),
                                          [&](const DrawnText& t) { return t.text == text; }));
}

int PrintLog::lastLine(int page) const {
    int last = -1;
    for (const DrawnText& t : texts)
        if (t.page == page) last = std::max(last, t.line);
    return last;
}

int RecordingSurface::textWidth(std::string_view text) const {
    return static_cast<int>(text.size()) * setup_.charWidth;
}

void RecordingSurface::drawText(const PrintRect& rect, std::string_view text, TextAlign align) {
    const int lineHeight = setup_.charHeight + setup_.externalLeading;
    DrawnText drawn{log_.pages, rect.top / lineHeight, rect, align, std::string(text)};
    // Anything not on a whole grid band is recorded with line -1, which no test expects.
    if (rect.top % lineHeight != 0 || rect.bottom - rect.top != lineHeight) drawn.line = -1;
    log_.texts.push_back(std::move(drawn));
}

bool RecordingSurface::startDoc(std::string_view name) {
    log_.events.push_back("startDoc " + std::string(name));
    return !setup_.failStartDoc;
}

bool RecordingSurface::startPage() {
    log_.events.push_back("startPage");
    if (++startPageCalls_ == setup_.failStartPage) return false;
    ++log_.pages;
    return true;
}

bool RecordingSurface::endPage() {
    log_.events.push_back("endPage");
    return true;
}

bool RecordingSurface::endDoc() {
    log_.events.push_back("endDoc");
    return !setup_.failEndDoc;
}

RecordingBackend::RecordingBackend() {
    setPrintBackend(this);
}
RecordingBackend::~RecordingBackend() {
    setPrintBackend(nullptr);
}

std::unique_ptr<PrintSurface> RecordingBackend::choosePrinter(WindowHandle owner) {
    ++dialogsShown;
    dialogOwner = owner;
    if (cancel) return nullptr;
    return std::make_unique<RecordingSurface>(setup, log);
}

}  // namespace tarn::test
