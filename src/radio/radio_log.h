#pragma once

#include <cstdint>
#include <ctime>
#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace tarn {

// A transcript of the last radio exchanges (a Read, or a Write with its read-back), so
// a dealer with a bad cable can see where the line stops. Times are milliseconds since
// the exchange started, on the link's clock. Recording never touches the line.
class RadioLog {
  public:
    static constexpr std::size_t kExchangesKept = 10;
    static constexpr std::size_t kHeadBytes = 16;  // of each reply, shown as text and hex

    struct Entry {
        enum class Kind { Open, Sent, Records, Reply };
        Kind kind;
        std::uint32_t atMs;    // when it happened (for Records: the first one)
        std::uint32_t lastMs;  // Records: when the last one went
        std::string text;      // Open: the port; Sent: the bytes; Records: the first record
        int bytes = 0;         // bytes moved (Open: 1 when it opened, else 0)
        int count = 1;         // Records: how many
        std::string head;      // Reply: the first bytes
    };
    struct Exchange {
        std::string what;  // "Read", "Write"
        std::time_t startedAt = 0;
        std::vector<Entry> entries;
        std::string result;  // empty while it runs
    };

    void begin(std::string what, std::uint32_t tick);
    // Each is ignored while no exchange runs.
    void opened(const std::string& port, bool ok, std::uint32_t tick);
    void sent(const std::string& bytes, int written, std::uint32_t tick);
    void received(const std::uint8_t* bytes, int count, std::uint32_t tick);
    void finish(std::string result);

    const std::deque<Exchange>& exchanges() const { return exchanges_; }
    bool running() const { return running_; }
    std::string toText() const;
    // Called after each exchange ends (the desktop's log window refreshes); empty: nothing.
    void setFinishedHook(std::function<void()> hook) { finishedHook_ = std::move(hook); }

  private:
    std::uint32_t since(std::uint32_t tick) const { return tick - startTick_; }

    std::deque<Exchange> exchanges_;
    std::uint32_t startTick_ = 0;
    bool running_ = false;
    std::function<void()> finishedHook_;
};

// The result of an exchange as the transcript shows it.
namespace radio_log_text {
inline constexpr const char* kSuccess = "Success";
inline constexpr const char* kFailedSilently = "Failed (no message shown)";
}  // namespace radio_log_text

}  // namespace tarn
