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

using Columns = std::array<TableColumn, kTableColumns>;

// Places texts on the line grid and keeps the current page and line.
class DocumentWriter {
  public:
    DocumentWriter(PageTarget& target, const PageGeometry& geometry, const PrintJob& job,
                   const std::string& date, int pageCount)
        : target_(target), g_(geometry), job_(job), date_(date), pageCount_(pageCount) {}

    int pages() const { return page_; }

    void heading(const std::string& dealer) {
        if (page_ == 0) breakPage();
        target_.drawText(g_.line(3, 10, g_.width), documentName(job_.summary), TextAlign::Centre);
        line_ = 5;
        drawLabel("Filename:");
        target_.drawPath(valueRect(), job_.fileName, TextAlign::Left);
        ++line_;
        std::string date = date_;
        if (date.size() > kTextBuffer - 1) date.resize(kTextBuffer - 1);
        labelLine("Date:", date);
        const std::vector<std::string> lines = dealerLines(dealer);
        if (!lines.empty()) {
            drawLabel("Dealer:");
            for (const std::string& text : lines) drawValue(text);
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
        const std::string name = fetch(client, &ClientRecord::getName);
        const std::pair<const char*, std::string> identity[] = {
            {"Client name:", name},
            {"Serial:", fetch(client, &ClientRecord::getSerial)},
            {"Selcall:", fetch(client, &ClientRecord::getSelcall)},
            {"Type:", client.getOption(ClientOption::Advanced) ? "Advanced" : "Standard"}};
        // The block and a blank line stay together (five lines unless a value wraps).
        int lines = 0;
        for (const auto& [label, value] : identity)
            lines += static_cast<int>(valueLines(value).size());
        if (line_ + lines + 1 >= g_.linesPerPage) breakPage();
        for (const auto& [label, value] : identity) labelLine(label, value);
        ++line_;
        if (!sheet) return;

        const auto columns = tableColumns(g_);
        const bool headingsDrawn = line_ + 3 >= g_.linesPerPage && continueTable(name, columns);
        if (!headingsDrawn) headings(columns);
        for (int n = 1; n <= kChannelCount; ++n) {
            if (client.isChannelFree(n)) continue;
            // A row whose label wraps stays on one page.
            const std::vector<std::string> label =
                fitToWidth(fetchLabel(client, n), columns[6].right - columns[6].left, g_.textWidth);
            if (line_ + static_cast<int>(label.size()) - 1 >= g_.linesPerPage)
                continueTable(name, columns);
            channelRow(columns, client, n, label);
        }
        ++line_;
    }

  private:
    void breakPage() {
        target_.beginPage(++page_);
        line_ = kTopLine;
        if (job_.options.pageFooter && pageCount_ > 0) footer();
    }

    // "Page n of m" at the right end of the last line, the file name before it.
    void footer() {
        const int last = g_.linesPerPage, split = g_.width - 2 - g_.pageNumberWidth;
        target_.drawPath(g_.line(last, 10, split - 10), job_.fileName, TextAlign::Left);
        const std::string text =
            "Page " + std::to_string(page_) + " of " + std::to_string(pageCount_);
        target_.drawText(g_.line(last, split, g_.width - 2), text, TextAlign::Right);
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

    std::vector<std::string> valueLines(const std::string& value) const {
        return fitToWidth(value, g_.width - g_.labelWidth - 10, g_.textWidth);
    }

    void drawLabel(const char* label) {
        target_.drawText(g_.line(line_, 10, g_.labelWidth + 8), label, TextAlign::Left);
    }

    // A value on the current line and, when it is wider than the value range, the lines
    // below; one that reaches the page end goes on at the top of the next page.
    void drawValue(const std::string& value) {
        const std::vector<std::string> lines = valueLines(value);
        for (std::size_t i = 0; i < lines.size(); ++i) {
            if (i > 0 && line_ >= g_.linesPerPage) breakPage();
            target_.drawText(valueRect(), lines[i], TextAlign::Left);
            ++line_;
        }
    }

    void labelLine(const char* label, const std::string& value) {
        drawLabel(label);
        drawValue(value);
    }

    void drawCell(const TableColumn& column, const std::string& text) {
        target_.drawText(g_.line(line_, column.left, column.right), text, column.align);
    }

    void headings(const Columns& columns) {
        for (const TableColumn& column : columns) drawCell(column, column.heading);
        ++line_;
    }

    // One row; its label on as many lines as it needs.
    void channelRow(const Columns& columns, const ClientRecord& client, int n,
                    const std::vector<std::string>& label) {
        const bool usb = client.getChannelFlag(n, ChannelFlag::Usb) != 0;
        const bool scan = client.getChannelFlag(n, ChannelFlag::Scan) != 0;
        const bool selcall = client.getChannelFlag(n, ChannelFlag::Selcall) != 0;
        drawCell(columns[0], std::to_string(n));
        drawCell(columns[1], usb ? "USB" : "LSB");
        drawCell(columns[2], formatKhz(client.getFrequency(n, 0)));
        drawCell(columns[3], formatKhz(client.getFrequency(n, 1)));
        drawCell(columns[4], scan ? "yes" : "no");
        drawCell(columns[5], selcall ? "yes" : "no");
        for (const std::string& text : label) {
            drawCell(columns[6], text);
            ++line_;
        }
    }

    PageTarget& target_;
    const PageGeometry& g_;
    const PrintJob& job_;
    const std::string& date_;
    const int pageCount_;
    int page_ = 0;
    int line_ = kTopLine;
    int clients_ = 0;  // client blocks laid out so far
};

// The counting pass draws nothing.
class PageCounter final : public PageTarget {
  public:
    void beginPage(int) override {}
    void drawText(const PrintRect&, std::string_view, TextAlign) override {}
    void drawPath(const PrintRect&, const std::filesystem::path&, TextAlign) override {}
};

}  // namespace

const char* documentName(bool summary) {
    return summary ? "Tarn database summary" : "Tarn database";
}

int layOutDocument(PageTarget& target, const PageGeometry& geometry, const ClientDatabase& db,
                   const PrintJob& job, const std::string& date, int pageCount) {
    DocumentWriter writer(target, geometry, job, date, pageCount);
    const std::string dealer = db.dealerString();
    writer.heading(dealer);
    for (int i = 0; i < db.clientCount(); ++i) {
        if (job.clientIndex == -1 || job.clientIndex == i) writer.client(*db.client(i), dealer);
    }
    return writer.pages();
}

int countPages(const PageGeometry& geometry, const ClientDatabase& db, const PrintJob& job) {
    PageCounter counter;
    return layOutDocument(counter, geometry, db, job, {}, 0);
}

}  // namespace tarn
