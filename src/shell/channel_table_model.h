#pragma once

#include <QSortFilterProxyModel>

#include "shell/text_table_model.h"

namespace tarn {

class ClientRecord;

// The channel list of the edit client dialog: one row per channel in use, in channel
// order, with the texts as they were at the last reload.
class ChannelTableModel final : public TextTableModel {
    Q_OBJECT
  public:
    enum Column { Channel, Label, Mode, Rx, Tx, Scan, Selcall, ColumnCount };

    ChannelTableModel(const ClientRecord& client, QObject* parent);

    const ClientRecord& client() const { return client_; }
    void reload();  // a model reset
    int channelOfRow(int row) const { return rowTexts(row)[Channel].toInt(); }
    void removeChannel(int channel);  // its row goes; the client is not touched

  private:
    const ClientRecord& client_;
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
