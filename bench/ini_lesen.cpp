// Reading settings: Z_Alles::IniLesen on a settings file of 2,000 keys. The file is unchanged
// between reads, so every read after the first must come from the cache.
#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include "foundation/z_alles.h"
#include "platform/profil.h"

namespace {

struct Einstellungsdatei {
  QTemporaryDir ordner;
  Einstellungsdatei() {
    Z_Alles::ordnerSub = ordner.path();
    QByteArray inhalt;
    for (int abschnitt = 0; abschnitt < 20; ++abschnitt) {
      inhalt += "[Abschnitt" + QByteArray::number(abschnitt) + "]\r\n";
      for (int k = 0; k < 100; ++k)
        inhalt += "Schluessel" + QByteArray::number(abschnitt * 100 + k) + "=Wert Nummer " +
                  QByteArray::number(k) + " mit etwas Text**zweite Zeile\r\n";
    }
    QFile f(ordner.path() + "/Dormik.ini");
    if (f.open(QIODevice::WriteOnly)) f.write(inhalt);
  }
};

void BM_IniLesenUnveraendert(benchmark::State& state) {
  static Einstellungsdatei datei;
  Z_Alles::IniLesen("", "Abschnitt19", "Schluessel1999", "?");  // fills the cache
  int i = 0;
  for (auto _ : state) {
    const int nr = 1000 + (i++ % 1000);
    const QString abschnitt = QStringLiteral("abschnitt%1").arg(nr / 100);
    benchmark::DoNotOptimize(
        Z_Alles::IniLesen("", abschnitt, QStringLiteral("SCHLUESSEL%1").arg(nr), "?"));
  }
}
BENCHMARK(BM_IniLesenUnveraendert);

void BM_IniLesenFehlenderSchluessel(benchmark::State& state) {
  static Einstellungsdatei datei;
  for (auto _ : state)
    benchmark::DoNotOptimize(Z_Alles::IniLesen("", "", "GibtEsNicht", "Vorgabe  "));
}
BENCHMARK(BM_IniLesenFehlenderSchluessel);

void BM_IniLesenNachFremdemSchreiben(benchmark::State& state) {
  static Einstellungsdatei datei;
  for (auto _ : state) {
    state.PauseTiming();
    Plattform::ProfilCacheLeeren();
    state.ResumeTiming();
    benchmark::DoNotOptimize(Z_Alles::IniLesen("", "Abschnitt5", "Schluessel550", "?"));
  }
}
BENCHMARK(BM_IniLesenNachFremdemSchreiben);

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
