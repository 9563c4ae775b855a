#pragma once

#include <QString>
#include <QStringList>
#include <vector>

class QTableView;

namespace tarn {

// A text as wide as the names and labels the lists show whole by default: 31 characters
// (all a name or a label holds) of a capital letter of middle width.
QString longestName();

// The column widths a list starts with: those stored under the settings value `name`, or,
// while none are stored, widths that fit each column's header text and the longest text
// the column holds (`longest`, one per column) in the list's font.
std::vector<int> initialColumnWidths(const QTableView& view, const char* name,
                                     const QStringList& longest);

}  // namespace tarn
