#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace tarn {

// Texts of the database are 8-bit; the screen shows them as Windows-1252 (Latin-1 where
// the platform has no such codec) and turns typed text back the same way; a character
// that has no 8-bit form becomes '?'.
QString fromAnsi(std::string_view bytes);
std::string toAnsi(const QString& text);

}  // namespace tarn
