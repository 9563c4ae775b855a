#include "shell/client_list.h"

#include <QFocusEvent>
#include <QHeaderView>

#include "database/client_database.h"
#include "qtcommon/ansi_text.h"

namespace tarn {
namespace {

const std::string& summaryText(const ClientSummary& s, int column) {
    const std::string* texts[] = {&s.name,    &s.type, &s.serial, &s.selcall,
                                  &s.program, &s.mode, &s.tune,   &s.power};
    return *texts[column];
}

// One cell; it knows its client and column so that sorting asks the database directly.
class ClientItem final : public QTableWidgetItem {
  public:
    ClientItem(const ClientDatabase& database, int client, int column)
        : database_(database), client_(client), column_(column) {
        setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    }
    int client() const { return client_; }
    bool operator<(const QTableWidgetItem& other) const override {
        const auto& that = static_cast<const ClientItem&>(other);
        return compareClientRows(database_, client_, that.client_, column_) < 0;
    }

  private:
    const ClientDatabase& database_;
    int client_;
    int column_;
};

}  // namespace

int compareClientRows(const ClientDatabase& database, int a, int b, int column) {
    if (column < 0 || column > 7) return 0;
    ClientSummary first, second;
    database.clientSummary(a, first);
    database.clientSummary(b, second);
    const std::string& x = summaryText(first, column);
    const std::string& y = summaryText(second, column);
    for (std::size_t i = 0; i < x.size() && i < y.size(); ++i) {
        const auto p = static_cast<unsigned char>(x[i]), q = static_cast<unsigned char>(y[i]);
        if (p != q) return p < q ? -1 : 1;
    }
    if (x.size() == y.size()) return 0;
    return x.size() < y.size() ? -1 : 1;  // the shorter text ends first
}

ClientList::ClientList(const ClientDatabase& database, QWidget* parent)
    : QTableWidget(0, kColumns, parent), database_(database) {
    setObjectName("List View");
    setHorizontalHeaderLabels(
        {"Client", "Type", "Serial", "SelCall", "Program", "Mode", "Tune", "Power"});
    for (int c = 0; c < kColumns; ++c)
        horizontalHeaderItem(c)->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    horizontalHeader()->setSectionsClickable(true);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setStretchLastSection(false);
    horizontalHeader()->setMinimumSectionSize(1);
    verticalHeader()->hide();
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
    clearSelection();
    setRowCount(0);
    const int count = database_.clientCount();
    setRowCount(count);
    for (int i = 0; i < count; ++i) {
        for (int c = 0; c < kColumns; ++c) setItem(i, c, new ClientItem(database_, i, c));
        setRowTexts(i, i);
    }
    clearSelection();
    selectionModel()->clearCurrentIndex();
}

bool ClientList::refreshClient(int k) {
    const int row = rowOfClient(k);
    if (row < 0) return false;
    setRowTexts(row, k);
    return true;
}

void ClientList::setRowTexts(int row, int k) {
    ClientSummary summary;
    database_.clientSummary(k, summary);
    for (int c = 0; c < kColumns; ++c) item(row, c)->setText(fromAnsi(summaryText(summary, c)));
}

void ClientList::sortByColumn(int column) {
    sortItems(column, Qt::AscendingOrder);
    const QList<QTableWidgetItem*> chosen = selectedItems();
    int first = -1;
    for (const QTableWidgetItem* cell : chosen)
        if (first < 0 || cell->row() < first) first = cell->row();
    if (first >= 0) scrollToItem(item(first, 0), QAbstractItemView::EnsureVisible);
}

int ClientList::clientOfRow(int row) const {
    const auto* cell = static_cast<const ClientItem*>(item(row, 0));
    return cell ? cell->client() : -1;
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
    for (int row = 0; row < rowCount(); ++row)
        if (clientOfRow(row) == k) return row;
    return -1;
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
    QTableWidget::focusInEvent(event);
    if (!hadCurrent && event->reason() != Qt::MouseFocusReason)
        selectionModel()->clearCurrentIndex();
}

}  // namespace tarn
