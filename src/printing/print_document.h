#pragma once

#include <functional>

#include "printing/document_layout.h"

namespace tarn {

class ClientDatabase;

enum class PrintError { None, NothingToPrint, Font, PageSize, Document, Page };

// The message of a failed job ("Nothing to print.", "Printer font error.", ...); empty for None.
const char* printErrorText(PrintError error);

// Whether the job selects any client: index -1 with any client, an index in range, or a
// list with an index in range. Any other would give a page with the heading alone.
bool selectsAClient(const ClientDatabase& db, const PrintJob& job);

// Measures the surface, lays out the job and draws the pages the surface prints as one
// document. `started` runs once the document has started, `newPage` at every later page.
// A document that fails half-way is dropped, not delivered.
PrintError printDocument(PrintSurface& surface, const ClientDatabase& db, const PrintJob& job,
                         const std::function<void()>& started = {},
                         const std::function<void()>& newPage = {});

}  // namespace tarn
