#include <cstdlib>

#include "database/data_folder.h"

namespace tarn {

std::filesystem::path userDataFolder() {
    // The variable's UTF-16 text, so that a profile folder in any language works.
    const wchar_t* local = _wgetenv(L"LOCALAPPDATA");
    if (!local || !*local) return {};
    return std::filesystem::path(local) / "TARN" / "Tarn DataBase";
}

}  // namespace tarn
