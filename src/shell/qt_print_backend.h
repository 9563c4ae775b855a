#pragma once

namespace tarn {

// Makes printClients ask for a printer with Qt's print dialog and print through QPrinter
// (on Linux the dialog also offers printing into a PDF file).
void installQtPrintBackend();

}  // namespace tarn
