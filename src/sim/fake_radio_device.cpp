#include "sim/fake_radio_device.h"

#include <algorithm>

namespace tarn {
namespace {

constexpr std::uint64_t kReadTimeoutUs = 100'000;

}  // namespace

FakeRadioDevice::FakeRadioDevice(std::shared_ptr<RadioMonitor> radio,
                                 std::shared_ptr<VirtualClock> clock, FakePortFaults faults,
                                 bool paced)
    : radio_(std::move(radio)), clock_(std::move(clock)), faults_(faults), paced_(paced) {}

void FakeRadioDevice::log(std::string what, std::string bytes) {
    events_->push_back({clock_->nowUs(), std::move(what), std::move(bytes)});
}

bool FakeRadioDevice::open(const std::string& name) {
    log("open " + name);
    // A second open of the port is refused, as a port held by another program.
    openError_ = faults_.missing  ? OpenError::Missing
                 : faults_.denied ? OpenError::PermissionDenied
                 : open_          ? OpenError::Busy
                                  : OpenError::None;
    if (openError_ != OpenError::None) return false;
    open_ = true;
    incoming_.clear();  // a fresh port holds no stale input
    return true;
}

bool FakeRadioDevice::applyLineSettings() {
    log("line");
    return open_ && !faults_.lineSettingsFail;
}

bool FakeRadioDevice::applyTimeouts() {
    log("timeouts");
    return open_ && !faults_.timeoutsFail;
}

void FakeRadioDevice::setModemLine(ModemLine line, bool raised) {
    log(std::string(line == ModemLine::Rts ? "RTS" : "DTR") + (raised ? "+" : "-"));
}

int FakeRadioDevice::write(const std::uint8_t* bytes, int length) {
    const std::string text(reinterpret_cast<const char*>(bytes), static_cast<size_t>(length));
    log("write", text);
    if (!open_ || faults_.writesFail || radio_->hungUp() || length <= 0) return 0;
    // The bytes leave one by one; the radio answers what it has heard as it hears it.
    for (const char c : text) {
        if (paced_) clock_->advanceUs(kByteUs);
        const std::string answer = radio_->receive(std::string_view(&c, 1));
        const std::uint64_t gapUs = std::uint64_t{1000} * radio_->answerByteGapMs();
        for (const char a : answer) {
            std::uint64_t at = clock_->nowUs();
            if (paced_) {
                lineFreeUs_ = std::max(lineFreeUs_, at) + std::max(kByteUs, gapUs);
                at = lineFreeUs_;
            }
            incoming_.push_back({at, a});
        }
    }
    return length;
}

int FakeRadioDevice::read(std::uint8_t* buffer, int capacity) {
    log("read");
    if (!open_ || capacity <= 0) return 0;
    auto arrived = [&] {
        int n = 0;
        while (n < capacity && !incoming_.empty() &&
               incoming_.front().arrivesUs <= clock_->nowUs()) {
            buffer[n++] = static_cast<std::uint8_t>(incoming_.front().byte);
            incoming_.pop_front();
        }
        return n;
    };
    int n = arrived();
    if (n == 0) {
        // Nothing buffered: wait up to 100 ms for the first byte and return with it.
        const std::uint64_t limit = clock_->nowUs() + kReadTimeoutUs;
        if (!incoming_.empty() && incoming_.front().arrivesUs <= limit) {
            clock_->advanceToUs(incoming_.front().arrivesUs);
            n = arrived();
        } else {
            clock_->advanceToUs(limit);
        }
    }
    events_->back().bytes.assign(reinterpret_cast<const char*>(buffer), static_cast<size_t>(n));
    return n;
}

void FakeRadioDevice::inject(const std::string& bytes) {
    for (const char c : bytes) incoming_.push_back({clock_->nowUs(), c});
}

void FakeRadioDevice::close() {
    log("close");
    open_ = false;
}

std::vector<FakeRadioDevice::Event> FakeRadioDevice::writes() const {
    std::vector<Event> out;
    std::copy_if(events_->begin(), events_->end(), std::back_inserter(out),
                 [](const Event& e) { return e.what == "write"; });
    return out;
}

SerialDeviceFactory fakeRadioFactory(std::shared_ptr<RadioMonitor> radio,
                                     std::shared_ptr<VirtualClock> clock, FakePortFaults faults) {
    return [radio, clock, faults] {
        return SerialConnection{std::make_unique<FakeRadioDevice>(radio, clock, faults), clock};
    };
}

}  // namespace tarn
