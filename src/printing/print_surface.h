#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "model/window_handle.h"

namespace tarn {

// A rectangle in device units of the printable area (right and bottom exclusive).
struct PrintRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

enum class TextAlign { Left, Centre, Right };

// The page a print job draws on: a printer chosen in the print dialog, a PDF file, or a
// recording surface in tests. All numbers are device units of the printable area, in
// the device's default font. Texts are 8-bit (Windows-1252) as the database holds them.
class PrintSurface {
  public:
    virtual ~PrintSurface() = default;

    virtual int charHeight() const = 0;       // ascent plus descent of the default font
    virtual int externalLeading() const = 0;  // the font's recommended gap between lines
    virtual int printableWidth() const = 0;   // horizontal resolution of the printable area
    virtual int printableHeight() const = 0;  // vertical resolution of the printable area
    virtual int textWidth(std::string_view text) const = 0;

    // One line of text, top-aligned in the rectangle and clipped to it.
    virtual void drawText(const PrintRect& rect, std::string_view text, TextAlign align) = 0;
    // A file's path, drawn like a text but shown the way the platform names files.
    virtual void drawPath(const PrintRect& rect, const std::filesystem::path& path,
                          TextAlign align) = 0;

    // The current local time and date: the time in the user's time format, a blank,
    // then the date in the user's short date format.
    virtual std::string localTimeAndDate() const = 0;

    // Whether page n (1 for the first) of the document goes to the device: a page range
    // chosen in the print dialog leaves out the others.
    virtual bool printsPage(int /*n*/) const { return true; }

    // The document and its pages; false when the device refuses.
    virtual bool startDoc(std::string_view name) = 0;
    virtual bool startPage() = 0;
    virtual bool endPage() = 0;
    virtual bool endDoc() = 0;
    // Drops an unfinished document: nothing of it reaches the printer or the file.
    virtual void abortDoc() = 0;
};

// Picks the device for one print job: the shell shows the print dialog, the command-line
// tool opens a PDF file, tests hand out recording surfaces.
class PrintBackend {
  public:
    virtual ~PrintBackend() = default;
    // Null when the user cancels (or no device can be had); no message is shown.
    virtual std::unique_ptr<PrintSurface> choosePrinter(WindowHandle owner) = 0;
};

// The installed one (Services::printer); never null (else every choice counts as cancelled).
PrintBackend& printBackend();

}  // namespace tarn
