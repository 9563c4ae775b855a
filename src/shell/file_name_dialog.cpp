#include "shell/file_name_dialog.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

#include "model/message_texts.h"
#include "shell/shell_services.h"
#include "model/user_feedback.h"
#include "qtcommon/file_path.h"

namespace tarn {
namespace {

// The save dialog's own checks: the folder must exist, a read-only file cannot be
// chosen, and a file that does not exist yet is created only after asking.
class SaveFileDialog final : public QFileDialog {
  public:
    using QFileDialog::QFileDialog;

    void accept() override {
        const QStringList files = selectedFiles();
        if (acceptMode() != AcceptSave || files.isEmpty()) return QFileDialog::accept();
        const QFileInfo info(files.first());
        if (!info.dir().exists()) {
            warn(tr("%1\nPath does not exist.\nCheck the path and try again.")
                     .arg(info.dir().path()));
            return;
        }
        if (info.exists() && !info.isWritable()) {
            warn(tr("%1\nThis file is set to read-only.\nTry again with a different file name.")
                     .arg(info.fileName()));
            return;
        }
        if (!info.exists() &&
            QMessageBox::question(this, windowTitle(),
                                  tr("%1\nThis file does not exist.\nDo you want to create it?")
                                      .arg(info.fileName())) != QMessageBox::Yes)
            return;
        QFileDialog::accept();
    }

  private:
    void warn(const QString& text) { QMessageBox::warning(this, windowTitle(), text); }
};

}  // namespace

bool askFileName(QWidget* owner, std::filesystem::path& path, FileDialogKind kind) {
    if (const auto& asker = shellServices().askFileName)
        return asker(owner, path, static_cast<int>(kind));
    return showFileNameDialog(owner, path, kind);
}

bool showFileNameDialog(QWidget* owner, std::filesystem::path& path, FileDialogKind kind) {
    const QStringList databaseFilters{"Database Files (*.tdb)", "All Files (*.*)"};
    QString title;
    QStringList filters = databaseFilters;
    bool open = false;
    switch (kind) {
        case FileDialogKind::OpenDatabase:
            title = "Open database file";
            open = true;
            break;
        case FileDialogKind::SaveDatabase:
            title = "Save database file";
            break;
        case FileDialogKind::ExportDatabase:
            title = "Export database file";
            filters = {"CSV Files (*.csv)", "Text Files (*.txt)", "All Files (*.*)"};
            break;
        case FileDialogKind::ImportCsv:
            title = "Import CSV file";
            filters = {"CSV Files (*.csv)", "Text Files (*.txt)", "All Files (*.*)"};
            open = true;
            break;
        case FileDialogKind::SaveRadioLog:
            title = "Save radio log";
            filters = {"Text Files (*.txt)", "All Files (*.*)"};
            break;
        case FileDialogKind::SaveComparison:
            title = "Save comparison";
            filters = {"Text Files (*.txt)", "All Files (*.*)"};
            break;
        default:
            return false;
    }

    SaveFileDialog dialog(owner, title);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setNameFilters(filters);
    dialog.selectNameFilter(filters.first());
    if (open) {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
    } else {
        // Overwriting an existing file is confirmed by the dialog itself.
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
    path = pathFromQt(dialog.selectedFiles().first());
    return true;
}

}  // namespace tarn
