#pragma once

#include <QTableView>
#include <vector>

#include "database/client_order.h"

namespace tarn {

class ClientSortProxy;
class ClientTableModel;

// The database window's list: eight columns, grid lines, whole rows selected, several
// at once. The current index is the focus mark; the list sets it only where the user
// asked for it: a click or a key, Enter in the Find field, a client just added.
class ClientList final : public QTableView {
    Q_OBJECT
  public:
    static constexpr int kColumns = kSummaryColumns;

    ClientList(const ClientDatabase& database, QWidget* parent);

    // Rebuilds every row in database order, with no selection and no focus mark, except
    // for clients marked new: they are selected, the first of them current and in view.
    void refill();
    // The `count` clients from index `first` on were just added (at the end); the next
    // refill shows them selected, so that F6 reads into the first at once.
    void markNewClients(int first, int count);
    // The first row shown becomes the current and only selected row, in view, and the
    // list takes the focus (Enter in the Find field); nothing when no row is shown.
    void goToFirstRow();
    // Rewrites the texts of the row of client k; false when no row shows it.
    bool refreshClient(int k);
    // Sorts rising by the column (every time: a second sort does not reverse).
    void sortByColumn(int column);
    // Shows only the clients whose name, serial or selcall contains the text. The focus
    // mark goes and hidden rows leave the selection: no command reaches a hidden client.
    void setFindText(const QString& text);
    // "12 of 1000 clients" while a find text hides clients, else empty.
    QString findStatus() const;

    int rowCount() const;
    int clientOfRow(int row) const;
    int focusedClient() const;                 // -1 when no row has the focus mark
    std::vector<int> selectedClients() const;  // in display order
    int rowOfClient(int k) const;              // -1 when no row shows it

    std::vector<int> columnWidths() const;
    void setColumnWidths(const std::vector<int>& widths);

  protected:
    void focusInEvent(QFocusEvent* event) override;

  private:
    void showNewClients();

    ClientTableModel* clients_;
    ClientSortProxy* rows_;
    int newFirst_ = 0, newCount_ = 0;  // clients to select after the next refill
};

}  // namespace tarn
