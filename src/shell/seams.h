#pragma once

#include "model/services.h"

namespace tarn {

// Fills in the Qt implementations of every seam the core calls: message boxes, progress
// windows, the dealer text dialog, the edit dialogs, the clipboard and printing.
void addQtSeams(Services& services);

}  // namespace tarn
