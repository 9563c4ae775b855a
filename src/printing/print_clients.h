#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "model/window_handle.h"
#include "printing/document_layout.h"
#include "printing/print_options.h"
#include "printing/print_surface.h"

namespace tarn {

class ClientDatabase;

// Prints client sheets (identity lines and channel table) or, with summary true, the
// identity lines only, on a device chosen through printBackend(). A client index of -1
// prints every client in database order, another index that client alone. fileName is
// shown in the heading; the options add a new page per client sheet and the page footer.
// Only the pages the chosen device asks for (a page range) are printed. True when a
// document was produced; false after a message (or silently when the print dialog was
// cancelled). The owner window is disabled while the document is produced and always
// enabled and focused again.
bool printClients(const ClientDatabase& db, WindowHandle owner, bool summary,
                  const std::filesystem::path& fileName, int clientIndex,
                  const PrintOptions& options);

// The same for any job (a chosen list of clients, say).
bool printJob(const ClientDatabase& db, WindowHandle owner, const PrintJob& job);

// The file of each client of a job when each goes into its own PDF: the client's name made
// safe for a file name, " (2)" and on for a name met again, ".pdf", in `folder`.
std::vector<std::filesystem::path> eachClientFiles(const ClientDatabase& db, const PrintJob& job,
                                                   const std::filesystem::path& folder);

// Prints each client of the job (its sheet alone, page numbers its own) into its own PDF
// file in `folder` (eachClientFiles), each through the surface `pdfFile` makes for a path.
// Files that exist are replaced only when `mayReplace` (given how many) says so. The number
// of files written; -1 after its message when one failed or nothing may be written.
using PdfSurfaceMaker = std::function<std::unique_ptr<PrintSurface>(const std::filesystem::path&)>;
int printEachToPdf(const ClientDatabase& db, WindowHandle owner, const PrintJob& job,
                   const std::filesystem::path& folder, const PdfSurfaceMaker& pdfFile,
                   const std::function<bool(int existing)>& mayReplace);

}  // namespace tarn
