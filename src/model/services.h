#pragma once

#include <array>
#include <filesystem>
#include <functional>
#include <string>

#include "model/window_handle.h"

namespace tarn {

class ClientRecord;
class Clipboard;
class PrintBackend;
class ProgressUi;
class RadioLog;
class SettingsBackend;
class UserFeedback;
struct SerialConnection;

// Everything process-wide the program talks to: the message boxes, progress windows,
// clipboard, printer, settings, serial port, the dialogs the core opens, and the frame.
// The program (tarn, tarn-cli) installs its own once at start-up with a ScopedServices;
// tests install fakes the same way for one scope. A null pointer or an empty function
// means the harmless default named beside it, so callers never check.
struct Services {
    UserFeedback* feedback = nullptr;     // stderr; questions get the affirmative button
    ProgressUi* progress = nullptr;       // silent
    Clipboard* clipboard = nullptr;       // in memory
    PrintBackend* printer = nullptr;      // every choice of printer counts as cancelled
    SettingsBackend* settings = nullptr;  // in memory
    // Called after every addRecentFile of the process-wide settings (the frame rebuilds its menu).
    std::function<void()> recentFilesChanged;
    // What a SerialLink built with its default constructor talks through (empty: the
    // platform driver on the real clock).
    std::function<SerialConnection()> serialConnection;
    // Where every SerialLink records its exchanges (null: nowhere). The desktop keeps one
    // for the whole session.
    RadioLog* radioLog = nullptr;

    // The modal dialogs of the core's transactions; non-zero means OK, empty means
    // cancelled. Edit channel reads the channel from ClientRecord::currentChannel(); the
    // dealer text dialog edits the 100-byte field in place (at most 99 characters).
    std::function<int(ClientRecord& client, WindowHandle parent)> editChannel;
    std::function<int(ClientRecord& client, WindowHandle parent)> editClient;
    std::function<int(std::array<char, 100>& text, WindowHandle parent)> editDealerText;

    // The desktop program's main window: the owner of MessageOwner::frame() boxes.
    WindowHandle frame = nullptr;
    // The Help command, run from the edit client dialog's Help button (empty: nothing).
    std::function<void()> help;
    // The file-name dialogs, by kind; true with `path` replaced on confirmation (empty:
    // the real dialogs).
    std::function<bool(WindowHandle owner, std::filesystem::path& path, int kind)> askFileName;
};

// The services installed now (all defaults before any ScopedServices). The only
// process-wide hook of the program: everything above reaches its seams through it.
const Services& services();

// Changes the services for its own lifetime: it remembers them as they were when it was
// made and puts exactly that back when it ends, on every path out of the scope (an early
// return or a failed test check included). Changes made through it take effect at once.
// Guards nest and end in reverse order of creation.
class ScopedServices {
  public:
    ScopedServices();                               // keeps the current ones to change through ->
    explicit ScopedServices(Services replacement);  // installs these whole
    ~ScopedServices();
    ScopedServices(const ScopedServices&) = delete;
    ScopedServices& operator=(const ScopedServices&) = delete;

    Services* operator->() const;
    Services& operator*() const;

  private:
    Services saved_;
    int depth_;  // how many guards were open with this one
};

}  // namespace tarn
