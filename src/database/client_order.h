#pragma once

#include <string>

#include "database/client_database.h"

namespace tarn {

// The eight texts of a client list row, by column: name, type, serial, selcall,
// program, mode, tune, power.
inline constexpr int kSummaryColumns = 8;
const std::string& summaryText(const ClientSummary& summary, int column);

// Compares the texts of column c of two clients byte by byte as unsigned values:
// -1, 0 or 1 ("High" < "Low" < "Mid1", "Z" < "a", "10" < "9"). Columns above 7
// compare equal.
int compareClientRows(const ClientDatabase& database, int a, int b, int column);

}  // namespace tarn
