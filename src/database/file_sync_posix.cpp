#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "database/file_sync.h"

namespace tarn {
namespace {

std::FILE* openFile(int fd, const char* mode) {
    if (fd < 0) return nullptr;
    std::FILE* file = fdopen(fd, mode);
    if (!file) close(fd);
    return file;
}

}  // namespace

bool syncFileToDisk(std::FILE* file) {
    return fsync(fileno(file)) == 0;
}

void syncFolder(const std::filesystem::path& folder) {
    const int fd = open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return;
    fsync(fd);
    close(fd);
}

std::FILE* openRegularFile(const std::filesystem::path& path) {
    // O_NONBLOCK: opening a FIFO for reading would otherwise wait for a writer.
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) return nullptr;
    struct stat info {};
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) ||
        fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0) {
        close(fd);
        return nullptr;
    }
    return openFile(fd, "rb");
}

NewFile createExclusive(const std::filesystem::path& path, const std::filesystem::path& like,
                        bool ownerOnly) {
    mode_t mode = ownerOnly ? 0600 : 0666;  // a new file: what the umask allows
    struct stat info {};
    const bool copied = !like.empty() && stat(like.c_str(), &info) == 0;
    if (copied) mode = info.st_mode & 07777;
    const int fd = open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, mode & 0777);
    if (fd < 0) return {nullptr, true, errno == EEXIST};
    // Marks the file as in use until it is closed (see removeAbandoned).
    (void)flock(fd, LOCK_EX | LOCK_NB);
    NewFile made;
    if (copied) {
        // Another member of the file's group cannot give the file away: then the owner
        // would change, which the caller must know.
        made.sameOwner = (info.st_uid == geteuid() && info.st_gid == getegid()) ||
                         fchown(fd, info.st_uid, info.st_gid) == 0;
        // After the owner: a change of owner clears the set-id bits, and the umask may
        // have taken bits away that the replaced file has.
        (void)fchmod(fd, mode);
    }
    made.file = openFile(fd, "w+b");
    if (!made.file) unlink(path.c_str());
    return made;
}

bool removeAbandoned(const std::filesystem::path& path) {
    const int fd = open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) return false;
    struct stat info {};
    const bool abandoned =
        fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && flock(fd, LOCK_EX | LOCK_NB) == 0;
    const bool removed = abandoned && unlink(path.c_str()) == 0;
    close(fd);
    return removed;
}

std::FILE* openInPlace(const std::filesystem::path& path) {
    const int fd = open(path.c_str(), O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) return nullptr;
    struct stat info {};
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        close(fd);
        return nullptr;
    }
    return openFile(fd, "wb");  // fdopen never truncates
}

bool finishInPlace(std::FILE* file, std::uintmax_t size) {
    return std::fflush(file) == 0 && ftruncate(fileno(file), static_cast<off_t>(size)) == 0 &&
           fsync(fileno(file)) == 0;
}

bool mayWrite(const std::filesystem::path& path) {
    const int fd = open(path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) return false;
    close(fd);
    return true;
}

bool linkMayBeFollowed(const std::filesystem::path& link) {
    struct stat linkInfo {
    }, folderInfo{};
    const std::filesystem::path folder = link.has_parent_path() ? link.parent_path() : ".";
    if (lstat(link.c_str(), &linkInfo) != 0 || stat(folder.c_str(), &folderInfo) != 0) return false;
    const bool shared = (folderInfo.st_mode & S_ISVTX) && (folderInfo.st_mode & S_IWOTH);
    return !shared || linkInfo.st_uid == geteuid() || linkInfo.st_uid == folderInfo.st_uid;
}

std::optional<FolderAccess> folderAccess(const std::filesystem::path& folder) {
    struct stat info {};
    if (stat(folder.c_str(), &info) != 0) return std::nullopt;
    FolderAccess access;
    access.directory = S_ISDIR(info.st_mode);
    access.ownedByUser = info.st_uid == geteuid();
    access.ownedBySystem = info.st_uid == 0;
    // The user's own group (a group of one, as most systems give each user) is not others.
    const bool ownGroup = info.st_gid == getegid();
    access.othersMayWrite = (info.st_mode & S_IWOTH) || ((info.st_mode & S_IWGRP) && !ownGroup);
    access.othersMayRead = (info.st_mode & (S_IRWXO | S_IRWXG)) != 0;
    access.sticky = (info.st_mode & S_ISVTX) != 0;
    return access;
}

std::error_code createPrivateFolder(const std::filesystem::path& folder) {
    if (mkdir(folder.c_str(), 0700) == 0) return {};
    return {errno, std::generic_category()};
}

std::size_t fileNameLimit(const std::filesystem::path& folder) {
    const long limit = pathconf(folder.empty() ? "." : folder.c_str(), _PC_NAME_MAX);
    return limit > 0 ? static_cast<std::size_t>(limit) : 255;
}

}  // namespace tarn
