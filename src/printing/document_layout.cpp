#include "printing/document_layout.h"

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

// Draws on the line grid and keeps the current line; once a page break fails it draws
// nothing more.
class DocumentWriter {
  public:
    DocumentWriter(PrintSurface& surface, const PageGeometry& geometry,
                   const std::function<void()>& newPage)
        : surface_(surface), g_(geometry), newPage_(newPage) {}

    bool ok() const { return ok_; }

    void heading(bool summary, const std::filesystem::path& fileName, const std::string& dealer) {
        surface_.drawText(g_.line(3, 10, g_.width), documentName(summary), TextAlign::Centre);
        line_ = 5;
        drawLabel("Filename:");
        surface_.drawPath(valueRect(), fileName, TextAlign::Left);
        ++line_;
        std::string date = surface_.localTimeAndDate();
        if (date.size() > kTextBuffer - 1) date.resize(kTextBuffer - 1);
        labelLine("Date:", date);
        const std::vector<std::string> lines = dealerLines(dealer);
        if (!lines.empty()) {
            drawLabel("Dealer:");
            for (const std::string& text : lines) {
                surface_.drawText(valueRect(), text, TextAlign::Left);
                ++line_;
            }
        }
        ++line_;  // a blank line before the first client
    }

    void client(const ClientRecord& client, bool summary) {
        breakPageWhen(line_ + 5 >= g_.linesPerPage);
        if (!ok_) return;
        labelLine("Client name:", fetch(client, &ClientRecord::getName));
        labelLine("Serial:", fetch(client, &ClientRecord::getSerial));
        labelLine("Selcall:", fetch(client, &ClientRecord::getSelcall));
        labelLine("Type:", client.getOption(ClientOption::Advanced) ? "Advanced" : "Standard");
        ++line_;
        if (summary) return;

        breakPageWhen(line_ + 3 >= g_.linesPerPage);
        if (!ok_) return;
        const auto columns = tableColumns(g_);
        for (const TableColumn& column : columns) drawCell(column, column.heading);
        ++line_;
        for (int n = 1; n <= kChannelCount && ok_; ++n) {
            if (client.isChannelFree(n)) continue;
            breakPageWhen(line_ >= g_.linesPerPage);  // the headings are not repeated
            if (!ok_) return;
            channelRow(columns, client, n);
            ++line_;
        }
        ++line_;
    }

  private:
    void breakPageWhen(bool needed) {
        if (!needed || !ok_) return;
        ok_ = surface_.endPage() && surface_.startPage();
        line_ = kTopLine;
        if (ok_) newPage_();
    }

    PrintRect valueRect() const { return g_.line(line_, g_.labelWidth + 10, g_.width); }

    void drawLabel(const char* label) {
        surface_.drawText(g_.line(line_, 10, g_.labelWidth + 8), label, TextAlign::Left);
    }

    void labelLine(const char* label, const std::string& value) {
        drawLabel(label);
        surface_.drawText(valueRect(), value, TextAlign::Left);
        ++line_;
    }

    void drawCell(const TableColumn& column, const std::string& text) {
        surface_.drawText(g_.line(line_, column.left, column.right), text, column.align);
    }

    void channelRow(const std::array<TableColumn, kTableColumns>& columns,
                    const ClientRecord& client, int n) {
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

    PrintSurface& surface_;
    const PageGeometry& g_;
    const std::function<void()>& newPage_;
    int line_ = kTopLine;
    bool ok_ = true;
};

}  // namespace

const char* documentName(bool summary) {
    return summary ? "Tarn database summary" : "Tarn database";
}

bool layOutDocument(PrintSurface& surface, const PageGeometry& geometry, const ClientDatabase& db,
                    bool summary, const std::filesystem::path& fileName, int clientIndex,
                    const std::function<void()>& newPage) {
    DocumentWriter writer(surface, geometry, newPage);
    writer.heading(summary, fileName, db.dealerString());
    for (int i = 0; i < db.clientCount() && writer.ok(); ++i) {
        if (clientIndex != -1 && clientIndex != i) continue;
        writer.client(*db.client(i), summary);
    }
    return writer.ok();
}

}  // namespace tarn
