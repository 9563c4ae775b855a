#pragma once

#include <QTableWidget>
#include <vector>

namespace tarn {

class ClientDatabase;

// Compares the texts of column c of two clients byte by byte as unsigned values:
// -1, 0 or 1. Columns above 7 compare equal.
int compareClientRows(const ClientDatabase& database, int a, int b, int column);

// The database window's list: eight columns, grid lines, whole rows selected, several
// at once. Each row carries the index of its client. The current index is the focus
// mark; it is never set by the list on its own (only a click or a key moves it).
class ClientList final : public QTableWidget {
    Q_OBJECT
  public:
    static constexpr int kColumns = 8;

    ClientList(const ClientDatabase& database, QWidget* parent);

    // Rebuilds every row in database order, with no selection and no focus mark.
    void refill();
    // Rewrites the texts of the row of client k; false when no row shows it.
    bool refreshClient(int k);
    void sortByColumn(int column);

    int clientOfRow(int row) const;
    int focusedClient() const;                 // -1 when no row has the focus mark
    std::vector<int> selectedClients() const;  // in display order
    int rowOfClient(int k) const;              // -1 when no row shows it

    std::vector<int> columnWidths() const;
    void setColumnWidths(const std::vector<int>& widths);

  protected:
    void focusInEvent(QFocusEvent* event) override;

  private:
    void setRowTexts(int row, int k);

    const ClientDatabase& database_;
};

}  // namespace tarn
