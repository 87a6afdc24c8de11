// Laying out a full note (65,500 characters) on A4 pages with a heading on each page: on the
// recording surface (the word wrap alone) and into a real PDF file (wrap, font measures and
// drawing).
#include <QApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include "platform/druckaufzeichnung.h"
#include "platform/drucker.h"
#include "printing/z_textandrucker.h"

namespace {

QString VolleNotiz() {
  const QString absatz = QStringLiteral(
      "Besprechung mit dem Kunden über die Lieferung der Teile: Termin/Ort stehen fest, "
      "Rückfragen bitte an die Zentrale! Preis = 1.250,00 EUR & Versand frei?\r\n");
  QString text;
  while (text.size() + absatz.size() <= 65500) text += absatz;
  return text + QString(65500 - text.size(), QLatin1Char('x'));
}

// Prints the note page by page with a heading; returns the number of pages.
int Drucken(const QString& notiz) {
  Plattform::Drucker& p = Plattform::Printer();
  int seiten = 0;
  p.setFontName(QStringLiteral("DejaVu Sans"));
  p.setFontSize(10);
  Z_TextAnDrucker::SeitenDrucken(notiz, 0, -1, -1, -1, [&](int seite) {
    seiten = seite;
    p.setScaleLeft(-2);
    p.setScaleTop(-1.5);
    p.setFontSize(12);
    p.setCurrentX(0);
    p.setCurrentY(0);
    p.Print(QStringLiteral("Notiz , Seite %1").arg(seite));
    p.setFontSize(10);
    p.Print(QString());
    return true;
  });
  p.EndDoc();
  return seiten;
}

void BM_NotizAufAufzeichnung(benchmark::State& state) {
  Plattform::AufzeichnungsDrucker aufzeichnung;
  aufzeichnung.bereich = QSizeF(20.0, 28.7);
  Plattform::SetzeDruckerDienst(&aufzeichnung);
  const QString notiz = VolleNotiz();
  int seiten = 0;
  for (auto _ : state) {
    aufzeichnung.texte.clear();
    seiten = Drucken(notiz);
  }
  state.counters["Seiten"] = seiten;
  Plattform::SetzeDruckerDienst(nullptr);
}
BENCHMARK(BM_NotizAufAufzeichnung)->Unit(benchmark::kMillisecond);

void BM_NotizAlsPdf(benchmark::State& state) {
  QTemporaryDir ordner;
  Plattform::SystemDrucker echt;
  echt.mitInstallierten = false;
  echt.pdfOrdner = ordner.path();
  Plattform::SetzeDruckerDienst(&echt);
  const QString notiz = VolleNotiz();
  int seiten = 0;
  for (auto _ : state) seiten = Drucken(notiz);
  state.counters["Seiten"] = seiten;
  Plattform::SetzeDruckerDienst(nullptr);
}
BENCHMARK(BM_NotizAlsPdf)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
