#pragma once

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "radio/port_rules.h"
#include "radio/serial_link.h"
#include "sim/fake_radio_device.h"
#include "support/recording_ui.h"

namespace tarn::test {

inline constexpr const char* kConnectPromptEntry =
    "message information okcancel: Connect the serial cable.\nPress both channel up and down "
    "keys for 2 seconds until RS-232 is displayed.\nThen press OK.";

using Image = RadioMonitor::Memory;

inline Image patternMemory() {  // byte n holds n * 7 + 3
    Image memory{};
    for (std::size_t n = 0; n < memory.size(); ++n) memory[n] = std::uint8_t(n * 7 + 3);
    return memory;
}

// A radio holding patternMemory() on the fake line, and a link to it on the virtual clock.
struct FakeRadio {
    explicit FakeRadio(RadioFaults faults = {}, FakePortFaults port = {}, bool paced = true,
                       std::uint32_t startTick = 0)
        : radio(std::make_shared<RadioMonitor>(std::move(faults))),
          clock(std::make_shared<VirtualClock>(startTick)) {
        auto fake = std::make_unique<FakeRadioDevice>(radio, clock, port, paced);
        device = fake.get();
        link = std::make_unique<SerialLink>(std::move(fake), clock, "COM1");
        radio->memory() = patternMemory();
    }
    std::shared_ptr<RadioMonitor> radio;
    std::shared_ptr<VirtualClock> clock;
    FakeRadioDevice* device;  // owned by link
    std::unique_ptr<SerialLink> link;
};

// One read or write of `image` (0x5A throughout at first) through the fake radio.
struct RadioRun {
    explicit RadioRun(RadioFaults faults = {}, FakePortFaults port = {},
                      std::uint32_t startTick = 0)
        : fake(std::move(faults), port, true, startTick) {
        image.fill(0x5A);
    }
    bool read(bool verifying = false) {
        return fake.link->readRadio(RecordingUi::kOwner, image.data(), 2048, verifying);
    }
    bool write(bool verify) {
        return fake.link->writeRadio(RecordingUi::kOwner, image.data(), 2048, verify);
    }
    std::vector<std::string> writes() const {
        std::vector<std::string> out;
        for (const auto& e : fake.device->writes()) out.push_back(e.bytes);
        return out;
    }
    RecordingUi ui;
    FakeRadio fake;
    Image image;
};

// Writes `text` into `file`, making its folder.
inline void put(const std::filesystem::path& file, const std::string& text) {
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::trunc) << text;
}

// Points the port rules at folders below `root` (lock, proc, sys) for one scope.
struct ScopedPortPlaces {
    explicit ScopedPortPlaces(const std::filesystem::path& root) : saved(portPlaces()) {
        setPortPlaces({root / "lock", root / "proc", root / "sys"});
    }
    ~ScopedPortPlaces() { setPortPlaces(saved); }
    PortPlaces saved;
};

}  // namespace tarn::test
