// The note session without a window: for each situation at the end of the program, what is
// saved or copied, who is asked, whether the program may end and which way it ends.
#include <QDir>
#include <QDirIterator>

#include <functional>
#include <utility>

#include "foundation/hauptfenster.h"
#include "foundation/z_alles.h"
#include "notepad/notizsitzung.h"
#include "notepad/skribondiv.h"
#include "platform/dialoge.h"
#include "platform/profil.h"
#include "support/fixture.h"

namespace {

// The window as the session sees it: the shown text, and what it was told to do.
struct Ansicht : NotizAnsicht {
  QString text;
  bool zeitgeber = true, geschlossen = false;
  QString notizText() const override { return text; }
  int notizPosition() const override { return 0; }
  QFont notizSchrift() const override { return {}; }
  void notizZeigen(const NotizSpeicher::Notiz& n, bool, const QString&) override { text = n.text; }
  void notizblockZeigen() override {}
  void reiterZeigen() override {}
  void belegungAuffrischen() override {}
  void statusSetzen(const QString&) override {}
  void hinweisZeigen(const QString&) override {}
  void hinweisLoeschen() override {}
  void panelsAuffrischen() override {}
  void zeitgeberAnhalten() override { zeitgeber = false; }
  void zeitgeberStarten() override { zeitgeber = true; }
  bool platzSichern() override { return true; }
  void fensterSchliessen() override { geschlossen = true; }
};

// Stands in for _exit: leaves the session's frames as the real one leaves the process.
struct ProzessEnde {
  int code;
};

// The exit's question gets the row's answer, every other box "OK"; a signal may come while
// the question is open.
struct Boxen : Plattform::DialogDienst {
  int antwort = 0;
  std::function<void()> waehrendFrage;
  QStringList gezeigt;
  int msgBox(const QString& text, int, const QString&, int) override {
    gezeigt << text;
    if (!text.contains("Trotzdem beenden?")) return Plattform::vbOK;
    if (auto signal = std::exchange(waehrendFrage, nullptr)) signal();
    return antwort;
  }
  QString inputBox(const QString&, const QString&, const QString&, bool* abgebrochen) override {
    if (abgebrochen) *abgebrochen = true;
    return {};
  }
};

}  // namespace

class NotizSitzungTest : public Testhilfe::SkribonTest {};

TEST_F(NotizSitzungTest, WasVorDemEndeGesichertWirdUndWieEsEndet) {
  constexpr int Ja = Plattform::vbYes, Nein = Plattform::vbNo;
  struct Fall {
    const char* name;
    bool geaendert, sichernGeht, kopieGeht;
    bool ohneRueckfrage;  // a signal, the session end or the remote close
    int tiefe;            // event loops running (2: a box or modal window waits)
    int antwort;          // to "Trotzdem beenden?"
    bool signalInFrage;   // a signal comes while that question is open
    // Expected: the note file, emergency copies, boxes shown, and the way out: "Fenster"
    // (windows closed from the outermost loop), "Prozess <code>" (ended in place), "bleibt".
    const char* notiz;
    int kopien, boxen;
    const char* weg;
    QString notizblock = "Skribon";  // opened at the start
  };
  const Fall faelle[] = {
      {"unverändert", false, true, true, false, 1, 0, false, "", 0, 0, "Fenster"},
      {"gespeichert", true, true, true, false, 1, 0, false, "Rette mich", 0, 0, "Fenster"},
      {"Fehler, »Nein«", true, false, true, false, 1, Nein, false, "", 0, 1, "bleibt"},
      {"Fehler, »Ja«", true, false, true, false, 1, Ja, false, "", 1, 2, "Fenster"},
      {"Fehler, »Ja«, keine Kopie", true, false, false, false, 1, Ja, false, "", 0, 2, "bleibt"},
      {"Menü während eines Fensters", true, true, true, false, 2, 0, false, "Rette mich", 0, 0, "Prozess 0"},
      {"Signal, gespeichert", true, true, true, true, 1, 0, false, "Rette mich", 0, 0, "Fenster"},
      {"Signal, Fehler", true, false, true, true, 1, 0, false, "", 1, 0, "Fenster"},
      {"Signal, Fehler, keine Kopie", true, false, false, true, 1, 0, false, "", 0, 0, "Prozess 1"},
      {"Signal während eines Fensters", true, true, true, true, 2, 0, false, "Rette mich", 0, 0, "Prozess 0"},
      {"Signal während eines Fensters, unverändert", false, true, true, true, 2, 0, false, "", 0, 0, "Prozess 0"},
      {"Signal während eines Fensters, Fehler", true, false, true, true, 2, 0, false, "", 1, 0, "Prozess 0"},
      {"Signal während eines Fensters, nichts sicher", true, false, false, true, 2, 0, false, "", 0, 0, "Prozess 1"},
      {"Signal während der Frage", true, false, true, false, 1, Nein, true, "", 1, 1, "Prozess 0"},
      {"Signal während der Frage, keine Kopie", true, false, false, false, 1, Nein, true, "", 0, 1, "Prozess 1"},
      // Names up to 251 bytes save and are copied; a longer one is refused and Skribon opened.
      {"langer Name", true, true, true, false, 1, 0, false, "Rette mich", 0, 0, "Fenster", QString(251, u'N')},
      {"langer Name, Signal, Fehler", true, false, true, true, 1, 0, false, "", 1, 0, "Fenster", QString(125, u'ä')},
      {"Name zu lang", true, true, true, false, 1, 0, false, "Rette mich", 0, 1, "Fenster", QString(252, u'N')},
  };
  const QString keinOrdner = wurzel + "/kein Ordner";
  DateiSchreiben(keinOrdner, "Datei");
  Z_Alles::DebugDatei = wurzel + "/Debug.txt";
  Z_Alles::DebugModus = 1;
  for (const Fall& f : faelle) {
    SCOPED_TRACE(f.name);
    QFile::remove(Z_Alles::DebugDatei);
    QDir(home).removeRecursively();
    QDir().mkpath(subOrdner);
    QDir().mkpath(tmpOrdner);
    QDir(datOrdner).removeRecursively();
    QFile::remove(datOrdner);
    QDir().mkpath(datOrdner);
    Plattform::ProfilCacheLeeren();
    HauptfensterHaken::Leeren();
    int schritte = 0;
    HauptfensterHaken::Eintragen(HauptfensterHaken::Punkt::EndeStatistik, [&] { ++schritte; });
    Boxen boxen;
    boxen.antwort = f.antwort;
    Plattform::SetzeDialogDienst(&boxen);

    Ansicht ansicht;
    int tiefe = f.tiefe;
    QString weg = "bleibt";
    {
      NotizSitzung sitzung(ansicht);
      sitzung.umgebungSetzen({[&] { return tiefe; }, [](int code) { throw ProzessEnde{code}; }});
      sitzung.notizblockOeffnen(f.notizblock);
      ansicht.text = "Rette mich";
      SkribonDiv::NotizGeändert = f.geaendert;
      if (!f.sichernGeht) {
        QDir(datOrdner).removeRecursively();
        DateiSchreiben(datOrdner, "kein Ordner");
      }
      if (!f.kopieGeht) {
        qputenv("HOME", keinOrdner.toUtf8());
        qputenv("XDG_DATA_HOME", keinOrdner.toUtf8());
      }
      if (f.signalInFrage)
        boxen.waehrendFrage = [&] {
          tiefe = 2;
          sitzung.beenden(true);
        };
      auto ausgang = [&](bool ohneRueckfrage) {
        try {
          sitzung.beenden(ohneRueckfrage);
          return ansicht.geschlossen ? QString("Fenster") : QString("bleibt");
        } catch (const ProzessEnde& e) {
          return QString("Prozess %1").arg(e.code);
        }
      };
      weg = ausgang(f.ohneRueckfrage);
      EXPECT_EQ(sitzung.endet(), weg != "bleibt");
      EXPECT_EQ(ansicht.zeitgeber, weg == "bleibt");
      if (weg == "Fenster") {
        // A second way out once the exit has run repeats nothing; inside an event loop it
        // ends what kept the program alive.
        tiefe = 0;
        EXPECT_EQ(ausgang(true), "Fenster");
        tiefe = 1;
        EXPECT_EQ(ausgang(false), "Fenster");
        EXPECT_EQ(ausgang(true), "Prozess 0");
      }
    }
    qputenv("HOME", home.toUtf8());
    qputenv("XDG_DATA_HOME", (home + "/.local/share").toUtf8());
    QStringList kopien;
    for (QDirIterator it(home, {"*-Notfall-*"}, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories); it.hasNext();)
      kopien << it.next();

    EXPECT_EQ(weg, f.weg);
    EXPECT_EQ(DateiLesen(datOrdner + "/" + SkribonDiv::NotizblockName + ".t01"), f.notiz);
    ASSERT_EQ(kopien.size(), f.kopien) << kopien.join(", ").toStdString();
    for (const QString& k : kopien) EXPECT_EQ(DateiLesen(k), "Rette mich");
    EXPECT_EQ(boxen.gezeigt.size(), f.boxen) << boxen.gezeigt.join(" | ").toStdString();
    EXPECT_EQ(schritte, weg == "bleibt" ? 0 : 1);
    // The text left behind is marked unsaved only when it is in neither place.
    EXPECT_EQ(SkribonDiv::NotizGeändert, f.geaendert && !*f.notiz && kopien.isEmpty());
    // Every way out leaves the same trace: each step it began, once.
    const QString protokoll = QString::fromUtf8(DateiLesen(Z_Alles::DebugDatei));
    EXPECT_EQ(protokoll.count("Programm beenden... Notiz sichern..."), 1) << protokoll.toStdString();
    EXPECT_EQ(protokoll.count("Programm beenden... Einstellungen sichern..."), weg == "bleibt" ? 0 : 1);
  }
}
