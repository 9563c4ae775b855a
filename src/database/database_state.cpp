#include "database/database_state.h"

#include <algorithm>

namespace tarn {

DatabaseChange diffStates(const DatabaseState& before, const DatabaseState& after) {
    const auto& a = before.clients;
    const auto& b = after.clients;
    const auto same = [](const auto& x, const auto& y) { return x == y || *x == *y; };
    std::size_t head = 0;
    while (head < a.size() && head < b.size() && same(a[head], b[head])) ++head;
    std::size_t tail = 0;
    while (tail < a.size() - head && tail < b.size() - head &&
           same(a[a.size() - 1 - tail], b[b.size() - 1 - tail]))
        ++tail;
    DatabaseChange change;
    change.first = static_cast<int>(head);
    change.before.assign(a.begin() + static_cast<std::ptrdiff_t>(head),
                         a.end() - static_cast<std::ptrdiff_t>(tail));
    change.after.assign(b.begin() + static_cast<std::ptrdiff_t>(head),
                        b.end() - static_cast<std::ptrdiff_t>(tail));
    change.dealerBefore = before.dealerText;
    change.dealerAfter = after.dealerText;
    return change;
}

}  // namespace tarn

namespace tarn {

DatabaseState ClientDatabase::state() const {
    DatabaseState state;
    state.dealerText = dealerText_;
    state.clients.reserve(clients_.size());
    for (const auto& c : clients_)
        state.clients.push_back(std::make_shared<const ClientRecord>(*c));
    return state;
}

void ClientDatabase::applyChange(const DatabaseChange& change, bool forward) {
    const auto& from = forward ? change.before : change.after;
    const auto& to = forward ? change.after : change.before;
    // A change made against other contents would land on the wrong clients.
    if (change.first < 0 || change.first + from.size() > clients_.size()) return;
    const auto first = clients_.begin() + change.first;
    const auto kept = clients_.erase(first, first + static_cast<std::ptrdiff_t>(from.size()));
    std::vector<std::shared_ptr<ClientRecord>> copies;
    copies.reserve(to.size());
    for (const auto& c : to) copies.push_back(std::make_shared<ClientRecord>(*c));
    clients_.insert(kept, copies.begin(), copies.end());
    dealerText_ = forward ? change.dealerAfter : change.dealerBefore;
}

}  // namespace tarn
