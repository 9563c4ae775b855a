#include "shell/help_file.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTimer>

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

// Opens the existing manual; the message when that failed, or nothing.
std::string openFound(const QString& manual, const std::function<bool(const QUrl&)>& open) {
    if (open(QUrl::fromLocalFile(manual))) return {};
    const std::string failed = formatMessage(msg::kFailedToOpen, std::string_view(kHelpFileName));
    if (kOpensThroughXdg && QStandardPaths::findExecutable("xdg-open").isEmpty())
        return failed + "\n" + formatMessage(msg::kNoXdgOpen, pathFromQt(manual));
    return failed;
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

void openHelpFile(const QString& manual, const std::function<bool(const QUrl&)>& open,
                  const std::function<void(const std::string&)>& done) {
    if (!QFileInfo(manual).isFile())
        return done(formatMessage(msg::kFailedToOpen, std::string_view(kHelpFileName)));
    if (!kOpensThroughXdg || QStandardPaths::findExecutable("xdg-open").isEmpty())
        return done(openFound(manual, open));
    // Opened as before when xdg-mime cannot be asked, fails or takes too long.
    auto* query = new QProcess;
    QObject::connect(query, &QProcess::finished, query, [=](int code, QProcess::ExitStatus status) {
        query->deleteLater();
        if (status == QProcess::NormalExit && code == 0 &&
            query->readAllStandardOutput().trimmed().isEmpty())
            return done(formatMessage(msg::kFailedToOpen, std::string_view(kHelpFileName)) + "\n" +
                        formatMessage(msg::kNoPdfViewer, pathFromQt(manual)));
        done(openFound(manual, open));
    });
    QObject::connect(query, &QProcess::errorOccurred, query, [=](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart) return;
        query->deleteLater();
        done(openFound(manual, open));
    });
    QTimer::singleShot(20000, query, [query] { query->kill(); });
    query->start("xdg-mime", {"query", "default", "application/pdf"});
}

}  // namespace tarn
