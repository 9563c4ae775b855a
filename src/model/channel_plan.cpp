#include "model/channel_plan.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "model/channel_slot.h"

namespace tarn {
namespace {

bool sameLabel(const ClientRecord& a, const ClientRecord& b, int n) {
    return strncmp(reinterpret_cast<const char*>(a.labelBytes(n)),
                   reinterpret_cast<const char*>(b.labelBytes(n)), kLabelSize) == 0;
}

}  // namespace

ChannelPlanEffect applyChannelPlan(ClientRecord& client, const ClientRecord& plan, PlanMode mode) {
    ChannelPlanEffect effect;
    std::vector<int> ownScan;  // the client's channels the plan leaves, with Scan set
    int scan = 0;
    for (int n = 1; n <= kChannelCount; ++n) {
        const bool inPlan = !plan.isChannelFree(n), inClient = !client.isChannelFree(n);
        if (inPlan) {
            std::uint8_t* slot = slotBytes(client.image(), n);
            std::array<std::uint8_t, kSlotSize> from;
            std::copy_n(slotBytes(plan.image(), n), kSlotSize, from.begin());
            from[slot::Number] = static_cast<std::uint8_t>(n);
            if (!inClient)
                effect.added.push_back(n);
            else if (!std::equal(from.begin(), from.end(), slot) || !sameLabel(client, plan, n))
                effect.changed.push_back(n);
            std::copy(from.begin(), from.end(), slot);
            std::copy_n(plan.labelBytes(n), kLabelSize, client.labelBytes(n));
            if (plan.getChannelFlag(n, ChannelFlag::Scan)) ++scan;
        } else if (inClient && mode == PlanMode::Replace) {
            client.deleteChannel(n);
            effect.removed.push_back(n);
        } else if (inClient && client.getChannelFlag(n, ChannelFlag::Scan)) {
            ownScan.push_back(n);
        }
    }
    // The plan's scan channels count first; the client's keep Scan while room is left.
    const int room = std::max(0, kScanLimit - scan);
    while (static_cast<int>(ownScan.size()) > room) {
        client.setChannelFlag(ownScan.back(), ChannelFlag::Scan, 0);
        effect.scanCleared.insert(effect.scanCleared.begin(), ownScan.back());
        ownScan.pop_back();
    }
    return effect;
}

ChannelPlanEffect previewChannelPlan(const ClientRecord& client, const ClientRecord& plan,
                                     PlanMode mode) {
    ClientRecord copy(client);
    return applyChannelPlan(copy, plan, mode);
}

std::string numberRuns(const std::vector<int>& numbers) {
    std::string text;
    for (std::size_t i = 0; i < numbers.size();) {
        std::size_t j = i;
        while (j + 1 < numbers.size() && numbers[j + 1] == numbers[j] + 1) ++j;
        if (!text.empty()) text += ", ";
        text += std::to_string(numbers[i]);
        if (j > i) text.append("-").append(std::to_string(numbers[j]));
        i = j + 1;
    }
    return text;
}

std::string planEffectText(const ChannelPlanEffect& effect) {
    std::string text;
    const auto part = [&](const std::vector<int>& numbers, const char* what) {
        if (numbers.empty()) return;
        if (!text.empty()) text += ", ";
        text += std::to_string(numbers.size()) + " " + what + " (" + numberRuns(numbers) + ")";
    };
    part(effect.added, "added");
    part(effect.changed, "changed");
    part(effect.removed, "removed");
    part(effect.scanCleared, "lose scan");
    return text.empty() ? "no change" : text;
}

}  // namespace tarn
