#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tarn {

class ClientDatabase;
class ClientRecord;

// Whether the client's name, serial or selcall (its four digits as shown) contains `text`
// (8-bit, as the records hold it), ignoring the case of every letter the code page holds
// in both forms ("ångström" finds "Ångström Survey"). An empty text matches every client.
bool clientMatches(const ClientRecord& client, std::string_view text);

// The find text of text typed in UTF-8, in the records' 8-bit form. A character no record
// can hold becomes a NUL, which no text of a record contains: then nothing matches.
std::string findTextOf(std::string_view typed);

// The indexes, in rising order, of the clients that match.
std::vector<int> findClients(const ClientDatabase& database, std::string_view text);

}  // namespace tarn
