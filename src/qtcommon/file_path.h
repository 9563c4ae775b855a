#pragma once

#include <QByteArray>
#include <QString>
#include <filesystem>

namespace tarn {

// Paths are the bytes (or, on Windows, the UTF-16 units) the user chose; they are never
// 8-bit texts of the database. These two turn them into what Qt shows and back, the way
// the platform names files.
QString displayPath(const std::filesystem::path& path);
std::filesystem::path pathFromQt(const QString& path);

// The path as bytes for a message between two starts of the program, and back: exact on
// POSIX, where a name need not be valid text in any encoding.
QByteArray pathBytes(const std::filesystem::path& path);
std::filesystem::path pathFromBytes(const QByteArray& bytes);

}  // namespace tarn
