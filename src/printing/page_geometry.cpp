#include "printing/page_geometry.h"

namespace tarn {

PageGeometry measurePage(const PrintSurface& surface) {
    PageGeometry g;
    g.lineHeight = surface.charHeight() + surface.externalLeading();
    if (g.lineHeight < 1) return g;
    g.linesPerPage = surface.printableHeight() / g.lineHeight - 1;
    g.width = surface.printableWidth();
    g.textWidth = [&surface](std::string_view text) { return surface.textWidth(text); };
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

std::vector<std::string> fitToWidth(std::string_view text, int width,
                                    const std::function<int(std::string_view)>& textWidth) {
    std::vector<std::string> lines;
    while (text.size() > 1 && textWidth(text) > width) {
        // The longest start that fits, one character at least (widths grow with length).
        std::size_t low = 1, high = text.size() - 1;
        while (low < high) {
            const std::size_t mid = (low + high + 1) / 2;
            if (textWidth(text.substr(0, mid)) <= width)
                low = mid;
            else
                high = mid - 1;
        }
        std::size_t end = low;
        if (text[end] != ' ') {
            const std::size_t blank = text.substr(0, end).find_last_of(' ');
            if (blank != std::string_view::npos && blank > 0) end = blank;
        }
        std::size_t next = end;
        while (next < text.size() && text[next] == ' ') ++next;
        while (end > 1 && text[end - 1] == ' ') --end;
        lines.emplace_back(text.substr(0, end));
        text.remove_prefix(next);
    }
    if (!text.empty() || lines.empty()) lines.emplace_back(text);
    return lines;
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
