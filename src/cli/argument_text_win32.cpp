// Command-line arguments in the ANSI code page, as Windows hands them to main.
#include <windows.h>

#include <string>

#include "cli/cli_support.h"

namespace tarn::cli {

std::string argumentUtf8(const std::string& argument) {
    const int length = static_cast<int>(argument.size());
    const int wide = MultiByteToWideChar(CP_ACP, 0, argument.data(), length, nullptr, 0);
    if (wide <= 0) return argument;
    std::wstring text(static_cast<std::size_t>(wide), L'\0');
    MultiByteToWideChar(CP_ACP, 0, argument.data(), length, text.data(), wide);
    const int bytes =
        WideCharToMultiByte(CP_UTF8, 0, text.data(), wide, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(bytes > 0 ? bytes : 0), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), wide, utf8.data(), bytes, nullptr, nullptr);
    return utf8;
}

}  // namespace tarn::cli
