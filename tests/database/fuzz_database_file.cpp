// libFuzzer target for the database file reader: any input loads into a database that
// already holds content, and the outcome must be one of the defined ones (see
// load_invariants.h); anything else aborts. Built by scripts/fuzz-database with clang.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "database/client_database.h"
#include "database/load_invariants.h"
#include "support/recording_ui.h"

namespace {

std::string inputPath() {
    static const std::string path = [] {
        const char* folder = std::getenv("TARN_FUZZ_SCRATCH");
        return std::string(folder ? folder : "/dev/shm") + "/tarn-fuzz-" +
               std::to_string(std::rand()) + ".tdb";
    }();
    return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path = inputPath();
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) std::abort();
    std::fwrite(data, 1, size, file);
    std::fclose(file);

    tarn::test::RecordingUi feedback;
    tarn::ClientDatabase db(true);
    const auto before = tarn::test::DatabaseSnapshot::of(db);
    const int result = db.load(path);
    const std::string problem = tarn::test::checkLoadOutcome(before, db, result, feedback.texts());
    if (!problem.empty()) {
        std::fprintf(stderr, "load outcome not defined: %s\n", problem.c_str());
        std::abort();
    }
    return 0;
}
