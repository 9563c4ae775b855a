// Fleets: a radio's image matched against three databases of 1000 clients of 255 channels,
// and the history of one client among 10,000 backups (from the index beside them).
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <string>

#include "database/backup_history.h"
#include "document/client_history.h"
#include "document/database_document.h"
#include "document/radio_identify.h"

namespace {

namespace fs = std::filesystem;

void fillDatabase(tarn::DatabaseDocument& document, int seed) {
    tarn::ClientDatabase& db = document.database();
    db.deleteClient(0);
    tarn::ClientRecord full;
    for (int n = 0; n < tarn::kChannelCount; ++n) full.addChannel();
    for (int i = 0; i < tarn::kMaxClients; ++i) {
        tarn::ClientRecord& c = *db.client(db.addClient());
        c = full;
        c.setName(("Boat " + std::to_string(seed * 10000 + i)).c_str());
        c.setSelcall(std::to_string(1000 + (seed * 1000 + i) % 9000).c_str());
        c.setFrequency(1 + i % 255, 0, 20000u + unsigned(seed * 1000 + i));
    }
}

void BM_IdentifyAmongThreeDatabases(benchmark::State& state) {
    static auto* documents = [] {
        auto* docs = new std::unique_ptr<tarn::DatabaseDocument>[3];
        for (int d = 0; d < 3; ++d) {
            docs[d] = std::make_unique<tarn::DatabaseDocument>();
            fillDatabase(*docs[d], d);
        }
        return docs;
    }();
    const std::vector<tarn::DatabaseDocument*> open{documents[0].get(), documents[1].get(),
                                                    documents[2].get()};
    // A radio close to a client of the last database, but exactly like none.
    tarn::RadioImage radio = documents[2]->database().client(999)->image();
    radio[8 * 77 + 1] ^= 0x11;
    for (auto _ : state) benchmark::DoNotOptimize(tarn::matchImage(open, radio));
}
BENCHMARK(BM_IdentifyAmongThreeDatabases)->Unit(benchmark::kMillisecond);

void BM_HistoryAmongTenThousandBackups(benchmark::State& state) {
    const fs::path folder = fs::temp_directory_path() / "tarn-fleet-bench-backups-2";
    static tarn::DatabaseDocument document;
    static const bool made = [&] {
        // Made once (writing them takes minutes), kept for the next run.
        if (tarn::listBackups(folder).size() == 10000) return true;
        fs::remove_all(folder);
        // 100 clients with 100 backups each, a day apart.
        for (int i = 0; i < 100; ++i) {
            tarn::ClientRecord client;
            client.setName(("Boat " + std::to_string(i)).c_str());
            client.setSerial(("SN" + std::to_string(i)).c_str());
            client.setSelcall(std::to_string(1000 + i).c_str());
            for (int b = 0; b < 100; ++b) {
                client.setFrequency(1, 0, 20000u + unsigned(b));
                tarn::keepBackupIn(folder, tarn::BackupKind(b % 4), "fleet.tdb", client,
                                   std::time_t(1700000000) + b * 86400);
            }
        }
        tarn::listBackups(folder);  // the index, as the first history builds it
        return true;
    }();
    static const bool named = [] {
        document.database().client(0)->setName("Boat 42");
        document.database().client(0)->setSerial("SN42");
        return true;
    }();
    benchmark::DoNotOptimize(made && named);
    for (auto _ : state) {
        const auto history = tarn::historyOf(document, 0, folder);
        if (history.size() != 100) state.SkipWithError("wrong history");
    }
}
BENCHMARK(BM_HistoryAmongTenThousandBackups)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
