#pragma once

#include <QPagedPaintDevice>

#include "printing/print_document.h"

namespace tarn {

// Draws a job's document onto a paged device the caller owns, such as the printer a print
// preview hands out, with the same margins, layout and page range as a printed job. No
// message is shown; the result says what failed.
PrintError renderDocument(QPagedPaintDevice& device, const ClientDatabase& db, const PrintJob& job,
                          bool toFile = false);

}  // namespace tarn
