#pragma once

#include <QDateTime>
#include <QFont>
#include <QLocale>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QString>
#include <functional>
#include <memory>

#include "printing/print_surface.h"

namespace tarn {

// The time with seconds, as the locale's long time format writes it but without the time
// zone, a blank, then the locale's short date: the "Date:" line of the heading.
QString printedTimeAndDate(const QLocale& locale, const QDateTime& when);

// Margins no printer clips: a PDF file, or a printer that reports no unprintable margin,
// gets 12.7 mm on every side; a printer that reports its unprintable margins keeps the
// layout it has.
QPageLayout withSafeMargins(QPageLayout layout, bool toFile);

// The print surface on a Qt paged device (QPrinter, QPdfWriter), drawing in the device's
// own units with the application's default font as the device measures it.
class QtPageSurface final : public PrintSurface {
  public:
    // What differs between devices: giving the document its name (QPrinter and QPdfWriter
    // name it differently) and, optionally, delivering the ended document (false: failed).
    struct Hooks {
        std::function<void(QPagedPaintDevice&, const QString&)> nameDocument;
        std::function<bool()> deliver;
        std::function<void(QPagedPaintDevice&)> abort;  // while painting; optional
        bool toFile = false;                            // the device writes a PDF file, never paper
    };
    // Both set the device's margins by withSafeMargins, so measure after constructing.
    QtPageSurface(std::unique_ptr<QPagedPaintDevice> device, Hooks hooks);
    // On a device the caller owns, such as the printer of a print preview.
    QtPageSurface(QPagedPaintDevice& device, Hooks hooks);
    ~QtPageSurface() override;

    int charHeight() const override;
    int externalLeading() const override;
    int printableWidth() const override;
    int printableHeight() const override;
    int textWidth(std::string_view text) const override;
    void drawText(const PrintRect& rect, std::string_view text, TextAlign align) override;
    void drawPath(const PrintRect& rect, const std::filesystem::path& path,
                  TextAlign align) override;
    std::string localTimeAndDate() const override;
    bool printsPage(int n) const override;

    bool startDoc(std::string_view name) override;
    bool startPage() override;
    bool endPage() override;
    bool endDoc() override;
    void abortDoc() override;

  private:
    void drawString(const PrintRect& rect, const QString& text, TextAlign align, bool path);

    Hooks hooks_;  // before the device: what the hooks hold may outlive the device, not less
    std::unique_ptr<QPagedPaintDevice> owned_;
    QPagedPaintDevice* device_;
    QFont font_;  // the default font, as every job uses it
    QPainter painter_;
    int pagesStarted_ = 0;
};

}  // namespace tarn
