#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

#include <QDir>
#include <QFile>

#include "shell/handover_place.h"

namespace tarn {
namespace {

// A real folder (not a link to one), ours, closed to everybody else.
bool isPrivateFolder(const QString& path) {
    struct stat info {};
    if (path.isEmpty() || lstat(QFile::encodeName(path).constData(), &info) != 0) return false;
    return S_ISDIR(info.st_mode) && info.st_uid == geteuid() && (info.st_mode & 077) == 0;
}

}  // namespace

QString privateRuntimeFolder() {
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (isPrivateFolder(runtime)) return runtime;
    // Made with no rights for others; one that exists already must pass the same test,
    // so a folder planted by another user is refused.
    const QString own = QDir::tempPath() + QString("/tarn-%1").arg(geteuid());
    mkdir(QFile::encodeName(own).constData(), 0700);
    return isPrivateFolder(own) ? own : QString();
}

QString handoverServerName(const QString& folder, const QString& name) {
    return folder + '/' + name;
}

bool peerIsThisUser(qintptr socketDescriptor) {
#if defined(__linux__)
    struct ucred peer {};
    socklen_t size = sizeof peer;
    if (getsockopt(static_cast<int>(socketDescriptor), SOL_SOCKET, SO_PEERCRED, &peer, &size) != 0)
        return false;
    return peer.uid == geteuid();
#else
    uid_t uid = 0;
    gid_t gid = 0;
    if (getpeereid(static_cast<int>(socketDescriptor), &uid, &gid) != 0) return false;
    return uid == geteuid();
#endif
}

}  // namespace tarn
