#include "shell/column_widths.h"

#include <QHeaderView>
#include <QStyle>
#include <QTableView>
#include <algorithm>

#include "model/client_record.h"
#include "settings/settings_store.h"

namespace tarn {

QString longestName() {
    return QString(kNameSize - 1, 'N');
}

QString longestLabel() {
    return QStringLiteral("Fishing fleet working channel 9");
}

std::vector<int> initialColumnWidths(const QTableView& view, const char* name,
                                     const QStringList& longest) {
    const auto columns = static_cast<int>(longest.size());
    if (!settings().readText(name, 256, "").empty())
        return settings().readColumnWidths(name, columns);
    const QHeaderView* header = view.horizontalHeader();
    const int cellMargin = 2 * (view.style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 1) + 6;
    const int headerMargin = 2 * view.style()->pixelMetric(QStyle::PM_HeaderMargin) + 8;
    std::vector<int> widths;
    for (int c = 0; c < columns; ++c) {
        const QString title = view.model()->headerData(c, Qt::Horizontal).toString();
        widths.push_back(std::max(header->fontMetrics().horizontalAdvance(title) + headerMargin,
                                  view.fontMetrics().horizontalAdvance(longest[c]) + cellMargin));
    }
    return widths;
}

}  // namespace tarn
