#include "database/output_guard.h"

#include <algorithm>
#include <vector>

#include "model/message_texts.h"

namespace tarn {
namespace {

std::vector<std::filesystem::path>& openFiles() {
    static std::vector<std::filesystem::path> files;
    return files;
}

}  // namespace

void OpenDatabases::add(const std::filesystem::path& file) {
    openFiles().push_back(file);
}

void OpenDatabases::remove(const std::filesystem::path& file) {
    auto& files = openFiles();
    const auto it = std::find(files.begin(), files.end(), file);
    if (it != files.end()) files.erase(it);
}

bool OpenDatabases::contains(const std::filesystem::path& path) {
    std::error_code error;
    for (const auto& file : openFiles()) {
        // A file that does not exist (yet) is nobody's database; equivalent() says so.
        if (file == path || std::filesystem::equivalent(file, path, error)) return true;
    }
    return false;
}

bool mayReplaceWithOutput(const std::filesystem::path& path, const MessageOwner& owner) {
    if (!OpenDatabases::contains(path)) return true;
    showError(owner, formatMessage(msg::kOutputIsOpenDatabase, path));
    return false;
}

bool pathFits(const std::filesystem::path& path, const MessageOwner& owner) {
    if (path.native().size() < kMaxPath) return true;
    showError(owner, formatMessage(msg::kPathTooLong, path));
    return false;
}

}  // namespace tarn
