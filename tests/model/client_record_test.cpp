// The client record: texts, options, selcall, image and the serialised client.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "model/client_record.h"
#include "support/recording_ui.h"

namespace tarn {
namespace {

std::string text(const ClientRecord& r, int (ClientRecord::*get)(char*, int) const) {
    char buffer[64] = {};
    (r.*get)(buffer, sizeof buffer);
    return buffer;
}

std::vector<std::uint8_t> serialized(const ClientRecord& r) {
    std::vector<std::uint8_t> bytes(kSerializedClientSize);
    EXPECT_EQ(r.serialize(bytes.data(), kSerializedClientSize), kSerializedClientSize);
    return bytes;
}

class Client : public ::testing::Test {
  protected:
    test::RecordingUi feedback;
    ClientRecord r;
};

TEST_F(Client, NewClientDefaults) {
    std::vector<std::uint8_t> expected(kSerializedClientSize, 0);
    std::memcpy(expected.data(), "New Client", 10);
    expected[32] = '0';
    const std::uint8_t header[8] = {0xCD, 0x00, 0x77, 0xFF, 0xFF, 0x12, 0x34, 0xFF};
    std::memcpy(expected.data() + 8209, header, 8);
    EXPECT_EQ(serialized(r), expected);
}

TEST_F(Client, TextsSelcallLimitsAndBuffers) {
    char buffer[16];
    std::memset(buffer, '#', sizeof buffer);
    EXPECT_TRUE(r.getName(buffer, 10) == 0 && buffer[0] == '#') << "\"New Client\" needs 11 bytes";
    EXPECT_EQ(r.getName(buffer, 11), 10);
    EXPECT_EQ(r.setName(std::string(32, 'x').c_str()), 0);
    EXPECT_EQ(r.setName(std::string(31, 'n').c_str()), 1);
    EXPECT_EQ(text(r, &ClientRecord::getName), std::string(31, 'n'));
    EXPECT_EQ(r.setSerial(std::string(16, '8').c_str()), 0);
    EXPECT_EQ(r.setSerial(std::string(15, '7').c_str()), 1);
    EXPECT_EQ(text(r, &ClientRecord::getSerial), std::string(15, '7'));
    ClientRecord a, b;  // a shorter name leaves no trace of a longer one
    a.setName("A much longer client name");
    a.setName("Bob");
    b.setName("Bob");
    EXPECT_EQ(a, b);

    EXPECT_EQ(r.setSelcall("98765"), 1);
    EXPECT_EQ(r.image()[5] << 8 | r.image()[6], 0x9876);
    for (const char* bad : {"12a4", "123", ""}) EXPECT_EQ(r.setSelcall(bad), 0) << bad;
    EXPECT_EQ(text(r, &ClientRecord::getSelcall), "9876");
    r.image()[5] = 0xAB, r.image()[6] = 0x01;  // nibbles above 8 render as 9
    EXPECT_EQ(text(r, &ClientRecord::getSelcall), "9901");
    EXPECT_EQ(std::pair(r.getSelcall(buffer, 4), r.getSelcall(buffer, 5)), std::pair(0, 5));
}

TEST_F(Client, Options) {
    // A new client holds options 0xCD.
    EXPECT_EQ(r.setOption(ClientOption::AutoTune, 0x100) +
                  r.setOption(ClientOption::ModeToggle, 0) +
                  r.setOption(ClientOption::BaseMaster, 5),
              3);  // 0x100: the value's low 8 bits clear
    EXPECT_EQ(r.getOption(0xFF), 0xEC);
    for (int refused : {PowerLevel::Mid1, PowerLevel::Mid2, 3})
        EXPECT_EQ(r.setOption(ClientOption::PowerLevel, refused), 0);
    EXPECT_EQ(r.setOption(ClientOption::PowerLevel, PowerLevel::Low), 1);
    EXPECT_EQ(r.getOption(0xFF), 0xE0);
    for (int mask : {0x04, 0x08, 0x03, 0x00}) EXPECT_EQ(r.setOption(mask, 1), 0) << mask;
    EXPECT_EQ(r.setOption(0x110, 1), 1) << "only the mask's low 8 bits count";
    EXPECT_EQ(r.getOption(0x1FF), 0xF0);

    // Making a client standard keeps selcall and channel flags.
    const int n = r.addChannel();
    r.setChannelFlag(n, ChannelFlag::Scan, 1);
    RadioImage expected = r.image();
    expected[0] &= 0x7F;
    r.setOption(ClientOption::Advanced, 0);
    EXPECT_EQ(r.image(), expected);
}

TEST_F(Client, SerializedRoundTripAndForeignBytes) {
    r.setLabel(255, "last");
    r.addChannel();
    auto bytes = serialized(r);
    EXPECT_EQ(0, std::memcmp(bytes.data() + 49 + 254 * 32, "last", 5));
    ClientRecord copy;
    copy.setName("other");
    EXPECT_EQ(copy.deserialize(bytes.data(), kSerializedClientSize), 1);
    EXPECT_EQ(copy, r);

    std::memset(bytes.data(), 'N', 32);       // name without NUL
    std::memset(bytes.data() + 32, 'S', 16);  // serial filling all 16 bytes
    bytes[48] = 0x5A;
    ASSERT_EQ(copy.deserialize(bytes.data(), kSerializedClientSize), 1);
    EXPECT_EQ(text(copy, &ClientRecord::getName), std::string(31, 'N'));
    EXPECT_EQ(text(copy, &ClientRecord::getSerial), std::string(16, 'S'));
    auto again = serialized(copy);
    EXPECT_EQ(again[31] << 8 | again[48], 0x5A);

    EXPECT_EQ(*ClientRecord::fromSerialized(nullptr), ClientRecord());
    const ClientRecord before = copy;  // sizes other than the record's are refused
    EXPECT_EQ(copy.deserialize(bytes.data(), kSerializedClientSize + 1) +
                  r.serialize(bytes.data(), kSerializedClientSize - 1),
              0);
    EXPECT_EQ(copy, before);

    // Broken slots: the channel check runs, the same way on both paths.
    bytes[8209 + 8 * 100 + 4] = 0x10;  // RX 0, TX set: corrupt
    copy.deserialize(bytes.data(), kSerializedClientSize);
    EXPECT_EQ(*ClientRecord::fromSerialized(bytes.data()), copy);
    EXPECT_EQ(feedback.texts().size(), 2u);
}

TEST_F(Client, LoadAndCopyImage) {
    r.image()[8 * 200] = 0x04;  // garbage in free slot 200, beyond the loaded prefix
    std::vector<std::uint8_t> prefix(100, 0);
    EXPECT_EQ(r.loadImage(prefix.data(), 100), 1);
    EXPECT_EQ(r.image()[8 * 200], 0) << "the check covers the whole image";
    EXPECT_EQ(feedback.texts().size(), 1u);
    const ClientRecord before = r;
    std::vector<std::uint8_t> buffer(kImageSize + 1, 0xEE);
    EXPECT_EQ(r.loadImage(buffer.data(), kImageSize + 1), 0);
    EXPECT_EQ(r, before);
    EXPECT_EQ(std::pair(r.copyImage(nullptr, 0), r.copyImage(buffer.data(), kImageSize - 1)),
              std::pair(kImageSize, 0));
    EXPECT_EQ(r.copyImage(buffer.data(), kImageSize), kImageSize);
    EXPECT_EQ(0, std::memcmp(buffer.data(), r.image().data(), kImageSize));
}

// Without a user interface the core's messages go to stderr; nobody consents to a question.
TEST(UserFeedback, WithoutAnInterfaceMessagesGoToStderr) {
    ::testing::internal::CaptureStderr();
    EXPECT_FALSE(askYesNo(MessageOwner::frame(), "Overwrite?"));
    EXPECT_EQ(userFeedback().showMessage(MessageOwner::none(), "Go on?", MessageIcon::Question,
                                         MessageButtons::OkCancel),
              MessageAnswer::Cancel);
    showError(MessageOwner::none(), "Disk full");
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "Overwrite?\nGo on?\nDisk full\n");
}

}  // namespace
}  // namespace tarn
