// Channel slots and labels, their check, editing, kHz texts, copy and paste of channels.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <string>
#include <tuple>
#include <vector>

#include "model/byte_order.h"
#include "model/client_record.h"
#include "model/khz_text.h"
#include "model/message_texts.h"
#include "model/services.h"
#include "model/user_feedback.h"
#include "support/fake_clipboard.h"
#include "support/recording_ui.h"

namespace tarn {
namespace {

using Texts = std::vector<std::string>;

// A channel written straight into the image, without validation, numbered as it leaves it.
void putChannel(ClientRecord& r, int n, std::uint32_t rx, std::uint32_t tx, int flags = 0,
                const char* label = "") {
    r.setFrequency(n, 0, rx);
    r.setFrequency(n, 1, tx);
    r.image()[8 * n] = static_cast<std::uint8_t>(flags);
    r.image()[8 * n + 6] = static_cast<std::uint8_t>(n);
    r.setLabel(n, label);
}

class Channels : public ::testing::Test {
  protected:
    test::RecordingUi feedback;
    ClientRecord r;
};

TEST_F(Channels, PackingNibblesValidityFlagsChannelZeroAndLabels) {
    const std::uint8_t slot5[8] = {0x08, 0x96, 0x86, 0x81, 0xA8, 0x18, 0x05, 0x00};
    std::memcpy(r.image().data() + 8, slot5, 8);
    EXPECT_EQ(std::pair(r.getFrequency(1, 0), r.getFrequency(1, 7)), std::pair(99990u, 101000u));
    r.setFrequency(1, 1, 0xFFFFF);  // TX leaves the RX nibble of byte 3
    EXPECT_EQ(r.image()[8 + 3], 0xF1);
    r.setFrequency(1, 0, 0x1234567);  // RX keeps its low 20 bits only, TX nibble stays
    EXPECT_EQ(std::pair(r.image()[8 + 3], r.getFrequency(1, 0)),
              (std::pair<std::uint8_t, std::uint32_t>(0xF3, 0x34567)));

    // Valid up to 29999.9 kHz both ways with RX not 0.
    putChannel(r, 1, 299999, 299999), putChannel(r, 2, 300000, 1000);
    putChannel(r, 3, 1000, 300000), putChannel(r, 4, 0, 1000);
    for (int n : {0, 1, 2, 3, 4}) EXPECT_EQ(r.isChannelFree(n), n != 1) << n;
    EXPECT_EQ(r.setChannelFlag(9, 0x03, 1) + r.setChannelFlag(9, 0x80, 1), 0);  // 0x03: no bit
    r.setChannelFlag(9, 0x108, 2);  // mask and value count by their low 8 bits
    r.setChannelFlag(9, ChannelFlag::Scan, 0x100);
    EXPECT_EQ(r.getChannelFlag(9, 0xFF), 0x88);

    const ClientRecord before = r;  // 256 is channel 0: refused everywhere
    r.setFrequency(256, 0, 1000);
    EXPECT_EQ(r.setLabel(256, "x") + r.deleteChannel(0), 0);
    EXPECT_EQ(r, before);
    EXPECT_EQ(r.deleteChannel(257), 1) << "257 is channel 1";
    EXPECT_EQ(r.hasNoChannels(), 1);

    char buffer[40];
    EXPECT_EQ(r.setLabel(5, std::string(32, 'M').c_str()), 0);
    EXPECT_EQ(r.setLabel(5, std::string(31, 'L').c_str()), 1);
    EXPECT_EQ(std::pair(r.getLabel(5, buffer, 31), r.getLabel(5, buffer, 32)), std::pair(-1, 31));
    EXPECT_EQ(r.getLabel(6, buffer, 1), 0);
    // A label of other origin without NUL is shown with 31 characters, as one typed; the
    // record keeps all 32 bytes.
    std::memset(r.labelBytes(7), 'Z', 32);
    EXPECT_EQ(r.getLabel(7, buffer, sizeof buffer), 31);
    EXPECT_EQ(std::string(buffer) + char(r.labelBytes(7)[31]), std::string(32, 'Z'));
}

TEST_F(Channels, AddChannelTakesTheLowestOfTheHighestFreeRun) {
    // Valid from..to (0: none) and one extra channel.
    for (const auto [from, to, extra, expected] : {std::array{0, 0, 0, 1},
                                                   {1, 10, 0, 11},
                                                   {1, 10, 255, 11},
                                                   {1, 254, 0, 255},
                                                   {5, 255, 0, 1},
                                                   {1, 255, 0, -1}}) {
        r = ClientRecord();
        for (int n = from; n && n <= to; ++n) putChannel(r, n, 1000, 1000);
        if (extra) putChannel(r, extra, 1000, 1000);
        const ClientRecord before = r;
        const int got = r.addChannel();
        EXPECT_EQ(got, expected) << from << ".." << to << " + " << extra;
        if (got < 0) {
            EXPECT_EQ(r, before);
        } else {
            const std::uint8_t slot[8] = {
                0x18, 0x20, 0x4E, 0x00, 0xE2, 0x04, static_cast<std::uint8_t>(got), 0x00};
            EXPECT_EQ(0, std::memcmp(r.image().data() + 8 * got, slot, 8));
        }
    }
}

TEST_F(Channels, ValidationRepairsRenumbersAndDropsTooManyScans) {
    putChannel(r, 3, 0, 0x55);  // RX 0
    r.image()[8 * 4 + 7] = 1;   // a stray byte in an empty slot
    putChannel(r, 5, 300000, 1000);
    putChannel(r, 6, 1000, 1000);
    r.image()[8 * 6 + 6] = 99;
    r.image()[8 * 6 + 7] = 0x42;
    for (int n = 10; n < 18; ++n) putChannel(r, n, 1000, 1000, ChannelFlag::Scan);
    r.validateChannels();
    for (int n : {3, 4, 5}) EXPECT_TRUE(r.isChannelFree(n) && r.image()[8 * n + 7] == 0) << n;
    EXPECT_EQ(r.image()[8 * 6 + 6] << 8 | r.image()[8 * 6 + 7], 0x0642) << "byte 7 is carried";
    EXPECT_EQ(r.getChannelFlag(17, ChannelFlag::Scan), ChannelFlag::Scan) << "8 scans stay";
    EXPECT_EQ(feedback.texts(), Texts{"3 channels appear to be corrupted and have been deleted"});

    feedback.clear();
    putChannel(r, 200, 1000, 1000, ChannelFlag::Scan | ChannelFlag::Usb);
    r.image()[8 * 250] = ChannelFlag::Scan;  // a free slot's scan flag does not count
    r.validateChannels();
    for (int n = 1; n <= 255; ++n) ASSERT_EQ(r.getChannelFlag(n, ChannelFlag::Scan), 0) << n;
    EXPECT_EQ(feedback.texts(), (Texts{"1 channels appear to be corrupted and have been deleted",
                                       "There were 9 scan channels, this is more than the limit "
                                       "of 8.\nAll scan channels have been deselected"}));
}

TEST_F(Channels, EditChannelTransaction) {
    ScopedServices dialogs;
    const int n = r.addChannel();
    int answer = 0, shownFor = 0, parent = 0;
    WindowHandle seenParent = nullptr;
    dialogs->editChannel = [&](ClientRecord& c, WindowHandle p) {
        shownFor = c.currentChannel(), seenParent = p;
        c.moveChannel(200);  // a move is undone by Cancel like any other change
        c.setLabel(200, "new");
        c.setFrequency(200, 0, 0);  // a corrupt slot: neither outcome validates
        return answer;
    };
    const ClientRecord before = r;
    EXPECT_EQ(r.editChannel(n, &parent), 0);
    EXPECT_EQ(r, before);
    EXPECT_TRUE(shownFor == n && seenParent == &parent);
    answer = 1;
    EXPECT_EQ(r.editChannel(n, &parent), 1);
    EXPECT_TRUE(r.isChannelFree(n) && r.getFrequency(200, 0) == 0);
    shownFor = 0;
    EXPECT_EQ(r.editChannel(0, nullptr) + r.editChannel(256, nullptr), 0);
    EXPECT_EQ(shownFor, 0) << "no dialog for numbers outside 1..255";
    EXPECT_TRUE(feedback.empty());
}

TEST_F(Channels, TypedFrequenciesAndTheCopyToTx) {
    using R = ChannelRefusal;
    for (const auto& [typed, rx, tx, copied] : {std::tuple{"499.9", R::Receive, R::Transmit, false},
                                                {"500", R::None, R::Transmit, false},
                                                {"1799.9", R::None, R::Transmit, false},
                                                {"1800.0 kHz", R::None, R::None, true},
                                                {"29999.95", R::None, R::None, true},
                                                {"30000", R::Receive, R::Transmit, false},
                                                {"abc", R::Receive, R::Transmit, false}}) {
        EXPECT_EQ(ClientRecord::checkFrequency(0, typed), rx) << typed;
        EXPECT_EQ(ClientRecord::checkFrequency(1, typed), tx) << typed;
        EXPECT_EQ(ClientRecord::rxCopiesToTx(typed), copied) << typed;
    }
}

TEST_F(Channels, NewNumberIsCheckedThenMovesTheSlotAndScanTicksAreCounted) {
    putChannel(r, 12, 37400, 37400, ChannelFlag::Usb | 0x20);
    r.image()[8 * 12 + 7] = 0x42;
    r.setLabel(12, "Home");
    putChannel(r, 20, 50000, 50000);
    r.setCurrentChannel(12);
    using R = ChannelRefusal;
    const ClientRecord before = r;
    for (const auto& [wanted, refusal] : {std::pair{0u, R::NumberOutOfRange},
                                          {256u, R::NumberOutOfRange},
                                          {20u, R::NumberInUse},
                                          {12u, R::None}}) {
        EXPECT_EQ(r.checkChannelNumber(wanted), refusal) << wanted;
        EXPECT_EQ(r.moveChannel(wanted), refusal == R::None) << wanted;
        EXPECT_EQ(r, before) << wanted;  // refused, or its own number: nothing moves
    }
    EXPECT_EQ(channelRefusalText(R::NumberInUse), "Channel number is already in use.");

    EXPECT_EQ(r.moveChannel(40), 1);
    RadioImage moved = before.image();
    std::copy_n(moved.begin() + 8 * 12, 8, moved.begin() + 8 * 40);
    moved[8 * 40 + 6] = 40;
    EXPECT_EQ(std::memcmp(r.image().data() + 8 * 40, moved.data() + 8 * 40, 8), 0);
    EXPECT_EQ(std::count(r.image().begin() + 8 * 12, r.image().begin() + 8 * 13, 0), 8);
    EXPECT_EQ(r.currentChannel(), 40);
    char label[33];
    EXPECT_EQ(r.getLabel(12, label, sizeof label), 4) << "a label belongs to its number";

    // A scan tick is refused from the eighth on; the edited channel's own flag counts.
    for (int n = 100; n < 107; ++n) putChannel(r, n, 1000, 1000, ChannelFlag::Scan);
    EXPECT_EQ(r.checkScanTick(), ChannelRefusal::None);
    r.setChannelFlag(40, ChannelFlag::Scan, 1);
    EXPECT_EQ(r.checkScanTick(), ChannelRefusal::ScanListFull);
}

// What OK stores: tenths as typed, TxEqualsRx from the numbers, flags by the client type.
TEST_F(Channels, StoreChannel) {
    const int kept = ChannelFlag::Alarm | 0x20, both = ChannelFlag::Scan | ChannelFlag::Selcall;
    const int equal = ChannelFlag::TxEqualsRx;
    // Advanced, RX and TX typed, then what is stored: RX, TX, flags.
    for (const auto& [advanced, rx, tx, rxTenths, txTenths, flags] :
         {std::tuple{true, "7000.3", "7000.35", 70003, 70003, kept | both},
          {true, "5000", "5000.0", 50000, 50000, kept | both | equal},
          {true, "5000.00", "5e3", 50000, 50000, kept | both | equal},
          {false, "5000", "5000.1", 50000, 50001, kept}}) {
        r = ClientRecord();
        r.setOption(ClientOption::Advanced, advanced);
        putChannel(r, 12, 37400, 37400, kept | ChannelFlag::Usb | equal);
        r.setCurrentChannel(12);
        ASSERT_EQ(r.storeChannel({rx, tx, true, true, false, std::string(40, 'L')}),
                  ChannelRefusal::None);
        char label[33];  // the label is cut to 31 characters
        const std::vector<int> stored{int(r.getFrequency(12, 0)), int(r.getFrequency(12, 1)),
                                      r.getChannelFlag(12, 0xFF), r.getLabel(12, label, 33)};
        EXPECT_EQ(stored, (std::vector<int>{rxTenths, txTenths, flags, 31})) << rx << " " << tx;
    }
}

long long tenths(std::string_view text) {
    return KhzValue::parse(text)->tenths();
}

TEST(KhzText, OneDecimalIsStoredExactlyAsTypedFromTheNumberAtTheStart) {
    for (unsigned value = 0; value < 300000; value += 7) {
        const std::string text = formatKhz(value);  // "%.1f" of value / 10
        ASSERT_EQ(tenths(text), static_cast<long long>(value)) << text;
    }
    // The number at the start counts, the rest is ignored; never 70002 for "7000.3", and
    // further decimals are dropped, not rounded.
    const std::pair<const char*, long long> starts[] = {
        {"7000.3", 70003}, {"7000.39", 70003}, {"  7000.5 kHz", 70005}, {"+3500.", 35000},
        {".5", 5},         {"3.5e3", 35000},   {"3500e+x", 35000},      {"-1800", -18000},
        {"0x1F40", 0},     {"1e-300", 0}};
    for (const auto& [text, value] : starts) EXPECT_EQ(tenths(text), value) << text;
    EXPECT_GE(std::min(tenths("1e300"), tenths("99999999999999999999999")), 300000);  // no wrap
    for (const char* text : {"", "   ", ".", "-", "+.e5", "kHz 7000"})
        EXPECT_FALSE(KhzValue::parse(text)) << text;
    // Equality is numeric: same tenths are not enough.
    auto same = [](std::string_view a, std::string_view b) {
        return *KhzValue::parse(a) == *KhzValue::parse(b);
    };
    EXPECT_TRUE(same("5000", "5000.0") && same("05000.00", "5e3") && same("0", "-0.0"));
    EXPECT_FALSE(same("5000", "5000.01") || same("5000", "-5000") || same("5000", "500"));
}

WindowHandle const kWindow = reinterpret_cast<WindowHandle>(0x1234);
const std::string kOverwrite = "Channel 9 is already in use, do you want to overwrite it?";

// The slot and label bytes of channel `n`, as a block record holds them.
std::vector<std::uint8_t> recordOf(const ClientRecord& client, int n) {
    std::vector<std::uint8_t> out(client.image().begin() + kSlotSize * n,
                                  client.image().begin() + kSlotSize * (n + 1));
    out.insert(out.end(), client.labelBytes(n), client.labelBytes(n) + 32);
    return out;
}

// A valid number lies past the list handed over; it must not be read.
int copy(ClientRecord& client, std::vector<std::uint8_t> numbers) {
    numbers.push_back(numbers.front());
    return client.copyChannels(kWindow, numbers.data(), std::uint16_t(numbers.size() - 1));
}

// A block that claims `count` records and holds one per number, RX byte 0x10, 0x20, ...,
// cut `cut` bytes short.
std::vector<std::uint8_t> blockOf(int count, std::vector<int> numbers, std::size_t cut = 0) {
    std::vector<std::uint8_t> b(2 + 40 * numbers.size() - cut, 0);
    writeLe16(b.data(), std::uint16_t(count));
    for (std::size_t i = 0; 2 + 40 * i + 6 < b.size(); ++i)
        b[2 + 40 * i + 1] = std::uint8_t(0x10 * (i + 1)),
                       b[2 + 40 * i + 6] = std::uint8_t(numbers[i]);
    return b;
}

class ChannelClipboard : public ::testing::Test {
  protected:
    test::FakeClipboard board;
    test::RecordingUi feedback;
    ClientRecord source, target;
};

TEST_F(ChannelClipboard, ValidChannelsTravelInListOrderWithEveryByte) {
    putChannel(source, 3, 37400, 37407, ChannelFlag::Usb, "three");
    putChannel(source, 9, 70003, 70010, ChannelFlag::Scan | ChannelFlag::Alarm | 0x80, "nine");
    source.image()[9 * 8 + 7] = 0x5A;  // carried unchanged
    putChannel(source, 200, 299990, 299997);
    ASSERT_EQ(copy(source, {9, 4, 3, 0, 200}), 1);  // five numbers, two of them free

    const auto& block = board.blocks.at(ClipboardFormat::Channels);
    ASSERT_EQ(block.size(), 2u + 40u * 5u);  // allocated for every number handed over
    EXPECT_EQ(readLe16(block.data()), 3);
    EXPECT_EQ(std::vector<std::uint8_t>(block.begin() + 2, block.begin() + 42),
              recordOf(source, 9));
    // The block stays on the clipboard: two clients get the same channels, numbers kept.
    ClientRecord third;
    for (ClientRecord* to : {&target, &third}) {
        ASSERT_EQ(to->pasteChannels(kWindow), 1);
        for (int n : {9, 3, 200}) EXPECT_EQ(recordOf(*to, n), recordOf(source, n)) << n;
        EXPECT_TRUE(to->isChannelFree(4) && to->isChannelFree(10));
    }
    EXPECT_EQ(std::pair(board.opens, board.closes), std::pair(3, 3));
}

TEST_F(ChannelClipboard, ChannelInUseIsOverwrittenOnlyOnYes) {
    putChannel(source, 3, 37400, 37407, 0, "new three");
    putChannel(source, 9, 90000, 90007, 0, "new nine");
    putChannel(target, 9, 11110, 11117, ChannelFlag::Usb, "old nine");
    const ClientRecord before = target;
    ASSERT_EQ(copy(source, {3, 9}), 1);

    feedback.script({MessageAnswer::No});
    ASSERT_EQ(target.pasteChannels(kWindow), 1);
    ASSERT_EQ(feedback.texts(), std::vector<std::string>{kOverwrite});
    const auto& question = feedback.messages()[0];
    EXPECT_TRUE(question.buttons == MessageButtons::YesNo &&
                question.owner == MessageOwner::Kind::Frame);
    EXPECT_EQ(recordOf(target, 3), recordOf(source, 3));  // the free one was written at once
    EXPECT_EQ(recordOf(target, 9), recordOf(before, 9));

    feedback.script({MessageAnswer::Yes});
    target.pasteChannels(kWindow);  // now 3 is in use too and is asked about first
    EXPECT_EQ(recordOf(target, 9), recordOf(source, 9));

    // Several in use: "No to All" and "Yes to All" answer the first question for the rest.
    putChannel(source, 3, 38000, 38007, 0, "newer three");
    putChannel(source, 9, 91000, 91007, 0, "newer nine");
    ASSERT_EQ(copy(source, {3, 9}), 1);
    const ClientRecord kept = target;
    for (MessageAnswer answer : {MessageAnswer::NoToAll, MessageAnswer::YesToAll}) {
        feedback.clear();
        feedback.script({answer});
        target.pasteChannels(kWindow);
        ASSERT_TRUE(feedback.messages().size() == 1 &&
                    feedback.messages()[0].buttons == MessageButtons::YesNoAll);
        const ClientRecord& expected = answer == MessageAnswer::YesToAll ? source : kept;
        for (int n : {3, 9}) EXPECT_EQ(recordOf(target, n), recordOf(expected, n)) << n;
    }
}

TEST_F(ChannelClipboard, ForeignBlocks) {
    // Two records, the first without a number (reported, skipped); a third promised but cut.
    board.blocks[ClipboardFormat::Channels] = blockOf(3, {0, 5, 6}, 1);
    ASSERT_EQ(target.pasteChannels(kWindow), 1);
    ASSERT_EQ(feedback.texts(),
              std::vector<std::string>{"Clipboard channel data appears to be invalid."});
    EXPECT_EQ(target.getFrequency(5, 0), 0x20u);
    EXPECT_TRUE(target.isChannelFree(6));

    // A record past the count is neither pasted nor counted for "Yes to All".
    putChannel(target, 5, 1000, 1007);
    putChannel(target, 6, 1000, 1007);
    board.blocks[ClipboardFormat::Channels] = blockOf(1, {5, 6});
    feedback.clear();
    target.pasteChannels(kWindow);
    ASSERT_TRUE(feedback.messages().size() == 1 &&
                feedback.messages()[0].buttons == MessageButtons::YesNo);
    EXPECT_EQ(target.getFrequency(6, 0), 1000u);
    EXPECT_EQ(board.opens, board.closes);

    // A damaged slot (RX 0) gets the check of a loaded image: deleted, and said.
    auto damaged = blockOf(1, {7});
    damaged[2 + 1] = 0;
    board.blocks[ClipboardFormat::Channels] = damaged;
    feedback.clear();
    target.pasteChannels(kWindow);
    EXPECT_EQ(feedback.texts(),
              std::vector<std::string>{formatMessage(msg::kChannelsCorrupted, 1)});
    EXPECT_TRUE(target.isChannelFree(7));
}

TEST_F(ChannelClipboard, FailuresOfTheClipboard) {
    putChannel(source, 1, 40000, 40007);
    board.blocks[ClipboardFormat::Clients] = {1, 2, 3};
    board.refusesData = true;
    EXPECT_EQ(copy(source, {1}), 1);
    ASSERT_EQ(feedback.texts(), std::vector<std::string>{"Failed to set clipboard data."});
    EXPECT_EQ(feedback.messages()[0].window, kWindow);
    EXPECT_TRUE(board.blocks.empty() && board.closes == 1);  // emptied before the offer
}

}  // namespace
}  // namespace tarn
