// A start as the program makes it, its folders wired as the program wires them: the splash
// beside a bare window of the same size, in this process and as whole processes from their
// start to the painted window, and the whole start from the folder resolution to the shown main
// window with its notepad (time, and the disk syncs and folder creations it makes).
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QElapsedTimer>
#include <QLabel>
#include <QPointer>
#include <QProcess>
#include <QWindow>
#include <QTemporaryDir>
#include <QVBoxLayout>
#include <benchmark/benchmark.h>
#include <memory>

#include "bench_hilfe.h"
#include "foundation/hauptfenster.h"
#include "foundation/z_alles.h"
#include "notepad/main.h"
#include "notepad/notizeditor.h"
#include "notepad/skribondiv.h"
#include "notepad/titel.h"
#include "platform/profil.h"
#include "platform/registry.h"
#include "platform/textdatei.h"
#include "platform/uebersetzung.h"
#include "systemaufrufe.h"
#include "services/programmdienste.h"
#include "verdrahtung.h"

namespace {

QString datenOrdner;

QTemporaryDir* vorbereiten() {
  QTemporaryDir* wurzel = BenchOrdnerAnlegen();
  datenOrdner = Z_Alles::ordnerDat;
  QApplication::setWindowIcon(SkribonDiv::ProgrammSymbol());
  Z_Alles::IniSchreiben({}, {}, "AutoTip", "0");  // no tips window after the fifth start
  // A notepad of 50 notes of a few lines each.
  for (int nr = 1; nr <= 50; ++nr)
    Plattform::TextSchreiben(datenOrdner + "/Skribon.t" + SkribonDiv::NummerText(nr),
                             QString("Notiz %1\nzweite Zeile\ndritte Zeile\n").arg(nr));
  Verdrahten();  // as the program does
  return wurzel;
}

// The splash shown and painted, then taken down before its tick starts the main window.
void BM_TitelZeigen(benchmark::State& state) {
  for (auto _ : state) {
    auto* t = new Titel;
    t->Form_Load();
    QApplication::processEvents();
    state.PauseTiming();
    t->Zeit.stop();
    delete t;
    QApplication::processEvents();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_TitelZeigen)->Unit(benchmark::kMillisecond);

// What a bare Qt program shows in its place: a window of the splash's size with a label.
QWidget* leeresFenster() {
  auto* w = new QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint);
  auto* l = new QVBoxLayout(w);
  l->addWidget(new QLabel(QStringLiteral("Dormiks-Skribon"), w));
  w->resize(460, 200);
  w->show();
  return w;
}

void BM_LeeresFenster(benchmark::State& state) {
  for (auto _ : state) {
    QWidget* w = leeresFenster();
    QApplication::processEvents();
    state.PauseTiming();
    delete w;
    QApplication::processEvents();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_LeeresFenster)->Unit(benchmark::kMillisecond);

// A process that shows one window and ends once it is painted: the splash as src/main.cpp
// shows it, or a bare window.
int fensterProzess(int argc, char** argv, bool titel) {
  QApplication app(argc, argv);
  QWidget* w = nullptr;
  if (titel) {
    QApplication::setApplicationName(QStringLiteral("Skribon"));
    QApplication::setOrganizationName(QStringLiteral("Dormiks-Programme"));
    QApplication::setWindowIcon(SkribonDiv::ProgrammSymbol());
    Plattform::DeutschLaden();
    auto* t = new Titel;
    t->Form_Load();
    t->Zeit.stop();
    w = t;
  } else {
    w = leeresFenster();
  }
  QElapsedTimer uhr;
  uhr.start();
  while (!(w->windowHandle() && w->windowHandle()->isExposed()) && uhr.elapsed() < 5000)
    QApplication::processEvents(QEventLoop::AllEvents, 10);
  QApplication::processEvents();  // painted
  return 0;
}

void prozess(benchmark::State& state, const char* art) {
  for (auto _ : state) {
    QProcess p;
    p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    p.start(QCoreApplication::applicationFilePath(), {QString::fromLatin1(art), "/OrdnerDat=" + datenOrdner});
    if (!p.waitForFinished(30000) || p.exitCode() != 0) state.SkipWithError("Prozess gescheitert");
  }
}
// Wall time from the process start to its first painted window, and its end.
void BM_TitelProzess(benchmark::State& state) { prozess(state, "--titel"); }
void BM_LeeresFensterProzess(benchmark::State& state) { prozess(state, "--leer"); }
BENCHMARK(BM_TitelProzess)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_LeeresFensterProzess)->Unit(benchmark::kMillisecond)->UseRealTime();

// From the folder resolution to the main window shown with its notepad and the splash gone.
Main* starten() {
  Z_Alles::ordnerDat.clear();
  SkribonDiv::Befehlszeile = {"/OrdnerDat=" + datenOrdner};
  auto* t = new Titel;
  t->Form_Load();
  t->Zeit_Timer();  // the first tick builds the main window
  Main* m = t->hauptfenster();
  t->Zeit_Timer();  // the second unloads the splash
  QApplication::processEvents();
  return m;
}

void beenden(Main* m) {
  m->sofortBeenden();
  delete m;
  Programmdienste::Zuruecksetzen();
  QApplication::processEvents();
}

void BM_Start(benchmark::State& state) {
  beenden(starten());  // the files of a first start exist, as on every later one
  for (auto _ : state) {
    Main* m = starten();
    state.PauseTiming();
    beenden(m);
    state.ResumeTiming();
  }
  SystemaufrufeMelden(state, SystemaufrufeZaehlen([] { starten(); }), false);
}
BENCHMARK(BM_Start)->Unit(benchmark::kMillisecond);

// The user's quit after typing, from the menu to the last exit step, as the first quit writes it:
// the note and its keys, the window place, the notepad's current note, the sign-off in the shared
// folder and the end statistics all new (time, and the disk syncs it makes).
Main* vorDemBeenden() {
  Main* m = starten();
  m->aktiverText()->textCursor().insertText(QStringLiteral("x"));
  for (const QString& datei : {Z_Alles::ordnerSub + "/Dormik.ini", Plattform::RegistryDatei(),
                               datenOrdner + "/NetWatch.ini", datenOrdner + "/Skribon.inf"})
    QFile::remove(datei);
  Plattform::ProfilCacheLeeren();
  return m;
}

void BM_Beenden(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    Main* m = vorDemBeenden();
    state.ResumeTiming();
    m->beenden(false);
    state.PauseTiming();
    const QPointer<Main> geschlossen = m;  // the closed window deletes itself
    QApplication::processEvents();
    delete geschlossen;
    Programmdienste::Zuruecksetzen();
    state.ResumeTiming();
  }
  Main* m = vorDemBeenden();
  SystemaufrufeMelden(state, SystemaufrufeZaehlen([m] { m->beenden(false); }), false);
  beenden(m);
}
BENCHMARK(BM_Beenden)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1 && (qstrcmp(argv[1], "--titel") == 0 || qstrcmp(argv[1], "--leer") == 0)) {
    // The folders as the parent set them up: the splash reads its settings there.
    SkribonDiv::Befehlszeile = {QString::fromLocal8Bit(argv[2])};
    return fensterProzess(argc, argv, qstrcmp(argv[1], "--titel") == 0);
  }
  return BenchFensterMain(argc, argv, &vorbereiten);
}
