#include "shell/help_file.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include "model/message_texts.h"
#include "model/user_feedback.h"
#include "qtcommon/file_path.h"

namespace tarn {
namespace {

// Windows and macOS open a file through the system itself; elsewhere the desktop's
// xdg-utils decide which program shows it.
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
constexpr bool kOpensThroughXdg = true;
#else
constexpr bool kOpensThroughXdg = false;
#endif

// Whether xdg-mime says that no program is set for PDF files (and not merely that it
// could not be asked).
bool noPdfViewer() {
    QProcess query;
    query.start("xdg-mime", {"query", "default", "application/pdf"});
    if (!query.waitForFinished(5000)) {
        query.kill();
        query.waitForFinished();
        return false;
    }
    return query.exitStatus() == QProcess::NormalExit && query.exitCode() == 0 &&
           query.readAllStandardOutput().trimmed().isEmpty();
}

}  // namespace

QStringList helpFolders() {
    const QString program = QCoreApplication::applicationDirPath();
    return {QDir::currentPath(), program,
            QDir::cleanPath(program + QStringLiteral("/" TARN_DATA_FROM_BIN))};
}

QString findHelpFile(const QStringList& folders) {
    for (const QString& folder : folders) {
        const QString path = QDir(folder).absoluteFilePath(kHelpFileName);
        if (QFileInfo(path).isFile()) return path;
    }
    return QDir(folders.value(0)).absoluteFilePath(kHelpFileName);
}

std::string openHelpFile(const QString& manual, const std::function<bool(const QUrl&)>& open) {
    const std::string failed = formatMessage(msg::kFailedToOpen, std::string_view(kHelpFileName));
    if (!QFileInfo(manual).isFile()) return failed;
    const std::filesystem::path path = pathFromQt(manual);
    const bool xdgOpen = !QStandardPaths::findExecutable("xdg-open").isEmpty();
    if (kOpensThroughXdg && xdgOpen && noPdfViewer())
        return failed + "\n" + formatMessage(msg::kNoPdfViewer, path);
    if (open(QUrl::fromLocalFile(manual))) return {};
    if (kOpensThroughXdg && !xdgOpen) return failed + "\n" + formatMessage(msg::kNoXdgOpen, path);
    return failed;
}

}  // namespace tarn
