#pragma once

#include <string>
#include <vector>

#include "model/client_record.h"

namespace tarn::test {

// Builds database files byte by byte, including broken ones.
class DatabaseFileBuilder {
  public:
    DatabaseFileBuilder& magic(const std::string& text = std::string("TARN Database file v3", 22)) {
        return append(text);
    }
    DatabaseFileBuilder& dealer(std::string text) {
        text.resize(100, '\0');
        return append(text);
    }
    DatabaseFileBuilder& int16(int value) {
        return append({static_cast<char>(value & 0xFF), static_cast<char>((value >> 8) & 0xFF)});
    }
    DatabaseFileBuilder& record(const ClientRecord& client) {
        std::string data(kSerializedClientSize, '\0');
        client.serialize(reinterpret_cast<std::uint8_t*>(data.data()), kSerializedClientSize);
        return int16(kSerializedClientSize).append(data);
    }
    DatabaseFileBuilder& end(const std::string& t = std::string("[end]", 6)) { return append(t); }
    DatabaseFileBuilder& append(const std::string& text) {
        // Byte by byte: GCC 12 at -O3 misjudges the room of an inlined vector insert or
        // memcpy after an earlier one (a false stringop-overflow warning).
        for (const char c : text) bytes.push_back(static_cast<std::uint8_t>(c));
        return *this;
    }

    std::vector<std::uint8_t> bytes;
};

// The start of every file: the magic text, the dealer text and the client count.
inline DatabaseFileBuilder fileHeader(int count, const std::string& dealer = "File dealer") {
    return DatabaseFileBuilder().magic().dealer(dealer).int16(count);
}

}  // namespace tarn::test
