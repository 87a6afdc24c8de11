// Settings: file rules, value encoding, defaults, counters, registry and damaged files.
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QThread>

#include "foundation/z_alles.h"
#include "platform/profil.h"
#include "platform/registry.h"
#include "support/fixture.h"

using namespace Z_Alles;

namespace {
// Every test of this program resets what a run remembers besides the globals.
const bool zustandRegistriert = (Testhilfe::RegistriereZuruecksetzen(&ZustandZuruecksetzen), true);
}  // namespace

class Einstellungen : public Testhilfe::SkribonTest {
protected:
  QString dormik() const { return subOrdner + "/Dormik.ini"; }
};

TEST_F(Einstellungen, DateiRegeln) {
  ASSERT_TRUE(zustandRegistriert);
  struct Fall { QString datei; QString pfad; };
  const QString win = WindowsOrdner();
  const Fall faelle[] = {
      {"", subOrdner + "/Dormik.ini"},
      {"Dormik.ini", subOrdner + "/Dormik.ini"},
      {"Dormik", subOrdner + "/Dormik.ini"},
      {"Vesk_Prn.ini", subOrdner + "/Vesk_Prn.ini"},
      {"vesk_prn", subOrdner + "/vesk_prn.ini"},
      {"Win.ini", win + "/Win.ini"},
      {"SYSTEM.INI", win + "/SYSTEM.INI"},
      {"Eigenes", subOrdner + "/Eigenes.ini"},
      {"ab", subOrdner + "/ab.ini"},
      {"Rechner.Dat", subOrdner + "/Rechner.Dat"},          // fourth-last is "."
      {"Notiz.config", subOrdner + "/Notiz.config.ini"},    // fourth-last is "f"
      {datOrdner + "/NetWatch.ini", datOrdner + "/NetWatch.ini"},
      {datOrdner + "/Skribon.inf", datOrdner + "/Skribon.inf"},
      {"C:\\Daten\\Netz\\NetWatch.ini", "C:/Daten/Netz/NetWatch.ini"},
      {"sub\\liste", "sub/liste.ini"},
  };
  for (const Fall& f : faelle) EXPECT_EQ(IniDateiPfad(f.datei), f.pfad) << f.datei.toStdString();
}

TEST_F(Einstellungen, SchreibenUndLesen) {
  struct Fall {
    const char* name;
    QString wert;          // passed to IniSchreiben
    QString gespeichert;   // returned and stored in the file
    QString gelesen;       // what IniLesen gives back
  };
  const Fall faelle[] = {
      {"einfach", "Wert", "Wert", "Wert"},
      {"getrimmt", "  mit Blanks  ", "mit Blanks", "mit Blanks"},
      {"umbruch", "Zeile 1\r\nZeile 2", "Zeile 1**Zeile 2", "Zeile 1\r\nZeile 2"},
      {"lf", "a\nb\rc", "a**b**c", "a\r\nb\r\nc"},
      {"anfuehrung", "Sag \"Hallo\"", "Sag “Hallo“", "Sag \"Hallo\""},
      {"leer", "", "", ""},
      {"umlaut", "Größe ä ß €", "Größe ä ß €", "Größe ä ß €"},
  };
  for (const Fall& f : faelle) {
    EXPECT_EQ(IniSchreiben("", "", f.name, f.wert), f.gespeichert) << f.name;
    EXPECT_EQ(IniLesen("", "", f.name, "?"), f.gelesen) << f.name;
    EXPECT_EQ(IniLesen("", "Skribon", QString(f.name).toUpper(), "?"), f.gelesen) << f.name;
  }
  const QString inhalt = QString::fromUtf8(DateiLesen(dormik()));
  EXPECT_TRUE(inhalt.contains("[Skribon]"));
  EXPECT_TRUE(inhalt.contains("umbruch=Zeile 1**Zeile 2"));
  EXPECT_TRUE(inhalt.contains("lf=a**b**c"));
  // A line break in a value never starts a line of its own in the file.
  EXPECT_FALSE(inhalt.contains("\nb"));
}

TEST_F(Einstellungen, ZeilenumbruchKannKeinenAbschnittEinschleusen) {
  IniSchreiben("", "Allgemein", "Info", "x\n[Allgemein]\nUser=Einbrecher");
  EXPECT_EQ(IniLesen("", "Allgemein", "User", "?"), "?");
  EXPECT_EQ(IniLesen("", "Allgemein", "Info"), "x\r\n[Allgemein]\r\nUser=Einbrecher");
}

TEST_F(Einstellungen, VorgabenLeererSchluesselUndZahlen) {
  EXPECT_EQ(IniLesen("", "", "fehlt", "Vorgabe   "), "Vorgabe");
  EXPECT_EQ(IniLesen("Gibtsnicht", "X", "fehlt", "  v  "), "  v");
  // The default is handed back as given, not decoded.
  EXPECT_EQ(IniLesen("", "", "fehlt", "a**b"), "a**b");
  IniSchreiben("", "", "", "ohne Namen");
  EXPECT_EQ(IniLesen("", "Skribon", "NoKey"), "ohne Namen");
  EXPECT_EQ(IniLesen("", "", ""), "ohne Namen");
  DateiSchreiben(dormik(), "[Skribon]\r\nLeer=\r\n");
  EXPECT_EQ(IniLesen("", "", "Leer", "?"), "");

  struct Zahl { double wert; QString text; };
  for (const Zahl& z : {Zahl{16.5, "16.5"}, Zahl{0.5, "0.5"}, Zahl{42, "42"}, Zahl{-0.25, "-0.25"},
                        Zahl{-3, "-3"}, Zahl{0, "0"}}) {
    EXPECT_EQ(IniSchreiben("", "Zahlen", "z", z.wert), z.text);
    EXPECT_EQ(IniLesen("", "Zahlen", "z"), z.text);
  }
}

TEST_F(Einstellungen, LesenVorgabeUndZaehlen) {
  EXPECT_EQ(IniLesenVorgabe("", "Rechner", "Modus", "Standard"), "Standard");
  EXPECT_EQ(IniLesen("", "Rechner", "Modus"), "Standard");
  IniSchreiben("", "Rechner", "Modus", "Wissenschaft");
  EXPECT_EQ(IniLesenVorgabe("", "Rechner", "Modus", "Standard"), "Wissenschaft");
  IniSchreiben("", "Rechner", "Modus", "");
  EXPECT_EQ(IniLesenVorgabe("", "Rechner", "Modus", "Standard"), "Standard");

  EXPECT_DOUBLE_EQ(IniZaehlen("", "", "Stat_Starts", 1), 1);
  EXPECT_DOUBLE_EQ(IniZaehlen("", "", "Stat_Starts", 1), 2);
  EXPECT_EQ(IniLesen("", "Skribon", "Stat_Starts"), "2");
  // The unrounded sum comes back; the file keeps the whole number.
  EXPECT_DOUBLE_EQ(IniZaehlen("", "", "Stat_Starts", 1.5), 3.5);
  EXPECT_EQ(IniLesen("", "", "Stat_Starts"), "4");
  IniSchreiben("", "", "Zaehler", "12 Stück");
  EXPECT_DOUBLE_EQ(IniZaehlen("", "", "Zaehler", -2), 10);
  IniSchreiben("", "", "Zaehler", "kaputt");
  EXPECT_DOUBLE_EQ(IniZaehlen("", "", "Zaehler", 5), 5);
}

TEST_F(Einstellungen, RegistryUndProgrammOrdner) {
  EXPECT_EQ(RegEinstellungSchreiben("", "Dir", "/opt/skribon"), "/opt/skribon");
  EXPECT_EQ(Plattform::RegistryLesen("SOFTWARE\\Dormiks-Programme\\Dormiks-Skribon", "Dir"), "/opt/skribon");
  RegEinstellungSchreiben("Vesk", "Ver", "3");
  EXPECT_EQ(Plattform::RegistryLesen("SOFTWARE\\Dormiks-Programme\\Vesk", "Ver"), "3");

  DateiSchreiben(dormik(),
                 "[Vesk]\r\nOrdnerPrg=/opt/vesk/\r\nOrdnerDat={AppDir}\\Daten\r\n"
                 "[Alt]\r\nDir={AppDir}\\bin\\\r\nOrdnerPrg=C:\\Alt\r\n"
                 "[Leer]\r\nX=1\r\n");
  EXPECT_EQ(ProgrammOrdner("Vesk", "Prg"), "/opt/vesk");
  EXPECT_EQ(ProgrammOrdner("vesk", "Daten"), "/opt/vesk/Daten");
  EXPECT_EQ(ProgrammOrdner("Alt", "Prg"), "C:/Alt");  // ordnerPrg wins over Dir
  EXPECT_EQ(ProgrammOrdner("Leer", "Prg"), "");
  EXPECT_EQ(ProgrammOrdner("Fehlt", "Prg"), "");
  DateiSchreiben(dormik(), "[Alt]\r\nDir={AppDir}\\bin\\\r\nOrdnerPrg=\r\n[Neu]\r\nDir={appdir}/x\r\nOrdnerPrg=/p\r\n");
  EXPECT_EQ(ProgrammOrdner("Alt", "Prg"), "/bin");
  EXPECT_EQ(ProgrammOrdner("Neu", "Prg"), "/p");
}

TEST_F(Einstellungen, BeschaedigteDateien) {
  // A binary file: defaults come back, a write adds the key and keeps the bytes before it.
  QByteArray binaer;
  for (int i = 0; i < 4096; ++i) binaer += char((i * 37 + 11) % 256);
  DateiSchreiben(dormik(), binaer);
  EXPECT_EQ(IniLesen("", "", "Schluessel", "vorgabe"), "vorgabe");
  IniSchreiben("", "Neu", "A", "1");
  EXPECT_EQ(IniLesen("", "Neu", "A"), "1");

  // Lines without "=" and a 100,000-character value: readable keys stay readable, and a
  // later write leaves every other line byte for byte.
  const QByteArray lang(100000, 'x');
  const QByteArray vorher = "; Kommentar ohne Gleich\r\n[Skribon]\r\nnur Text\r\nLang=" + lang +
                            "\r\nB=zwei\r\n[Andere]\r\nC=drei\r\n";
  DateiSchreiben(dormik(), vorher);
  const QString langGelesen = IniLesen("", "", "Lang");
  EXPECT_LE(langGelesen.size(), 999);
  EXPECT_TRUE(langGelesen.startsWith("xxx"));
  EXPECT_EQ(IniLesen("", "", "nur Text", "?"), "?");
  EXPECT_EQ(IniLesen("", "", "B"), "zwei");
  IniSchreiben("", "Andere", "C", "neu");
  const QByteArray nachher = DateiLesen(dormik());
  EXPECT_TRUE(nachher.startsWith("; Kommentar ohne Gleich\r\n[Skribon]\r\nnur Text\r\nLang=" + lang +
                                 "\r\nB=zwei\r\n[Andere]\r\n"));
  EXPECT_EQ(IniLesen("", "Andere", "C"), "neu");

  // A folder where the file should be: defaults, no crash, the folder stays.
  ASSERT_TRUE(QDir().mkpath(subOrdner + "/Ordner.ini"));
  EXPECT_EQ(IniLesen("Ordner.ini", "A", "B", "v"), "v");
  EXPECT_EQ(IniSchreiben("Ordner.ini", "A", "B", "w"), "w");
  EXPECT_TRUE(QFileInfo(subOrdner + "/Ordner.ini").isDir());
  EXPECT_EQ(IniLesen("Ordner.ini", "A", "B", "v"), "v");
}

TEST_F(Einstellungen, AlteWindowsDatei) {
  // Written by the Windows program: Windows-1252, "“" is 0x93 there.
  DateiSchreiben(dormik(), "[Skribon]\r\nZitat=Er sagte \x93Hallo\x93 f\xfcr**alle\r\n");
  EXPECT_EQ(IniLesen("", "", "Zitat"), "Er sagte \"Hallo\" für\r\nalle");
  IniSchreiben("", "", "Neu", "x");
  EXPECT_TRUE(DateiLesen(dormik()).startsWith("[Skribon]\r\nZitat=Er sagte \x93Hallo\x93 f\xfcr**alle\r\n"));
  EXPECT_EQ(IniLesen("", "", "Zitat"), "Er sagte \"Hallo\" für\r\nalle");
  EXPECT_EQ(IniLesen("", "", "Neu"), "x");
}

TEST_F(Einstellungen, ZweiSchreiberVerlierenNichts) {
  IniSchreiben("", "", "A", "1");
  EXPECT_EQ(IniLesen("", "", "A"), "1");
  // Another copy of the program adds a key behind our back.
  QFile f(dormik());
  ASSERT_TRUE(f.open(QIODevice::Append));
  f.write("B=2\r\n");
  f.close();
  EXPECT_EQ(IniLesen("", "", "B"), "2");
  IniSchreiben("", "", "C", "3");
  EXPECT_EQ(IniLesen("", "", "A"), "1");
  EXPECT_EQ(IniLesen("", "", "B"), "2");
  EXPECT_EQ(IniLesen("", "", "C"), "3");
}

// Runs only as a child of the test below: counts or writes keys into one shared file.
TEST_F(Einstellungen, KindprozessSchreibt) {
  const QString datei = qEnvironmentVariable("SKRIBON_KIND_INI");
  if (datei.isEmpty()) GTEST_SKIP() << "nur als Kindprozess";
  const QString art = qEnvironmentVariable("SKRIBON_KIND_ART");
  const QString nr = qEnvironmentVariable("SKRIBON_KIND_NR");
  // Both start together, so that they really overlap.
  const QDeadlineTimer frist(30000);
  while (!QFileInfo::exists(datei + ".los") && !frist.hasExpired()) QThread::msleep(1);
  ASSERT_TRUE(QFileInfo::exists(datei + ".los")) << "no start signal";
  if (art == "zaehlen") {
    for (int i = 0; i < 1000; ++i) IniZaehlen(datei, "Stat", "Zaehler", 1);
  } else {
    for (int i = 0; i < 200; ++i)
      IniSchreiben(datei, "Schluessel", QString("k%1_%2").arg(nr).arg(i), QString::number(i));
  }
}

TEST_F(Einstellungen, ZweiProzesseVerlierenNichts) {
  struct Fall { const char* art; int anzahl; };
  for (const Fall& fall : {Fall{"zaehlen", 2000}, Fall{"schluessel", 400}}) {
    const QString datei = datOrdner + QString("/geteilt_%1.ini").arg(fall.art);
    IniSchreiben(datei, "Stat", "Vorher", "ja");
    QProcess kinder[2];
    for (int k = 0; k < 2; ++k) {
      auto env = kindUmgebung();
      env.insert("SKRIBON_KIND_INI", datei);
      env.insert("SKRIBON_KIND_ART", fall.art);
      env.insert("SKRIBON_KIND_NR", QString::number(k));
      kinder[k].setProcessEnvironment(env);
      kinder[k].setProcessChannelMode(QProcess::ForwardedErrorChannel);
      kinder[k].start(QCoreApplication::applicationFilePath(),
                      {"--gtest_filter=Einstellungen.KindprozessSchreibt"});
      ASSERT_TRUE(kinder[k].waitForStarted(10000));
    }
    DateiSchreiben(datei + ".los", {});
    for (QProcess& kind : kinder) {
      ASSERT_TRUE(kind.waitForFinished(240000)) << fall.art;
      EXPECT_EQ(kind.exitCode(), 0) << fall.art;
    }
    Plattform::ProfilCacheLeeren();
    if (QString(fall.art) == "zaehlen") {
      EXPECT_EQ(IniLesen(datei, "Stat", "Zaehler"), "2000");
    } else {
      int gefunden = 0;
      for (int k = 0; k < 2; ++k)
        for (int i = 0; i < 200; ++i)
          gefunden += IniLesen(datei, "Schluessel", QString("k%1_%2").arg(k).arg(i)) == QString::number(i);
      EXPECT_EQ(gefunden, fall.anzahl);
      EXPECT_EQ(Plattform::ProfilSchluessel(datei, "Schluessel").size(), fall.anzahl);
    }
    EXPECT_EQ(IniLesen(datei, "Stat", "Vorher"), "ja");
    // Neither lock nor temporaries are left behind.
    EXPECT_EQ(QDir(datOrdner).entryList({QFileInfo(datei).fileName() + "*"}, QDir::Files | QDir::Hidden),
              (QStringList{QFileInfo(datei).fileName(), QFileInfo(datei).fileName() + ".los"}));
  }
}
