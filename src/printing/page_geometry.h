#pragma once

#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "printing/print_surface.h"

namespace tarn {

// The line grid of a print job, measured once on its device: every position is a whole
// line down the page and a device-unit offset across it.
struct PageGeometry {
    int lineHeight = 0;       // character height plus external leading
    int linesPerPage = 0;     // printable height / line height - 1
    int width = 0;            // printable width
    int labelWidth = 0;       // width of "Client name: "
    int pageNumberWidth = 0;  // width of "Page 8888 of 8888", the footer's page number
    // Channel table column edges c1..c6 (entry 0 unused), from template widths.
    std::array<int, 7> edge{};
    // The width of an 8-bit text on the device (valid while the measured surface lives).
    std::function<int(std::string_view)> textWidth;

    // The band of line n between two x positions.
    PrintRect line(int n, int left, int right) const {
        return {left, n * lineHeight, right, (n + 1) * lineHeight};
    }
};

// Measures everything; lineHeight below 1 or linesPerPage below 1 means the device is
// unusable (linesPerPage is left 0 when lineHeight is below 1).
PageGeometry measurePage(const PrintSurface& surface);

// A text as lines that each fit `width`: broken after the last blank that fits, else
// between two characters, so no character is cut or left out (the blanks at a break are
// the break). One line at least, even for an empty text.
std::vector<std::string> fitToWidth(std::string_view text, int width,
                                    const std::function<int(std::string_view)>& textWidth);

// One column of the channel table: its heading, x-range and alignment.
struct TableColumn {
    const char* heading;
    int left;
    int right;
    TextAlign align;
};

inline constexpr int kTableColumns = 7;
std::array<TableColumn, kTableColumns> tableColumns(const PageGeometry& geometry);

}  // namespace tarn
