#include "qtcommon/file_path.h"

#include <QFile>

namespace tarn {

QString displayPath(const std::filesystem::path& path) {
#ifdef _WIN32
    return QString::fromStdWString(path.native());
#else
    return QFile::decodeName(QByteArray::fromStdString(path.native()));
#endif
}

std::filesystem::path pathFromQt(const QString& path) {
#ifdef _WIN32
    return std::filesystem::path(path.toStdWString());
#else
    return std::filesystem::path(QFile::encodeName(path).toStdString());
#endif
}

QByteArray pathBytes(const std::filesystem::path& path) {
#ifdef _WIN32
    return displayPath(path).toUtf8();
#else
    return QByteArray::fromStdString(path.native());
#endif
}

std::filesystem::path pathFromBytes(const QByteArray& bytes) {
#ifdef _WIN32
    return pathFromQt(QString::fromUtf8(bytes));
#else
    return std::filesystem::path(bytes.toStdString());
#endif
}

}  // namespace tarn
