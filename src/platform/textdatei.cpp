// Text files: UTF-8 with CR LF on the way out; UTF-8 or Windows-1252 on the way in.
#include "platform/textdatei.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

#include "platform/dateifehler.h"

namespace Plattform {

namespace {

// 0x80-0x9F of Windows-1252. The five bytes the code page leaves undefined keep the code
// point of the C1 control character, so that every byte survives a round trip.
constexpr char16_t kCp1252Mitte[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

// Byte of a character in Windows-1252, or -1.
int cp1252Byte(char16_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return c;
  for (int i = 0; i < 32; ++i)
    if (kCp1252Mitte[i] == c) return 0x80 + i;
  return -1;
}

bool istUtf8Bom(const QByteArray& b) {
  return b.size() >= 3 && uchar(b[0]) == 0xEF && uchar(b[1]) == 0xBB && uchar(b[2]) == 0xBF;
}

QString ordnerText(const QString& pfad) { return QDir::toNativeSeparators(pfad); }

// Why a file could not be written, in words a user understands.
QString schreibGrund(const QString& pfad, int fehlerNummer) {
  const QFileInfo info(pfad);
  const QString ordner = info.absolutePath();
  const QFileInfo ordnerInfo(ordner);
  if (!ordnerInfo.exists())
    return QStringLiteral("Der Ordner »%1« existiert nicht.").arg(ordnerText(ordner));
  if (!ordnerInfo.isDir())
    return QStringLiteral("»%1« ist kein Ordner.").arg(ordnerText(ordner));
  if (info.isDir()) return QStringLiteral("An dieser Stelle liegt ein Ordner.");
  // Only a refusal is the folder's fault: a file written in place in a closed folder may fail
  // for a full disk.
  const bool verweigert = fehlerNummer == EACCES || fehlerNummer == EPERM || fehlerNummer == EROFS;
  if (verweigert && ::access(QFile::encodeName(ordner).constData(), W_OK) != 0)
    return QStringLiteral("Im Ordner »%1« darf nicht geschrieben werden.").arg(ordnerText(ordner));
  if (info.exists() && !info.isFile())
    return QStringLiteral("An dieser Stelle liegt keine gewöhnliche Datei.");
  return QStringLiteral("Schreibfehler (%1).").arg(SystemFehlerText(fehlerNummer));
}

void fehlerSetzen(QString* fehler, const QString& pfad, int fehlerNummer) {
  if (!fehler) return;
  *fehler = QStringLiteral("Die Datei »%1« konnte nicht geschrieben werden: %2")
                .arg(ordnerText(pfad), schreibGrund(pfad, fehlerNummer));
}

DateiStand standAus(const struct stat& st) {
  DateiStand s;
  s.geraet = quint64(st.st_dev);
  s.inode = quint64(st.st_ino);
  s.groesse = qint64(st.st_size);
  s.mzeitNs = qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
  s.czeitNs = qint64(st.st_ctim.tv_sec) * 1000000000 + st.st_ctim.tv_nsec;
  return s;
}

}  // namespace

QString Cp1252Dekodieren(const QByteArray& bytes) {
  QString text(bytes.size(), Qt::Uninitialized);
  QChar* z = text.data();
  for (qsizetype i = 0; i < bytes.size(); ++i) {
    const uchar b = uchar(bytes[i]);
    z[i] = (b >= 0x80 && b <= 0x9F) ? QChar(kCp1252Mitte[b - 0x80]) : QChar(b);
  }
  return text;
}

bool Cp1252Darstellbar(const QString& text) {
  for (const QChar c : text)
    if (cp1252Byte(c.unicode()) < 0) return false;
  return true;
}

QByteArray Cp1252Kodieren(const QString& text) {
  QByteArray bytes;
  bytes.reserve(text.size());
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar c = text[i];
    // A pair of surrogates is one character: one '?' for it.
    if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) ++i;
    const int b = cp1252Byte(c.unicode());
    bytes.append(b < 0 ? '?' : char(b));
  }
  return bytes;
}

namespace {
// Length of the valid UTF-8 sequence at p[0] (2..4) and its code point, or 0.
int utf8Folge(const uchar* p, qsizetype rest, char32_t* wert) {
  const uchar c = p[0];
  int folge;
  char32_t w;
  if (c >= 0xC2 && c <= 0xDF) {
    folge = 1;
    w = c & 0x1F;
  } else if (c >= 0xE0 && c <= 0xEF) {
    folge = 2;
    w = c & 0x0F;
  } else if (c >= 0xF0 && c <= 0xF4) {
    folge = 3;
    w = c & 0x07;
  } else {
    return 0;
  }
  if (folge >= rest) return 0;
  for (int k = 1; k <= folge; ++k) {
    if ((p[k] & 0xC0) != 0x80) return 0;
    w = (w << 6) | (p[k] & 0x3F);
  }
  if ((folge == 2 && (w < 0x800 || (w >= 0xD800 && w <= 0xDFFF))) ||
      (folge == 3 && (w < 0x10000 || w > 0x10FFFF)))
    return 0;
  *wert = w;
  return folge + 1;
}

bool istUtf16Bom(const QByteArray& b, bool* bigEndian) {
  if (b.size() < 2) return false;
  const uchar a = uchar(b[0]), c = uchar(b[1]);
  if (a == 0xFF && c == 0xFE) *bigEndian = false;
  else if (a == 0xFE && c == 0xFF) *bigEndian = true;
  else return false;
  return true;
}
}  // namespace

bool IstGueltigesUtf8(const char* daten, qsizetype n) {
  const auto* p = reinterpret_cast<const uchar*>(daten);
  qsizetype i = 0;
  char32_t wert = 0;
  while (i < n) {
    if (p[i] < 0x80) {
      ++i;
      continue;
    }
    const int laenge = utf8Folge(p + i, n - i, &wert);
    if (laenge == 0) return false;
    i += laenge;
  }
  return true;
}

QString GemischtDekodieren(QByteArrayView bytes) {
  const auto* p = reinterpret_cast<const uchar*>(bytes.data());
  const qsizetype n = bytes.size();
  QString text;
  text.reserve(n);
  qsizetype i = 0;
  while (i < n) {
    const uchar c = p[i];
    if (c < 0x80) {
      text.append(QChar(c));
      ++i;
      continue;
    }
    char32_t wert = 0;
    const int laenge = utf8Folge(p + i, n - i, &wert);
    if (laenge > 0) {
      if (wert > 0xFFFF) {
        const QChar paar[2] = {QChar::highSurrogate(wert), QChar::lowSurrogate(wert)};
        text.append(paar, 2);
      } else {
        text.append(QChar(char16_t(wert)));
      }
      i += laenge;
    } else {
      text.append((c >= 0x80 && c <= 0x9F) ? QChar(kCp1252Mitte[c - 0x80]) : QChar(c));
      ++i;
    }
  }
  return text;
}

ByteArten ByteArtenPruefen(QByteArrayView bytes) {
  const auto* p = reinterpret_cast<const uchar*>(bytes.data());
  const qsizetype n = bytes.size();
  ByteArten arten;
  for (qsizetype i = 0; i < n;) {
    if (p[i] < 0x80) {
      ++i;
      continue;
    }
    char32_t wert = 0;
    const int laenge = utf8Folge(p + i, n - i, &wert);
    if (laenge > 0) {
      arten.utf8 = true;
      i += laenge;
    } else {
      arten.fremd = true;
      ++i;
    }
    if (arten.utf8 && arten.fremd) break;
  }
  return arten;
}

QString TextDekodieren(const QByteArray& bytes) {
  bool gross = false;
  if (istUtf16Bom(bytes, &gross)) {
    const qsizetype n = (bytes.size() - 2) / 2;
    QString text(n, Qt::Uninitialized);
    const auto* p = reinterpret_cast<const uchar*>(bytes.constData()) + 2;
    for (qsizetype i = 0; i < n; ++i)
      text[i] = QChar(gross ? char16_t((p[2 * i] << 8) | p[2 * i + 1])
                            : char16_t((p[2 * i + 1] << 8) | p[2 * i]));
    return text;
  }
  const qsizetype start = istUtf8Bom(bytes) ? 3 : 0;
  const char* p = bytes.constData() + start;
  const qsizetype n = bytes.size() - start;
  if (IstGueltigesUtf8(p, n)) return QString::fromUtf8(p, n);
  // A UTF-8 file with a stray byte keeps its umlauts; a Windows-1252 file reads as before.
  return GemischtDekodieren(QByteArrayView(p, n));
}

QByteArray ZeilenendenCrLf(const QByteArray& bytes) {
  // Written through a raw pointer into a buffer of the worst-case size: a note is saved on
  // every switch, and appending byte by byte cost more than the write itself.
  const qsizetype n = bytes.size();
  const char* ein = bytes.constData();
  QByteArray aus(2 * n, Qt::Uninitialized);
  char* z = aus.data();
  for (qsizetype i = 0; i < n; ++i) {
    const char c = ein[i];
    if (c == '\r' || c == '\n') {
      *z++ = '\r';
      *z++ = '\n';
      if (c == '\r' && i + 1 < n && ein[i + 1] == '\n') ++i;
    } else {
      *z++ = c;
    }
  }
  aus.truncate(z - aus.constData());
  return aus;
}

QByteArray TextKodieren(const QString& text) { return ZeilenendenCrLf(text.toUtf8()); }

QString TextLesen(const QString& pfad, bool* ok) {
  if (ok) *ok = false;
  if (pfad.isEmpty()) return {};
  struct stat st;
  // Only regular files: a folder reads as missing, a pipe would block.
  if (::stat(QFile::encodeName(pfad).constData(), &st) != 0 || !S_ISREG(st.st_mode)) return {};
  QFile f(pfad);
  if (!f.open(QIODevice::ReadOnly)) return {};
  const QByteArray bytes = f.readAll();
  if (f.error() != QFileDevice::NoError) return {};
  if (ok) *ok = true;
  return TextDekodieren(bytes);
}

bool DateiStandLesen(const QString& pfad, DateiStand* stand) {
  struct stat st;
  if (pfad.isEmpty() || ::stat(QFile::encodeName(pfad).constData(), &st) != 0 ||
      !S_ISREG(st.st_mode)) {
    if (stand) *stand = DateiStand{};
    return false;
  }
  if (stand) *stand = standAus(st);
  return true;
}

bool DateiStandLesen(int handle, DateiStand* stand) {
  struct stat st;
  if (handle < 0 || ::fstat(handle, &st) != 0 || !S_ISREG(st.st_mode)) {
    if (stand) *stand = DateiStand{};
    return false;
  }
  if (stand) *stand = standAus(st);
  return true;
}

namespace {

bool (*ordnerPruefung)(const QString&) = nullptr;
int (*anOrtHaken)(AnOrtSchritt) = nullptr;
thread_local int letzterFehler = 0;

// The length of the longest start of name with at most hoechstens bytes that ends between two
// UTF-8 characters.
qsizetype utf8Schnitt(QByteArrayView name, qsizetype hoechstens) {
  if (name.size() <= hoechstens) return name.size();
  qsizetype n = qMax<qsizetype>(hoechstens, 0);
  while (n > 0 && (uchar(name[n]) & 0xC0) == 0x80) --n;
  return n;
}

}  // namespace

bool OrdnerNimmtNeueDateien(const QString& ordner) {
  if (ordnerPruefung) return ordnerPruefung(ordner);
  return ::access(QFile::encodeName(ordner).constData(), W_OK | X_OK) == 0;
}

namespace {

// A symbolic link is written through: its target is replaced, the link stays.
QString zielPfad(const QString& pfad) {
  const QFileInfo info(pfad);
  if (!info.isSymLink()) return info.absoluteFilePath();
  const QString ziel = info.canonicalFilePath();
  return ziel.isEmpty() ? info.symLinkTarget() : ziel;
}

// A save's temporary is "<file>.skribon-tmp.XXXXXX": no user names a file so, and the start's
// clean-up can remove every one of them a kill left behind.
const QString kTempMarke = QStringLiteral(".skribon-tmp.");

QByteArray tempKennung() {
  static const char kZeichen[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  QByteArray k(6, Qt::Uninitialized);
  for (char& c : k) c = kZeichen[QRandomGenerator::global()->bounded(62)];
  return k;
}

// The path of a temporary without its random end: "<file>.skribon-tmp.", the file's name cut
// short where the whole would not fit into a file name. The marker stays, so the clean-up
// still knows it.
QByteArray tempStamm(const QByteArray& ziel) {
  const QByteArray marke = QFile::encodeName(kTempMarke);
  const qsizetype name = ziel.lastIndexOf('/') + 1;
  const qsizetype platz = DateinameHoechstBytes - marke.size() - 6;
  return ziel.first(name + utf8Schnitt(QByteArrayView(ziel).sliced(name), platz)) + marke;
}

bool istNeueTemporaere(QStringView name) {
  const qsizetype vor = name.size() - 6 - kTempMarke.size();
  if (vor < 1 || !name.sliced(vor).startsWith(kTempMarke)) return false;
  for (const QChar c : name.last(6))
    if (!(c.isDigit() || (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z'))) return false;
  return true;
}

// Six letters of mixed case as in "<file>.aBcDeF": how older versions named the temporary.
// Never one of the word-like forms (all lower, all upper, capitalised).
bool istAlteTempKennung(QStringView t) {
  if (t.size() != 6) return false;
  int gross = 0;
  for (const QChar c : t) {
    if (c >= u'A' && c <= u'Z') ++gross;
    else if (!(c >= u'a' && c <= u'z')) return false;
  }
  if (gross == 0 || gross == 6) return false;
  const bool nurErstes = gross == 1 && t[0].isUpper();
  return !nurErstes;
}

// Files the program itself replaces atomically: a note "<name>.tNN", a notepad's "<name>.inf"
// and a settings file "<name>.ini".
bool istEigeneDatei(QStringView name) {
  const qsizetype punkt = name.lastIndexOf(u'.');
  if (punkt < 1) return false;
  const QStringView endung = name.sliced(punkt + 1);
  for (const char16_t* e : {u"inf", u"ini"})
    if (endung.compare(QStringView(e), Qt::CaseInsensitive) == 0) return true;
  return endung.size() == 3 && (endung[0] == u't' || endung[0] == u'T') && endung[1] >= u'0' &&
         endung[1] <= u'9' && endung[2] >= u'0' && endung[2] <= u'9';
}

// The rename is only durable once the folder's entry is on disk too.
void ordnerSynchronisieren(const QByteArray& ordner) {
  const int fd = ::open(ordner.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

// The folders the outermost OrdnerSyncGebuendelt of this thread will sync; nullptr while there
// is none.
thread_local QList<QByteArray>* gebuendelt = nullptr;

void ordnerSynchronisierenOderVormerken(const QByteArray& ordner) {
  if (!gebuendelt) ordnerSynchronisieren(ordner);
  else if (!gebuendelt->contains(ordner)) gebuendelt->append(ordner);
}

bool misslungen(QString* fehler, const QString& pfad, int fehlerNummer) {
  letzterFehler = fehlerNummer ? fehlerNummer : EIO;
  fehlerSetzen(fehler, pfad, letzterFehler);
  return false;
}

// A step of an in-place write that went wrong, or that the test hook fails: false, errno set.
bool schrittGelungen(AnOrtSchritt schritt, bool ok) {
  if (!ok) return false;
  if (const int e = anOrtHaken ? anOrtHaken(schritt) : 0) {
    errno = e;
    return false;
  }
  return true;
}

// Writes bytes at an offset, going on after short and interrupted writes.
bool anStelleSchreiben(int fd, QByteArrayView bytes, qsizetype ab) {
  for (qsizetype fertig = 0; fertig < bytes.size();) {
    const ssize_t n =
        ::pwrite(fd, bytes.data() + fertig, size_t(bytes.size() - fertig), off_t(ab + fertig));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      if (n == 0) errno = EIO;
      return false;
    }
    fertig += n;
  }
  return true;
}

// A write step of an in-place write. A failure the test hook sends comes after half the bytes,
// as from a disk that fills up.
bool schreibSchritt(AnOrtSchritt schritt, int fd, QByteArrayView bytes, qsizetype ab) {
  const int e = anOrtHaken ? anOrtHaken(schritt) : 0;
  if (!anStelleSchreiben(fd, e ? bytes.first(bytes.size() / 2) : bytes, ab)) return false;
  if (e) errno = e;
  return !e;
}

bool altesLesen(int fd, QByteArray* alt) {
  struct stat st;
  if (::fstat(fd, &st) != 0) return false;
  alt->resize(qsizetype(st.st_size));
  qsizetype fertig = 0;
  while (fertig < alt->size()) {
    const ssize_t n = ::pread(fd, alt->data() + fertig, size_t(alt->size() - fertig), off_t(fertig));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    if (n == 0) break;  // shorter than it was a moment ago
    fertig += n;
  }
  alt->truncate(fertig);
  return schrittGelungen(AnOrtSchritt::Lesen, true);
}

// The old bytes and length back after a failed in-place write: over blocks the file has, then
// cut, so it needs no new space.
bool altesZurueck(int fd, const QByteArray& alt) {
  return anStelleSchreiben(fd, alt, 0) && ::ftruncate(fd, off_t(alt.size())) == 0 &&
         ::fsync(fd) == 0;
}

// Overwrites the file itself, so that a failure leaves it exactly as it was: the part beyond the
// old end goes first, so a full disk stops the write before a byte of the old is gone; the old
// bytes, held from the start, go back over whatever a later step wrote.
bool anOrtSchreiben(const QString& pfad, const QByteArray& ziel, const QByteArray& bytes,
                    QString* fehler, DateiStand* neuerStand) {
  int fd = ::open(ziel.constData(), O_RDWR | O_CLOEXEC);
  if (fd < 0) return misslungen(fehler, pfad, errno);
  QByteArray alt;
  if (!altesLesen(fd, &alt)) {
    const int e = errno;
    ::close(fd);
    return misslungen(fehler, pfad, e);
  }
  const QByteArrayView neu(bytes);
  const qsizetype gemeinsam = qMin(alt.size(), neu.size());
  const bool ok =
      (neu.size() <= alt.size() ||
       schreibSchritt(AnOrtSchritt::Verlaengern, fd, neu.sliced(alt.size()), alt.size())) &&
      schreibSchritt(AnOrtSchritt::Ueberschreiben, fd, neu.first(gemeinsam), 0) &&
      (neu.size() >= alt.size() ||
       schrittGelungen(AnOrtSchritt::Kuerzen, ::ftruncate(fd, off_t(neu.size())) == 0)) &&
      schrittGelungen(AnOrtSchritt::Synchronisieren, ::fsync(fd) == 0);
  if (ok) {
    if (neuerStand) DateiStandLesen(fd, neuerStand);
    const bool zu = ::close(fd) == 0;
    if (schrittGelungen(AnOrtSchritt::Schliessen, zu)) return true;
    // A failed close has let go of the file: it is opened again to be put back.
    const int e = errno;
    fd = ::open(ziel.constData(), O_WRONLY | O_CLOEXEC);
    errno = e;
  }
  const int e = errno;
  const bool zurueck = fd >= 0 && altesZurueck(fd, alt);
  if (fd >= 0) ::close(fd);
  if (neuerStand) *neuerStand = DateiStand{};
  misslungen(fehler, pfad, e);
  if (fehler && !zurueck)
    *fehler += QStringLiteral(" Der alte Inhalt der Datei ließ sich nicht wiederherstellen.");
  return false;
}

bool schreiben(const QString& pfad, const QByteArray& bytes, QString* fehler,
               DateiStand* neuerStand, bool anOrtErlaubt) {
  if (neuerStand) *neuerStand = DateiStand{};
  letzterFehler = 0;
  if (pfad.isEmpty()) {
    letzterFehler = ENOENT;
    if (fehler) *fehler = QStringLiteral("Es wurde kein Dateiname angegeben.");
    return false;
  }
  const QString zielText = zielPfad(pfad);
  const QByteArray ziel = QFile::encodeName(zielText);
  const QByteArray ordner = QFile::encodeName(QFileInfo(zielText).absolutePath());
  struct stat alt;
  const bool gibtEs = ::stat(ziel.constData(), &alt) == 0;
  if (gibtEs && S_ISDIR(alt.st_mode)) return misslungen(fehler, pfad, EISDIR);
  // A pipe or device in its place is not ours to replace.
  if (gibtEs && !S_ISREG(alt.st_mode)) return misslungen(fehler, pfad, EINVAL);

  const bool anOrtMoeglich =
      anOrtErlaubt && gibtEs && ::access(ziel.constData(), W_OK) == 0;
  if (anOrtMoeglich && !OrdnerNimmtNeueDateien(QFile::decodeName(ordner)))
    return anOrtSchreiben(pfad, ziel, bytes, fehler, neuerStand);

  // The temporary is private until it has the old file's mode; a new file gets the usual one.
  const QByteArray stamm = tempStamm(ziel);
  QByteArray temp;
  int fd = -1;
  for (int versuch = 0; versuch < 64 && fd < 0; ++versuch) {
    temp = stamm + tempKennung();
    fd = ::open(temp.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, gibtEs ? 0600 : 0666);
    if (fd < 0 && errno != EEXIST) break;
  }
  if (fd < 0) {
    const int e = errno;
    if (anOrtMoeglich && (e == EACCES || e == EPERM || e == EROFS))
      return anOrtSchreiben(pfad, ziel, bytes, fehler, neuerStand);
    return misslungen(fehler, pfad, e);
  }
  auto abbrechen = [&](int e) {
    ::close(fd);
    ::unlink(temp.constData());
    return misslungen(fehler, pfad, e);
  };
  if (!AllesSchreiben(fd, bytes)) return abbrechen(errno);
  if (gibtEs) {
    // Keep owner, group and permission bits, so a shared file stays shared. Changing the
    // owner is only allowed to root, changing the group only to its members: best effort.
    if (alt.st_uid != ::geteuid() || alt.st_gid != ::getegid()) {
      if (::fchown(fd, alt.st_uid, alt.st_gid) != 0) (void)::fchown(fd, uid_t(-1), alt.st_gid);
    }
    if (::fchmod(fd, alt.st_mode & 07777) != 0) return abbrechen(errno);
  }
  if (::fsync(fd) != 0) return abbrechen(errno);
  DateiStand temporaer;
  const bool mitStand = neuerStand && DateiStandLesen(fd, &temporaer);
  if (::close(fd) != 0) {
    const int e = errno;
    ::unlink(temp.constData());
    return misslungen(fehler, pfad, e);
  }
  if (::rename(temp.constData(), ziel.constData()) != 0) {
    const int e = errno;
    ::unlink(temp.constData());
    return misslungen(fehler, pfad, e);
  }
  ordnerSynchronisierenOderVormerken(ordner);
  if (mitStand) {
    // The rename changes the change time; report the state only when the file now in place
    // is still the one just written (same inode, size and modification time).
    DateiStand jetzt;
    if (DateiStandLesen(zielText, &jetzt) && jetzt.geraet == temporaer.geraet &&
        jetzt.inode == temporaer.inode && jetzt.groesse == temporaer.groesse &&
        jetzt.mzeitNs == temporaer.mzeitNs)
      *neuerStand = jetzt;
  }
  return true;
}

}  // namespace

bool DateiSynchronisieren(const QString& pfad) {
  const QByteArray name = QFile::encodeName(pfad);
  const int fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  const bool ok = ::fsync(fd) == 0;
  ::close(fd);
  ordnerSynchronisieren(QFile::encodeName(QFileInfo(pfad).absolutePath()));
  return ok;
}

OrdnerSyncGebuendelt::OrdnerSyncGebuendelt() {
  if (!gebuendelt) gebuendelt = &ordner_;
}

OrdnerSyncGebuendelt::~OrdnerSyncGebuendelt() {
  if (gebuendelt != &ordner_) return;
  gebuendelt = nullptr;
  for (const QByteArray& o : ordner_) ordnerSynchronisieren(o);
}

void OrdnerSyncGebuendelt::jetztSynchronisieren() {
  if (!gebuendelt) return;
  for (const QByteArray& o : std::exchange(*gebuendelt, {})) ordnerSynchronisieren(o);
}

bool BytesSchreibenAtomar(const QString& pfad, const QByteArray& bytes, QString* fehler,
                          DateiStand* neuerStand) {
  return schreiben(pfad, bytes, fehler, neuerStand, false);
}

bool BytesSchreibenAtomar(const QString& pfad, const QByteArray& bytes, QString* fehler) {
  return schreiben(pfad, bytes, fehler, nullptr, false);
}

bool TextSchreiben(const QString& pfad, const QString& text, QString* fehler) {
  return schreiben(pfad, TextKodieren(text), fehler, nullptr, false);
}

bool BytesSchreibenAnOrt(const QString& pfad, const QByteArray& bytes, QString* fehler,
                         DateiStand* neuerStand) {
  return schreiben(pfad, bytes, fehler, neuerStand, true);
}

bool TextSchreibenAnOrt(const QString& pfad, const QString& text, QString* fehler,
                        DateiStand* neuerStand) {
  return schreiben(pfad, TextKodieren(text), fehler, neuerStand, true);
}

int LetzterSchreibfehler() { return letzterFehler; }

void SetzeOrdnerSchreibPruefung(bool (*pruefung)(const QString& ordner)) {
  ordnerPruefung = pruefung;
}

void SetzeAnOrtHaken(int (*haken)(AnOrtSchritt schritt)) { anOrtHaken = haken; }

QString NamensteilKuerzen(const QString& teil, qsizetype hoechstBytes) {
  const QByteArray bytes = teil.toUtf8();
  const qsizetype n = utf8Schnitt(bytes, hoechstBytes);
  return n == bytes.size() ? teil : QString::fromUtf8(bytes.first(n));
}

int AlteTemporaereEntfernen(const QString& ordner, qint64 mindestAlterSekunden) {
  if (ordner.isEmpty()) return 0;
  const QDir dir(ordner);
  const qint64 jetzt = QDateTime::currentSecsSinceEpoch();
  int entfernt = 0;
  const QStringList namen = dir.entryList(QDir::Files | QDir::Hidden | QDir::System);
  for (const QString& name : namen) {
    if (!istNeueTemporaere(name)) {
      // The older form "Dormik.ini.aBcDeF" is also how a user may name a file ("Foto.jpg.iPhone"):
      // only a leftover beside one of the program's own files is certainly ours.
      if (name.size() < 9 || name[name.size() - 7] != u'.') continue;
      if (!istAlteTempKennung(QStringView(name).right(6))) continue;
      const QString zielName = name.left(name.size() - 7);
      if (!istEigeneDatei(zielName) || !QFileInfo(dir.filePath(zielName)).isFile()) continue;
    }
    const QByteArray pfad = QFile::encodeName(dir.filePath(name));
    struct stat st;
    // Only plain files; a temporary still being written has a recent time.
    if (::lstat(pfad.constData(), &st) != 0 || !S_ISREG(st.st_mode)) continue;
    if (jetzt - qint64(st.st_mtim.tv_sec) < mindestAlterSekunden) continue;
    if (::unlink(pfad.constData()) == 0) ++entfernt;
  }
  return entfernt;
}

bool TextAnhaengen(const QString& pfad, const QString& text) {
  if (pfad.isEmpty()) return false;
  const QFileInfo info(pfad);
  if (info.exists() && !info.isFile()) return false;
  QFile f(pfad);
  if (!f.open(QIODevice::WriteOnly | QIODevice::Append)) return false;
  const QByteArray bytes = TextKodieren(text);
  if (f.write(bytes) != bytes.size()) return false;
  return f.flush();
}

bool AllesSchreiben(int fd, const QByteArray& bytes) {
  const char* p = bytes.constData();
  qsizetype rest = bytes.size();
  while (rest > 0) {
    const ssize_t n = ::write(fd, p, size_t(rest));
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    p += n;
    rest -= n;
  }
  return true;
}

}  // namespace Plattform
