#include "shell/client_table_model.h"

#include <QBrush>

#include "database/client_match.h"
#include "document/selcall_numbers.h"
#include "qtcommon/ansi_text.h"

namespace tarn {
namespace {

constexpr int kSelcallColumn = 3;  // Client, Type, Serial, SelCall, ...

}  // namespace

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
    clashes_.clear();
    resetRows(std::move(rows));
    findClashes();
}

bool ClientTableModel::refreshClient(int k) {
    if (k < 0 || k >= rowCount()) return false;
    setRow(k, textsOf(k));
    findClashes();
    return true;
}

void ClientTableModel::findClashes() {
    std::map<int, QString> clashes;
    for (const SelcallClash& clash : selcallClashes(database_)) {
        const QString text = QString::fromStdString(selcallClashText(database_, {clash}));
        for (int client : clash.clients) clashes[client] = text;
    }
    if (clashes == clashes_) return;
    clashes_ = std::move(clashes);
    if (rowCount() > 0)
        emit dataChanged(index(0, kSelcallColumn), index(rowCount() - 1, kSelcallColumn));
}

QVariant ClientTableModel::data(const QModelIndex& index, int role) const {
    if (index.column() == kSelcallColumn &&
        (role == Qt::ForegroundRole || role == Qt::ToolTipRole)) {
        const auto clash = clashes_.find(index.row());
        if (clash == clashes_.end() || index.row() >= database_.clientCount()) return {};
        if (role == Qt::ToolTipRole) return clash->second;
        return QBrush(Qt::red);
    }
    return TextTableModel::data(index, role);
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
