// tarn-cli apply-channels: one client's channels (or a CSV file's) applied to many clients,
// with what changes in each listed first.
#include <cstdio>

#include "cli/cli_command.h"
#include "cli/cli_support.h"
#include "database/client_database.h"
#include "document/apply_channels.h"
#include "document/database_document.h"

namespace tarn::cli {
namespace {

constexpr const char* kUsage =
    "apply-channels FILE (--from INDEX | --from-csv IN.csv) --to LIST [--merge] [--dry-run]";

}  // namespace

int runApplyChannels(const std::vector<std::string>& args) {
    auto parsed =
        parseArguments(args, {"--merge", "--dry-run"}, {"--from", "--from-csv", "--to"}, 1);
    if (!parsed) return usageError(kUsage);
    const auto from = parsed->values.find("--from"), csv = parsed->values.find("--from-csv"),
               to = parsed->values.find("--to");
    const bool fromClient = from != parsed->values.end(), fromCsv = csv != parsed->values.end();
    if (fromClient == fromCsv || to == parsed->values.end()) return usageError(kUsage);
    const std::optional<int> source = fromClient ? parseIndex(from->second) : std::optional(0);
    if (!source) return usageError(kUsage);
    const std::optional<std::vector<int>> targets = parseClientList(to->second);
    if (!targets) return kExitUsage;

    DatabaseDocument document;
    if (!loadDatabase(document, parsed->positional[0])) return kExitFailure;
    ClientDatabase& db = document.database();
    if (!hasClients(db, *targets) || (fromClient && !hasClient(db, *source))) return kExitFailure;
    const std::optional<ChannelPlan> plan =
        fromClient ? planFromClient(db, *source, document.fileName(), MessageOwner::none())
                   : planFromCsv(fullPath(csv->second), MessageOwner::none());
    if (!plan) return kExitFailure;

    const PlanMode mode = parsed->flags.count("--merge") ? PlanMode::Merge : PlanMode::Replace;
    std::printf("%s the channels of %s:\n", mode == PlanMode::Merge ? "Merging" : "Replacing with",
                plan->origin.c_str());
    for (const ClientPlanEffect& row : previewPlan(db, *targets, plan->channels, mode))
        std::printf("  %s\n", previewLine(db, row).c_str());
    if (parsed->flags.count("--dry-run")) return kExitOk;
    const int changed = applyPlan(document, *targets, plan->channels, mode);
    db.setAskBeforeReplacingChanges(false);
    if (changed > 0 && !saveDatabase(document)) return kExitFailure;
    std::printf("%d of %zu clients changed.\n", changed, targets->size());
    return kExitOk;
}

}  // namespace tarn::cli
