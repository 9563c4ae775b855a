#pragma once

#include <csignal>
#include <functional>

#include "sim/pty_line.h"
#include "sim/radio_monitor.h"

namespace tarn {

// Serves a RadioMonitor on a pseudo-terminal: feeds it what clients send and sends its
// answers, paced at 4800 baud (10 bits a byte) unless pacing is off.
class RadioServer {
  public:
    RadioServer(RadioMonitor& radio, PtyLine& line, bool paced, bool verbose);

    // Runs until `stop` is set or the radio hangs up. `save` is called after every
    // completed load and whenever `saveRequest` is set (which it clears).
    void run(volatile std::sig_atomic_t& stop, volatile std::sig_atomic_t& saveRequest,
             const std::function<void()>& save);

  private:
    bool sendDue(long long nowNs);  // false once the line is gone
    long long nextDueNs() const;

    RadioMonitor& radio_;
    PtyLine& line_;
    bool paced_;
    bool verbose_;
    std::string pending_;         // answer bytes not yet on the line
    long long burstStartNs_ = 0;  // when the current run of answer bytes began
    long long burstSent_ = 0;
    long long burstByteNs_ = 10'000'000'000LL / 4800;  // what each byte of the run takes
    bool blocked_ = false;                             // the pty buffer was full at the last try
    long long dropAtNs_ = 0;                           // when a hung-up radio drops the line
};

}  // namespace tarn
