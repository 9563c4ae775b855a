#include "database/file_origin.h"

#include <cstring>
#include <memory>

#include "database/file_sync.h"
#include "model/message_texts.h"
#include "model/user_feedback.h"

namespace tarn {
namespace fs = std::filesystem;
namespace {

// FNV-1a over 64-bit words: cheap enough to run over a whole database at every save.
std::uint64_t contentHash(std::FILE* file) {
    constexpr std::size_t kChunk = 1 << 16;
    const auto buffer = std::make_unique<std::uint8_t[]>(kChunk);
    std::uint64_t hash = 14695981039346656037ull;
    std::size_t got = 0;
    while ((got = std::fread(buffer.get(), 1, kChunk, file)) > 0) {
        std::size_t i = 0;
        for (; i + 8 <= got; i += 8) {
            std::uint64_t word = 0;
            std::memcpy(&word, buffer.get() + i, 8);
            hash = (hash ^ word) * 1099511628211ull;
        }
        for (; i < got; ++i) hash = (hash ^ buffer[i]) * 1099511628211ull;
        hash = (hash ^ got) * 1099511628211ull;
    }
    return hash;
}

}  // namespace

std::optional<FileOrigin::Identity> FileOrigin::identify(const fs::path& path, bool withHash) {
    std::error_code error;
    Identity identity{path, fs::file_size(path, error), {}, 0};
    if (error) return std::nullopt;
    identity.modified = fs::last_write_time(path, error);
    if (error) return std::nullopt;
    if (!withHash) return identity;
    std::FILE* file = openRegularFile(path);
    if (!file) return std::nullopt;
    identity.hash = contentHash(file);
    std::fclose(file);
    return identity;
}

void FileOrigin::remember(const fs::path& path) {
    identity_ = identify(path, true);
}

bool FileOrigin::allowsReplacing(const fs::path& path, bool ask) const {
    if (!identity_) return true;
    std::error_code error;
    if (path != identity_->path && !fs::equivalent(path, identity_->path, error)) return true;
    if (!fs::exists(path, error)) return true;  // gone: nobody's changes are lost
    auto now = identify(path, false);
    if (now && now->size == identity_->size && now->modified == identity_->modified) {
        now = identify(path, true);  // a change within the clock's resolution
        if (now && now->hash == identity_->hash) return true;
    }
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
