#pragma once

#include <QString>
#include <QStringList>

namespace tarn {

inline constexpr const char* kHelpFileName = "Tarn.pdf";

// The folders Help looks in for "Tarn.pdf", in order: the working directory, the
// program's own folder, and the installed documentation folder (found relative to the
// program, so a moved installation still finds it).
QStringList helpFolders();

// The manual in the first of the folders that holds it; when none does, where it would
// be in the first folder (opening that fails as a missing file).
QString findHelpFile(const QStringList& folders);

}  // namespace tarn
