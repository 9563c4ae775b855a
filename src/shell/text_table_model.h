#pragma once

#include <QAbstractTableModel>
#include <QStringList>
#include <vector>

namespace tarn {

// A list's rows as texts taken when the row was last filled: what the view shows stays
// as it was until the owner refills or refreshes it, whatever the data does meanwhile.
class TextTableModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  protected:
    TextTableModel(QStringList headers, QObject* parent);

    // Every row anew (a model reset).
    void resetRows(std::vector<QStringList> rows);
    // One row's texts anew.
    void setRow(int row, QStringList texts);
    void removeRow(int row);
    const QStringList& rowTexts(int row) const { return rows_[static_cast<std::size_t>(row)]; }

  private:
    const QStringList headers_;
    std::vector<QStringList> rows_;
};

}  // namespace tarn
