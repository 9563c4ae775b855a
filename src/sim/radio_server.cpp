#include "sim/radio_server.h"

#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>

namespace tarn {
namespace {

constexpr long long kByteNs = 10'000'000'000LL / 4800;  // 10 bits at 4800 baud
constexpr long long kDropDelayNs = 1'000'000'000LL;

long long nowNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

}  // namespace

RadioServer::RadioServer(RadioMonitor& radio, PtyLine& line, bool paced, bool verbose)
    : radio_(radio), line_(line), paced_(paced), verbose_(verbose) {}

bool RadioServer::sendDue(long long now) {
    if (pending_.empty()) return true;
    // A byte is on the far end once its ten bits have gone: byte i at start + (i+1) bytes.
    long long due = static_cast<long long>(pending_.size());
    if (paced_) due = std::min(due, (now - burstStartNs_) / burstByteNs_ - burstSent_);
    if (due <= 0) return true;
    const ssize_t n = ::write(line_.masterFd(), pending_.data(), static_cast<size_t>(due));
    if (n < 0) {
        blocked_ = errno == EAGAIN;
        return errno == EAGAIN || errno == EINTR;
    }
    blocked_ = n < due;
    pending_.erase(0, static_cast<size_t>(n));
    burstSent_ += n;
    return true;
}

long long RadioServer::nextDueNs() const {
    return burstStartNs_ + (burstSent_ + 1) * burstByteNs_;
}

void RadioServer::run(volatile std::sig_atomic_t& stop, volatile std::sig_atomic_t& saveRequest,
                      const std::function<void()>& save) {
    char buffer[4096];
    while (!stop) {
        if (saveRequest) {
            saveRequest = 0;
            save();
        }
        if (!sendDue(nowNs())) return;
        int timeoutMs = -1;
        if (radio_.hungUp() && pending_.empty()) {
            // The line drops a moment after the last byte: a pty throws away what its
            // reader has not yet taken, where a real port keeps what it received.
            if (dropAtNs_ == 0) dropAtNs_ = nowNs() + kDropDelayNs;
            if (nowNs() >= dropAtNs_) {
                if (verbose_) std::fprintf(stderr, "radio: hanging up\n");
                line_.hangUp();
                return;
            }
            timeoutMs = static_cast<int>((dropAtNs_ - nowNs()) / 1'000'000 + 1);
        }
        if (!pending_.empty()) {
            if (blocked_ || !paced_)
                timeoutMs = 50;
            else
                timeoutMs = static_cast<int>((nextDueNs() - nowNs() + 999'999) / 1'000'000);
            if (timeoutMs < 0) timeoutMs = 0;
        }
        pollfd pfd{line_.masterFd(), static_cast<short>(POLLIN | (blocked_ ? POLLOUT : 0)), 0};
        if (::poll(&pfd, 1, timeoutMs) <= 0 || !(pfd.revents & POLLIN)) continue;
        const ssize_t n = ::read(line_.masterFd(), buffer, sizeof buffer);
        if (n <= 0) continue;
        const int loads = radio_.loadsCompleted();
        const std::string answer = radio_.receive(std::string_view(buffer, static_cast<size_t>(n)));
        if (verbose_) std::fprintf(stderr, "radio: got %zd bytes, answers %zu\n", n, answer.size());
        if (radio_.loadsCompleted() != loads) {
            if (verbose_) std::fprintf(stderr, "radio: load complete\n");
            save();
        }
        if (!answer.empty()) {
            if (pending_.empty()) {
                burstStartNs_ = nowNs();
                burstSent_ = 0;
                burstByteNs_ = std::max(kByteNs, radio_.answerByteGapMs() * 1'000'000LL);
            }
            pending_ += answer;
        }
    }
}

}  // namespace tarn
