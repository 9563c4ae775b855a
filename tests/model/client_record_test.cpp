// The client record's identity texts, options, selcall, image and serialised form.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "model/client_record.h"
#include "support/recording_feedback.h"

namespace tarn {
namespace {

using test::RecordingFeedback;

std::string name(const ClientRecord& r) {
    char buffer[64] = {};
    r.getName(buffer, sizeof buffer);
    return buffer;
}

std::string selcall(const ClientRecord& r) {
    char buffer[8] = {};
    r.getSelcall(buffer, sizeof buffer);
    return buffer;
}

std::vector<std::uint8_t> serialized(const ClientRecord& r) {
    std::vector<std::uint8_t> bytes(kSerializedClientSize);
    EXPECT_EQ(r.serialize(bytes.data(), kSerializedClientSize), kSerializedClientSize);
    return bytes;
}

TEST(ClientRecordDefaults, NewClientHeaderTextsAndEmptyTables) {
    ClientRecord r;
    const std::uint8_t header[8] = {0xCD, 0x00, 0x77, 0xFF, 0xFF, 0x12, 0x34, 0xFF};
    EXPECT_EQ(0, std::memcmp(r.image().data(), header, 8));
    for (int i = 8; i < kImageSize; ++i) ASSERT_EQ(r.image()[i], 0) << i;
    EXPECT_EQ(name(r), "New Client");
    char serial[16] = {};
    EXPECT_EQ(r.getSerial(serial, sizeof serial), 1);
    EXPECT_STREQ(serial, "0");
    EXPECT_EQ(selcall(r), "1234");
    EXPECT_EQ(r.reservedByte(), 0);
    EXPECT_TRUE(r.hasNoChannels());
    auto bytes = serialized(r);
    // Unused name and serial bytes and all labels are zero in a new client.
    for (int i = 10; i < 32; ++i) EXPECT_EQ(bytes[i], 0) << i;
    for (int i = 33; i < 8209; ++i) ASSERT_EQ(bytes[i], 0) << i;
}

TEST(ClientRecordTexts, NameAndSerialLengthLimits) {
    ClientRecord r;
    const std::string name31(31, 'n'), name32(32, 'x');
    EXPECT_EQ(r.setName(name31.c_str()), 1);
    EXPECT_EQ(name(r), name31);
    EXPECT_EQ(r.setName(name32.c_str()), 0);
    EXPECT_EQ(name(r), name31);
    EXPECT_EQ(r.setName(nullptr), 0);

    const std::string serial15(15, '7'), serial16(16, '8');
    char buffer[32] = {};
    EXPECT_EQ(r.setSerial(serial15.c_str()), 1);
    EXPECT_EQ(r.getSerial(buffer, sizeof buffer), 15);
    EXPECT_EQ(r.setSerial(serial16.c_str()), 0);
    EXPECT_EQ(r.getSerial(buffer, sizeof buffer), 15);
    EXPECT_EQ(buffer, serial15);
}

TEST(ClientRecordTexts, GetNameNeedsRoomForTheNul) {
    ClientRecord r;  // "New Client", 10 characters
    char buffer[16];
    std::memset(buffer, '#', sizeof buffer);
    EXPECT_EQ(r.getName(buffer, 10), 0);
    EXPECT_EQ(buffer[0], '#') << "nothing may be copied on failure";
    EXPECT_EQ(r.getName(buffer, 11), 10);
    EXPECT_STREQ(buffer, "New Client");
    ASSERT_EQ(r.setName(""), 1);
    EXPECT_EQ(r.getName(buffer, sizeof buffer), 0);
}

TEST(ClientRecordTexts, ShorterNameLeavesNoTraceOfTheLongerOne) {
    ClientRecord a, b;
    a.setName("A much longer client name");
    a.setName("Bob");
    b.setName("Bob");
    EXPECT_EQ(a, b);
}

TEST(ClientRecordSelcall, StorageAndRendering) {
    ClientRecord r;
    EXPECT_EQ(r.setSelcall("98765"), 1);  // characters after the fourth are ignored
    EXPECT_EQ(r.image()[5], 0x98);
    EXPECT_EQ(r.image()[6], 0x76);
    EXPECT_EQ(selcall(r), "9876");
    EXPECT_EQ(r.setSelcall("12a4"), 0);
    EXPECT_EQ(r.setSelcall("123"), 0);
    EXPECT_EQ(r.setSelcall(nullptr), 0);
    EXPECT_EQ(selcall(r), "9876");

    r.image()[5] = 0xAB;  // nibbles above 8 all render as 9
    r.image()[6] = 0x01;
    EXPECT_EQ(selcall(r), "9901");
    char small[4];
    EXPECT_EQ(r.getSelcall(small, 4), 0);
    char exact[5];
    EXPECT_EQ(r.getSelcall(exact, 5), 5);
    EXPECT_STREQ(exact, "9901");
}

TEST(ClientRecordOptions, SingleBitsAndThePowerField) {
    ClientRecord r;
    EXPECT_EQ(r.setOption(ClientOption::AutoTune, 0x100), 1);  // only the low 8 bits count
    EXPECT_EQ(r.getOption(ClientOption::AutoTune), 0);
    EXPECT_EQ(r.setOption(ClientOption::AutoTune, 5), 1);
    EXPECT_EQ(r.getOption(ClientOption::AutoTune), ClientOption::AutoTune);
    EXPECT_EQ(r.setOption(ClientOption::ModeToggle, 0), 1);
    EXPECT_EQ(r.getOption(0xFF), 0xCC | ClientOption::AutoTune);

    EXPECT_EQ(r.setOption(ClientOption::PowerLevel, PowerLevel::Mid1), 0);
    EXPECT_EQ(r.setOption(ClientOption::PowerLevel, PowerLevel::Mid2), 0);
    EXPECT_EQ(r.getOption(ClientOption::PowerLevel), PowerLevel::High);
    EXPECT_EQ(r.setOption(ClientOption::PowerLevel, PowerLevel::Low), 1);
    EXPECT_EQ(r.getOption(ClientOption::PowerLevel), PowerLevel::Low);
    EXPECT_EQ(r.getOption(0xFF), 0xC0 | ClientOption::AutoTune) << "other bits untouched";

    EXPECT_EQ(r.setOption(0x04, 1), 0);
    EXPECT_EQ(r.setOption(0x08, 1), 0);
    EXPECT_EQ(r.setOption(0x03, 1), 0);
    EXPECT_EQ(r.setOption(0x180, 1), 1) << "mask 0x180 is Advanced after its low 8 bits";
    EXPECT_EQ(r.getOption(0x1FF), 0xD0);
}

TEST(ClientRecordOptions, MakingStandardKeepsSelcallAndChannelFlags) {
    ClientRecord r;
    r.setSelcall("4321");
    int n = r.addChannel();
    r.setChannelFlag(n, ChannelFlag::Scan, 1);
    r.setChannelFlag(n, ChannelFlag::Selcall, 1);
    const RadioImage before = r.image();
    r.setOption(ClientOption::Advanced, 0);
    RadioImage expected = before;
    expected[0] &= 0x7F;
    EXPECT_EQ(r.image(), expected);
}

TEST(ClientRecordSerialized, LayoutAndRoundTrip) {
    RecordingFeedback feedback;
    ClientRecord r;
    r.setName("Name");
    r.setSerial("SN-1");
    r.setLabel(1, "first");
    r.setLabel(255, "last");
    int n = r.addChannel();
    auto bytes = serialized(r);
    EXPECT_EQ(0, std::memcmp(bytes.data(), "Name", 5));
    EXPECT_EQ(0, std::memcmp(bytes.data() + 32, "SN-1", 5));
    EXPECT_EQ(0, std::memcmp(bytes.data() + 49, "first", 6));
    EXPECT_EQ(0, std::memcmp(bytes.data() + 49 + 254 * 32, "last", 5));
    EXPECT_EQ(bytes[8209], 0xCD);
    EXPECT_EQ(bytes[8209 + 8 * n + 6], n);

    ClientRecord copy;
    EXPECT_EQ(copy.deserialize(bytes.data(), kSerializedClientSize), 1);
    EXPECT_EQ(copy, r);
    EXPECT_TRUE(feedback.empty());

    EXPECT_EQ(r.serialize(bytes.data(), kSerializedClientSize - 1), 0);
    EXPECT_EQ(r.serialize(nullptr, kSerializedClientSize), 0);
}

TEST(ClientRecordSerialized, FromSerializedEqualsDefaultThenDeserialize) {
    RecordingFeedback feedback;
    ClientRecord source;
    source.setName("Source");
    source.setLabel(9, "nine");
    for (int i = 0; i < 12; ++i) source.addChannel();
    auto bytes = serialized(source);
    bytes[48] = 7;
    bytes[8209 + 8 * 3 + 6] = 200;     // wrong channel number: renumbered
    bytes[8209 + 8 * 100 + 4] = 0x10;  // RX 0, TX set: corrupt, deleted with the message
    ClientRecord stepwise;
    stepwise.deserialize(bytes.data(), kSerializedClientSize);
    auto texts = feedback.texts();
    feedback.clear();
    auto direct = ClientRecord::fromSerialized(bytes.data());
    EXPECT_EQ(*direct, stepwise);
    EXPECT_EQ(feedback.texts(), texts);
    EXPECT_EQ(texts.size(), 1u);
    EXPECT_EQ(*ClientRecord::fromSerialized(nullptr), ClientRecord());
}

TEST(ClientRecordSerialized, WrongSizeChangesNothing) {
    std::vector<std::uint8_t> bytes(kSerializedClientSize + 1, 0x41);
    ClientRecord r;
    const ClientRecord before = r;
    EXPECT_EQ(r.deserialize(bytes.data(), kSerializedClientSize - 1), 0);
    EXPECT_EQ(r.deserialize(bytes.data(), kSerializedClientSize + 1), 0);
    EXPECT_EQ(r.deserialize(nullptr, kSerializedClientSize), 0);
    EXPECT_EQ(r, before);
}

TEST(ClientRecordSerialized, ForeignTextsStayTerminatedAndReservedByteIsCarried) {
    RecordingFeedback feedback;
    ClientRecord source;
    auto bytes = serialized(source);
    std::memset(bytes.data(), 'N', 32);       // name without NUL
    std::memset(bytes.data() + 32, 'S', 16);  // serial filling all 16 bytes
    bytes[48] = 0x5A;
    ClientRecord r;
    ASSERT_EQ(r.deserialize(bytes.data(), kSerializedClientSize), 1);
    EXPECT_EQ(name(r), std::string(31, 'N'));
    char serial[32];
    EXPECT_EQ(r.getSerial(serial, sizeof serial), 16);
    EXPECT_EQ(std::string(serial), std::string(16, 'S'));
    EXPECT_EQ(r.getSerial(serial, 16), 0);
    EXPECT_EQ(r.reservedByte(), 0x5A);
    auto again = serialized(r);
    EXPECT_EQ(again[31], 0) << "the name's 32nd byte is forced to NUL";
    EXPECT_EQ(again[48], 0x5A);
    EXPECT_EQ(0, std::memcmp(again.data() + 32, bytes.data() + 32, 16));
}

TEST(ClientRecordSerialized, DeserializeRunsTheChannelCheck) {
    RecordingFeedback feedback;
    ClientRecord source;
    auto bytes = serialized(source);
    bytes[8209 + 8 * 3 + 4] = 0x11;  // channel 3: RX 0 but a TX byte set
    ClientRecord r;
    ASSERT_EQ(r.deserialize(bytes.data(), kSerializedClientSize), 1);
    EXPECT_EQ(feedback.texts(),
              std::vector<std::string>{"1 channels appear to be corrupted and have been deleted"});
    EXPECT_EQ(r.image()[8 * 3 + 4], 0);
}

TEST(ClientRecordImage, LoadReplacesAPrefixButChecksAllChannels) {
    RecordingFeedback feedback;
    ClientRecord r;
    r.image()[8 * 200] = 0x04;  // channel 200: garbage in a free slot
    std::vector<std::uint8_t> prefix(100, 0);
    prefix[0] = 0x81;
    EXPECT_EQ(r.loadImage(prefix.data(), 100), 1);
    EXPECT_EQ(r.image()[0], 0x81);
    EXPECT_EQ(r.image()[99], 0);
    EXPECT_EQ(r.image()[8 * 200], 0) << "validation covers the whole image";
    EXPECT_EQ(feedback.texts().size(), 1u);

    std::vector<std::uint8_t> tooLong(kImageSize + 1, 0xFF);
    const ClientRecord before = r;
    EXPECT_EQ(r.loadImage(tooLong.data(), kImageSize + 1), 0);
    EXPECT_EQ(r.loadImage(tooLong.data(), -1), 0);
    EXPECT_EQ(r, before);
}

TEST(ClientRecordImage, CopyImageSizes) {
    ClientRecord r;
    EXPECT_EQ(r.copyImage(nullptr, 0), kImageSize);
    std::vector<std::uint8_t> buffer(kImageSize, 0xEE);
    EXPECT_EQ(r.copyImage(buffer.data(), kImageSize - 1), 0);
    EXPECT_EQ(buffer[0], 0xEE);
    EXPECT_EQ(r.copyImage(buffer.data(), kImageSize), kImageSize);
    EXPECT_EQ(0, std::memcmp(buffer.data(), r.image().data(), kImageSize));
}

}  // namespace
}  // namespace tarn
