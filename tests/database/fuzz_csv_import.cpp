// libFuzzer target for the CSV reader: whatever the input, it keeps the rules of
// checkCsvRead (load_invariants.h); anything else aborts. Built by
// scripts/fuzz-database csv with clang.
#include "database/load_invariants.h"
#include "support/recording_ui.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    tarn::test::RecordingUi feedback;
    return tarn::test::fuzzVerdict(
        tarn::test::checkCsvRead({reinterpret_cast<const char*>(data), size}));
}
