#include <QDir>
#include <QStandardPaths>

#include "shell/handover_place.h"

namespace tarn {

// The lock file goes into the user's own local application data; the pipe itself is
// created with an access list that admits this user only.
QString privateRuntimeFolder() {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    return !folder.isEmpty() && QDir().mkpath(folder) ? folder : QString();
}

QString handoverServerName(const QString&, const QString& name) {
    return name;
}

// The pipe's access list already keeps other users out.
bool peerIsThisUser(qintptr) {
    return true;
}

}  // namespace tarn
