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

// Opens the manual with `open` (the desktop's "open this file"), then calls `done` once with
// the message to show when that cannot work, or with nothing. On a freedesktop system the
// file goes to xdg-open, which shows nothing and says nothing when no program is set for PDF
// files: xdg-mime is asked that first, in the background (a slow answer does not stop the
// windows), and a missing xdg-open is named too, each below the failure line.
void openHelpFile(const QString& manual, const std::function<bool(const QUrl&)>& open,
                  const std::function<void(const std::string&)>& done);

}  // namespace tarn
