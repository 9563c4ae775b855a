#pragma once

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "database/client_database.h"
#include "database/csv_export.h"
#include "database/csv_import.h"
#include "model/channel_slot.h"
#include "model/text_codec.h"

namespace tarn::test {

// Everything a load may change, for comparing before and after.
struct DatabaseSnapshot {
    std::vector<std::uint8_t> bytes;
    int modified = 0;

    static DatabaseSnapshot of(const ClientDatabase& db) {
        DatabaseSnapshot s{{db.dealerText().begin(), db.dealerText().end()}, db.isModified()};
        std::vector<std::uint8_t> record(kSerializedClientSize);
        for (int i = 0; i < db.clientCount(); ++i) {
            db.client(i)->serialize(record.data(), kSerializedClientSize);
            s.bytes.insert(s.bytes.end(), record.begin(), record.end());
        }
        return s;
    }
    bool operator==(const DatabaseSnapshot&) const = default;
};

// The defined outcomes of a load, whatever the file held: what went wrong, or "".
// `messages` are the texts shown during the load, in order.
inline std::string checkLoadOutcome(const DatabaseSnapshot& before, const ClientDatabase& db,
                                    int result, const std::vector<std::string>& messages) {
    const auto end = messages.end() - (result == 0 && !messages.empty() ? 1 : 0);
    const auto channelCheck = [](const std::string& text) {
        return text.find("channels appear to be corrupted") != std::string::npos ||
               text.rfind("There were ", 0) == 0;
    };
    if (!std::all_of(messages.begin(), end, channelCheck)) return "unexpected message";
    if (result == 0) {
        const std::vector<std::string> failures = {
            "Could not open database file", "File does not appear to be a database file",
            "Database file does not contain any information", "Database file is invalid/corrupted",
            "Database file is corrupted"};
        if (messages.empty() || std::count(failures.begin(), failures.end(), messages.back()) == 0)
            return "a failed load must end with its database file message";
        return DatabaseSnapshot::of(db) == before ? "" : "a failed load changed the database";
    }
    if (result != 1 || db.isModified()) return "a successful load returns 1 and clears modified";
    if (db.clientCount() < 1 || db.clientCount() > kMaxClients) return "client count out of range";
    for (int i = 0; i < db.clientCount(); ++i) {
        const ClientRecord& c = *db.client(i);
        char text[64];
        if (c.getName(text, 64) > 31 || c.getSerial(text, 64) > 16) return "text overran its field";
        int scan = 0;
        for (int n = 1; n <= kChannelCount; ++n) {
            const std::uint8_t* s = slotBytes(c.image(), n);
            const bool valid = slotIsValid(s);
            if (!valid && std::any_of(s, s + kSlotSize, [](std::uint8_t b) { return b != 0; }))
                return "a free slot survived the channel check";
            if (valid && s[slot::Number] != n) return "a valid slot has a wrong number";
            if (c.getLabel(n, text, 64) > 32) return "label overran its entry";
            scan += valid && (s[slot::Flags] & ChannelFlag::Scan);
        }
        if (scan > kScanLimit) return "more than 8 scan channels survived";
    }
    return "";
}

// Whether the export writes `text` so that it reads back as it is. It writes texts as
// they stand, so a piece between commas that starts with a quote reads as a quoted field,
// and a name of commas alone as an empty line.
inline bool readsBack(std::string_view text, bool wholeLine = false) {
    if (wholeLine && !text.empty() && text.find_first_not_of(',') == std::string_view::npos)
        return false;
    for (std::size_t at = 0;; ++at) {
        if (at < text.size() && text[at] == '"') return false;
        if ((at = text.find(',', at)) == std::string_view::npos) return true;
    }
}

inline bool readsBack(const ClientRecord& client) {
    char text[kLabelSize + 1] = {};
    client.getName(text, sizeof text);
    if (!readsBack(text, true)) return false;
    text[0] = '\0';
    client.getSerial(text, sizeof text);
    if (!readsBack(text)) return false;
    for (int n = 1; n <= kChannelCount; ++n) {
        text[0] = '\0';
        client.getLabel(n, text, sizeof text);
        if (!readsBack(text)) return false;
    }
    return true;
}

// The CSV reader's rules, whatever the text: it lists at most 100 lines and counts the
// rest; what it read comes back unchanged through the export and another read, and that
// export comes back byte for byte (texts the export cannot write unambiguously aside).
inline std::string checkCsvRead(std::string_view text) {
    const CsvImport read = readCsv(text);
    if (read.errors.size() != std::size_t(std::min(read.errorCount, kListedLineErrors)))
        return "the listed lines are not the first 100";
    if (read.clients.size() != std::size_t(std::min(read.readable, kMaxClients)))
        return "the readable clients are not all kept";
    ClientDatabase db(false);
    importClients(db, read, kMaxClients, true);
    const std::string exported = csvText(db);
    // 8-bit text that happens to be valid UTF-8 is read as UTF-8, as it must be.
    Utf8Check check;
    check.feed(exported);
    if (check.valid() && check.sawNonAscii()) return "";
    const CsvImport again = readCsv(exported);
    if (again.errorCount != 0 || again.readable != db.clientCount())
        return "an exported client does not read back";
    const std::string dealer = db.dealerString();  // its line breaks are exported as dots
    bool whole = readsBack(dealer, true) && dealer.find_first_of("\r\n") == std::string::npos;
    for (int i = 0; i < db.clientCount(); ++i) {
        if (!readsBack(*db.client(i))) {
            whole = false;
        } else if (!(again.clients[std::size_t(i)].record == *db.client(i))) {
            return "a client changed";
        }
    }
    ClientDatabase second(false);
    importClients(second, again, kMaxClients, true);
    return !whole || csvText(second) == exported ? "" : "the export did not come back whole";
}

// A fuzz target's verdict: nothing when the rules held, else the broken rule and an abort.
inline int fuzzVerdict(const std::string& problem) {
    if (problem.empty()) return 0;
    std::fprintf(stderr, "broken rule: %s\n", problem.c_str());
    std::abort();
}

}  // namespace tarn::test
