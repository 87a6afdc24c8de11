// Reading settings: one key of a profile file with 2,000 keys, the first time (read and parse)
// and again while the file is unchanged (cache), plus one write for comparison.
#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include "platform/profil.h"

namespace {

constexpr int kAbschnitte = 20;
constexpr int kJeAbschnitt = 100;

// A settings file of 20 sections with 100 keys each, as the program writes it.
QString profilAnlegen(const QTemporaryDir& ordner) {
  const QString pfad = ordner.filePath("Dormik.ini");
  QByteArray inhalt;
  for (int a = 0; a < kAbschnitte; ++a) {
    inhalt += "[Abschnitt" + QByteArray::number(a) + "]\r\n";
    for (int k = 0; k < kJeAbschnitt; ++k)
      inhalt += "Schluessel" + QByteArray::number(k) + "=Wert " + QByteArray::number(a * 1000 + k) +
                " mit etwas Text\r\n";
    inhalt += "\r\n";
  }
  QFile f(pfad);
  if (f.open(QIODevice::WriteOnly)) f.write(inhalt);
  return pfad;
}

void ErstesLesen(benchmark::State& state) {
  QTemporaryDir ordner;
  const QString pfad = profilAnlegen(ordner);
  for (auto _ : state) {
    Plattform::ProfilCacheLeeren();
    benchmark::DoNotOptimize(Plattform::ProfilLesen(pfad, "Abschnitt10", "Schluessel50", "?"));
  }
}
BENCHMARK(ErstesLesen)->Unit(benchmark::kMicrosecond);

void WiederholtesLesen(benchmark::State& state) {
  QTemporaryDir ordner;
  const QString pfad = profilAnlegen(ordner);
  Plattform::ProfilCacheLeeren();
  QStringList abschnitte, schluessel;
  for (int i = 0; i < 64; ++i) {
    abschnitte << QString("ABSCHNITT%1").arg(i * 7 % kAbschnitte);
    schluessel << QString("schluessel%1").arg(i * 13 % kJeAbschnitt);
  }
  Plattform::ProfilLesen(pfad, "x", "y", {});  // parse once before timing
  const quint64 vorher = Plattform::ProfilLesevorgaenge();
  int i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(Plattform::ProfilLesen(pfad, abschnitte[i], schluessel[i], "?"));
    i = (i + 1) % 64;
  }
  // Must stay 0: an unchanged file is not read again.
  state.counters["Dateilesevorgaenge"] = double(Plattform::ProfilLesevorgaenge() - vorher);
}
BENCHMARK(WiederholtesLesen)->Unit(benchmark::kMicrosecond);

void LesenFehlenderSchluessel(benchmark::State& state) {
  QTemporaryDir ordner;
  const QString pfad = profilAnlegen(ordner);
  for (auto _ : state)
    benchmark::DoNotOptimize(Plattform::ProfilLesen(pfad, "Abschnitt3", "GibtEsNicht", "?"));
}
BENCHMARK(LesenFehlenderSchluessel)->Unit(benchmark::kMicrosecond);

void SchreibenUndLesen(benchmark::State& state) {
  QTemporaryDir ordner;
  const QString pfad = profilAnlegen(ordner);
  int n = 0;
  for (auto _ : state) {
    Plattform::ProfilSchreiben(pfad, "Abschnitt10", "Zaehler", QString::number(++n));
    benchmark::DoNotOptimize(Plattform::ProfilLesen(pfad, "Abschnitt10", "Zaehler", "?"));
  }
}
BENCHMARK(SchreibenUndLesen)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
