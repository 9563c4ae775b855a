#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/client_record.h"

namespace tarn {

class ClientDatabase;

// A line of a CSV file that cannot be read, and why ("line 7: ..." when shown).
struct CsvLineError {
    int line;  // 1 is the first line of the file
    std::string reason;
};

// The unreadable lines kept for showing; the rest are only counted.
inline constexpr int kListedLineErrors = 100;
// The largest file read: far above the largest export (1000 clients of 255 channels, about
// 16 MB).
inline constexpr std::uintmax_t kLargestCsvFile = std::uintmax_t{64} << 20;

// A client read from the file, with the line of its name.
struct CsvClient {
    int line;
    ClientRecord record;
};

// The clients of a file in the export's format, read but not yet in any database, so that
// a caller can add them as one step (and take them out again as one). Memory stays in
// proportion to what can be imported, whatever the file holds.
struct CsvImport {
    // Line 1, the dealer text, as the records hold it; none when it cannot be held (its
    // reason is among the errors).
    std::optional<std::string> dealerText;
    std::vector<CsvClient> clients;    // the first readable clients, at most kMaxClients
    int readable = 0;                  // every readable client of the file
    int readableChannels = 0;          // and their channels
    std::vector<CsvLineError> errors;  // the first kListedLineErrors unreadable lines
    int errorCount = 0;                // all of them
};

// Reads the export's text, and what a spreadsheet makes of it: fields quoted as RFC 4180
// has them, rows padded with empty fields, UTF-8 (with or without a byte order mark) or
// Windows-1252 (valid UTF-8 with other than ASCII characters is taken as UTF-8). Texts
// are converted to the records' 8-bit form; one that holds a character they cannot hold
// is refused with that character named. Every value is checked against the limits the edit
// dialogs keep (model/limits.h). What the export does not carry comes from the new-client
// defaults; "mid" power becomes Mid1. A serial or label holding commas (written unquoted)
// takes the columns beyond the fixed ones. A client with any unreadable line is left out.
CsvImport readCsv(std::string_view text);
// The same from a file, read twice in pieces (once to tell the encoding). Nothing after
// the message "Could not open csv file", or the one saying the file is too large.
std::optional<CsvImport> readCsvFile(const std::filesystem::path& path);

// The unreadable lines as both programs list them: "line 7: <reason>" each, the first
// kListedLineErrors, then "... and N more".
std::vector<std::string> lineErrorTexts(const CsvImport& read);
std::string lineErrorText(const CsvLineError& error);

// What an import may add to a database: the room left by the client limit, and whether
// the file's dealer text comes along (only into a database without clients, and not when
// it is empty or the same). A dealer text of the database's own is replaced only when the
// user agrees (`dealerTextAsks`).
int importRoom(const ClientDatabase& database);
bool dealerTextOffered(const ClientDatabase& database, const CsvImport& read);
bool dealerTextAsks(const ClientDatabase& database);

struct CsvImportSummary {
    int clients = 0;     // appended
    int channels = 0;    // valid channels of the appended clients
    int notFitting = 0;  // left out by the 1000-client limit
};

// Appends the first `count` read clients (as many as fit) after the database's own and,
// with `dealerText`, puts the file's dealer text in; marks the database modified when it
// changed anything.
CsvImportSummary importClients(ClientDatabase& database, const CsvImport& read, int count,
                               bool dealerText);

// "Imported 12 clients with 340 channels.", and what did not fit.
std::string importSummaryText(const CsvImportSummary& summary);

}  // namespace tarn
