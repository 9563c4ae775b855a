#include "shell/client_table_model.h"

#include "qtcommon/ansi_text.h"

namespace tarn {

ClientTableModel::ClientTableModel(const ClientDatabase& database, QObject* parent)
    : QAbstractTableModel(parent), database_(database) {}

ClientTableModel::Texts ClientTableModel::textsOf(int k) const {
    ClientSummary summary;
    database_.clientSummary(k, summary);
    Texts texts;
    for (int c = 0; c < kSummaryColumns; ++c)
        texts[static_cast<std::size_t>(c)] = fromAnsi(summaryText(summary, c));
    return texts;
}

void ClientTableModel::reload() {
    beginResetModel();
    rows_.clear();
    const int count = database_.clientCount();
    rows_.reserve(static_cast<std::size_t>(count));
    for (int k = 0; k < count; ++k) rows_.push_back(textsOf(k));
    endResetModel();
}

bool ClientTableModel::refreshClient(int k) {
    if (k < 0 || k >= rowCount()) return false;
    rows_[static_cast<std::size_t>(k)] = textsOf(k);
    emit dataChanged(index(k, 0), index(k, kSummaryColumns - 1), {Qt::DisplayRole});
    return true;
}

int ClientTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int ClientTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kSummaryColumns;
}

QVariant ClientTableModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid()) return {};
    return rows_[static_cast<std::size_t>(index.row())][static_cast<std::size_t>(index.column())];
}

QVariant ClientTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    static const char* const headers[kSummaryColumns] = {"Client",  "Type", "Serial", "SelCall",
                                                         "Program", "Mode", "Tune",   "Power"};
    if (orientation != Qt::Horizontal || section < 0 || section >= kSummaryColumns) return {};
    if (role == Qt::DisplayRole) return QString::fromLatin1(headers[section]);
    if (role == Qt::TextAlignmentRole) return int(Qt::AlignLeft | Qt::AlignVCenter);
    return {};
}

ClientSortProxy::ClientSortProxy(ClientTableModel* source)
    : QSortFilterProxyModel(source), source_(source) {
    setDynamicSortFilter(false);
    setSourceModel(source);
}

bool ClientSortProxy::lessThan(const QModelIndex& left, const QModelIndex& right) const {
    return compareClientRows(source_->database(), left.row(), right.row(), left.column()) < 0;
}

}  // namespace tarn
