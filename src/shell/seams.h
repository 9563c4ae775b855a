#pragma once

#include "model/services.h"
#include "shell/shell_services.h"

namespace tarn {

// Fills in the Qt implementations of every seam the core calls: message boxes, progress
// windows, the dealer text dialog, the edit dialogs, the clipboard and printing; and the
// session's radio log.
void addQtSeams(Services& services, ShellServices& shell);

}  // namespace tarn
