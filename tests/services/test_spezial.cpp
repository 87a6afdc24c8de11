// The special settings box: command words in any case, the general form with its fields, the
// printout question; and the services wired into the main window's start.
#include <QDir>
#include <QFile>

#include "foundation/hauptfenster.h"
#include "foundation/z_alles.h"
#include "notepad/skribondiv.h"
#include "platform/druckaufzeichnung.h"
#include "services/spezial.h"
#include "dienste_test.h"

namespace {

class SpezialTest : public Testhilfe::DiensteTest {
protected:
  void SetUp() override {
    DiensteTest::SetUp();
    Plattform::SetzeDruckerDienst(&aufzeichnung);
  }
  void TearDown() override {
    Plattform::SetzeDruckerDienst(nullptr);
    DiensteTest::TearDown();
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
  Plattform::AufzeichnungsDrucker aufzeichnung;
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
  // The printout goes to the program's current printer, not the system's default.
  Plattform::DruckerSetzen(aufzeichnung.liste[1]);
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
    aufzeichnung.texte.clear();
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
      EXPECT_TRUE(aufzeichnung.texte.isEmpty());
      continue;
    }
    ASSERT_EQ(aufzeichnung.auftraege, 1);
    const QStringList seite = aufzeichnung.seite(1, 1);
    ASSERT_GE(seite.size(), 3);
    EXPECT_EQ(seite[0], "Einstellung Spezial Dormiks-Skribon Version " + HauptfensterHaken::BuildVersion());
    EXPECT_EQ(seite[1], "Datum 15.01.2026 10:30");
    EXPECT_EQ(seite[2], "Entsprechend Ihrer Eingabe");
    // Line by line at 13 points: the date after one empty line, the text after two more.
    const auto& t = aufzeichnung.texte;
    EXPECT_EQ(t[0].drucker, "Tinte Flur");
    EXPECT_EQ(t[0].groesse, 13);
    EXPECT_DOUBLE_EQ(t[1].y - t[0].y, 2 * 0.65);
    EXPECT_DOUBLE_EQ(t[2].y - t[1].y, 3 * 0.65);
    EXPECT_EQ(aufzeichnung.ereignisse.last(), "Ende Tinte Flur");
  }

  // On the PDF printer the box says where the file went; a long text goes on a second page.
  Plattform::DruckerSetzen(aufzeichnung.liste[2]);
  aufzeichnung.bereich = {20.0, 8.0};
  EXPECT_TRUE(eingeben(";;Lang;70", {Plattform::vbYes, Plattform::vbOK}));
  EXPECT_EQ(aufzeichnung.seitenzahl(2), 2);
  EXPECT_EQ(letzteMeldung(), "Der Ausdruck wurde als PDF-Datei gespeichert:\r\n\r\n/aufgezeichnet/Einstellungen spezial.pdf");
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
