#include <windows.h>
// shellapi.h needs the types of windows.h.
#include <shellapi.h>

#include "cli/cli_support.h"

namespace tarn::cli {

// The program's words are UTF-8; the system's file names UTF-16.
std::filesystem::path pathFromArgument(const std::string& argument) {
    return std::filesystem::path(std::u8string(argument.begin(), argument.end()));
}

std::string argumentFromPath(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

// argv holds the words in the system's 8-bit code page, where a name in another script
// turns into question marks: the UTF-16 command line keeps every character.
std::vector<std::string> commandLineWords(int argc, char** argv) {
    int count = 0;
    wchar_t** words = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!words) return std::vector<std::string>(argv + 1, argv + argc);
    std::vector<std::string> out;
    for (int i = 1; i < count; ++i)
        out.push_back(argumentFromPath(std::filesystem::path(words[i])));
    LocalFree(words);
    return out;
}

}  // namespace tarn::cli
