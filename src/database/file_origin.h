#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>

#include "database/content_hash.h"

namespace tarn {

// What a database remembers of the file it was loaded from or last saved to, so that a
// save can tell when another program has changed that file in the meantime and would
// lose its changes.
class FileOrigin {
  public:
    // Bytes after the end of what the format holds that a load hashes too: a tail of any
    // size costs no more than this.
    static constexpr std::size_t kTailCheck = 64 * 1024;

    // Notes the file as it is now, after a load or save that hashed its first bytes on the
    // way (what the format holds and at most kTailCheck more): nothing is read again.
    void remember(const std::filesystem::path& path, const ContentHash& content);
    void forget() { identity_.reset(); }

    // Whether a save may replace `path`: yes unless it is the remembered file and its size,
    // modification time or hashed bytes changed since. Then the user is asked (No is the
    // default), or, when `ask` is false, told that the save is refused.
    bool allowsReplacing(const std::filesystem::path& path, bool ask) const;

  private:
    struct Identity {
        std::filesystem::path path;
        std::uintmax_t size = 0;
        std::filesystem::file_time_type modified{};
        std::uint64_t hashed = 0;  // how many bytes from the start `hash` covers
        std::uint64_t hash = 0;
    };
    std::optional<Identity> identity_;
};

}  // namespace tarn
