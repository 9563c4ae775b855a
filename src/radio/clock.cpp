#include "radio/clock.h"

#include <chrono>
#include <thread>

namespace tarn {
namespace {

class RealClock final : public Clock {
  public:
    explicit RealClock(std::function<void(std::uint32_t)> sleep) : sleep_(std::move(sleep)) {}

    std::uint32_t tickMs() override {
        const auto now = std::chrono::steady_clock::now().time_since_epoch();
        return static_cast<std::uint32_t>(
            std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
    }
    void sleepMs(std::uint32_t ms) override {
        if (sleep_) {
            sleep_(ms);
        } else {
            std::this_thread::sleep_for(std::chrono::milliseconds(ms));
        }
    }

  private:
    std::function<void(std::uint32_t)> sleep_;
};

}  // namespace

std::shared_ptr<Clock> makeRealClock() {
    return std::make_shared<RealClock>(nullptr);
}

std::shared_ptr<Clock> makeRealClock(std::function<void(std::uint32_t ms)> sleep) {
    return std::make_shared<RealClock>(std::move(sleep));
}

void waitUntilElapsed(Clock& clock, std::uint32_t since, std::uint32_t interval) {
    for (;;) {
        const std::uint32_t elapsed = ticksSince(since, clock.tickMs());
        if (elapsed >= interval) return;
        clock.sleepMs(interval - elapsed);
    }
}

}  // namespace tarn
