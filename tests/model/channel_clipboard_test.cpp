// Copy and paste of channels between clients through the "Tarn_ChanData" block.
#include <gtest/gtest.h>

#include <cstring>

#include "model/byte_order.h"
#include "model/client_record.h"
#include "support/fake_clipboard.h"
#include "support/recording_feedback.h"

namespace tarn {
namespace {

using test::FakeClipboard;
using test::RecordingFeedback;

WindowHandle const kWindow = reinterpret_cast<WindowHandle>(0x1234);

// A valid channel as validation leaves it: its own number in byte 6.
void putChannel(ClientRecord& client, int n, std::uint32_t rx, std::uint32_t tx, int flags,
                const char* label) {
    client.setFrequency(n, 0, rx);
    client.setFrequency(n, 1, tx);
    client.image()[static_cast<std::size_t>(kSlotSize * n)] = static_cast<std::uint8_t>(flags);
    client.image()[static_cast<std::size_t>(kSlotSize * n + 6)] = static_cast<std::uint8_t>(n);
    client.setLabel(n, label);
}

std::vector<std::uint8_t> slotOf(const ClientRecord& client, int n) {
    auto first = client.image().begin() + kSlotSize * n;
    return {first, first + kSlotSize};
}

int copy(ClientRecord& client, std::vector<std::uint8_t> numbers) {
    return client.copyChannels(kWindow, numbers.data(), static_cast<std::uint16_t>(numbers.size()));
}

class ChannelClipboard : public ::testing::Test {
  protected:
    FakeClipboard board;
    RecordingFeedback feedback;
    ClientRecord source;
    ClientRecord target;
};

TEST_F(ChannelClipboard, BlockHoldsOnlyValidChannelsInListOrder) {
    putChannel(source, 3, 37400, 37400, ChannelFlag::Usb, "three");
    putChannel(source, 9, 70003, 71000, ChannelFlag::Scan, "nine");
    putChannel(source, 200, 299999, 299999, 0, "");

    ASSERT_EQ(copy(source, {9, 4, 3, 0, 200}), 1);

    const auto& block = board.blocks.at(ClipboardFormat::Channels);
    ASSERT_EQ(block.size(), 2u + 40u * 5u);  // allocated for every number handed over
    EXPECT_EQ(readLe16(block.data()), 3);
    const int expected[] = {9, 3, 200};
    for (int i = 0; i < 3; ++i) {
        const std::uint8_t* record = block.data() + 2 + 40 * i;
        EXPECT_EQ(std::vector<std::uint8_t>(record, record + 8), slotOf(source, expected[i]));
        EXPECT_EQ(0, std::memcmp(record + 8, source.labelBytes(expected[i]), 32));
    }
    EXPECT_EQ(board.opens, 1);
    EXPECT_EQ(board.closes, 1);
    EXPECT_TRUE(feedback.empty());
}

TEST_F(ChannelClipboard, PasteKeepsNumbersLabelsAndEveryByte) {
    putChannel(source, 12, 50000, 50010, ChannelFlag::Usb | ChannelFlag::Alarm | 0x80, "Base");
    source.image()[12 * 8 + 7] = 0x5A;  // carried unchanged
    ASSERT_EQ(copy(source, {12}), 1);

    ASSERT_EQ(target.pasteChannels(kWindow), 1);
    EXPECT_EQ(slotOf(target, 12), slotOf(source, 12));
    EXPECT_EQ(0, std::memcmp(target.labelBytes(12), source.labelBytes(12), 32));
    EXPECT_TRUE(target.isChannelFree(11) && target.isChannelFree(13));

    // The block stays on the clipboard: a second client gets the same channel.
    ClientRecord third;
    ASSERT_EQ(third.pasteChannels(kWindow), 1);
    EXPECT_EQ(slotOf(third, 12), slotOf(source, 12));
    EXPECT_EQ(board.opens, board.closes);
}

TEST_F(ChannelClipboard, ChannelInUseIsOverwrittenOnlyOnYes) {
    putChannel(source, 3, 37400, 37400, 0, "new three");
    putChannel(source, 9, 90000, 90000, 0, "new nine");
    putChannel(target, 9, 11110, 11110, ChannelFlag::Usb, "old nine");
    const ClientRecord before = target;
    ASSERT_EQ(copy(source, {3, 9}), 1);

    feedback.script({MessageAnswer::No});
    ASSERT_EQ(target.pasteChannels(kWindow), 1);
    ASSERT_EQ(feedback.messages().size(), 1u);
    const auto& question = feedback.messages()[0];
    EXPECT_EQ(question.text, "Channel 9 is already in use, do you want to overwrite it?");
    EXPECT_EQ(question.buttons, MessageButtons::YesNo);
    EXPECT_EQ(question.owner, MessageOwner::Kind::Frame);
    EXPECT_EQ(slotOf(target, 3), slotOf(source, 3));  // the free one was written at once
    EXPECT_EQ(slotOf(target, 9), slotOf(before, 9));
    EXPECT_EQ(0, std::memcmp(target.labelBytes(9), before.labelBytes(9), 32));

    feedback.script({MessageAnswer::Yes});
    target.pasteChannels(kWindow);  // now 3 is in use too and is asked about first
    EXPECT_EQ(feedback.texts().back(), "Channel 9 is already in use, do you want to overwrite it?");
    EXPECT_EQ(slotOf(target, 9), slotOf(source, 9));
}

TEST_F(ChannelClipboard, PasteTakesNineScanChannelsWithoutValidation) {
    for (int n = 1; n <= 9; ++n)
        putChannel(source, n, 40000u + n, 40000u + n, ChannelFlag::Scan, "");
    ASSERT_EQ(copy(source, {1, 2, 3, 4, 5, 6, 7, 8, 9}), 1);

    ClientRecord standard;
    standard.setOption(ClientOption::Advanced, 0);
    ASSERT_EQ(standard.pasteChannels(kWindow), 1);
    for (int n = 1; n <= 9; ++n) EXPECT_TRUE(standard.getChannelFlag(n, ChannelFlag::Scan)) << n;
    EXPECT_TRUE(feedback.empty());
}

TEST_F(ChannelClipboard, RecordWithoutNumberIsReportedAndSkipped) {
    std::vector<std::uint8_t> block(2 + 40 * 2, 0);
    writeLe16(block.data(), 2);
    block[2 + 1] = 0x10;  // an RX value, but byte 6 says channel 0
    block[42 + 1] = 0x20;
    block[42 + 6] = 5;
    board.blocks[ClipboardFormat::Channels] = block;

    ASSERT_EQ(target.pasteChannels(kWindow), 1);
    ASSERT_EQ(feedback.texts(),
              std::vector<std::string>{"Clipboard channel data appears to be invalid."});
    EXPECT_EQ(feedback.messages()[0].owner, MessageOwner::Kind::Frame);
    EXPECT_EQ(target.getFrequency(5, 0), 0x20u);
}

TEST_F(ChannelClipboard, ShortBlockPastesOnlyWholeRecords) {
    std::vector<std::uint8_t> block(2 + 40 * 2 + 39, 0);  // promises 3, holds 2 and a bit
    writeLe16(block.data(), 3);
    for (int i = 0; i < 3; ++i) {
        const std::size_t record = 2 + 40u * static_cast<std::size_t>(i);
        if (record + 7 < block.size()) {
            block[record + 1] = 0x40;
            block[record + 6] = static_cast<std::uint8_t>(i + 1);
        }
    }
    board.blocks[ClipboardFormat::Channels] = block;

    ASSERT_EQ(target.pasteChannels(kWindow), 1);
    EXPECT_FALSE(target.isChannelFree(1));
    EXPECT_FALSE(target.isChannelFree(2));
    EXPECT_TRUE(target.isChannelFree(3));
}

TEST_F(ChannelClipboard, FailuresOfTheClipboard) {
    putChannel(source, 1, 40000, 40000, 0, "");
    board.blocks[ClipboardFormat::Clients] = {1, 2, 3};

    board.refusesData = true;
    EXPECT_EQ(copy(source, {1}), 1);
    ASSERT_EQ(feedback.texts(), std::vector<std::string>{"Failed to set clipboard data."});
    EXPECT_EQ(feedback.messages()[0].owner, MessageOwner::Kind::Window);
    EXPECT_EQ(feedback.messages()[0].window, kWindow);
    EXPECT_TRUE(board.blocks.empty());  // emptied before the block was offered
    EXPECT_EQ(board.closes, 1);

    board.refusesData = false;
    board.openFails = true;
    EXPECT_EQ(copy(source, {1}), 0);
    EXPECT_EQ(target.pasteChannels(kWindow), 0);

    board.openFails = false;
    board.registered = false;
    EXPECT_EQ(copy(source, {1}), 0);
    EXPECT_EQ(target.pasteChannels(kWindow), 0);
    EXPECT_EQ(board.opens, 1);
    EXPECT_EQ(feedback.messages().size(), 1u);

    // Nothing usable to paste still counts as a paste that ran.
    board.registered = true;
    const ClientRecord before = target;
    EXPECT_EQ(target.pasteChannels(kWindow), 1);                // no block at all
    board.blocks[ClipboardFormat::Channels] = {0xFF, 0xFF, 1};  // count -1
    EXPECT_EQ(target.pasteChannels(kWindow), 1);
    board.blocks[ClipboardFormat::Channels] = {0x01};  // not even a count
    EXPECT_EQ(target.pasteChannels(kWindow), 1);
    EXPECT_EQ(target, before);
    EXPECT_EQ(board.opens, board.closes);
}

}  // namespace
}  // namespace tarn
