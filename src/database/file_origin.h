#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace tarn {

// What a database remembers of the file it was loaded from or last saved to, so that a
// save can tell when another program has changed that file in the meantime and would
// lose its changes.
class FileOrigin {
  public:
    // Notes the file as it is now (after a successful load or save).
    void remember(const std::filesystem::path& path);
    void forget() { identity_.reset(); }

    // Whether a save may replace `path`: yes unless it is the remembered file and its size,
    // modification time or content changed since. Then the user is asked (No is the
    // default), or, when `ask` is false, told that the save is refused.
    bool allowsReplacing(const std::filesystem::path& path, bool ask) const;

  private:
    struct Identity {
        std::filesystem::path path;
        std::uintmax_t size = 0;
        std::filesystem::file_time_type modified{};
        std::uint64_t hash = 0;
    };
    static std::optional<Identity> identify(const std::filesystem::path& path, bool withHash);

    std::optional<Identity> identity_;
};

}  // namespace tarn
