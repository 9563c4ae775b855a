// The dump parser: which replies give an image, and what lands where.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <string>

#include "radio/dump_parser.h"

namespace tarn {
namespace {

using Image = std::array<std::uint8_t, 2048>;

std::string line(unsigned address, unsigned first, const char* format = "%04X",
                 const char* byte = " %02X", const char* tail = "") {
    char text[32];
    std::snprintf(text, sizeof text, format, address);
    std::string out = text;
    for (unsigned i = 0; i < 16; ++i) {
        std::snprintf(text, sizeof text, byte, (first + i) & 0xFF);
        out += text;
    }
    return out + tail + "\r\n";
}

// All 128 lines, line k holding k*16 + i at position i.
std::string fullDump(const char* format = "%04X", const char* byte = " %02X",
                     const char* tail = "") {
    std::string out;
    for (unsigned a = 0; a < 2048; a += 16) out += line(0x1800 + a, a, format, byte, tail);
    return out;
}

DumpResult parse(const std::string& reply, std::uint8_t* image, int size = 2048) {
    return parseDump(reinterpret_cast<const std::uint8_t*>(reply.data()),
                     static_cast<int>(reply.size()), image, size);
}

TEST(DumpParser, AcceptsTheFormsARadioMaySend) {
    std::string reordered;  // lines backwards, a stale first line, stray lines, wide values
    for (int a = 2048 - 16; a >= 0; a -= 16) reordered += line(0x1800 + a, unsigned(a));
    // 0x100 stores 0x00 and -0xFFFE stores 0x02: a byte keeps its low 8 bits.
    reordered.replace(reordered.rfind("1800 00 01 02"), 13, "1800 100 01 -FFFE");
    reordered = line(0x1800, 0xEE) + "#\r\n" + "1800 01 02\r\n" + line(0x17F0, 0x55) +
                line(0x2000, 0x66) + reordered;
    const struct {
        const char* name;
        std::string reply;
    } cases[] = {
        {"upper case", fullDump()},
        {"lower case", fullDump("%04x", " %02x")},
        {"0x prefixes", fullDump("0x%04X", " 0x%02x")},
        {"0X prefixes", fullDump("0X%04x", " 0X%02X")},
        {"tabs and runs of blanks", fullDump("  %04X", "\t %02X")},
        {"echo and prompt", "D 1800 0800\r\n" + fullDump() + "# "},
        {"extra columns after the 16th byte", fullDump("%04X", " %02X", "  ..ab.. 99 77")},
        {"a NUL after the last line", fullDump() + '\0' + "garbage\r\n"},
        {"reordered", reordered},
    };
    Image counting;
    for (unsigned n = 0; n < 2048; ++n) counting[n] = std::uint8_t(n);
    for (const auto& c : cases) {
        Image image{};
        EXPECT_EQ(parse(c.reply, image.data()), DumpResult::Complete) << c.name;
        EXPECT_EQ(image, counting) << c.name;
    }
}

TEST(DumpParser, RefusesRepliesThatCarryNoImageAndLeavesTheBufferAlone) {
    using enum DumpResult;
    Image image;
    image.fill(0x77);
    const std::string full = fullDump();
    const struct {
        const char* name;
        std::string reply;
        DumpResult result;
    } cases[] = {
        {"71 bytes", full.substr(0, 71), Rejected},
        {"no CR LF at all", std::string(200, 'x'), Rejected},
        {"LF without CR", std::string(100, 'x') + "\ny", Rejected},
        {"lines of no data", std::string(80, '#') + "\r\n", Incomplete},
        {"last line without CR LF", full.substr(0, full.size() - 2), Incomplete},
        {"a line missing in the middle", full.substr(0, 54 * 5) + full.substr(54 * 6), Incomplete},
        {"NUL before the end", full.substr(0, 3456) + '\0' + full.substr(3456), Incomplete},
        {"NUL within the first 72 bytes", '\0' + full, Rejected},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(parse(c.reply, image.data()), c.result) << c.name;
        EXPECT_TRUE(image[0] == 0x77 && image[2047] == 0x77) << c.name;
    }
    EXPECT_FALSE(parseDumpReply(nullptr, 9000, image.data(), 2048));
    EXPECT_EQ(parse(full, nullptr), Rejected);
}

TEST(DumpParser, OnlyTheImagesOwnBytesAreStoredAndNeeded) {
    // Guard bytes after the image survive a line at 0x1FF8.
    std::array<std::uint8_t, 2048 + 16> buffer;
    buffer.fill(0xCC);
    ASSERT_EQ(parse(fullDump() + line(0x1FF8, 0xA0), buffer.data()), DumpResult::Complete);
    for (int i = 0; i < 8; ++i) EXPECT_EQ(buffer[2040 + i], 0xA0 + i);
    for (int i = 2048; i < 2048 + 16; ++i) EXPECT_EQ(buffer[i], 0xCC);
}

}  // namespace
}  // namespace tarn
