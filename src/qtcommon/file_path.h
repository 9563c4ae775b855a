#pragma once

#include <QString>
#include <filesystem>

namespace tarn {

// Paths are the bytes (or, on Windows, the UTF-16 units) the user chose; they are never
// 8-bit texts of the database. These two turn them into what Qt shows and back, the way
// the platform names files.
QString displayPath(const std::filesystem::path& path);
std::filesystem::path pathFromQt(const QString& path);

}  // namespace tarn
