#pragma once

#include "printing/print_surface.h"

namespace tarn {

// Asks for a printer with Qt's print dialog and prints through QPrinter (on Linux the
// dialog also offers printing into a PDF file). The program's one, for Services::printer.
PrintBackend& qtPrintBackend();

}  // namespace tarn
