// Undo and redo of a paste of 1000 clients into a database window's history, each with
// the refill of the client list that follows it.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <string>

#include "document/database_document.h"
#include "shell/client_list.h"

namespace {

struct PastedThousand {
    tarn::DatabaseDocument document;
    tarn::ClientList list{document.database(), nullptr};

    PastedThousand() {
        document.change(
            [](tarn::ClientDatabase& db) {
                for (int i = 1; i < tarn::kMaxClients; ++i) {
                    tarn::ClientRecord& c = *db.client(db.addClient());
                    c.setName(("Client " + std::to_string(i)).c_str());
                    for (int n = 0; n < 20; ++n) c.addChannel();
                }
                return 1;
            },
            "Paste");
        list.resize(800, 600);
        list.show();
    }
};

PastedThousand& scene() {
    static auto* s = new PastedThousand;
    return *s;
}

// One step back or forth and the list rebuilt; the other direction runs untimed.
void step(benchmark::State& state, bool back) {
    PastedThousand& s = scene();
    for (auto _ : state) {
        state.PauseTiming();
        if (back != s.document.history().canUndo()) back ? s.document.redo() : s.document.undo();
        state.ResumeTiming();
        back ? s.document.undo() : s.document.redo();
        s.list.refill();
        QApplication::processEvents();
    }
}

void BM_UndoPasteOf1000(benchmark::State& state) {
    step(state, true);
}
BENCHMARK(BM_UndoPasteOf1000)->Unit(benchmark::kMillisecond);

void BM_RedoPasteOf1000(benchmark::State& state) {
    step(state, false);
}
BENCHMARK(BM_RedoPasteOf1000)->Unit(benchmark::kMillisecond);

// What each command costs before it runs: the copy of the database it may undo to.
void BM_StateOf1000(benchmark::State& state) {
    PastedThousand& s = scene();
    if (s.document.history().canRedo()) s.document.redo();
    for (auto _ : state) benchmark::DoNotOptimize(s.document.database().state());
}
BENCHMARK(BM_StateOf1000)->Unit(benchmark::kMillisecond);

}  // namespace
