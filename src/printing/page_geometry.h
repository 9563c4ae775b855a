#pragma once

#include <array>

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

    // The band of line n between two x positions.
    PrintRect line(int n, int left, int right) const {
        return {left, n * lineHeight, right, (n + 1) * lineHeight};
    }
};

// Measures everything; lineHeight below 1 or linesPerPage below 1 means the device is
// unusable (linesPerPage is left 0 when lineHeight is below 1).
PageGeometry measurePage(const PrintSurface& surface);

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
