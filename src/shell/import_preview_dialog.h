#pragma once

class QWidget;

namespace tarn {

struct CsvImport;

// What the dealer chose in the preview of a CSV import.
enum class ImportChoice { Cancel, Import, ImportReadable };

// Shows what a CSV file holds before anything is imported: the first clients with their
// line and channel count, the totals, and every line that cannot be read. "Import" takes
// the whole file and is offered only when every line reads well; "Import the readable"
// takes the readable clients and is offered only when some lines do not; Cancel (the
// default when the file has problems) takes nothing.
ImportChoice askImportPreview(QWidget* parent, const CsvImport& read);

}  // namespace tarn
