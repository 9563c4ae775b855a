#pragma once

#include <string>

namespace tarn {

class ClientDatabase;

// Writes the whole database as comma-separated 8-bit text with CR LF line ends.
// True when the file was created and written; false after a message otherwise.
bool exportCsv(const ClientDatabase& database, const std::string& path);

}  // namespace tarn
