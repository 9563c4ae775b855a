#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "model/window_handle.h"
#include "radio/clock.h"
#include "radio/radio_outcome.h"
#include "radio/serial_device.h"

namespace tarn {

class RadioLog;

// The serial port with a radio, for one Read or Write command. The port name comes
// from the "Port" setting; the port is closed again when the link goes away.
class SerialLink {
  public:
    // What the last writeRadio's read-back found.
    using Verification = RadioOutcome::Verify;

    SerialLink();  // the installed device factory (the platform driver, real clock)
    // Both record into the installed Services::radioLog, if any.
    SerialLink(std::unique_ptr<SerialDevice> device, std::shared_ptr<Clock> clock);
    virtual ~SerialLink();
    SerialLink(const SerialLink&) = delete;
    SerialLink& operator=(const SerialLink&) = delete;

    bool openPort();
    bool closePort();
    bool contactRadio();
    bool readRadio(WindowHandle owner, std::uint8_t* image, int size, bool verifying);
    bool writeRadio(WindowHandle owner, const std::uint8_t* image, int length, bool verify);

    // Uses this port name instead of the "Port" setting, without storing it.
    void usePort(std::string name) { portOverride_ = std::move(name); }
    Verification lastVerification() const { return outcome_.verified; }
    // What the last readRadio or writeRadio did (a Write's read-back included).
    const RadioOutcome& outcome() const { return outcome_; }
    // What the last writeRadio's verification read back (empty when none came back).
    const std::vector<std::uint8_t>& lastReadBack() const { return readBack_; }
    bool isOpen() const { return open_; }
    // Why the last openPort failed.
    OpenError openError() const { return device_->lastOpenError(); }
    // Where the exchanges are recorded (null: nowhere).
    void setLog(RadioLog* log) { log_ = log; }

  private:
    bool connect(WindowHandle owner);  // open, probe, and tell the user what failed
    std::string portName() const;      // the override, else the "Port" setting
    int send(const std::string& text);
    int receive(std::uint8_t* buffer, int capacity);
    // Shows an error message and keeps it as the exchange's result.
    void fail(WindowHandle owner, const char* message, bool warning = false);
    void beginExchange(const char* what);
    bool finishExchange(bool ok);  // returns `ok`

    std::unique_ptr<SerialDevice> device_;
    std::shared_ptr<Clock> clock_;
    bool open_ = false;
    std::optional<std::string> portOverride_;
    RadioOutcome outcome_;
    RadioLog* log_ = nullptr;
    std::string failure_;  // the messages the running exchange showed
    std::vector<std::uint8_t> readBack_;
};

}  // namespace tarn
