// The termios driver on a pseudo-terminal, the way the simulated radio offers a port.
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "radio/serial_device.h"
#include "sim/pty_line.h"

namespace tarn {
namespace {

using Clock = std::chrono::steady_clock;

TEST(PosixSerialDevice, OpensAPtyExclusivelyAndRefusesWhatIsNoPort) {
    PtyLine line;
    ASSERT_TRUE(line.open());
    auto device = makePlatformSerialDevice();
    ASSERT_TRUE(device->open(line.slavePath()));
    EXPECT_TRUE(device->applyLineSettings());
    EXPECT_TRUE(device->applyTimeouts());
    device->setModemLine(ModemLine::Rts, true);  // no modem lines on a pty: harmless
    device->setModemLine(ModemLine::Dtr, true);

    auto second = makePlatformSerialDevice();
    EXPECT_FALSE(second->open(line.slavePath())) << "the port is held";
    device->close();
    EXPECT_TRUE(second->open(line.slavePath())) << "free again after close";
    second->close();

    EXPECT_FALSE(device->open("/dev/no-such-port"));
    EXPECT_FALSE(device->open("COM0"));
    EXPECT_FALSE(device->open("banana"));
}

TEST(PosixSerialDevice, AFileThatIsNoTerminalOpensButRefusesLineSettings) {
    auto device = makePlatformSerialDevice();
    ASSERT_TRUE(device->open("/dev/null"));
    EXPECT_FALSE(device->applyLineSettings());
    device->close();
}

TEST(PosixSerialDevice, ReadsReturnWhatIsBufferedAtOnceElseWaitAboutATenthOfASecond) {
    PtyLine line;
    ASSERT_TRUE(line.open());
    auto device = makePlatformSerialDevice();
    ASSERT_TRUE(device->open(line.slavePath()));
    ASSERT_TRUE(device->applyLineSettings());
    ASSERT_TRUE(device->applyTimeouts());

    std::uint8_t buffer[64];
    auto start = Clock::now();
    EXPECT_EQ(device->read(buffer, sizeof buffer), 0);
    const auto waited = Clock::now() - start;
    EXPECT_GE(waited, std::chrono::milliseconds(90));
    EXPECT_LT(waited, std::chrono::milliseconds(1000));

    ASSERT_EQ(::write(line.masterFd(), "#abc", 4), 4);
    EXPECT_EQ(device->read(buffer, 2), 2) << "no more than asked for";
    EXPECT_EQ(device->read(buffer, sizeof buffer), 2);
    EXPECT_EQ(buffer[0], 'b');

    const std::uint8_t cr = '\r';
    EXPECT_EQ(device->write(&cr, 1), 1);
    char seen = 0;
    for (int i = 0; i < 100 && ::read(line.masterFd(), &seen, 1) != 1; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    EXPECT_EQ(seen, '\r') << "bytes pass untranslated";
    device->close();
}

}  // namespace
}  // namespace tarn
