#include "document/apply_channels.h"

#include "database/client_database.h"
#include "database/csv_import.h"
#include "document/database_document.h"
#include "model/message_texts.h"
#include "model/text_codec.h"

namespace tarn {

std::string quotedClientName(const ClientDatabase& db, int index) {
    char name[kNameSize] = {};
    if (const ClientRecord* client = db.client(index)) client->getName(name, sizeof name);
    return std::string("'").append(ansiToUtf8(name)).append("'");
}

std::optional<ChannelPlan> planFromClient(const ClientDatabase& db, int index,
                                          const std::filesystem::path& databaseName,
                                          const MessageOwner& owner) {
    const ClientRecord* client = db.client(index);
    if (!client) return std::nullopt;
    if (client->hasNoChannels()) {
        showError(owner, formatMessage(msg::kPlanClientNoChannels,
                                       std::string_view(quotedClientName(db, index))));
        return std::nullopt;
    }
    const std::u8string file = databaseName.filename().u8string();
    return ChannelPlan{
        *client, quotedClientName(db, index) + " of " + std::string(file.begin(), file.end())};
}

std::optional<ChannelPlan> planFromCsv(const std::filesystem::path& path,
                                       const MessageOwner& owner) {
    const std::optional<CsvImport> read = readCsvFile(path);
    if (!read) return std::nullopt;
    if (read->errorCount > 0) {
        std::string text = formatMessage(msg::kUnreadableLines, read->errorCount);
        for (const std::string& line : lineErrorTexts(*read)) text.append("\n").append(line);
        showError(owner, text + msg::kPlanNothingApplied);
        return std::nullopt;
    }
    if (read->clients.empty() || read->clients.front().record.hasNoChannels()) {
        showError(owner, formatMessage(msg::kPlanFileNoClient, path));
        return std::nullopt;
    }
    const std::u8string file = path.filename().u8string();
    return ChannelPlan{read->clients.front().record, std::string(file.begin(), file.end())};
}

std::vector<ClientPlanEffect> previewPlan(const ClientDatabase& db, const std::vector<int>& clients,
                                          const ClientRecord& plan, PlanMode mode) {
    std::vector<ClientPlanEffect> rows;
    rows.reserve(clients.size());
    for (int index : clients) {
        if (const ClientRecord* client = db.client(index))
            rows.push_back({index, previewChannelPlan(*client, plan, mode)});
    }
    return rows;
}

std::string previewLine(const ClientDatabase& db, const ClientPlanEffect& row) {
    return std::to_string(row.client) + " " + quotedClientName(db, row.client) + ": " +
           planEffectText(row.effect);
}

int applyPlan(DatabaseDocument& document, const std::vector<int>& clients, const ClientRecord& plan,
              PlanMode mode) {
    int changed = 0;
    document.change(
        [&](ClientDatabase& db) {
            for (int index : clients) {
                ClientRecord* client = db.client(index);
                if (client && !applyChannelPlan(*client, plan, mode).empty()) ++changed;
            }
            return changed;
        },
        [&] {
            return std::string("Apply channels to ")
                .append(std::to_string(changed))
                .append(changed == 1 ? " client" : " clients");
        });
    return changed;
}

}  // namespace tarn
