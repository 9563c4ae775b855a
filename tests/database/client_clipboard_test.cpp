// Copy and paste of whole clients between databases through the "Tarn_RadioData" block.
#include <gtest/gtest.h>

#include "database/client_database.h"
#include "model/byte_order.h"
#include "support/fake_clipboard.h"
#include "support/recording_ui.h"

namespace tarn {
namespace {

using Bytes = std::vector<std::uint8_t>;
WindowHandle const kWindow = reinterpret_cast<WindowHandle>(0x4321);

class ClientClipboard : public ::testing::Test {
  protected:
    // Three clients unlike the defaults in every stored field, the reserved byte included.
    void SetUp() override {
        for (int i = 0; i < 3; ++i) {
            ClientRecord& client = *source.client(source.addClient());
            Bytes bytes(kSerializedClientSize);
            client.serialize(bytes.data(), kSerializedClientSize);
            bytes[0] = std::uint8_t('A' + i);            // name
            bytes[32] = std::uint8_t('0' + i);           // serial
            bytes[48] = std::uint8_t(0xA0 + i);          // reserved byte
            bytes[49 + 32 * 6] = std::uint8_t('a' + i);  // label of channel 7
            ASSERT_EQ(client.deserialize(bytes.data(), kSerializedClientSize), 1);
            client.setFrequency(client.addChannel(), 0, 10000u + std::uint32_t(i));
        }
    }
    int copy(std::vector<int> indexes) {
        return source.copyClients(kWindow, indexes.data(), int(indexes.size()));
    }

    test::FakeClipboard board;
    test::RecordingUi feedback;
    ClientDatabase source{false}, target{false};
};

TEST_F(ClientClipboard, ThreeClientsArriveEqualAfterTheExisting) {
    ASSERT_EQ(target.addClient(), 0);
    target.setModified(false);
    ASSERT_EQ(copy({2, 0, 1}), 1);
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

TEST_F(ClientClipboard, PasteStopsSilentlyAtAThousandClientsAndTakesOnlyWholeOnes) {
    for (int i = 0; i < 999; ++i) ASSERT_GE(target.addClient(), 0);
    ASSERT_EQ(copy({0, 1, 2}), 1);
    EXPECT_EQ(target.pasteClients(kWindow), 1);
    EXPECT_EQ(target.clientCount(), kMaxClients);
    EXPECT_EQ(*target.client(999), *source.client(0));

    board.blocks.at(ClipboardFormat::Clients).pop_back();  // the third record is cut short
    ClientDatabase other(false);
    EXPECT_EQ(other.pasteClients(kWindow), 1);
    ASSERT_EQ(other.clientCount(), 2);
    EXPECT_EQ(*other.client(1), *source.client(1));
    EXPECT_TRUE(feedback.empty());
}

TEST_F(ClientClipboard, FailuresAndEmptyBlocksChangeNothing) {
    board.blocks[ClipboardFormat::Channels] = {1, 0};
    EXPECT_EQ(copy({0, 3}), 0);  // 3 equals the count
    EXPECT_EQ(copy({-1}), 0);
    EXPECT_TRUE(board.blocks.empty());
    board.refusesData = true;
    EXPECT_EQ(copy({0}), 1);
    board.refusesData = false;
    EXPECT_EQ(feedback.texts(),
              (std::vector<std::string>{"Error in clipboard data.", "Error in clipboard data.",
                                        "Failed to set clipboard data."}));
    EXPECT_EQ(feedback.messages()[0].window, kWindow);
    EXPECT_TRUE(board.blocks.empty());
    for (bool* broken : {&board.registered, &board.openFails}) {
        *broken = !*broken;
        EXPECT_EQ(copy({0}), 0);
        EXPECT_EQ(target.pasteClients(kWindow), 0);
        *broken = !*broken;
    }
    EXPECT_EQ(feedback.messages().size(), 3u);

    // No block, a count below 1 or no count at all: nothing to paste.
    EXPECT_EQ(target.pasteClients(kWindow), 0);
    for (const Bytes& block : {Bytes{0, 0, 0, 0}, Bytes{0xFF, 0xFF, 0xFF, 0xFF}, Bytes{1, 0}}) {
        board.blocks[ClipboardFormat::Clients] = block;
        EXPECT_EQ(target.pasteClients(kWindow), 0);
    }
    EXPECT_EQ(target.clientCount(), 0);
    EXPECT_FALSE(target.isModified());
    EXPECT_EQ(board.opens, board.closes);
}

}  // namespace
}  // namespace tarn
