// Opening, closing and probing the port: steps, their order and their timing.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

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

TEST(SerialLinkPort, OpensSetsUpRaisesRtsThenDtrAndClosesTheOldPortFirst) {
    const std::vector<std::string> open = {"open COM1", "line", "timeouts", "RTS+", "DTR+"};
    const std::vector<std::string> close = {"RTS-", "DTR-", "close"};
    FakeRadio fake;
    ASSERT_TRUE(fake.link->openPort());
    EXPECT_TRUE(fake.link->isOpen());
    EXPECT_EQ(calls(*fake.device), open);
    ASSERT_TRUE(fake.link->openPort());  // reopening closes first
    auto expected = open;
    expected.insert(expected.end(), close.begin(), close.end());
    expected.insert(expected.end(), open.begin(), open.end());
    EXPECT_EQ(calls(*fake.device), expected);
    ASSERT_TRUE(fake.link->closePort());
    EXPECT_FALSE(fake.link->closePort()) << "a closed link has nothing to close";
    expected.insert(expected.end(), close.begin(), close.end());
    EXPECT_EQ(calls(*fake.device), expected) << "and touches nothing";
    // Destruction closes an open port the same way.
    ASSERT_TRUE(fake.link->openPort());
    const auto log = fake.device->sharedEvents();
    fake.link.reset();
    std::vector<std::string> last;
    for (auto e = log->end() - 3; e != log->end(); ++e) last.push_back(e->what);
    EXPECT_EQ(last, close);
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

TEST(SerialLinkProbe, AttemptsAndTheirTiming) {
    constexpr std::uint64_t kAttemptUs = FakeRadioDevice::kByteUs + 400'000;
    const struct {
        const char* name;
        RadioFaults radio;
        FakePortFaults port;
        bool paced;
        int noise;  // bytes of line noise queued before the answer "\r\n# "
        bool contacted;
        std::size_t attempts;
        std::int64_t endUs;  // -1: not checked
    } cases[] = {
        // One byte on the line, the 300 ms wait, and the prompt already buffered.
        {"answers at once", {}, {}, true, 0, true, 1, FakeRadioDevice::kByteUs + 300'000},
        // Each attempt: the byte, 300 ms, then a read that waits out its 100 ms.
        {"silent", {.noPrompt = true}, {}, true, 0, false, 3, 3 * kAttemptUs},
        {"write fails", {}, {.writesFail = true}, true, 0, false, 1, 0},
        // A "#" counts anywhere in the first 64 bytes read: byte 63 yes, byte 66 next time.
        {"60 bytes of noise", {}, {}, false, 60, true, 1, -1},
        {"63 bytes of noise", {}, {}, false, 63, true, 2, -1},
    };
    for (const auto& c : cases) {
        FakeRadio fake(c.radio, c.port, c.paced);
        ASSERT_TRUE(fake.link->openPort());
        if (c.noise) fake.device->inject(std::string(static_cast<size_t>(c.noise), 'x'));
        EXPECT_EQ(fake.link->contactRadio(), c.contacted) << c.name;
        const auto writes = fake.device->writes();
        ASSERT_EQ(writes.size(), c.attempts) << c.name;
        for (std::size_t i = 0; i < writes.size(); ++i) {
            EXPECT_EQ(writes[i].bytes, "\r") << c.name;
            EXPECT_TRUE(c.endUs < 0 || writes[i].atUs == i * kAttemptUs) << c.name << " " << i;
        }
        EXPECT_TRUE(c.endUs < 0 || fake.clock->nowUs() == std::uint64_t(c.endUs))
            << c.name << " ends at " << fake.clock->nowUs();
    }
    FakeRadio closed;
    EXPECT_FALSE(closed.link->contactRadio());
    EXPECT_TRUE(closed.device->events().empty()) << "a closed link does not probe";
}

TEST(PortNames, ComNamesMapToSerialDevicesAndPathsStayPaths) {
    for (const auto& [name, path] : {std::pair{"COM1", "/dev/ttyS0"},
                                     {"com12", "/dev/ttyS11"},
                                     {"/dev/pts/3", "/dev/pts/3"},
                                     {"COM0", ""},
                                     {"COM", ""},
                                     {"COM1x", ""},
                                     {"ttyS0", ""},
                                     {"", ""}})
        EXPECT_EQ(posixDevicePath(name), path) << name;
    EXPECT_EQ(win32DevicePath("COM10"), "\\\\.\\COM10");
    EXPECT_EQ(win32DevicePath("\\\\.\\COM3"), "\\\\.\\COM3");
}

}  // namespace
}  // namespace tarn::test
