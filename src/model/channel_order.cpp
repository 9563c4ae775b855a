#include "model/channel_order.h"

#include <cstring>

namespace tarn {

std::string labelText(const ClientRecord& client, int n) {
    const auto* bytes = reinterpret_cast<const char*>(client.labelBytes(n));
    return std::string(bytes, strnlen(bytes, kLabelSize));
}

bool channelSortsBefore(const ClientRecord& client, ChannelColumn column, int a, int b) {
    auto flagFirst = [&](int mask) {
        return client.getChannelFlag(a, mask) != 0 && client.getChannelFlag(b, mask) == 0;
    };
    switch (column) {
        case ChannelColumn::Label:  // std::string compares its bytes as unsigned
            return labelText(client, a) < labelText(client, b);
        case ChannelColumn::Mode:
            return flagFirst(ChannelFlag::Usb);
        case ChannelColumn::Rx:
            return client.getFrequency(a, 0) < client.getFrequency(b, 0);
        case ChannelColumn::Tx:
            return client.getFrequency(a, 1) < client.getFrequency(b, 1);
        case ChannelColumn::Scan:
            return flagFirst(ChannelFlag::Scan);
        case ChannelColumn::Selcall:
            return flagFirst(ChannelFlag::Selcall);
        case ChannelColumn::Number:
            break;
    }
    return a < b;
}

}  // namespace tarn
