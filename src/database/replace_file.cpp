#include "database/replace_file.h"

#include <algorithm>
#include <random>

#include "database/file_sync.h"

namespace tarn {
namespace fs = std::filesystem;
namespace {

constexpr std::size_t kWriteBuffer = std::size_t{1} << 20;  // few, large writes
constexpr int kMaxLinks = 40;                               // a loop of links ends here
constexpr std::size_t kRandomDigits = 16;

using NameString = fs::path::string_type;

// The file a save really replaces: through symbolic links (even one whose target does
// not exist yet) to the file they name, so the links stay links.
fs::path targetOf(const std::string& path) {
    fs::path target(path);
    std::error_code error;
    for (int hop = 0; hop < kMaxLinks && fs::is_symlink(target, error); ++hop) {
        const fs::path next = fs::read_symlink(target, error);
        if (error) break;
        target = next.is_absolute() ? next : target.parent_path() / next;
    }
    return target.lexically_normal();
}

// An existing target must be a file we may write to, as if it were overwritten in place.
bool existingTargetWritable(const fs::path& target) {
    std::error_code error;
    if (!fs::exists(target, error)) return true;
    if (fs::is_directory(target, error)) return false;
    std::FILE* probe = std::fopen(target.string().c_str(), "r+b");
    if (!probe) return false;
    std::fclose(probe);
    return true;
}

NameString widen(const char* text) {
    return fs::path(text).native();
}

// What every temporary file of a target starts with: the target's name and ".tmp", the
// name shortened (and told apart by a hash of the whole name) where the random digits
// would not fit the file system's limit.
NameString temporaryPrefix(const fs::path& target) {
    NameString name = target.filename().native();
    const NameString tmp = widen(".tmp");
    const std::size_t limit = fileNameLimit(target.parent_path());
    if (name.size() + tmp.size() + kRandomDigits > limit) {
        std::uint32_t hash = 2166136261u;  // FNV-1a
        for (const auto c : name) hash = (hash ^ static_cast<std::uint32_t>(c)) * 16777619u;
        char tag[16];
        std::snprintf(tag, sizeof tag, "~%08x", static_cast<unsigned>(hash));
        const NameString mark = widen(tag);
        const std::size_t room = limit - tmp.size() - kRandomDigits - mark.size();
        name = name.substr(0, std::min(name.size(), room)) + mark;
    }
    return name + tmp;
}

fs::path temporarySibling(const fs::path& target) {
    static std::mt19937_64 random{std::random_device{}()};
    char digits[kRandomDigits + 1];
    std::snprintf(digits, sizeof digits, "%016llx", static_cast<unsigned long long>(random()));
    return target.parent_path() / (temporaryPrefix(target) + widen(digits));
}

bool isHexDigit(fs::path::value_type c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
}

// Removes the temporary files that saves of `target` killed half-way left behind.
void removeLeftovers(const fs::path& target) {
    const NameString prefix = temporaryPrefix(target);
    const fs::path folder = target.parent_path().empty() ? fs::path(".") : target.parent_path();
    std::error_code error;
    // Stepped with error codes: the save has succeeded, and nothing here may throw.
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const NameString name = it->path().filename().native();
        const bool ours = name.size() == prefix.size() + kRandomDigits &&
                          name.compare(0, prefix.size(), prefix) == 0 &&
                          std::all_of(name.begin() + static_cast<std::ptrdiff_t>(prefix.size()),
                                      name.end(), isHexDigit);
        std::error_code ignored;
        if (ours && it->is_regular_file(ignored)) fs::remove(it->path(), ignored);
    }
}

}  // namespace

ReplacingFile::ReplacingFile(const std::string& path) : target_(targetOf(path)) {
    if (!existingTargetWritable(target_)) return;
    pending_.reserve(kWriteBuffer);  // before the file exists: nothing to clean up if it throws
    const fs::path temporary = temporarySibling(target_);
    std::error_code error;
    file_ = createExclusive(temporary, fs::exists(target_, error) ? target_ : fs::path());
    if (!file_) return;
    temporary_ = temporary;  // ours to remove from here on
}

ReplacingFile::~ReplacingFile() {
    discard();
}

void ReplacingFile::write(const void* data, std::size_t size) {
    if (!file_ || failed_) return;
    if (pending_.size() + size > kWriteBuffer) flushPending();
    if (size >= kWriteBuffer) {
        failed_ = std::fwrite(data, 1, size, file_) != size;
    } else {
        const auto* bytes = static_cast<const std::uint8_t*>(data);
        pending_.insert(pending_.end(), bytes, bytes + size);
    }
}

void ReplacingFile::flushPending() {
    if (!pending_.empty() &&
        std::fwrite(pending_.data(), 1, pending_.size(), file_) != pending_.size()) {
        failed_ = true;
    }
    pending_.clear();
}

ReplaceResult ReplacingFile::commit() {
    if (!file_) return ReplaceResult::CannotCreate;
    if (!failed_) flushPending();
    bool written = !failed_ && std::fflush(file_) == 0 && syncFileToDisk(file_);
    written = std::fclose(file_) == 0 && written;
    file_ = nullptr;
    if (!written) {
        discard();
        return ReplaceResult::WriteFailed;
    }
    std::error_code error;
    fs::rename(temporary_, target_, error);
    if (error) {
        discard();
        return ReplaceResult::CannotCreate;
    }
    temporary_.clear();
    syncFolder(target_.parent_path().string());
    removeLeftovers(target_);
    return ReplaceResult::Written;
}

void ReplacingFile::discard() {
    if (file_) std::fclose(file_);
    file_ = nullptr;
    std::error_code error;
    if (!temporary_.empty()) fs::remove(temporary_, error);
    temporary_.clear();
}

ReplaceResult replaceFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    ReplacingFile file(path);
    file.write(bytes.data(), bytes.size());
    return file.commit();
}

ReplaceResult replaceFile(const std::string& path, const std::string& bytes) {
    ReplacingFile file(path);
    file.write(bytes);
    return file.commit();
}

}  // namespace tarn
