#include "database/file_sync.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace tarn {

#ifdef _WIN32

bool syncFileToDisk(std::FILE* file) {
    return _commit(_fileno(file)) == 0;
}

// A folder cannot be opened for flushing here; the rename of the replaced file is left to
// the file system's own journal.
void syncFolder(const std::string&) {}

std::FILE* openRegularFile(const std::filesystem::path& path) {
    std::FILE* file = _wfopen(path.c_str(), L"rb");
    if (!file) return nullptr;
    // Devices (CON, COM1, pipes) open like files; only a disk file is a database.
    const auto handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file)));
    if (GetFileType(handle) != FILE_TYPE_DISK) {
        std::fclose(file);
        return nullptr;
    }
    return file;
}

std::FILE* createExclusive(const std::filesystem::path& path, const std::filesystem::path&) {
    // Windows files carry the folder's access rules, not a mode of their own.
    const int fd =
        _wopen(path.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _S_IREAD | _S_IWRITE);
    if (fd < 0) return nullptr;
    std::FILE* file = _fdopen(fd, "wb");
    if (!file) {
        _close(fd);
        _wunlink(path.c_str());
    }
    return file;
}

std::size_t fileNameLimit(const std::filesystem::path&) {
    return 255;
}

#else

bool syncFileToDisk(std::FILE* file) {
    return fsync(fileno(file)) == 0;
}

void syncFolder(const std::string& folder) {
    int fd = open(folder.empty() ? "." : folder.c_str(), O_RDONLY);
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
    std::FILE* file = fdopen(fd, "rb");
    if (!file) close(fd);
    return file;
}

std::FILE* createExclusive(const std::filesystem::path& path,
                           const std::filesystem::path& permissionsOf) {
    mode_t mode = 0666;  // a new file: what the umask allows
    struct stat info {};
    const bool copied = !permissionsOf.empty() && stat(permissionsOf.c_str(), &info) == 0;
    if (copied) mode = info.st_mode & 07777;
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode & 0777);
    if (fd < 0) return nullptr;
    // The umask may have taken bits away that the replaced file has.
    if (copied) (void)fchmod(fd, mode);
    std::FILE* file = fdopen(fd, "wb");
    if (!file) {
        close(fd);
        unlink(path.c_str());
    }
    return file;
}

std::size_t fileNameLimit(const std::filesystem::path& folder) {
    const long limit = pathconf(folder.empty() ? "." : folder.c_str(), _PC_NAME_MAX);
    return limit > 0 ? static_cast<std::size_t>(limit) : 255;
}

#endif

}  // namespace tarn
