#pragma once

#include <filesystem>

class QWidget;

namespace tarn {

inline constexpr int kMaxPath = 260;  // a path holds at most 259 bytes

enum class FileDialogKind {
    OpenDatabase = 1,
    SaveDatabase = 2,
    ExportDatabase = 3,
    ImportCsv = 4,
    SaveRadioLog = 5,
};

// Shows the file-name dialog of the kind, owned by the owner. On confirmation the chosen
// full path (any length: see pathFits) replaces `path` and the result is true; on
// cancel, or for an unknown kind, `path` is left as it was and the result is false.
bool askFileName(QWidget* owner, std::filesystem::path& path, FileDialogKind kind);

// Paths of 260 bytes or more are refused with a message before anything changes.
bool pathFits(QWidget* owner, const std::filesystem::path& path);

// The real dialog, whatever Services::askFileName is installed.
bool showFileNameDialog(QWidget* owner, std::filesystem::path& path, FileDialogKind kind);

}  // namespace tarn
