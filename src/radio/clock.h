#pragma once

#include <cstdint>
#include <functional>
#include <memory>

namespace tarn {

// A millisecond tick counter and a blocking sleep. The tick wraps at 2^32; compare
// ticks only through unsigned differences (ticksSince).
class Clock {
  public:
    virtual ~Clock() = default;
    virtual std::uint32_t tickMs() = 0;
    virtual void sleepMs(std::uint32_t ms) = 0;
};

// The monotonic clock of the machine.
std::shared_ptr<Clock> makeRealClock();
// The same tick with another way to wait (a GUI keeps repainting while it waits); the
// function must return once at least `ms` milliseconds have passed.
std::shared_ptr<Clock> makeRealClock(std::function<void(std::uint32_t ms)> sleep);

// Milliseconds from an earlier tick to a later one, correct across a wrap.
inline std::uint32_t ticksSince(std::uint32_t earlier, std::uint32_t now) {
    return static_cast<std::uint32_t>(now - earlier);
}

// Sleeps until at least `interval` ms have passed since `since`, polling the tick.
void waitUntilElapsed(Clock& clock, std::uint32_t since, std::uint32_t interval);

}  // namespace tarn
