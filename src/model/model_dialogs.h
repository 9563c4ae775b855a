#pragma once

#include <functional>

#include "model/window_handle.h"

namespace tarn {

class ClientRecord;

// The edit channel dialog that ClientRecord::editChannel runs modally over a parent
// window. It reads the channel number from ClientRecord::currentChannel() and edits the
// record in place; non-zero means OK. The shell installs the real dialog; tests script it.
using EditChannelDialog = std::function<int(ClientRecord& client, WindowHandle parent)>;

void setEditChannelDialog(EditChannelDialog dialog);
// Empty when none is installed (editChannel then counts as cancelled).
const EditChannelDialog& editChannelDialog();

}  // namespace tarn
