#pragma once

#include <cstdint>

namespace tarn {

inline constexpr std::uint32_t kImageBaseAddress = 0x1800;  // radio address of image byte 0
inline constexpr int kMinimumReply = 72;

enum class DumpResult {
    Rejected,    // shorter than 72 bytes, no buffer, or not one complete line
    Incomplete,  // lines came, but data lines did not store every image byte
    Complete,
};

// Reads the radio's hexadecimal dump: CR LF ended lines of 17 numbers (an address,
// then 16 bytes), in any order; other lines are skipped, text after the last CR LF and
// after a NUL is ignored. Lines at radio addresses 0x1800..0x1FFF store their bytes at
// image offset (address - 0x1800), never past the image. The image is written only
// when the result is Complete: every byte of the first min(size, 2048) was stored by
// a data line (bytes beyond 2048 are zero).
DumpResult parseDump(const std::uint8_t* reply, int length, std::uint8_t* image, int size);

// True exactly when parseDump gives Complete.
bool parseDumpReply(const std::uint8_t* reply, int length, std::uint8_t* image, int size);

}  // namespace tarn
