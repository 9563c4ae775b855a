// libFuzzer target for the CSV reader: whatever the input, every error names a line of it,
// and the clients it read come back unchanged through the export and another read.
// Built by scripts/fuzz-database csv with clang.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "database/client_database.h"
#include "database/csv_export.h"
#include "database/csv_import.h"
#include "support/recording_ui.h"

namespace {

void fail(const char* what) {
    std::fprintf(stderr, "CSV import broke a rule: %s\n", what);
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    tarn::test::RecordingUi feedback;
    const tarn::CsvImport read = tarn::readCsv(text);
    const auto lines = static_cast<int>(std::count(text.begin(), text.end(), '\n')) + 1;
    for (const tarn::CsvLineError& error : read.errors) {
        if (error.line < 2 || error.line > lines || error.reason.empty()) fail("error line");
    }
    tarn::ClientDatabase db(false);
    const tarn::CsvImportSummary summary = tarn::appendClients(db, read.clients);
    if (summary.clients + summary.notFitting != static_cast<int>(read.clients.size()))
        fail("summary");
    const tarn::CsvImport again = tarn::readCsv(tarn::csvText(db));
    if (!again.errors.empty()) fail("an exported client does not read back");
    for (int i = 0; i < db.clientCount(); ++i) {
        if (!(again.clients[std::size_t(i)] == *db.client(i))) fail("a client changed");
    }
    return 0;
}
