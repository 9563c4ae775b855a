#include "database/client_order.h"

namespace tarn {

const std::string& summaryText(const ClientSummary& s, int column) {
    const std::string* texts[kSummaryColumns] = {&s.name,    &s.type, &s.serial, &s.selcall,
                                                 &s.program, &s.mode, &s.tune,   &s.power};
    return *texts[column];
}

int compareClientRows(const ClientDatabase& database, int a, int b, int column) {
    if (column < 0 || column >= kSummaryColumns) return 0;
    ClientSummary first, second;
    database.clientSummary(a, first);
    database.clientSummary(b, second);
    const std::string& x = summaryText(first, column);
    const std::string& y = summaryText(second, column);
    for (std::size_t i = 0; i < x.size() && i < y.size(); ++i) {
        const auto p = static_cast<unsigned char>(x[i]), q = static_cast<unsigned char>(y[i]);
        if (p != q) return p < q ? -1 : 1;
    }
    if (x.size() == y.size()) return 0;
    return x.size() < y.size() ? -1 : 1;  // the shorter text ends first
}

}  // namespace tarn
