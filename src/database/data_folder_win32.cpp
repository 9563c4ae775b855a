#include <cstdlib>
#include <string>

#include "database/data_folder.h"

namespace tarn {

std::filesystem::path userDataFolder() {
    wchar_t* local = nullptr;
    std::size_t length = 0;
    // The variable's UTF-16 text, so that a profile folder in any language works.
    if (_wdupenv_s(&local, &length, L"LOCALAPPDATA") != 0 || !local) return {};
    const std::wstring folder(local);
    std::free(local);
    if (folder.empty()) return {};
    return std::filesystem::path(folder) / "TARN" / "Tarn DataBase";
}

}  // namespace tarn
