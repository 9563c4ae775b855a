#pragma once

#include <string_view>
#include <vector>

namespace tarn {

class ClientDatabase;
class ClientRecord;

// Whether the client's name, serial or selcall (its four digits as shown) contains `text`,
// ignoring the case of ASCII letters; other bytes of the 8-bit texts compare as they are.
// An empty text matches every client.
bool clientMatches(const ClientRecord& client, std::string_view text);

// The indexes, in rising order, of the clients that match.
std::vector<int> findClients(const ClientDatabase& database, std::string_view text);

}  // namespace tarn
