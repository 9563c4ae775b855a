#include <QDir>
#include <QRandomGenerator>
#include <QSaveFile>
#include <QStandardPaths>

#include "shell/handover_place.h"

namespace tarn {

// The user's own local application data, which other users cannot read.
QString privateRuntimeFolder() {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    return !folder.isEmpty() && QDir().mkpath(folder) ? folder : QString();
}

// Pipe names are one namespace for all users, so the name carries a secret kept in the
// private folder: another user can neither guess it to connect nor take it first. The
// pipe is also created with an access list that admits this user only.
QString handoverServerName(const QString& folder, const QString& name) {
    const QString keyPath = folder + '/' + name + ".key";
    QByteArray secret;
    if (QFile key(keyPath); key.open(QIODevice::ReadOnly)) secret = key.read(64).trimmed();
    if (secret.size() < 32) {
        secret.clear();
        for (int i = 0; i < 4; ++i)
            secret += QByteArray::number(QRandomGenerator::system()->generate(), 16)
                          .rightJustified(8, '0');
        QSaveFile key(keyPath);
        if (key.open(QIODevice::WriteOnly)) {
            key.write(secret);
            key.commit();
        }
    }
    return name + '-' + QString::fromLatin1(secret);
}

// The pipe's access list already keeps other users out.
bool peerIsThisUser(qintptr) {
    return true;
}

}  // namespace tarn
