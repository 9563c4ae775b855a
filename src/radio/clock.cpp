#include "radio/clock.h"

#include <chrono>
#include <thread>

namespace tarn {
namespace {

class RealClock final : public Clock {
  public:
    std::uint32_t tickMs() override {
        const auto now = std::chrono::steady_clock::now().time_since_epoch();
        return static_cast<std::uint32_t>(
            std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
    }
    void sleepMs(std::uint32_t ms) override {
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
    }
};

}  // namespace

std::shared_ptr<Clock> makeRealClock() {
    return std::make_shared<RealClock>();
}

void waitUntilElapsed(Clock& clock, std::uint32_t since, std::uint32_t interval) {
    for (;;) {
        const std::uint32_t elapsed = ticksSince(since, clock.tickMs());
        if (elapsed >= interval) return;
        clock.sleepMs(interval - elapsed);
    }
}

}  // namespace tarn
