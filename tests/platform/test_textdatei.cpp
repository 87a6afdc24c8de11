#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/dateifehler.h"
#include "platform/textdatei.h"
#include "support/fixture.h"

using namespace Plattform;

namespace {

QByteArray B(const char* s, qsizetype n = -1) { return n < 0 ? QByteArray(s) : QByteArray(s, n); }
std::string hex(const QByteArray& b) { return b.toHex(' ').toStdString(); }

}  // namespace

TEST(TextKodierung, DekodierenUtf8OderCp1252) {
  struct Fall { QByteArray bytes; QString text; };
  const Fall faelle[] = {
      {B(""), ""},
      {B("Hallo\r\nWelt"), "Hallo\r\nWelt"},
      {B("\xEF\xBB\xBF" "Gr\xC3\xBC\xC3\x9F" "e"), u"Grüße"_qs},
      {B("\xEF\xBB\xBF"), ""},
      {B("\xF0\x9F\x98\x80"), u"\U0001F600"_qs},
      // Not UTF-8: Windows-1252, with its own characters in 0x80-0x9F.
      {B("\x93Zitat\x94"), u"“Zitat”"_qs},
      {B("\x80 5"), u"€ 5"_qs},
      {B("M\xFCller \x84Ja\x93 \x96 \x85"), u"Müller „Ja“ – …"_qs},
      {B("\x81\x8D\x8F\x90\x9D"), u"\u0081\u008D\u008F\u0090\u009D"_qs},
      // Malformed UTF-8 of every kind: only the stray bytes read as Windows-1252.
      {B("\xC3"), u"Ã"_qs},                     // cut off at the end
      {B("\xC0\x80"), u"À€"_qs},                // overlong
      {B("\xED\xA0\x80"), u"í\u00A0€"_qs},      // surrogate
      {B("\xF4\x90\x80\x80"), u"ô\u0090€€"_qs},  // beyond U+10FFFF
      {B("a\xC3\xA4\xE4"), u"aää"_qs},           // valid start, stray byte later
      {B("Gr\xC3\xBC\xC3\x9F" "e \x96 \xC3\xA4"), u"Grüße – ä"_qs},
      // UTF-16 by its byte-order mark, either order; a U+FEFF inside stays.
      {B("\xFF\xFE" "G\0\xFC\0", 6), u"Gü"_qs},
      {B("\xFE\xFF" "\0G\0\xFC", 6), u"Gü"_qs},
      {B("x\xEF\xBB\xBFy"), u"x\uFEFFy"_qs},
      {B("\xEF\xBB\xBF\x93x\x94"), u"“x”"_qs},   // BOM, then 1252
      {B("a\0b", 3), QString::fromUtf8("a\0b", 3)},
  };
  for (const auto& f : faelle)
    EXPECT_EQ(TextDekodieren(f.bytes), f.text) << hex(f.bytes);
}

TEST(TextKodierung, Cp1252JedesByteHinUndZurueck) {
  QByteArray alle;
  for (int i = 0; i < 256; ++i) alle.append(char(i));
  const QString text = Cp1252Dekodieren(alle);
  ASSERT_EQ(text.size(), 256);
  EXPECT_EQ(Cp1252Kodieren(text), alle);
  EXPECT_TRUE(Cp1252Darstellbar(text));
  EXPECT_EQ(text[0x80], QChar(0x20AC));
  EXPECT_EQ(text[0x9F], QChar(0x0178));
  EXPECT_EQ(text[0xA0], QChar(0x00A0));

  // Outside the code page: one '?' per character, a surrogate pair counting as one.
  EXPECT_EQ(Cp1252Kodieren(u"€“x”漢\U0001F600."_qs), B("\x80\x93x\x94??."));
  EXPECT_FALSE(Cp1252Darstellbar(u"a漢"_qs));
  EXPECT_FALSE(Cp1252Darstellbar(QString(QChar(0x0080))));  // C1 control with a 1252 glyph byte
}

TEST(TextKodierung, ZeilenendenWerdenCrLf) {
  struct Fall { QString text; QByteArray bytes; };
  const Fall faelle[] = {
      {"", ""},
      {"a\nb", "a\r\nb"},
      {"a\rb", "a\r\nb"},
      {"a\r\nb", "a\r\nb"},
      {"\n\n", "\r\n\r\n"},
      {"\r\r\n\n\r", "\r\n\r\n\r\n\r\n"},
      {"ende\n", "ende\r\n"},
      {u"Straße\nÄ"_qs, "Stra\xC3\x9F" "e\r\n\xC3\x84"},
  };
  for (const auto& f : faelle) EXPECT_EQ(TextKodieren(f.text), f.bytes) << f.text.toStdString();
  EXPECT_EQ(ZeilenendenCrLf("x\n\r"), B("x\r\n\r\n"));
}

TEST(TextKodierung, Utf8Pruefung) {
  struct Fall { QByteArray bytes; bool gueltig; };
  const Fall faelle[] = {
      {"", true}, {"abc", true}, {"\xC2\x80", true}, {"\xDF\xBF", true}, {"\xE0\xA0\x80", true},
      {"\xEF\xBF\xBD", true}, {"\xF0\x90\x80\x80", true}, {"\xF4\x8F\xBF\xBF", true},
      {"\x80", false}, {"\xBF", false}, {"\xC1\xBF", false}, {"\xE0\x9F\xBF", false},
      {"\xED\xBF\xBF", false}, {"\xF0\x8F\xBF\xBF", false}, {"\xF5\x80\x80\x80", false},
      {"\xFF", false}, {"\xE2\x82", false}, {"\xE2\x82x", false}, {"\xC3\xA4\xC3", false},
  };
  for (const auto& f : faelle)
    EXPECT_EQ(IstGueltigesUtf8(f.bytes.constData(), f.bytes.size()), f.gueltig) << hex(f.bytes);
}

class TextDateiTest : public Testhilfe::SkribonTest {};

TEST_F(TextDateiTest, SchreibenUndLesen) {
  const QString pfad = wurzel + "/a/text.txt";
  QDir().mkpath(wurzel + "/a");
  QString fehler = "alt";
  ASSERT_TRUE(TextSchreiben(pfad, u"Zeile 1\nZeile „2“\r\n"_qs, &fehler));
  EXPECT_EQ(DateiLesen(pfad), B("Zeile 1\r\nZeile \xE2\x80\x9E" "2\xE2\x80\x9C\r\n"));
  bool ok = false;
  EXPECT_EQ(TextLesen(pfad, &ok), u"Zeile 1\r\nZeile „2“\r\n"_qs);
  EXPECT_TRUE(ok);

  // Replacing leaves no temporary file behind.
  ASSERT_TRUE(TextSchreiben(pfad, "kurz"));
  EXPECT_EQ(DateiLesen(pfad), B("kurz"));
  EXPECT_EQ(QDir(wurzel + "/a").entryList(QDir::Files | QDir::Hidden), QStringList{"text.txt"});

  // A file from the Windows program.
  DateiSchreiben(wurzel + "/alt.txt", B("\xEF\xBB\xBF" "ok"));
  EXPECT_EQ(TextLesen(wurzel + "/alt.txt"), "ok");
  DateiSchreiben(wurzel + "/alt.txt", B("\x93" "Hallo\x94 \x80"));
  EXPECT_EQ(TextLesen(wurzel + "/alt.txt"), u"“Hallo” €"_qs);
}

TEST_F(TextDateiTest, LesenOhneDatei) {
  QDir().mkpath(wurzel + "/ordner");
  for (const QString& p : {QString(), wurzel + "/fehlt.txt", wurzel + "/ordner"}) {
    bool ok = true;
    EXPECT_EQ(TextLesen(p, &ok), QString()) << p.toStdString();
    EXPECT_FALSE(ok) << p.toStdString();
  }
  // An empty file exists: ok.
  DateiSchreiben(wurzel + "/leer.txt", {});
  bool ok = false;
  EXPECT_EQ(TextLesen(wurzel + "/leer.txt", &ok), QString());
  EXPECT_TRUE(ok);
}

TEST_F(TextDateiTest, SchreibfehlerLassenAlleDateienStehen) {
  DateiSchreiben(wurzel + "/ordner/drin.txt", "bleibt");
  DateiSchreiben(wurzel + "/datei.txt", "bleibt auch");
  struct Fall { QString pfad; const char* grund; };
  const Fall faelle[] = {
      {wurzel + "/fehlt/x.txt", "Der Ordner »"},
      {wurzel + "/ordner", "An dieser Stelle liegt ein Ordner."},
      {wurzel + "/datei.txt/x.txt", "ist kein Ordner."},
      {wurzel + "/" + QString(300, u'n'), "Schreibfehler (Dateiname zu lang)."},
  };
  for (const auto& f : faelle) {
    QString fehler;
    EXPECT_FALSE(TextSchreiben(f.pfad, "neu", &fehler)) << f.pfad.toStdString();
    EXPECT_TRUE(fehler.startsWith(u"Die Datei »"_qs + f.pfad + u"« konnte nicht geschrieben werden: "_qs))
        << fehler.toStdString();
    EXPECT_TRUE(fehler.contains(QString::fromUtf8(f.grund))) << fehler.toStdString();
    EXPECT_NE(LetzterSchreibfehler(), 0);
    EXPECT_FALSE(TextAnhaengen(f.pfad, "neu")) << f.pfad.toStdString();
  }
  EXPECT_FALSE(QFileInfo::exists(wurzel + "/fehlt"));
  EXPECT_EQ(DateiLesen(wurzel + "/ordner/drin.txt"), B("bleibt"));
  EXPECT_EQ(DateiLesen(wurzel + "/datei.txt"), B("bleibt auch"));
  QString fehler;
  EXPECT_FALSE(BytesSchreibenAtomar({}, "x", &fehler));
  EXPECT_FALSE(fehler.isEmpty());
}

TEST_F(TextDateiTest, SchreibenDurchVerweisErsetztDasZiel) {
  const QString ziel = wurzel + "/ziel.ini", verweis = wurzel + "/verweis.ini";
  DateiSchreiben(ziel, "alt");
  ASSERT_TRUE(QFile::link(ziel, verweis));
  ASSERT_TRUE(TextSchreiben(verweis, "neu"));
  EXPECT_TRUE(QFileInfo(verweis).isSymLink());
  EXPECT_EQ(DateiLesen(ziel), B("neu"));
}

TEST_F(TextDateiTest, Anhaengen) {
  const QString pfad = wurzel + "/log.txt";
  EXPECT_TRUE(TextAnhaengen(pfad, "eins\n"));
  EXPECT_TRUE(TextAnhaengen(pfad, u"zwei\rdrei ä"_qs));
  EXPECT_EQ(DateiLesen(pfad), B("eins\r\nzwei\r\ndrei \xC3\xA4"));
}

TEST_F(TextDateiTest, DateiStandErkenntJedenSchreiber) {
  const QString pfad = wurzel + "/s.ini";
  DateiStand a, b;
  EXPECT_FALSE(DateiStandLesen(pfad, &a));
  EXPECT_EQ(a.groesse, -1);
  QDir().mkpath(wurzel + "/ordner");
  EXPECT_FALSE(DateiStandLesen(wurzel + "/ordner", &a));

  DateiStand geschrieben;
  ASSERT_TRUE(BytesSchreibenAtomar(pfad, "12345", nullptr, &geschrieben));
  ASSERT_TRUE(DateiStandLesen(pfad, &a));
  EXPECT_EQ(geschrieben, a);
  EXPECT_EQ(a.groesse, 5);
  // Same size, atomic replace: another inode.
  ASSERT_TRUE(BytesSchreibenAtomar(pfad, "54321", nullptr, &geschrieben));
  ASSERT_TRUE(DateiStandLesen(pfad, &b));
  EXPECT_NE(a.inode, b.inode);
  EXPECT_EQ(geschrieben, b);
}

TEST(DateiFehler, LaufzeitNummernUndDeutscheTexte) {
  struct Fall { int errnoWert; int nummer; const char* text; };
  const Fall faelle[] = {
      {0, 0, "Systemfehler 0"},
      {ENOENT, 53, "Datei oder Verzeichnis nicht gefunden"},
      {ENOTDIR, 76, "Kein Verzeichnis"},
      {ENOSPC, 61, "Kein Speicherplatz mehr auf dem Gerät"},
      {EDQUOT, 61, "Kontingent überschritten"},
      {EACCES, 70, "Keine Berechtigung"},
      {EPERM, 70, "Vorgang nicht erlaubt"},
      {EROFS, 70, "Schreibgeschütztes Dateisystem"},
      {ETXTBSY, 70, "Programmdatei wird gerade benutzt"},
      {EISDIR, 75, "Ist ein Verzeichnis"},
      {EBUSY, 75, "Gerät oder Ressource belegt"},
      {EEXIST, 75, "Datei existiert bereits"},
      {EIO, 75, "Eingabe-/Ausgabefehler"},
      {EFBIG, 75, "Datei zu groß"},
      {EMFILE, 75, "Zu viele offene Dateien"},
      {ENAMETOOLONG, 75, "Dateiname zu lang"},
      {4711, 75, "Systemfehler 4711"},
  };
  for (const auto& f : faelle) {
    EXPECT_EQ(LaufzeitFehlerNummer(f.errnoWert), f.nummer) << f.errnoWert;
    EXPECT_EQ(SystemFehlerText(f.errnoWert), QString::fromUtf8(f.text)) << f.errnoWert;
    // errno, when known, decides over Qt's coarse code.
    if (f.errnoWert) {
      EXPECT_EQ(LaufzeitFehlerNummer(QFileDevice::WriteError, f.errnoWert), f.nummer) << f.errnoWert;
    }
  }
  EXPECT_EQ(LaufzeitFehlerNummer(QFileDevice::NoError, EACCES), 0);
  EXPECT_EQ(LaufzeitFehlerNummer(QFileDevice::ResourceError), 61);
  EXPECT_EQ(LaufzeitFehlerNummer(QFileDevice::PermissionsError), 70);
  EXPECT_EQ(LaufzeitFehlerNummer(QFileDevice::OpenError), 75);
  // A missing file in a missing folder is a missing path.
  EXPECT_EQ(LaufzeitFehlerNummer(ENOENT, QDir::tempPath() + "/fehlt.txt"), 53);
  EXPECT_EQ(LaufzeitFehlerNummer(ENOENT, QDir::tempPath() + "/fehlt/nicht/da.txt"), 76);
}

namespace {
mode_t modus(const QString& pfad) {
  struct stat st;
  return ::stat(QFile::encodeName(pfad).constData(), &st) == 0 ? st.st_mode & 07777 : 0;
}
quint64 inodeVon(const QString& pfad) {
  DateiStand s;
  DateiStandLesen(pfad, &s);
  return s.inode;
}
bool ordnerGesperrt(const QString&) { return false; }
}  // namespace

TEST_F(TextDateiTest, ErsetzenBehaeltDieRechte) {
  const QString pfad = wurzel + "/rechte.txt";
  for (mode_t m : {mode_t(0640), mode_t(0600), mode_t(0664), mode_t(0444)}) {
    DateiSchreiben(pfad, "alt");
    ASSERT_EQ(::chmod(QFile::encodeName(pfad).constData(), m), 0);
    const quint64 vorher = inodeVon(pfad);
    ASSERT_TRUE(TextSchreiben(pfad, "neu"));
    EXPECT_NE(inodeVon(pfad), vorher);  // replaced, not overwritten
    EXPECT_EQ(modus(pfad), m) << std::oct << m;
    EXPECT_EQ(DateiLesen(pfad), B("neu"));
    QFile::remove(pfad);
  }
  // A new file gets the usual mode.
  const mode_t maske = ::umask(022);
  ::umask(maske);
  ASSERT_TRUE(TextSchreiben(pfad, "frisch"));
  EXPECT_EQ(modus(pfad), 0666 & ~maske);
}

TEST_F(TextDateiTest, AnOrtNurWoDerOrdnerKeineNeueDateiErlaubt) {
  const QString pfad = wurzel + "/geteilt/notiz.txt";
  DateiSchreiben(pfad, "ein langer alter Text");
  const quint64 vorher = inodeVon(pfad);
  // The folder takes new files: an ordinary replace.
  ASSERT_TRUE(TextSchreibenAnOrt(pfad, "erst"));
  EXPECT_NE(inodeVon(pfad), vorher);

  SetzeOrdnerSchreibPruefung(&ordnerGesperrt);
  const quint64 dann = inodeVon(pfad);
  DateiStand stand;
  QString fehler;
  ASSERT_TRUE(TextSchreibenAnOrt(pfad, u"kurz\nü"_qs, &fehler, &stand)) << fehler.toStdString();
  EXPECT_EQ(inodeVon(pfad), dann);  // the same file, cut to its new size
  EXPECT_EQ(DateiLesen(pfad), B("kurz\r\n\xC3\xBC"));
  DateiStand jetzt;
  ASSERT_TRUE(DateiStandLesen(pfad, &jetzt));
  EXPECT_EQ(stand, jetzt);
  EXPECT_EQ(QDir(wurzel + "/geteilt").entryList(QDir::Files | QDir::Hidden), QStringList{"notiz.txt"});
  // Only existing files are written in place; the plain writer stays atomic.
  EXPECT_TRUE(TextSchreibenAnOrt(wurzel + "/geteilt/neu.txt", "x"));
  ASSERT_TRUE(TextSchreiben(pfad, "atomar"));
  EXPECT_NE(inodeVon(pfad), dann);
}

TEST_F(TextDateiTest, AlteTemporaereEntfernenNurEigene) {
  const QString o = wurzel + "/reste";
  for (const char* ziel : {"Dormik.ini", "Skribon.inf", "Skribon.t01", "Foto.jpg", "Liste.txt",
                           "Notiz"})
    DateiSchreiben(o + "/" + ziel, "bleibt");
  QDir().mkpath(o + "/Ordner.ini.aBcDeF");
  struct Fall { const char* name; bool alt; bool weg; };
  const Fall faelle[] = {
      // The program's own temporaries, whatever they belong to.
      {"Dormik.ini.skribon-tmp.aB3dE9", true, true},
      {"Fehlt.txt.skribon-tmp.Zz0000", true, true},
      {"Dormik.ini.skribon-tmp.aB3dE8", false, false},  // a save may still be running
      {"Dormik.ini.skribon-tmp.aB3dE", true, false},
      {"Dormik.ini.skribon-tmp.aB3dE-", true, false},
      // The older form only beside one of our files.
      {"Dormik.ini.aBcDeF", true, true},
      {"Skribon.inf.xYzAbC", true, true},
      {"Skribon.t01.QwErTy", true, true},
      {"Skribon.t02.QwErTy", true, false},  // its note is not there
      {"Dormik.ini.aBcDeG", false, false},
      // What users name their files.
      {"Foto.jpg.iPhone", true, false},
      {"Liste.txt.eBooks", true, false},
      {"Notiz.xYzAbC", true, false},
      {"Dormik.ini.backup", true, false},
      {"Dormik.ini.Backup", true, false},
      {"Dormik.ini.BACKUP", true, false},
      {"Dormik.ini.aBcDe1", true, false},
      {"Dormik.ini.aBcDeFg", true, false},
  };
  const qint64 alt = QDateTime::currentSecsSinceEpoch() - 3600;
  for (const auto& f : faelle) {
    const QString p = o + "/" + f.name;
    DateiSchreiben(p, "x");
    if (f.alt) {
      struct timespec t[2] = {{alt, 0}, {alt, 0}};
      ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(p).constData(), t, 0), 0);
    }
  }
  ASSERT_TRUE(QFile::link(o + "/Dormik.ini", o + "/Verweis.ini.skribon-tmp.aBcDeF"));
  EXPECT_EQ(AlteTemporaereEntfernen(o), 5);
  for (const auto& f : faelle) EXPECT_EQ(QFileInfo::exists(o + "/" + f.name), !f.weg) << f.name;
  EXPECT_TRUE(QFileInfo(o + "/Ordner.ini.aBcDeF").isDir());
  EXPECT_TRUE(QFileInfo(o + "/Verweis.ini.skribon-tmp.aBcDeF").isSymLink());
  for (const char* ziel : {"Dormik.ini", "Skribon.inf", "Skribon.t01", "Foto.jpg", "Notiz"})
    EXPECT_EQ(DateiLesen(o + "/" + ziel), B("bleibt")) << ziel;
  EXPECT_EQ(AlteTemporaereEntfernen(wurzel + "/fehlt"), 0);
}

// Names built from a notepad's name are cut to fit a file name, never inside a character.
TEST(TextKodierung, NamensteilKuerzen) {
  const struct { QString teil; int bytes; QString kurz; } faelle[] = {
      {u"xää"_qs, 4, u"xä"_qs}, {u"äx"_qs, 2, u"ä"_qs}, {u"a\U0001F600"_qs, 4, "a"}};
  for (const auto& f : faelle) EXPECT_EQ(NamensteilKuerzen(f.teil, f.bytes), f.kurz) << f.teil.toStdString();
}
