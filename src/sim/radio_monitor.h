#pragma once

#include <array>
#include <cstdint>
#include <set>
#include <string>
#include <string_view>

namespace tarn {

// Faults a real radio or cable can show, for learning and for tests.
struct RadioFaults {
    bool noPrompt = false;    // a carriage return gets no answer
    bool silentDump = false;  // the dump command gets no answer
    int cutShortAt = -1;      // the dump reply stops after this many bytes
    int hangUpAt = -1;        // the line drops after this many bytes of the dump reply
    std::set<std::uint16_t> droppedLines{};  // dump lines left out, by address
    int padTo = -1;           // junk lines stretch the dump reply to exactly this many bytes
    bool lowerCase = false;   // hexadecimal digits in lower case
    bool shuffled = false;    // dump lines out of order
    bool noise = false;       // junk lines between the dump lines
    int corruptAddress = -1;  // a load stores this radio address wrongly
    int trickleMs = 0;        // the dump reply comes one byte every this many ms
};

// The radio's monitor in its RS-232 mode, as the serial link uses it: a carriage
// return is answered with the prompt, "D aaaa llll" with a hexadecimal dump, "L aaaa"
// starts a load of Intel HEX records ending with ":00000001FF", "E" ends the exchange.
// It holds the 2048 bytes at radio addresses 0x1800..0x1FFF; elsewhere reads 0xFF.
class RadioMonitor {
  public:
    static constexpr std::uint16_t kBase = 0x1800;
    static constexpr int kMemorySize = 2048;
    using Memory = std::array<std::uint8_t, kMemorySize>;

    explicit RadioMonitor(RadioFaults faults = {});

    // Bytes from the line; returns what the radio sends back.
    std::string receive(std::string_view bytes);

    Memory& memory() { return memory_; }
    const Memory& memory() const { return memory_; }
    const RadioFaults& faults() const { return faults_; }
    bool hungUp() const { return hungUp_; }
    int loadsCompleted() const { return loadsCompleted_; }
    // How long each byte of the last answer takes at least (0: the line's own speed).
    int answerByteGapMs() const { return dumped_ ? faults_.trickleMs : 0; }

  private:
    void command(std::string& out);
    void loadRecord(const std::string& record);
    std::string dump(unsigned start, unsigned length);
    std::string dumpLine(unsigned address) const;
    static void pad(std::string& reply, std::size_t size);

    RadioFaults faults_;
    Memory memory_{};
    std::string input_;
    bool loading_ = false;
    unsigned loadOffset_ = 0;
    bool hungUp_ = false;
    bool dumped_ = false;  // the last answer holds a dump
    int loadsCompleted_ = 0;
};

}  // namespace tarn
