#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSysInfo>
#include <QThread>
#include <functional>
#include <gtest/gtest.h>

#include <atomic>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/syscall.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/profil.h"
#include "platform/textdatei.h"
#include "support/fixture.h"

using namespace Plattform;

namespace {

QByteArray B(const char* s, qsizetype n = -1) { return n < 0 ? QByteArray(s) : QByteArray(s, n); }
std::string zeigen(const QByteArray& b) {
  QByteArray t = b;
  t.replace("\r", "\\r").replace("\n", "\\n");
  return t.toStdString();
}

quint64 inode(const QString& pfad) {
  DateiStand s;
  DateiStandLesen(pfad, &s);
  return s.inode;
}

// Sets the modification time to an exact value (nanoseconds since the epoch).
void mzeitSetzen(const QString& pfad, qint64 ns) {
  struct timespec t[2];
  t[0].tv_sec = 0;
  t[0].tv_nsec = UTIME_OMIT;
  t[1].tv_sec = ns / 1000000000;
  t[1].tv_nsec = ns % 1000000000;
  ASSERT_EQ(utimensat(AT_FDCWD, QFile::encodeName(pfad).constData(), t, 0), 0);
}

// The lock waits' clock: it moves only by the pauses taken.
qint64 sperrUhrUs = 0;
qint64 sperrUhrMs() { return sperrUhrUs / 1000; }
void sperrPause(int us) { sperrUhrUs += us; }

// A lock file of this machine (pid, program, host, host id, boot id) for a running or dead pid.
QByteArray sperrInhalt(bool lebt) {
  pid_t pid = getpid();
  if (!lebt && (pid = fork()) == 0) _exit(0);
  if (!lebt) waitpid(pid, nullptr, 0);
  return QByteArray::number(pid) + '\n' +
         QFileInfo(QCoreApplication::applicationFilePath()).fileName().toUtf8() + '\n' +
         QSysInfo::machineHostName().toUtf8() + '\n' + QSysInfo::machineUniqueId() + '\n' +
         QSysInfo::bootUniqueId() + '\n';
}

}  // namespace

class ProfilTest : public Testhilfe::SkribonTest {
protected:
  QString ini(const QString& name) const { return wurzel + "/" + name; }
};

TEST_F(ProfilTest, LesenWieDasSystem) {
  const QString f = ini("lesen.ini");
  DateiSchreiben(f,
                 "vor=ohne Abschnitt\r\n"
                 "; Kommentar\r\n"
                 "[Allgemein]\r\n"
                 "User = Hans M\xC3\xBCller   \r\n"
                 "leer=\r\n"
                 "  eingerueckt  =  wert mit   blanks \t\r\n"
                 "doppelt=erster\r\n"
                 "DOPPELT=zweiter\r\n"
                 "ohneGleich\r\n"
                 "gleich=a=b\r\n"
                 "tabs=\t\tx\t\r\n"
                 "nurBlanks=   \r\n"
                 ";notiz=kommentar\r\n"
                 "[allgemein]\r\n"
                 "spaeter=unsichtbar\r\n"
                 "[\xC3\x84pfel]\r\n"
                 "Gr\xC3\xB6\xC3\x9F" "e=gro\xC3\x9F\n"
                 "[ Innen ]\r\n"
                 "x=1\r\n"
                 "[Kaputt\r\n"
                 "y=2");
  struct Fall { const char* abschnitt; const char* schluessel; const char* vorgabe; const char* wert; bool gefunden; };
  const Fall faelle[] = {
      {"Allgemein", "User", "?", "Hans Müller", true},
      {"ALLGEMEIN", "user", "?", "Hans Müller", true},
      {" Allgemein\t", " User ", "?", "Hans Müller", true},
      {"Allgemein", "leer", "?", "", true},
      {"Allgemein", "fehlt", "Vorgabe  ", "Vorgabe  ", false},  // the default as passed
      {"Allgemein", "eingerueckt", "?", "wert mit   blanks", true},
      {"Allgemein", "doppelt", "?", "erster", true},
      {"Allgemein", "ohneGleich", "?", "?", false},
      {"Allgemein", "gleich", "?", "a=b", true},
      {"Allgemein", "tabs", "?", "x", true},
      {"Allgemein", "nurBlanks", "?", "", true},
      {"Allgemein", ";notiz", "?", "kommentar", true},
      {"Allgemein", "spaeter", "?", "?", false},  // only the first section of a name counts
      {"Allgemein", "vor", "?", "?", false},      // before the first section: no section
      {"äPFEL", "GRÖßE", "?", "groß", true},
      {"Innen", "x", "?", "1", true},
      {"Innen", "y", "?", "2", true},  // "[Kaputt" without "]" is no header
      {"Kaputt", "y", "?", "?", false},
      {"Fehlt", "x", "d", "d", false},
      {"", "vor", "?", "?", false},
      {"Allgemein", "", "?", "?", false},
  };
  for (const auto& c : faelle) {
    bool gefunden = !c.gefunden;
    EXPECT_EQ(ProfilLesen(f, QString::fromUtf8(c.abschnitt), QString::fromUtf8(c.schluessel),
                          QString::fromUtf8(c.vorgabe), &gefunden),
              QString::fromUtf8(c.wert))
        << c.abschnitt << " / " << c.schluessel;
    EXPECT_EQ(gefunden, c.gefunden) << c.abschnitt << " / " << c.schluessel;
  }
  EXPECT_EQ(ProfilAbschnitte(f), (QStringList{"Allgemein", u"Äpfel"_qs, "Innen"}));
  EXPECT_EQ(ProfilSchluessel(f, "ALLGEMEIN"),
            (QStringList{"User", "leer", "eingerueckt", "doppelt", "gleich", "tabs", "nurBlanks"}));
  EXPECT_EQ(ProfilSchluessel(f, "Innen"), (QStringList{"x", "y"}));
  EXPECT_EQ(ProfilSchluessel(f, "Fehlt"), QStringList());
  EXPECT_EQ(ProfilAbschnitte(ini("fehlt.ini")), QStringList());
}

TEST_F(ProfilTest, SchreibenLaesstJedeAndereZeileByteFuerByte) {
  // A Windows-1252 file with mixed line ends and no line end at the very end.
  const QString f = ini("alt.ini");
  DateiSchreiben(f, "\xE4rger=\x93zitat\x94\n[Allgemein]\r\nA=1\rB=\xFC\n\n[Zwei]\r\nC=3");
  const QByteArray kopf = "\xE4rger=\x93zitat\x94\n[Allgemein]\r\n";
  struct Schritt { const char* abschnitt; const char* schluessel; const char* wert; QByteArray danach; };
  const Schritt schritte[] = {
      {"allgemein", "a", "neu", kopf + "A=neu\r\nB=\xFC\n\n[Zwei]\r\nC=3"},
      {"Allgemein", "Neu", "Müller“", kopf + "A=neu\r\nB=\xFC\nNeu=M\xFCller\x93\r\n\n[Zwei]\r\nC=3"},
      {"ZWEI", "D", "4", kopf + "A=neu\r\nB=\xFC\nNeu=M\xFCller\x93\r\n\n[Zwei]\r\nC=3\r\nD=4\r\n"},
      {"Drei", "k", "€", kopf + "A=neu\r\nB=\xFC\nNeu=M\xFCller\x93\r\n\n[Zwei]\r\nC=3\r\nD=4\r\n"
                               "\r\n[Drei]\r\nk=\x80\r\n"},
      // Not in the code page: this one line in UTF-8, every other line as it was.
      {"Drei", "k", "漢", kopf + "A=neu\r\nB=\xFC\nNeu=M\xFCller\x93\r\n\n[Zwei]\r\nC=3\r\nD=4\r\n"
                         "\r\n[Drei]\r\nk=\xE6\xBC\xA2\r\n"},
      // The file now holds UTF-8: new lines in UTF-8.
      {"Allgemein", "B", "ö", kopf + "A=neu\r\nB=\xC3\xB6\r\nNeu=M\xFCller\x93\r\n\n[Zwei]\r\nC=3\r\n"
                              "D=4\r\n\r\n[Drei]\r\nk=\xE6\xBC\xA2\r\n"},
  };
  for (const auto& s : schritte) {
    ASSERT_TRUE(ProfilSchreiben(f, QString::fromUtf8(s.abschnitt), QString::fromUtf8(s.schluessel),
                                QString::fromUtf8(s.wert)));
    EXPECT_EQ(zeigen(DateiLesen(f)), zeigen(s.danach)) << s.schluessel;
    EXPECT_EQ(ProfilLesen(f, QString::fromUtf8(s.abschnitt), QString::fromUtf8(s.schluessel), "?"),
              QString::fromUtf8(s.wert));
  }
  EXPECT_EQ(ProfilLesen(f, "Allgemein", "Neu", "?"), u"Müller“"_qs);
  EXPECT_EQ(ProfilLesen(f, "Zwei", "C", "?"), "3");
  EXPECT_EQ(ProfilLesen(f, u"Ärger"_qs, "x", "?"), "?");
  EXPECT_EQ(ProfilAbschnitte(f), (QStringList{"Allgemein", "Zwei", "Drei"}));
}

// Every line reads on its own (valid UTF-8 as UTF-8, stray bytes as Windows-1252, a U+FEFF
// inside the file as a character): writing or deleting one line never changes another.
TEST_F(ProfilTest, JedeZeileWirdFuerSichGelesen) {
  struct Wert { QString abschnitt, schluessel, wert; };
  struct Fall {
    const char* name;
    QByteArray vorher;
    QList<Wert> werte;     // as read before and after every change
    QList<Wert> schreiben;
    QByteArray nachher;
  };
  const QString feff(QChar(0xFEFF));
  const Fall faelle[] = {
      {"utf8", "[A]\r\nk=Gr\xC3\xBC\xC3\x9F" "e\r\nz=1\r\n", {{"A", "k", u"Grüße"_qs}, {"A", "z", "1"}},
       {{"A", "neu", u"ä"_qs}}, "[A]\r\nk=Gr\xC3\xBC\xC3\x9F" "e\r\nz=1\r\nneu=\xC3\xA4\r\n"},
      {"cp1252", "[A]\r\nk=Gr\xFC\xDF" "e\r\nz=1\r\n", {{"A", "k", u"Grüße"_qs}, {"A", "z", "1"}},
       {{"A", "neu", u"ä"_qs}, {"A", "z", u"Ã¼"_qs}},  // would read back as "ü" in 1252
       "[A]\r\nk=Gr\xFC\xDF" "e\r\nz=\xC3\x83\xC2\xBC\r\nneu=\xE4\r\n"},
      {"gemischt", "[A]\r\nk=Gr\xC3\xBC\xC3\x9F" "e\r\nz=\x96 1\r\n",
       {{"A", "k", u"Grüße"_qs}, {"A", "z", u"– 1"_qs}},
       {{"A", "neu", u"ä"_qs}}, "[A]\r\nk=Gr\xC3\xBC\xC3\x9F" "e\r\nz=\x96 1\r\nneu=\xC3\xA4\r\n"},
      {"feff", "[A]\r\n\xEF\xBB\xBFk=1\r\nk=2\r\n[\xEF\xBB\xBF" "B]\r\nx=\xE4\r\n",
       {{"A", feff + "k", "1"}, {"A", "k", "2"}, {feff + "B", "x", u"ä"_qs}},
       {{"A", feff + "k", "neu"}, {feff + "b", "x", "4"}, {"A", feff + "k", "neu"}},
       "[A]\r\n\xEF\xBB\xBFk=neu\r\nk=2\r\n[\xEF\xBB\xBF" "B]\r\nx=4\r\n"},
      {"bom", "\xEF\xBB\xBF[A]\r\nk=1\r\n", {{"A", "k", "1"}}, {{"A", "k", "2"}},
       "\xEF\xBB\xBF[A]\r\nk=2\r\n"},
  };
  for (const auto& c : faelle) {
    const QString f = ini(QString("z_%1.ini").arg(c.name));
    auto alleLesen = [&](const QList<Wert>& werte, int ohne) {
      for (int i = 0; i < werte.size(); ++i) {
        bool gefunden = false;
        const QString w = ProfilLesen(f, werte[i].abschnitt, werte[i].schluessel, "?", &gefunden);
        EXPECT_EQ(w, i == ohne ? "?" : werte[i].wert) << c.name << " " << i;
        EXPECT_EQ(gefunden, i != ohne) << c.name << " " << i;
      }
    };
    DateiSchreiben(f, c.vorher);
    alleLesen(c.werte, -1);
    EXPECT_EQ(ProfilLesen(f, "B", "x", "?"), "?") << c.name;  // a U+FEFF is part of the name
    for (const Wert& w : c.schreiben) {
      ASSERT_TRUE(ProfilSchreiben(f, w.abschnitt, w.schluessel, w.wert)) << c.name;
      EXPECT_EQ(ProfilLesen(f, w.abschnitt, w.schluessel, "?"), w.wert) << c.name;
    }
    EXPECT_EQ(zeigen(DateiLesen(f)), zeigen(c.nachher)) << c.name;
    // Deleting any one line leaves how the others read.
    for (int i = 0; i < c.werte.size(); ++i) {
      DateiSchreiben(f, c.vorher);
      ASSERT_TRUE(ProfilLoeschen(f, c.werte[i].abschnitt, c.werte[i].schluessel));
      alleLesen(c.werte, i);
    }
  }
}

TEST_F(ProfilTest, NeueDateienUndAbschnitte) {
  struct Fall { QByteArray vorher; bool gibtEs; const char* abschnitt; QByteArray nachher; };
  const Fall faelle[] = {
      {{}, false, "S", "[S]\r\nk=v\r\n"},
      {"", true, "S", "[S]\r\nk=v\r\n"},
      {"[A]\r\nx=1", true, "B", "[A]\r\nx=1\r\n\r\n[B]\r\nk=v\r\n"},
      {"[A]\r\nx=1\r\n", true, "B", "[A]\r\nx=1\r\n\r\n[B]\r\nk=v\r\n"},
      {"[A]\r\nx=1\r\n\r\n", true, "B", "[A]\r\nx=1\r\n\r\n[B]\r\nk=v\r\n"},
      {"[A]\nx=1\n", true, "B", "[A]\nx=1\n\r\n[B]\r\nk=v\r\n"},
      {"[A]", true, "a", "[A]\r\nk=v\r\n"},
      {"[A]\r\n\r\n\r\n[B]\r\n", true, "A", "[A]\r\nk=v\r\n\r\n\r\n[B]\r\n"},
      {"[A]\r\nx=1\r\n  \r\n[B]\r\n", true, "A", "[A]\r\nx=1\r\nk=v\r\n  \r\n[B]\r\n"},
      {"[A]\r\nx=1\r\nrest ohne gleich\r\n", true, "A", "[A]\r\nx=1\r\nrest ohne gleich\r\nk=v\r\n"},
      {"\xEF\xBB\xBF[A]\nx=1\n", true, "a", "\xEF\xBB\xBF[A]\nx=1\nk=v\r\n"},
      {"x=1\r\n", true, "A", "x=1\r\n\r\n[A]\r\nk=v\r\n"},
  };
  int n = 0;
  for (const auto& c : faelle) {
    const QString f = ini(QString("neu%1.ini").arg(++n));
    if (c.gibtEs) DateiSchreiben(f, c.vorher);
    ASSERT_TRUE(ProfilSchreiben(f, c.abschnitt, "k", "v")) << n;
    EXPECT_EQ(zeigen(DateiLesen(f)), zeigen(c.nachher)) << n;
    EXPECT_EQ(ProfilLesen(f, c.abschnitt, "K", "?"), "v") << n;
  }
  // No folder is created for a file.
  EXPECT_FALSE(ProfilSchreiben(ini("fehlt/x.ini"), "S", "k", "v"));
  EXPECT_FALSE(QFileInfo::exists(ini("fehlt")));
}

TEST_F(ProfilTest, SchreibenErsetztNurDieEineZeile) {
  const QString f = ini("s.ini");
  DateiSchreiben(f, "[A]\r\nSchl\xC3\xBC" "ssel = 1 \r\nSCHL\xC3\x9C" "SSEL=2\r\n");
  ASSERT_TRUE(ProfilSchreiben(f, "a", u"schlüssel"_qs, "  mit Blanks  "));
  EXPECT_EQ(DateiLesen(f), B("[A]\r\nSchl\xC3\xBCssel=  mit Blanks  \r\nSCHL\xC3\x9CSSEL=2\r\n"));
  EXPECT_EQ(ProfilLesen(f, "A", u"SCHLÜSSEL"_qs, "?"), "mit Blanks");

  // Line breaks in a value would forge lines.
  ASSERT_TRUE(ProfilSchreiben(f, "A", "b", "eins\r\n[X]\nzwei=drei\r"));
  EXPECT_EQ(ProfilLesen(f, "A", "b", "?"), "eins [X] zwei=drei");
  EXPECT_EQ(ProfilAbschnitte(f), QStringList{"A"});

  // The same value again: the file is not touched.
  const quint64 vorher = inode(f);
  ASSERT_TRUE(ProfilSchreiben(f, "A", "B", "eins [X] zwei=drei "));
  EXPECT_EQ(inode(f), vorher);

  // Names that cannot be stored.
  const QByteArray inhalt = DateiLesen(f);
  struct Fall { const char* abschnitt; const char* schluessel; };
  for (const Fall& c : {Fall{"", "k"}, Fall{"  ", "k"}, Fall{"A", ""}, Fall{"A", "a=b"},
                        Fall{"A", "[B]"}, Fall{"A\nB", "k"}, Fall{"A", "k\r"}})
    EXPECT_FALSE(ProfilSchreiben(f, c.abschnitt, c.schluessel, "v")) << c.abschnitt << "/" << c.schluessel;
  EXPECT_EQ(DateiLesen(f), inhalt);
  EXPECT_FALSE(ProfilSchreiben({}, "A", "k", "v"));
}

// Several keys in one replace: each written as the single write would write it after the keys
// before it, nothing written when all are as stored, nothing at all when one is invalid.
TEST_F(ProfilTest, MehrereSchluesselInEinemSchreiben) {
  const QString f = ini("mehrere.ini");
  struct Fall {
    const char* name;
    QByteArray vorher;
    QList<ProfilWert> werte;
    bool ok;
    QByteArray nachher;
  };
  const Fall faelle[] = {
      {"neue Datei, zwei Abschnitte", "", {{"A", "x", "1"}, {"B", "y", "2"}, {"a", "Z", "3"}}, true,
       "[A]\r\nx=1\r\nZ=3\r\n\r\n[B]\r\ny=2\r\n"},
      {"vorhandene Zeilen, Schreibweise bleibt", "[A]\nX=0\n; k\nY=0\n",
       {{"A", "y", "7"}, {"A", "x", "8"}, {"A", "x", "9"}}, true, "[A]\nX=9\r\n; k\nY=7\r\n"},
      {"Zeilenumbruch im Wert", "[A]\r\n", {{"A", "t", "a\nb"}}, true, "[A]\r\nt=a b\r\n"},
      {"ein ungültiger Schlüssel", "[A]\r\nx=1\r\n", {{"A", "x", "2"}, {"A", "y=", "3"}}, false,
       "[A]\r\nx=1\r\n"},
  };
  for (const Fall& fall : faelle) {
    SCOPED_TRACE(fall.name);
    DateiSchreiben(f, fall.vorher);
    ProfilCacheLeeren();
    EXPECT_EQ(ProfilSchreiben(f, fall.werte), fall.ok);
    EXPECT_EQ(zeigen(DateiLesen(f)), zeigen(fall.nachher));
  }
  // All as stored: the file is not replaced.
  const quint64 vorher = inode(f);
  EXPECT_TRUE(ProfilSchreiben(f, {{"A", "x", "1"}, {" a ", "X", "1"}}));
  EXPECT_EQ(inode(f), vorher);
}

TEST_F(ProfilTest, Loeschen) {
  const QByteArray start = "[A]\r\nk=1\r\nx=2\r\nK=3\r\n[B]\r\nk=4\r\n[a]\r\nk=5\r\n";
  struct Fall { const char* abschnitt; const char* schluessel; QByteArray nachher; };
  const Fall faelle[] = {
      {"a", "K", "[A]\r\nx=2\r\n[B]\r\nk=4\r\n[a]\r\nk=5\r\n"},
      {"A", "", "[B]\r\nk=4\r\n"},
      {"B", "k", "[A]\r\nk=1\r\nx=2\r\nK=3\r\n[B]\r\n[a]\r\nk=5\r\n"},
      {"B", "fehlt", start},
      {"Fehlt", "", start},
      {"Fehlt", "k", start},
  };
  int n = 0;
  for (const auto& c : faelle) {
    const QString f = ini(QString("l%1.ini").arg(++n));
    DateiSchreiben(f, start);
    const quint64 vorher = inode(f);
    ASSERT_TRUE(ProfilLoeschen(f, c.abschnitt, c.schluessel)) << n;
    EXPECT_EQ(zeigen(DateiLesen(f)), zeigen(c.nachher)) << n;
    if (c.nachher == start) {
      EXPECT_EQ(inode(f), vorher) << n;  // nothing to do, nothing written
    }
    if (*c.schluessel) {
      EXPECT_EQ(ProfilLesen(f, c.abschnitt, c.schluessel, "?"), "?") << n;
    } else {
      EXPECT_FALSE(ProfilAbschnitte(f).contains(c.abschnitt, Qt::CaseInsensitive)) << n;
    }
  }
  EXPECT_TRUE(ProfilLoeschen(ini("fehlt.ini"), "A", "k"));
  EXPECT_FALSE(QFileInfo::exists(ini("fehlt.ini")));
}

TEST_F(ProfilTest, LeseGrenzeVon999Zeichen) {
  const QString f = ini("lang.ini");
  struct Fall { QString wert; int laenge; };
  const Fall faelle[] = {
      {QString(999, u'x'), 999},
      {QString(1000, u'y'), 999},
      {QString(100000, u'z'), 999},
      {QString(998, u'a') + u"\U0001F600"_qs, 999},  // counted in UTF-16 units
  };
  ASSERT_TRUE(ProfilSchreiben(f, "S", "davor", "1"));
  int n = 0;
  for (const auto& c : faelle) {
    const QString k = QString("k%1").arg(++n);
    ASSERT_TRUE(ProfilSchreiben(f, "S", k, c.wert));
    EXPECT_EQ(ProfilLesen(f, "S", k, "?"), c.wert.left(c.laenge)) << n;
  }
  ASSERT_TRUE(ProfilSchreiben(f, "S", "danach", "2"));
  EXPECT_EQ(ProfilLesen(f, "S", "davor", "?"), "1");
  EXPECT_EQ(ProfilLesen(f, "S", "danach", "?"), "2");
  // The file keeps the whole value.
  EXPECT_TRUE(DateiLesen(f).contains("k3=" + QByteArray(100000, 'z') + "\r\n"));
}

TEST_F(ProfilTest, SchlechteEingabe) {
  // Binary data: nothing found, and a write keeps all of it.
  QByteArray binaer;
  for (int i = 0; i < 4096; ++i) binaer.append(char((i * 37 + 11) % 256));
  binaer.append(B("\0\0\xFF\xFE", 4));
  const QString bin = ini("binaer.ini");
  DateiSchreiben(bin, binaer);
  EXPECT_EQ(ProfilLesen(bin, "S", "k", "vorgabe"), "vorgabe");
  ASSERT_TRUE(ProfilSchreiben(bin, "S", "k", "v"));
  EXPECT_TRUE(DateiLesen(bin).startsWith(binaer));
  EXPECT_TRUE(DateiLesen(bin).endsWith("\r\n[S]\r\nk=v\r\n"));
  EXPECT_EQ(ProfilLesen(bin, "S", "k", "?"), "v");

  // NUL bytes inside lines.
  const QString nul = ini("nul.ini");
  DateiSchreiben(nul, B("[S]\r\nk\0x=1\r\nk=a\0b\r\nz=2\r\n", 24));
  EXPECT_EQ(ProfilLesen(nul, "S", "z", "?"), "2");
  EXPECT_EQ(ProfilLesen(nul, "S", "k", "?"), QString::fromUtf8("a\0b", 3));
  ASSERT_TRUE(ProfilSchreiben(nul, "S", "z", "3"));
  EXPECT_EQ(DateiLesen(nul), B("[S]\r\nk\0x=1\r\nk=a\0b\r\nz=3\r\n", 24));

  // A folder or a pipe in place of the file: defaults, no write, no hang.
  const QString ordner = ini("ordner.ini");
  QDir().mkpath(ordner);
  const QString pipe = ini("pipe.ini");
  ASSERT_EQ(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
  for (const QString& f : {ordner, pipe}) {
    bool gefunden = true;
    EXPECT_EQ(ProfilLesen(f, "S", "k", "d", &gefunden), "d");
    EXPECT_FALSE(gefunden);
    EXPECT_FALSE(ProfilSchreiben(f, "S", "k", "v"));
    EXPECT_FALSE(ProfilLoeschen(f, "S"));
    EXPECT_EQ(ProfilAbschnitte(f), QStringList());
  }
  EXPECT_TRUE(QFileInfo(ordner).isDir());
  EXPECT_EQ(QFileInfo(pipe).size(), 0);

  // Missing, empty file, empty file name.
  EXPECT_EQ(ProfilLesen(ini("fehlt.ini"), "S", "k", "d"), "d");
  DateiSchreiben(ini("leer.ini"), {});
  EXPECT_EQ(ProfilLesen(ini("leer.ini"), "S", "k", "d"), "d");
  EXPECT_EQ(ProfilLesen({}, "S", "k", "d"), "d");
}

TEST_F(ProfilTest, CacheMerktJedenAnderenSchreiber) {
  const QString f = ini("cache.ini");
  DateiSchreiben(f, "[S]\r\nk=1\r\n");
  const quint64 start = ProfilLesevorgaenge();
  EXPECT_EQ(ProfilLesen(f, "S", "k", "?"), "1");
  EXPECT_EQ(ProfilLesen(f, "s", "K", "?"), "1");
  EXPECT_EQ(ProfilSchluessel(f, "S"), QStringList{"k"});
  EXPECT_EQ(ProfilLesevorgaenge(), start + 1);  // parsed once

  // Own writes need no new read.
  ASSERT_TRUE(ProfilSchreiben(f, "S", "k", "2"));
  EXPECT_EQ(ProfilLesen(f, "S", "k", "?"), "2");
  EXPECT_EQ(ProfilLesevorgaenge(), start + 1);

  // Another writer replaces the file atomically: same size, same modification time.
  DateiStand alt;
  ASSERT_TRUE(DateiStandLesen(f, &alt));
  ASSERT_TRUE(BytesSchreibenAtomar(f, "[S]\r\nk=3\r\n", nullptr));
  mzeitSetzen(f, alt.mzeitNs);
  EXPECT_EQ(ProfilLesen(f, "S", "k", "?"), "3");

  // Another writer changes it in place: same size, within the same second.
  ASSERT_TRUE(DateiStandLesen(f, &alt));
  {
    QFile d(f);
    ASSERT_TRUE(d.open(QIODevice::ReadWrite));
    d.seek(7);
    d.write("4");
  }
  mzeitSetzen(f, alt.mzeitNs % 1000000000 == 999999999 ? alt.mzeitNs - 1 : alt.mzeitNs + 1);
  EXPECT_EQ(ProfilLesen(f, "S", "k", "?"), "4");

  // Deleted behind our back.
  QFile::remove(f);
  EXPECT_EQ(ProfilLesen(f, "S", "k", "?"), "?");
  ASSERT_TRUE(ProfilSchreiben(f, "S", "neu", "5"));
  EXPECT_EQ(DateiLesen(f), B("[S]\r\nneu=5\r\n"));
}

TEST_F(ProfilTest, ZweiProzesseVerlierenKeinenSchluessel) {
  const QString f = ini("geteilt.ini");
  ASSERT_TRUE(ProfilSchreiben(f, "S", "a", "1"));
  int zumKind[2], zumElternteil[2];
  ASSERT_EQ(pipe(zumKind), 0);
  ASSERT_EQ(pipe(zumElternteil), 0);
  const pid_t kind = fork();
  ASSERT_GE(kind, 0);
  if (kind == 0) {
    // A process of its own with its own cache, writing in turn with this one.
    char c = 0;
    bool ok = ProfilSchreiben(f, "S", "b", "2");
    ok = write(zumElternteil[1], "x", 1) == 1 && ok;
    ok = read(zumKind[0], &c, 1) == 1 && ok;
    ok = ProfilSchreiben(f, "S", "d", "4") && ok;
    _exit(ok ? 0 : 1);
  }
  char c = 0;
  ASSERT_EQ(read(zumElternteil[0], &c, 1), 1);
  EXPECT_TRUE(ProfilSchreiben(f, "S", "c", "3"));
  ASSERT_EQ(write(zumKind[1], "x", 1), 1);
  int status = -1;
  ASSERT_EQ(waitpid(kind, &status, 0), kind);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  for (int fd : {zumKind[0], zumKind[1], zumElternteil[0], zumElternteil[1]}) close(fd);
  EXPECT_EQ(DateiLesen(f), B("[S]\r\na=1\r\nb=2\r\nc=3\r\nd=4\r\n"));
  EXPECT_EQ(ProfilSchluessel(f, "S"), (QStringList{"a", "b", "c", "d"}));
}

// The lock files are QLockFile's: a program using it waits while this one holds the lock, and
// takes over a lock whose holder died (its contents name the holder as QLockFile expects).
TEST_F(ProfilTest, SperreFuerQLockFile) {
  const QString f = ini("sperre.ini");
  const QString sperrDatei = f + ".lock";
  auto imKind = [](const std::function<bool()>& tun) {
    const pid_t kind = fork();
    if (kind == 0) _exit(tun() ? 0 : 1);
    int status = -1;
    waitpid(kind, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  };
  {
    const ProfilSperre halter(f);
    ASSERT_TRUE(halter.gesperrt());
    // Also without the flock that keeps a stale-lock removal away (a file system that has none):
    // then only the contents, process id and program name, tell QLockFile the holder lives.
    for (const bool ohneFlock : {false, true}) {
      EXPECT_EQ(imKind([&] {
                  const QString ziel = QFileInfo(sperrDatei).absoluteFilePath();
                  for (const QString& fd : QDir("/proc/self/fd").entryList(QDir::AllEntries | QDir::System))
                    if (ohneFlock && QFile::symLinkTarget("/proc/self/fd/" + fd) == ziel) ::flock(fd.toInt(), LOCK_UN);
                  QLockFile l(sperrDatei);
                  l.setStaleLockTime(60000);
                  return !l.tryLock(0) && l.error() == QLockFile::LockFailedError;
                }),
                0)
          << ohneFlock;
    }
  }
  EXPECT_FALSE(QFileInfo::exists(sperrDatei));
  // A notepad name that leaves no room for ".lock" is locked all the same.
  EXPECT_TRUE(ProfilSperre(ini(QString(247, u'N') + ".inf")).gesperrt());
  EXPECT_EQ(imKind([&] {
              const ProfilSperre stirbt(f);
              _exit(stirbt.gesperrt() ? 0 : 1);
              return false;
            }),
            0);
  ASSERT_TRUE(QFileInfo::exists(sperrDatei));
  QLockFile l(sperrDatei);
  l.setStaleLockTime(60000);
  EXPECT_TRUE(l.tryLock(0));
}

TEST_F(ProfilTest, SperreWiedereintrittFremderFadenVerwaisteSperre) {
  const QString f = ini("sperre.ini");
  const QString sperrDatei = f + ".lock";
  std::unique_ptr<QThread> faden;
  {
    ProfilSperre aussen(f);
    EXPECT_TRUE(aussen.gesperrt());
    EXPECT_TRUE(QFileInfo::exists(sperrDatei));
    {
      ProfilSperre innen(f);  // the same thread again: no wait
      EXPECT_TRUE(innen.gesperrt());
      EXPECT_TRUE(ProfilSchreiben(f, "S", "a", "1"));
    }
    EXPECT_TRUE(QFileInfo::exists(sperrDatei));  // still held by the outer one
    // Another thread of the process waits for the holder: it goes to sleep (nothing else on its
    // way to the lock sleeps) and has not written.
    std::atomic<pid_t> tid{0};
    faden.reset(QThread::create([&] {
      tid = pid_t(::syscall(SYS_gettid));
      ProfilSchreiben(f, "S", "b", "2");
    }));
    faden->start();
    auto schlaeft = [&tid] {
      QFile stat(QString("/proc/self/task/%1/stat").arg(tid.load()));
      if (tid == 0 || !stat.open(QIODevice::ReadOnly)) return false;
      const QByteArray zeile = stat.readAll();
      return zeile.mid(zeile.lastIndexOf(')') + 2, 1) == "S";
    };
    const QDeadlineTimer frist(10000);
    while (!schlaeft() && !frist.hasExpired()) QThread::usleep(200);
    EXPECT_TRUE(schlaeft()) << "the other thread never waited";
    EXPECT_EQ(ProfilLesen(f, "S", "b", "?"), "?");
  }
  faden->wait();
  EXPECT_EQ(ProfilLesen(f, "S", "b", "?"), "2");
  EXPECT_FALSE(QFileInfo::exists(sperrDatei));

  // A lock left by a process that died is taken over.
  const pid_t kind = fork();
  ASSERT_GE(kind, 0);
  if (kind == 0) {
    QLockFile l(sperrDatei);
    _exit(l.tryLock(0) ? 0 : 1);
  }
  int status = -1;
  ASSERT_EQ(waitpid(kind, &status, 0), kind);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  ASSERT_TRUE(QFileInfo::exists(sperrDatei));
  {
    ProfilSperre wieder(f);
    EXPECT_TRUE(wieder.gesperrt());
  }
  EXPECT_TRUE(ProfilSchreiben(f, "S", "c", "3"));
  EXPECT_FALSE(QFileInfo::exists(sperrDatei));
}

// Locks that cannot be taken: one task (a start, a quit) waits about three seconds for all of
// them together, goes on without them and learns what was in the way. An empty lock file whose
// maker was killed while creating it (no one holds it open) is no obstacle.
TEST_F(ProfilTest, SperrFristUndHindernisse) {
  SetzeSperrUhr(&sperrUhrMs, &sperrPause);
  const QString f = ini("frist.ini"), sperre = f + ".lock";
  enum Art { Ordner, Fremd, Lebt, Leer, LeerAlt, LeerAltOffen, TotLeeresRmlock };
  const struct { Art art; const char* hindernis; } faelle[] = {
      {Ordner, "liegt ein Ordner"},           {Fremd, "Rechner »anderswo«"},
      {Lebt, "anderen Programm gehalten"},    {Leer, "anderen Programm gehalten"},
      {LeerAltOffen, "anderen Programm gehalten"}, {LeerAlt, ""}, {TotLeeresRmlock, ""},
  };
  for (const auto& fall : faelle) {
    SCOPED_TRACE(fall.art);
    QDir(sperre).removeRecursively();
    QFile::remove(sperre);
    QFile::remove(sperre + ".rmlock");
    const QString leer = fall.art == TotLeeresRmlock ? sperre + ".rmlock" : sperre;
    if (fall.art == Ordner) QDir().mkpath(sperre);
    if (fall.art == Fremd) DateiSchreiben(sperre, "4711\nSkribon\nanderswo\nfremde-id\n\n");
    if (fall.art == Lebt || fall.art == TotLeeresRmlock)
      DateiSchreiben(sperre, sperrInhalt(fall.art == Lebt));
    if (fall.art >= Leer) DateiSchreiben(leer, "");
    if (fall.art > Leer) mzeitSetzen(leer, (QDateTime::currentMSecsSinceEpoch() - 5000) * 1000000);
    const int offen = ::open(QFile::encodeName(leer).constData(), O_RDONLY | O_CLOEXEC);
    // Its maker lives: it holds the file open and locked.
    ASSERT_TRUE(fall.art != LeerAltOffen || ::flock(offen, LOCK_EX | LOCK_NB) == 0);
    const bool frei = *fall.hindernis == 0;
    sperrUhrUs = 0;
    {
      const SperrFrist frist;
      for (int i = 0; i < 6; ++i) EXPECT_EQ(ProfilSperre(f).gesperrt(), frei) << i;
      EXPECT_TRUE(ProfilSchreiben(f, "S", "k", "v"));
      EXPECT_LE(sperrUhrMs(), frei ? 0 : 3002);  // all waits together, not three seconds each
      EXPECT_TRUE(frist.hindernis().contains(fall.hindernis)) << frist.hindernis().toStdString();
      EXPECT_EQ(frist.hindernis().contains(sperre), !frei) << frist.hindernis().toStdString();
    }
    if (offen >= 0) ::close(offen);
  }
}
