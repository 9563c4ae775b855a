#pragma once

#include <string>
#include <vector>

namespace tarn {
class ClientDatabase;
}

namespace tarn::cli {

// The summary rows of the clients at `indexes`, as info and find print them: a table
// with a heading line, or a JSON array of {"index", "name", "type", "serial", "selcall",
// "program", "mode", "tune", "power"} (no line end after the closing bracket).
std::string clientTable(const ClientDatabase& db, const std::vector<int>& indexes);
std::string clientJson(const ClientDatabase& db, const std::vector<int>& indexes);

}  // namespace tarn::cli
