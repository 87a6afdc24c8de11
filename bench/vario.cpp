// Expanding the placeholders of a 64 KB note with 200 tokens, as a printout does for the note
// and every page heading.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include "foundation/z_alles.h"
#include "platform/profil.h"
#include "printing/z_vario.h"
#include "support/fakes.h"

namespace {

QString Notiz(int bytes, int tokens) {
  static const char* const auswahl[] = {
      "{datum}", "{kw}", "{jjjj-mm-tt}", "{uhrzeit0}", "{wochentag}", "{monatsname}", "{tt.mm.jjjj}",
      "{jetzt}", "{PrgName}", "{ordner_dat}", "{zufall3}", "{qr}", "{wt+2}", "{variable:Kunde}",
      "{alter:31.12.1999}", "{wochentag24.12.2026}", "{a7b:Größe}", "{aig:klein}", "%HOME%", "{unbekannt}"};
  const QString zeile = QStringLiteral("Besprechung mit dem Kunden über die Lieferung der Teile; ");
  QString text;
  const int abstand = bytes / tokens;
  for (int i = 0; i < tokens; ++i) {
    const QString token = QString::fromUtf8(auswahl[i % std::size(auswahl)]);
    QString fuellung;
    while (fuellung.size() < abstand - token.size() - 2) fuellung += zeile;
    text += fuellung.left(abstand - token.size() - 2) + token + QStringLiteral("\r\n");
  }
  return text;
}

// Folders, settings and machine of a benchmark run.
struct Umgebung {
  Umgebung() {
    Z_Alles::ordnerSub = tmp.path();
    Z_Alles::ordnerDat = tmp.path() + "/Daten";
    Z_Alles::ordnerPrg = tmp.path();
    Z_Alles::DebugModus = -1;
    QFile ini(tmp.path() + "/Dormik.ini");
    if (ini.open(QIODevice::WriteOnly)) ini.write("[Variablen]\r\nKunde=Meier ; Hauptkunde\r\n");
    ini.close();
    Plattform::ProfilCacheLeeren();
    maschine.ordner = tmp.path();
    maschine.env["HOME"] = "/home/erika";
    Plattform::SetzeSystemDienst(&maschine);
  }
  ~Umgebung() { Plattform::SetzeSystemDienst(nullptr); }
  QTemporaryDir tmp;
  Testhilfe::TestSystem maschine;
};

void BM_NotizMit200Platzhaltern(benchmark::State& state) {
  Umgebung umgebung;
  const QString text = Notiz(64 * 1024, 200);
  for (auto _ : state) benchmark::DoNotOptimize(Z_Vario::VarioErsetzen(text));
  state.SetBytesProcessed(state.iterations() * text.size() * 2);
}
BENCHMARK(BM_NotizMit200Platzhaltern)->Unit(benchmark::kMillisecond);

// The worst case for the token search: a megabyte of opening braces.
void BM_MegabyteKlammern(benchmark::State& state) {
  Umgebung umgebung;
  const QString text(1 << 20, QLatin1Char('{'));
  for (auto _ : state) benchmark::DoNotOptimize(Z_Vario::VarioErsetzen(text));
}
BENCHMARK(BM_MegabyteKlammern)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
