#pragma once

#include <array>
#include <memory>
#include <vector>

#include "database/client_database.h"

namespace tarn {

// What a database holds at one moment: its dealer text and copies of its clients, which
// nothing changes afterwards (so states and changes may share them).
struct DatabaseState {
    std::array<char, kDealerTextSize> dealerText{};
    std::vector<std::shared_ptr<const ClientRecord>> clients;
};

// The difference between two states: the clients from index `first` on that were
// replaced (`before`) by others (`after`), and the dealer text on both sides. Clients
// equal at both ends of the list are left out, so a step over one client of a thousand
// keeps that one client twice, and a paste keeps only the pasted clients.
struct DatabaseChange {
    int first = 0;
    std::vector<std::shared_ptr<const ClientRecord>> before, after;
    std::array<char, kDealerTextSize> dealerBefore{}, dealerAfter{};

    bool empty() const { return before.empty() && after.empty() && dealerBefore == dealerAfter; }
};

DatabaseChange diffStates(const DatabaseState& before, const DatabaseState& after);

}  // namespace tarn
