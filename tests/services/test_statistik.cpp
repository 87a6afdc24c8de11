// Start-up checks and usage statistics: the regional check through a foreign format source,
// the read-only decision, the statistics keys at start and exit, the statistics text.
#include <QDir>
#include <QFile>

#include "foundation/z_alles.h"
#include "notepad/skribondiv.h"
#include "platform/laufzeit.h"
#include "platform/registry.h"
#include "services/statistik.h"
#include "services/version.h"
#include "dienste_test.h"

namespace {

using Testhilfe::DiensteTest;

// A desktop with "." for decimals and "," for grouping, and/or month-first dates with slashes.
class FremdesFormat : public Z_Alles::LaenderFormat {
public:
  bool punktZahlen = false, usDatum = false;
  QString zahl(double wert, const QString& muster) override {
    QString t = LaenderFormat::zahl(wert, muster);
    if (!punktZahlen) return t;
    for (QChar& c : t) c = c == u'.' ? u',' : c == u',' ? u'.' : c;
    return t;
  }
  QString kurzesDatum(const QDate& d) override {
    return usDatum ? d.toString("M/d/yyyy") : LaenderFormat::kurzesDatum(d);
  }
};

TEST_F(DiensteTest, Laendereinstellung) {
  // The program's own formats are German whatever the desktop says: no warning.
  EXPECT_EQ(Z_Alles::LaenderEinstellungPruefen(), "");
  EXPECT_TRUE(dialoge.gezeigt.isEmpty());

  FremdesFormat fremd;
  Z_Alles::SetzeLaenderFormat(&fremd);
  struct Fall { bool punkt, us; QString hinweis; int antwort; bool box, zahlAbsatz, datumAbsatz; QString danach; };
  const Fall faelle[] = {
      {true, false, "<fehlt>", Plattform::vbYes, true, true, false, "<fehlt>"},
      {false, true, "1", Plattform::vbYes, true, false, true, "1"},
      {true, true, "-1", Plattform::vbNo, true, true, true, "0"},  // No switches it off
      {true, false, "0", 0, false, true, false, "0"},
      {true, false, "aus", 0, false, true, false, "aus"},  // no leading number counts as 0
  };
  for (const Fall& f : faelle) {
    SCOPED_TRACE(f.hinweis.toStdString());
    fremd.punktZahlen = f.punkt;
    fremd.usDatum = f.us;
    QFile::remove(ini());
    Plattform::ProfilCacheLeeren();
    if (f.hinweis != "<fehlt>") setzen("Allgemein", "LänderHinweis", f.hinweis);
    dialoge.gezeigt.clear();
    if (f.box) dialoge.antwort(f.antwort);
    const QString warnung = Z_Alles::LaenderEinstellungPruefen();
    EXPECT_TRUE(warnung.startsWith("Skribon Version " + QString::number(SKRIBON_VERSION_MAJOR) + "." +
                                   QString("%1").arg(SKRIBON_VERSION_MINOR, 2, 10, QChar('0')) +
                                   " erwartet eine Ländereinstellung"));
    EXPECT_EQ(warnung.contains("Der Bruch 10000/3 wird z. B. als 3,333.33 formatiert."), f.zahlAbsatz);
    EXPECT_EQ(warnung.contains("Das heutige Datum wird z. B. als '1/15/2026' formatiert."), f.datumAbsatz);
    EXPECT_FALSE(warnung.contains('~'));
    EXPECT_TRUE(warnung.endsWith("weiterhin angezeigt bekommen? Dieses wird empfohlen!"));
    ASSERT_EQ(dialoge.gezeigt.size(), f.box ? 1 : 0);
    if (f.box) {
      EXPECT_EQ(dialoge.gezeigt[0].titel, "Skribon - bitte Ländereinstellung überprüfen");
      EXPECT_EQ(dialoge.gezeigt[0].knoepfe, Plattform::vbYesNo | Plattform::vbCritical);
      EXPECT_EQ(dialoge.gezeigt[0].text, warnung);
    }
    EXPECT_EQ(lesen("Allgemein", "LänderHinweis"), f.danach);
  }
}

TEST_F(DiensteTest, NurLesenEntscheidung) {
  struct Fall {
    const char* name;
    QStringList befehlszeile;
    std::function<void()> vorbereiten;
    bool nurLesen;
    QString meldung;  // "" = no box
  };
  const QString dat = datOrdner, prg = prgOrdner, sub = subOrdner;
  auto schreibgeschuetzt = [](const QString& p) {
    Testhilfe::SkribonTest::DateiSchreiben(p, "[Note01]\r\n");
    QFile::setPermissions(p, QFile::ReadOwner | QFile::ReadGroup);
  };
  const std::vector<Fall> faelle = {
      {"nichts", {}, [] {}, false, ""},
      {"Befehlszeile", {"Datei=x", "/NurReadOnlyBitte"}, [] {}, true, ""},
      {"inf im Datenordner", {}, [=] { schreibgeschuetzt(dat + "/Skribon.inf"); }, true, ""},
      // The data folder's own (writable) index decides, not the program folder's.
      {"inf nur im Programmordner geschützt", {},
       [=] {
         DateiSchreiben(dat + "/A.inf", "x");
         schreibgeschuetzt(prg + "/B.inf");
       },
       false, ""},
      {"inf im Programmordner", {}, [=] { schreibgeschuetzt(prg + "/B.INF"); }, true, ""},
      {"leere Hinweisdatei", {}, [=] { DateiSchreiben(prg + "/readonly.TXT", ""); }, true, ""},
      {"drei Zeilen", {}, [=] { DateiSchreiben(prg + "/ReadOnly.txt", "Eins\r\nZwei\nDrei\r\n"); }, true,
       "Eins\r\nZwei\r\nDrei\r\n"},
      {"binär", {}, [=] { DateiSchreiben(prg + "/ReadOnly.txt", QByteArray("Bin\x01\x02\0\x1b[2J\xff\xfe", 12)); },
       true, "Bin[2Jÿþ\r\n"},
      // A folder where the settings file should be: nothing can be written there.
      {"Einstellungen nicht schreibbar", {}, [=] { QFile::remove(sub + "/Dormik.ini"); QDir().mkpath(sub + "/Dormik.ini"); },
       true, ""},
  };
  for (const Fall& f : faelle) {
    SCOPED_TRACE(f.name);
    for (const QString& o : {dat, prg}) {
      for (const QString& n : QDir(o).entryList(QDir::Files)) {
        QFile::setPermissions(o + "/" + n, QFile::ReadOwner | QFile::WriteOwner);
        QFile::remove(o + "/" + n);
      }
    }
    QDir(sub + "/Dormik.ini").removeRecursively();
    Plattform::ProfilCacheLeeren();
    SkribonDiv::Befehlszeile = f.befehlszeile;
    f.vorbereiten();
    dialoge.gezeigt.clear();
    if (!f.meldung.isEmpty()) dialoge.antwort(Plattform::vbOK);
    Z_Alles::NurLesen = true;  // decided afresh
    Z_Alles::SchreibrechtePruefen();
    EXPECT_EQ(Z_Alles::NurLesen, f.nurLesen);
    ASSERT_EQ(dialoge.gezeigt.size(), f.meldung.isEmpty() ? 0 : 1);
    if (!f.meldung.isEmpty()) {
      EXPECT_EQ(dialoge.gezeigt[0].text, f.meldung);
      EXPECT_EQ(dialoge.gezeigt[0].titel, "Dormiks-Skribon, nur Leserechte");
    }
  }
}

TEST_F(DiensteTest, SchreibtestMitGleichemAltwert) {
  // A stored value equal to the next test value: a write that failed would pass. The test
  // writes a different value instead.
  Testhilfe::TestSystem kopie;
  kopie.uhr = system.uhr;
  kopie.zustand = system.zustand;
  const float wert = float(QTime(0, 0).secsTo(kopie.uhr.time())) * float(kopie.zufall()) * 1000.0f;
  const QString gleich = Laufzeit::Format(double(wert), "0");
  setzen("Allgemein", "Schreibtest", gleich);
  Z_Alles::SchreibrechtePruefen();
  EXPECT_FALSE(Z_Alles::NurLesen);
  EXPECT_NE(lesen("Allgemein", "Schreibtest"), gleich);
}

TEST_F(DiensteTest, StartUndEndeStatistik) {
  DateiSchreiben(datOrdner + "/Skribon_RmtClose$DoIt.flg", "");
  struct Mwst { QString gespeichert; float satz; };
  for (const Mwst& m : {Mwst{"16.5", 16.5f}, Mwst{"16,5", 16.0f}, Mwst{"0", 19.0f}, Mwst{"-7", 19.0f},
                        Mwst{"abc", 19.0f}, Mwst{"", 19.0f}}) {
    setzen("Allgemein", "MwSt", m.gespeichert);
    Z_Alles::StartStatistik();
    EXPECT_FLOAT_EQ(Z_Alles::MwStSatz, m.satz) << m.gespeichert.toStdString();
  }
  EXPECT_EQ(lesen("Skribon", "Stat_Starts"), "6");
  EXPECT_EQ(lesen("Skribon", "Stat_StartFirst"), "15.01.2026");
  EXPECT_EQ(lesen("Skribon", "Stat_StartLast"), "15.01.2026 10:30:00");
  EXPECT_EQ(lesen("Version", "Skribon"), HauptfensterHaken::BuildVersion());
  EXPECT_FALSE(QFile::exists(datOrdner + "/Skribon_RmtClose$DoIt.flg")) << "leftover flag removed";
  // A first start that is a date stays; one that is not is replaced.
  system.uhr = system.uhr.addDays(3);
  Z_Alles::StartStatistik();
  EXPECT_EQ(lesen("Skribon", "Stat_StartFirst"), "15.01.2026");
  setzen("Skribon", "Stat_StartFirst", "kein Datum");
  Z_Alles::StartStatistik();
  EXPECT_EQ(lesen("Skribon", "Stat_StartFirst"), "18.01.2026");

  struct Ende { QString startLast; QDateTime jetzt; QString minuten; bool gestartet = true; };
  const QDateTime t0(QDate(2026, 3, 29), QTime(1, 59, 30));
  const Ende faelle[] = {
      {"29.03.2026 01:59:30", t0.addSecs(31 * 60), "31"},  // minute boundaries crossed
      {"29.03.2026 01:59:30", t0.addSecs(40), "1"},
      {"29.03.2026 01:59:30", t0.addSecs(20), "0"},
      {"29.03.2026 01:59:30", t0.addSecs(-3600), "0"},  // clock set back: nothing taken away
      {"Unsinn", t0, "0"},
      // Ended in a box before this run's start was counted: the last run's start is no measure.
      {"01.03.2026 08:00:00", t0, "0", false},
  };
  for (const Ende& e : faelle) {
    Programmdienste::Zuruecksetzen();
    if (e.gestartet) Z_Alles::StartStatistik();
    setzen("Skribon", "Stat_StartLast", e.startLast);
    setzen("Skribon", "Stat_RunMinutes", "100");
    system.uhr = e.jetzt;
    Z_Alles::EndeStatistik();
    Z_Alles::EndeStatistik();  // a second exit in the same run adds nothing
    EXPECT_EQ(lesen("Skribon", "Stat_RunMinutes"), QString::number(100 + e.minuten.toInt()))
        << e.startLast.toStdString() << " -> " << e.jetzt.toString().toStdString();
  }
  EXPECT_EQ(lesen("Skribon", "Dir"), prgOrdner);
  EXPECT_EQ(lesen("Skribon", "Ver"), Z_Alles::VersionsNr);
  EXPECT_EQ(lesen("Skribon", "VerBit"), "32" + Z_Alles::VersionsNr);
  // The folder as it is written on a case-sensitive file system.
  EXPECT_EQ(Plattform::RegistryLesen("SOFTWARE\\Dormiks-Programme\\Dormiks-Skribon", "Dir"), prgOrdner);
}

TEST_F(DiensteTest, StatistikText) {
  const QString sorry = "Sorry, aber keine Datengrundlage vorhanden.";
  EXPECT_EQ(Z_Alles::StatistikText(2), sorry);
  EXPECT_EQ(Z_Alles::StatistikText(0), sorry);

  setzen("Skribon", "Stat_Starts", "25");
  setzen("Skribon", "Stat_RunMinutes", "600");
  setzen("Skribon", "Stat_StartFirst", "15.01.2026");  // today: no day to divide by
  EXPECT_EQ(Z_Alles::StatistikText(2), sorry);
  EXPECT_EQ(Z_Alles::StatistikText(0),
            "Seit dem 15.01.2026 (vor 10,5 Std) wurde das Programm 25 mal gestartet und lief dabei 10 Stunden.\r\n");

  setzen("Skribon", "Stat_StartFirst", "05.01.2026");
  EXPECT_EQ(Z_Alles::StatistikText(2), "3 Starts pro Tag und 1 Stunden pro Tag.");
  EXPECT_EQ(Z_Alles::StatistikText(0),
            "Seit dem 05.01.2026 (vor 10,4 Tg) wurde das Programm 25 mal gestartet und lief dabei 10 Stunden.\r\n\r\n"
            "Das entspricht durchschnittlich 3 Starts pro Tag und 1 Stunden pro Tag.");
  setzen("Skribon", "Stat_UseMinutes", "90");
  EXPECT_EQ(Z_Alles::StatistikText(2), "3 Starts pro Tag und 1 Stunden pro Tag.");
  EXPECT_EQ(Z_Alles::StatistikText(0),
            "Seit dem 05.01.2026 (vor 10,4 Tg) wurde das Programm 25 mal gestartet und lief dabei 10 Stunden "
            "[1,5 Stunden Nutzzeit].\r\n\r\n"
            "Das entspricht durchschnittlich 3 Starts pro Tag und 1 Stunden [9 Minuten Nutzzeit] pro Tag.");
  // A first start in the future or no date at all: no basis, no division.
  setzen("Skribon", "Stat_StartFirst", "20.01.2026");
  EXPECT_EQ(Z_Alles::StatistikText(2), sorry);
  // Nor is there an age: no "vor" at all.
  for (const char* zukunft : {"20.01.2026", "01.01.2099"}) {
    setzen("Skribon", "Stat_StartFirst", zukunft);
    EXPECT_EQ(Z_Alles::StatistikText(0),
              QString("Seit dem ") + zukunft + " wurde das Programm 25 mal gestartet und lief dabei 10 "
              "Stunden [1,5 Stunden Nutzzeit].\r\n");
  }
  setzen("Skribon", "Stat_StartFirst", "irgendwann");
  EXPECT_EQ(Z_Alles::StatistikText(0), sorry);
}

}  // namespace
