// Start-up with and without the program services (regional check, read-only decision, start
// statistics, developer check), the diagnostics report, which is built only on demand, and the
// remote-close check of the one-second timer on a shared data folder of 10,000 files, watched and
// as on a network share, where the file system sends no change notices.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QThread>
#include <benchmark/benchmark.h>
#include <memory>

#include <fcntl.h>
#include <sys/stat.h>

#include "bench_hilfe.h"
#include "foundation/hauptfenster.h"
#include "foundation/z_alles.h"
#include "notepad/main.h"
#include "notepad/skribondiv.h"
#include "platform/ordnerindex.h"
#include "services/diagnose.h"
#include "services/netwatch.h"
#include "services/programmdienste.h"
#include "systemaufrufe.h"

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

// A data folder of 10,000 files that other programs share.
constexpr int kGeteilteDateien = 10000;

QString geteilterOrdner() {
  const QString ordner = Z_Alles::ordnerPrg + "/Geteilt";
  if (!QFileInfo(ordner).isDir()) {
    QDir().mkpath(ordner);
    for (int i = 0; i < kGeteilteDateien; ++i) {
      QFile f(ordner + QString("/Beleg %1.txt").arg(i, 5, 10, QChar('0')));
      f.open(QIODevice::WriteOnly);
    }
  }
  // Last changed a minute ago, like a folder no one is writing to.
  const struct timespec zeit[2] = {{::time(nullptr) - 60, 0}, {::time(nullptr) - 60, 0}};
  ::utimensat(AT_FDCWD, QFile::encodeName(ordner).constData(), zeit, 0);
  return ordner;
}

// One check per tick; belebt: before each, another program writes a new file into the folder
// and removes its oldest one (the folder keeps its size); imNetz: no change notices.
void fernSchliessen(benchmark::State& state, bool belebt, bool imNetz = false) {
  const QString alt = Z_Alles::ordnerDat;
  Plattform::SetzeOrdnerBeobachtung(!imNetz);
  Z_Alles::ordnerDat = geteilterOrdner();
  Z_Alles::FernSchliessenPrüfen(1);  // the first check after the start
  // Quiet: nothing written for a while, also in the program's other folders.
  if (!belebt) QThread::msleep(2500);
  static int neu = kGeteilteDateien;  // across repetitions: every file is new
  auto andererSchreibt = [&] {
    QFile f(Z_Alles::ordnerDat + QString("/Beleg %1.txt").arg(neu, 5, 10, QChar('0')));
    f.open(QIODevice::WriteOnly);
    f.write("Beleg");
    f.close();
    QFile::remove(Z_Alles::ordnerDat + QString("/Beleg %1.txt").arg(neu - kGeteilteDateien, 5, 10, QChar('0')));
    ++neu;
  };
  const quint64 gelesen = Plattform::OrdnerLesevorgaenge();
  for (auto _ : state) {
    if (belebt) {
      state.PauseTiming();
      andererSchreibt();
      state.ResumeTiming();
    }
    if (Z_Alles::FernSchliessenPrüfen(1) != 0) state.SkipWithError("Kennung gefunden");
  }
  // Folders read whole per check.
  state.counters["Lesen"] = double(Plattform::OrdnerLesevorgaenge() - gelesen) / double(state.iterations());
  if (!belebt) SystemaufrufeMelden(state, SystemaufrufeZaehlen([] { Z_Alles::FernSchliessenPrüfen(1); }, 20));
  Z_Alles::ordnerDat = alt;
  Plattform::SetzeOrdnerBeobachtung(true);
}
void BM_FernSchliessenRuhig(benchmark::State& state) { fernSchliessen(state, false); }
void BM_FernSchliessenBelebt(benchmark::State& state) { fernSchliessen(state, true); }
void BM_FernSchliessenBelebtImNetz(benchmark::State& state) { fernSchliessen(state, true, true); }
BENCHMARK(BM_FernSchliessenRuhig)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FernSchliessenBelebt)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FernSchliessenBelebtImNetz)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) { return BenchFensterMain(argc, argv, &vorbereiten); }
