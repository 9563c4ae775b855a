#pragma once

#include <cstdint>
#include <ctime>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "database/radio_backups.h"
#include "model/client_record.h"

namespace tarn {

// One backup as the history lists it.
struct BackupEntry {
    std::filesystem::path file;
    std::time_t date = 0;
    BackupKind kind = BackupKind::Radio;
    std::string name, serial;  // the client's, 8-bit as held
    std::uint64_t imageHash = 0;
};

// A fingerprint of an image, to find every backup holding it without reading them all.
std::uint64_t imageHash(const RadioImage& image);

// The index beside the backups ("index.tsv": file, name, serial and image fingerprint per
// line) saves reading every backup. It is only a cache: a missing index is rebuilt from
// the files, files it does not list are read and added, and lines of removed files go.
inline constexpr const char* kBackupIndexName = "index.tsv";
// Adds a backup just written to the index (when there is one to add to).
void noteBackup(const std::filesystem::path& folder, const std::filesystem::path& file,
                const ClientRecord& client);
// Every backup in `folder`, in no particular order.
std::vector<BackupEntry> listBackups(const std::filesystem::path& folder);

// The backups of `client`, newest first: those of its name and serial, and those holding
// an image that the client or one of them holds (the same radio under an old name, or
// read before anyone knew whose it was). What a radio held before a write was programmed
// over it is listed by name only: a new radio's memory links nothing.
std::vector<BackupEntry> clientHistory(const std::vector<BackupEntry>& backups,
                                       const ClientRecord& client);

// The client a backup holds, its image exactly as kept (no channel check, no message);
// nothing when the file is no backup.
std::optional<ClientRecord> readBackup(const std::filesystem::path& file);

}  // namespace tarn
