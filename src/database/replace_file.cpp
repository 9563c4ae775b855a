#include "database/replace_file.h"

#include <random>

#include "database/file_sync.h"

namespace tarn {
namespace fs = std::filesystem;
namespace {

constexpr std::size_t kWriteBuffer = std::size_t{1} << 20;  // few, large writes

// The file a save really replaces: through a symbolic link to its target.
fs::path targetOf(const std::string& path) {
    fs::path target(path);
    std::error_code error;
    if (fs::is_symlink(target, error)) {
        fs::path resolved = fs::weakly_canonical(target, error);
        if (!error) return resolved;
    }
    return target;
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

fs::path temporarySibling(const fs::path& target) {
    static std::mt19937_64 random{std::random_device{}()};
    char suffix[24];
    std::snprintf(suffix, sizeof suffix, ".tmp%016llx", static_cast<unsigned long long>(random()));
    fs::path temporary = target;
    temporary += suffix;
    return temporary;
}

}  // namespace

ReplacingFile::ReplacingFile(const std::string& path) : target_(targetOf(path)) {
    if (!existingTargetWritable(target_)) return;
    temporary_ = temporarySibling(target_);
    file_ = std::fopen(temporary_.string().c_str(), "wb");
    if (file_) pending_.reserve(kWriteBuffer);
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
    // A replaced file keeps its permissions.
    if (auto status = fs::status(target_, error); !error && fs::exists(status)) {
        fs::permissions(temporary_, status.permissions(), error);
    }
    fs::rename(temporary_, target_, error);
    if (error) {
        discard();
        return ReplaceResult::CannotCreate;
    }
    temporary_.clear();
    syncFolder(target_.parent_path().string());
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
