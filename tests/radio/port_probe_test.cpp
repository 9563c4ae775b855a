// Finding the radio's port: the listing from a sysfs tree, and the probe on the fake radio.
#include <gtest/gtest.h>

#include <cerrno>
#include <fstream>

#include "radio/port_probe.h"
#include "radio/radio_harness.h"
#include "radio/radio_texts.h"
#include "radio/serial_ports.h"
#include "support/temp_dir.h"

namespace tarn::test {
namespace {

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
    EXPECT_EQ(listed, (std::vector<std::string>{
                          "/dev/ttyACM0 \u2014 Arduino Uno",
                          "/dev/ttyS0 \u2014 Built-in serial port",
                          "/dev/ttyUSB0 \u2014 Prolific Technology Inc. USB-Serial Controller",
                      }));
    EXPECT_TRUE(listSysfsSerialPorts(dir.path() / "none").empty());

    std::vector<SerialPortInfo> com = {{"COM10", ""}, {"COM2", ""}, {"COM1", ""}, {"COM02x", ""}};
    sortPorts(com);
    EXPECT_EQ(com[0].name + com[1].name + com[2].name + com[3].name, "COM1COM2COM02xCOM10");
}

TEST(PortProbe, KnocksAsContactingTheRadioDoesAndSaysWhatItFound) {
    using Result = PortProbe::Result;
    const struct {
        const char* name;
        RadioFaults radio;
        FakePortFaults port;
        Result result;
        const char* message;
        std::size_t carriageReturns;
    } cases[] = {
        {"answers", {}, {}, Result::Answered, probe_text::kAnswered, 1},
        {"silent", {.noPrompt = true}, {}, Result::NoAnswer, probe_text::kNoAnswer, 3},
        {"missing", {}, {.missing = true}, Result::CannotOpen, probe_text::kCannotOpen, 0},
        {"denied",
         {},
         {.denied = true},
         Result::PermissionDenied,
         probe_text::kPermissionDenied,
         0},
    };
    for (const auto& c : cases) {
        RecordingUi ui;
        FakeRadio fake(c.radio, c.port);
        const PortProbe probe = probePort(*fake.link, "/dev/no-such-group");
        EXPECT_EQ(probe.result, c.result) << c.name;
        EXPECT_EQ(probe.message, c.message) << c.name;
        EXPECT_EQ(fake.device->writes().size(), c.carriageReturns) << c.name;
        EXPECT_FALSE(fake.link->isOpen()) << c.name;
        EXPECT_TRUE(ui.empty()) << c.name << ": a probe shows nothing";
    }
}

TEST(PortProbe, ErrnoOfOpeningMeansMissingDeniedOrBusy) {
    using E = OpenError;
    for (const auto& [error, meaning] : {std::pair{ENOENT, E::Missing},
                                         {ENXIO, E::Missing},
                                         {EACCES, E::PermissionDenied},
                                         {EPERM, E::PermissionDenied},
                                         {EBUSY, E::Busy},
                                         {EWOULDBLOCK, E::Busy},
                                         {EIO, E::Other}})
        EXPECT_EQ(openErrorFromErrno(error), meaning) << error;
}

}  // namespace
}  // namespace tarn::test
