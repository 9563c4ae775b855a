// A channel plan applied to 1000 clients of 255 channels each, with the preview first, as
// one undo step of the document.
#include <benchmark/benchmark.h>

#include <numeric>

#include "database/client_database.h"
#include "document/apply_channels.h"
#include "document/database_document.h"

namespace {

tarn::ClientRecord fullClient(std::uint32_t base) {
    tarn::ClientRecord client;
    for (int n = 1; n <= tarn::kChannelCount; ++n) {
        client.setFrequency(n, 0, base + std::uint32_t(n));
        client.setFrequency(n, 1, base + std::uint32_t(n));
        client.setLabel(n, ("Channel " + std::to_string(n)).c_str());
    }
    client.validateChannels();
    return client;
}

void BM_ApplyPlanTo1000Clients(benchmark::State& state) {
    const bool merge = state.range(0) != 0;
    tarn::DatabaseDocument document;
    tarn::ClientDatabase& db = document.database();
    const tarn::ClientRecord client = fullClient(40000);
    *db.client(0) = client;
    while (db.clientCount() < tarn::kMaxClients) *db.client(db.addClient()) = client;
    std::vector<int> all(tarn::kMaxClients);
    std::iota(all.begin(), all.end(), 0);
    const tarn::ClientRecord plans[2] = {fullClient(50000), fullClient(60000)};
    const tarn::PlanMode mode = merge ? tarn::PlanMode::Merge : tarn::PlanMode::Replace;
    int round = 0;
    for (auto _ : state) {
        const tarn::ClientRecord& plan = plans[round++ % 2];  // every channel changes each time
        const auto preview = tarn::previewPlan(db, all, plan, mode);
        benchmark::DoNotOptimize(preview.data());
        if (state.range(1)) benchmark::DoNotOptimize(tarn::applyPlan(document, all, plan, mode));
    }
}
BENCHMARK(BM_ApplyPlanTo1000Clients)
    ->Args({0, 1})
    ->Args({1, 1})
    ->Args({1, 0})
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
