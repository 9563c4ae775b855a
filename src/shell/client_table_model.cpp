#include "shell/client_table_model.h"

#include "database/client_match.h"
#include "qtcommon/ansi_text.h"

namespace tarn {

ClientTableModel::ClientTableModel(const ClientDatabase& database, QObject* parent)
    : TextTableModel({"Client", "Type", "Serial", "SelCall", "Program", "Mode", "Tune", "Power"},
                     parent),
      database_(database) {}

QStringList ClientTableModel::textsOf(int k) const {
    ClientSummary summary;
    database_.clientSummary(k, summary);
    QStringList texts;
    for (int c = 0; c < kSummaryColumns; ++c) texts.append(fromAnsi(summaryText(summary, c)));
    return texts;
}

void ClientTableModel::reload() {
    std::vector<QStringList> rows;
    const int count = database_.clientCount();
    rows.reserve(static_cast<std::size_t>(count));
    for (int k = 0; k < count; ++k) rows.push_back(textsOf(k));
    resetRows(std::move(rows));
}

bool ClientTableModel::refreshClient(int k) {
    if (k < 0 || k >= rowCount()) return false;
    setRow(k, textsOf(k));
    return true;
}

ClientSortProxy::ClientSortProxy(ClientTableModel* source)
    : QSortFilterProxyModel(source), source_(source) {
    setDynamicSortFilter(false);
    setSourceModel(source);
}

bool ClientSortProxy::lessThan(const QModelIndex& left, const QModelIndex& right) const {
    return compareClientRows(source_->database(), left.row(), right.row(), left.column()) < 0;
}

void ClientSortProxy::setFindText(std::string text) {
    if (text == findText_) return;
    findText_ = std::move(text);
    invalidateRowsFilter();
}

bool ClientSortProxy::filterAcceptsRow(int sourceRow, const QModelIndex& /*sourceParent*/) const {
    if (findText_.empty()) return true;
    const ClientRecord* client = source_->database().client(sourceRow);
    return client && clientMatches(*client, findText_);
}

}  // namespace tarn
