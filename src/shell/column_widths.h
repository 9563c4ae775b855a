#pragma once

#include <QStringList>
#include <vector>

class QTableView;

namespace tarn {

// The column widths a list starts with: those stored under the settings value `name`, or,
// while none are stored, widths that fit each column's header text and the longest text
// the column holds (`longest`, one per column) in the list's font.
std::vector<int> initialColumnWidths(const QTableView& view, const char* name,
                                     const QStringList& longest);

}  // namespace tarn
