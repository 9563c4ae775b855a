#include "database/replace_file.h"

#include <algorithm>
#include <chrono>
#include <memory>
#include <random>
#include <tuple>

#include "database/file_sync.h"
#include "model/message_texts.h"
#include "model/user_feedback.h"

namespace tarn {
namespace fs = std::filesystem;
namespace {

constexpr std::size_t kWriteBuffer = std::size_t{1} << 20;  // few, large writes
constexpr int kMaxLinks = 40;                               // a loop of links ends here
constexpr std::size_t kRandomDigits = 16;
// A temporary file touched more recently may belong to a writer that has not marked it as
// in use yet, or no longer (between closing and renaming it).
constexpr auto kLeftoverAge = std::chrono::minutes(1);

using NameString = fs::path::string_type;

NameString widen(const char* text) {
    return fs::path(text).native();
}

// The path through the symbolic links that may be followed (even to a file that does not
// exist yet), and UnsafeLink where a link may not be.
std::pair<fs::path, ReplaceResult> resolve(const fs::path& path) {
    fs::path target(path);
    std::error_code error;
    for (int hop = 0; hop < kMaxLinks && fs::is_symlink(target, error); ++hop) {
        if (!linkMayBeFollowed(target)) return {target, ReplaceResult::UnsafeLink};
        const fs::path next = fs::read_symlink(target, error);
        if (error) break;
        target = next.is_absolute() ? next : target.parent_path() / next;
    }
    return {target.lexically_normal(), ReplaceResult::Written};
}

// What stands at the resolved target: nothing, or a regular file this user may write.
ReplaceResult targetKind(const fs::path& target) {
    std::error_code error;
    const fs::file_status status = fs::symlink_status(target, error);
    if (status.type() == fs::file_type::not_found) return ReplaceResult::Written;
    if (error || fs::is_directory(status)) return ReplaceResult::CannotCreate;
    if (!fs::is_regular_file(status)) return ReplaceResult::NotAFile;
    return mayWrite(target) ? ReplaceResult::Written : ReplaceResult::CannotCreate;
}

NameString temporaryPrefix(const fs::path& target) {
    return siblingName(target, "", ".tmp", kRandomDigits).filename().native();
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

// Removes the temporary files that writers of `target` left when they were killed
// half-way; a file whose writer still runs stays (removeAbandoned), and so does a recent one.
void removeLeftovers(const fs::path& target) {
    const NameString prefix = temporaryPrefix(target);
    const auto recent = fs::file_time_type::clock::now() - kLeftoverAge;
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
        if (ours && it->last_write_time(ignored) < recent && !ignored) removeAbandoned(it->path());
    }
}

}  // namespace

fs::path siblingName(const fs::path& target, const char* before, const char* after,
                     std::size_t reserve) {
    NameString name = target.filename().native();
    const NameString head = widen(before), tail = widen(after);
    const std::size_t limit = fileNameLimit(target.parent_path());
    if (head.size() + name.size() + tail.size() + reserve > limit) {
        std::uint32_t hash = 2166136261u;  // FNV-1a
        for (const auto c : name) hash = (hash ^ static_cast<std::uint32_t>(c)) * 16777619u;
        char tag[16];
        std::snprintf(tag, sizeof tag, "~%08x", static_cast<unsigned>(hash));
        const NameString mark = widen(tag);
        const std::size_t room = limit - head.size() - tail.size() - reserve - mark.size();
        name = name.substr(0, std::min(name.size(), room)) + mark;
    }
    return target.parent_path() / (head + name + tail);
}

fs::path fileBehind(const fs::path& path) {
    return resolve(path).first;
}

ReplaceResult checkReplaceable(const fs::path& path) {
    const auto [target, refusal] = resolve(path);
    return refusal != ReplaceResult::Written ? refusal : targetKind(target);
}

std::string replaceRefusalText(ReplaceResult result, const fs::path& path,
                               const fs::path& keptCopy) {
    switch (result) {
        case ReplaceResult::NotAFile:
            return formatMessage(msg::kNotAFile, path);
        case ReplaceResult::UnsafeLink:
            return formatMessage(msg::kUnsafeLink, path);
        case ReplaceResult::InPlaceFailed:
            return formatMessage(formatMessage(msg::kKeptBeside, path), keptCopy);
        default:
            return {};
    }
}

ReplacingFile::ReplacingFile(const fs::path& path, Access access) {
    ReplaceResult refusal = ReplaceResult::Written;
    std::tie(target_, refusal) = resolve(path);
    refusal_ = refusal != ReplaceResult::Written ? refusal : targetKind(target_);
    if (refusal_ != ReplaceResult::Written) return;
    refusal_ = ReplaceResult::CannotCreate;
    pending_.reserve(kWriteBuffer);  // before the file exists: nothing to clean up if it throws
    std::error_code error;
    const bool exists = fs::exists(target_, error);
    const fs::path temporary = temporarySibling(target_);
    const NewFile made =
        createExclusive(temporary, exists ? target_ : fs::path(), access == Access::OwnerOnly);
    if (!made.file) return;
    file_ = made.file;
    temporary_ = temporary;  // ours to remove from here on
    inPlace_ = exists && (!made.sameOwner || fs::hard_link_count(target_, error) > 1);
}

ReplacingFile::~ReplacingFile() {
    discard();
}

void ReplacingFile::write(const void* data, std::size_t size) {
    if (!file_ || failed_) return;
    content_.add(data, size);
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
    if (!file_) return refusal_;
    if (!failed_) flushPending();
    if (failed_ || std::fflush(file_) != 0 || !syncFileToDisk(file_)) {
        discard();
        return ReplaceResult::WriteFailed;
    }
    if (inPlace_) return writeInPlace();
    const bool closed = std::fclose(file_) == 0;
    file_ = nullptr;
    std::error_code error;
    if (closed) fs::rename(temporary_, target_, error);
    if (!closed || error) {
        discard();
        return closed ? ReplaceResult::CannotCreate : ReplaceResult::WriteFailed;
    }
    temporary_.clear();
    syncFolder(target_.parent_path());
    removeLeftovers(target_);
    return ReplaceResult::Written;
}

// The new content is complete and on the disk in the temporary file: copied from there
// into the target, which keeps its names, owner, group and permissions.
ReplaceResult ReplacingFile::writeInPlace() {
    std::FILE* out = openInPlace(target_);
    if (!out) {
        discard();  // nothing has changed yet
        return ReplaceResult::CannotCreate;
    }
    const auto buffer = std::make_unique_for_overwrite<std::uint8_t[]>(kWriteBuffer);
    bool copied = std::fseek(file_, 0, SEEK_SET) == 0;
    std::size_t got = 0;
    while (copied && (got = std::fread(buffer.get(), 1, kWriteBuffer, file_)) > 0)
        copied = std::fwrite(buffer.get(), 1, got, out) == got;
    copied = copied && !std::ferror(file_) && finishInPlace(out, content_.size());
    copied = std::fclose(out) == 0 && copied;
    if (!copied) {
        std::fclose(file_);
        file_ = nullptr;
        keptCopy_ = temporary_;  // the whole new content, for the user to take
        temporary_.clear();
        return ReplaceResult::InPlaceFailed;
    }
    discard();
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

ReplaceResult replaceFile(const fs::path& path, const std::vector<std::uint8_t>& bytes) {
    ReplacingFile file(path);
    file.write(bytes.data(), bytes.size());
    return file.commit();
}

ReplaceResult replaceFile(const fs::path& path, const std::string& bytes) {
    ReplacingFile file(path);
    file.write(bytes);
    return file.commit();
}

}  // namespace tarn
