#include "printing/page_geometry.h"

namespace tarn {

PageGeometry measurePage(const PrintSurface& surface) {
    PageGeometry g;
    g.lineHeight = surface.charHeight() + surface.externalLeading();
    if (g.lineHeight < 1) return g;
    g.linesPerPage = surface.printableHeight() / g.lineHeight - 1;
    g.width = surface.printableWidth();
    g.labelWidth = surface.textWidth("Client name: ");
    g.pageNumberWidth = surface.textWidth("Page 8888 of 8888");

    // Each column is its template's width plus a small gutter; the first starts at 14.
    g.edge[1] = surface.textWidth(" Channel ") + 14;
    g.edge[2] = g.edge[1] + surface.textWidth(" Mode ") + 4;
    g.edge[3] = g.edge[2] + surface.textWidth(" 88888.8 ") + 4;
    g.edge[4] = g.edge[3] + surface.textWidth(" 88888.8 ") + 4;
    g.edge[5] = g.edge[4] + surface.textWidth(" Scan ") + 4;
    g.edge[6] = g.edge[5] + surface.textWidth(" Selcall ") + 4;
    return g;
}

std::array<TableColumn, kTableColumns> tableColumns(const PageGeometry& g) {
    const auto& c = g.edge;
    return {{
        {"Channel", 12, c[1] - 2, TextAlign::Centre},
        {"Mode", c[1] + 2, c[2] - 2, TextAlign::Centre},
        {"Rx Freq", c[2] + 2, c[3] - 2, TextAlign::Right},
        {"Tx Freq", c[3] + 2, c[4] - 2, TextAlign::Right},
        {"Scan", c[4] + 2, c[5] - 2, TextAlign::Centre},
        {"Selcall", c[5] + 2, c[6] - 2, TextAlign::Centre},
        {"Label", c[6] + 2, g.width - 2, TextAlign::Left},
    }};
}

}  // namespace tarn
