#pragma once

#include <filesystem>

#include "model/window_handle.h"
#include "printing/print_options.h"

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

}  // namespace tarn
