#pragma once

#include <QAbstractTableModel>
#include <QSortFilterProxyModel>
#include <array>
#include <vector>

namespace tarn {

class ClientRecord;

// The channel list of the edit client dialog: one row per channel in use, in channel
// order, with the texts as they were at the last reload.
class ChannelTableModel final : public QAbstractTableModel {
    Q_OBJECT
  public:
    enum Column { Channel, Label, Mode, Rx, Tx, Scan, Selcall, ColumnCount };

    ChannelTableModel(const ClientRecord& client, QObject* parent);

    const ClientRecord& client() const { return client_; }
    void reload();  // a model reset
    int channelOfRow(int row) const { return rows_[static_cast<std::size_t>(row)].channel; }
    void removeChannel(int channel);  // its row goes; the client is not touched

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  private:
    struct Row {
        int channel;
        std::array<QString, ColumnCount> texts;
    };
    const ClientRecord& client_;
    std::vector<Row> rows_;
};

// The channel list's order: rising by the column (labels byte by byte, frequencies by
// value, USB and "yes" first), stable, kept until the next sort or reload.
class ChannelSortProxy final : public QSortFilterProxyModel {
    Q_OBJECT
  public:
    explicit ChannelSortProxy(ChannelTableModel* source);
    int channelOfRow(int row) const;

  protected:
    bool lessThan(const QModelIndex& left, const QModelIndex& right) const override;

  private:
    const ChannelTableModel* source_;
};

}  // namespace tarn
