#pragma once

#include <string>
#include <vector>

#include "model/client_record.h"

namespace tarn {

// How a plan's channels reach a client: Replace leaves the client the plan's channels
// alone; Merge keeps the client's other channels, and the plan wins on a number both use.
enum class PlanMode { Replace, Merge };

// What a plan does (or did) to one client's channels, as channel numbers in rising order.
struct ChannelPlanEffect {
    std::vector<int> added;        // free in the client, valid in the plan
    std::vector<int> changed;      // valid in both, slot or label different
    std::vector<int> removed;      // valid in the client, not in the plan (Replace)
    std::vector<int> scanCleared;  // the client's own channels that lost Scan (limit of 8)
    bool empty() const {
        return added.empty() && changed.empty() && removed.empty() && scanCleared.empty();
    }
};

// Puts the valid channels of `plan` (slot and label) into `client`. In a merge the scan
// limit holds: when the plan's scan channels and the client's own ones together exceed
// it, the client's own channels lose Scan from the highest number down. Labels of
// removed channels stay with their numbers, as a deleted channel's label does.
ChannelPlanEffect applyChannelPlan(ClientRecord& client, const ClientRecord& plan, PlanMode mode);

// The same without changing the client.
ChannelPlanEffect previewChannelPlan(const ClientRecord& client, const ClientRecord& plan,
                                     PlanMode mode);

// "3 added (1-3), 1 changed (7), scan off 12" or "no change".
std::string planEffectText(const ChannelPlanEffect& effect);

// Rising numbers as runs: "1-4, 7, 9-10".
std::string numberRuns(const std::vector<int>& numbers);

}  // namespace tarn
