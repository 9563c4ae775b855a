// Copy and paste of channels between clients through the "Tarn_ChanData" block.
#include <gtest/gtest.h>

#include <cstring>

#include "model/byte_order.h"
#include "model/client_record.h"
#include "support/fake_clipboard.h"
#include "support/recording_ui.h"

namespace tarn {
namespace {

WindowHandle const kWindow = reinterpret_cast<WindowHandle>(0x1234);
const std::string kOverwrite = "Channel 9 is already in use, do you want to overwrite it?";

// A valid channel as validation leaves it: its own number in byte 6.
void putChannel(ClientRecord& client, int n, std::uint32_t rx, int flags, const char* label) {
    client.setFrequency(n, 0, rx);
    client.setFrequency(n, 1, rx + 7);
    client.image()[std::size_t(kSlotSize * n)] = std::uint8_t(flags);
    client.image()[std::size_t(kSlotSize * n + 6)] = std::uint8_t(n);
    client.setLabel(n, label);
}

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

class ChannelClipboard : public ::testing::Test {
  protected:
    test::FakeClipboard board;
    test::RecordingUi feedback;
    ClientRecord source, target;
};

TEST_F(ChannelClipboard, ValidChannelsTravelInListOrderWithEveryByte) {
    putChannel(source, 3, 37400, ChannelFlag::Usb, "three");
    putChannel(source, 9, 70003, ChannelFlag::Scan | ChannelFlag::Alarm | 0x80, "nine");
    source.image()[9 * 8 + 7] = 0x5A;  // carried unchanged
    putChannel(source, 200, 299990, 0, "");
    ASSERT_EQ(copy(source, {9, 4, 3, 0, 200}), 1);  // five numbers, two of them free

    const auto& block = board.blocks.at(ClipboardFormat::Channels);
    ASSERT_EQ(block.size(), 2u + 40u * 5u);  // allocated for every number handed over
    EXPECT_EQ(readLe16(block.data()), 3);
    EXPECT_EQ(std::vector<std::uint8_t>(block.begin() + 2, block.begin() + 42),
              recordOf(source, 9));
    const int order[] = {9, 3, 200};
    // The block stays on the clipboard: two clients get the same channels, numbers kept.
    ClientRecord third;
    for (ClientRecord* to : {&target, &third}) {
        ASSERT_EQ(to->pasteChannels(kWindow), 1);
        for (int n : order) EXPECT_EQ(recordOf(*to, n), recordOf(source, n)) << n;
        EXPECT_TRUE(to->isChannelFree(4) && to->isChannelFree(8) && to->isChannelFree(10));
    }
    EXPECT_EQ(std::pair(board.opens, board.closes), std::pair(3, 3));
    EXPECT_TRUE(feedback.empty());
}

TEST_F(ChannelClipboard, ChannelInUseIsOverwrittenOnlyOnYes) {
    putChannel(source, 3, 37400, 0, "new three");
    putChannel(source, 9, 90000, 0, "new nine");
    putChannel(target, 9, 11110, ChannelFlag::Usb, "old nine");
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
    EXPECT_EQ(feedback.texts().back(), kOverwrite);
    EXPECT_EQ(recordOf(target, 9), recordOf(source, 9));

    // Several in use: "No to All" and "Yes to All" answer the first question for the rest.
    putChannel(source, 3, 38000, 0, "newer three");
    putChannel(source, 9, 91000, 0, "newer nine");
    ASSERT_EQ(copy(source, {3, 9}), 1);
    const ClientRecord kept = target;
    for (MessageAnswer answer : {MessageAnswer::NoToAll, MessageAnswer::YesToAll}) {
        feedback.clear();
        feedback.script({answer});
        target.pasteChannels(kWindow);
        ASSERT_EQ(feedback.messages().size(), 1u);
        EXPECT_EQ(feedback.messages()[0].buttons, MessageButtons::YesNoAll);
        const ClientRecord& expected = answer == MessageAnswer::YesToAll ? source : kept;
        for (int n : {3, 9}) EXPECT_EQ(recordOf(target, n), recordOf(expected, n)) << n;
    }
}

TEST_F(ChannelClipboard, PasteTakesNineScanChannelsWithoutValidation) {
    for (int n = 1; n <= 9; ++n) putChannel(source, n, 40000u + n, ChannelFlag::Scan, "");
    ASSERT_EQ(copy(source, {1, 2, 3, 4, 5, 6, 7, 8, 9}), 1);
    target.setOption(ClientOption::Advanced, 0);
    ASSERT_EQ(target.pasteChannels(kWindow), 1);
    for (int n = 1; n <= 9; ++n) EXPECT_TRUE(target.getChannelFlag(n, ChannelFlag::Scan)) << n;
    EXPECT_TRUE(feedback.empty());
}

TEST_F(ChannelClipboard, ForeignBlocks) {
    // Two records, the first without a number (reported, skipped); a third promised but cut.
    std::vector<std::uint8_t> block(2 + 40 * 2 + 39, 0);
    writeLe16(block.data(), 3);
    block[2 + 1] = 0x10;
    block[42 + 1] = 0x20;
    block[42 + 6] = 5;
    block[82 + 1] = 0x30;
    block[82 + 6] = 6;
    board.blocks[ClipboardFormat::Channels] = block;
    ASSERT_EQ(target.pasteChannels(kWindow), 1);
    ASSERT_EQ(feedback.texts(),
              std::vector<std::string>{"Clipboard channel data appears to be invalid."});
    EXPECT_EQ(target.getFrequency(5, 0), 0x20u);
    EXPECT_TRUE(target.isChannelFree(6));

    // Nothing usable to paste still counts as a paste that ran.
    const ClientRecord before = target;
    for (auto bytes : {std::vector<std::uint8_t>{0xFF, 0xFF, 1}, std::vector<std::uint8_t>{1}}) {
        board.blocks[ClipboardFormat::Channels] = bytes;
        EXPECT_EQ(target.pasteChannels(kWindow), 1);
    }
    EXPECT_EQ(target, before);

    // A record past the count is neither pasted nor counted for "Yes to All".
    putChannel(target, 5, 1000, 0, "");
    putChannel(target, 6, 1000, 0, "");
    std::vector<std::uint8_t> two(2 + 40 * 2, 0);
    writeLe16(two.data(), 1);
    two[2 + 6] = 5;
    two[42 + 6] = 6;
    board.blocks[ClipboardFormat::Channels] = two;
    feedback.clear();
    target.pasteChannels(kWindow);
    ASSERT_EQ(feedback.messages().size(), 1u);
    EXPECT_EQ(feedback.messages()[0].buttons, MessageButtons::YesNo);
    EXPECT_EQ(target.getFrequency(6, 0), 1000u);
    EXPECT_EQ(board.opens, board.closes);
}

TEST_F(ChannelClipboard, FailuresOfTheClipboard) {
    putChannel(source, 1, 40000, 0, "");
    board.blocks[ClipboardFormat::Clients] = {1, 2, 3};
    board.refusesData = true;
    EXPECT_EQ(copy(source, {1}), 1);
    ASSERT_EQ(feedback.texts(), std::vector<std::string>{"Failed to set clipboard data."});
    EXPECT_EQ(feedback.messages()[0].window, kWindow);
    EXPECT_TRUE(board.blocks.empty() && board.closes == 1);  // emptied before the offer

    board.openFails = true;  // the other failures of the session: see the client clipboard
    EXPECT_EQ(copy(source, {1}) + target.pasteChannels(kWindow), 0);
    EXPECT_EQ(feedback.messages().size(), 1u);
}

}  // namespace
}  // namespace tarn
