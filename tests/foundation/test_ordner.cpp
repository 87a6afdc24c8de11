// Path parts, file lookup and the folder resolution at start.
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <sys/stat.h>
#include <ctime>

#include "foundation/z_alles.h"
#include "platform/system.h"
#include "support/fixture.h"

using namespace Z_Alles;

class Ordner : public Testhilfe::SkribonTest {};

TEST(PfadTeil, AlleModi) {
  struct Fall { QString pfad; QString teile[6]; };  // modes -2, -1, 0, 1, 2, 3
  const Fall faelle[] = {
      {"C:\\Programme\\Skribon\\Skribon.exe",
       {"C:", "C:\\Programme\\Skribon", "C:\\Programme\\Skribon\\", "Skribon", "exe", "Skribon.exe"}},
      {"/home/anna/Daten/Skribon.t01",
       {"", "/home/anna/Daten", "/home/anna/Daten/", "Skribon", "t01", "Skribon.t01"}},
      {"\\\\server\\freigabe\\ordner\\liste.ini",
       {"\\\\server\\freigabe", "\\\\server\\freigabe\\ordner", "\\\\server\\freigabe\\ordner\\", "liste",
        "ini", "liste.ini"}},
      {"//server/freigabe", {"//server/freigabe", "//server", "//server/", "freigabe", "", "freigabe"}},
      {"d:/gemischt\\pfad/archiv.tar.gz",
       {"d:", "d:/gemischt\\pfad", "d:/gemischt\\pfad/", "archiv.tar", "gz", "archiv.tar.gz"}},
      {"Notiz.txt", {"", "", "", "Notiz", "txt", "Notiz.txt"}},
      {"/home/anna/.profil", {"", "/home/anna", "/home/anna/", ".profil", "", ".profil"}},
      {"/ordner/", {"", "/ordner", "/ordner/", "", "", ""}},
      {"/datei", {"", "", "/", "datei", "", "datei"}},
      {"", {"", "", "", "", "", ""}},
  };
  for (const Fall& f : faelle)
    for (int modus = -2; modus <= 3; ++modus)
      EXPECT_EQ(PfadTeil(f.pfad, modus), f.teile[modus + 2]) << f.pfad.toStdString() << " mode " << modus;
  EXPECT_EQ(PfadTeil("/a/b", 9), "");
  EXPECT_EQ(PfadVerbinden("/a/", "/b.txt"), "/a/b.txt");
  EXPECT_EQ(PfadVerbinden("C:\\x\\", "y"), "C:\\x/y");
  EXPECT_EQ(PfadVerbinden("", "y"), "y");
}

TEST_F(Ordner, DateiExistiertUndSuchen) {
  DateiSchreiben(prgOrdner + "/Rechner.Dat", "x");
  DateiSchreiben(datOrdner + "/Beide.txt", "daten");
  DateiSchreiben(prgOrdner + "/Beide.txt", "programm");
  DateiSchreiben(WindowsOrdner() + "/nur_windows.ini", "w");
  DateiSchreiben(home + "/Aktuell.txt", "a");  // the current folder of the test machine

  EXPECT_FALSE(DateiExistiert(""));
  EXPECT_FALSE(DateiExistiert(prgOrdner + "/*.Dat"));
  EXPECT_FALSE(DateiExistiert(prgOrdner + "/Rechner.Da?"));
  EXPECT_FALSE(DateiExistiert(prgOrdner));  // a folder counts as missing
  EXPECT_FALSE(DateiExistiert(prgOrdner + "/fehlt.txt"));
  EXPECT_TRUE(DateiExistiert(prgOrdner + "/Rechner.Dat"));

  EXPECT_EQ(DateiSuchen("Rechner.Dat"), prgOrdner + "/Rechner.Dat");
  EXPECT_EQ(DateiSuchen("RECHNER.DAT"), prgOrdner + "/Rechner.Dat");
  EXPECT_EQ(DateiSuchen("beide.TXT"), datOrdner + "/Beide.txt");
  EXPECT_EQ(DateiSuchen("aktuell.txt"), home + "/Aktuell.txt");
  EXPECT_EQ(DateiSuchen("Nur_Windows.ini"), WindowsOrdner() + "/nur_windows.ini");
  EXPECT_EQ(DateiSuchen("fehlt.txt"), "");
  // A file that appears later is found, in any case, also in a folder listed long ago.
  const struct timespec vorEinerMinute[2] = {{::time(nullptr) - 60, 0}, {::time(nullptr) - 60, 0}};
  ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(datOrdner).constData(), vorEinerMinute, 0), 0);
  EXPECT_EQ(DateiSuchen("spaet.txt"), "");
  DateiSchreiben(datOrdner + "/Spaet.TXT", "x");
  EXPECT_EQ(DateiSuchen("spaet.txt"), datOrdner + "/Spaet.TXT");
  EXPECT_EQ(DateiSuchen(""), "");
  EXPECT_EQ(DateiSuchen(prgOrdner + "/Rechner.Dat"), prgOrdner + "/Rechner.Dat");
  EXPECT_TRUE(WindowsOrdner().startsWith(subOrdner));
  EXPECT_TRUE(SystemOrdner().startsWith(WindowsOrdner()));
}

TEST_F(Ordner, DatenordnerAusBefehlszeile) {
  const QString ziel = wurzel + "/vom Aufruf/Daten";
  OrdnerInit({"Datei=Arbeit", "/ordnerdat=" + ziel + "/", "#debug"});
  EXPECT_EQ(ordnerDat, ziel);
  EXPECT_EQ(ordnerDatPara, ziel + "/");
  EXPECT_EQ(ordnerDatHerkunft, "Befehlszeile");
  EXPECT_TRUE(QFileInfo(ziel).isDir());
  EXPECT_EQ(ordnerCfg, ziel);
  EXPECT_EQ(DebugDatei, ziel + "/Debug.txt");
  EXPECT_EQ(ordnerSub, subOrdner);
  EXPECT_EQ(ordnerPrg, Plattform::ProgrammOrdnerPfad());
  EXPECT_EQ(IniLesen("", "Skribon", "OrdnerPrg"), ordnerPrg);
  EXPECT_EQ(IniLesen("", "Skribon", "OrdnerDat#"), ziel);
  // The setting is not touched by a command-line folder.
  EXPECT_EQ(IniLesen("", "Skribon", "OrdnerDat", "?"), "?");
}

TEST_F(Ordner, DatenordnerAusEinstellung) {
  IniSchreiben("", "Skribon", "OrdnerDat", wurzel + "/gespeichert\\Notizen\\");
  OrdnerInit({});
  EXPECT_EQ(ordnerDat, wurzel + "/gespeichert/Notizen");
  EXPECT_EQ(ordnerDatPara, "");
  EXPECT_EQ(ordnerDatHerkunft, "Einstellung OrdnerDat");
  EXPECT_TRUE(QFileInfo(ordnerDat).isDir());
}

TEST_F(Ordner, DatenordnerVorgabeUndAppDir) {
  const QString vorgabe = Plattform::ProgrammOrdnerPfad() + "/Daten";
  const bool gabEs = QFileInfo::exists(vorgabe);
  OrdnerInit({});
  EXPECT_EQ(ordnerDatHerkunft, "Vorgabe");
  EXPECT_EQ(ordnerDat, vorgabe);
  IniSchreiben("", "Skribon", "OrdnerDat", "{appdir}\\Daten");
  OrdnerInit({});
  EXPECT_EQ(ordnerDat, vorgabe);
  EXPECT_EQ(ordnerDatHerkunft, "Einstellung OrdnerDat");
  if (!gabEs) QDir(vorgabe).removeRecursively();
}

TEST_F(Ordner, DatenordnerNichtAnlegbar) {
  // CI runs as root, so a file stands where the folder should be.
  DateiSchreiben(wurzel + "/blockiert", "Datei statt Ordner");
  IniSchreiben("", "Skribon", "OrdnerDat", wurzel + "/blockiert/Daten");
  OrdnerInit({});
  const QString ersatz = home + "/.local/share/Dormiks-Programme/Daten";
  EXPECT_EQ(ordnerDat, ersatz);
  EXPECT_TRUE(QFileInfo(ersatz).isDir());
  EXPECT_TRUE(ordnerDatHerkunft.startsWith("Einstellung OrdnerDat"));
  EXPECT_TRUE(ordnerDatHerkunft.contains("ließ sich nicht anlegen")) << ordnerDatHerkunft.toStdString();
  EXPECT_EQ(IniLesen("", "Skribon", "OrdnerDat"), wurzel + "/blockiert/Daten");  // setting kept
  EXPECT_EQ(DateiLesen(wurzel + "/blockiert"), "Datei statt Ordner");
}

TEST_F(Ordner, TempOrdnerReihenfolge) {
  IniSchreiben("", "Skribon", "OrdnerDat", wurzel + "/d");
  const QString cache = home + "/.cache/Dormiks-Programme/Temp";
  QDir(cache).removeRecursively();
  OrdnerInit({});
  EXPECT_EQ(ordnerTmp, cache);
  const auto rechte = QFileInfo(cache).permissions();
  EXPECT_TRUE(rechte.testFlags(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
  EXPECT_EQ(int(rechte & 0x00FF), 0);  // nothing for group and others

  // A world-writable Tmp (like /tmp) is not used: the safety copies have predictable names.
  const QString offen = wurzel + "/offen";
  QDir().mkpath(offen);
  QFile::setPermissions(offen, QFileDevice::Permissions(0x7777));
  system.env["TMP"] = offen;
  OrdnerInit({});
  EXPECT_EQ(ordnerTmp, cache);

  system.env["Temp"] = wurzel + "/umgebung\\";
  QDir().mkpath(wurzel + "/umgebung");
  OrdnerInit({});
  EXPECT_EQ(ordnerTmp, wurzel + "/umgebung");

  system.env["TMP"] = wurzel + "/fehlt";  // missing folder: the next choice
  OrdnerInit({});
  EXPECT_EQ(ordnerTmp, wurzel + "/umgebung");

  IniSchreiben("", "Verknüpfung", "TmpSrv", wurzel + "\\server\\tmp\\");
  OrdnerInit({});
  EXPECT_EQ(ordnerTmp, wurzel + "/server/tmp");
  EXPECT_TRUE(QFileInfo(ordnerTmp).isDir());

  DateiSchreiben(wurzel + "/keinordner", "x");
  IniSchreiben("", "Verknüpfung", "TmpSrv", wurzel + "/keinordner");
  OrdnerInit({});
  EXPECT_EQ(ordnerTmp, wurzel + "/umgebung");
}
