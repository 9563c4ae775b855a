#pragma once

#include <array>
#include <functional>

#include "model/window_handle.h"

namespace tarn {

class ClientRecord;

// The dialogs that ClientDatabase's transactions run modally over a parent window.
// Non-zero means OK. The shell installs the real dialogs; tests script them.
using EditClientDialog = std::function<int(ClientRecord& client, WindowHandle parent)>;
// Edits the 100-byte dealer text field in place (reads back at most 99 characters).
using EditDealerTextDialog = std::function<int(std::array<char, 100>& text, WindowHandle parent)>;

void setEditClientDialog(EditClientDialog dialog);
const EditClientDialog& editClientDialog();  // empty: counts as cancelled
void setEditDealerTextDialog(EditDealerTextDialog dialog);
const EditDealerTextDialog& editDealerTextDialog();

}  // namespace tarn
