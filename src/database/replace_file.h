#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tarn {

enum class ReplaceResult {
    Written,
    CannotCreate,  // the file (or its temporary sibling) cannot be created or replaced
    WriteFailed,   // created, but the bytes did not all reach the disk
};

// Writes `bytes` as the whole new content of `path` without ever leaving a partial file:
// a temporary file beside the target is written, flushed to disk and renamed over it.
// On failure the old file stays exactly as it was and no temporary file remains.
ReplaceResult replaceFile(const std::string& path, const std::vector<std::uint8_t>& bytes);
ReplaceResult replaceFile(const std::string& path, const std::string& bytes);

}  // namespace tarn
