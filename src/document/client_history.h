#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "database/backup_history.h"
#include "database/client_compare.h"

namespace tarn {

class DatabaseDocument;

// The backups of client `index` of the document, newest first, from `folder` (empty: the
// user's backup folder).
std::vector<BackupEntry> historyOf(const DatabaseDocument& document, int index,
                                   const std::filesystem::path& folder = {});
// "radio" for the history's kind column: what the kind of a backup means to the dealer.
const char* historyKindText(BackupKind kind);
// Replaces client `index` with what the backup holds, its image through the channel check
// (one undo step, "Restore 'X' from a backup"). False when the file is no backup.
bool restoreBackup(DatabaseDocument& document, int index, const std::filesystem::path& backup);
// How the client differs from what the backup holds (client -> backup).
std::optional<ImageComparison> compareWithBackup(const DatabaseDocument& document, int index,
                                                 const std::filesystem::path& backup);

}  // namespace tarn
