// Copy and paste of whole clients between databases through the "Tarn_RadioData" block.
#include <gtest/gtest.h>

#include "database/client_database.h"
#include "model/byte_order.h"
#include "support/fake_clipboard.h"
#include "support/recording_feedback.h"

namespace tarn {
namespace {

using test::FakeClipboard;
using test::RecordingFeedback;

WindowHandle const kWindow = reinterpret_cast<WindowHandle>(0x4321);

// A client unlike the defaults in every stored field, the reserved byte included.
void makeDistinct(ClientRecord& client, int seed) {
    std::vector<std::uint8_t> bytes(kSerializedClientSize);
    ASSERT_EQ(client.serialize(bytes.data(), kSerializedClientSize), kSerializedClientSize);
    bytes[0] = static_cast<std::uint8_t>('A' + seed);
    bytes[32] = static_cast<std::uint8_t>('0' + seed);
    bytes[48] = static_cast<std::uint8_t>(0xA0 + seed);          // reservedByte
    bytes[49 + 32 * 6] = static_cast<std::uint8_t>('a' + seed);  // label of channel 7
    ASSERT_EQ(client.deserialize(bytes.data(), kSerializedClientSize), 1);
    const int n = client.addChannel();
    client.setFrequency(n, 0, 10000u + static_cast<std::uint32_t>(seed));
    client.setLabel(n, "pasted");
}

class ClientClipboard : public ::testing::Test {
  protected:
    void SetUp() override {
        for (int i = 0; i < 3; ++i) {
            ASSERT_EQ(source.addClient(), i);
            makeDistinct(*source.client(i), i);
        }
    }

    FakeClipboard board;
    RecordingFeedback feedback;
    ClientDatabase source{false};
    ClientDatabase target{false};
};

TEST_F(ClientClipboard, ThreeClientsArriveEqualAfterTheExisting) {
    ASSERT_EQ(target.addClient(), 0);
    target.setModified(false);
    const int indexes[] = {2, 0, 1};
    ASSERT_EQ(source.copyClients(kWindow, indexes, 3), 1);

    const auto& block = board.blocks.at(ClipboardFormat::Clients);
    ASSERT_EQ(block.size(), 4u + 3u * kSerializedClientSize);
    EXPECT_EQ(readLe32(block.data()), 3u);

    ASSERT_EQ(target.pasteClients(kWindow), 1);
    ASSERT_EQ(target.clientCount(), 4);
    EXPECT_EQ(*target.client(1), *source.client(2));  // block order is the list order
    EXPECT_EQ(*target.client(2), *source.client(0));
    EXPECT_EQ(*target.client(3), *source.client(1));
    EXPECT_EQ(target.client(2)->reservedByte(), 0xA0);
    EXPECT_TRUE(target.isModified());
    EXPECT_TRUE(feedback.empty());
    EXPECT_EQ(board.opens, 2);
    EXPECT_EQ(board.closes, 2);
}

TEST_F(ClientClipboard, PasteStopsSilentlyAtAThousandClients) {
    for (int i = 0; i < 999; ++i) ASSERT_GE(target.addClient(), 0);
    const int indexes[] = {0, 1, 2};
    ASSERT_EQ(source.copyClients(kWindow, indexes, 3), 1);

    EXPECT_EQ(target.pasteClients(kWindow), 1);
    EXPECT_EQ(target.clientCount(), kMaxClients);
    EXPECT_EQ(*target.client(999), *source.client(0));
    EXPECT_TRUE(feedback.empty());
}

TEST_F(ClientClipboard, BadIndexLeavesTheClipboardEmpty) {
    board.blocks[ClipboardFormat::Channels] = {1, 0};
    const int indexes[] = {0, 3};  // 3 equals the count
    EXPECT_EQ(source.copyClients(kWindow, indexes, 2), 0);
    ASSERT_EQ(feedback.texts(), std::vector<std::string>{"Error in clipboard data."});
    EXPECT_EQ(feedback.messages()[0].window, kWindow);
    EXPECT_TRUE(board.blocks.empty());
    EXPECT_EQ(board.closes, 1);

    const int negative[] = {-1};
    EXPECT_EQ(source.copyClients(kWindow, negative, 1), 0);
    EXPECT_EQ(feedback.messages().size(), 2u);
    EXPECT_EQ(target.pasteClients(kWindow), 0);
}

TEST_F(ClientClipboard, ShortBlockPastesOnlyWholeClients) {
    const int indexes[] = {0, 1, 2};
    ASSERT_EQ(source.copyClients(kWindow, indexes, 3), 1);
    auto& block = board.blocks.at(ClipboardFormat::Clients);
    block.resize(block.size() - 1);  // the third record is cut short

    EXPECT_EQ(target.pasteClients(kWindow), 1);
    ASSERT_EQ(target.clientCount(), 2);
    EXPECT_EQ(*target.client(1), *source.client(1));
}

TEST_F(ClientClipboard, FailuresOfTheClipboard) {
    const int indexes[] = {0};
    board.refusesData = true;
    EXPECT_EQ(source.copyClients(kWindow, indexes, 1), 1);
    EXPECT_EQ(feedback.texts(), std::vector<std::string>{"Failed to set clipboard data."});
    EXPECT_TRUE(board.blocks.empty());

    board.refusesData = false;
    board.registered = false;
    EXPECT_EQ(source.copyClients(kWindow, indexes, 1), 0);
    EXPECT_EQ(target.pasteClients(kWindow), 0);
    board.registered = true;
    board.openFails = true;
    EXPECT_EQ(source.copyClients(kWindow, indexes, 1), 0);
    EXPECT_EQ(feedback.messages().size(), 1u);

    // No block, a count below 1 or no count at all: nothing to paste.
    board.openFails = false;
    target.setModified(false);
    EXPECT_EQ(target.pasteClients(kWindow), 0);
    for (std::vector<std::uint8_t> block :
         {std::vector<std::uint8_t>{0, 0, 0, 0}, std::vector<std::uint8_t>{0xFF, 0xFF, 0xFF, 0xFF},
          std::vector<std::uint8_t>{1, 0}}) {
        board.blocks[ClipboardFormat::Clients] = block;
        EXPECT_EQ(target.pasteClients(kWindow), 0);
    }
    EXPECT_EQ(target.clientCount(), 0);
    EXPECT_FALSE(target.isModified());
    EXPECT_EQ(board.opens, board.closes);
}

}  // namespace
}  // namespace tarn
