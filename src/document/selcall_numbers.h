#pragma once

#include <string>
#include <vector>

namespace tarn {

class ClientDatabase;
class DatabaseDocument;

// Selcalls run from 0000 to 9999; only advanced clients call by selcall, so only theirs
// count as in use.
inline constexpr int kLastSelcall = 9999;

// Selcalls for clients in a row: consecutive from `start`, passing over those other
// advanced clients use (the clients being numbered give theirs up).
struct SelcallNumbering {
    std::vector<int> clients;   // the advanced clients numbered, in the order given
    std::vector<int> selcalls;  // their new selcalls
    int standard = 0;           // standard clients among those given, left alone
    int leftOver = 0;           // advanced clients for which no selcall was left
};
SelcallNumbering numberSelcalls(const ClientDatabase& db, const std::vector<int>& clients,
                                int start);
// A start to offer: one past the highest selcall of the other advanced clients (0 when
// none, or when that one is 9999).
int suggestedFirstSelcall(const ClientDatabase& db, const std::vector<int>& clients);
// Gives the numbered clients their selcalls as one undo step ("Number selcalls").
void applySelcalls(DatabaseDocument& document, const SelcallNumbering& numbering);
// "4242" for 4242.
std::string selcallText(int selcall);

// Advanced clients that share a selcall, each clash in rising selcall order.
struct SelcallClash {
    std::string selcall;
    std::vector<int> clients;
};
std::vector<SelcallClash> selcallClashes(const ClientDatabase& db);
// The clashes that involve at least one client from index `first` on (clients just
// imported or pasted).
std::vector<SelcallClash> selcallClashesFrom(const ClientDatabase& db, int first);
// "Selcall 4242 is used by 3 clients: 'A', 'B', 'C'", one line per clash; empty when none.
std::string selcallClashText(const ClientDatabase& db, const std::vector<SelcallClash>& clashes);

// Everything a dealer should look at before programming a fleet: shared selcalls, shared
// serials, clients without channels. One line each; none for a clean database.
std::vector<std::string> databaseFindings(const ClientDatabase& db);

}  // namespace tarn
