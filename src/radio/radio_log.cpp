#include "radio/radio_log.h"

#include <algorithm>
#include <cstdio>

namespace tarn {
namespace {

bool isHexRecord(const std::string& bytes) {
    return bytes.size() == 45 && bytes.compare(0, 3, ":10") == 0;
}

// Bytes as a C-like quoted text: CR and LF escaped, other controls in hex.
std::string quoted(const std::string& bytes) {
    std::string out = "\"";
    for (const char c : bytes) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '\r') {
            out += "\\r";
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '"' || c == '\\') {
            out += {'\\', c};
        } else if (u < 0x20 || u >= 0x7F) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", u);
            out += hex;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

std::string hexBytes(const std::string& bytes) {
    std::string out;
    for (const char c : bytes) {
        char hex[4];
        std::snprintf(hex, sizeof hex, "%s%02X", out.empty() ? "" : " ",
                      static_cast<unsigned char>(c));
        out += hex;
    }
    return out;
}

std::string plural(int n, const char* unit) {
    return std::to_string(n) + " " + unit + (n == 1 ? "" : "s");
}

std::string entryText(const RadioLog::Entry& e) {
    char at[16];
    std::snprintf(at, sizeof at, "%8u ms  ", e.atMs);
    using Kind = RadioLog::Entry::Kind;
    switch (e.kind) {
        case Kind::Open:
            return at + std::string(e.bytes ? "opened " : "could not open ") + e.text;
        case Kind::Sent:
            return at + ("sent " + quoted(e.text)) + " (" + plural(e.bytes, "byte") + ")";
        case Kind::Records:
            return at + ("sent " + plural(e.count, "HEX record") + ", the first ") +
                   quoted(e.text) + ", the last at " + std::to_string(e.lastMs) + " ms (" +
                   plural(e.bytes, "byte") + ")";
        case Kind::Reply:
            return at + ("reply " + plural(e.bytes, "byte")) +
                   (e.head.empty() ? "" : "  " + quoted(e.head) + "  " + hexBytes(e.head));
    }
    return at;
}

}  // namespace

void RadioLog::begin(std::string what, std::uint32_t tick) {
    if (exchanges_.size() == kExchangesKept) exchanges_.pop_front();
    exchanges_.push_back({std::move(what), std::time(nullptr), {}, {}});
    startTick_ = tick;
    running_ = true;
}

void RadioLog::opened(const std::string& port, bool ok, std::uint32_t tick) {
    if (!running_) return;
    exchanges_.back().entries.push_back(
        {Entry::Kind::Open, since(tick), 0, port, ok ? 1 : 0, 1, {}});
}

void RadioLog::sent(const std::string& bytes, int written, std::uint32_t tick) {
    if (!running_) return;
    auto& entries = exchanges_.back().entries;
    written = written > 0 ? written : 0;
    if (isHexRecord(bytes) && !entries.empty() && entries.back().kind == Entry::Kind::Records) {
        entries.back().count += 1;
        entries.back().bytes += written;
        entries.back().lastMs = since(tick);
        return;
    }
    const auto kind = isHexRecord(bytes) ? Entry::Kind::Records : Entry::Kind::Sent;
    entries.push_back({kind, since(tick), since(tick), bytes, written, 1, {}});
}

void RadioLog::received(const std::uint8_t* bytes, int count, std::uint32_t tick) {
    if (!running_) return;
    count = count > 0 ? count : 0;
    const std::size_t shown = std::min<std::size_t>(std::size_t(count), kHeadBytes);
    exchanges_.back().entries.push_back({Entry::Kind::Reply,
                                         since(tick),
                                         since(tick),
                                         {},
                                         count,
                                         1,
                                         std::string(bytes, bytes + shown)});
}

void RadioLog::finish(std::string result) {
    if (!running_) return;
    exchanges_.back().result = std::move(result);
    running_ = false;
    if (finishedHook_) finishedHook_();
}

std::string RadioLog::toText() const {
    std::string out;
    for (const Exchange& exchange : exchanges_) {
        char started[32];
        std::strftime(started, sizeof started, "%Y-%m-%d %H:%M:%S",
                      std::localtime(&exchange.startedAt));
        out += exchange.what + ", started " + started + "\n";
        for (const Entry& e : exchange.entries) out += entryText(e) + "\n";
        std::string result = exchange.result.empty() ? "(running)" : exchange.result;
        for (char& c : result) c = c == '\n' ? ' ' : c;
        out += "Result: " + result + "\n\n";
    }
    return out;
}

}  // namespace tarn
