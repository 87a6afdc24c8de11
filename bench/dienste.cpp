// Start-up with and without the program services (regional check, read-only decision, start
// statistics, developer check), and the diagnostics report, which is built only on demand.
#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>

#include "bench_hilfe.h"
#include "foundation/hauptfenster.h"
#include "foundation/z_alles.h"
#include "notepad/main.h"
#include "notepad/skribondiv.h"
#include "services/diagnose.h"
#include "services/programmdienste.h"

namespace {

QTemporaryDir* vorbereiten() {
  QTemporaryDir* wurzel = BenchOrdnerAnlegen();
  Z_Alles::IniSchreiben({}, "Allgemein", "User", "Benchmark");
  return wurzel;
}

void start(benchmark::State& state) {
  for (auto _ : state) {
    auto m = std::make_unique<Main>();
    m->Form_Load();
    m->show();
    QApplication::processEvents();
    benchmark::DoNotOptimize(m.get());
    state.PauseTiming();
    m->sofortBeenden();
    m.reset();
    Programmdienste::Zuruecksetzen();
    state.ResumeTiming();
  }
}

void BM_StartOhneDienste(benchmark::State& state) {
  HauptfensterHaken::Leeren();
  start(state);
}
BENCHMARK(BM_StartOhneDienste)->Unit(benchmark::kMillisecond);

void BM_StartMitDiensten(benchmark::State& state) {
  HauptfensterHaken::Leeren();
  Programmdienste::Registrieren();
  start(state);
  HauptfensterHaken::Leeren();
}
BENCHMARK(BM_StartMitDiensten)->Unit(benchmark::kMillisecond);

void BM_DiagnoseBericht(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(Z_Alles::DiagnoseBericht());
}
BENCHMARK(BM_DiagnoseBericht)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return BenchFensterMain(argc, argv, &vorbereiten); }
