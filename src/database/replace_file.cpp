#include "database/replace_file.h"

#include <cstdio>
#include <filesystem>
#include <random>

#include "database/file_sync.h"

namespace tarn {
namespace fs = std::filesystem;
namespace {

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

ReplaceResult replaceWith(const std::string& path, const void* data, std::size_t size) {
    const fs::path target = targetOf(path);
    if (!existingTargetWritable(target)) return ReplaceResult::CannotCreate;
    const fs::path temporary = temporarySibling(target);
    std::FILE* file = std::fopen(temporary.string().c_str(), "wb");
    if (!file) return ReplaceResult::CannotCreate;

    bool written = std::fwrite(data, 1, size, file) == size;
    written = std::fflush(file) == 0 && written;
    written = written && syncFileToDisk(file);
    written = std::fclose(file) == 0 && written;
    std::error_code error;
    if (!written) {
        fs::remove(temporary, error);
        return ReplaceResult::WriteFailed;
    }
    // A replaced file keeps its permissions.
    if (auto status = fs::status(target, error); !error && fs::exists(status)) {
        fs::permissions(temporary, status.permissions(), error);
    }
    fs::rename(temporary, target, error);
    if (error) {
        fs::remove(temporary, error);
        return ReplaceResult::CannotCreate;
    }
    syncFolder(target.parent_path().string());
    return ReplaceResult::Written;
}

}  // namespace

ReplaceResult replaceFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    return replaceWith(path, bytes.data(), bytes.size());
}

ReplaceResult replaceFile(const std::string& path, const std::string& bytes) {
    return replaceWith(path, bytes.data(), bytes.size());
}

}  // namespace tarn
