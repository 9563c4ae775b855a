#include "cli/cli_support.h"

namespace tarn::cli {

// File names are the bytes the user typed.
std::filesystem::path pathFromArgument(const std::string& argument) {
    return std::filesystem::path(argument);
}

std::string argumentFromPath(const std::filesystem::path& path) {
    return path.native();
}

std::vector<std::string> commandLineWords(int argc, char** argv) {
    return std::vector<std::string>(argv + 1, argv + argc);
}

}  // namespace tarn::cli
