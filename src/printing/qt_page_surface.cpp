#include "printing/qt_page_surface.h"

#include <algorithm>

#include <QDateTime>
#include <QFontMetrics>
#include <QLocale>

#include "qtcommon/ansi_text.h"
#include "qtcommon/file_path.h"

namespace tarn {
namespace {

// The local time and date as the user's locale writes them: short time, a blank, short date.
std::string localeTimeAndDate() {
    const QLocale locale = QLocale::system();
    const QDateTime now = QDateTime::currentDateTime();
    return toAnsi(locale.toString(now.time(), QLocale::ShortFormat) + u' ' +
                  locale.toString(now.date(), QLocale::ShortFormat));
}

}  // namespace

QtPageSurface::QtPageSurface(std::unique_ptr<QPagedPaintDevice> device, Hooks hooks)
    : hooks_(std::move(hooks)), device_(std::move(device)) {
    // Characters as they are, one glyph each: no ligatures, so a PDF's text reads back
    // exactly as stored and widths add up as the column layout expects.
    font_.setStyleStrategy(QFont::PreferNoShaping);
}

QtPageSurface::~QtPageSurface() {
    if (painter_.isActive()) painter_.end();
}

int QtPageSurface::charHeight() const {
    return QFontMetrics(font_, device_.get()).height();
}

int QtPageSurface::externalLeading() const {
    return QFontMetrics(font_, device_.get()).leading();
}

int QtPageSurface::printableWidth() const {
    return device_->width();
}
int QtPageSurface::printableHeight() const {
    return device_->height();
}

int QtPageSurface::textWidth(std::string_view text) const {
    return QFontMetrics(font_, device_.get()).horizontalAdvance(fromAnsi(text));
}

void QtPageSurface::drawText(const PrintRect& rect, std::string_view text, TextAlign align) {
    drawString(rect, fromAnsi(text), align);
}

void QtPageSurface::drawPath(const PrintRect& rect, const std::filesystem::path& path,
                             TextAlign align) {
    drawString(rect, displayPath(path), align);
}

void QtPageSurface::drawString(const PrintRect& rect, const QString& text, TextAlign align) {
    if (!painter_.isActive() || rect.right <= rect.left || rect.bottom <= rect.top) return;
    const QRect box(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
    int flags = Qt::AlignTop | Qt::TextSingleLine;
    switch (align) {
        case TextAlign::Left:
            flags |= Qt::AlignLeft;
            break;
        case TextAlign::Centre:
            flags |= Qt::AlignHCenter;
            break;
        case TextAlign::Right:
            flags |= Qt::AlignRight;
            break;
    }
    // Text wider than its box is cut at the box, as a column cell must be.
    painter_.setClipRect(box);
    painter_.drawText(box, flags, text);
    painter_.setClipping(false);
}

std::string QtPageSurface::localTimeAndDate() const {
    return localeTimeAndDate();
}

bool QtPageSurface::startDoc(std::string_view name) {
    if (hooks_.nameDocument) hooks_.nameDocument(*device_, fromAnsi(name));
    if (!painter_.begin(device_.get())) return false;
    painter_.setFont(font_);
    painter_.setPen(Qt::black);
    pagesStarted_ = 0;
    return true;
}

// The painter opens the first page when it begins; later pages are new pages.
bool QtPageSurface::startPage() {
    if (!painter_.isActive()) return false;
    if (pagesStarted_++ == 0) return true;
    return device_->newPage();
}

bool QtPageSurface::endPage() {
    return painter_.isActive();
}

bool QtPageSurface::endDoc() {
    if (!painter_.isActive() || !painter_.end()) return false;
    return !hooks_.deliver || hooks_.deliver();
}

void QtPageSurface::abortDoc() {
    if (!painter_.isActive()) return;
    if (hooks_.abort) hooks_.abort(*device_);
    painter_.end();
}

}  // namespace tarn
