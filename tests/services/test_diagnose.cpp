// The diagnostics report: its sections and lines in order, the write tests, the component
// lines with their remarks, the file description, the developer machines.
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSysInfo>

#include "foundation/z_alles.h"
#include "notepad/skribondiv.h"
#include "services/diagnose.h"
#include "services/version.h"
#include "dienste_test.h"

namespace {

using Testhilfe::DiensteTest;

// Labels the lines of the report begin with, in order ("" = an empty line).
QStringList anfaenge(const QString& bericht) {
  QStringList a;
  for (const QString& z : bericht.split("\r\n")) {
    static const QRegularExpression label("^([^:']*[:']|\\*\\*\\* .* \\*\\*\\*)");
    const auto m = label.match(z);
    a << (m.hasMatch() ? m.captured(1) : z.left(15));
  }
  return a;
}

TEST_F(DiensteTest, BerichtAbschnitte) {
  setzen("Allgemein", "User", "Erika Muster");
  setzen("Skribon", "Stat_StartFirst", "01.01.2026");
  setzen("Skribon", "Stat_Starts", "1234");
  setzen("Skribon", "Stat_RunMinutes", "600");
  SkribonDiv::Befehlszeile = {"readonly", "Datei=X"};
  const QStringList vorher = QDir(prgOrdner).entryList(QDir::Files);

  struct Fall { QString para; bool iniSchreibbar; };
  for (const Fall& f : {Fall{"", true}, Fall{"/mnt/daten", false}}) {
    SCOPED_TRACE(f.para.toStdString());
    Z_Alles::ordnerDatPara = f.para;
    if (!f.iniSchreibbar) {
      QFile::remove(ini());
      QDir().mkpath(ini());  // a folder where the settings file should be
    }
    Plattform::ProfilCacheLeeren();
    const QString r = Z_Alles::DiagnoseBericht();
    EXPECT_TRUE(r.startsWith("\r\nProgramm: Skribon | "));
    EXPECT_FALSE(r.endsWith("\r\n"));

    QStringList erwartet = {"", "Programm:", "Version:", "User:", "Windows:", "", "*** Ordner-Übersicht ***",
                            "Aktuell    '", "Programm   '", "Daten.Sub  '", "Daten      '"};
    if (!f.para.isEmpty()) erwartet << "Daten.Para '";
    erwartet << "Konfig     '" << "Temporär   '" << "Windows    '" << "System     '" << "Command$   '"
             << "" << "*** Datei-Übersicht ***" << "Dormik.ini   '" << "Vesk_Prn.ini '" << ""
             << "*** Kontrollen ***" << "Check-Num    :";
    // Font and screen lines need a printer and a screen; the offscreen test has a screen only.
    QStringList rest = anfaenge(r).mid(erwartet.size());
    while (!rest.isEmpty() && rest.first().startsWith("Check-") && !rest.first().startsWith("Check-Zeit"))
      rest.removeFirst();
    EXPECT_EQ(anfaenge(r).mid(0, erwartet.size()), erwartet);
    const QStringList schluss = {"Check-Zeit   :", "Check-Wrt.prg:", "Check-Wrt.ini:", "Check-Wrt.dat:",
                                 "Check-Wrt.tmp:", "Readonly     :", "Sys UpTime   :", "Stat         :", "",
                                 "*** Module (DLLs, OCXs) Übersicht ***"};
    EXPECT_EQ(rest.mid(0, schluss.size()), schluss);
    // The loaded Qt and C++ runtime follow, at least Qt's core and the C++ library.
    EXPECT_TRUE(r.contains(QRegularExpression("\r\nlibQt6Core\\.so\\.6\t\\d\\d\\.\\d\\d\\.\\d{4} .* Version " QT_VERSION_STR "(\r|$)")));
    EXPECT_TRUE(r.contains(QRegularExpression("\r\nlibstdc\\+\\+\\.so\\.6.\t.* Version 6\\.")));

    EXPECT_TRUE(r.contains("\r\nCheck-Num    : 3333,33333333333 IsNum=true | 3.333,3 IsNum=true\r\n"));
    EXPECT_TRUE(r.contains("\r\nCheck-Zeit   : formatiert='15.01.2026 10:30:00 Donnerstag' | "
                           "unformatiert='15.01.2026 10:30:00' | IsDate=true\r\n"));
    EXPECT_TRUE(r.contains("\r\nCheck-Wrt.prg: " + prgOrdner + " | write=true\r\n"));
    EXPECT_TRUE(r.contains("\r\nCheck-Wrt.dat: " + datOrdner + " | write=true\r\n"));
    EXPECT_TRUE(r.contains("\r\nCheck-Wrt.ini: " + subOrdner + "/Dormik.ini | write=" +
                           (f.iniSchreibbar ? "true" : "false !") + "\r\n"));
    EXPECT_TRUE(r.contains("\r\nReadonly     : false\r\n"));
    EXPECT_TRUE(r.contains("\r\nCommand$   'readonly Datei=X'\r\n"));
    if (f.iniSchreibbar) {
      EXPECT_TRUE(r.contains("\r\nUser: 'Erika Muster' | GUID: '{"));
      EXPECT_TRUE(r.contains("\r\nStat         : 01.01.2026 · 1.234x · 10h\r\n"));
    }
    if (!f.para.isEmpty()) {
      EXPECT_TRUE(r.contains("\r\nDaten.Para '/mnt/daten' ; [ordnerDat] per Parameter gesetzt\r\n"));
    }
  }
  EXPECT_EQ(QDir(prgOrdner).entryList(QDir::Files), vorher) << "the write tests leave nothing behind";
}

TEST_F(DiensteTest, Komponentenzeilen) {
  // Library files: ELF with a version in the name, ELF without one, not ELF at all.
  const QByteArray elf = QByteArray("\x7f" "ELF") + QByteArray(60, 'x');  // 64 bytes
  const QString o = wurzel + "/lib";
  DateiSchreiben(o + "/libeins.so.6.01.97822", elf);
  DateiSchreiben(o + "/libohne.so", elf);
  DateiSchreiben(o + "/libtext.so.1", "kein ELF");
  QFile::link(o + "/libeins.so.6.01.97822", o + "/libeins.so.6");
  struct Fall { QString datei; qint64 groesse; QString version; QString ende; };
  const Fall faelle[] = {
      {"libeins.so.6", 64, "6.01.97822", "   Version 6.01.97822"},
      {"libeins.so.6", 64, "6.01.9782", "   Version 6.01.97822     (soll=6.01.9782 >!)"},
      {"libeins.so.6", 64, "6.01.98", "   Version 6.01.97822     (soll=6.01.98 <!!!)"},
      {"libeins.so.6", 100, "6.01.97822", "   Version 6.01.97822     (soll=100 <!!!)"},
      {"libeins.so.6", 10, "7", "   Version 6.01.97822     (soll=10 >!) (soll=7 <!!!)"},
      {"libeins.so.6", -1, QString(), "   Version 6.01.97822"},  // nothing expected
      // "?" (no version information) sorts above digits, "" (none in it) below.
      {"libtext.so.1", 8, "1.0", "   Version ?     (soll=1.0 >!)"},
      {"libohne.so", 64, "1.0", "   Version ?     (soll=1.0 <!!!)"},
  };
  for (const Fall& f : faelle) {
    const QString z = Z_Alles::KomponentenZeile({o + "/" + f.datei, f.groesse, f.version});
    EXPECT_TRUE(z.startsWith(f.datei.leftJustified(15) + "\t")) << z.toStdString();
    EXPECT_TRUE(z.endsWith(f.ende)) << z.toStdString();
    EXPECT_TRUE(z.contains(QString("   %1 Bytes   ").arg(QFileInfo(o + "/" + f.datei).size(), 7))) << z.toStdString();
  }
  EXPECT_EQ(Z_Alles::KomponentenZeile({o + "/Sevlist32.ocx.fehlt", 62976, "1.00"}),
            "Sevlist32.ocx.f\t     ? nicht gefunden !");
  EXPECT_EQ(Z_Alles::DateiVersion(o + "/libeins.so.6"), "6.01.97822");
  EXPECT_EQ(Z_Alles::DateiVersion(o + "/libohne.so"), "");
  EXPECT_EQ(Z_Alles::DateiVersion(o + "/libtext.so.1"), "?");
  EXPECT_EQ(Z_Alles::DateiVersion(o + "/fehlt"), "?");
}

TEST_F(DiensteTest, DateiInfoUndRechner) {
  DateiSchreiben(prgOrdner + "/sehr_langer_name.ini", QByteArray(1500, 'x'));
  const QString lang = Z_Alles::DateiInfo("", prgOrdner + "/sehr_langer_name.ini", false);
  EXPECT_TRUE(lang.startsWith("sehr_langer_ '" + prgOrdner + "/sehr_langer_name.ini' | exist=true | 1.500 Bytes | "))
      << lang.toStdString();
  EXPECT_EQ(Z_Alles::DateiInfo("", prgOrdner + "/a.ini", false), "a.ini        '" + prgOrdner + "/a.ini' | exist=false !");
  EXPECT_EQ(Z_Alles::DateiInfo("Versionsprüfung: Job", "/x/j", false), "Versionsprüfung: Job '/x/j' | exist=false !");
  Z_Alles::DebugModus = 1;
  Z_Alles::DateiInfo("  Lokal  ", "/x/j", true);
  EXPECT_TRUE(QString::fromUtf8(DateiLesen(Z_Alles::DebugDatei)).contains("| Lokal '/x/j' | exist=false !"));

  EXPECT_FALSE(Z_Alles::IstEntwicklerPC());
  setzen("Allgemein", "UserGUID", "{6B1E3F0A-52C4-4D8E-9A17-3C5F0E2B7D41}");
  EXPECT_TRUE(Z_Alles::IstEntwicklerPC());
  setzen("Allgemein", "UserGUID", "{6b1e3f0a-52c4-4d8e-9a17-3c5f0e2b7d41}");
  EXPECT_FALSE(Z_Alles::IstEntwicklerPC()) << "character for character";

  const QString os = Z_Alles::WindowsVersion();
  EXPECT_TRUE(os.contains(QSysInfo::kernelVersion())) << os.toStdString();
}

}  // namespace
