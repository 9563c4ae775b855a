#pragma once

namespace tarn {

// Installs the Qt implementations of every seam the core calls: message boxes, progress
// windows, the dealer text dialog, the edit dialogs, the clipboard and printing.
void installSeams();

}  // namespace tarn
