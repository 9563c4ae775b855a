#include "radio/hex_record.h"

#include <cstdio>

namespace tarn {

std::string hexDataRecord(std::uint16_t address, const std::uint8_t* bytes16) {
    unsigned sum = 0x10u + (address >> 8) + (address & 0xFFu);
    char text[46];
    int pos = std::snprintf(text, sizeof text, ":10%04X00", static_cast<unsigned>(address));
    for (int i = 0; i < 16; ++i) {
        sum += bytes16[i];
        pos += std::snprintf(text + pos, sizeof text - static_cast<size_t>(pos), "%02X",
                             static_cast<unsigned>(bytes16[i]));
    }
    std::snprintf(text + pos, sizeof text - static_cast<size_t>(pos), "%02X\r\n",
                  (0x100u - (sum & 0xFFu)) & 0xFFu);
    return std::string(text, 45);
}

}  // namespace tarn
