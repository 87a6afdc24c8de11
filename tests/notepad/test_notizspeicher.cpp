// The notepad files without a window: open, read, the save road byte for byte, old parameter
// files, and what happens when the disk does not cooperate.
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QThread>

#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "foundation/z_alles.h"
#include "notepad/notizspeicher.h"
#include "notepad/skribondiv.h"
#include "platform/profil.h"
#include "platform/system.h"
#include "platform/textdatei.h"
#include "support/fixture.h"
#include "qstring_ausgabe.h"

namespace {

NotizSchluessel schluessel(const QString& header) {
  NotizSchluessel s;
  s.Header = header;
  s.FontName = "Arial";
  s.FontSize = "10";
  s.FontBold = "0";
  s.FontItalic = "0";
  s.ForeColor = "0";
  s.BackColor = "16777215";
  s.CrsrPos = "0";
  s.Save = "15.01.2026 10:30:00";
  s.Vers = "2026.12.0001";
  s.WordWrap = "1";
  return s;
}
quint64 inode(const QString& pfad) {
  Plattform::DateiStand s;
  Plattform::DateiStandLesen(pfad, &s);
  return s.inode;
}

QString ohneNeueDateien;  // the folder the test's check says takes no new file
bool nimmtNeueDateien(const QString& ordner) { return QDir(ordner) != QDir(ohneNeueDateien); }

// Sets or clears the immutable flag of a folder (root only, where the file system has it).
bool unveraenderlichSetzen(const QString& ordner, bool an) {
  const int fd = ::open(QFile::encodeName(ordner).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  int flags = 0;
  const bool ok = fd >= 0 && ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0 &&
                  (flags = an ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL,
                   ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0);
  if (fd >= 0) ::close(fd);
  return ok;
}
}  // namespace

class NotizSpeicherTest : public Testhilfe::SkribonTest {
protected:
  QString dat(const QString& name) const { return datOrdner + "/" + name; }
  QString ini(const QString& datei, const QString& abschnitt, const QString& schluessel) const {
    return Plattform::ProfilLesen(dat(datei), abschnitt, schluessel, "?");
  }
  NotizSpeicher speicher;
};

TEST_F(NotizSpeicherTest, OeffnenLiestUeberblick) {
  DateiSchreiben(dat("Skribon.inf"),
                 "[Allgemein]\r\nInfo=Mein Block\r\n[Note01]\r\nHeader=Einkauf\r\n"
                 "[note03]\r\nheader=  Ideen  \r\n[Note07]\r\nHeader=Geheim\r\n");
  DateiSchreiben(dat("Skribon.t01"), "Milch\r\nBrot\r\n");
  DateiSchreiben(dat("Skribon.t02"), " ");
  DateiSchreiben(dat("Skribon.t03"), "\r\n  \r\n\t");
  DateiSchreiben(dat("Skribon.t04"), QByteArray(5000, 'x'));
  DateiSchreiben(dat("Skribon.t07"), "..??\x01\x02\x03 verschluesselt");
  speicher.oeffnen("Skribon", 50);

  struct Fall { int nr; QString header; bool leer, geschuetzt; };
  const Fall faelle[] = {
      {1, "Einkauf", false, false}, {2, "", true, false},  {3, "Ideen", true, false},
      {4, "", false, false},        {5, "", true, false},  {7, "Geheim", false, true},
      {50, "", true, false},
  };
  for (const Fall& f : faelle) {
    const auto& u = speicher.ueberblick(f.nr);
    EXPECT_EQ(u.header, f.header) << f.nr;
    EXPECT_EQ(u.leer, f.leer) << f.nr;
    EXPECT_EQ(u.geschuetzt, f.geschuetzt) << f.nr;
  }
  EXPECT_TRUE(speicher.ueberblick(51).leer);  // beyond the slots: nothing, no crash
  EXPECT_EQ(speicher.allgemeinLesen("Info"), "Mein Block");
}

TEST_F(NotizSpeicherTest, LadenUtf8UndWindows1252) {
  DateiSchreiben(dat("Skribon.t01"), "Gr\xfc\xdf" "e \x80 5\r\nZeile 2\r\n");  // Windows-1252
  DateiSchreiben(dat("Skribon.t02"), "\xef\xbb\xbf" "Gr\xc3\xbc\xc3\x9f" "e\rlos\n");  // UTF-8 with BOM
  DateiSchreiben(dat("Skribon.t03"), " ");
  speicher.oeffnen("Skribon", 50);
  NotizSpeicher::Notiz n;
  ASSERT_TRUE(speicher.laden(1, &n));
  EXPECT_EQ(n.text, QString::fromUtf8("Grüße € 5\nZeile 2\n"));
  EXPECT_TRUE(n.vorhanden);
  ASSERT_TRUE(speicher.laden(2, &n));
  EXPECT_EQ(n.text, QString::fromUtf8("Grüße\nlos\n"));
  ASSERT_TRUE(speicher.laden(3, &n));
  EXPECT_EQ(n.text, "");  // the blank an empty note is stored as
  ASSERT_TRUE(speicher.laden(4, &n));
  EXPECT_FALSE(n.vorhanden);
  EXPECT_EQ(n.text, "");

  // The Windows-1252 note saved again: UTF-8 with CR LF.
  ASSERT_TRUE(speicher.sichern(1, QString::fromUtf8("Grüße € 5\nZeile 2\n"), schluessel("")));
  EXPECT_EQ(DateiLesen(dat("Skribon.t01")), QByteArray("Gr\xc3\xbc\xc3\x9f" "e \xe2\x82\xac 5\r\nZeile 2\r\n"));
}

TEST_F(NotizSpeicherTest, SicherungsWegByteGenau) {
  speicher.oeffnen("Skribon", 50);
  struct Fall { const char* name; QString text; QByteArray datei; };
  const Fall faelle[] = {
      {"crlf", "eins\nzwei\n\ndrei", "eins\r\nzwei\r\n\r\ndrei"},
      {"leer", "", " "},
      {"nur Leerraum", "  \n\t\n ", " "},
      {"umlaute", QString::fromUtf8("äöü ß „Zitat“"), "\xc3\xa4\xc3\xb6\xc3\xbc \xc3\x9f \xe2\x80\x9eZitat\xe2\x80\x9c"},
      {"alte cr", "a\rb", "a\r\nb"},
  };
  for (const Fall& f : faelle) {
    QString fehler;
    ASSERT_TRUE(speicher.sichern(5, f.text, schluessel("Kopf"), &fehler)) << f.name << fehler.toStdString();
    EXPECT_EQ(DateiLesen(dat("Skribon.t05")), f.datei) << f.name;
  }
  // The keys of [Note05], in the program's spelling.
  const NotizSchluessel s = schluessel("Kopf");
  for (int i = 0; i < NotizSchluessel::Namen().size(); ++i)
    EXPECT_EQ(ini("Skribon.inf", "Note05", NotizSchluessel::Namen()[i]), s.feld(i)) << i;
  const QByteArray inf = DateiLesen(dat("Skribon.inf"));
  EXPECT_TRUE(inf.contains("[Note05]\r\nHeader=Kopf\r\nFontName=Arial\r\n")) << inf.constData();
  EXPECT_EQ(speicher.ueberblick(5).header, "Kopf");
}

TEST_F(NotizSpeicherTest, SchluesselMitAnfuehrungszeichenBleibenStabil) {
  speicher.oeffnen("Skribon", 50);
  NotizSchluessel s = schluessel(QString::fromUtf8("„Zitat“ und \"mehr\""));
  ASSERT_TRUE(speicher.sichern(2, "x", s));
  EXPECT_EQ(speicher.schluesselLesen(2).Header, "„Zitat\" und \"mehr\"");
  // Saving again with the header as read back is no failure and changes nothing.
  const QByteArray vorher = DateiLesen(dat("Skribon.inf"));
  s.Header = speicher.schluesselLesen(2).Header;
  QString fehler;
  EXPECT_TRUE(speicher.schluesselSichern(2, s, &fehler)) << fehler.toStdString();
  EXPECT_EQ(DateiLesen(dat("Skribon.inf")), vorher);
}

TEST_F(NotizSpeicherTest, Sicherheitskopie) {
  speicher.oeffnen("Skribon", 50);
  const QString bak = tmpOrdner + "/Skribon.bak";
  const QString lang(200, 'L');
  const QString kurz = "kurz";
  // No old file: no copy.
  ASSERT_TRUE(speicher.sichern(1, kurz, schluessel("")));
  EXPECT_FALSE(QFile::exists(bak));
  // Old file under 150 bytes: no copy.
  ASSERT_TRUE(speicher.sichern(1, lang, schluessel("")));
  EXPECT_FALSE(QFile::exists(bak));
  // Old file of 200 bytes replaced by a short text: the copy keeps the long text.
  ASSERT_TRUE(speicher.sichern(1, kurz, schluessel("")));
  EXPECT_EQ(DateiLesen(bak), lang.toUtf8());
  EXPECT_EQ(DateiLesen(dat("Skribon.t01")), "kurz");
  // A long text again: the copy goes.
  ASSERT_TRUE(speicher.sichern(1, lang + "2", schluessel("")));
  ASSERT_TRUE(speicher.sichern(1, lang + "3", schluessel("")));
  EXPECT_FALSE(QFile::exists(bak));
  EXPECT_EQ(speicher.sicherungsDatei(), bak);
}

TEST_F(NotizSpeicherTest, NurGeaenderteSchluesselWerdenGeschrieben) {
  speicher.oeffnen("Skribon", 50);
  ASSERT_TRUE(speicher.sichern(3, "a", schluessel("H")));
  // Someone else edits a key by hand; saving with the same values leaves it alone.
  Plattform::ProfilSchreiben(dat("Skribon.inf"), "Note03", "FontName", "Courier New");
  NotizSchluessel s = speicher.schluesselLesen(3);
  EXPECT_EQ(s.FontName, "Courier New");
  s.CrsrPos = "1";
  ASSERT_TRUE(speicher.sichern(3, "b", s));
  EXPECT_EQ(ini("Skribon.inf", "Note03", "FontName"), "Courier New");
  EXPECT_EQ(ini("Skribon.inf", "Note03", "CrsrPos"), "1");
  ASSERT_TRUE(speicher.positionSichern(3, 7));
  EXPECT_EQ(ini("Skribon.inf", "Note03", "CrsrPos"), "7");
  // The caret alone never creates the other keys of a note never saved.
  ASSERT_TRUE(speicher.positionSichern(9, 4));
  EXPECT_EQ(ini("Skribon.inf", "Note09", "CrsrPos"), "4");
  EXPECT_EQ(ini("Skribon.inf", "Note09", "Header"), "?");
}

TEST_F(NotizSpeicherTest, AlteParameterdateienWerdenUebernommen) {
  DateiSchreiben(dat("Alt.inf"), "[Note02]\r\nHeader=Neuer Kopf\r\n");
  DateiSchreiben(dat("Alt.p01"), "Header=Aus p01\r\nFontName=Courier New\r\nFontsize=12\r\n; Kommentar\r\n\r\nohne Gleich\r\n");
  DateiSchreiben(dat("Alt.p02"), "[Irgendwas]\r\nHeader=Alter Kopf\r\nCrsrPos=17\r\n");
  DateiSchreiben(dat("Alt.p77"), "Header=jenseits der Notizanzahl\r\n");
  speicher.oeffnen("Alt", 50);

  EXPECT_EQ(speicher.uebernommen(), 2);
  EXPECT_EQ(speicher.ueberblick(1).header, "Aus p01");
  EXPECT_EQ(ini("Alt.inf", "Note01", "FontName"), "Courier New");
  EXPECT_EQ(ini("Alt.inf", "Note01", "FontSize"), "12");
  // The .inf is the newer record: its header wins, the rest is taken over.
  EXPECT_EQ(ini("Alt.inf", "Note02", "Header"), "Neuer Kopf");
  EXPECT_EQ(ini("Alt.inf", "Note02", "CrsrPos"), "17");
  // Renamed, not deleted; taken over once.
  EXPECT_FALSE(QFile::exists(dat("Alt.p01")));
  EXPECT_TRUE(QFile::exists(dat("Alt.p01.alt")));
  EXPECT_TRUE(QFile::exists(dat("Alt.p77")));
  DateiSchreiben(dat("Alt.p01"), "Header=Noch einmal\r\n");
  speicher.oeffnen("Alt", 50);
  EXPECT_EQ(speicher.ueberblick(1).header, "Aus p01");
  EXPECT_TRUE(QFile::exists(dat("Alt.p01.alt2")));
}

TEST_F(NotizSpeicherTest, ParameterdateiImNurLeseBetrieb) {
  DateiSchreiben(dat("Alt.p03"), "Header=Nur gelesen\r\n");
  Z_Alles::NurLesen = true;
  speicher.oeffnen("Alt", 50);
  EXPECT_EQ(speicher.ueberblick(3).header, "Nur gelesen");
  EXPECT_TRUE(QFile::exists(dat("Alt.p03")));
  EXPECT_FALSE(QFile::exists(dat("Alt.inf")));
  QString fehler;
  EXPECT_FALSE(speicher.sichern(3, "x", schluessel(""), &fehler));
  EXPECT_FALSE(QFile::exists(dat("Alt.t03")));
}

TEST_F(NotizSpeicherTest, NameOhneRuecksichtAufGrossschreibung) {
  DateiSchreiben(dat("Privat.inf"), "[Note01]\r\nHeader=P\r\n");
  speicher.oeffnen("privat", 50);
  EXPECT_EQ(speicher.name(), "Privat");
  EXPECT_EQ(speicher.ueberblick(1).header, "P");
  // A name with wildcard characters is a name, not a pattern.
  speicher.oeffnen("*", 50);
  EXPECT_EQ(speicher.name(), "*");
  EXPECT_EQ(speicher.ueberblick(1).header, "");
  speicher.oeffnen("Pri?at", 50);
  EXPECT_EQ(speicher.name(), "Pri?at");
}

TEST_F(NotizSpeicherTest, FehlerBeimSichern) {
  struct Fall {
    const char* name;
    std::function<void()> vorbereiten;
    QString imFehler;
  };
  const Fall faelle[] = {
      {"Datei statt Datenordner",
       [&] {
         QDir(datOrdner).removeRecursively();
         DateiSchreiben(datOrdner, "keine Daten");
       },
       "Skribon.t04"},
      {"Datenordner fehlt", [&] { QDir(datOrdner).removeRecursively(); }, "Skribon.t04"},
      {"Ordner statt Notizdatei", [&] { QDir().mkpath(dat("Skribon.t04")); }, "Skribon.t04"},
      {"Ordner statt .inf", [&] { QDir().mkpath(dat("Skribon.inf")); }, "Skribon.inf"},
  };
  for (const Fall& f : faelle) {
    QDir(datOrdner).removeRecursively();
    QFile::remove(datOrdner);
    QDir().mkpath(datOrdner);
    speicher.oeffnen("Skribon", 50);
    f.vorbereiten();
    QString fehler;
    EXPECT_FALSE(speicher.sichern(4, "Text, der bleiben muss", schluessel("K"), &fehler)) << f.name;
    EXPECT_TRUE(fehler.contains(f.imFehler)) << f.name << ": " << fehler.toStdString();
  }
  // A note file that is a folder cannot be read either, and says so.
  QDir(datOrdner).removeRecursively();
  QFile::remove(datOrdner);
  QDir().mkpath(dat("Skribon.t06"));
  speicher.oeffnen("Skribon", 50);
  NotizSpeicher::Notiz n;
  QString fehler;
  EXPECT_FALSE(speicher.laden(6, &n, &fehler));
  EXPECT_TRUE(fehler.contains("Skribon.t06")) << fehler.toStdString();
}

// A shared folder that takes no new file but whose files are writable: text and keys are both
// written in place, each after its safety copy, and a save after typing succeeds. The folder
// says no through the program's own check, a write protection or the immutable flag.
class OrdnerOhneNeueDateien : public NotizSpeicherTest, public testing::WithParamInterface<const char*> {};

TEST_P(OrdnerOhneNeueDateien, WirdAnOrtGeschrieben) {
  const std::string art = GetParam();
  speicher.oeffnen("Skribon", 50);
  ASSERT_TRUE(speicher.sichern(1, "alt", schluessel("Alt")));
  const quint64 text = inode(dat("Skribon.t01")), inf = inode(dat("Skribon.inf"));
  struct Zurueck {
    QString o;
    ~Zurueck() {
      Plattform::SetzeOrdnerSchreibPruefung(nullptr);
      ::chmod(QFile::encodeName(o).constData(), 0755);
      unveraenderlichSetzen(o, false);
    }
  } zurueck{datOrdner};
  ohneNeueDateien = datOrdner;
  // A way the machine does not offer is left out, and the run says so.
  if (art == "Pruefung") {
    Plattform::SetzeOrdnerSchreibPruefung(&nimmtNeueDateien);
  } else if (art == "Schreibschutz") {
    if (::geteuid() == 0) GTEST_SKIP() << "as root a write protection stops nothing";
    if (::chmod(QFile::encodeName(datOrdner), 0555) != 0) GTEST_SKIP() << "chmod failed";
  } else {
    if (::geteuid() != 0) GTEST_SKIP() << "only root may set the immutable flag";
    if (!unveraenderlichSetzen(datOrdner, true)) GTEST_SKIP() << "the file system has no immutable flag";
  }
  QString fehler;
  ASSERT_TRUE(speicher.sichern(1, "neuer Text", schluessel("Neu"), &fehler)) << fehler.toStdString();
  ASSERT_TRUE(speicher.positionSichern(1, 4, &fehler)) << fehler.toStdString();
  speicher.allgemeinSchreiben("NotizNr", "7");
  Plattform::ProfilCacheLeeren();
  EXPECT_EQ(DateiLesen(dat("Skribon.t01")), "neuer Text");
  EXPECT_EQ(ini("Skribon.inf", "Note01", "Header"), "Neu");
  EXPECT_EQ(ini("Skribon.inf", "Note01", "CrsrPos"), "4");
  EXPECT_EQ(ini("Skribon.inf", "Allgemein", "NotizNr"), "7");
  EXPECT_EQ(inode(dat("Skribon.t01")), text);
  EXPECT_EQ(inode(dat("Skribon.inf")), inf);
  EXPECT_EQ(QDir(datOrdner).entryList(QDir::Files | QDir::Hidden, QDir::Name),
            QStringList({"Skribon.inf", "Skribon.t01"}));
  EXPECT_FALSE(QFile::exists(Plattform::CacheTempOrdner() + "/Skribon.inf.bak"));
}

INSTANTIATE_TEST_SUITE_P(Arten, OrdnerOhneNeueDateien, testing::Values("Pruefung", "Schreibschutz", "Unveraenderlich"),
                         [](const testing::TestParamInfo<const char*>& i) { return std::string(i.param); });

namespace {
Plattform::AnOrtSchritt volleSchritt;
int volleSchreibung, schreibung;  // the in-place write of a save that fails: 1 the note, 2 the .inf
int platteVoll(Plattform::AnOrtSchritt s) {
  if (s == Plattform::AnOrtSchritt::Lesen) ++schreibung;
  return s == volleSchritt && schreibung == volleSchreibung ? ENOSPC : 0;
}
}  // namespace

// The disk fills up at any step of an in-place write, of the note (shorter) or of its keys (more):
// that file stays exactly old, and the save fails saying why.
TEST_F(NotizSpeicherTest, VollePlatteBeimSchreibenAnOrt) {
  using S = Plattform::AnOrtSchritt;
  const struct { const char* datei; S schritt; } faelle[] = {
      {"Skribon.t01", S::Ueberschreiben}, {"Skribon.t01", S::Kuerzen}, {"Skribon.t01", S::Synchronisieren},
      {"Skribon.t01", S::Schliessen},     {"Skribon.inf", S::Verlaengern}, {"Skribon.inf", S::Ueberschreiben},
      {"Skribon.inf", S::Synchronisieren}, {"Skribon.inf", S::Schliessen}};
  ohneNeueDateien = datOrdner;
  Plattform::SetzeOrdnerSchreibPruefung(&nimmtNeueDateien);  // both undone by the fixture
  Plattform::SetzeAnOrtHaken(&platteVoll);
  for (const auto& f : faelle) {
    SCOPED_TRACE(f.datei + (" Schritt " + std::to_string(int(f.schritt))));
    DateiSchreiben(dat("Skribon.t01"), "ein alter, langer Text");
    DateiSchreiben(dat("Skribon.inf"), "[Note01]\r\nHeader=Alt\r\n[Note02]\r\nHeader=Zwei\r\n");
    const QByteArray alt = DateiLesen(dat(f.datei));
    speicher.oeffnen("Skribon", 50);
    volleSchritt = f.schritt, schreibung = 0, volleSchreibung = QByteArray(f.datei).endsWith("t01") ? 1 : 2;
    QString fehler;
    EXPECT_FALSE(speicher.sichern(1, "neu", schluessel("Neu"), &fehler));
    EXPECT_EQ(DateiLesen(dat(f.datei)), alt);
    EXPECT_TRUE(fehler.contains(f.datei) && fehler.contains("Kein Speicherplatz")) << fehler.toStdString();
  }
}

// Notepad names up to what a file name holds with ".inf": saved, another program's version and
// the emergency copy kept.
TEST_F(NotizSpeicherTest, LangeNamen) {
  for (const QString& name : {QString(233, u'N'), QString(117, u'ä'), QString(251, u'N'), QString(125, u'ä')}) {
    SCOPED_TRACE(name.size());
    speicher.oeffnen(name, 50);
    QString fehler, andere;
    EXPECT_TRUE(speicher.sichern(1, "erster Text", schluessel("L"), &fehler)) << fehler.toStdString();
    DateiSchreiben(speicher.notizDatei(1), "von anderswo");
    EXPECT_TRUE(speicher.sichern(1, "zweiter", schluessel("L"), &fehler, &andere)) << fehler.toStdString();
    EXPECT_EQ(DateiLesen(andere), "von anderswo");
    EXPECT_EQ(DateiLesen(speicher.notfallKopie(1, "gerettet")), "gerettet");
  }
}

// Two programs on one data folder: whoever saves second keeps the other's text as a copy.
TEST_F(NotizSpeicherTest, ZweiProgrammeEineNotiz) {
  struct Fall {
    const char* name;
    QByteArray vorher;  // note file before both open it ("" = none)
    bool bLaedtNeu;     // B reads the note again after A's save (no conflict then)
  };
  const Fall faelle[] = {{"beide lesen dieselbe Fassung", "alt", false},
                         {"Notiz gab es noch nicht", "", false},
                         {"B liest nach A", "alt", true}};
  for (const Fall& f : faelle) {
    QDir(datOrdner).removeRecursively();
    QDir().mkpath(datOrdner);
    if (!f.vorher.isEmpty()) DateiSchreiben(datOrdner + "/Skribon.t03", f.vorher);
    NotizSpeicher a, b;
    NotizSpeicher::Notiz n;
    a.oeffnen("Skribon", 50);
    b.oeffnen("Skribon", 50);
    ASSERT_TRUE(a.laden(3, &n));
    ASSERT_TRUE(b.laden(3, &n));
    QString andere = "?";
    ASSERT_TRUE(a.sichern(3, "Text von A", schluessel("A"), nullptr, &andere)) << f.name;
    EXPECT_TRUE(andere.isEmpty()) << f.name;
    if (f.bLaedtNeu) {
      ASSERT_TRUE(b.laden(3, &n));
    }
    ASSERT_TRUE(b.sichern(3, "Text von B", schluessel("B"), nullptr, &andere)) << f.name;
    EXPECT_EQ(DateiLesen(datOrdner + "/Skribon.t03"), "Text von B") << f.name;
    const QStringList kopien = QDir(datOrdner).entryList({"Skribon Notiz 03 - andere Fassung vom *.txt"});
    if (f.bLaedtNeu) {
      EXPECT_TRUE(andere.isEmpty()) << f.name;
      EXPECT_TRUE(kopien.isEmpty()) << f.name;
      continue;
    }
    ASSERT_EQ(kopien.size(), 1) << f.name;
    EXPECT_EQ(andere, datOrdner + "/" + kopien[0]) << f.name;
    EXPECT_EQ(kopien[0], "Skribon Notiz 03 - andere Fassung vom 15.01.2026 10.30.00.txt");
    EXPECT_EQ(DateiLesen(andere), "Text von A") << f.name;
    // B's own next save is no conflict; A's is, and a second copy gets a name of its own.
    ASSERT_TRUE(b.sichern(3, "B weiter", schluessel("B"), nullptr, &andere));
    EXPECT_TRUE(andere.isEmpty());
    ASSERT_TRUE(a.sichern(3, "A weiter", schluessel("A"), nullptr, &andere));
    EXPECT_TRUE(andere.endsWith("10.30.00 (2).txt")) << andere.toStdString();
    EXPECT_EQ(DateiLesen(andere), "B weiter");
  }
}

TEST_F(NotizSpeicherTest, NotfallKopie) {
  speicher.oeffnen("Skribon", 50);
  const QString pfad = speicher.notfallKopie(12, "gerettet\nZeile");
  ASSERT_FALSE(pfad.isEmpty());
  // Not the temp or cache folder, which cleaners empty.
  const QString notfall = Z_Alles::NotfallOrdner();
  EXPECT_TRUE(pfad.startsWith(notfall + "/")) << pfad.toStdString();
  EXPECT_FALSE(pfad.startsWith(tmpOrdner)) << pfad.toStdString();
  EXPECT_TRUE(QFileInfo(pfad).fileName().startsWith("Skribon.t12-Notfall-")) << pfad.toStdString();
  EXPECT_EQ(DateiLesen(pfad), "gerettet\r\nZeile");
  // Emergency folder unusable: the home folder takes it.
  QDir(notfall).removeRecursively();
  DateiSchreiben(notfall, "blockiert");
  const QString pfad2 = speicher.notfallKopie(12, "noch einmal");
  EXPECT_TRUE(pfad2.startsWith(home)) << pfad2.toStdString();
}

// ---- A save killed at any moment leaves the old or the new text, never a torn file ---------------

namespace {
QString textA() { return QString(30000, 'A') + "\n" + QString(30000, 'a'); }
QString textB() { return QString(20000, 'B') + "\n" + QString(44000, 'b'); }
}  // namespace

// Runs only as the child of the test below: saves note 1 over and over until it is killed.
TEST_F(NotizSpeicherTest, KindprozessSpeichertEndlos) {
  const QString ziel = qEnvironmentVariable("SKRIBON_KIND_ORDNER");
  if (ziel.isEmpty()) GTEST_SKIP() << "nur als Kindprozess";
  Z_Alles::ordnerDat = ziel;
  Z_Alles::ordnerTmp = ziel + "/tmp";
  speicher.oeffnen("Skribon", 50);
  QElapsedTimer uhr;
  for (long i = 0;; ++i) {
    NotizSchluessel s = schluessel(i % 2 ? "B" : "A");
    s.CrsrPos = i % 2 ? "2" : "1";  // a second key that belongs to the same save
    if (i == 1) uhr.start();
    if (!speicher.sichern(1, (i % 2) ? textB() : textA(), s)) return;
    if (i == 1) {
      // How long a save takes here (the first may wait for a killed one's lock), so the kills
      // spread over several saves on a slow disk too.
      std::printf("bereit %lld\n", qint64(uhr.elapsed()));
      std::fflush(stdout);
    }
  }
}

// Runs only as a child of the test below: saves five notes of its own 40 times each.
TEST_F(NotizSpeicherTest, KindprozessSpeichertNotizen) {
  const QString ziel = qEnvironmentVariable("SKRIBON_KIND_ORDNER");
  if (ziel.isEmpty()) GTEST_SKIP() << "nur als Kindprozess";
  const int erste = qEnvironmentVariableIntValue("SKRIBON_KIND_ERSTE");
  Z_Alles::ordnerDat = ziel;
  Z_Alles::ordnerTmp = ziel + "/tmp" + QString::number(erste);
  speicher.oeffnen("Skribon", 50);
  for (int runde = 0; runde < 40; ++runde)
    for (int nr = erste; nr < erste + 5; ++nr) {
      QString fehler;
      const QString kopf = QString("N%1-R%2").arg(nr).arg(runde);
      ASSERT_TRUE(speicher.sichern(nr, kopf, schluessel(kopf), &fehler)) << fehler.toStdString();
    }
}

// Two programs saving into one notepad at once: no save is reported failed, no key is lost.
TEST_F(NotizSpeicherTest, ZweiProzesseSpeichernInEinenNotizblock) {
  const QString ziel = wurzel + "/geteilt";
  QDir().mkpath(ziel);
  QProcess kinder[2];
  for (int i = 0; i < 2; ++i) {
    auto env = kindUmgebung();
    env.insert("SKRIBON_KIND_ORDNER", ziel);
    env.insert("SKRIBON_KIND_ERSTE", QString::number(1 + 5 * i));
    kinder[i].setProcessEnvironment(env);
    kinder[i].start(QCoreApplication::applicationFilePath(),
                    {"--gtest_filter=NotizSpeicherTest.KindprozessSpeichertNotizen"});
  }
  for (QProcess& k : kinder) {
    ASSERT_TRUE(k.waitForFinished(120000));
    EXPECT_EQ(k.exitCode(), 0) << k.readAllStandardOutput().constData();
  }
  Plattform::ProfilCacheLeeren();
  for (int nr = 1; nr <= 10; ++nr) {
    const QString kopf = QString("N%1-R39").arg(nr);
    EXPECT_EQ(Plattform::ProfilLesen(ziel + "/Skribon.inf", QString("Note%1").arg(nr, 2, 10, QChar('0')),
                                     "Header", "?"),
              kopf);
    EXPECT_EQ(DateiLesen(ziel + QString("/Skribon.t%1").arg(nr, 2, 10, QChar('0'))), kopf.toUtf8());
  }
}

TEST_F(NotizSpeicherTest, AbbruchMittenImSichern) {
  const QByteArray a = textA().replace("\n", "\r\n").toUtf8();
  const QByteArray b = textB().replace("\n", "\r\n").toUtf8();
  const QString ziel = wurzel + "/kind";
  QDir().mkpath(ziel);
  int gefunden[2] = {0, 0};
  for (int runde = 0; runde < 30; ++runde) {
    QProcess kind;
    auto env = kindUmgebung();
    env.insert("SKRIBON_KIND_ORDNER", ziel);
    kind.setProcessEnvironment(env);
    kind.start(QCoreApplication::applicationFilePath(),
               {"--gtest_filter=NotizSpeicherTest.KindprozessSpeichertEndlos"});
    ASSERT_TRUE(kind.waitForStarted(10000));
    QByteArray ausgabe;
    QElapsedTimer uhr;
    uhr.start();
    const QRegularExpression bereit("bereit (\\d+)\n");
    QRegularExpressionMatch treffer;
    while (!(treffer = bereit.match(QString::fromLatin1(ausgabe))).hasMatch() && uhr.elapsed() < 20000) {
      kind.waitForReadyRead(100);
      ausgabe += kind.readAllStandardOutput();
    }
    ASSERT_TRUE(treffer.hasMatch()) << ausgabe.constData();
    const int saveMs = treffer.captured(1).toInt();
    QThread::usleep(QRandomGenerator::global()->bounded(1000 * std::max(20, 3 * saveMs)));
    ::kill(pid_t(kind.processId()), SIGKILL);
    kind.waitForFinished(10000);

    const QByteArray datei = DateiLesen(ziel + "/Skribon.t01");
    ASSERT_TRUE(datei == a || datei == b) << "Runde " << runde << ": " << datei.size() << " Bytes";
    ++gefunden[datei == a ? 0 : 1];
    // The settings file is whole as well, and never holds keys of two saves.
    const QString kopf = Plattform::ProfilLesen(ziel + "/Skribon.inf", "Note01", "Header", "?");
    EXPECT_TRUE(kopf == "A" || kopf == "B") << kopf.toStdString();
    EXPECT_EQ(Plattform::ProfilLesen(ziel + "/Skribon.inf", "Note01", "CrsrPos", "?"), kopf == "A" ? "1" : "2")
        << "Runde " << runde;
    Plattform::ProfilCacheLeeren();
  }
  // Both texts were seen on disk: the kills did land in different saves.
  EXPECT_GT(gefunden[0], 0);
  EXPECT_GT(gefunden[1], 0);
  // Whatever the kills left of a save, the start's clean-up knows it as the program's own.
  Plattform::AlteTemporaereEntfernen(ziel, 0);
  for (const QString& n : QDir(ziel).entryList(QDir::Files | QDir::Hidden))
    EXPECT_TRUE(n == "Skribon.t01" || n == "Skribon.inf" || n.endsWith(".lock") || n.endsWith(".rmlock"))
        << n.toStdString();
}
