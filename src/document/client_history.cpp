#include "document/client_history.h"

#include "document/database_document.h"
#include "document/radio_run.h"

namespace tarn {

std::vector<BackupEntry> historyOf(const DatabaseDocument& document, int index,
                                   const std::filesystem::path& folder) {
    const ClientRecord* client = document.database().client(index);
    if (!client) return {};
    return clientHistory(listBackups(folder.empty() ? backupFolder() : folder), *client);
}

const char* historyKindText(BackupKind kind) {
    return kind == BackupKind::Radio ? "read" : backupKindName(kind);
}

bool restoreBackup(DatabaseDocument& document, int index, const std::filesystem::path& backup) {
    const std::optional<ClientRecord> kept = readBackup(backup);
    if (!kept || !document.database().client(index)) return false;
    const std::string name = nameOf(*document.database().client(index));
    document.change(
        [&](ClientDatabase& db) {
            *db.client(index) = *kept;
            return db.loadClientImage(index, kept->image().data(), kImageSize);
        },
        "Restore '" + name + "' from a backup");
    return true;
}

std::optional<ImageComparison> compareWithBackup(const DatabaseDocument& document, int index,
                                                 const std::filesystem::path& backup) {
    const std::optional<ClientRecord> kept = readBackup(backup);
    const ClientRecord* client = document.database().client(index);
    if (!kept || !client) return std::nullopt;
    return compareWithImage(*client, kept->image());
}

}  // namespace tarn
