// The one rule for finding clients, shared by tarn-cli find and the client list's filter.
#include "database/client_match.h"

#include <algorithm>

#include "database/client_database.h"
#include "model/text_codec.h"

namespace tarn {
namespace {

bool contains(std::string_view haystack, std::string_view needle) {
    return std::search(haystack.begin(), haystack.end(), needle.begin(), needle.end(),
                       [](char a, char b) { return foldAnsiCase(a) == foldAnsiCase(b); }) !=
           haystack.end();
}

}  // namespace

bool clientMatches(const ClientRecord& client, std::string_view text) {
    if (text.empty()) return true;
    char field[kNameSize + 1] = {};
    client.getName(field, sizeof field);
    if (contains(field, text)) return true;
    field[0] = '\0';
    client.getSerial(field, sizeof field);
    if (contains(field, text)) return true;
    client.getSelcall(field, sizeof field);
    return contains(field, text);
}

std::string findTextOf(std::string_view typed) {
    const auto ansi = utf8ToAnsi(typed);
    return ansi ? *ansi : std::string(1, '\0');
}

std::vector<int> findClients(const ClientDatabase& database, std::string_view text) {
    std::vector<int> found;
    for (int i = 0; i < database.clientCount(); ++i) {
        if (clientMatches(*database.client(i), text)) found.push_back(i);
    }
    return found;
}

}  // namespace tarn
