// The simulated radio's monitor: what it answers and what a load stores.
#include <gtest/gtest.h>

#include "radio/dump_parser.h"
#include "radio/hex_record.h"
#include "sim/radio_monitor.h"

namespace tarn {
namespace {

TEST(RadioMonitor, AnswersACarriageReturnWithThePromptAndJunkWithAQuestionMark) {
    RadioMonitor radio;
    EXPECT_EQ(radio.receive("\r"), "\r\n# ");
    EXPECT_EQ(radio.receive("XY\r"), "\r\n?\r\n# ");
    EXPECT_EQ(radio.receive("E"), "");
    RadioMonitor mute({.noPrompt = true});
    EXPECT_EQ(mute.receive("\r"), "");
}

TEST(RadioMonitor, DumpsItsMemoryAsTheReaderExpectsIt) {
    RadioMonitor radio;
    for (std::size_t n = 0; n < 2048; ++n) radio.memory()[n] = static_cast<std::uint8_t>(n * 13);
    const std::string reply = radio.receive("D 1800 0800");
    EXPECT_EQ(reply.size(), 9231u) << "echo, 128 lines of 72 bytes, prompt";
    EXPECT_EQ(reply.substr(0, 13), "D 1800 0800\r\n");
    EXPECT_EQ(reply.substr(13, 72),
              "1800 00 0D 1A 27 34 41 4E 5B 68 75 82 8F 9C A9 B6 C3  ...'4AN[hu......\r\n");
    std::array<std::uint8_t, 2048> image{};
    ASSERT_TRUE(parseDumpReply(reinterpret_cast<const std::uint8_t*>(reply.data()),
                               static_cast<int>(reply.size()), image.data(), 2048));
    EXPECT_EQ(image, radio.memory());
    // Outside its memory the radio reads 0xFF.
    EXPECT_EQ(radio.receive("D 17F0 0010").substr(13, 52),
              "17F0 FF FF FF FF FF FF FF FF FF FF FF FF FF FF FF FF");
}

TEST(RadioMonitor, PaddingAndCuttingGiveExactReplySizes) {
    for (const auto& [faults, size] : {std::pair{RadioFaults{.padTo = 10219}, 10219u},
                                       {RadioFaults{.padTo = 10220}, 10220u},
                                       {RadioFaults{.cutShortAt = 100}, 100u}})
        EXPECT_EQ(RadioMonitor(faults).receive("D 1800 0800").size(), size);
    RadioMonitor hangUp({.hangUpAt = 50});
    EXPECT_EQ(hangUp.receive("D 1800 0800").size(), 50u);
    EXPECT_TRUE(hangUp.hungUp());
    EXPECT_EQ(hangUp.receive("\r"), "") << "nothing after a hang-up";
}

TEST(RadioMonitor, ALoadStoresGoodRecordsOnlyInsideItsMemoryAndACorruptCellInverted) {
    RadioMonitor radio({.corruptAddress = 0x1FFA});
    radio.memory().fill(0x11);
    std::uint8_t bytes[16];
    for (int i = 0; i < 16; ++i) bytes[i] = static_cast<std::uint8_t>(0xA0 + i);
    std::string bad = hexDataRecord(0x1810, bytes);
    bad[43 - 2] = bad[43 - 2] == '0' ? '1' : '0';  // spoil the checksum
    const std::string load = "L 0000" + hexDataRecord(0x1800, bytes) + bad +
                             hexDataRecord(0x17F8, bytes) + hexDataRecord(0x1FF8, bytes) +
                             kHexEndOfFile;
    EXPECT_EQ(radio.receive(load), "") << "the radio says nothing during a load";
    EXPECT_EQ(radio.loadsCompleted(), 1);
    EXPECT_EQ(radio.badRecords(), 1);
    EXPECT_EQ(radio.memory()[0], 0xA8) << "0x17F8 line reached into 0x1800..0x1807";
    EXPECT_EQ(radio.memory()[8], 0xA8);
    EXPECT_EQ(radio.memory()[16], 0x11) << "bad record ignored";
    EXPECT_EQ(radio.memory()[2041], 0xA1);
    EXPECT_EQ(radio.memory()[2042], 0xA2 ^ 0xFF) << "the corrupt cell";
    EXPECT_EQ(radio.memory()[2047], 0xA7);
    EXPECT_EQ(radio.receive("\r"), "\r\n# ") << "back at the prompt after the load";
}

}  // namespace
}  // namespace tarn
