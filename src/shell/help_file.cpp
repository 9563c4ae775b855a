#include "shell/help_file.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace tarn {

QStringList helpFolders() {
    const QString program = QCoreApplication::applicationDirPath();
    return {QDir::currentPath(), program,
            QDir::cleanPath(program + QStringLiteral("/" TARN_DOC_FROM_BIN))};
}

QString findHelpFile(const QStringList& folders) {
    for (const QString& folder : folders) {
        const QString path = QDir(folder).absoluteFilePath(kHelpFileName);
        if (QFileInfo(path).isFile()) return path;
    }
    return QDir(folders.value(0)).absoluteFilePath(kHelpFileName);
}

}  // namespace tarn
