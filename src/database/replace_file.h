#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "database/content_hash.h"

namespace tarn {

enum class ReplaceResult {
    Written,
    CannotCreate,   // the file (or its temporary sibling) cannot be created or replaced
    WriteFailed,    // created, but the bytes did not all reach the disk
    NotAFile,       // something other than a file is there (a FIFO, a device)
    UnsafeLink,     // the path is a link another user made in a shared folder
    InPlaceFailed,  // the file was written in place but not completely: see keptCopy()
};

// The one guard of every file this program writes (database, export, PDF, radio log,
// backups). A symbolic link is followed (even to a file that does not exist yet) and
// stays a link, except where the kernel's rule for shared folders would not follow it
// (linkMayBeFollowed): UnsafeLink. Only a regular file is ever replaced: a folder cannot
// be created (CannotCreate), anything else is NotAFile. Nothing when `path` may be
// written; ReplacingFile checks again when it writes.
ReplaceResult checkReplaceable(const std::filesystem::path& path);
// The file a write of `path` replaces: through the symbolic links it may follow.
std::filesystem::path fileBehind(const std::filesystem::path& path);

// The message of a refusal that is the guard's rather than the caller's (NotAFile,
// UnsafeLink, InPlaceFailed naming `keptCopy`); empty for the other results, which the
// caller words itself.
std::string replaceRefusalText(ReplaceResult result, const std::filesystem::path& path,
                               const std::filesystem::path& keptCopy = {});

// Writes the whole new content of a file without ever leaving a partial one: the bytes
// go to a temporary file beside the target, which commit() flushes to disk and renames
// over the target. Without a successful commit the old file stays exactly as it was and
// no temporary file remains. The temporary file has the target's permissions from its
// first byte, and its owner and group; a commit also removes what writers of the same
// target that are gone left behind, never the file of a write still running.
//
// A file the rename would change is written in place instead, once its whole new content
// is on the disk beside it: a file with several names (hard links), which a rename would
// split, and a file whose owner or group this user cannot give the new file (another
// member of its group saving). If writing in place fails, the complete new content stays
// in keptCopy() (InPlaceFailed).
class ReplacingFile {
  public:
    enum class Access { LikeTarget, OwnerOnly };  // OwnerOnly: a new file only its owner reads
    explicit ReplacingFile(const std::filesystem::path& path, Access access = Access::LikeTarget);
    ~ReplacingFile();
    ReplacingFile(const ReplacingFile&) = delete;
    ReplacingFile& operator=(const ReplacingFile&) = delete;

    bool isOpen() const { return file_ != nullptr; }
    // A failed write is remembered and reported by commit().
    void write(const void* data, std::size_t size);
    void write(const std::string& text) { write(text.data(), text.size()); }
    ReplaceResult commit();

    // What was written, hashed on its way to the disk (see FileOrigin).
    const ContentHash& content() const { return content_; }
    const std::filesystem::path& keptCopy() const { return keptCopy_; }

  private:
    void flushPending();
    ReplaceResult writeInPlace();
    void discard();

    std::filesystem::path target_;
    std::filesystem::path temporary_;
    std::filesystem::path keptCopy_;
    std::FILE* file_ = nullptr;
    ReplaceResult refusal_ = ReplaceResult::CannotCreate;  // why file_ is null
    bool inPlace_ = false;
    std::vector<std::uint8_t> pending_;  // small writes gathered into large ones
    ContentHash content_;
    bool failed_ = false;
};

// The whole content in one piece, through a ReplacingFile.
ReplaceResult replaceFile(const std::filesystem::path& path,
                          const std::vector<std::uint8_t>& bytes);
ReplaceResult replaceFile(const std::filesystem::path& path, const std::string& bytes);

// A name beside `target`: its file name between `before` and `after`, cut (and told apart
// by a hash of the whole name) where it would not leave `reserve` units of the folder's
// name limit free.
std::filesystem::path siblingName(const std::filesystem::path& target, const char* before,
                                  const char* after, std::size_t reserve = 0);

}  // namespace tarn
