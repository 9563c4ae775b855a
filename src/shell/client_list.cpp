#include "shell/client_list.h"

#include <QFocusEvent>
#include <QHeaderView>

#include "database/client_match.h"
#include "shell/client_table_model.h"

namespace tarn {

ClientList::ClientList(const ClientDatabase& database, QWidget* parent)
    : QTableView(parent),
      clients_(new ClientTableModel(database, this)),
      rows_(new ClientSortProxy(clients_)) {
    setObjectName("List View");
    setModel(rows_);
    horizontalHeader()->setSectionsClickable(true);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setStretchLastSection(false);
    horizontalHeader()->setMinimumSectionSize(1);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    setShowGrid(true);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
    setTabKeyNavigation(false);
    setSortingEnabled(false);  // a header click sorts once, rising; see sortByColumn
    connect(horizontalHeader(), &QHeaderView::sectionClicked, this, &ClientList::sortByColumn);
}

void ClientList::refill() {
    rows_->sort(-1);  // back to database order, which the reset then keeps
    clients_->reload();
    showNewClients();
}

void ClientList::markNewClients(int first, int count) {
    newFirst_ = first;
    newCount_ = count;
}

void ClientList::showNewClients() {
    QItemSelection rows;
    QModelIndex current;
    for (int k = newFirst_; k < newFirst_ + newCount_; ++k) {
        const int row = rowOfClient(k);  // a Find text may hide it
        if (row < 0) continue;
        const QModelIndex index = rows_->index(row, 0);
        if (!current.isValid()) current = index;
        rows.select(index, index);
    }
    newCount_ = 0;
    if (!current.isValid()) return;
    selectionModel()->setCurrentIndex(current, QItemSelectionModel::NoUpdate);
    selectionModel()->select(rows, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    scrollTo(current);
}

void ClientList::goToFirstRow() {
    if (rowCount() == 0) return;
    const QModelIndex first = rows_->index(0, 0);
    selectionModel()->setCurrentIndex(
        first, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    scrollTo(first);
    setFocus(Qt::OtherFocusReason);
}

bool ClientList::refreshClient(int k) {
    return clients_->refreshClient(k) && rowOfClient(k) >= 0;
}

void ClientList::sortByColumn(int column) {
    rows_->sort(column, Qt::AscendingOrder);
    int first = -1;
    for (const QModelIndex& index : selectionModel()->selectedRows())
        if (first < 0 || index.row() < first) first = index.row();
    if (first >= 0) scrollTo(rows_->index(first, 0), QAbstractItemView::EnsureVisible);
}

void ClientList::setFindText(const QString& text) {
    // Hidden rows leave the selection with the rows; the focus mark goes in any case.
    rows_->setFindText(findTextOf(text.toStdString()));
    selectionModel()->clearCurrentIndex();
}

QString ClientList::findStatus() const {
    if (!rows_->isFiltering()) return {};
    return QString("%1 of %2 clients").arg(rowCount()).arg(clients_->rowCount());
}

int ClientList::rowCount() const {
    return rows_->rowCount();
}

int ClientList::clientOfRow(int row) const {
    const QModelIndex source = rows_->mapToSource(rows_->index(row, 0));
    return source.isValid() ? source.row() : -1;
}

int ClientList::focusedClient() const {
    const QModelIndex current = currentIndex();
    return current.isValid() ? clientOfRow(current.row()) : -1;
}

std::vector<int> ClientList::selectedClients() const {
    std::vector<int> clients;
    for (int row = 0; row < rowCount(); ++row)
        if (selectionModel()->isRowSelected(row, QModelIndex()))
            clients.push_back(clientOfRow(row));
    return clients;
}

int ClientList::rowOfClient(int k) const {
    const QModelIndex row = rows_->mapFromSource(clients_->index(k, 0));
    return row.isValid() ? row.row() : -1;
}

std::vector<int> ClientList::columnWidths() const {
    std::vector<int> widths;
    for (int c = 0; c < kColumns; ++c) widths.push_back(columnWidth(c));
    return widths;
}

void ClientList::setColumnWidths(const std::vector<int>& widths) {
    for (int c = 0; c < kColumns && c < static_cast<int>(widths.size()); ++c)
        setColumnWidth(c, widths[c]);
}

void ClientList::focusInEvent(QFocusEvent* event) {
    // The item view would put the focus mark on the first row when it gets the focus
    // without one; here only the user's click or key sets it.
    const bool hadCurrent = currentIndex().isValid();
    QTableView::focusInEvent(event);
    if (!hadCurrent && event->reason() != Qt::MouseFocusReason)
        selectionModel()->clearCurrentIndex();
}

}  // namespace tarn
