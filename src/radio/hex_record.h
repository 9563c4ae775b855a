#pragma once

#include <cstdint>
#include <string>

namespace tarn {

// The end-of-file record that closes a load.
inline constexpr const char* kHexEndOfFile = ":00000001FF\r\n";

// The Intel HEX data record of 16 bytes at a load address: 45 characters with the
// checksum and CR LF, upper-case digits.
std::string hexDataRecord(std::uint16_t address, const std::uint8_t* bytes16);

}  // namespace tarn
