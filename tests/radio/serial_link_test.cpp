// The port: opening and closing, the probe and its timing, names and the listing from sysfs.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cerrno>
#include <fstream>

#include "radio/port_name.h"
#include "radio/port_probe.h"
#include "radio/radio_harness.h"
#include "radio/radio_texts.h"
#include "radio/serial_ports.h"
#include "support/temp_dir.h"

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
    const char* const names[][2] = {{"COM1", "/dev/ttyS0"},
                                    {"com12", "/dev/ttyS11"},
                                    {"COM12345", "/dev/ttyS12344"},
                                    {"/dev/pts/3", "/dev/pts/3"},
                                    {"COM123456", ""},
                                    {"COM0", ""},
                                    {"COM", ""},
                                    {"COM1x", ""},
                                    {"ttyS0", ""},
                                    {"", ""}};
    for (const auto& [name, path] : names) EXPECT_EQ(posixDevicePath(name), path) << name;
    EXPECT_EQ(win32DevicePath("COM10"), "\\\\.\\COM10");
    EXPECT_EQ(win32DevicePath("\\\\.\\COM3"), "\\\\.\\COM3");
}

namespace fs = std::filesystem;

void put(const fs::path& file, const std::string& text) {
    fs::create_directories(file.parent_path());
    std::ofstream(file) << text << "\n";
}

TEST(SerialPortList, ListsTtysWithADeviceNamedByTheirUsbMakerAndProduct) {
    TempDir dir;
    const fs::path tty = dir.path() / "class/tty", devices = dir.path() / "devices";
    // A PL2303 adapter: tty -> usb-serial port -> interface -> USB device with names.
    const fs::path usb = devices / "usb1/1-1";
    put(usb / "idVendor", "067b");
    put(usb / "manufacturer", "Prolific Technology Inc.");
    put(usb / "product", "USB-Serial Controller");
    fs::create_directories(usb / "1-1:1.0/ttyUSB0");
    // A modem whose product already names its maker.
    put(devices / "usb1/1-2/idVendor", "2341");
    put(devices / "usb1/1-2/manufacturer", "Arduino");
    put(devices / "usb1/1-2/product", "Arduino Uno");
    fs::create_directories(devices / "usb1/1-2/1-2:1.0");
    fs::create_directories(devices / "platform/serial8250");
    const struct {
        const char* name;
        fs::path device;   // empty: none
        const char* type;  // ttyS only
    } ttys[] = {
        {"ttyUSB0", usb / "1-1:1.0/ttyUSB0", nullptr},
        {"ttyACM0", devices / "usb1/1-2/1-2:1.0", nullptr},
        {"ttyS0", devices / "platform/serial8250", "4"},
        {"ttyS1", devices / "platform/serial8250", "0"},  // no UART behind it
        {"tty1", {}, nullptr},                            // a console, no device
    };
    for (const auto& t : ttys) {
        fs::create_directories(tty / t.name);
        if (!t.device.empty()) fs::create_directory_symlink(t.device, tty / t.name / "device");
        if (t.type) put(tty / t.name / "type", t.type);
    }
    std::vector<std::string> listed;
    for (const auto& port : listSysfsSerialPorts(tty)) listed.push_back(describePort(port));
    EXPECT_EQ(listed,
              (std::vector<std::string>{
                  "/dev/ttyACM0 \u2014 Arduino Uno", "/dev/ttyS0 \u2014 Built-in serial port",
                  "/dev/ttyUSB0 \u2014 Prolific Technology Inc. USB-Serial Controller"}));
    EXPECT_TRUE(listSysfsSerialPorts(dir.path() / "none").empty());

    std::vector<SerialPortInfo> com = {{"COM10", ""}, {"COM2", ""}, {"COM1", ""}, {"COM02x", ""}};
    sortPorts(com);
    EXPECT_EQ(com[0].name + com[1].name + com[2].name + com[3].name, "COM1COM2COM02xCOM10");
}

// The probe knocks as contacting the radio does and tells what it found, showing nothing.
TEST(PortProbe, ResultsAndTheErrnoOfOpening) {
    using R = PortProbe::Result;
    const struct {
        RadioFaults radio;
        FakePortFaults port;
        R result;
        const char* message;
        std::size_t carriageReturns;
    } cases[] = {
        {{}, {}, R::Answered, probe_text::kAnswered, 1},
        {{.noPrompt = true}, {}, R::NoAnswer, probe_text::kNoAnswer, 3},
        {{}, {.missing = true}, R::CannotOpen, probe_text::kCannotOpen, 0},
        {{}, {.denied = true}, R::PermissionDenied, probe_text::kPermissionDenied, 0},
    };
    for (const auto& c : cases) {
        RecordingUi ui;
        FakeRadio fake(c.radio, c.port);
        const PortProbe probe = probePort(*fake.link, "/dev/no-such-group");
        EXPECT_EQ(probe.result, c.result) << c.message;
        EXPECT_EQ(probe.message, c.message);
        EXPECT_EQ(fake.device->writes().size(), c.carriageReturns) << c.message;
        EXPECT_FALSE(fake.link->isOpen() || !ui.empty()) << c.message;
    }
    for (int e : {ENOENT, ENXIO}) EXPECT_EQ(openErrorFromErrno(e), OpenError::Missing) << e;
    for (int e : {EACCES, EPERM}) EXPECT_EQ(openErrorFromErrno(e), OpenError::PermissionDenied);
    for (int e : {EBUSY, EWOULDBLOCK}) EXPECT_EQ(openErrorFromErrno(e), OpenError::Busy) << e;
    EXPECT_EQ(openErrorFromErrno(EIO), OpenError::Other);
}

}  // namespace
}  // namespace tarn::test
