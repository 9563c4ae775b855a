#include "radio/serial_link.h"

#include "model/user_feedback.h"
#include "radio/port_problem.h"
#include "radio/radio_log.h"
#include "radio/radio_texts.h"

namespace tarn {

SerialLink::SerialLink(std::string port, RadioLog* log)
    : SerialLink(nullptr, nullptr, std::move(port), log) {
    SerialConnection connection = makeSerialConnection();
    if (connection.device) device_ = std::move(connection.device);
    if (connection.clock) clock_ = std::move(connection.clock);
}

SerialLink::SerialLink(std::unique_ptr<SerialDevice> device, std::shared_ptr<Clock> clock,
                       std::string port, RadioLog* log)
    : device_(std::move(device)), clock_(std::move(clock)), port_(std::move(port)), log_(log) {
    if (!device_) device_ = makePlatformSerialDevice();
    if (!clock_) clock_ = makeRealClock();
}

SerialLink::~SerialLink() {
    closePort();
}

bool SerialLink::openPort() {
    closePort();
    const bool opened = device_->open(port_);
    if (log_) log_->opened(port_, opened, clock_->tickMs());
    if (!opened) return false;
    if (!device_->applyLineSettings() || !device_->applyTimeouts()) {
        device_->close();
        return false;
    }
    device_->setModemLine(ModemLine::Rts, true);
    device_->setModemLine(ModemLine::Dtr, true);
    open_ = true;
    return true;
}

bool SerialLink::closePort() {
    if (!open_) return false;
    device_->setModemLine(ModemLine::Rts, false);
    device_->setModemLine(ModemLine::Dtr, false);
    device_->close();
    open_ = false;
    return true;
}

bool SerialLink::contactRadio() {
    if (!open_) return false;
    for (int attempt = 0; attempt < 3; ++attempt) {
        if (send("\r") < 1) return false;
        clock_->sleepMs(300);
        std::uint8_t answer[64];
        const int n = receive(answer, sizeof answer);
        for (int i = 0; i < n; ++i) {
            if (answer[i] == '#') return true;
        }
    }
    return false;
}

bool SerialLink::askToConnect(WindowHandle owner) {
    if (userFeedback().showMessage(MessageOwner::of(owner), radio_text::kConnectPrompt,
                                   MessageIcon::Information,
                                   MessageButtons::OkCancel) == MessageAnswer::Ok)
        return true;
    outcome_.failure = RadioFailure::Cancelled;
    return false;
}

bool SerialLink::connect(WindowHandle owner) {
    if (!openPort()) {
        outcome_.failure = RadioFailure::PortNotOpened;
        // The fixed text, and under it why, as far as the port tells.
        const std::string text = std::string(radio_text::kOpenFailed) + "\n" +
                                 portOpenFailureText(port_, openError(), device_->lastOpenHolder());
        fail(owner, text.c_str());
        return false;
    }
    if (!contactRadio()) {
        closePort();
        outcome_.failure = RadioFailure::NoContact;
        fail(owner, radio_text::kContactFailed);
        return false;
    }
    return true;
}

int SerialLink::send(const std::string& text) {
    const int written = device_->write(reinterpret_cast<const std::uint8_t*>(text.data()),
                                       static_cast<int>(text.size()));
    // The time the write returned: records are spaced from there.
    if (log_) log_->sent(text, written, clock_->tickMs());
    return written;
}

int SerialLink::receive(std::uint8_t* buffer, int capacity) {
    const int n = device_->read(buffer, capacity);
    if (log_) log_->received(buffer, n, clock_->tickMs());
    return n;
}

void SerialLink::fail(WindowHandle owner, const char* message, bool warning) {
    if (!failure_.empty()) failure_ += ' ';
    failure_ += message;
    const MessageOwner box = MessageOwner::of(owner);
    if (warning) {
        userFeedback().showMessage(box, message, MessageIcon::Warning, MessageButtons::Ok);
    } else {
        showError(box, message);
    }
}

void SerialLink::beginExchange(const char* what) {
    failure_.clear();
    if (log_) log_->begin(what, clock_->tickMs());
}

bool SerialLink::finishExchange(bool ok) {
    if (log_) {
        log_->finish(!failure_.empty() ? failure_
                     : ok              ? radio_log_text::kSuccess
                                       : radio_log_text::kFailedSilently);
    }
    return ok;
}

}  // namespace tarn
