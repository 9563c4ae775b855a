#pragma once

#include <array>
#include <functional>
#include <string>

#include "model/scoped.h"
#include "model/window_handle.h"

namespace tarn {

class ClientRecord;
class Clipboard;
class PrintBackend;
class ProgressUi;
class SettingsBackend;
class UserFeedback;
struct SerialConnection;

// Everything process-wide the core talks to: the message boxes, progress windows,
// clipboard, printer, settings, serial port and the dialogs the core opens. The program
// (tarn, tarn-cli) installs its own once at start-up with a ScopedServices; tests install
// fakes the same way for one scope. A null pointer or an empty function means the
// harmless default named beside it, so callers never check.
struct Services {
    UserFeedback* feedback = nullptr;     // stderr; questions get the negative button
    ProgressUi* progress = nullptr;       // silent
    Clipboard* clipboard = nullptr;       // in memory
    PrintBackend* printer = nullptr;      // every choice of printer counts as cancelled
    SettingsBackend* settings = nullptr;  // in memory
    // Called after every addRecentFile of the process-wide settings (the frame rebuilds its menu).
    std::function<void()> recentFilesChanged;
    // What a SerialLink built without a device talks through (empty: the platform driver
    // on the real clock).
    std::function<SerialConnection()> serialConnection;

    // The modal dialogs of the core's transactions; non-zero means OK, empty means
    // cancelled. Edit channel reads the channel from ClientRecord::currentChannel(); the
    // dealer text dialog edits the 100-byte field in place (at most 99 characters).
    std::function<int(ClientRecord& client, WindowHandle parent)> editChannel;
    std::function<int(ClientRecord& client, WindowHandle parent)> editClient;
    std::function<int(std::array<char, 100>& text, WindowHandle parent)> editDealerText;
};

// Installs services for one scope (see Scoped).
using ScopedServices = Scoped<Services>;

// The services installed now (all defaults before any ScopedServices). The only
// process-wide hook of the core: everything above reaches its seams through it.
inline const Services& services() {
    return ScopedServices::current();
}

}  // namespace tarn
