#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "model/channel_plan.h"
#include "model/user_feedback.h"

namespace tarn {

class ClientDatabase;
class DatabaseDocument;

// A channel plan: the channels (with their labels) of one client, and where they came from.
struct ChannelPlan {
    ClientRecord channels;
    std::string origin;  // "'Name' of fleet.tdb", UTF-8, for the preview's heading
};

// The plan of client `index` of a database (`databaseName` for the heading); nothing after
// its message when the client has no channels.
std::optional<ChannelPlan> planFromClient(const ClientDatabase& db, int index,
                                          const std::filesystem::path& databaseName,
                                          const MessageOwner& owner);
// The plan of the first client of a CSV file in the export's format; nothing after its
// message when the file cannot be read, has unreadable lines or holds no channels.
std::optional<ChannelPlan> planFromCsv(const std::filesystem::path& path,
                                       const MessageOwner& owner);

// What applying the plan does to each of these clients, in the order given.
struct ClientPlanEffect {
    int client;
    ChannelPlanEffect effect;
};
std::vector<ClientPlanEffect> previewPlan(const ClientDatabase& db, const std::vector<int>& clients,
                                          const ClientRecord& plan, PlanMode mode);
// One line per client for the preview: "3 'Name': 2 added (5-6), ...".
std::string previewLine(const ClientDatabase& db, const ClientPlanEffect& row);

// Applies the plan to the clients as one undo step; the number of clients changed.
int applyPlan(DatabaseDocument& document, const std::vector<int>& clients, const ClientRecord& plan,
              PlanMode mode);

// A client as messages name it: "'Name'" with the 8-bit name as UTF-8.
std::string quotedClientName(const ClientDatabase& db, int index);

}  // namespace tarn
