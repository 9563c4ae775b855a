#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>
#include <functional>
#include <string>

namespace tarn {

inline constexpr const char* kHelpFileName = "Tarn.pdf";

// The folders Help looks in for "Tarn.pdf", in order: the working directory, the
// program's own folder, and the program's installed data folder (found relative to the
// program, so a moved installation still finds it).
QStringList helpFolders();

// The manual in the first of the folders that holds it; when none does, where it would
// be in the first folder (opening that fails as a missing file).
QString findHelpFile(const QStringList& folders);

// Opens the manual `manual` with `open` (the desktop's "open this file"); returns the message
// to show when that cannot work, else empty. On a freedesktop system the file is handed
// to xdg-open, which shows nothing and says nothing when no program is set for PDF files:
// that is found out first, and a missing xdg-open is named, each below the failure line.
std::string openHelpFile(const QString& manual, const std::function<bool(const QUrl&)>& open);

}  // namespace tarn
