#include "shell/channel_table_model.h"

#include <string>

#include "model/channel_order.h"
#include "model/client_record.h"
#include "model/khz_text.h"
#include "qtcommon/ansi_text.h"

namespace tarn {
namespace {

QString yesNo(int flag) {
    return flag ? QStringLiteral("yes") : QStringLiteral("no");
}

}  // namespace

ChannelTableModel::ChannelTableModel(const ClientRecord& client, QObject* parent)
    : TextTableModel({"Channel", "Label", "Mode", "Rx Freq.", "Tx Freq.", "Scan", "SelCall"},
                     parent),
      client_(client) {}

void ChannelTableModel::reload() {
    std::vector<QStringList> rows;
    for (int n = 1; n <= kChannelCount; ++n) {
        if (client_.isChannelFree(n)) continue;
        rows.push_back({
            QString::number(n),
            fromAnsi(labelText(client_, n)),
            client_.getChannelFlag(n, ChannelFlag::Usb) ? QStringLiteral("USB")
                                                        : QStringLiteral("LSB"),
            QString::fromStdString(formatKhz(client_.getFrequency(n, 0))),
            QString::fromStdString(formatKhz(client_.getFrequency(n, 1))),
            yesNo(client_.getChannelFlag(n, ChannelFlag::Scan)),
            yesNo(client_.getChannelFlag(n, ChannelFlag::Selcall)),
        });
    }
    resetRows(std::move(rows));
}

void ChannelTableModel::removeChannel(int channel) {
    for (int row = 0; row < rowCount(); ++row) {
        if (channelOfRow(row) != channel) continue;
        removeRow(row);
        return;
    }
}

ChannelSortProxy::ChannelSortProxy(ChannelTableModel* source)
    : QSortFilterProxyModel(source), source_(source) {
    setDynamicSortFilter(false);
    setSourceModel(source);
}

int ChannelSortProxy::channelOfRow(int row) const {
    return source_->channelOfRow(mapToSource(index(row, 0)).row());
}

bool ChannelSortProxy::lessThan(const QModelIndex& left, const QModelIndex& right) const {
    return channelSortsBefore(source_->client(), static_cast<ChannelColumn>(left.column()),
                              source_->channelOfRow(left.row()),
                              source_->channelOfRow(right.row()));
}

}  // namespace tarn
