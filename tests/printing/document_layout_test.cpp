// The printed page layout: heading, identity lines, channel table and page breaks, on a
// recording surface with line height 10 and every character 10 units wide.
#include "printing/document_layout.h"

#include "printing/print_fixture.h"

namespace tarn::test {
namespace {

using Strings = std::vector<std::string>;

class DocumentLayout : public PrintFixture {};

TEST_F(DocumentLayout, HeadingWithoutDealerTextPutsTheFirstClientOnLine8) {
    addClient("Ketch Aurora");
    ASSERT_TRUE(print(false));

    const DrawnText title = backend.log.at("Tarn database");
    EXPECT_EQ(title.page, 1);
    EXPECT_EQ(title.line, 3);
    EXPECT_EQ(title.rect.left, 10);
    EXPECT_EQ(title.rect.right, 2000);
    EXPECT_EQ(title.align, TextAlign::Centre);

    EXPECT_EQ(backend.log.lineTexts(1, 5), (Strings{"Filename:", "C:\\Fleet\\harbour.tdb"}));
    EXPECT_EQ(backend.log.lineTexts(1, 6), (Strings{"Date:", "09:41 24/12/2026"}));
    EXPECT_TRUE(backend.log.lineTexts(1, 7).empty());
    EXPECT_EQ(backend.log.count("Dealer:"), 0);
    EXPECT_EQ(backend.log.lineTexts(1, 8), (Strings{"Client name:", "Ketch Aurora"}));

    // Label column 10 .. L + 8 and value column L + 10 .. W, with L = width of "Client name: ".
    const DrawnText label = backend.log.at("Filename:");
    EXPECT_EQ(label.rect.left, 10);
    EXPECT_EQ(label.rect.right, 138);
    const DrawnText value = backend.log.at("C:\\Fleet\\harbour.tdb");
    EXPECT_EQ(value.rect.left, 140);
    EXPECT_EQ(value.rect.right, 2000);
    EXPECT_EQ(value.align, TextAlign::Left);
}

TEST_F(DocumentLayout, TwoLineDealerTextTakesLines7And8AndMovesTheFirstClientTo10) {
    setDealer("Harbour Marine\r\nPort Lincoln");
    addClient("Ketch Aurora");
    ASSERT_TRUE(print(true));

    EXPECT_EQ(backend.log.at("Tarn database summary").line, 3);
    EXPECT_EQ(backend.log.lineTexts(1, 7), (Strings{"Dealer:", "Harbour Marine"}));
    EXPECT_EQ(backend.log.lineTexts(1, 8), (Strings{"Port Lincoln"}));
    EXPECT_EQ(backend.log.at("Port Lincoln").rect.left, 140);
    EXPECT_TRUE(backend.log.lineTexts(1, 9).empty());
    EXPECT_EQ(backend.log.lineTexts(1, 10), (Strings{"Client name:", "Ketch Aurora"}));
}

TEST_F(DocumentLayout, DealerLinesBreakAtEveryKindOfLineEndSoNothingOverlaps) {
    // A text from a file may end its lines with a bare LF or CR; each still takes a line.
    setDealer("one\ntwo\rthree\r\n");
    addClient("Ketch Aurora");
    ASSERT_TRUE(print(true));

    EXPECT_EQ(backend.log.lineTexts(1, 7), (Strings{"Dealer:", "one"}));
    EXPECT_EQ(backend.log.lineTexts(1, 8), (Strings{"two"}));
    EXPECT_EQ(backend.log.lineTexts(1, 9), (Strings{"three"}));
    EXPECT_EQ(backend.log.lineTexts(1, 10), (Strings{""}));  // the empty last line
    EXPECT_EQ(backend.log.at("Client name:").line, 12);

    EXPECT_EQ(dealerLines(""), Strings{});
    EXPECT_EQ(dealerLines("a\r\n\r\nb"), (Strings{"a", "", "b"}));
}

TEST_F(DocumentLayout, IdentityLinesShowNameSerialSelcallAndType) {
    const int standard = addClient("Ketch Aurora");
    db.client(standard)->setSerial("SN-4471");
    db.client(standard)->setSelcall("0427");
    db.client(standard)->setOption(ClientOption::Advanced, 0);
    const int advanced = addClient("Trawler Nomad");
    db.client(advanced)->setOption(ClientOption::Advanced, 1);
    ASSERT_TRUE(print(true));

    EXPECT_EQ(backend.log.lineTexts(1, 8), (Strings{"Client name:", "Ketch Aurora"}));
    EXPECT_EQ(backend.log.lineTexts(1, 9), (Strings{"Serial:", "SN-4471"}));
    EXPECT_EQ(backend.log.lineTexts(1, 10), (Strings{"Selcall:", "0427"}));
    EXPECT_EQ(backend.log.lineTexts(1, 11), (Strings{"Type:", "Standard"}));
    // Summary: one blank line, then the next client.
    EXPECT_TRUE(backend.log.lineTexts(1, 12).empty());
    EXPECT_EQ(backend.log.lineTexts(1, 13), (Strings{"Client name:", "Trawler Nomad"}));
    EXPECT_EQ(backend.log.lineTexts(1, 16), (Strings{"Type:", "Advanced"}));
    EXPECT_EQ(backend.log.count("Channel"), 0);
}

TEST_F(DocumentLayout, TableColumnsFollowTheTemplateWidths) {
    addClient("Ketch Aurora", {{5}});
    ASSERT_TRUE(print(false));

    // c1 = 90 + 14, c2 = c1 + 60 + 4, c3 = c2 + 90 + 4, c4 = c3 + 94, c5 = c4 + 64, c6 = c5 + 94.
    struct Expected {
        const char* heading;
        int left, right;
        TextAlign align;
    };
    const Expected columns[] = {
        {"Channel", 12, 102, TextAlign::Centre}, {"Mode", 106, 166, TextAlign::Centre},
        {"Rx Freq", 170, 260, TextAlign::Right}, {"Tx Freq", 264, 354, TextAlign::Right},
        {"Scan", 358, 418, TextAlign::Centre},   {"Selcall", 422, 512, TextAlign::Centre},
        {"Label", 516, 1998, TextAlign::Left},
    };
    for (const Expected& e : columns) {
        SCOPED_TRACE(e.heading);
        const DrawnText heading = backend.log.at(e.heading);
        EXPECT_EQ(heading.line, 13);
        EXPECT_EQ(heading.rect.left, e.left);
        EXPECT_EQ(heading.rect.right, e.right);
        EXPECT_EQ(heading.align, e.align);
    }
    // The cells of a row share their column's range and alignment.
    const DrawnText number = backend.log.at("5");
    EXPECT_EQ(number.line, 14);
    EXPECT_EQ(number.rect.left, 12);
    EXPECT_EQ(number.align, TextAlign::Centre);
    const DrawnText rx = backend.log.at("3740.0");
    EXPECT_EQ(rx.rect.left, 170);
    EXPECT_EQ(rx.align, TextAlign::Right);
}

TEST_F(DocumentLayout, RowsShowSidebandFrequenciesFlagsAndLabel) {
    using namespace ChannelFlag;
    addClient("Ketch Aurora", {{5, 37400, 299999, Usb | Scan, "Harbour"},
                               {9, 1, 20000, Selcall | Alarm, ""},
                               {17, 80915, 80915, TxEqualsRx | Usb | Scan | Selcall, "Met"}});
    ASSERT_TRUE(print(false));

    EXPECT_EQ(backend.log.lineTexts(1, 14),
              (Strings{"5", "USB", "3740.0", "29999.9", "yes", "no", "Harbour"}));
    EXPECT_EQ(backend.log.lineTexts(1, 15),
              (Strings{"9", "LSB", "0.1", "2000.0", "no", "yes", ""}));
    EXPECT_EQ(backend.log.lineTexts(1, 16),
              (Strings{"17", "USB", "8091.5", "8091.5", "yes", "yes", "Met"}));
}

TEST_F(DocumentLayout, FreeChannelsLeaveNoGap) {
    addClient("Ketch Aurora", {{3}, {200}, {255}});
    ASSERT_TRUE(print(false));

    EXPECT_EQ(backend.log.at("3").line, 14);
    EXPECT_EQ(backend.log.at("200").line, 15);
    EXPECT_EQ(backend.log.at("255").line, 16);
    EXPECT_EQ(backend.log.lastLine(1), 16);
}

TEST_F(DocumentLayout, ClientWithoutChannelsPrintsIdentityBlankAndHeadingsOnly) {
    addClient("Ketch Aurora");
    addClient("Trawler Nomad", {{1}});
    ASSERT_TRUE(print(false));

    EXPECT_EQ(backend.log.at("Client name:").line, 8);
    EXPECT_EQ(backend.log.at("Type:").line, 11);
    EXPECT_TRUE(backend.log.lineTexts(1, 12).empty());
    EXPECT_EQ(backend.log.lineTexts(1, 13),
              (Strings{"Channel", "Mode", "Rx Freq", "Tx Freq", "Scan", "Selcall", "Label"}));
    EXPECT_TRUE(backend.log.lineTexts(1, 14).empty());  // the blank after an empty table
    EXPECT_EQ(backend.log.lineTexts(1, 15), (Strings{"Client name:", "Trawler Nomad"}));
    // The second client: headings on 20, its one row on 21, nothing after.
    EXPECT_EQ(backend.log.at("Channel", 1).line, 20);
    EXPECT_EQ(backend.log.lastLine(1), 21);
}

TEST_F(DocumentLayout, IndexMinusOnePrintsEveryClientInOrderAnotherIndexExactlyOne) {
    addClient("Alpha", {{1}, {2}});
    addClient("Bravo", {{4}});
    addClient("Charlie", {{7}, {8}, {9}});

    ASSERT_TRUE(print(false, -1));
    EXPECT_EQ(backend.log.count("Client name:"), 3);
    EXPECT_LT(backend.log.at("Alpha").line, backend.log.at("Bravo").line);
    EXPECT_LT(backend.log.at("Bravo").line, backend.log.at("Charlie").line);
    EXPECT_EQ(backend.log.count("Channel"), 3);

    backend.log = {};
    ASSERT_TRUE(print(false, 1));
    EXPECT_EQ(backend.log.count("Client name:"), 1);
    EXPECT_EQ(backend.log.lineTexts(1, 8), (Strings{"Client name:", "Bravo"}));
    EXPECT_EQ(backend.log.count("Channel"), 1);
    EXPECT_EQ(backend.log.lineTexts(1, 14)[0], "4");
    EXPECT_EQ(backend.log.lastLine(1), 14);

    // The last client alone still gets the whole first-page heading.
    backend.log = {};
    ASSERT_TRUE(print(false, 2));
    EXPECT_EQ(backend.log.count("Client name:"), 1);
    EXPECT_EQ(backend.log.at("Tarn database").line, 3);
    EXPECT_EQ(backend.log.at("Filename:").line, 5);
    EXPECT_EQ(backend.log.at("Date:").line, 6);
    EXPECT_EQ(backend.log.lineTexts(1, 8), (Strings{"Client name:", "Charlie"}));
    EXPECT_EQ(backend.log.pages, 1);

    backend.log = {};
    ASSERT_TRUE(print(true, 0));
    EXPECT_EQ(backend.log.count("Client name:"), 1);
    EXPECT_EQ(backend.log.count("Channel"), 0);
}

// Summary blocks take five lines and start on 8, 13, ..., 53, 58.
TEST_F(DocumentLayout, ClientBlockIsNeverStartedOnTheLastFiveLines) {
    for (int i = 0; i < 11; ++i) addClient(("Client " + std::to_string(i)).c_str());

    setLinesPerPage(59);  // line 53 is the sixth line from the end: the tenth client stays
    ASSERT_TRUE(print(true));
    EXPECT_EQ(backend.log.at("Client 9").page, 1);
    EXPECT_EQ(backend.log.at("Client 9").line, 53);
    EXPECT_EQ(backend.log.at("Client 10").page, 2);
    EXPECT_EQ(backend.log.at("Client 10").line, 3);

    backend.log = {};
    setLinesPerPage(58);  // now 53 is among the last five: it moves to line 3 of page 2
    ASSERT_TRUE(print(true));
    EXPECT_EQ(backend.log.at("Client 8").page, 1);
    EXPECT_EQ(backend.log.at("Client 9").page, 2);
    EXPECT_EQ(backend.log.at("Client 9").line, 3);
    EXPECT_EQ(backend.log.at("Client 10").line, 8);
    EXPECT_EQ(backend.log.events, (Strings{"startDoc Tarn database summary", "startPage", "endPage",
                                           "startPage", "endPage", "endDoc"}));
}

TEST_F(DocumentLayout, TableHeadingIsNeverDrawnOnTheLastThreeLines) {
    addClient("Ketch Aurora", {{1}});  // identity 8..11, headings due on 13

    setLinesPerPage(17);
    ASSERT_TRUE(print(false));
    EXPECT_EQ(backend.log.at("Channel").page, 1);
    EXPECT_EQ(backend.log.at("Channel").line, 13);

    backend.log = {};
    setLinesPerPage(16);
    ASSERT_TRUE(print(false));
    EXPECT_EQ(backend.log.at("Type:").page, 1);
    EXPECT_EQ(backend.log.at("Channel").page, 2);
    EXPECT_EQ(backend.log.at("Channel").line, 3);
    EXPECT_EQ(backend.log.lineTexts(2, 4)[0], "1");
}

TEST_F(DocumentLayout, TableRunningOverAPageContinuesOnLine3WithoutHeadings) {
    addClient("Ketch Aurora", channelRange(1, 10));
    addClient("Trawler Nomad", {{1}});
    setLinesPerPage(20);  // rows on 14..19, then the next page
    ASSERT_TRUE(print(false));

    EXPECT_EQ(backend.log.at("6").page, 1);
    EXPECT_EQ(backend.log.at("6").line, 19);
    EXPECT_EQ(backend.log.at("7").page, 2);
    EXPECT_EQ(backend.log.at("7").line, 3);
    EXPECT_EQ(backend.log.at("10").line, 6);
    EXPECT_EQ(backend.log.count("Rx Freq"), 2);  // once per client, never repeated
    EXPECT_EQ(backend.log.at("Rx Freq", 1).line, 13);
    // Later pages carry no heading; the next client follows one blank line after the table.
    EXPECT_EQ(backend.log.count("Tarn database"), 1);
    EXPECT_EQ(backend.log.at("Trawler Nomad").page, 2);
    EXPECT_EQ(backend.log.at("Trawler Nomad").line, 8);
}

TEST_F(DocumentLayout, NothingIsEverDrawnBelowTheLastLineOfAPage) {
    // Mixed clients over many page sizes: the grid invariants of every page break.
    for (int i = 0; i < 12; ++i)
        addClient(("C" + std::to_string(i)).c_str(), channelRange(1, i * 7));
    setDealer("Harbour Marine\r\nPort Lincoln\r\nSouth Australia");
    for (int lines = 9; lines <= 70; lines += 3) {
        SCOPED_TRACE(lines);
        backend.log = {};
        setLinesPerPage(lines);
        ASSERT_TRUE(print(false));
        EXPECT_EQ(backend.log.count("Client name:"), 12);
        EXPECT_EQ(backend.log.count("Channel"), 12);
        EXPECT_EQ(backend.log.count("Label"), 12);
        for (const DrawnText& t : backend.log.texts) {
            ASSERT_GE(t.line, 3) << t.text;
            if (t.page > 1 || t.line > 12) {
                ASSERT_LT(t.line, lines) << t.text;
            }
            if (t.text == "Client name:" && t.line != 3) {
                ASSERT_LT(t.line + 5, lines);
            }
            if (t.text == "Channel" && t.line != 3) {
                ASSERT_LT(t.line + 3, lines);
            }
        }
    }
}

}  // namespace
}  // namespace tarn::test
