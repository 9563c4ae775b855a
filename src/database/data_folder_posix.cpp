#include <cstdlib>

#include "database/data_folder.h"

namespace tarn {

std::filesystem::path userDataFolder() {
    namespace fs = std::filesystem;
    const fs::path program = fs::path("TARN") / "Tarn DataBase";
    // A relative XDG_DATA_HOME is invalid and ignored, as the base-directory rules say.
    const char* data = std::getenv("XDG_DATA_HOME");
    if (data && *data == '/') return fs::path(data) / program;
    const char* home = std::getenv("HOME");
    if (home && *home == '/') return fs::path(home) / ".local" / "share" / program;
    return {};
}

}  // namespace tarn
