#include <errno.h>
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>

#include "database/file_sync.h"

namespace tarn {
namespace {

// Devices (CON, COM1, pipes) open like files; only a disk file is a file here.
std::FILE* openOnDisk(const std::filesystem::path& path, const wchar_t* mode) {
    std::FILE* file = _wfopen(path.c_str(), mode);
    if (file &&
        GetFileType(reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file)))) != FILE_TYPE_DISK) {
        std::fclose(file);
        return nullptr;
    }
    return file;
}

}  // namespace

bool syncFileToDisk(std::FILE* file) {
    return _commit(_fileno(file)) == 0;
}

// A folder cannot be opened for flushing here; the rename of the replaced file is left to
// the file system's own journal.
void syncFolder(const std::filesystem::path&) {}

std::FILE* openRegularFile(const std::filesystem::path& path) {
    return openOnDisk(path, L"rb");
}

NewFile createExclusive(const std::filesystem::path& path, const std::filesystem::path&, bool) {
    // Windows files carry the folder's access rules, not a mode or owner of their own. A
    // file open here cannot be removed by anyone (no delete sharing): that marks it in use.
    const int fd =
        _wopen(path.c_str(), _O_RDWR | _O_CREAT | _O_EXCL | _O_BINARY, _S_IREAD | _S_IWRITE);
    if (fd < 0) return {nullptr, true, errno == EEXIST};
    NewFile made;
    made.file = _fdopen(fd, "w+b");
    if (!made.file) {
        _close(fd);
        _wunlink(path.c_str());
    }
    return made;
}

bool removeAbandoned(const std::filesystem::path& path) {
    return DeleteFileW(path.c_str()) != 0;  // fails while its writer holds it open
}

std::FILE* openInPlace(const std::filesystem::path& path) {
    return openOnDisk(path, L"r+b");
}

bool finishInPlace(std::FILE* file, std::uintmax_t size) {
    return std::fflush(file) == 0 && _chsize_s(_fileno(file), static_cast<long long>(size)) == 0 &&
           _commit(_fileno(file)) == 0;
}

bool mayWrite(const std::filesystem::path& path) {
    std::FILE* file = openOnDisk(path, L"r+b");
    if (!file) return false;
    std::fclose(file);
    return true;
}

// Creating links needs a privilege here; nobody plants one in a shared folder.
bool linkMayBeFollowed(const std::filesystem::path&) {
    return true;
}

// The user's data folder lies in the user's profile, which the system keeps private.
std::optional<FolderAccess> folderAccess(const std::filesystem::path& folder) {
    const DWORD attributes = GetFileAttributesW(folder.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return std::nullopt;
    FolderAccess access;
    access.directory = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    access.ownedByUser = true;
    return access;
}

std::error_code createPrivateFolder(const std::filesystem::path& folder) {
    if (CreateDirectoryW(folder.c_str(), nullptr)) return {};
    return {static_cast<int>(GetLastError()), std::system_category()};
}

std::size_t fileNameLimit(const std::filesystem::path&) {
    return 255;
}

}  // namespace tarn
