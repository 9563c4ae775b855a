#include "database/file_sync.h"

#ifdef _WIN32
#include <io.h>
#else
#include <fcntl.h>
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

#endif

}  // namespace tarn
