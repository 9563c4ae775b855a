// Load, save and CSV export of a full database (1000 clients x 255 channels, every
// label, name and serial at full length), each beside the plain cost of moving the
// same number of bytes in the same run. Files go to TARN_BENCH_DIR (default: the
// system's temporary folder).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "database/client_database.h"
#include "database/csv_export.h"
#include "database/file_sync.h"

namespace {

using tarn::ClientDatabase;

std::string benchFile(const std::string& name) {
    const char* dir = std::getenv("TARN_BENCH_DIR");
    return ((dir ? std::filesystem::path(dir) : std::filesystem::temp_directory_path()) /
            ("tarn-bench-" + name))
        .string();
}

ClientDatabase& fullDatabase() {
    static ClientDatabase* db = [] {
        auto* d = new ClientDatabase(false);
        for (int i = 0; i < tarn::kMaxClients; ++i) {
            tarn::ClientRecord& c = *d->client(d->addClient());
            c.setName(
                ("Client name padded to 31 chars " + std::to_string(i)).substr(0, 31).c_str());
            c.setSerial("SN-0123456789AB");
            for (int n = 1; n <= tarn::kChannelCount; ++n) {
                c.addChannel();
                c.setFrequency(n, 0, static_cast<std::uint32_t>(20000 + 997 * n));
                c.setFrequency(n, 1, static_cast<std::uint32_t>(20000 + 991 * n));
                c.setLabel(n, ("Label of channel " + std::to_string(n) + " padded out...")
                                  .substr(0, 31)
                                  .c_str());
            }
        }
        return d;
    }();
    return *db;
}

const std::string& savedPath() {
    static const std::string path = [] {
        std::string p = benchFile("load.tdb");
        fullDatabase().save(p);
        return p;
    }();
    return path;
}

std::vector<char> bytesOfSize(std::size_t size) {
    return std::vector<char>(size, 'x');
}

void plainWrite(const std::string& path, const std::vector<char>& bytes, bool sync) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fflush(file);
    if (sync) tarn::syncFileToDisk(file);
    std::fclose(file);
}

void BM_Load(benchmark::State& state) {
    const std::string& path = savedPath();
    ClientDatabase db(false);
    for (auto _ : state) benchmark::DoNotOptimize(db.load(path));
    state.SetBytesProcessed(state.iterations() * std::filesystem::file_size(path));
}

// What any loader must do at least: open the file, read it whole into memory it
// allocates (uncleared) for this load, close it.
void BM_PlainRead(benchmark::State& state) {
    const std::string& path = savedPath();
    const std::size_t size = std::filesystem::file_size(path);
    for (auto _ : state) {
        auto buffer = std::make_unique_for_overwrite<char[]>(size);
        std::FILE* file = std::fopen(path.c_str(), "rb");
        benchmark::DoNotOptimize(std::fread(buffer.get(), 1, size, file));
        std::fclose(file);
        benchmark::DoNotOptimize(buffer.get());
    }
    state.SetBytesProcessed(state.iterations() * size);
}

void BM_Save(benchmark::State& state) {
    const std::string path = benchFile("save.tdb");
    for (auto _ : state) benchmark::DoNotOptimize(fullDatabase().save(path));
    state.SetBytesProcessed(state.iterations() * std::filesystem::file_size(path));
}

// The plain write of the same size, without and with the flush to disk a save makes.
void BM_PlainWriteOfSaveSize(benchmark::State& state) {
    const auto bytes = bytesOfSize(std::filesystem::file_size(savedPath()));
    const std::string path = benchFile("plain.tdb");
    for (auto _ : state) plainWrite(path, bytes, state.range(0) != 0);
    state.SetBytesProcessed(state.iterations() * bytes.size());
}

void BM_ExportCsv(benchmark::State& state) {
    const std::string path = benchFile("export.csv");
    for (auto _ : state) benchmark::DoNotOptimize(tarn::exportCsv(fullDatabase(), path));
    state.SetBytesProcessed(state.iterations() * std::filesystem::file_size(path));
}

void BM_PlainWriteOfCsvSize(benchmark::State& state) {
    const auto bytes = bytesOfSize(tarn::csvText(fullDatabase()).size());
    const std::string path = benchFile("plain.csv");
    for (auto _ : state) plainWrite(path, bytes, state.range(0) != 0);
    state.SetBytesProcessed(state.iterations() * bytes.size());
}

BENCHMARK(BM_Load)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainRead)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Save)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainWriteOfSaveSize)
    ->Arg(0)
    ->Arg(1)
    ->ArgName("synced")
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportCsv)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainWriteOfCsvSize)->Arg(0)->Arg(1)->ArgName("synced")->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
