#include "shell/channel_table_model.h"

#include <string>

#include "model/client_record.h"
#include "model/khz_text.h"
#include "qtcommon/ansi_text.h"

namespace tarn {
namespace {

std::string labelOf(const ClientRecord& client, int n) {
    char label[kLabelSize] = {};
    client.getLabel(n, label, sizeof label);
    return label;
}

QString yesNo(int flag) {
    return flag ? QStringLiteral("yes") : QStringLiteral("no");
}

// True when channel a sorts before b by the column.
bool sortsBefore(const ClientRecord& client, int column, int a, int b) {
    auto flagFirst = [&](int mask) {
        return client.getChannelFlag(a, mask) != 0 && client.getChannelFlag(b, mask) == 0;
    };
    switch (column) {
        case ChannelTableModel::Label:  // byte by byte as unsigned bytes, case-sensitive
            return labelOf(client, a) < labelOf(client, b);
        case ChannelTableModel::Mode:
            return flagFirst(ChannelFlag::Usb);
        case ChannelTableModel::Rx:
            return client.getFrequency(a, 0) < client.getFrequency(b, 0);
        case ChannelTableModel::Tx:
            return client.getFrequency(a, 1) < client.getFrequency(b, 1);
        case ChannelTableModel::Scan:
            return flagFirst(ChannelFlag::Scan);
        case ChannelTableModel::Selcall:
            return flagFirst(ChannelFlag::Selcall);
        default:
            return a < b;
    }
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
            fromAnsi(labelOf(client_, n)),
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
    return sortsBefore(source_->client(), left.column(), source_->channelOfRow(left.row()),
                       source_->channelOfRow(right.row()));
}

}  // namespace tarn
