#pragma once

#include <filesystem>

namespace tarn {

// The folder where this program keeps the user's own data (backups): on Windows
// %LOCALAPPDATA%\TARN\Tarn DataBase, elsewhere $XDG_DATA_HOME (else ~/.local/share)
// /TARN/Tarn DataBase, beside the settings' own "TARN/Tarn DataBase". Empty when the
// system names no such folder.
std::filesystem::path userDataFolder();

}  // namespace tarn
