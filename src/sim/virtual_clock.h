#pragma once

#include <cstdint>

#include "radio/clock.h"

namespace tarn {

// A clock that only moves when someone sleeps on it or advances it, so a 40-second
// radio exchange runs in microseconds. Time is kept in microseconds; the tick starts
// at `startTick` (tests start it just below the wrap).
class VirtualClock final : public Clock {
  public:
    explicit VirtualClock(std::uint32_t startTick = 0) : startTick_(startTick) {}

    std::uint32_t tickMs() override {
        return static_cast<std::uint32_t>(startTick_ + nowUs_ / 1000);
    }
    void sleepMs(std::uint32_t ms) override { nowUs_ += std::uint64_t{ms} * 1000; }

    void advanceUs(std::uint64_t us) { nowUs_ += us; }
    void advanceToUs(std::uint64_t us) {
        if (us > nowUs_) nowUs_ = us;
    }
    std::uint64_t nowUs() const { return nowUs_; }

  private:
    std::uint64_t startTick_;
    std::uint64_t nowUs_ = 0;
};

}  // namespace tarn
