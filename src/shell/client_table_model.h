#pragma once

#include <QSortFilterProxyModel>
#include <map>
#include <string>

#include "database/client_order.h"
#include "shell/text_table_model.h"

namespace tarn {

// The rows of a database's client list: row i is client i, with its eight summary texts
// as they were at the last reload (or refresh of that row).
class ClientTableModel final : public TextTableModel {
    Q_OBJECT
  public:
    ClientTableModel(const ClientDatabase& database, QObject* parent);

    const ClientDatabase& database() const { return database_; }
    // Every client again, in database order (a model reset).
    void reload();
    // The texts of client k again; false when the model has no row for it.
    bool refreshClient(int k);
    // A selcall that other advanced clients use too is shown in red, its tool tip naming
    // them all.
    QVariant data(const QModelIndex& index, int role) const override;

  private:
    QStringList textsOf(int k) const;
    // The clashes anew, every selcall cell told when they changed.
    void findClashes();

    const ClientDatabase& database_;
    std::map<int, QString> clashes_;  // client: the clash text of its selcall
};

// The order the list shows: rising by one column with compareClientRows, stable, and
// kept as it is until the next sort (a refreshed row does not move), showing only the
// clients that match the find text. The one place where list rows and clients are mapped.
class ClientSortProxy final : public QSortFilterProxyModel {
    Q_OBJECT
  public:
    explicit ClientSortProxy(ClientTableModel* source);

    // The 8-bit text the clients must contain (clientMatches); empty shows every client.
    void setFindText(std::string text);
    bool isFiltering() const { return !findText_.empty(); }

  protected:
    bool lessThan(const QModelIndex& left, const QModelIndex& right) const override;
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;

  private:
    const ClientTableModel* source_;
    std::string findText_;
};

}  // namespace tarn
