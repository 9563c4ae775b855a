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

// Whether the export's text reads back as written. It writes texts as they stand, so a
// field that starts with a quote reads as a quoted field, and a name of commas alone as an
// empty line.
inline bool readsBack(std::string_view csv) {
    for (std::size_t at = 0; at < csv.size(); ++at) {
        const bool fieldStart = at == 0 || csv[at - 1] == ',' || csv[at - 1] == '\n';
        if (fieldStart && csv[at] == '"') return false;
        if (csv[at] == ',' && (at == 0 || csv[at - 1] == '\n') &&
            csv.find_first_not_of(',', at) == csv.find('\r', at))
            return false;
    }
    return true;
}

// The CSV reader's rules, whatever the text: it lists at most 100 lines and counts the
// rest; what it read comes back unchanged through the export and another read, and that
// export comes back byte for byte (unless the export is ambiguous, as above, or its 8-bit
// text happens to be valid UTF-8, which is read as UTF-8, as it must be).
inline std::string checkCsvRead(std::string_view text) {
    const CsvImport read = readCsv(text);
    if (read.errors.size() != std::size_t(std::min(read.errorCount, kListedLineErrors)))
        return "the listed lines are not the first 100";
    if (read.clients.size() != std::size_t(std::min(read.readable, kMaxClients)))
        return "the readable clients are not all kept";
    ClientDatabase db(false);
    importClients(db, read, kMaxClients, true);
    const std::string exported = csvText(db);
    Utf8Check check;
    check.feed(exported);
    if ((check.valid() && check.sawNonAscii()) || !readsBack(exported)) return "";
    const CsvImport again = readCsv(exported);
    if (again.errorCount != 0 || again.readable != db.clientCount())
        return "an exported client does not read back";
    for (int i = 0; i < db.clientCount(); ++i)
        if (!(again.clients[std::size_t(i)].record == *db.client(i))) return "a client changed";
    ClientDatabase second(false);
    importClients(second, again, kMaxClients, true);
    return csvText(second) == exported ? "" : "the export did not come back whole";
}

// A fuzz target's verdict: nothing when the rules held, else the broken rule and an abort.
inline int fuzzVerdict(const std::string& problem) {
    if (problem.empty()) return 0;
    std::fprintf(stderr, "broken rule: %s\n", problem.c_str());
    std::abort();
}

}  // namespace tarn::test
