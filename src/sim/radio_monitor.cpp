#include "sim/radio_monitor.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <random>
#include <vector>

namespace tarn {
namespace {

constexpr const char* kPrompt = "# ";

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// `pattern` uses 'h' for one hexadecimal digit.
bool matchesPrefix(const std::string& text, std::string_view pattern) {
    if (text.size() > pattern.size()) return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (pattern[i] == 'h' ? hexValue(text[i]) < 0 : text[i] != pattern[i]) return false;
    }
    return true;
}

unsigned hexField(const std::string& text, std::size_t at, std::size_t digits) {
    unsigned value = 0;
    for (std::size_t i = at; i < at + digits; ++i) value = value * 16 + unsigned(hexValue(text[i]));
    return value;
}

// Lines a radio or a noisy cable can put between the data lines; none is a data line
// for the image (too few numbers, or an address outside it).
const char* const kNoiseLines[] = {
    "#",           "?",
    "ERR 7",       "1800 00 11 22",
    "D 1800 0800", "2000 FF FF FF FF FF FF FF FF FF FF FF FF FF FF FF FF  ................",
};

}  // namespace

RadioMonitor::RadioMonitor(RadioFaults faults) : faults_(std::move(faults)) {}

std::string RadioMonitor::receive(std::string_view bytes) {
    std::string out;
    dumped_ = false;
    for (const char c : bytes) {
        if (hungUp_) break;
        if (loading_) {
            if (c == '\r' || c == '\n') {
                if (!input_.empty()) loadRecord(input_);
                input_.clear();
            } else if (input_.size() < 600) {
                input_ += c;
            }
            continue;
        }
        if (c == '\n') continue;
        if (c == '\r') {
            if (!faults_.noPrompt) out += input_.empty() ? "\r\n# " : "\r\n?\r\n# ";
            input_.clear();
            continue;
        }
        input_ += c;
        command(out);
    }
    return out;
}

void RadioMonitor::command(std::string& out) {
    if (input_ == "E") {
        input_.clear();
    } else if (input_.size() == 11 && matchesPrefix(input_, "D hhhh hhhh")) {
        if (!faults_.silentDump) out += dump(hexField(input_, 2, 4), hexField(input_, 7, 4));
        dumped_ = true;
        input_.clear();
    } else if (input_.size() == 6 && matchesPrefix(input_, "L hhhh")) {
        loading_ = true;
        loadOffset_ = hexField(input_, 2, 4);
        input_.clear();
    } else if (input_.size() > 32) {
        input_.clear();  // junk that never became a command
    }
}

void RadioMonitor::loadRecord(const std::string& record) {
    std::vector<unsigned> bytes;
    bool wellFormed = record.size() >= 11 && record[0] == ':' && record.size() % 2 == 1;
    for (std::size_t i = 1; wellFormed && i + 1 < record.size(); i += 2) {
        if (hexValue(record[i]) < 0 || hexValue(record[i + 1]) < 0)
            wellFormed = false;
        else
            bytes.push_back(hexField(record, i, 2));
    }
    unsigned sum = 0;
    for (unsigned b : bytes) sum += b;
    if (!wellFormed || bytes.size() != bytes[0] + 5u || (sum & 0xFF) != 0) {
        return;
    }
    const unsigned address = ((bytes[1] << 8) | bytes[2]) + loadOffset_;
    if (bytes[3] == 1) {
        loading_ = false;
        ++loadsCompleted_;
        return;
    }
    if (bytes[3] != 0) return;
    for (unsigned i = 0; i < bytes[0]; ++i) {
        const unsigned at = (address + i) & 0xFFFF;
        if (at < kBase || at >= kBase + kMemorySize) continue;
        std::uint8_t value = static_cast<std::uint8_t>(bytes[4 + i]);
        if (static_cast<int>(at) == faults_.corruptAddress)
            value = static_cast<std::uint8_t>(~value);
        memory_[at - kBase] = value;
    }
}

// Inserts lines of dots before the closing prompt until the reply has `size` bytes.
void RadioMonitor::pad(std::string& reply, std::size_t size) {
    const std::size_t prompt = std::strlen(kPrompt);
    std::string filler;
    for (std::size_t need = size > reply.size() ? size - reply.size() : 0; need > 0;) {
        const std::size_t line = std::min<std::size_t>(need, 64);
        filler += line >= 2 ? std::string(line - 2, '.') + "\r\n" : std::string(line, ' ');
        need -= line;
    }
    reply.insert(reply.size() - prompt, filler);
}

std::string RadioMonitor::dumpLine(unsigned address) const {
    const bool lower = faults_.lowerCase;
    char text[80];
    int pos = std::snprintf(text, sizeof text, lower ? "%04x" : "%04X", address);
    std::string chars;
    for (unsigned i = 0; i < 16; ++i) {
        const unsigned at = (address + i) & 0xFFFF;
        const unsigned value =
            at >= kBase && at < kBase + kMemorySize ? memory_[at - kBase] : 0xFFu;
        pos += std::snprintf(text + pos, sizeof text - static_cast<size_t>(pos),
                             lower ? " %02x" : " %02X", value);
        chars += value >= 0x20 && value < 0x7F ? static_cast<char>(value) : '.';
    }
    return std::string(text) + "  " + chars + "\r\n";
}

std::string RadioMonitor::dump(unsigned start, unsigned length) {
    std::vector<unsigned> addresses;
    for (unsigned a = start & ~0xFu; a < start + length && a <= 0xFFF0; a += 16) {
        if (!faults_.droppedLines.count(static_cast<std::uint16_t>(a))) addresses.push_back(a);
    }
    if (faults_.shuffled) std::shuffle(addresses.begin(), addresses.end(), std::mt19937(1993));

    std::string reply = input_ + "\r\n";  // the monitor echoes the command
    std::size_t noise = 0;
    for (std::size_t i = 0; i < addresses.size(); ++i) {
        if (faults_.noise && i % 10 == 5)
            reply += std::string(kNoiseLines[noise++ % std::size(kNoiseLines)]) + "\r\n";
        reply += dumpLine(addresses[i]);
    }
    reply += kPrompt;
    if (faults_.padTo > 0) pad(reply, static_cast<std::size_t>(faults_.padTo));

    if (faults_.hangUpAt >= 0 && reply.size() > static_cast<std::size_t>(faults_.hangUpAt)) {
        reply.resize(static_cast<std::size_t>(faults_.hangUpAt));
        hungUp_ = true;
    }
    if (faults_.cutShortAt >= 0 && reply.size() > static_cast<std::size_t>(faults_.cutShortAt))
        reply.resize(static_cast<std::size_t>(faults_.cutShortAt));
    return reply;
}

}  // namespace tarn
