// The database window's client list over a full database (1000 clients): refilling,
// sorting by each of the eight columns, refreshing one row and filtering by a find text.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <string>

#include "database/client_database.h"
#include "shell/client_list.h"

namespace {

using tarn::ClientDatabase;

ClientDatabase& thousandClients() {
    static ClientDatabase* db = [] {
        auto* d = new ClientDatabase(false);
        for (int i = 0; i < tarn::kMaxClients; ++i) {
            tarn::ClientRecord& c = *d->client(d->addClient());
            // Names and serials in scrambled order so that every sort has work to do.
            const int key = (i * 7919) % tarn::kMaxClients;
            c.setName(("Client " + std::to_string(key)).c_str());
            c.setSerial(("SN" + std::to_string((key * 31) % 997)).c_str());
            c.setOption(tarn::ClientOption::PowerLevel, (key % 4) * 4);
            c.setOption(tarn::ClientOption::AutoTune, key % 2);
            c.setOption(tarn::ClientOption::ModeToggle, key % 3 == 0);
            c.setOption(tarn::ClientOption::FrontPanelProgramming, key % 5 == 0);
            d->setClientAdvanced(d->clientCount() - 1, key % 2);
        }
        return d;
    }();
    return *db;
}

tarn::ClientList& list() {
    static tarn::ClientList* view = [] {
        auto* l = new tarn::ClientList(thousandClients(), nullptr);
        l->resize(800, 600);
        l->show();
        l->refill();
        return l;
    }();
    return *view;
}

void BM_Refill(benchmark::State& state) {
    for (auto _ : state) {
        list().refill();
        QApplication::processEvents();
    }
}
BENCHMARK(BM_Refill)->Unit(benchmark::kMillisecond);

void BM_SortByColumn(benchmark::State& state) {
    const int column = static_cast<int>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        list().refill();
        QApplication::processEvents();
        state.ResumeTiming();
        list().sortByColumn(column);
        QApplication::processEvents();
    }
}
BENCHMARK(BM_SortByColumn)->DenseRange(0, 7)->Unit(benchmark::kMillisecond);

void BM_RefreshRow(benchmark::State& state) {
    list().refill();
    list().sortByColumn(0);
    int k = 0;
    for (auto _ : state) {
        list().refreshClient(k);
        QApplication::processEvents();
        k = (k + 337) % tarn::kMaxClients;
    }
}
BENCHMARK(BM_RefreshRow)->Unit(benchmark::kMillisecond);

// One keystroke in the Find field: "Client 1" typed letter by letter, then cleared.
void BM_FindKeystroke(benchmark::State& state) {
    list().refill();
    const QString typed = "Client 1";
    qsizetype length = 0;
    for (auto _ : state) {
        length = (length + 1) % (typed.size() + 1);
        list().setFindText(typed.left(length));
        QApplication::processEvents();
    }
}
BENCHMARK(BM_FindKeystroke)->Unit(benchmark::kMillisecond);

}  // namespace
