#include "radio/dump_parser.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <vector>

#include "model/client_record.h"

namespace tarn {
namespace {

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// One "%X" conversion: white space, an optional sign, an optional "0x", hex digits.
bool readHex(const char*& p, const char* end, std::uint32_t& value) {
    while (p < end && std::isspace(static_cast<unsigned char>(*p))) ++p;
    bool negative = false;
    if (p < end && (*p == '+' || *p == '-')) negative = *p++ == '-';
    if (end - p >= 3 && p[0] == '0' && (p[1] == 'x' || p[1] == 'X') && hexDigit(p[2]) >= 0) p += 2;
    if (p == end || hexDigit(*p) < 0) return false;
    std::uint32_t v = 0;
    for (; p < end && hexDigit(*p) >= 0; ++p)
        v = v * 16u + static_cast<std::uint32_t>(hexDigit(*p));
    value = negative ? 0u - v : v;
    return true;
}

// A data line: exactly the first 17 numbers count, anything after them is ignored.
bool readDataLine(const char* p, const char* end, std::uint32_t (&numbers)[17]) {
    for (auto& n : numbers) {
        if (!readHex(p, end, n)) return false;
    }
    return true;
}

}  // namespace

DumpResult parseDump(const std::uint8_t* reply, int length, std::uint8_t* image, int size) {
    if (!reply || !image || size <= 0 || length < kMinimumReply) return DumpResult::Rejected;
    // The reply is text: a NUL ends it.
    const char* text = reinterpret_cast<const char*>(reply);
    const char* end = static_cast<const char*>(std::memchr(text, 0, static_cast<size_t>(length)));
    if (!end) end = text + length;

    const int covered = std::min(size, kImageSize);
    std::vector<std::uint8_t> bytes(static_cast<size_t>(size), 0);
    std::vector<bool> stored(static_cast<size_t>(covered), false);
    bool lineSeen = false;
    for (const char* line = text;;) {
        const char* cr = line;
        while (cr + 1 < end && !(cr[0] == '\r' && cr[1] == '\n')) ++cr;
        if (cr + 1 >= end) break;
        lineSeen = true;
        std::uint32_t numbers[17];
        if (readDataLine(line, cr, numbers) && numbers[0] >= kImageBaseAddress &&
            numbers[0] < kImageBaseAddress + kImageSize) {
            const int offset = static_cast<int>(numbers[0] - kImageBaseAddress);
            for (int i = 0; i < 16 && offset + i < covered; ++i) {
                bytes[static_cast<size_t>(offset + i)] = static_cast<std::uint8_t>(numbers[1 + i]);
                stored[static_cast<size_t>(offset + i)] = true;
            }
        }
        line = cr + 2;
    }
    if (!lineSeen) return DumpResult::Rejected;
    if (std::find(stored.begin(), stored.end(), false) != stored.end())
        return DumpResult::Incomplete;
    std::copy(bytes.begin(), bytes.end(), image);
    return DumpResult::Complete;
}

bool parseDumpReply(const std::uint8_t* reply, int length, std::uint8_t* image, int size) {
    return parseDump(reply, length, image, size) == DumpResult::Complete;
}

}  // namespace tarn
