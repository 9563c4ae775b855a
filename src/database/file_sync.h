#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <system_error>

namespace tarn {

// The platform's part of reading and writing files safely, kept here (file_sync_posix.cpp,
// file_sync_win32.cpp) so that nothing else calls the system.

// Pushes a flushed stdio file's data to the disk; false when the system reports failure.
bool syncFileToDisk(std::FILE* file);
// Makes a rename inside the folder durable (no-op where the platform does not need it).
void syncFolder(const std::filesystem::path& folder);

// Opens a regular file for reading; null for anything else (a folder, a FIFO, a device)
// without ever waiting for a writer or a device to answer.
std::FILE* openRegularFile(const std::filesystem::path& path);

// A file made by createExclusive, open for reading and writing.
struct NewFile {
    std::FILE* file = nullptr;
    bool sameOwner = true;  // it has the owner and group of the file it was made like
    bool taken = false;     // not made: something of that name is there
};
// Creates `path`, which must not exist yet. With `like` naming an existing file the new
// one gets that file's permissions from its first byte (and its owner and group where the
// system lets this user give them), so its content is never readable by more users than
// the file it will replace; `ownerOnly` makes a new file readable by its owner alone.
// While open, the file is marked as in use, so removeAbandoned leaves it alone.
NewFile createExclusive(const std::filesystem::path& path, const std::filesystem::path& like,
                        bool ownerOnly = false);
// Removes a file that createExclusive made and whose writer is gone; false when it is
// still open (or was never marked: see removeLeftovers) or cannot be removed.
bool removeAbandoned(const std::filesystem::path& path);

// Opens an existing regular file for writing over its content, without following a
// symbolic link or truncating it; null for anything else.
std::FILE* openInPlace(const std::filesystem::path& path);
// Flushes a file written in place, cuts it to `size` bytes and pushes it to the disk.
bool finishInPlace(std::FILE* file, std::uintmax_t size);

// Whether the file is open for writing by this user (an existing file that cannot be is
// never replaced: a save must not take away what the permissions protect).
bool mayWrite(const std::filesystem::path& path);

// The kernel's rule for links in shared folders: in a sticky folder anyone may write to,
// a link is followed only when it belongs to this user or to the folder's owner, so that
// another user cannot send a write to a file of this user's.
bool linkMayBeFollowed(const std::filesystem::path& link);

// Who may reach a folder, for keeping private files in it.
struct FolderAccess {
    bool directory = false;
    bool ownedByUser = false;     // by this user
    bool ownedBySystem = false;   // by the administrator
    bool othersMayWrite = false;  // another user may add, rename or remove entries
    bool othersMayRead = false;   // another user may list or enter it
    bool sticky = false;          // entries can be renamed or removed by their owner only
};
// Nothing when nothing is there.
std::optional<FolderAccess> folderAccess(const std::filesystem::path& folder);
// Creates a folder that only this user may reach; the reason when it cannot be made.
std::error_code createPrivateFolder(const std::filesystem::path& folder);

// The longest file name (one path component) the folder's file system takes, in the
// units of the platform's path strings.
std::size_t fileNameLimit(const std::filesystem::path& folder);

}  // namespace tarn
