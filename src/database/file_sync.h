#pragma once

#include <cstddef>
#include <cstdio>
#include <filesystem>
#include <string>

namespace tarn {

// The platform's part of a durable save, kept here so nothing else calls the OS.
// Pushes a flushed stdio file's data to the disk; false when the system reports failure.
bool syncFileToDisk(std::FILE* file);
// Makes a rename inside the folder durable (no-op where the platform does not need it).
void syncFolder(const std::string& folder);

// Opens a regular file for reading; null for anything else (a folder, a FIFO, a device)
// without ever waiting for a writer or a device to answer.
std::FILE* openRegularFile(const std::filesystem::path& path);

// Creates `path`, which must not exist yet, for writing. With `permissionsOf` naming an
// existing file the new one gets that file's permissions from its first byte, so its
// content is never readable by more users than the file it will replace.
std::FILE* createExclusive(const std::filesystem::path& path,
                           const std::filesystem::path& permissionsOf);

// The longest file name (one path component) the folder's file system takes, in the
// units of the platform's path strings.
std::size_t fileNameLimit(const std::filesystem::path& folder);

}  // namespace tarn
