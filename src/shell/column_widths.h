#pragma once

#include <QString>
#include <QStringList>
#include <vector>

class QTableView;

namespace tarn {

// Texts as wide as those the lists show whole by default: a client name of 31 characters
// (all a name holds) in capitals of middle width, and a channel label of 31 characters of
// ordinary text (the edit client dialog's list has a fixed width, Scan and SelCall stay
// in view).
QString longestName();
QString longestLabel();

// The column widths a list starts with: those stored under the settings value `name`, or,
// while none are stored, widths that fit each column's header text and the longest text
// the column holds (`longest`, one per column) in the list's font.
std::vector<int> initialColumnWidths(const QTableView& view, const char* name,
                                     const QStringList& longest);

}  // namespace tarn
