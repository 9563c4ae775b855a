#pragma once

#include <filesystem>

#include "model/user_feedback.h"

namespace tarn {

// The database files this program has open (a window's database, or the one a command
// reads), which no output of the program may replace: an export, a PDF, a Save as of
// another database, a log. Each open document adds its file while it holds it.
class OpenDatabases {
  public:
    static void add(const std::filesystem::path& file);
    static void remove(const std::filesystem::path& file);  // one of the adds
    // Whether `path` names one of them (under any name: links count, letter case does
    // where the file system ignores it).
    static bool contains(const std::filesystem::path& path);
};

// The one guard of every output the program writes: false, after saying so, when `path` is
// a database open in this program.
bool mayReplaceWithOutput(const std::filesystem::path& path, const MessageOwner& owner);

inline constexpr std::size_t kMaxPath = 260;  // a path holds at most 259 bytes
// Paths of 260 bytes or more are refused with a message before anything changes.
bool pathFits(const std::filesystem::path& path, const MessageOwner& owner);

}  // namespace tarn
