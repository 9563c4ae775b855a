#pragma once

#include <filesystem>
#include <functional>
#include <string>

#include "model/scoped.h"

class QWidget;

namespace tarn {

class RadioLog;

// What only the desktop program's windows call, installed by the program at start-up and
// replaced by tests for one scope (ScopedShellServices). Empty means the default beside it.
struct ShellServices {
    QWidget* frame = nullptr;    // owner of the boxes the core gives to the main window
    std::function<void()> help;  // the Help command (edit client dialog's Help button)
    // The file-name dialogs, by kind; true with `path` replaced on confirmation (empty: the
    // real dialogs).
    std::function<bool(QWidget* owner, std::filesystem::path& path, int kind)> askFileName;
    // The transcript of the session's radio exchanges (null: none kept).
    RadioLog* radioLog = nullptr;
};

using ScopedShellServices = Scoped<ShellServices>;

inline const ShellServices& shellServices() {
    return ScopedShellServices::current();
}

}  // namespace tarn
