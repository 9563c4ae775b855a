// UUCP lock files of serial devices.
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <mutex>
#include <set>

#include "radio/port_lock.h"

namespace tarn {
namespace {

namespace fs = std::filesystem;

// The lock files this process holds: a lock naming our own pid that is not among them
// was left by an earlier process that had our pid, and is stale.
std::mutex heldMutex;
std::set<std::string>& heldHere() {
    static std::set<std::string> held;
    return held;
}

struct Lock {
    bool exists = false;
    long pid = 0;  // 0: the file names no process
    bool live = false;
};

// The pid a lock file holds: ASCII digits, blanks around them allowed. Links, FIFOs and
// other odd files name no process (and are never opened in a way that could block).
Lock readLock(const fs::path& file) {
    Lock lock;
    const int fd = ::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        lock.exists = errno != ENOENT;
        lock.live = lock.exists;
        return lock;
    }
    lock.exists = true;
    struct stat info {};
    char text[32] = {};
    const ssize_t n =
        ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) ? ::read(fd, text, sizeof text - 1) : -1;
    ::close(fd);
    long pid = 0;
    int used = 0;
    if (n > 0 && std::sscanf(text, " %ld %n", &pid, &used) == 1 && used == n && pid > 0)
        lock.pid = pid;
    if (lock.pid == 0) {
        lock.live = true;  // honoured: only its owner knows whether it is still in use
    } else if (lock.pid == ::getpid()) {
        std::lock_guard guard(heldMutex);
        lock.live = heldHere().count(file.string()) != 0;
    } else {
        lock.live = ::kill(static_cast<pid_t>(lock.pid), 0) == 0 || errno == EPERM;
    }
    return lock;
}

}  // namespace

fs::path lockFileOf(const fs::path& folder, const std::string& device) {
    std::error_code error;
    const fs::path real = fs::canonical(device, error);  // /dev/serial/by-id/... too
    return folder / ("LCK.." + (error ? fs::path(device) : real).filename().string());
}

PortHolder portLockHolder(const fs::path& folder, const std::string& device) {
    const fs::path file = lockFileOf(folder, device);
    const Lock lock = readLock(file);
    return lock.live ? PortHolder{lock.pid, file.string()} : PortHolder{};
}

bool PortLock::take(const fs::path& folder, const std::string& device) {
    release();
    holder_ = {};
    const fs::path file = lockFileOf(folder, device);
    for (int attempt = 0; attempt < 3; ++attempt) {
        const int fd =
            ::open(file.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
        if (fd < 0 && errno != EEXIST) return true;  // the folder is not writable: go on
        if (fd >= 0) {
            char text[16];
            const int length = std::snprintf(text, sizeof text, "%10ld\n", long(::getpid()));
            ::fchmod(fd, 0644);  // other programs read it whatever our umask
            const bool written = ::write(fd, text, size_t(length)) == length;
            ::close(fd);
            if (!written) {
                ::unlink(file.c_str());
                return true;  // a full disk: go on without a lock
            }
            std::lock_guard guard(heldMutex);
            heldHere().insert(file.string());
            file_ = file;
            return true;
        }
        const Lock found = readLock(file);
        if (found.live) {
            holder_ = {found.pid, file.string()};
            return false;
        }
        // Stale: remove it, unless its process came back meanwhile.
        if (found.exists && readLock(file).live) continue;
        if (found.exists && ::unlink(file.c_str()) != 0 && errno != ENOENT)
            return true;  // not ours to remove (a sticky folder): go on without a lock
    }
    holder_ = {0, file.string()};  // it keeps coming back
    return false;
}

void PortLock::release() {
    if (file_.empty()) return;
    {
        std::lock_guard guard(heldMutex);
        heldHere().erase(file_.string());
    }
    // Removed only while it still names us: another program may have taken it over.
    if (readLock(file_).pid == ::getpid()) ::unlink(file_.c_str());
    file_.clear();
}

}  // namespace tarn
