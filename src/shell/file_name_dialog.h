#pragma once

#include <filesystem>

class QWidget;

namespace tarn {

enum class FileDialogKind {
    OpenDatabase = 1,
    SaveDatabase = 2,
    ExportDatabase = 3,
    ImportCsv = 4,
    SaveRadioLog = 5,
    SaveComparison = 6,
};

// Shows the file-name dialog of the kind, owned by the owner. On confirmation the chosen
// full path (any length: the core's pathFits judges it) replaces `path` and the result is true; on
// cancel, or for an unknown kind, `path` is left as it was and the result is false.
bool askFileName(QWidget* owner, std::filesystem::path& path, FileDialogKind kind);

// The real dialog, whatever Services::askFileName is installed.
bool showFileNameDialog(QWidget* owner, std::filesystem::path& path, FileDialogKind kind);

}  // namespace tarn
