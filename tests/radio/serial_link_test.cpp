// The port: opening and closing, the probe and its timing, names and the listing from sysfs.
#include <gtest/gtest.h>

#include <cerrno>
#include <fstream>
#include <tuple>

#include "radio/port_name.h"
#include "radio/port_probe.h"
#include "radio/port_problem.h"
#include "radio/radio_harness.h"
#include "radio/radio_texts.h"
#include "radio/serial_ports.h"
#include "support/temp_dir.h"

namespace tarn::test {
namespace {

std::vector<std::string> calls(const FakeRadioDevice& device) {
    std::vector<std::string> out;
    for (const auto& e : device.events()) out.push_back(e.what);
    return out;
}

// Closing lowers RTS then DTR; reopening and destruction close the same way.
TEST(SerialLinkPort, OpensSetsUpRaisesRtsThenDtrAndClosesTheOldPortFirst) {
    const std::vector<std::string> open = {"open COM7", "line", "timeouts", "RTS+", "DTR+"};
    const std::vector<std::string> close = {"RTS-", "DTR-", "close"};
    FakeRadio fake;
    fake.link->usePort("COM7");
    ASSERT_TRUE(fake.link->openPort());
    ASSERT_TRUE(fake.link->openPort());
    ASSERT_TRUE(fake.link->closePort());
    EXPECT_FALSE(fake.link->closePort()) << "a closed link has nothing to close";
    std::vector<std::string> expected;
    for (const auto& part : {open, close, open, close})
        expected.insert(expected.end(), part.begin(), part.end());
    EXPECT_EQ(calls(*fake.device), expected) << "the closed link touches nothing";
    fake.link->usePort("/dev/pts/9");
    ASSERT_TRUE(fake.link->openPort());
    EXPECT_EQ(fake.device->events()[expected.size()].what, "open /dev/pts/9");
    const auto log = fake.device->sharedEvents();
    fake.link.reset();
    EXPECT_EQ(
        std::vector<std::string>({log->end()[-3].what, log->end()[-2].what, log->back().what}),
        close);
}

TEST(SerialLinkProbe, AttemptsAndTheirTiming) {
    constexpr std::uint64_t kAttemptUs = FakeRadioDevice::kByteUs + 400'000;
    const struct {
        const char* name;
        RadioFaults radio;
        FakePortFaults port;
        int noise;  // bytes of line noise before the answer "\r\n# "
        bool contacted;
        std::size_t attempts;
        std::int64_t endUs;  // -1: not checked
    } cases[] = {
        // One byte on the line, the 300 ms wait, and the prompt already buffered.
        {"answers at once", {}, {}, 0, true, 1, FakeRadioDevice::kByteUs + 300'000},
        // Each attempt: the byte, 300 ms, then a read that waits out its 100 ms.
        {"silent", {.noPrompt = true}, {}, 0, false, 3, 3 * kAttemptUs},
        {"write fails", {}, {.writesFail = true}, 0, false, 1, 0},
        // A "#" counts anywhere in the first 64 bytes read: byte 63 yes, byte 66 next time.
        {"60 bytes of noise", {}, {}, 60, true, 1, -1},
        {"63 bytes of noise", {}, {}, 63, true, 2, -1},
    };
    for (const auto& c : cases) {
        FakeRadio fake(c.radio, c.port, c.noise == 0);  // unpaced: the noise comes first
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
}

TEST(PortNames, ComNamesMapToSerialDevicesAndPathsStayPaths) {
    const char* const valid[] = {"COM1",     "/dev/ttyS0",     "com12",      "/dev/ttyS11",
                                 "COM12345", "/dev/ttyS12344", "/dev/pts/3", "/dev/pts/3"};
    for (int i = 0; i < 8; i += 2) EXPECT_EQ(posixDevicePath(valid[i]), valid[i + 1]) << valid[i];
    for (const char* name : {"COM123456", "COM0", "COM", "COM1x", "ttyS0", ""})
        EXPECT_EQ(posixDevicePath(name), "") << name;
    EXPECT_EQ(win32DevicePath("COM10"), "\\\\.\\COM10");
    EXPECT_EQ(win32DevicePath("\\\\.\\COM3"), "\\\\.\\COM3");
}

namespace fs = std::filesystem;

TEST(SerialPortList, ListsTtysWithADeviceNamedByTheirUsbMakerAndProduct) {
    TempDir dir;
    const fs::path tty = dir.path() / "class/tty", usb = dir.path() / "devices/usb1";
    // A USB adapter and a modem whose product already names its maker.
    const char* const adapters[][4] = {
        {"1-1", "067b", "Prolific Technology Inc.", "USB-Serial Controller"},
        {"1-2", "2341", "Arduino", "Arduino Uno"}};
    for (const auto& [device, vendor, maker, product] : adapters) {
        put(usb / device / "idVendor", vendor);
        put(usb / device / "manufacturer", maker);
        put(usb / device / "product", product);
    }
    const fs::path uart = dir.path() / "devices/platform/serial8250";
    const struct {
        const char* name;
        fs::path device;   // empty: none
        const char* type;  // ttyS only
    } ttys[] = {
        {"ttyUSB0", usb / "1-1/1-1:1.0/ttyUSB0", nullptr},
        {"ttyACM0", usb / "1-2/1-2:1.0", nullptr},
        {"ttyS0", uart, "4"},
        {"ttyS1", uart, "0"},   // no UART behind it
        {"tty1", {}, nullptr},  // a console, no device
    };
    for (const auto& t : ttys) {
        fs::create_directories(tty / t.name);
        if (!t.device.empty()) {
            fs::create_directories(t.device);
            fs::create_directory_symlink(t.device, tty / t.name / "device");
        }
        if (t.type) put(tty / t.name / "type", t.type);
    }
    std::string listed;
    for (const auto& port : listSysfsSerialPorts(tty)) listed += describePort(port) + "\n";
    EXPECT_EQ(listed,
              "/dev/ttyACM0 \u2014 Arduino Uno\n/dev/ttyS0 \u2014 Built-in serial port\n"
              "/dev/ttyUSB0 \u2014 Prolific Technology Inc. USB-Serial Controller\n");
    EXPECT_TRUE(listSysfsSerialPorts(dir.path() / "none").empty());

    std::vector<SerialPortInfo> com = {{"COM10", ""}, {"COM2", ""}, {"COM1", ""}, {"COM02x", ""}};
    sortPorts(com);
    EXPECT_EQ(com[0].name + com[1].name + com[2].name + com[3].name, "COM1COM2COM02xCOM10");
}

// The probe knocks as contacting the radio does, tells what it found and why, shows nothing
// and leaves the port closed; the port dialog's check gives the same reasons.
TEST(PortProbe, ResultsReasonsAndTheErrnoOfOpening) {
    using R = PortProbe::Result;
    const std::tuple<FakePortFaults, R, const char*> cases[] = {
        {{}, R::Answered, probe_text::kAnswered},
        {{.denied = true}, R::PermissionDenied, probe_text::kPermissionDenied},
        {{.missing = true}, R::CannotOpen, probe_text::kNoSuchDevice},
        {{.lineSettingsFail = true}, R::CannotOpen, probe_text::kNotSerial}};
    for (const auto& [port, result, message] : cases) {
        RecordingUi ui;
        const auto clock = std::make_shared<VirtualClock>();
        const auto connect = [&] {
            return SerialConnection{
                std::make_unique<FakeRadioDevice>(std::make_shared<RadioMonitor>(), clock, port),
                clock};
        };
        SerialConnection connection = connect();
        const auto events = static_cast<FakeRadioDevice&>(*connection.device).sharedEvents();
        const PortProbe probe = probePort("/dev/no-such-group", std::move(connection));
        EXPECT_TRUE(probe.result == result && probe.message == message) << message;
        EXPECT_TRUE(ui.empty() && (events->size() == 1 || events->back().what == "close"));
        const bool opens = result == R::Answered || port.lineSettingsFail;
        EXPECT_EQ(portUnavailableReason("/dev/no-such-group", connect()), opens ? "" : message);
    }
    EXPECT_EQ(portOpenFailureText("COM9", OpenError::Other, {}), probe_text::kCannotOpen);
    for (int e : {ENOENT, ENXIO}) EXPECT_EQ(openErrorFromErrno(e), OpenError::Missing) << e;
    for (int e : {EACCES, EPERM}) EXPECT_EQ(openErrorFromErrno(e), OpenError::PermissionDenied);
    for (int e : {EBUSY, EWOULDBLOCK}) EXPECT_EQ(openErrorFromErrno(e), OpenError::Busy) << e;
    EXPECT_EQ(openErrorFromErrno(EIO), OpenError::Other);
}

}  // namespace
}  // namespace tarn::test
