#pragma once

#include <string>

#include "model/client_record.h"

namespace tarn {

// The columns of a channel list, in their order on the screen.
enum class ChannelColumn { Number, Label, Mode, Rx, Tx, Scan, Selcall };

// Whether channel a sorts before channel b of the client by the column: rising number,
// label byte by byte (unsigned, case-sensitive), USB before LSB, rising RX or TX, scan and
// selcall channels first. Channels that compare equal keep no particular order.
bool channelSortsBefore(const ClientRecord& client, ChannelColumn column, int a, int b);

// The label of channel n as text: up to its NUL, or all 32 bytes of one that fills them.
std::string labelText(const ClientRecord& client, int n);

}  // namespace tarn
