#include "printing/qt_page_surface.h"

#include <algorithm>

#include <QDateTime>
#include <QFontMetrics>
#include <QLocale>

#include "qtcommon/ansi_text.h"
#include "qtcommon/file_path.h"

namespace tarn {
namespace {

constexpr double kSafeMarginMm = 12.7;

// A time format without its time zone field ("t" outside quotes, with the brackets or
// blanks around it): Qt's long formats name the zone, the printed line does not.
QString withoutTimeZone(const QString& format) {
    QString out;
    bool quoted = false;
    for (qsizetype i = 0; i < format.size(); ++i) {
        const QChar c = format[i];
        if (c == u'\'') quoted = !quoted;
        if (quoted || c != u't') {
            out += c;
            continue;
        }
        while (i + 1 < format.size() && format[i + 1] == u't') ++i;
        const bool bracketed = (out.endsWith(u'(') && format.mid(i + 1, 1) == u")") ||
                               (out.endsWith(u'[') && format.mid(i + 1, 1) == u"]");
        if (bracketed) {
            out.chop(1);
            ++i;
        }
        while (out.endsWith(u' ')) out.chop(1);
    }
    return out.trimmed();
}

// A text as drawn in `width`: whole when it fits, else shortened with an ellipsis at the
// end, or in the middle (a path keeps its start and its file name), never cut inside a
// character.
QString fittedText(const QFontMetrics& metrics, const QString& text, int width, bool path) {
    if (metrics.horizontalAdvance(text) <= width) return text;
    return metrics.elidedText(text, path ? Qt::ElideMiddle : Qt::ElideRight, width);
}

}  // namespace

QString printedTimeAndDate(const QLocale& locale, const QDateTime& when) {
    return locale.toString(when.time(), withoutTimeZone(locale.timeFormat(QLocale::LongFormat))) +
           u' ' + locale.toString(when.date(), QLocale::ShortFormat);
}

QPageLayout withSafeMargins(QPageLayout layout, bool toFile) {
    if (!toFile && !layout.minimumMargins().isNull()) return layout;
    layout.setUnits(QPageLayout::Millimeter);
    layout.setMargins(QMarginsF(kSafeMarginMm, kSafeMarginMm, kSafeMarginMm, kSafeMarginMm));
    return layout;
}

QtPageSurface::QtPageSurface(std::unique_ptr<QPagedPaintDevice> device, Hooks hooks)
    : QtPageSurface(*device, std::move(hooks)) {
    owned_ = std::move(device);
}

QtPageSurface::QtPageSurface(QPagedPaintDevice& device, Hooks hooks)
    : hooks_(std::move(hooks)), device_(&device) {
    device_->setPageLayout(withSafeMargins(device_->pageLayout(), hooks_.toFile));
    // Characters as they are, one glyph each: no ligatures, so a PDF's text reads back
    // exactly as stored and widths add up as the column layout expects.
    font_.setStyleStrategy(QFont::PreferNoShaping);
}

QtPageSurface::~QtPageSurface() {
    if (painter_.isActive()) painter_.end();
}

int QtPageSurface::charHeight() const {
    return QFontMetrics(font_, device_).height();
}

int QtPageSurface::externalLeading() const {
    return QFontMetrics(font_, device_).leading();
}

int QtPageSurface::printableWidth() const {
    return device_->width();
}
int QtPageSurface::printableHeight() const {
    return device_->height();
}

int QtPageSurface::textWidth(std::string_view text) const {
    return QFontMetrics(font_, device_).horizontalAdvance(fromAnsi(text));
}

void QtPageSurface::drawText(const PrintRect& rect, std::string_view text, TextAlign align) {
    drawString(rect, fromAnsi(text), align, false);
}

void QtPageSurface::drawPath(const PrintRect& rect, const std::filesystem::path& path,
                             TextAlign align) {
    drawString(rect, displayPath(path), align, true);
}

void QtPageSurface::drawString(const PrintRect& rect, const QString& text, TextAlign align,
                               bool path) {
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
    // The layout hands texts that fit; anything wider is shortened visibly, and the clip
    // keeps a glyph's overhang out of the next column.
    painter_.setClipRect(box);
    painter_.drawText(box, flags,
                      fittedText(QFontMetrics(font_, device_), text, box.width(), path));
    painter_.setClipping(false);
}

std::string QtPageSurface::localTimeAndDate() const {
    // The page's texts are 8-bit: a locale whose names the code page cannot hold (a Polish
    // month, say) prints the date in the C locale's form rather than with a character lost.
    const QDateTime now = QDateTime::currentDateTime();
    if (auto text = toAnsi(printedTimeAndDate(QLocale::system(), now))) return *text;
    return toAnsi(printedTimeAndDate(QLocale::c(), now)).value_or(std::string());
}

// A range chosen in the print dialog (empty: every page).
bool QtPageSurface::printsPage(int n) const {
    const QPageRanges ranges = device_->pageRanges();
    return ranges.isEmpty() || ranges.contains(n);
}

bool QtPageSurface::startDoc(std::string_view name) {
    if (hooks_.nameDocument) hooks_.nameDocument(*device_, fromAnsi(name));
    if (!painter_.begin(device_)) return false;
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
