#include "shell/file_name_dialog.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

#include "model/message_texts.h"
#include "model/user_feedback.h"
#include "qtcommon/file_path.h"
#include "shell/context_help.h"
#include "shell/shell_services.h"

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
            ask(msg::kPathNotFound, info.dir().path(), QMessageBox::Warning, QMessageBox::Ok);
            return;
        }
        if (info.exists() && !info.isWritable()) {
            ask(msg::kFileReadOnly, info.fileName(), QMessageBox::Warning, QMessageBox::Ok);
            return;
        }
        if (!info.exists() && ask(msg::kCreateFile, info.fileName(), QMessageBox::Question,
                                  QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes)
            return;
        QFileDialog::accept();
    }

  private:
    int ask(const char* pattern, const QString& name, QMessageBox::Icon icon,
            QMessageBox::StandardButtons buttons) {
        const std::string text = formatMessage(pattern, std::string_view(name.toStdString()));
        QMessageBox box(icon, windowTitle(), QString::fromStdString(text), buttons, this);
        addMessageHelp(box);
        return box.exec();
    }
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
