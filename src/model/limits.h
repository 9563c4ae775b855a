#pragma once

#include <cstdint>

// What a client, its channels and a database may hold: the one table the edit dialogs,
// the CSV import and tarn-cli check against, so that what one accepts the others accept.
namespace tarn {

// Fixed text fields of the records, their NUL included. Their texts are 8-bit
// (text_codec.h): one byte is one character.
inline constexpr int kNameSize = 32;
inline constexpr int kSerialSize = 16;  // one byte more (always NUL) follows in the record
inline constexpr int kLabelSize = 32;
inline constexpr int kDealerTextSize = 100;

// The longest texts that can be typed or imported. A file of other origin may fill a
// serial's 16 bytes or a label's 32: such a serial is kept and shown whole but never
// typed or imported; such a label is shown and exported with 31 characters.
inline constexpr int kNameLength = kNameSize - 1;
inline constexpr int kSerialLength = kSerialSize - 1;
inline constexpr int kLabelLength = kLabelSize - 1;
inline constexpr int kDealerTextLength = kDealerTextSize - 1;
inline constexpr int kSelcallDigits = 4;

inline constexpr int kChannelCount = 255;  // channel numbers 1..255
inline constexpr int kScanLimit = 8;       // scan channels of one client
inline constexpr int kMaxClients = 1000;   // clients of one database

// Frequencies in units of 100 Hz (tenths of a kHz). The channel table holds values below
// the limit; typed and imported ones start at the lowest RX and TX the radio tunes.
inline constexpr std::uint32_t kFrequencyLimit = 300000;  // 30000.0 kHz, exclusive
inline constexpr std::uint32_t kLowestRx = 5000;          // 500.0 kHz
inline constexpr std::uint32_t kLowestTx = 18000;         // 1800.0 kHz

// Whether an RX (`which` 0) or TX (non-zero) frequency in tenths of a kHz may be typed or
// imported.
constexpr bool frequencyAccepted(int which, long long tenths) {
    return tenths >= (which ? kLowestTx : kLowestRx) && tenths < kFrequencyLimit;
}

}  // namespace tarn
