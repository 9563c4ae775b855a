// printClients on a recording printer: line height 10, every character 10 units wide,
// so "Client name: " is L = 130 and a page of height 600 has 59 lines.
#include "printing/print_clients.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <clocale>
#include <cstring>
#include <map>
#include <tuple>

#include "database/client_database.h"
#include "model/client_record.h"
#include "printing/print_options.h"
#include "printing/print_recorder.h"
#include "settings/memory_settings_backend.h"
#include "support/recording_ui.h"

namespace tarn::test {
namespace {

using Strings = std::vector<std::string>;
using namespace ChannelFlag;

class PrintClients : public ::testing::Test {
  protected:
    struct Channel {
        int number;
        std::uint32_t rx = 37400, tx = 37400;
        int flags = 0;
        const char* label = "";
    };

    int addClient(const std::string& name, const std::vector<Channel>& channels = {}) {
        const int index = db.addClient();
        ClientRecord& c = *db.client(index);
        c.setName(name.c_str());
        c.setOption(ClientOption::Advanced, 0);
        for (int n = 1; n <= kChannelCount; ++n) c.deleteChannel(n);
        for (const Channel& ch : channels) {
            c.setFrequency(ch.number, 0, ch.rx);
            c.setFrequency(ch.number, 1, ch.tx);
            for (int bit : {Usb, Scan, Selcall}) c.setChannelFlag(ch.number, bit, ch.flags & bit);
            c.setLabel(ch.number, ch.label);
        }
        return index;
    }
    static std::vector<Channel> channels(int first, int last) {
        std::vector<Channel> out;
        for (int n = first; n <= last; ++n) out.push_back({n});
        return out;
    }
    void setDealer(const char* text) { std::strcpy(db.dealerText().data(), text); }
    void setLinesPerPage(int lines) { printer.height = (lines + 1) * 10; }
    bool print(bool summary, int index = -1) {
        printer.texts.clear(), printer.events.clear(), printer.pages = 0;
        ui.clear(), ui.log.clear(), ui.updates.clear();
        return printClients(db, owner, summary, "C:\\Fleet\\harbour.tdb", index, options);
    }
    // The one message: an error box over the owner, after the window has gone and the
    // owner is enabled again.
    void expectError(const char* text) {
        ASSERT_EQ(ui.texts(), Strings{text});
        const RecordingUi::Message& m = ui.messages()[0];
        EXPECT_TRUE(m.icon == MessageIcon::Error && m.window == owner);
        EXPECT_FALSE(m.windowOpen || m.ownerDisabled || ui.windowOpen || ui.ownerDisabled);
    }

    RecordingUi ui;
    RecordingPrinter printer;
    ClientDatabase db{false};
    WindowHandle owner = RecordingUi::kOwner;
    PrintOptions options;
    const Strings windowCycle{"dialog Printing owned", "disable owner", "dialog closed",
                              "enable owner", "focus owner"};
};

TEST_F(PrintClients, HeadingIdentityAndDealerLines) {
    ClientRecord& ketch = *db.client(addClient("Ketch Aurora"));
    ketch.setSerial("SN-4471"), ketch.setSelcall("0427");
    db.client(addClient("Trawler Nomad"))->setOption(ClientOption::Advanced, 1);
    ASSERT_TRUE(print(true));

    const Drawn title = printer.at("Tarn database summary");
    EXPECT_EQ(std::tie(title.line, title.left, title.right, title.align),
              std::make_tuple(3, 10, 2000, TextAlign::Centre));
    std::string page = "\n";  // lines 5 to 16, one per line, texts parted by "|"
    for (int n = 5; n <= 16; ++n) {
        for (const std::string& t : printer.line(1, n))
            page += (page.back() == '\n' ? "" : "|") + t;
        page += '\n';
    }
    EXPECT_EQ(page,
              "\nFilename:|C:\\Fleet\\harbour.tdb\nDate:|09:41:07 24/12/2026\n\nClient name:|Ketch "
              "Aurora\nSerial:|SN-4471\nSelcall:|0427\nType:|Standard\n\nClient name:|Trawler "
              "Nomad\nSerial:|0\nSelcall:|1234\nType:|Advanced\n");
    // Labels in 10 .. L + 8, values in L + 10 .. W.
    EXPECT_EQ(std::pair(printer.at("Date:").right, printer.at("09:41:07 24/12/2026").left),
              std::pair(138, 140));
    EXPECT_EQ(std::pair(printer.count("Channel"), printer.pages), std::pair(0, 1));
    printer.dateLine = std::string(600, '9');  // cut to the text buffer, 186 a line
    EXPECT_TRUE(print(true) && printer.line(1, 8) == Strings{std::string(511 - 2 * 186, '9')});
    printer.dateLine = "09:41";

    // The dealer text takes one line per line end.
    setDealer("Harbour Marine\r\nPort Lincoln");
    ASSERT_TRUE(print(false));
    EXPECT_EQ(printer.line(1, 7), (Strings{"Dealer:", "Harbour Marine"}));
    EXPECT_EQ(printer.line(1, 8), (Strings{"Port Lincoln"}));
    EXPECT_EQ(printer.at("Ketch Aurora").line, 10);

    // A bare LF or CR also ends a line; counting only CRs would overlap the client.
    setDealer("one\ntwo\rthree\r\n");
    ASSERT_TRUE(print(false));
    EXPECT_EQ(printer.line(1, 9), (Strings{"three"}));
    EXPECT_EQ(printer.line(1, 10), (Strings{""}));
    EXPECT_EQ(printer.at("Ketch Aurora").line, 12);

    // A value wider than its range goes on over the next lines, broken at a blank.
    printer.width = 600;  // values in 140 .. 600: 46 characters
    setDealer(
        "Harbour Marine Services Pty Ltd, 14 Quay Street, Port Lincoln SA 5606, call "
        "0886 821 234 or 567890");  // 98 characters
    ASSERT_TRUE(print(false));
    EXPECT_EQ(printer.line(1, 8), (Strings{"Street, Port Lincoln SA 5606, call 0886 821"}));
    EXPECT_EQ(printer.line(1, 9), (Strings{"234 or 567890"}));
    EXPECT_EQ(printer.at("Ketch Aurora").line, 11);
}

// Under a decimal-comma locale (Qt sets the user's) when one is installed: the point stays.
TEST_F(PrintClients, ChannelTableColumnsAndRowsWithoutGaps) {
    addClient("Ketch Aurora", {{5, 37400, 299999, Usb | Scan, "Harbour"},
                               {9, 1, 20000, Selcall, ""},
                               {200, 80915, 80915, Usb | Scan | Selcall, "Met"}});
    addClient("Alpha");  // no channels: the headings, then a blank line
    addClient("Bravo");
    const std::string before = std::setlocale(LC_NUMERIC, nullptr);
    if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8")) std::setlocale(LC_NUMERIC, "de_DE.utf8");
    const bool printed = print(false);
    std::setlocale(LC_NUMERIC, before.c_str());
    ASSERT_TRUE(printed);
    EXPECT_EQ(printer.line(1, 13),
              (Strings{"Channel", "Mode", "Rx Freq", "Tx Freq", "Scan", "Selcall", "Label"}));
    EXPECT_EQ(printer.line(1, 14),
              (Strings{"5", "USB", "3740.0", "29999.9", "yes", "no", "Harbour"}));
    EXPECT_EQ(printer.line(1, 15), (Strings{"9", "LSB", "0.1", "2000.0", "no", "yes", ""}));
    EXPECT_EQ(printer.line(1, 16),
              (Strings{"200", "USB", "8091.5", "8091.5", "yes", "yes", "Met"}));

    // Edges from the template widths: c1 = 90 + 14, then + 64, + 94, + 94, + 64, + 94;
    // headings and cells alike (C centre, R right, L left).
    const std::string edges = "12-102C 106-166C 170-260R 264-354R 358-418C 422-512C 516-1998L ";
    for (const int line : {13, 14, 15, 16}) {
        std::string drawn;
        for (const Drawn& d : printer.texts)
            if (d.line == line)
                drawn += std::to_string(d.left) + "-" + std::to_string(d.right) +
                         "LCR"[int(d.align)] + " ";
        EXPECT_EQ(drawn, edges) << line;
    }
    EXPECT_EQ(std::tuple(printer.at("Alpha").line, printer.at("Channel", 1).line,
                         printer.line(1, 24).size(), printer.at("Bravo").line),
              std::tuple(18, 23, 0u, 25));
}

TEST_F(PrintClients, PageBreaksKeepBlocksAndHeadingsOffThePageEnd) {
    for (int i = 0; i < 11; ++i) addClient("Client " + std::to_string(i));
    // Summary blocks start on 8, 13, ..., 53: line 53 fits 59 lines but not 58.
    setLinesPerPage(59);
    ASSERT_TRUE(print(true));
    EXPECT_EQ(printer.at("Client 9").line, 53);
    setLinesPerPage(58);
    ASSERT_TRUE(print(true));
    EXPECT_EQ(std::pair(printer.at("Client 9").page, printer.at("Client 9").line), std::pair(2, 3));
    EXPECT_EQ(printer.events, (Strings{"startDoc Tarn database summary", "startPage", "endPage",
                                       "startPage", "endPage", "endDoc"}));
    EXPECT_EQ(ui.updates.size(), 1u);  // the Printing window repaints at each new page

    // Headings due on line 13 fit 17 lines, not 16.
    setLinesPerPage(17);
    ASSERT_TRUE(print(false, 0));
    EXPECT_EQ(printer.at("Channel").page, 1);
    setLinesPerPage(16);
    ASSERT_TRUE(print(false, 0));
    EXPECT_EQ(std::pair(printer.at("Channel").page, printer.at("Channel").line), std::pair(2, 3));

    // Over many page sizes nothing lands below the last line, and blocks and headings
    // keep their distance from the page end unless they start a page. Labels wrap in a
    // narrow column; no text is wider than its box or drawn over another.
    setDealer("a\r\nb\r\nc");
    for (int i = 0; i < 8; ++i) addClient("C", channels(1, i * 9));
    for (int n = 1; n <= 18; ++n) db.client(14)->setLabel(n, "Coast Guard Port Lincoln VHF");
    printer.width = 600;  // labels in 516 .. 598: 8 characters
    for (int lines = 9; lines <= 70; lines += 3) {
        setLinesPerPage(lines);
        ASSERT_TRUE(print(false));
        EXPECT_EQ(printer.count("Label"), 19);  // once for each client
        EXPECT_EQ(printer.count("Guard"), 18);
        std::map<std::pair<int, int>, std::vector<std::pair<int, int>>> spans;  // page, line
        for (const Drawn& d : printer.texts) {
            const int room = d.text == "Client name:" ? 5 : d.text == "Channel" ? 3 : 0;
            ASSERT_TRUE((d.page == 1 && d.line <= 12) || d.line == 3 || d.line + room < lines)
                << d.text << " " << lines;
            ASSERT_LE(10 * int(d.text.size()), d.right - d.left) << d.text;
            spans[{d.page, d.line}].emplace_back(d.left, d.right);
        }
        for (auto& [at, line] : spans) {
            std::sort(line.begin(), line.end());
            for (std::size_t i = 1; i < line.size(); ++i)
                ASSERT_LE(line[i - 1].second, line[i].first);
        }
    }
}

TEST_F(PrintClients, EveryFailureRow) {
    EXPECT_FALSE(print(false));  // no clients
    expectError("Nothing to print.");
    addClient("Ketch Aurora", {{1}});
    for (int index : {1, -2}) {  // an index naming no client would print a bare heading
        EXPECT_FALSE(print(false, index));
        expectError("Nothing to print.");
    }
    EXPECT_EQ(printer.dialogs, 0);
    EXPECT_TRUE(print(false) && ui.empty());
    EXPECT_EQ(printer.dialogOwner, owner);
    EXPECT_EQ(ui.windowLog(), windowCycle);

    addClient("Trawler Nomad");
    db.client(0)->deleteChannel(1);
    for (int n = 1; n <= 60; ++n) db.client(0)->addChannel();
    const struct {
        int charHeight, leading, height;
        const char *failAt, *message, *lastEvent;
        std::size_t events;  // the document calls made
    } rows[] = {{0, 0, 600, "", "Printer font error.", "", 0},
                {9, 1, 19, "", "Printer page size error.", "", 0},
                {9, 1, 600, "startDoc", "Printer document error.", "startDoc Tarn database", 1},
                {9, 1, 600, "startPage1", "Printer page error.", "endDoc", 3},
                // A later page that fails leaves an incomplete document: a failure.
                {9, 1, 600, "startPage2", "Printer page error.", "abortDoc", 5},
                {9, 1, 600, "endDoc", "Printer document error.", "endDoc", 6}};
    for (const auto& r : rows) {
        SCOPED_TRACE(r.message + std::string(" ") + r.failAt);
        std::tie(printer.charHeight, printer.leading, printer.height, printer.failAt) =
            std::tuple(r.charHeight, r.leading, r.height, r.failAt);
        EXPECT_FALSE(print(false));
        expectError(r.message);
        EXPECT_EQ(printer.events.size(), r.events);
        EXPECT_EQ(printer.events.empty() ? "" : printer.events.back(), r.lastEvent);
        EXPECT_EQ(ui.windowLog(), r.events > 1 ? windowCycle : Strings{});
        EXPECT_EQ(printer.count("Trawler Nomad"), r.events == 6);  // drawn on page 2
    }
}

// The options over one layout: sheet A (10 channels) runs from page 1 onto page 2 with
// 20 lines per page, sheet B follows it there. The recorder counts printed pages only.
TEST_F(PrintClients, NewPageFooterContinuationAndPageRange) {
    addClient("Ketch Aurora", channels(1, 10));
    addClient("Trawler Nomad", {{1}});
    const std::string path = "C:\\Fleet\\harbour.tdb";
    const Strings headings{"Channel", "Mode", "Rx Freq", "Tx Freq", "Scan", "Selcall", "Label"};
    auto row = [](const char* n) { return Strings{n, "LSB", "3740.0", "3740.0", "no", "no", ""}; };
    const Strings continued{"Client name:", "Ketch Aurora (continued)"};
    const Strings clientB{"Client name:", "Trawler Nomad"};
    const struct {
        std::string options;  // "new", "footer"
        int lines, range;     // lines per page; a page range of one page, or 0 for all
        int pages, page, line;
        Strings texts;
    } rows[] = {
        {"", 20, 0, 2, 2, 1, {}},
        {"", 20, 0, 2, 1, 19, row("6")},
        {"", 20, 0, 2, 2, 3, row("7")},  // the table runs on without headings
        {"", 20, 0, 2, 2, 8, clientB},
        {"", 20, 0, 2, 1, 20, {}},
        {"footer", 20, 0, 2, 2, 1, continued},
        {"footer", 20, 0, 2, 2, 2, headings},
        {"footer", 20, 0, 2, 1, 20, {path, "Page 1 of 2"}},
        {"new", 20, 0, 3, 3, 8, clientB},
        {"new footer", 20, 0, 3, 2, 1, continued},
        // A break before the headings: with the footer they go on line 2, rows on line 3.
        {"footer", 16, 0, 3, 2, 1, continued},
        {"footer", 16, 0, 3, 2, 2, headings},
        {"footer", 16, 0, 3, 2, 3, row("1")},
        // A page range prints its pages; with a new page per client each client's pages
        // are numbered on their own.
        {"new footer", 20, 2, 1, 1, 1, continued},
        {"new footer", 20, 2, 1, 1, 20, {path, "Page 2 of 2"}},
        {"new footer", 20, 3, 1, 1, 20, {path, "Page 1 of 1"}},
        {"footer", 20, 2, 1, 1, 20, {path, "Page 2 of 2"}},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(::testing::Message() << "row " << &r - rows);
        options = {r.options.find("new") != std::string::npos,
                   r.options.find("footer") != std::string::npos};
        setLinesPerPage(r.lines);
        printer.fromPage = printer.toPage = r.range;
        ASSERT_TRUE(print(false));
        EXPECT_EQ(printer.pages, r.pages);
        EXPECT_EQ(printer.line(r.page, r.line), r.texts);
    }
    // The page number, in the width of "Page 8888 of 8888", ends where the table does;
    // the path gets the room before it.
    options = {false, true};
    setLinesPerPage(59);
    printer.fromPage = printer.toPage = 0;
    ASSERT_TRUE(print(false));
    const Drawn page = printer.at("Page 1 of 1"), file = printer.at(path);
    EXPECT_EQ(std::tie(page.left, page.right, page.align),
              std::make_tuple(1828, 1998, TextAlign::Right));
    EXPECT_EQ(std::tie(file.left, file.right, file.line), std::make_tuple(10, 1818, 59));
}

// A chosen list prints those clients in database order; each client into its own PDF is a
// document per client, named after it, replacing files only when allowed.
TEST_F(PrintClients, ChosenClientsAndEachIntoItsOwnFile) {
    for (const char* name : {"Ketch", "Trawler", "Ketch", "Cat/Sloop"}) addClient(name, {{1}});
    PrintJob job{false, "harbour.tdb", -1, options, {3, 0}};
    ASSERT_TRUE(printJob(db, owner, job));
    EXPECT_EQ(printer.count("Client name:"), 2);
    EXPECT_LT(printer.at("Ketch").page * 100 + printer.at("Ketch").line,
              printer.at("Cat/Sloop").page * 100 + printer.at("Cat/Sloop").line);
    job.clients = {7};
    EXPECT_FALSE(printJob(db, owner, job)) << "a list of no client prints nothing";

    job.clients = {0, 1, 2, 3};
    const std::filesystem::path folder = "/out";
    EXPECT_EQ(eachClientFiles(db, job, folder),
              (std::vector<std::filesystem::path>{"/out/Ketch.pdf", "/out/Trawler.pdf",
                                                  "/out/Ketch (2).pdf", "/out/Cat_Sloop.pdf"}));
    std::vector<std::filesystem::path> made;
    printer.texts.clear();
    const auto pdf = [&](const std::filesystem::path& path) {
        made.push_back(path);
        return printer.choosePrinter(nullptr);
    };
    job.options.pageFooter = true;
    EXPECT_EQ(printEachToPdf(db, owner, job, folder, pdf, [](int) { return false; }), 4);
    EXPECT_EQ(made.size(), 4u);
    EXPECT_EQ(printer.count("Page 1 of 1"), 4);
    EXPECT_EQ(printer.count("Tarn database"), 4) << "each file has its own heading";
    printer.failAt = "startDoc";
    EXPECT_EQ(printEachToPdf(db, owner, job, folder, pdf, [](int) { return true; }), -1);
    EXPECT_EQ(ui.texts().back(),
              "The file '/out/Ketch.pdf' could not be written.\nPrinter document error.");
}

TEST(PrintOptionsStore, BothOptionsRoundTripThroughTheSettings) {
    MemorySettingsBackend values;
    ScopedServices scope;
    scope->settings = &values;
    for (const auto& [newPage, footer] : {std::pair{true, false}, {false, true}}) {
        storePrintOptions({newPage, footer});
        const PrintOptions stored = storedPrintOptions();
        EXPECT_EQ(std::pair(stored.newPagePerClient, stored.pageFooter),
                  std::pair(newPage, footer));
    }
}

}  // namespace
}  // namespace tarn::test
