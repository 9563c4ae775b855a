// Opening, closing and probing the port: steps, their order and their timing.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "radio/port_name.h"
#include "radio/radio_harness.h"

namespace tarn::test {
namespace {

using ::testing::ElementsAre;

std::vector<std::string> calls(const FakeRadioDevice& device) {
    std::vector<std::string> out;
    for (const auto& e : device.events()) out.push_back(e.what);
    return out;
}

TEST(SerialLinkPort, OpensWithSettingsTimeoutsThenRaisesRtsThenDtr) {
    FakeRadio fake;
    ASSERT_TRUE(fake.link->openPort());
    EXPECT_TRUE(fake.link->isOpen());
    EXPECT_THAT(calls(*fake.device), ElementsAre("open COM1", "line", "timeouts", "RTS+", "DTR+"));
    ASSERT_TRUE(fake.link->closePort());
    EXPECT_THAT(calls(*fake.device), ElementsAre("open COM1", "line", "timeouts", "RTS+", "DTR+",
                                                 "RTS-", "DTR-", "close"));
    EXPECT_FALSE(fake.link->closePort()) << "a closed link has nothing to close";
    EXPECT_EQ(fake.device->events().size(), 8u) << "and touches nothing";
}

TEST(SerialLinkPort, EveryFailureToOpenOrSetUpLeavesThePortClosed) {
    const struct {
        const char* name;
        FakePortFaults faults;
        std::vector<std::string> calls;
    } cases[] = {
        {"missing", {.missing = true}, {"open COM1"}},
        {"line settings refused", {.lineSettingsFail = true}, {"open COM1", "line", "close"}},
        {"time-outs refused", {.timeoutsFail = true}, {"open COM1", "line", "timeouts", "close"}},
    };
    for (const auto& c : cases) {
        FakeRadio fake({}, c.faults);
        EXPECT_FALSE(fake.link->openPort()) << c.name;
        EXPECT_FALSE(fake.link->isOpen()) << c.name;
        EXPECT_FALSE(fake.device->isOpen()) << c.name;
        EXPECT_EQ(calls(*fake.device), c.calls) << c.name;
        EXPECT_FALSE(fake.link->closePort()) << c.name;
    }
}

TEST(SerialLinkPort, ReopeningClosesTheOldPortFirstAndDestructionCloses) {
    FakeRadio fake;
    ASSERT_TRUE(fake.link->openPort());
    ASSERT_TRUE(fake.link->openPort());
    EXPECT_THAT(calls(*fake.device),
                ElementsAre("open COM1", "line", "timeouts", "RTS+", "DTR+", "RTS-", "DTR-",
                            "close", "open COM1", "line", "timeouts", "RTS+", "DTR+"));
    const auto log = fake.device->sharedEvents();
    fake.link.reset();
    ASSERT_GE(log->size(), 3u);
    EXPECT_EQ((*log)[log->size() - 3].what, "RTS-");
    EXPECT_EQ((*log)[log->size() - 2].what, "DTR-");
    EXPECT_EQ(log->back().what, "close");
}

TEST(SerialLinkPort, ThePortNameComesFromTheSettingOrAnOverride) {
    FakeRadio fake;
    ASSERT_TRUE(settings().writeText("Port", "COM7"));
    ASSERT_TRUE(fake.link->openPort());
    fake.link->usePort("/dev/pts/9");
    ASSERT_TRUE(fake.link->openPort());
    std::vector<std::string> opens;
    for (const auto& e : fake.device->events())
        if (e.what.rfind("open", 0) == 0) opens.push_back(e.what);
    EXPECT_THAT(opens, ElementsAre("open COM7", "open /dev/pts/9"));
    EXPECT_EQ(settings().port(), "COM7") << "the override is not stored";
    settings().writeText("Port", "COM1");
}

TEST(SerialLinkProbe, ARadioThatAnswersAtOnceIsContactedOnTheFirstTry) {
    FakeRadio fake;
    ASSERT_TRUE(fake.link->openPort());
    ASSERT_TRUE(fake.link->contactRadio());
    const auto writes = fake.device->writes();
    ASSERT_EQ(writes.size(), 1u);
    EXPECT_EQ(writes[0].bytes, "\r");
    // One byte on the line, the 300 ms wait, and the prompt already buffered.
    EXPECT_EQ(fake.clock->nowUs(), FakeRadioDevice::kByteUs + 300'000);
}

TEST(SerialLinkProbe, ASilentRadioGetsThreeCarriageReturnsOverAboutAQuarterMinute) {
    FakeRadio fake({.noPrompt = true});
    ASSERT_TRUE(fake.link->openPort());
    EXPECT_FALSE(fake.link->contactRadio());
    const auto writes = fake.device->writes();
    ASSERT_EQ(writes.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(writes[i].bytes, "\r");
        // Each attempt: the byte, 300 ms, then a read that waits out its 100 ms.
        EXPECT_EQ(writes[i].atUs, i * (FakeRadioDevice::kByteUs + 400'000));
    }
    EXPECT_EQ(fake.clock->nowUs(), 3 * (FakeRadioDevice::kByteUs + 400'000));
}

TEST(SerialLinkProbe, AHashCountsAnywhereInTheFirst64BytesRead) {
    // The answer "\r\n# " queues behind line noise: with 60 bytes of noise the "#" is
    // byte 63 of the read; with 63 it is left for the second attempt's read.
    for (const auto& [noise, attempts] : {std::pair{60, 1u}, std::pair{63, 2u}}) {
        FakeRadio fake({}, {}, false);
        ASSERT_TRUE(fake.link->openPort());
        fake.device->inject(std::string(static_cast<size_t>(noise), 'x'));
        ASSERT_TRUE(fake.link->contactRadio()) << noise;
        EXPECT_EQ(fake.device->writes().size(), attempts) << noise;
    }
}

TEST(SerialLinkProbe, AFailingWriteEndsTheProbeAtOnce) {
    FakeRadio fake({}, {.writesFail = true});
    ASSERT_TRUE(fake.link->openPort());
    EXPECT_FALSE(fake.link->contactRadio());
    EXPECT_EQ(fake.device->writes().size(), 1u);
    EXPECT_EQ(fake.clock->nowUs(), 0u) << "no wait after a failed write";
}

TEST(SerialLinkProbe, AClosedLinkDoesNotProbe) {
    FakeRadio fake;
    EXPECT_FALSE(fake.link->contactRadio());
    EXPECT_TRUE(fake.device->events().empty());
}

TEST(PortNames, ComNamesMapToSerialDevicesAndPathsStayPaths) {
    EXPECT_EQ(posixDevicePath("COM1"), "/dev/ttyS0");
    EXPECT_EQ(posixDevicePath("com12"), "/dev/ttyS11");
    EXPECT_EQ(posixDevicePath("/dev/pts/3"), "/dev/pts/3");
    EXPECT_EQ(posixDevicePath("COM0"), "");
    EXPECT_EQ(posixDevicePath("COM"), "");
    EXPECT_EQ(posixDevicePath("COM1x"), "");
    EXPECT_EQ(posixDevicePath("ttyS0"), "");
    EXPECT_EQ(posixDevicePath(""), "");
    EXPECT_EQ(win32DevicePath("COM10"), "\\\\.\\COM10");
    EXPECT_EQ(win32DevicePath("\\\\.\\COM3"), "\\\\.\\COM3");
}

TEST(Clock, WaitsSurviveTheTickCounterWrapping) {
    VirtualClock clock(0xFFFFFFF0u);
    const std::uint32_t start = clock.tickMs();
    waitUntilElapsed(clock, start, 40);
    EXPECT_EQ(clock.nowUs(), 40'000u);
    EXPECT_EQ(ticksSince(start, clock.tickMs()), 40u);
    EXPECT_LT(clock.tickMs(), start) << "the counter did wrap";
}

TEST(Clock, ARealClockWaitsThroughTheSleepItIsGiven) {
    std::vector<std::uint32_t> asked;
    const auto clock = makeRealClock([&](std::uint32_t ms) {
        asked.push_back(ms);
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
    });
    const std::uint32_t start = clock->tickMs();
    waitUntilElapsed(*clock, start, 3);
    EXPECT_GE(ticksSince(start, clock->tickMs()), 3u);
    ASSERT_FALSE(asked.empty());
    EXPECT_LE(asked.front(), 3u);
}

}  // namespace
}  // namespace tarn::test
