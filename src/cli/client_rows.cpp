#include "cli/client_rows.h"

#include "cli/cli_support.h"
#include "database/client_database.h"

namespace tarn::cli {

std::string clientTable(const ClientDatabase& db, const std::vector<int>& indexes) {
    std::vector<std::vector<std::string>> rows = {
        {"Index", "Name", "Type", "Serial", "Selcall", "Program", "Mode", "Tune", "Power"}};
    ClientSummary s;
    for (int i : indexes) {
        db.clientSummary(i, s);
        rows.push_back({std::to_string(i), shownText(s.name), s.type, shownText(s.serial),
                        s.selcall, s.program, s.mode, s.tune, s.power});
    }
    return formatTable(rows);
}

std::string clientJson(const ClientDatabase& db, const std::vector<int>& indexes) {
    std::string out = "[";
    ClientSummary s;
    for (int i : indexes) {
        db.clientSummary(i, s);
        out += out.size() > 1 ? ",\n  " : "\n  ";
        out += "{\"index\": " + std::to_string(i) + ", \"name\": " + jsonString(s.name) +
               ", \"type\": " + jsonString(s.type) + ", \"serial\": " + jsonString(s.serial) +
               ", \"selcall\": " + jsonString(s.selcall) +
               ", \"program\": " + jsonString(s.program) + ", \"mode\": " + jsonString(s.mode) +
               ", \"tune\": " + jsonString(s.tune) + ", \"power\": " + jsonString(s.power) + "}";
    }
    return out + (indexes.empty() ? "]" : "\n]");
}

}  // namespace tarn::cli
