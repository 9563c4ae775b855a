#include "database/file_origin.h"

#include <memory>

#include "database/file_sync.h"
#include "model/message_texts.h"
#include "model/user_feedback.h"

namespace tarn {
namespace fs = std::filesystem;
namespace {

// The hash of the first `length` bytes of a file; nothing when they cannot all be read.
std::optional<std::uint64_t> hashOfStart(const fs::path& path, std::uint64_t length) {
    std::FILE* file = openRegularFile(path);
    if (!file) return std::nullopt;
    constexpr std::size_t kChunk = 1 << 16;
    const auto buffer = std::make_unique_for_overwrite<std::uint8_t[]>(kChunk);
    ContentHash content;
    std::size_t got = 1;
    while (content.size() < length && got > 0) {
        got = std::fread(buffer.get(), 1, std::min<std::uint64_t>(kChunk, length - content.size()),
                         file);
        content.add(buffer.get(), got);
    }
    std::fclose(file);
    if (content.size() != length) return std::nullopt;
    return content.value();
}

}  // namespace

void FileOrigin::remember(const fs::path& path, const ContentHash& content) {
    std::error_code error;
    Identity identity{path, fs::file_size(path, error), {}, content.size(), content.value()};
    if (!error) identity.modified = fs::last_write_time(path, error);
    identity_.reset();
    if (!error) identity_ = identity;
}

bool FileOrigin::allowsReplacing(const fs::path& path, bool ask) const {
    if (!identity_) return true;
    std::error_code error;
    if (path != identity_->path && !fs::equivalent(path, identity_->path, error)) return true;
    if (!fs::exists(path, error)) return true;  // gone: nobody's changes are lost
    const std::uintmax_t size = fs::file_size(path, error);
    const bool same = !error && size == identity_->size &&
                      fs::last_write_time(path, error) == identity_->modified && !error &&
                      // A change within the clock's resolution: the bytes tell.
                      hashOfStart(path, identity_->hashed) == identity_->hash;
    if (same) return true;
    if (!ask) {
        showError(MessageOwner::none(), formatMessage(msg::kChangedSinceOpenedRefused, path));
        return false;
    }
    const std::string text = formatMessage(msg::kChangedSinceOpened, path);
    MessageOwner owner = MessageOwner::none();
    owner.defaultNo = true;
    return askYesNo(owner, text);
}

}  // namespace tarn
