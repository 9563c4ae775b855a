#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "model/window_handle.h"
#include "radio/clock.h"
#include "radio/radio_outcome.h"
#include "radio/serial_device.h"

namespace tarn {

class RadioLog;

// How one exchange runs: whether it asks the user to connect the radio first, the caption
// of its progress window, and the name the transcript gives it.
struct ExchangeOptions {
    bool prompt = true;
    const char* caption = nullptr;  // null: the exchange's own ("Reading radio", ...)
    const char* name = nullptr;     // null: "Read" or "Write"
};

// The serial port with a radio, for one radio command. The caller names the port (the
// "Port" setting, as a rule) and where the exchanges are recorded; the port is closed
// again when the link goes away.
class SerialLink {
  public:
    // What the last writeRadio's read-back found.
    using Verification = RadioOutcome::Verify;

    // The installed device factory (the platform driver, real clock).
    explicit SerialLink(std::string port, RadioLog* log = nullptr);
    SerialLink(std::unique_ptr<SerialDevice> device, std::shared_ptr<Clock> clock,
               std::string port = {}, RadioLog* log = nullptr);
    virtual ~SerialLink();
    SerialLink(const SerialLink&) = delete;
    SerialLink& operator=(const SerialLink&) = delete;

    bool openPort();
    bool closePort();
    bool contactRadio();
    bool readRadio(WindowHandle owner, std::uint8_t* image, int size, bool verifying);
    bool writeRadio(WindowHandle owner, const std::uint8_t* image, int length, bool verify);
    // The same exchanges, told how to run (a Read that asks nothing, under another name).
    bool readRadio(WindowHandle owner, std::uint8_t* image, int size, const ExchangeOptions& how);
    bool writeRadio(WindowHandle owner, const std::uint8_t* image, int length, bool verify,
                    const ExchangeOptions& how);
    // The prompt to connect the radio; false (the outcome Cancelled) on Cancel.
    bool askToConnect(WindowHandle owner);

    // Talks to another port from the next open on.
    void usePort(std::string name) { port_ = std::move(name); }
    const std::string& port() const { return port_; }
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
    int send(const std::string& text);
    int receive(std::uint8_t* buffer, int capacity);
    // Shows an error message and keeps it as the exchange's result.
    void fail(WindowHandle owner, const char* message, bool warning = false);
    void beginExchange(const char* what);
    // The Read of readRadio: a read-back (`verifying`) belongs to the Write that asked for it.
    bool readDump(WindowHandle owner, std::uint8_t* image, int size, bool verifying,
                  const ExchangeOptions& how);
    bool finishExchange(bool ok);  // returns `ok`

    std::unique_ptr<SerialDevice> device_;
    std::shared_ptr<Clock> clock_;
    bool open_ = false;
    std::string port_;
    RadioOutcome outcome_;
    RadioLog* log_ = nullptr;
    std::string failure_;  // the messages the running exchange showed
    std::vector<std::uint8_t> readBack_;
};

}  // namespace tarn
