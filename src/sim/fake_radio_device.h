#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "radio/serial_device.h"
#include "sim/radio_monitor.h"
#include "sim/virtual_clock.h"

namespace tarn {

// Faults of the port itself (the radio's own are in the monitor).
struct FakePortFaults {
    bool missing = false;  // open fails
    bool denied = false;   // open fails for lack of permission
    bool lineSettingsFail = false;
    bool timeoutsFail = false;
    bool writesFail = false;  // every write reports 0 bytes
};

// A serial device with a radio on the far end, in process, on a virtual clock. Bytes
// move at 4800 baud (10 bits a byte) in both directions unless pacing is off: a write
// returns when its bytes have left, and the radio's answer arrives byte by byte.
// Every call is logged with its virtual time so tests can check order and timing.
class FakeRadioDevice final : public SerialDevice {
  public:
    struct Event {
        std::uint64_t atUs;  // virtual time when the call started
        std::string
            what;  // "open COM3", "line", "timeouts", "RTS+", "DTR-", "write", "read", "close"
        std::string bytes;  // written or read bytes
    };

    FakeRadioDevice(std::shared_ptr<RadioMonitor> radio, std::shared_ptr<VirtualClock> clock,
                    FakePortFaults faults = {}, bool paced = true);

    bool open(const std::string& name) override;
    bool applyLineSettings() override;
    bool applyTimeouts() override;
    void setModemLine(ModemLine line, bool raised) override;
    int read(std::uint8_t* buffer, int capacity) override;
    int write(const std::uint8_t* bytes, int length) override;
    void close() override;
    OpenError lastOpenError() const override { return openError_; }

    const std::vector<Event>& events() const { return *events_; }
    // The log, shared so it outlives the device (a SerialLink owns and destroys it).
    std::shared_ptr<const std::vector<Event>> sharedEvents() const { return events_; }
    // Bytes that arrive now from the line without the radio sending them (noise).
    void inject(const std::string& bytes);
    std::vector<Event> writes() const;  // the "write" events only
    bool isOpen() const { return open_; }

    static constexpr std::uint64_t kByteUs = 10'000'000 / 4800;  // 2083 us a byte

  private:
    void log(std::string what, std::string bytes = {});

    std::shared_ptr<RadioMonitor> radio_;
    std::shared_ptr<VirtualClock> clock_;
    FakePortFaults faults_;
    bool paced_;
    bool open_ = false;
    OpenError openError_ = OpenError::None;
    struct Incoming {
        std::uint64_t arrivesUs;
        char byte;
    };
    std::deque<Incoming> incoming_;
    std::uint64_t lineFreeUs_ = 0;  // when the radio's side of the line is free again
    std::shared_ptr<std::vector<Event>> events_ = std::make_shared<std::vector<Event>>();
};

// A Services::serialConnection that connects every SerialLink to one radio.
SerialDeviceFactory fakeRadioFactory(std::shared_ptr<RadioMonitor> radio,
                                     std::shared_ptr<VirtualClock> clock,
                                     FakePortFaults faults = {});

}  // namespace tarn
