#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace tarn {

enum class ReplaceResult {
    Written,
    CannotCreate,  // the file (or its temporary sibling) cannot be created or replaced
    WriteFailed,   // created, but the bytes did not all reach the disk
};

// Writes the whole new content of a file without ever leaving a partial one: the bytes
// go to a temporary file beside the target, which commit() flushes to disk and renames
// over the target. Without a successful commit the old file stays exactly as it was and
// no temporary file remains. The temporary file has the target's permissions from its
// first byte; a commit also removes what saves of the same target killed half-way left.
// A symbolic link is followed (even to a file that does not exist yet) and stays a link.
class ReplacingFile {
  public:
    explicit ReplacingFile(const std::string& path);
    ~ReplacingFile();
    ReplacingFile(const ReplacingFile&) = delete;
    ReplacingFile& operator=(const ReplacingFile&) = delete;

    bool isOpen() const { return file_ != nullptr; }
    // A failed write is remembered and reported by commit().
    void write(const void* data, std::size_t size);
    void write(const std::string& text) { write(text.data(), text.size()); }
    ReplaceResult commit();

  private:
    void flushPending();
    void discard();

    std::filesystem::path target_;
    std::filesystem::path temporary_;
    std::FILE* file_ = nullptr;
    std::vector<std::uint8_t> pending_;  // small writes gathered into large ones
    bool failed_ = false;
};

// The whole content in one piece, through a ReplacingFile.
ReplaceResult replaceFile(const std::string& path, const std::vector<std::uint8_t>& bytes);
ReplaceResult replaceFile(const std::string& path, const std::string& bytes);

}  // namespace tarn
