#include "printing/document_layout.h"

#include <algorithm>
#include <array>
#include <vector>

#include "database/client_database.h"
#include "model/client_record.h"
#include "model/khz_text.h"

namespace tarn {
namespace {

constexpr int kTextBuffer = 512;  // every text value is fetched into a buffer this size
constexpr int kTopLine = 3;       // the first line used on every page

// A text getter of the record, as in getName(buffer, capacity).
using RecordText = int (ClientRecord::*)(char*, int) const;

std::string fetch(const ClientRecord& client, RecordText get) {
    char buffer[kTextBuffer] = {};
    (client.*get)(buffer, kTextBuffer);
    buffer[kTextBuffer - 1] = '\0';
    return buffer;
}

std::string fetchLabel(const ClientRecord& client, int channel) {
    char buffer[kTextBuffer] = {};
    client.getLabel(channel, buffer, kTextBuffer);
    buffer[kTextBuffer - 1] = '\0';
    return buffer;
}

// The dealer text's lines as a multi-line drawing breaks them: at CR LF, a lone CR or a
// lone LF (never inside a line). An empty text has no lines.
std::vector<std::string> dealerLines(const std::string& text) {
    std::vector<std::string> lines;
    if (text.empty()) return lines;
    std::string current;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c != '\r' && c != '\n') {
            current += c;
            continue;
        }
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        lines.push_back(std::move(current));
        current.clear();
    }
    lines.push_back(std::move(current));
    return lines;
}

using Columns = std::array<TableColumn, kTableColumns>;

// Places texts on the line grid, page by page, and keeps the current line.
class DocumentWriter {
  public:
    DocumentWriter(const PrintSurface& surface, const PageGeometry& geometry, const PrintJob& job)
        : surface_(surface), g_(geometry), job_(job), pages_(1) {}

    void heading(const std::string& dealer) {
        put(g_.line(3, 10, g_.width), documentName(job_.summary), TextAlign::Centre);
        line_ = 5;
        drawLabel("Filename:");
        pages_.back().push_back({valueRect(), {}, TextAlign::Left, job_.fileName});
        ++line_;
        std::string date = surface_.localTimeAndDate();
        if (date.size() > kTextBuffer - 1) date.resize(kTextBuffer - 1);
        labelLine("Date:", date);
        const std::vector<std::string> lines = dealerLines(dealer);
        if (!lines.empty()) {
            drawLabel("Dealer:");
            for (const std::string& text : lines) {
                put(valueRect(), text, TextAlign::Left);
                ++line_;
            }
        }
        ++line_;  // a blank line before the first client
    }

    void client(const ClientRecord& client, const std::string& dealer) {
        const bool sheet = !job_.summary;
        if (sheet && job_.options.newPagePerClient && clients_ > 0) {
            breakPage();
            heading(dealer);
        }
        ++clients_;
        if (line_ + 5 >= g_.linesPerPage) breakPage();
        const std::string name = fetch(client, &ClientRecord::getName);
        labelLine("Client name:", name);
        labelLine("Serial:", fetch(client, &ClientRecord::getSerial));
        labelLine("Selcall:", fetch(client, &ClientRecord::getSelcall));
        labelLine("Type:", client.getOption(ClientOption::Advanced) ? "Advanced" : "Standard");
        ++line_;
        if (!sheet) return;

        const auto columns = tableColumns(g_);
        const bool headingsDrawn = line_ + 3 >= g_.linesPerPage && continueTable(name, columns);
        if (!headingsDrawn) headings(columns);
        for (int n = 1; n <= kChannelCount; ++n) {
            if (client.isChannelFree(n)) continue;
            if (line_ >= g_.linesPerPage) continueTable(name, columns);
            channelRow(columns, client, n);
            ++line_;
        }
        ++line_;
    }

    // "Page n of m" at the right end of the last line, the file name before it.
    std::vector<LaidOutPage> finish() {
        if (!job_.options.pageFooter) return std::move(pages_);
        const int count = static_cast<int>(pages_.size());
        for (int n = 1; n <= count; ++n) {
            const std::string text = "Page " + std::to_string(n) + " of " + std::to_string(count);
            const int pageLeft = std::max(10, g_.width - 2 - surface_.textWidth(text));
            LaidOutPage& page = pages_[static_cast<std::size_t>(n - 1)];
            page.push_back(
                {g_.line(g_.linesPerPage, 10, pageLeft - 10), {}, TextAlign::Left, job_.fileName});
            page.push_back(
                {g_.line(g_.linesPerPage, pageLeft, g_.width - 2), text, TextAlign::Right, {}});
        }
        return std::move(pages_);
    }

  private:
    void put(const PrintRect& rect, std::string text, TextAlign align) {
        pages_.back().push_back({rect, std::move(text), align, std::nullopt});
    }

    void breakPage() {
        pages_.emplace_back();
        line_ = kTopLine;
    }

    // A client's table goes on over a page break. Without the footer the rows simply
    // go on at the top line; with it, line 1 names the client and line 2 repeats the
    // headings. True when the headings were drawn.
    bool continueTable(const std::string& name, const Columns& columns) {
        breakPage();
        if (!job_.options.pageFooter) return false;
        line_ = 1;
        labelLine("Client name:", name + " (continued)");
        headings(columns);
        return true;
    }

    PrintRect valueRect() const { return g_.line(line_, g_.labelWidth + 10, g_.width); }

    void drawLabel(const char* label) {
        put(g_.line(line_, 10, g_.labelWidth + 8), label, TextAlign::Left);
    }

    void labelLine(const char* label, const std::string& value) {
        drawLabel(label);
        put(valueRect(), value, TextAlign::Left);
        ++line_;
    }

    void drawCell(const TableColumn& column, const std::string& text) {
        put(g_.line(line_, column.left, column.right), text, column.align);
    }

    void headings(const Columns& columns) {
        for (const TableColumn& column : columns) drawCell(column, column.heading);
        ++line_;
    }

    void channelRow(const Columns& columns, const ClientRecord& client, int n) {
        const bool usb = client.getChannelFlag(n, ChannelFlag::Usb) != 0;
        const bool scan = client.getChannelFlag(n, ChannelFlag::Scan) != 0;
        const bool selcall = client.getChannelFlag(n, ChannelFlag::Selcall) != 0;
        drawCell(columns[0], std::to_string(n));
        drawCell(columns[1], usb ? "USB" : "LSB");
        drawCell(columns[2], formatKhz(client.getFrequency(n, 0)));
        drawCell(columns[3], formatKhz(client.getFrequency(n, 1)));
        drawCell(columns[4], scan ? "yes" : "no");
        drawCell(columns[5], selcall ? "yes" : "no");
        drawCell(columns[6], fetchLabel(client, n));
    }

    const PrintSurface& surface_;
    const PageGeometry& g_;
    const PrintJob& job_;
    std::vector<LaidOutPage> pages_;
    int line_ = kTopLine;
    int clients_ = 0;  // client blocks laid out so far
};

}  // namespace

const char* documentName(bool summary) {
    return summary ? "Tarn database summary" : "Tarn database";
}

std::vector<LaidOutPage> layOutDocument(const PrintSurface& surface, const PageGeometry& geometry,
                                        const ClientDatabase& db, const PrintJob& job) {
    DocumentWriter writer(surface, geometry, job);
    const std::string dealer = db.dealerString();
    writer.heading(dealer);
    for (int i = 0; i < db.clientCount(); ++i) {
        if (job.clientIndex == -1 || job.clientIndex == i) writer.client(*db.client(i), dealer);
    }
    return writer.finish();
}

void drawPage(PrintSurface& surface, const LaidOutPage& page) {
    for (const PlacedText& placed : page) {
        if (placed.path)
            surface.drawPath(placed.rect, *placed.path, placed.align);
        else
            surface.drawText(placed.rect, placed.text, placed.align);
    }
}

}  // namespace tarn
