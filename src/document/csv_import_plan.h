#pragma once

#include <optional>
#include <string>

#include "database/csv_import.h"

namespace tarn {

class DatabaseDocument;

// What an import of a CSV file read (readCsvFile) may add to a document. All or nothing:
// a file with unreadable lines adds nothing unless the user chose its readable clients,
// more clients than there is room for add nothing unless the user agrees to the first
// ones, and an import that would add nothing is refused with its reason. The front ends
// only ask: the desktop program in its preview and message boxes, tarn-cli through
// --skip-bad.
struct ImportPlan {
    // Why nothing may be imported (a message text); empty when something may.
    std::string refusal;
    int count = 0;  // the clients to add
    // More readable clients than room: "The file holds 1200 clients; the database has
    // room for 1000 more (...)." The import takes the first `count` only when the user
    // agrees (the readable ones chosen count as agreeing).
    std::string tooMany;
    // The file's dealer text comes along (into a database without clients); when the
    // database has one of its own, only if the user answers Yes to `dealerTextQuestion`.
    bool dealerText = false;
    std::string dealerTextQuestion;
};

// `readable`: the user chose the readable clients (the preview's "Import the readable",
// tarn-cli's --skip-bad) rather than the whole file.
ImportPlan planImport(const ClientDatabase& database, const CsvImport& read, bool readable);

// Adds what the plan says as one step to undo ("Import 12 clients").
CsvImportSummary importPlanned(DatabaseDocument& document, const CsvImport& read,
                               const ImportPlan& plan);

}  // namespace tarn
