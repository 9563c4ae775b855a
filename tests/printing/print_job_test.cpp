// The print job around the layout: the printer choice, every failure with its message, and
// the "Printing" window and owner window on every path.
#include "printing/print_fixture.h"

namespace tarn::test {
namespace {

using Strings = std::vector<std::string>;

class PrintJob : public PrintFixture {
  protected:
    // The one message shown: an error box owned by the owner window, shown when the
    // "Printing" window was gone and the owner enabled again.
    void expectOnlyError(const char* text) {
        ASSERT_EQ(ui.messages.size(), 1u);
        const RecordingUi::Message& m = ui.messages[0];
        EXPECT_EQ(m.text, text);
        EXPECT_EQ(m.icon, MessageIcon::Error);
        EXPECT_EQ(m.owner.kind, MessageOwner::Kind::Window);
        EXPECT_EQ(m.owner.window, owner);
        EXPECT_EQ(m.windowsOpen, 0);
        EXPECT_FALSE(m.ownerDisabled);
    }

    void expectOwnerRestored() {
        EXPECT_EQ(ui.windowsOpen, 0);
        EXPECT_EQ(ui.disabledCount, 0);
    }

    const Strings windowCycle{"create Printing", "disable", "destroy", "enable", "focus"};
};

TEST_F(PrintJob, SuccessShowsPrintingWindowAndGivesTheOwnerBackItsFocus) {
    addClient("Ketch Aurora", {{1}});
    EXPECT_TRUE(print(false));

    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(backend.dialogsShown, 1);
    EXPECT_EQ(backend.dialogOwner, owner);
    EXPECT_EQ(ui.events, windowCycle);
    EXPECT_EQ(ui.lastOwner, owner);
    EXPECT_EQ(backend.log.events,
              (Strings{"startDoc Tarn database", "startPage", "endPage", "endDoc"}));
    expectOwnerRestored();
}

TEST_F(PrintJob, EmptyDatabaseHasNothingToPrintAndAsksForNoPrinter) {
    EXPECT_FALSE(print(false));
    expectOnlyError("Nothing to print.");
    EXPECT_EQ(backend.dialogsShown, 0);
    EXPECT_TRUE(ui.events.empty());

    ui.messages.clear();
    EXPECT_FALSE(print(true));
    expectOnlyError("Nothing to print.");
}

TEST_F(PrintJob, IndexNamingNoClientIsRefusedBeforeThePrinterIsChosen) {
    addClient("Ketch Aurora");
    addClient("Trawler Nomad");
    for (int index : {2, 1000, -2}) {
        SCOPED_TRACE(index);
        ui.messages.clear();
        EXPECT_FALSE(print(false, index));
        expectOnlyError("Nothing to print.");
    }
    EXPECT_EQ(backend.dialogsShown, 0);
    EXPECT_TRUE(backend.log.events.empty());
}

TEST_F(PrintJob, CancelledDialogEndsQuietly) {
    addClient("Ketch Aurora");
    backend.cancel = true;
    EXPECT_FALSE(print(false));
    EXPECT_EQ(backend.dialogsShown, 1);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_TRUE(ui.events.empty());
    EXPECT_TRUE(backend.log.events.empty());
}

TEST_F(PrintJob, UnusableFontOrPageStopsBeforeTheDocument) {
    addClient("Ketch Aurora");
    struct Case {
        int charHeight, leading, height;
        const char* message;
    };
    const Case cases[] = {
        {0, 0, 600, "Printer font error."},
        {6, -6, 600, "Printer font error."},     // a negative leading eats the height
        {9, 1, 19, "Printer page size error."},  // 19 / 10 - 1 = 0 lines
        {9, 1, 0, "Printer page size error."},
        {9, 1, -50, "Printer page size error."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message + std::string(" height ") + std::to_string(c.height));
        ui.messages.clear();
        backend.log = {};
        backend.setup.charHeight = c.charHeight;
        backend.setup.externalLeading = c.leading;
        backend.setup.height = c.height;
        EXPECT_FALSE(print(false));
        expectOnlyError(c.message);
        EXPECT_TRUE(backend.log.events.empty());
        EXPECT_TRUE(ui.events.empty());
    }
}

TEST_F(PrintJob, SingleLinePageStillPrintsEveryRowOnItsOwnPage) {
    addClient("Ketch Aurora", channelRange(1, 3));
    backend.setup.height = 20;  // exactly one usable line
    EXPECT_TRUE(print(false));
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(backend.log.count("Client name:"), 1);
    EXPECT_EQ(backend.log.at("3").line, 3);
    EXPECT_EQ(backend.log.pages, 6);  // heading, block, table heading, three rows
}

TEST_F(PrintJob, DocumentThatCannotStartShowsNoPrintingWindow) {
    addClient("Ketch Aurora");
    backend.setup.failStartDoc = true;
    EXPECT_FALSE(print(false));
    expectOnlyError("Printer document error.");
    EXPECT_TRUE(ui.events.empty());
    EXPECT_EQ(backend.log.events, (Strings{"startDoc Tarn database"}));
}

TEST_F(PrintJob, FirstPageThatCannotStartEndsTheDocumentAndRestoresTheOwner) {
    addClient("Ketch Aurora");
    backend.setup.failStartPage = 1;
    EXPECT_FALSE(print(true));
    expectOnlyError("Printer page error.");
    EXPECT_EQ(ui.events, windowCycle);
    EXPECT_EQ(backend.log.events,
              (Strings{"startDoc Tarn database summary", "startPage", "endDoc"}));
    EXPECT_TRUE(backend.log.texts.empty());
    expectOwnerRestored();
}

TEST_F(PrintJob, LaterPageThatCannotStartIsAFailureNotAPrintedJob) {
    addClient("Ketch Aurora", channelRange(1, 60));
    addClient("Trawler Nomad", channelRange(1, 60));
    backend.setup.failStartPage = 2;
    EXPECT_FALSE(print(false));
    expectOnlyError("Printer page error.");
    EXPECT_EQ(ui.events, windowCycle);
    EXPECT_EQ(backend.log.events.back(), "endDoc");
    EXPECT_EQ(backend.log.count("Trawler Nomad"), 0);  // nothing drawn after the failure
    expectOwnerRestored();
}

TEST_F(PrintJob, DocumentThatCannotBeFinishedIsReported) {
    addClient("Ketch Aurora");
    backend.setup.failEndDoc = true;
    EXPECT_FALSE(print(false));
    expectOnlyError("Printer document error.");
    EXPECT_EQ(ui.events, windowCycle);
    expectOwnerRestored();
}

TEST_F(PrintJob, LongDateLineIsCutTo511Characters) {
    addClient("Ketch Aurora");
    backend.setup.dateLine = std::string(600, '7');
    EXPECT_TRUE(print(true));
    EXPECT_EQ(backend.log.lineTexts(1, 6)[1], std::string(511, '7'));
}

}  // namespace
}  // namespace tarn::test
