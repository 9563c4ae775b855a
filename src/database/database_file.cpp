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
#include <optional>

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

// The most of a file a load ever looks at: the header, 1000 records of the longest
// length read, and the end marker. Reading it in one piece keeps loads fast.
constexpr std::size_t kLongestUsefulFile =
    kHeaderSize + kMaxClients * (kLengthSize + kRecordBufferSize) + kEndMarkerSize;

// The first bytes of a file, in storage that is not cleared before it is filled.
struct FileBytes {
    std::unique_ptr<std::uint8_t[]> data;
    std::size_t size = 0;
};

// Reads the file's first bytes (at most kLongestUsefulFile); nothing when it cannot be
// opened for reading.
std::optional<FileBytes> readFileStart(const std::string& path) {
    std::error_code error;
    if (std::filesystem::is_directory(path, error)) return std::nullopt;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return std::nullopt;
    const auto size = std::filesystem::file_size(path, error);
    std::size_t capacity =
        error ? std::size_t{1} << 16 : std::min<std::size_t>(size + 1, kLongestUsefulFile);
    FileBytes bytes{std::make_unique_for_overwrite<std::uint8_t[]>(capacity), 0};
    while (true) {
        bytes.size += std::fread(bytes.data.get() + bytes.size, 1, capacity - bytes.size, file);
        if (bytes.size < capacity || capacity == kLongestUsefulFile) break;
        // The file is longer than it was said to be: make room and go on.
        capacity = std::min(capacity * 2, kLongestUsefulFile);
        auto larger = std::make_unique_for_overwrite<std::uint8_t[]>(capacity);
        std::memcpy(larger.get(), bytes.data.get(), bytes.size);
        bytes.data = std::move(larger);
    }
    std::fclose(file);
    return bytes;
}

// Reads a file's bytes front to back; like reads from the file, a read near the end
// gets fewer bytes than asked for.
class ByteCursor {
  public:
    explicit ByteCursor(const FileBytes& bytes) : bytes_(bytes) {}

    // Up to `size` bytes from the current position.
    std::pair<const std::uint8_t*, std::size_t> take(std::size_t size) {
        const std::size_t got = std::min(size, bytes_.size - position_);
        const std::uint8_t* at = bytes_.data.get() + position_;
        position_ += got;
        return {at, got};
    }

    // Reads up to `size` bytes and compares them, ended by a NUL, with a text.
    bool readsAsText(std::size_t size, const char* expected) {
        auto [at, got] = take(size);
        return std::string(reinterpret_cast<const char*>(at), got).c_str() ==
               std::string_view(expected);
    }

    // A signed 16-bit little-endian number, or nothing when the bytes run out.
    std::optional<int> int16() {
        auto [at, got] = take(2);
        if (got < 2) return std::nullopt;
        return static_cast<std::int16_t>(readLe16(at));
    }

  private:
    const FileBytes& bytes_;
    std::size_t position_ = 0;
};

}  // namespace

int ClientDatabase::load(const std::string& path) {
    const auto bytes = readFileStart(path);
    if (!bytes) {
        fail("Could not open database file");
        return 0;
    }
    ByteCursor file(*bytes);
    if (!file.readsAsText(kMagicSize, kMagic)) {
        fail("File does not appear to be a database file");
        return 0;
    }

    // Everything is staged, so a failed load leaves the database as it was.
    std::array<char, kDealerTextSize> dealer{};
    auto [dealerBytes, dealerSize] = file.take(kDealerTextSize);
    std::memcpy(dealer.data(), dealerBytes, dealerSize);
    // A file ending before its count holds no information.
    const int count = file.int16().value_or(0);
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
    for (int i = 0; i < count; ++i) {
        const int length = file.int16().value_or(-1);
        if (length < 0 || length > kRecordBufferSize) {
            fail("Database file is invalid/corrupted");
            return 0;
        }
        auto [record, got] = file.take(static_cast<std::size_t>(length));
        if (got != static_cast<std::size_t>(length)) {
            fail("Database file is invalid/corrupted");
            return 0;
        }
        // A record of another length is refused by deserialize: a default client.
        loaded.push_back(
            ClientRecord::fromSerialized(length == kSerializedClientSize ? record : nullptr));
    }
    if (!file.readsAsText(kEndMarkerSize, kEndMarker)) {
        fail("Database file is corrupted");
        return 0;
    }

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
    ReplacingFile file(path);
    std::uint8_t header[kHeaderSize];
    std::memcpy(header, kMagic, kMagicSize);
    std::memcpy(header + kMagicSize, dealerText_.data(), kDealerTextSize);
    writeLe16(header + kMagicSize + kDealerTextSize, static_cast<std::uint16_t>(clients_.size()));
    file.write(header, kHeaderSize);
    std::vector<std::uint8_t> record(kLengthSize + kSerializedClientSize);
    for (const auto& client : clients_) {
        const int length = client->serialize(record.data() + kLengthSize, kSerializedClientSize);
        writeLe16(record.data(), static_cast<std::uint16_t>(length));
        file.write(record.data(), static_cast<std::size_t>(kLengthSize + length));
    }
    file.write(kEndMarker, kEndMarkerSize);
    switch (file.commit()) {
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
