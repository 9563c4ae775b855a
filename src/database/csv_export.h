#pragma once

#include <string>

namespace tarn {

class ClientDatabase;

// The export's whole text, as exportCsv writes it.
std::string csvText(const ClientDatabase& database);

// Writes the whole database as comma-separated 8-bit text with CR LF line ends.
// True when the file was created and written; false after a message otherwise ("Failed to
// create/open csv file", or "Failed to write csv file" when the data did not all arrive).
// An existing file is replaced only once the new one is complete.
bool exportCsv(const ClientDatabase& database, const std::string& path);

}  // namespace tarn
