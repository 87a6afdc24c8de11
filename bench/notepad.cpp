// What users wait on in the notepad: the main window's build (without the splash), opening a
// full notepad (99 notes of 65,500 characters), switching notes, saving a note.
#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QThread>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>

#include "bench_hilfe.h"
#include "foundation/z_alles.h"
#include "notepad/main.h"
#include "notepad/notizeditor.h"
#include "notepad/notizspeicher.h"
#include "notepad/skribondiv.h"
#include "platform/profil.h"
#include "platform/textdatei.h"
#include "systemaufrufe.h"

namespace {

// A full note: lines of 78 characters, CR LF, 65,500 characters in all as stored.
QString volleNotiz(int nr) {
  QString text;
  const QString zeile = QString("Notiz %1 ").arg(nr, 2, 10, QChar('0')) + QString(69, QChar('a' + nr % 26));
  while (text.size() + 80 <= SkribonDiv::MaxZeichen) text += zeile.left(78) + "\r\n";
  text += QString(SkribonDiv::MaxZeichen - text.size(), 'z');
  return text;
}

QTemporaryDir* vorbereiten() {
  QTemporaryDir* wurzel = BenchOrdnerAnlegen();
  Plattform::ProfilSchreiben(Z_Alles::ordnerSub + "/Dormik.ini", "Skribon", "MaxSkribon", "99");

  QString inf;
  for (int nr = 1; nr <= 99; ++nr) {
    const QString nn = SkribonDiv::NummerText(nr);
    Plattform::TextSchreiben(Z_Alles::ordnerDat + "/Voll.t" + nn, volleNotiz(nr));
    inf += QString("[Note%1]\r\nHeader=Notiz Nummer %2\r\nFontName=DejaVu Sans\r\nFontSize=10\r\n"
                   "FontBold=0\r\nFontItalic=0\r\nForeColor=0\r\nBackColor=16777215\r\nCrsrPos=%3\r\n"
                   "Save=15.01.2026 10:30:00\r\nVers=2026.12.0001\r\nWordWrap=%4\r\n")
               .arg(nn)
               .arg(nr)
               .arg(nr * 100)
               .arg(nr % 2);
  }
  Plattform::TextSchreiben(Z_Alles::ordnerDat + "/Voll.inf", inf);
  return wurzel;
}

// Saves seconds apart change the stored time as well as the caret position: waits for the
// clock's next second, so a counted save writes both keys like the saves of a user.
void naechsteSekunde() {
  const qint64 jetzt = QDateTime::currentSecsSinceEpoch();
  while (QDateTime::currentSecsSinceEpoch() == jetzt) QThread::msleep(5);
}

std::unique_ptr<Main> hauptfenster() {
  SkribonDiv::Befehlszeile = {"Datei=Voll"};
  auto m = std::make_unique<Main>();
  m->Form_Load();
  m->show();
  QApplication::processEvents();
  return m;
}

// The main window built, its notepad opened and the window shown (the splash's tick not counted).
void BM_HauptfensterAufbau(benchmark::State& state) {
  for (auto _ : state) {
    auto m = hauptfenster();
    benchmark::DoNotOptimize(m.get());
    state.PauseTiming();
    m->beenden(true);
    m.reset();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_HauptfensterAufbau)->Unit(benchmark::kMillisecond);

void BM_NotizblockOeffnenSpeicher(benchmark::State& state) {
  NotizSpeicher s;
  for (auto _ : state) {
    s.oeffnen("Voll", 99);
    benchmark::DoNotOptimize(s.ueberblick(99).header);
  }
}
BENCHMARK(BM_NotizblockOeffnenSpeicher)->Unit(benchmark::kMillisecond);

void BM_NotizblockOeffnenFenster(benchmark::State& state) {
  auto m = hauptfenster();
  for (auto _ : state) m->NotizblockOeffnen("Voll");
  m->beenden(true);
}
BENCHMARK(BM_NotizblockOeffnenFenster)->Unit(benchmark::kMillisecond);

// A switch as the user sees it, repaint included. The notes alternate word wrap (odd ones wrap),
// so stepping by two keeps the mode and stepping by one changes it.
void wechseln(benchmark::State& state, int schritt, bool tippen) {
  auto m = hauptfenster();
  m->resize(900, 620);
  QApplication::processEvents();
  int nr = 1;
  auto weiter = [&] {
    nr = (nr + schritt - 1) % 98 + 1;
    m->NotizWechseln(nr);
    QApplication::processEvents();  // what the user waits for: the new note painted
  };
  for (auto _ : state) {
    if (tippen) {
      state.PauseTiming();
      m->aktiverText()->textCursor().insertText(QStringLiteral("x"));
      state.ResumeTiming();
    }
    weiter();
  }
  if (tippen)
    SystemaufrufeMelden(state, SystemaufrufeZaehlen([&] {
      naechsteSekunde();
      m->aktiverText()->textCursor().insertText(QStringLiteral("x"));
      weiter();
    }, 3), false);
  m->beenden(true);
}
void BM_NotizWechselnGleicherUmbruch(benchmark::State& state) { wechseln(state, 2, false); }
void BM_NotizWechselnAndererUmbruch(benchmark::State& state) { wechseln(state, 1, false); }
// After typing the switch saves the note first (text file and keys, durable).
void BM_NotizWechselnNachTippen(benchmark::State& state) { wechseln(state, 2, true); }
BENCHMARK(BM_NotizWechselnGleicherUmbruch)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NotizWechselnAndererUmbruch)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NotizWechselnNachTippen)->Unit(benchmark::kMillisecond);

void BM_NotizSichern(benchmark::State& state) {
  auto m = hauptfenster();
  NotizEditor* e = m->aktiverText();
  int i = 0;
  // One character changed and the caret moved: the text and the keys are written.
  auto aendern = [&] {
    QTextCursor c = e->textCursor();
    c.setPosition(100 + (i++ % 2));
    c.setPosition(c.position() + 1, QTextCursor::KeepAnchor);
    c.insertText(i % 2 ? "X" : "Y");
    e->setTextCursor(c);
  };
  for (auto _ : state) {
    state.PauseTiming();
    aendern();
    state.ResumeTiming();
    if (!m->NotizSichern(Main::Anlass::Befehl)) state.SkipWithError("Sichern fehlgeschlagen");
  }
  SystemaufrufeMelden(state, SystemaufrufeZaehlen([&] {
    naechsteSekunde();
    aendern();
    m->NotizSichern(Main::Anlass::Befehl);
  }, 3), false);
  m->beenden(true);
}
BENCHMARK(BM_NotizSichern)->Unit(benchmark::kMillisecond);

// The switch without the repaint that follows it.
void BM_NotizWechselnOhneZeichnen(benchmark::State& state) {
  auto m = hauptfenster();
  int nr = 1;
  for (auto _ : state) {
    nr = (nr + 2) % 99 + 1;
    m->NotizWechseln(nr);
  }
  m->beenden(true);
}
BENCHMARK(BM_NotizWechselnOhneZeichnen)->Unit(benchmark::kMillisecond);

// The parts of a switch: reading the note, and the editor taking the text.
void BM_TeilLaden(benchmark::State& state) {
  NotizSpeicher s;
  s.oeffnen("Voll", 99);
  int nr = 1;
  for (auto _ : state) {
    nr = nr % 99 + 1;
    NotizSpeicher::Notiz n;
    s.laden(nr, &n);
    benchmark::DoNotOptimize(n.text);
  }
}
BENCHMARK(BM_TeilLaden)->Unit(benchmark::kMillisecond);

void BM_TeilSetPlainText(benchmark::State& state) {
  NotizEditor e(0);
  e.resize(800, 500);
  e.show();
  const QString a = SkribonDiv::ZeilenendenZuLf(volleNotiz(1)), b = SkribonDiv::ZeilenendenZuLf(volleNotiz(2));
  int i = 0;
  for (auto _ : state) e.setPlainText(i++ % 2 ? a : b);
}
BENCHMARK(BM_TeilSetPlainText)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return BenchFensterMain(argc, argv, &vorbereiten); }
