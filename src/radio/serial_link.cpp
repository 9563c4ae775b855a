#include "radio/serial_link.h"

#include "model/user_feedback.h"
#include "radio/radio_texts.h"
#include "settings/settings_store.h"

namespace tarn {

SerialLink::SerialLink() {
    SerialConnection connection = makeSerialConnection();
    device_ = std::move(connection.device);
    clock_ = std::move(connection.clock);
    if (!device_) device_ = makePlatformSerialDevice();
    if (!clock_) clock_ = makeRealClock();
}

SerialLink::SerialLink(std::unique_ptr<SerialDevice> device, std::shared_ptr<Clock> clock)
    : device_(std::move(device)), clock_(std::move(clock)) {
    if (!device_) device_ = makePlatformSerialDevice();
    if (!clock_) clock_ = makeRealClock();
}

SerialLink::~SerialLink() {
    closePort();
}

bool SerialLink::openPort() {
    closePort();
    const std::string name = portOverride_ ? *portOverride_ : settings().port();
    if (!device_->open(name)) return false;
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
        const std::uint8_t cr = 0x0D;
        if (device_->write(&cr, 1) < 1) return false;
        clock_->sleepMs(300);
        std::uint8_t answer[64];
        const int n = device_->read(answer, sizeof answer);
        for (int i = 0; i < n; ++i) {
            if (answer[i] == '#') return true;
        }
    }
    return false;
}

bool SerialLink::connect(WindowHandle owner) {
    if (!openPort()) {
        outcome_.failure = RadioFailure::PortNotOpened;
        showError(MessageOwner::of(owner), radio_text::kOpenFailed);
        return false;
    }
    if (!contactRadio()) {
        closePort();
        outcome_.failure = RadioFailure::NoContact;
        showError(MessageOwner::of(owner), radio_text::kContactFailed);
        return false;
    }
    return true;
}

int SerialLink::send(const std::string& text) {
    return device_->write(reinterpret_cast<const std::uint8_t*>(text.data()),
                          static_cast<int>(text.size()));
}

}  // namespace tarn
