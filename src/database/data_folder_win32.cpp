#include <cstdlib>

#include "database/data_folder.h"

namespace tarn {

std::filesystem::path userDataFolder() {
    namespace fs = std::filesystem;
    const wchar_t* local = _wgetenv(L"LOCALAPPDATA");
    if (!local || !*local) return {};
    return fs::path(local) / "TARN" / "Tarn DataBase";
}

}  // namespace tarn
