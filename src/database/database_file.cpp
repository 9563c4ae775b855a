// The database file (".tdb"): ClientDatabase::load and ClientDatabase::save.
//
// All integers little-endian:
//
// | offset | size        | content                                                   |
// |--------|-------------|-----------------------------------------------------------|
// | 0      | 22          | magic "TARN Database file v3" and a NUL                   |
// | 22     | 100         | dealer text field as held (text, NUL, meaningless rest)   |
// | 122    | 2           | client count N, written unsigned, read signed             |
// | 124    | N x (2 + L) | per client: record length L (signed 16), L bytes of the   |
// |        |             | serialised client; this system writes L = 10257           |
// | after  | 6           | end marker "[end]" and a NUL; later bytes are ignored     |
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "database/client_database.h"
#include "database/replace_file.h"
#include "model/byte_order.h"
#include "model/user_feedback.h"
#include "settings/settings_store.h"

namespace tarn {
namespace {

constexpr char kMagic[] = "TARN Database file v3";
constexpr int kMagicSize = 22;
constexpr int kCountSize = 2;
constexpr int kLengthSize = 2;
constexpr char kEndMarker[] = "[end]";
constexpr int kEndMarkerSize = 6;
constexpr int kRecordBufferSize = 20480;  // longest record length read
constexpr int kHeaderSize = kMagicSize + kDealerTextSize + kCountSize;

void fail(const char* text) {
    showError(MessageOwner::none(), text);
}

// Closes the file however the load ends.
struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

std::size_t readBytes(std::FILE* file, void* buffer, std::size_t size) {
    return std::fread(buffer, 1, size, file);
}

// Reads up to `size` bytes and compares them, ended by a NUL, with a text.
bool readsAsText(std::FILE* file, int size, const char* expected) {
    char buffer[kMagicSize + 1] = {};
    std::size_t got = readBytes(file, buffer, static_cast<std::size_t>(size));
    buffer[got] = '\0';
    return std::strcmp(buffer, expected) == 0;
}

}  // namespace

int ClientDatabase::load(const std::string& path) {
    std::error_code error;
    File file(std::filesystem::is_directory(path, error) ? nullptr
                                                         : std::fopen(path.c_str(), "rb"));
    if (!file) {
        fail("Could not open database file");
        return 0;
    }
    if (!readsAsText(file.get(), kMagicSize, kMagic)) {
        fail("File does not appear to be a database file");
        return 0;
    }

    // Everything is staged, so a failed load leaves the database as it was.
    std::array<char, kDealerTextSize> dealer{};
    readBytes(file.get(), dealer.data(), dealer.size());
    std::uint8_t countBytes[kCountSize] = {};
    // A file ending before its count holds no information.
    const int count = readBytes(file.get(), countBytes, kCountSize) == kCountSize
                          ? static_cast<std::int16_t>(readLe16(countBytes))
                          : 0;
    if (count < 1) {
        fail("Database file does not contain any information");
        return 0;
    }
    if (count > kMaxClients) {
        fail("Database file is invalid/corrupted");
        return 0;
    }

    std::vector<std::unique_ptr<ClientRecord>> loaded;
    loaded.reserve(static_cast<std::size_t>(count));
    std::vector<std::uint8_t> record(kRecordBufferSize);
    for (int i = 0; i < count; ++i) {
        std::uint8_t lengthBytes[kLengthSize];
        const bool haveLength = readBytes(file.get(), lengthBytes, kLengthSize) == kLengthSize;
        const int length = haveLength ? static_cast<std::int16_t>(readLe16(lengthBytes)) : -1;
        if (length < 0 || length > kRecordBufferSize ||
            readBytes(file.get(), record.data(), static_cast<std::size_t>(length)) !=
                static_cast<std::size_t>(length)) {
            fail("Database file is invalid/corrupted");
            return 0;
        }
        // A record of another length is refused by deserialize: a default client.
        loaded.push_back(std::make_unique<ClientRecord>());
        loaded.back()->deserialize(record.data(), length);
    }
    if (!readsAsText(file.get(), kEndMarkerSize, kEndMarker)) {
        fail("Database file is corrupted");
        return 0;
    }
    file.reset();

    dealerText_ = dealer;
    clients_ = std::move(loaded);
    modified_ = 0;
    settings().addRecentFile(path);
    return 1;
}

int ClientDatabase::save(const std::string& path) {
    if (clients_.empty()) {
        fail("No data to save");
        return 0;
    }
    // The whole file is built in memory and then replaces the old one in one step.
    std::vector<std::uint8_t> bytes(
        kHeaderSize + clients_.size() * (kLengthSize + kSerializedClientSize) + kEndMarkerSize);
    std::uint8_t* out = bytes.data();
    std::memcpy(out, kMagic, kMagicSize);
    std::memcpy(out + kMagicSize, dealerText_.data(), kDealerTextSize);
    writeLe16(out + kMagicSize + kDealerTextSize, static_cast<std::uint16_t>(clients_.size()));
    out += kHeaderSize;
    for (const auto& client : clients_) {
        const int length = client->serialize(out + kLengthSize, kSerializedClientSize);
        writeLe16(out, static_cast<std::uint16_t>(length));
        out += kLengthSize + length;
    }
    std::memcpy(out, kEndMarker, kEndMarkerSize);

    switch (replaceFile(path, bytes)) {
        case ReplaceResult::CannotCreate:
            fail("Failed to create/open database file");
            return 0;
        case ReplaceResult::WriteFailed:
            fail("Failed to write database file");
            return 0;
        case ReplaceResult::Written:
            break;
    }
    modified_ = 0;
    settings().addRecentFile(path);
    return 1;
}

}  // namespace tarn
