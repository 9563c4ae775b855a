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

// The clients of a file in the export's format, read but not yet in any database, so
// that a caller can add them as one step (and take them out again as one).
struct CsvImport {
    std::vector<ClientRecord> clients;  // the readable clients, in file order
    std::vector<CsvLineError> errors;   // every unreadable line, in file order
};

// Reads the export's text (csv_export.h). What the export does not carry comes from the
// new-client defaults; "mid" power becomes Mid1. A serial or label holding commas (written
// unquoted) takes the columns beyond the fixed ones. A client with any unreadable line is
// left out whole. The channels pass the channel check every image gets, with its messages.
CsvImport readCsv(std::string_view text);
// The same from a file; nothing after the message "Could not open csv file".
std::optional<CsvImport> readCsvFile(const std::filesystem::path& path);

struct CsvImportSummary {
    int clients = 0;     // appended
    int channels = 0;    // valid channels of the appended clients
    int notFitting = 0;  // left out by the 1000-client limit
};

// Appends the clients after the database's own, as many as the client limit leaves room
// for (the first ones), and marks the database modified when it appended any.
CsvImportSummary appendClients(ClientDatabase& database, const std::vector<ClientRecord>& clients);

// "Imported 12 clients with 340 channels.", and what did not fit.
std::string importSummaryText(const CsvImportSummary& summary);
std::string lineErrorText(const CsvLineError& error);  // "line 7: <reason>"

}  // namespace tarn
