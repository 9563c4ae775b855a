#pragma once

#include <cstdio>
#include <string>

namespace tarn {

// The platform's part of a durable save, kept here so nothing else calls the OS.
// Pushes a flushed stdio file's data to the disk; false when the system reports failure.
bool syncFileToDisk(std::FILE* file);
// Makes a rename inside the folder durable (no-op where the platform does not need it).
void syncFolder(const std::string& folder);

}  // namespace tarn
