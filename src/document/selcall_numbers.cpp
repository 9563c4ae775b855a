#include "document/selcall_numbers.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <map>

#include "database/client_database.h"
#include "document/apply_channels.h"
#include "document/database_document.h"
#include "model/message_texts.h"
#include "model/text_codec.h"

namespace tarn {
namespace {

constexpr std::size_t kNamedClients = 10;  // a clash names this many clients, counts the rest

bool isAdvanced(const ClientRecord& client) {
    return client.getOption(ClientOption::Advanced) != 0;
}

std::string selcallOf(const ClientRecord& client) {
    char text[5] = {};
    client.getSelcall(text, sizeof text);
    return text;
}

// The serial, or nothing while it is the new client's "0".
std::string serialOf(const ClientRecord& client) {
    char text[kSerialSize + 1] = {};
    client.getSerial(text, sizeof text);
    return std::string(text) == "0" ? std::string() : text;
}

// Clients grouped by a text, only the groups of two or more, in rising text order.
std::vector<SelcallClash> sharedTexts(const ClientDatabase& db,
                                      std::string (*textOf)(const ClientRecord&),
                                      bool advancedOnly) {
    std::map<std::string, std::vector<int>> users;
    for (int i = 0; i < db.clientCount(); ++i) {
        const ClientRecord& client = *db.client(i);
        if (advancedOnly && !isAdvanced(client)) continue;
        std::string text = textOf(client);
        if (!text.empty()) users[std::move(text)].push_back(i);
    }
    std::vector<SelcallClash> shared;
    for (auto& [text, clients] : users)
        if (clients.size() > 1) shared.push_back({text, std::move(clients)});
    return shared;
}

std::string clashLine(const ClientDatabase& db, const char* pattern, const SelcallClash& clash) {
    std::string names;
    for (std::size_t i = 0; i < clash.clients.size() && i < kNamedClients; ++i) {
        if (!names.empty()) names += ", ";
        names += quotedClientName(db, clash.clients[i]);
    }
    if (clash.clients.size() > kNamedClients)
        names.append(" and ")
            .append(std::to_string(clash.clients.size() - kNamedClients))
            .append(" more");
    const std::string text = formatMessage(pattern, std::string_view(ansiToUtf8(clash.selcall)));
    return formatMessage(formatMessage(text, static_cast<long long>(clash.clients.size())),
                         std::string_view(names));
}

}  // namespace

std::string selcallText(int selcall) {
    char text[8];
    std::snprintf(text, sizeof text, "%04d", selcall);
    return text;
}

SelcallNumbering numberSelcalls(const ClientDatabase& db, const std::vector<int>& clients,
                                int start) {
    SelcallNumbering numbering;
    std::vector<int> advanced;
    for (int index : clients) {
        const ClientRecord* client = db.client(index);
        if (!client) continue;
        if (isAdvanced(*client))
            advanced.push_back(index);
        else
            ++numbering.standard;
    }
    std::array<bool, kLastSelcall + 1> used{};
    for (int i = 0; i < db.clientCount(); ++i) {
        if (!isAdvanced(*db.client(i)) ||
            std::find(advanced.begin(), advanced.end(), i) != advanced.end())
            continue;
        used[static_cast<std::size_t>(std::stoi(selcallOf(*db.client(i))))] = true;
    }
    int next = std::max(start, 0);
    for (int index : advanced) {
        while (next <= kLastSelcall && used[static_cast<std::size_t>(next)]) ++next;
        if (next > kLastSelcall) {
            ++numbering.leftOver;
            continue;
        }
        numbering.clients.push_back(index);
        numbering.selcalls.push_back(next++);
    }
    return numbering;
}

int suggestedFirstSelcall(const ClientDatabase& db, const std::vector<int>& clients) {
    int highest = -1;
    for (int i = 0; i < db.clientCount(); ++i) {
        if (isAdvanced(*db.client(i)) &&
            std::find(clients.begin(), clients.end(), i) == clients.end())
            highest = std::max(highest, std::stoi(selcallOf(*db.client(i))));
    }
    return highest < kLastSelcall ? highest + 1 : 0;
}

void applySelcalls(DatabaseDocument& document, const SelcallNumbering& numbering) {
    document.change(
        [&](ClientDatabase& db) {
            for (std::size_t i = 0; i < numbering.clients.size(); ++i)
                db.client(numbering.clients[i])
                    ->setSelcall(selcallText(numbering.selcalls[i]).c_str());
            return 1;
        },
        "Number selcalls");
}

std::vector<SelcallClash> selcallClashes(const ClientDatabase& db) {
    return sharedTexts(db, selcallOf, true);
}

std::vector<SelcallClash> selcallClashesFrom(const ClientDatabase& db, int first) {
    std::vector<SelcallClash> clashes = selcallClashes(db);
    std::erase_if(clashes,
                  [first](const SelcallClash& clash) { return clash.clients.back() < first; });
    return clashes;
}

std::string selcallClashText(const ClientDatabase& db, const std::vector<SelcallClash>& clashes) {
    std::string text;
    for (const SelcallClash& clash : clashes) {
        if (!text.empty()) text += '\n';
        text += clashLine(db, msg::kSelcallClash, clash);
    }
    return text;
}

std::vector<std::string> databaseFindings(const ClientDatabase& db) {
    std::vector<std::string> findings;
    for (const SelcallClash& clash : selcallClashes(db))
        findings.push_back(clashLine(db, msg::kSelcallClash, clash));
    for (const SelcallClash& clash : sharedTexts(db, serialOf, false))
        findings.push_back(clashLine(db, msg::kSerialClash, clash));
    for (int i = 0; i < db.clientCount(); ++i) {
        if (db.client(i)->hasNoChannels())
            findings.push_back(formatMessage(formatMessage(msg::kClientNoChannels, i),
                                             std::string_view(quotedClientName(db, i))));
    }
    return findings;
}

}  // namespace tarn
