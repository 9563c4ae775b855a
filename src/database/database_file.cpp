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
//
// A load hashes what it takes from the file, and a save what it writes, for the file's
// identity (FileOrigin): neither reads the file a second time.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "database/client_database.h"
#include "database/database_lock.h"
#include "database/file_sync.h"
#include "database/replace_file.h"
#include "model/byte_order.h"
#include "model/message_texts.h"
#include "model/user_feedback.h"

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

void fail(std::string_view text) {
    showError(MessageOwner::none(), text);
}

// Reads a file front to back through one buffer of a few hundred kilobytes, which stays
// in the processor's cache: each record is copied once from there into its client, and
// the file never sits whole in memory. Like reads from the file, a read near the end
// gets fewer bytes than asked for. What is taken is hashed.
class FileCursor {
  public:
    // Large enough for the longest piece ever taken at once (a record).
    static constexpr std::size_t kBufferSize = 256 * 1024;
    static_assert(kBufferSize >= kRecordBufferSize);

    explicit FileCursor(std::FILE* file)
        : file_(file), buffer_(std::make_unique_for_overwrite<std::uint8_t[]>(kBufferSize)) {}
    ~FileCursor() { std::fclose(file_); }
    FileCursor(const FileCursor&) = delete;
    FileCursor& operator=(const FileCursor&) = delete;

    // Up to `size` bytes (at most kBufferSize) from the current position, held together
    // until the next call.
    std::pair<const std::uint8_t*, std::size_t> take(std::size_t size) {
        if (end_ - position_ < size) refill();
        const std::size_t got = std::min(size, end_ - position_);
        const std::uint8_t* at = buffer_.get() + position_;
        position_ += got;
        taken_.add(at, got);
        return {at, got};
    }

    // Everything taken so far, hashed.
    const ContentHash& taken() const { return taken_; }

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
    // Moves the unread bytes to the front and fills the rest from the file.
    void refill() {
        const std::size_t unread = end_ - position_;
        std::memmove(buffer_.get(), buffer_.get() + position_, unread);
        position_ = 0;
        end_ = unread;
        if (!atEnd_) {
            end_ += std::fread(buffer_.get() + end_, 1, kBufferSize - end_, file_);
            atEnd_ = end_ < kBufferSize;
        }
    }

    std::FILE* file_;
    std::unique_ptr<std::uint8_t[]> buffer_;
    std::size_t position_ = 0;
    std::size_t end_ = 0;
    bool atEnd_ = false;
    ContentHash taken_;
};

}  // namespace

std::filesystem::path forceDatabaseExtension(const std::filesystem::path& path) {
    using Native = std::filesystem::path::string_type;
    const Native& text = path.native();
    const Native separators = std::filesystem::path("/\\").native();
    const std::size_t slash = text.find_last_of(separators);
    const std::size_t nameStart = slash == Native::npos ? 0 : slash + 1;
    const std::size_t dot = text.find_last_of(std::filesystem::path(".").native());
    const Native stem = dot != Native::npos && dot >= nameStart ? text.substr(0, dot) : text;
    return std::filesystem::path(stem + std::filesystem::path(".tdb").native());
}

int ClientDatabase::load(const std::filesystem::path& path) {
    std::FILE* opened = openRegularFile(path);
    if (!opened) {
        fail(msg::kCannotOpenDatabase);
        return 0;
    }
    FileCursor file(opened);
    if (!file.readsAsText(kMagicSize, kMagic)) {
        fail(msg::kNotADatabase);
        return 0;
    }

    // Everything is staged, so a failed load leaves the database as it was.
    std::array<char, kDealerTextSize> dealer{};
    auto [dealerBytes, dealerSize] = file.take(kDealerTextSize);
    std::memcpy(dealer.data(), dealerBytes, dealerSize);
    // A file ending before its count holds no information.
    const int count = file.int16().value_or(0);
    if (count < 1) {
        fail(msg::kDatabaseEmpty);
        return 0;
    }
    if (count > kMaxClients) {
        fail(msg::kDatabaseInvalid);
        return 0;
    }

    // The clients go into one block that they share: one allocation instead of a
    // thousand, which the allocator hands out again on the next load rather than
    // taking fresh pages from the system for every client.
    auto block = std::make_shared<std::vector<ClientRecord>>();
    block->reserve(static_cast<std::size_t>(count));
    std::vector<std::shared_ptr<ClientRecord>> loaded;
    loaded.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        const int length = file.int16().value_or(-1);
        if (length < 0 || length > kRecordBufferSize) {
            fail(msg::kDatabaseInvalid);
            return 0;
        }
        auto [record, got] = file.take(static_cast<std::size_t>(length));
        if (got != static_cast<std::size_t>(length)) {
            fail(msg::kDatabaseInvalid);
            return 0;
        }
        // A record of another length is refused by deserialize: a default client.
        block->emplace_back(length == kSerializedClientSize ? record : nullptr);
        loaded.emplace_back(block, &block->back());  // no reallocation: reserved
    }
    if (!file.readsAsText(kEndMarkerSize, kEndMarker)) {
        fail(msg::kDatabaseCorrupted);
        return 0;
    }
    // The start of what follows, which the format ignores, belongs to the file's identity.
    file.take(FileOrigin::kTailCheck);

    dealerText_ = dealer;
    clients_ = std::move(loaded);
    modified_ = 0;
    origin_.remember(path, file.taken());
    openFailed_ = false;
    return 1;
}

int ClientDatabase::open(const std::filesystem::path& path) {
    if (load(path)) return 1;
    // Whatever the failed load left would be saved over the file it could not read
    // (a file dropped here by mistake): keep nothing, so there is nothing to save.
    clients_.clear();
    modified_ = 0;
    origin_.forget();
    openFailed_ = true;
    return 0;
}

void ClientDatabase::writeTo(ReplacingFile& file) const {
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
}

ReplaceResult ClientDatabase::writeFile(const std::filesystem::path& path,
                                        ReplacingFile::Access access) const {
    ReplacingFile file(path, access);
    writeTo(file);
    return file.commit();
}

int ClientDatabase::save(const std::filesystem::path& path) {
    if (clients_.empty()) {
        fail(msg::kNoDataToSave);
        return 0;
    }
    // The check, the write and the rename together, while no other program saves.
    DatabaseLock lock;
    if (lock.lockForSaving(path) == LockStatus::HeldByOther) {
        fail(lockedText(msg::kNotSavedInUse, path, lock.holder()));
        return 0;
    }
    if (!origin_.allowsReplacing(path, askBeforeReplacing_)) return 0;
    ReplacingFile file(path);
    writeTo(file);
    const ReplaceResult result = file.commit();
    if (result != ReplaceResult::Written) {
        const std::string refusal = replaceRefusalText(result, path, file.keptCopy());
        fail(!refusal.empty()                        ? refusal.c_str()
             : result == ReplaceResult::CannotCreate ? msg::kCannotCreateDatabase
                                                     : msg::kCannotWriteDatabase);
        return 0;
    }
    modified_ = 0;
    origin_.remember(path, file.content());
    openFailed_ = false;
    return 1;
}

}  // namespace tarn
