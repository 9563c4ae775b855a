#pragma once

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "database/client_database.h"
#include "model/channel_slot.h"

namespace tarn::test {

// Everything a load may change, for comparing before and after.
struct DatabaseSnapshot {
    std::vector<std::uint8_t> bytes;
    int modified = 0;

    static DatabaseSnapshot of(const ClientDatabase& db) {
        DatabaseSnapshot s;
        s.bytes.assign(db.dealerText().begin(), db.dealerText().end());
        std::vector<std::uint8_t> record(kSerializedClientSize);
        for (int i = 0; i < db.clientCount(); ++i) {
            db.client(i)->serialize(record.data(), kSerializedClientSize);
            s.bytes.insert(s.bytes.end(), record.begin(), record.end());
        }
        s.modified = db.isModified();
        return s;
    }
    bool operator==(const DatabaseSnapshot&) const = default;
};

inline bool isDatabaseFileMessage(const std::string& text) {
    for (const char* known :
         {"Could not open database file", "File does not appear to be a database file",
          "Database file does not contain any information", "Database file is invalid/corrupted",
          "Database file is corrupted"}) {
        if (text == known) return true;
    }
    return false;
}

inline bool isChannelCheckMessage(const std::string& text) {
    return text.find("channels appear to be corrupted and have been deleted") !=
               std::string::npos ||
           text.rfind("There were ", 0) == 0;
}

// The defined outcomes of a load, whatever the file held. Returns what went wrong, or
// an empty text. `messages` are the texts shown during the load, in order.
inline std::string checkLoadOutcome(const DatabaseSnapshot& before, const ClientDatabase& db,
                                    int result, const std::vector<std::string>& messages) {
    const bool onlyChannelMessages =
        std::all_of(messages.begin(), messages.end(), isChannelCheckMessage);
    if (result == 0) {
        if (messages.empty() || !isDatabaseFileMessage(messages.back())) {
            return "a failed load must end with its database file message";
        }
        if (!std::all_of(messages.begin(), messages.end() - 1, isChannelCheckMessage)) {
            return "unexpected message before the failure";
        }
        if (!(DatabaseSnapshot::of(db) == before)) return "a failed load changed the database";
        return {};
    }
    if (result != 1) return "load returned neither 0 nor 1";
    if (!onlyChannelMessages) return "a successful load showed a database file message";
    if (db.clientCount() < 1 || db.clientCount() > kMaxClients) return "client count out of range";
    if (db.isModified()) return "a successful load must clear the modified flag";
    if (db.dealerString().size() > kDealerTextSize) return "dealer text overran its field";
    for (int i = 0; i < db.clientCount(); ++i) {
        const ClientRecord& c = *db.client(i);
        char text[64];
        if (c.getName(text, sizeof text) > 31) return "name longer than 31 characters";
        if (c.getSerial(text, sizeof text) > 16) return "serial longer than 16 characters";
        for (int n = 1; n <= kChannelCount; ++n) {
            const std::uint8_t* s = slotBytes(c.image(), n);
            const bool empty = std::all_of(s, s + kSlotSize, [](std::uint8_t b) { return !b; });
            if (!slotIsValid(s) && !empty) return "a free slot survived the channel check";
            if (slotIsValid(s) && s[slot::Number] != n) return "a valid slot has a wrong number";
            if (c.getLabel(n, text, sizeof text) > 32) return "label longer than its entry";
        }
        int scan = 0;
        for (int n = 1; n <= kChannelCount; ++n)
            scan += c.getChannelFlag(n, ChannelFlag::Scan) ? 1 : 0;
        if (scan > kScanLimit) return "more than 8 scan channels survived";
    }
    return {};
}

}  // namespace tarn::test
