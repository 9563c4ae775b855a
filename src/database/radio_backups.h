#pragma once

#include <ctime>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>

#include "model/client_record.h"

namespace tarn {

// What a backup holds: the image a Read (or a Compare) got from the radio, the client a Read
// is about to replace, the image the verification read of a Write got back, or what the
// radio held before a Write programmed it. Images from the radio are kept exactly as they
// arrived, before any channel check.
enum class BackupKind { Radio, BeforeRead, Verified, BeforeWrite };
// "radio", "before-read", "verified", "before-write"
const char* backupKindName(BackupKind kind);

// The outcome of keeping one backup. A failure never stops the command that asked for the
// backup: the caller shows `failure` once, quietly (a status line, not a message box).
struct BackupResult {
    std::filesystem::path file;  // the backup written; empty on failure
    std::string failure;         // what went wrong; empty on success
    bool ok() const { return failure.empty(); }
};

// The folder that holds the backups: "backups" in the user's data folder (empty when the
// system names none).
std::filesystem::path backupFolder();
// Makes `folder` (and every folder missing on the way) a folder only this user may reach,
// and checks that it is one: this user's own, closed to others, and every folder above
// it one that nobody else may change (the user's or the system's, writable by others
// only when sticky). The reason when it is not (its message: "other users can reach it"
// for a folder that is there but not private).
std::error_code createBackupFolder(const std::filesystem::path& folder);

// A record's 8-bit text as a UTF-8 part of a file name: separators, reserved and control
// characters (C1 too) become "_", at most 40 characters, "-" for an empty text.
std::u8string recordTextPart(std::string_view text);

// The name of a backup, for a person to find it by date, database, client and kind:
// "2026-12-07_103205_fleet_Coral Charters_1234_radio.tdb". Parts are made safe for any
// file system (no separators, reserved or control characters; Latin-1 texts as UTF-8) and
// no longer than `limit` bytes (the longest parts cut first). `number` > 1 tells two
// backups of the same second apart ("..._radio-2.tdb").
std::filesystem::path backupFileName(BackupKind kind, const std::filesystem::path& database,
                                     const ClientRecord& client, std::time_t now, int number = 1,
                                     std::size_t limit = 255);

// Writes the client alone as a database file, readable by the user only, into `folder`
// (see createBackupFolder), under a name no file has yet. Never asks and never shows
// anything; the failure's text is short enough for a status bar.
BackupResult keepBackupIn(const std::filesystem::path& folder, BackupKind kind,
                          const std::filesystem::path& database, const ClientRecord& client,
                          std::time_t now);

// The date and kind a backup's name holds, or nothing when the name is not a backup's.
struct BackupName {
    std::time_t date = 0;
    BackupKind kind = BackupKind::Radio;
};
std::optional<BackupName> parseBackupName(const std::string& fileName);

// Removes the backups in `folder` that are more than `days` days older than `now` (by the
// date in their names); files not named like a backup stay. 0 days keeps everything.
// The number of files removed.
int pruneBackups(const std::filesystem::path& folder, int days, std::time_t now);

}  // namespace tarn
