#pragma once

#include <cstdint>

#include "model/byte_order.h"
#include "model/client_record.h"

namespace tarn {

// The 8-byte ChannelSlot of channel n, image bytes 8n..8n+7, in the radio's packing:
//
// | byte | content                                                      |
// |------|--------------------------------------------------------------|
// | 0    | ChannelFlag bits                                             |
// | 1    | RX bits 0-7                                                  |
// | 2    | RX bits 8-15                                                 |
// | 3    | low nibble RX bits 16-19, high nibble TX bits 0-3            |
// | 4    | TX bits 4-11                                                 |
// | 5    | TX bits 12-19                                                |
// | 6    | the channel's own number                                     |
// | 7    | 0 as written here; carried unchanged                         |
namespace slot {
inline constexpr int Flags = 0;
inline constexpr int RxLow = 1;
inline constexpr int RxMid = 2;
inline constexpr int Shared = 3;  // RX high nibble / TX low nibble
inline constexpr int TxMid = 4;
inline constexpr int TxHigh = 5;
inline constexpr int Number = 6;
inline constexpr int Spare = 7;
}  // namespace slot

inline constexpr std::uint32_t kFrequencyMask = 0xFFFFF;  // 20 bits

inline std::uint8_t* slotBytes(RadioImage& image, int n) {
    return image.data() + kSlotSize * n;
}
inline const std::uint8_t* slotBytes(const RadioImage& image, int n) {
    return image.data() + kSlotSize * n;
}

inline std::uint32_t slotRx(const std::uint8_t* s) {
    return s[slot::RxLow] | (s[slot::RxMid] << 8) | ((s[slot::Shared] & 0x0Fu) << 16);
}

inline std::uint32_t slotTx(const std::uint8_t* s) {
    return (s[slot::Shared] >> 4) | (s[slot::TxMid] << 4) | (s[slot::TxHigh] << 12);
}

inline void setSlotRx(std::uint8_t* s, std::uint32_t value) {
    s[slot::RxLow] = static_cast<std::uint8_t>(value & 0xFF);
    s[slot::RxMid] = static_cast<std::uint8_t>((value >> 8) & 0xFF);
    s[slot::Shared] = static_cast<std::uint8_t>((s[slot::Shared] & 0xF0) | ((value >> 16) & 0x0F));
}

inline void setSlotTx(std::uint8_t* s, std::uint32_t value) {
    s[slot::Shared] = static_cast<std::uint8_t>((s[slot::Shared] & 0x0F) | ((value & 0x0F) << 4));
    s[slot::TxMid] = static_cast<std::uint8_t>((value >> 4) & 0xFF);
    s[slot::TxHigh] = static_cast<std::uint8_t>((value >> 12) & 0xFF);
}

// Valid (in use): RX not 0 and both frequencies below the limit. Everything else is free.
inline bool slotIsValid(const std::uint8_t* s) {
    std::uint32_t rx = slotRx(s);
    return rx != 0 && rx < kFrequencyLimit && slotTx(s) < kFrequencyLimit;
}

// The same test on the slot's 8 bytes read as one little-endian word (byte k at bits
// 8k..8k+7), for loops over every slot of an image.
inline bool slotWordIsValid(std::uint64_t word) {
    const auto rx = static_cast<std::uint32_t>(word >> 8) & kFrequencyMask;
    const auto tx = static_cast<std::uint32_t>(word >> 28) & kFrequencyMask;
    return rx - 1 < kFrequencyLimit - 1 && tx < kFrequencyLimit;  // rx 0 wraps round
}

}  // namespace tarn
