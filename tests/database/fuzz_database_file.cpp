// libFuzzer target for the database file reader: any input loads into a database that
// already holds content, and the outcome must be one of the defined ones (see
// load_invariants.h); anything else aborts. Built by scripts/fuzz-database with clang.
#include "database/load_invariants.h"
#include "support/recording_ui.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const char* folder = std::getenv("TARN_FUZZ_SCRATCH");
    static const std::string path = std::string(folder ? folder : "/dev/shm") + "/tarn-fuzz-" +
                                    std::to_string(std::rand()) + ".tdb";
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) std::abort();
    std::fwrite(data, 1, size, file);
    std::fclose(file);
    tarn::test::RecordingUi feedback;
    tarn::ClientDatabase db(true);
    const auto before = tarn::test::DatabaseSnapshot::of(db);
    const int result = db.load(path);
    return tarn::test::fuzzVerdict(
        tarn::test::checkLoadOutcome(before, db, result, feedback.texts()));
}
