// The special settings box: command words in any case, the general form with its fields, the
// printout question; and the services wired into the main window's start.
#include <QDir>
#include <QFile>

#include "foundation/dienste.h"
#include "foundation/hauptfenster.h"
#include "foundation/z_alles.h"
#include "notepad/skribondiv.h"
#include "services/spezial.h"
#include "dienste_test.h"

namespace {

class SpezialTest : public Testhilfe::DiensteTest {
protected:
  void SetUp() override {
    DiensteTest::SetUp();
    gedruckt.clear();
    dienste.spezialDrucken = [](const QStringList& zeilen, int groesse) {
      gedruckt = zeilen;
      gedrucktGroesse = groesse;
      return true;
    };
  }
  // Runs the box with the typed answer; the answers of the boxes after the input follow.
  bool eingeben(const QString& antwort, std::initializer_list<int> danach = {}) {
    dialoge.gezeigt.clear();
    dialoge.antwort(Plattform::vbOK);  // the help text
    dialoge.eingabe(antwort);
    for (int a : danach) dialoge.antwort(a);
    const bool ergebnis = Z_Alles::EinstellungSpezial();
    EXPECT_TRUE(dialoge.alleBeantwortet());
    return ergebnis;
  }
  QString letzteMeldung() const { return dialoge.gezeigt.isEmpty() ? QString() : dialoge.gezeigt.last().text; }
  static inline QStringList gedruckt;
  static inline int gedrucktGroesse = 0;
};

TEST_F(SpezialTest, Befehlswoerter) {
  struct Fall { QString eingabe; QString meldungAnfang; QString debugMode; };
  const Fall faelle[] = {
      {"  +DEBUG ", "Der Debug-Modus wurde aktiviert.", "1"},
      {"-Debug", "Der Debug-Modus wurde deaktiviert.", "0"},
      {"SchreibTest", "Der Schreib-/Lesetest für Einstellungen in\r\n " + subOrdner + "/Dormik.ini\r\nist in Ordnung.", "0"},
      {"-R", "Es wurde versucht den Schreibschutz zu entfernen.\r\n\r\nBitte beenden Sie jetzt das Programm", "0"},
  };
  // Write-protected files in the folders "-r" works on; a link must not be followed.
  const QString geschuetzt = datOrdner + "/Unter/Notiz.t01";
  DateiSchreiben(geschuetzt, "x");
  DateiSchreiben(subOrdner + "/VESK_prn.ini", "x");
  DateiSchreiben(subOrdner + "/andere.ini", "x");
  DateiSchreiben(wurzel + "/draussen.txt", "x");
  QFile::link(wurzel + "/draussen.txt", datOrdner + "/verweis");
  for (const QString& p : {geschuetzt, subOrdner + "/VESK_prn.ini", subOrdner + "/andere.ini", wurzel + "/draussen.txt"})
    QFile::setPermissions(p, QFile::ReadOwner);

  for (const Fall& f : faelle) {
    SCOPED_TRACE(f.eingabe.toStdString());
    dialoge.gezeigt.clear();
    EXPECT_FALSE(eingeben(f.eingabe, {Plattform::vbOK}));
    ASSERT_EQ(dialoge.gezeigt.size(), 3);
    EXPECT_EQ(dialoge.gezeigt[0].titel, "Einstellungen spezial");
    EXPECT_TRUE(dialoge.gezeigt[0].text.startsWith("Sie möchten spezialle Einstellungen vornehmen?"));
    EXPECT_EQ(dialoge.gezeigt[1].text, "Geben Sie jetzt die Einstellungen ein. Achten Sie bitte auf das Semikolon.");
    EXPECT_TRUE(letzteMeldung().startsWith(f.meldungAnfang)) << letzteMeldung().toStdString();
    EXPECT_EQ(dialoge.gezeigt[2].knoepfe, Plattform::vbInformation);
    EXPECT_EQ(lesen("Allgemein", "DebugMode"), f.debugMode);
  }
  auto schreibbar = [](const QString& p) { return bool(QFile::permissions(p) & QFile::WriteOwner); };
  EXPECT_TRUE(schreibbar(geschuetzt));
  EXPECT_TRUE(schreibbar(subOrdner + "/VESK_prn.ini"));
  EXPECT_FALSE(schreibbar(subOrdner + "/andere.ini")) << "only vesk*.ini in the settings folder";
  EXPECT_FALSE(schreibbar(wurzel + "/draussen.txt")) << "links are not followed";

  // The write test with a settings file that cannot be written: a fresh value cannot pass.
  QFile::remove(ini());
  QDir().mkpath(ini());
  Plattform::ProfilCacheLeeren();
  eingeben("schreibtest", {Plattform::vbOK});
  EXPECT_TRUE(letzteMeldung().endsWith("ist fehlerhaft!!!")) << letzteMeldung().toStdString();
  // Nothing typed or Cancel: nothing happens.
  dialoge.gezeigt.clear();
  dialoge.antwort(Plattform::vbOK);
  dialoge.eingabe("", true);
  EXPECT_FALSE(Z_Alles::EinstellungSpezial());
  EXPECT_EQ(dialoge.gezeigt.size(), 2);
}

TEST_F(SpezialTest, AllgemeineForm) {
  setzen("Allgemein", "User", "Erika");
  struct Fall {
    QString eingabe;
    int druckAntwort;  // 0 = the input is refused before the question
    QString abschnitt, schluessel, alt, neu;
  };
  const Fall faelle[] = {
      {"Dormik;Allgemein;User;Max Muster", Plattform::vbNo, "Allgemein", "User", "Erika", "Max Muster"},
      {";;MaxSkribon;70", Plattform::vbYes, "Skribon", "MaxSkribon", "", "70"},
      {"dormik.ini;Allgemein;Zitat;sagt \"hallo\";Rest", Plattform::vbNo, "Allgemein", "Zitat", "", "sagt “hallo“"},
      {"Dormik;Allgemein;User", Plattform::vbNo, "Allgemein", "User", "Max Muster", ""},
      {"Dormik;Allgemein", 0, "", "", "", ""},
  };
  for (const Fall& f : faelle) {
    SCOPED_TRACE(f.eingabe.toStdString());
    gedruckt.clear();
    if (f.druckAntwort == 0) {
      EXPECT_FALSE(eingeben(f.eingabe, {Plattform::vbOK}));
      EXPECT_EQ(letzteMeldung(), "Überprüfen Sie bitte noch einmal Ihre Eingabe »" + f.eingabe + "«.");
      EXPECT_EQ(dialoge.gezeigt.last().knoepfe, Plattform::vbCritical);
      continue;
    }
    EXPECT_TRUE(eingeben(f.eingabe, {f.druckAntwort}));
    EXPECT_EQ(lesen(f.abschnitt, f.schluessel), f.neu);
    const QString bestaetigung = "Entsprechend Ihrer Eingabe\r\n\r\n»" + f.eingabe + "«\r\n\r\nwurde der Wert von\r\n\r\n»" +
                                 f.alt + "«\r\n\r\nin\r\n\r\n»" + f.neu + "«\r\n\r\ngeändert.\r\n\r\n";
    EXPECT_EQ(letzteMeldung(), bestaetigung + "Wünschen Sie einen Ausdruck?");
    EXPECT_EQ(dialoge.gezeigt.last().knoepfe,
              Plattform::vbYesNo | Plattform::vbInformation | Plattform::vbDefaultButton2);
    if (f.druckAntwort == Plattform::vbNo) {
      EXPECT_TRUE(gedruckt.isEmpty());
      continue;
    }
    EXPECT_EQ(gedrucktGroesse, 13);
    ASSERT_GE(gedruckt.size(), 6);
    EXPECT_EQ(gedruckt[0], "Einstellung Spezial Dormiks-Skribon Version " + HauptfensterHaken::BuildVersion());
    EXPECT_EQ(gedruckt.mid(1, 4), QStringList({"", "Datum 15.01.2026 10:30", "", ""}));
    EXPECT_EQ(gedruckt[5], "Entsprechend Ihrer Eingabe");
  }
}

// The start, timer and exit steps as the main window runs them.
TEST_F(SpezialTest, StartSchritte) {
  Testhilfe::TestHauptfenster fenster;
  Hauptfenster::SetzeInstanz(&fenster);
  Programmdienste::Registrieren();
  SkribonDiv::Befehlszeile = {"ReadOnly"};
  for (auto p : {HauptfensterHaken::Punkt::StartUeberpruefungen, HauptfensterHaken::Punkt::StartReadonlytest,
                 HauptfensterHaken::Punkt::StartAnmelden, HauptfensterHaken::Punkt::StartPrivates})
    HauptfensterHaken::Ausfuehren(p);
  EXPECT_TRUE(Z_Alles::NurLesen);
  EXPECT_EQ(lesen("Skribon", "Stat_Starts"), "1");
  EXPECT_TRUE(dialoge.gezeigt.isEmpty());
  // Exit: the run counts once, and a read-only run leaves the multi-user file alone.
  setzen("Skribon", "Stat_StartLast", "15.01.2026 10:00:00");
  for (int mal = 0; mal < 2; ++mal)
    for (auto p : {HauptfensterHaken::Punkt::EndeAbmelden, HauptfensterHaken::Punkt::EndeStatistik})
      HauptfensterHaken::Ausfuehren(p);
  EXPECT_EQ(lesen("Skribon", "Stat_RunMinutes"), "30");
  EXPECT_FALSE(QFile::exists(datOrdner + "/NetWatch.ini"));
}

}  // namespace
