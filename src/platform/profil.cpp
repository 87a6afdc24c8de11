// Profile strings: our own reader and writer for INI files in the manner of the Windows profile
// API. A file is kept as its own bytes; a write splices in only the line it must and replaces
// the file atomically, so hand edits, other encodings and line ends survive.
#include "platform/profil.h"

#include <QDebug>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QMutex>
#include <QMutexLocker>
#include <QVector>
#include <memory>
#include <optional>

#include "platform/sperrdatei.h"
#include "platform/system.h"
#include "platform/textdatei.h"

namespace Plattform {

namespace {

constexpr int kLeseGrenze = 999;   // what the Windows version reads of a value
constexpr int kCacheGroesse = 64;  // files kept parsed; the program reads only a handful

bool istLeerzeichen(QChar c) { return c == u' ' || c == u'\t'; }
bool istLeerbyte(char c) { return c == ' ' || c == '\t'; }

QStringView trimmen(QStringView t) {
  qsizetype a = 0, e = t.size();
  while (a < e && istLeerzeichen(t[a])) ++a;
  while (e > a && istLeerzeichen(t[e - 1])) --e;
  return t.mid(a, e - a);
}

QByteArrayView trimmen(QByteArrayView t) {
  qsizetype a = 0, e = t.size();
  while (a < e && istLeerbyte(t[a])) ++a;
  while (e > a && istLeerbyte(t[e - 1])) --e;
  return t.sliced(a, e - a);
}

QString falten(QStringView t) { return t.toString().toCaseFolded(); }

struct Zeile {
  qsizetype start = 0;   // offset in the file
  qsizetype laenge = 0;  // without the line end
  qsizetype ende = 0;    // bytes of the line end: 2 (CR LF), 1 (LF or CR), 0 (last line)
};

struct Eintrag {
  int zeile = 0;
  QString name;  // as spelled in the file
  QString wert;  // trimmed
};

struct Abschnitt {
  QString name;
  QString gefaltet;
  int kopf = 0;  // line of "[name]"
  int ende = 0;  // one past the section's last line
  // Built on first use: a read needs only its own section.
  mutable bool indiziert = false;
  mutable QHash<QString, Eintrag> schluessel;  // case-folded key -> first occurrence
  mutable QStringList reihenfolge;             // key names in file order, first spelling
};

// One parsed file. Only used while sperre() is held (the lazy index changes it).
struct Profil {
  QByteArray daten;
  qsizetype bom = 0;  // 3 when the file starts with a UTF-8 byte order mark
  // Found on the first write: a file of the Windows program (Windows-1252 bytes and no UTF-8
  // sequence) gets new lines in Windows-1252 where they fit.
  mutable std::optional<bool> cp1252;
  QVector<Zeile> zeilen;
  QVector<Abschnitt> abschnitte;  // every section header, duplicates included
  QHash<QString, int> index;      // case-folded name -> first section of that name

  QByteArrayView bytes(int i) const {
    return QByteArrayView(daten.constData() + zeilen[i].start, zeilen[i].laenge);
  }
  // Each piece on its own: valid UTF-8 sequences as UTF-8, stray bytes as Windows-1252, a
  // U+FEFF kept. So no line reads differently because of another, and a name holding a
  // U+FEFF is found again.
  static QString dekodieren(QByteArrayView b) {
    for (const char c : b)
      if (uchar(c) >= 0x80) return GemischtDekodieren(b);
    return QString::fromLatin1(b);
  }
  bool istCp1252() const {
    if (!cp1252) {
      const ByteArten arten = ByteArtenPruefen(QByteArrayView(daten).sliced(bom));
      cp1252 = arten.fremd && !arten.utf8;
    }
    return *cp1252;
  }
  bool leer(int i) const { return trimmen(bytes(i)).isEmpty(); }
  qsizetype zeilenEnde(int i) const { return zeilen[i].start + zeilen[i].laenge + zeilen[i].ende; }

  const Abschnitt* finden(const QString& gefaltet) const {
    const int i = index.value(gefaltet, -1);
    if (i < 0) return nullptr;
    const Abschnitt& a = abschnitte[i];
    if (!a.indiziert) indizieren(a);
    return &a;
  }

  void indizieren(const Abschnitt& a) const {
    for (int i = a.kopf + 1; i < a.ende; ++i) {
      const QByteArrayView b = trimmen(bytes(i));
      const qsizetype gleich = b.indexOf('=');
      if (gleich <= 0) continue;  // a line without "=" is kept on write but is no key
      Eintrag e;
      e.zeile = i;
      e.name = trimmen(dekodieren(b.first(gleich))).toString();
      if (e.name.isEmpty()) continue;
      QString f = falten(e.name);
      if (a.schluessel.contains(f)) continue;
      e.wert = trimmen(dekodieren(b.sliced(gleich + 1))).toString();
      a.reihenfolge.append(e.name);
      a.schluessel.insert(std::move(f), std::move(e));
    }
    a.indiziert = true;
  }
};

using ProfilZeiger = std::shared_ptr<const Profil>;

// Splits into lines (CR LF, LF or a lone CR end a line) and finds the section headers.
// "[", "]", blanks and line ends are the same bytes in UTF-8 and Windows-1252.
ProfilZeiger zerlegen(QByteArray daten) {
  auto p = std::make_shared<Profil>();
  p->daten = std::move(daten);
  const QByteArray& d = p->daten;
  qsizetype pos = d.startsWith("\xEF\xBB\xBF") ? 3 : 0;
  p->bom = pos;

  const qsizetype n = d.size();
  const char* c = d.constData();
  while (pos < n) {
    qsizetype e = pos;
    while (e < n && c[e] != '\n' && c[e] != '\r') ++e;
    Zeile z;
    z.start = pos;
    z.laenge = e - pos;
    if (e < n) z.ende = (c[e] == '\r' && e + 1 < n && c[e + 1] == '\n') ? 2 : 1;
    p->zeilen.append(z);
    pos = e + z.ende;
  }

  for (int i = 0; i < p->zeilen.size(); ++i) {
    const QByteArrayView t = trimmen(p->bytes(i));
    // Like the system's reader: the name runs to the last ']' of the line.
    const qsizetype zu = t.startsWith('[') ? t.lastIndexOf(']') : -1;
    if (zu <= 0) continue;
    if (!p->abschnitte.isEmpty()) p->abschnitte.last().ende = i;
    Abschnitt a;
    a.name = trimmen(p->dekodieren(t.sliced(1, zu - 1))).toString();
    a.gefaltet = a.name.toCaseFolded();
    a.kopf = i;
    p->abschnitte.append(std::move(a));
  }
  if (!p->abschnitte.isEmpty()) p->abschnitte.last().ende = p->zeilen.size();
  // The first section of a name wins.
  for (int i = p->abschnitte.size() - 1; i >= 0; --i) p->index.insert(p->abschnitte[i].gefaltet, i);
  return p;
}

// ---- Cache ------------------------------------------------------------------------------------

struct CacheEintrag {
  DateiStand stand;
  ProfilZeiger profil;
};

QMutex& sperre() {
  static QMutex m;
  return m;
}

QHash<QString, CacheEintrag>& cache() {
  static QHash<QString, CacheEintrag> c;
  return c;
}

quint64 lesevorgaenge = 0;  // guarded by sperre()

void merken(const QString& pfad, const DateiStand& stand, ProfilZeiger profil) {
  auto& c = cache();
  if (c.size() >= kCacheGroesse && !c.contains(pfad)) c.clear();
  c.insert(pfad, CacheEintrag{stand, std::move(profil)});
}

enum class Zustand { Fehlt, Ok, Unlesbar };

// The parsed file; from the cache when device, inode, size and times are unchanged.
// Call with the lock held.
ProfilZeiger laden(const QString& pfad, Zustand* zustand) {
  DateiStand stand;
  if (!DateiStandLesen(pfad, &stand)) {
    cache().remove(pfad);
    // A folder or other non-file in its place must not be replaced by a write.
    *zustand = QFileInfo::exists(pfad) ? Zustand::Unlesbar : Zustand::Fehlt;
    return nullptr;
  }
  const auto it = cache().constFind(pfad);
  if (it != cache().constEnd() && it->stand == stand) {
    *zustand = Zustand::Ok;
    return it->profil;
  }
  *zustand = Zustand::Unlesbar;
  QFile f(pfad);
  if (!f.open(QIODevice::ReadOnly)) {
    cache().remove(pfad);
    return nullptr;
  }
  DateiStand vorher, nachher;
  DateiStandLesen(int(f.handle()), &vorher);
  QByteArray bytes = f.readAll();
  if (f.error() != QFileDevice::NoError) {
    cache().remove(pfad);
    return nullptr;
  }
  const qsizetype groesse = bytes.size();
  ProfilZeiger p = zerlegen(std::move(bytes));
  ++lesevorgaenge;
  // Remember it only when no one wrote to the file while it was read.
  if (DateiStandLesen(int(f.handle()), &nachher) && nachher == vorher && vorher.groesse == groesse)
    merken(pfad, vorher, p);
  else
    cache().remove(pfad);
  *zustand = Zustand::Ok;
  return p;
}

QString absoluterPfad(const QString& datei) {
  if (datei.startsWith(u'/')) return datei;
  return QFileInfo(datei).absoluteFilePath();
}

bool hatZeilenumbruch(const QString& t) { return t.contains(u'\n') || t.contains(u'\r'); }

// Line breaks inside a value would split the line and could forge keys or sections.
QString einzeilig(const QString& wert) {
  if (!hatZeilenumbruch(wert)) return wert;
  QString t = wert;
  t.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
  t.replace(u'\r', u' ');
  t.replace(u'\n', u' ');
  return t;
}

bool gueltigerAbschnitt(const QString& a) { return !a.isEmpty() && !hatZeilenumbruch(a); }

bool gueltigerSchluessel(const QString& s) {
  return !s.isEmpty() && !hatZeilenumbruch(s) && !s.contains(u'=') && !s.startsWith(u'[');
}

const QByteArray kCrLf = QByteArrayLiteral("\r\n");

// New lines, each ending in CR LF: UTF-8, or in a file of the Windows program Windows-1252 where
// the line fits and reads back as itself. Every line is read on its own, so a UTF-8 line among
// Windows-1252 ones changes nothing for the others.
QByteArray kodieren(const Profil& p, const QStringList& texte) {
  QByteArray aus;
  for (const QString& t : texte) {
    QByteArray zeile;
    if (p.istCp1252() && Cp1252Darstellbar(t)) {
      zeile = Cp1252Kodieren(t);
      if (Profil::dekodieren(zeile) != t) zeile.clear();
    }
    aus += zeile.isEmpty() ? t.toUtf8() : zeile;
    aus += kCrLf;
  }
  return aus;
}

// The file with new lines after line nach (which gets a line end if it had none).
QByteArray einfuegenNach(const Profil& p, int nach, const QByteArray& neu) {
  const qsizetype pos = p.zeilenEnde(nach);
  QByteArray b = p.daten.left(pos);
  if (p.zeilen[nach].ende == 0) b += kCrLf;
  return b + neu + p.daten.mid(pos);
}

// Writes the new bytes atomically; but where the folder takes no new file (a shared folder where
// only the files themselves are writable) the file is overwritten in place, as the notes are:
// first its old bytes go to a safety copy in the private temp folder, so that a write cut off
// half-way loses nothing. The copy goes once the write is done.
bool schreibenOderAnOrt(const QString& pfad, const QByteArray* alt, const QByteArray& bytes,
                        DateiStand* stand) {
  if (!alt || OrdnerNimmtNeueDateien(QFileInfo(pfad).absolutePath()) ||
      ::access(QFile::encodeName(pfad).constData(), W_OK) != 0)
    return BytesSchreibenAtomar(pfad, bytes, nullptr, stand);
  // A long name gives way, so that the copy fits where the file itself does.
  const QString kopie =
      CacheTempOrdner() + u'/' +
      NamensteilKuerzen(QFileInfo(pfad).fileName(), DateinameHoechstBytes - 4) +
      QStringLiteral(".bak");
  if (!BytesSchreibenAtomar(kopie, *alt, nullptr)) {
    qDebug() << "Profil: keine Sicherheitskopie, nicht geschrieben:" << pfad;
    return false;
  }
  if (!BytesSchreibenAnOrt(pfad, bytes, nullptr, stand)) return false;  // the copy stays
  QFile::remove(kopie);
  return true;
}

// Read, change, write back atomically. The change gives the new bytes, or nothing when the
// file stays as it is.
template <typename Aenderung>
bool profilAendern(const QString& datei, Aenderung aendern) {
  if (datei.isEmpty()) return false;
  const QString pfad = absoluterPfad(datei);
  // The file lock before the cache lock: a thread holding the file lock may still read.
  const ProfilSperre dateiSperre(pfad);
  QMutexLocker lock(&sperre());
  Zustand zustand;
  ProfilZeiger alt = laden(pfad, &zustand);
  // Never replace a file that could not be read: its other lines would be lost.
  if (zustand == Zustand::Unlesbar) return false;
  if (!alt) alt = zerlegen({});
  const std::optional<QByteArray> bytes = aendern(alt);
  if (!bytes) return true;
  DateiStand stand;
  if (!schreibenOderAnOrt(pfad, zustand == Zustand::Ok ? &alt->daten : nullptr, *bytes, &stand)) {
    cache().remove(pfad);
    return false;
  }
  if (stand.groesse >= 0)
    merken(pfad, stand, zerlegen(*bytes));
  else
    cache().remove(pfad);
  return true;
}

}  // namespace

QString ProfilLesen(const QString& datei, const QString& abschnitt, const QString& schluessel,
                    const QString& vorgabe, bool* gefunden) {
  if (gefunden) *gefunden = false;
  const QStringView a = trimmen(abschnitt), s = trimmen(schluessel);
  if (datei.isEmpty() || a.isEmpty() || s.isEmpty()) return vorgabe;
  const QString pfad = absoluterPfad(datei);
  QMutexLocker lock(&sperre());
  Zustand zustand;
  const ProfilZeiger p = laden(pfad, &zustand);
  if (!p) return vorgabe;
  const Abschnitt* ab = p->finden(falten(a));
  if (!ab) return vorgabe;
  const auto it = ab->schluessel.constFind(falten(s));
  if (it == ab->schluessel.constEnd()) return vorgabe;
  if (gefunden) *gefunden = true;
  // Cut like the read buffer; callers compare with left(999) of what they wrote.
  return it->wert.size() <= kLeseGrenze ? it->wert : it->wert.left(kLeseGrenze);
}

namespace {

// The file with one key written (a and s trimmed, w on one line), or nothing when it is
// already so.
std::optional<QByteArray> eintragen(const Profil& p, const QString& a, const QString& s, const QString& w) {
  const QString fa = falten(a), fs = falten(s);
  const Abschnitt* ab = p.finden(fa);
  const auto eintrag = ab ? ab->schluessel.constFind(fs) : QHash<QString, Eintrag>::const_iterator();
  const bool vorhanden = ab && eintrag != ab->schluessel.constEnd();
  if (vorhanden) {
    // Only this one line changes, and keeps the key's spelling.
    const QString text = eintrag->name + u'=' + w;
    const int zeile = eintrag->zeile;
    if (Profil::dekodieren(p.bytes(zeile)) == text) return std::nullopt;
    const QByteArray neu = kodieren(p, {text});
    return p.daten.left(p.zeilen[zeile].start) + neu + p.daten.mid(p.zeilenEnde(zeile));
  }
  if (ab) {
    // New key after the section's last non-blank line.
    int nach = ab->kopf;
    for (int i = ab->ende - 1; i > ab->kopf; --i)
      if (!p.leer(i)) {
        nach = i;
        break;
      }
    return einfuegenNach(p, nach, kodieren(p, {s + u'=' + w}));
  }
  // New section at the end, set off by an empty line.
  QByteArray b = p.daten;
  if (!p.zeilen.isEmpty()) {
    const int letzte = p.zeilen.size() - 1;
    if (p.zeilen[letzte].ende == 0) b += kCrLf;
    if (!p.leer(letzte)) b += kCrLf;
  }
  return b + kodieren(p, {u'[' + a + u']', s + u'=' + w});
}

}  // namespace

bool ProfilSchreiben(const QString& datei, const QString& abschnitt, const QString& schluessel,
                     const QString& wert) {
  return ProfilSchreiben(datei, {{abschnitt, schluessel, wert}});
}

bool ProfilSchreiben(const QString& datei, const QList<ProfilWert>& werte) {
  QList<ProfilWert> geprueft;
  for (const ProfilWert& w : werte) {
    const QString a = trimmen(w.abschnitt).toString();
    const QString s = trimmen(w.schluessel).toString();
    if (!gueltigerAbschnitt(a) || !gueltigerSchluessel(s)) return false;
    geprueft.append({a, s, einzeilig(w.wert)});
  }
  return profilAendern(datei, [&](const ProfilZeiger& alt) -> std::optional<QByteArray> {
    // Each key on the file as the keys before it left it (parsed again only when another key
    // follows: the writer parses the final bytes itself).
    ProfilZeiger p = alt;
    std::optional<QByteArray> neu;
    bool veraltet = false;
    for (const ProfilWert& w : geprueft) {
      if (veraltet) p = zerlegen(*neu);
      std::optional<QByteArray> b = eintragen(*p, w.abschnitt, w.schluessel, w.wert);
      veraltet = b.has_value();
      if (b) neu = std::move(b);
    }
    return neu;
  });
}

bool ProfilLoeschen(const QString& datei, const QString& abschnitt, const QString& schluessel) {
  const QString a = trimmen(abschnitt).toString();
  const QString s = trimmen(schluessel).toString();
  if (a.isEmpty()) return true;
  if (!QFileInfo::exists(datei)) return true;
  const QString fa = falten(a), fs = falten(s);
  return profilAendern(datei, [&](ProfilZeiger p) -> std::optional<QByteArray> {
    QVector<bool> weg(p->zeilen.size(), false);
    bool geaendert = false;
    if (s.isEmpty()) {
      // Every section of that name: otherwise a later duplicate would take its place.
      for (const Abschnitt& ab : p->abschnitte)
        if (ab.gefaltet == fa)
          for (int i = ab.kopf; i < ab.ende; ++i) weg[i] = geaendert = true;
    } else {
      const Abschnitt* ab = p->finden(fa);
      if (!ab) return std::nullopt;
      // Duplicates of the key go too, or the next one would be read in its place.
      for (int i = ab->kopf + 1; i < ab->ende; ++i) {
        const QByteArrayView b = trimmen(p->bytes(i));
        const qsizetype gleich = b.indexOf('=');
        if (gleich > 0 && falten(trimmen(p->dekodieren(b.first(gleich)))) == fs)
          weg[i] = geaendert = true;
      }
    }
    if (!geaendert) return std::nullopt;
    QByteArray rest = p->daten.left(p->bom);
    rest.reserve(p->daten.size());
    for (int i = 0; i < p->zeilen.size(); ++i)
      if (!weg[i]) rest += QByteArrayView(p->daten.constData() + p->zeilen[i].start,
                                          p->zeilen[i].laenge + p->zeilen[i].ende);
    return rest;
  });
}

QStringList ProfilAbschnitte(const QString& datei) {
  if (datei.isEmpty()) return {};
  QMutexLocker lock(&sperre());
  Zustand zustand;
  const ProfilZeiger p = laden(absoluterPfad(datei), &zustand);
  if (!p) return {};
  QStringList namen;
  for (int i = 0; i < p->abschnitte.size(); ++i)
    if (p->index.value(p->abschnitte[i].gefaltet) == i) namen.append(p->abschnitte[i].name);
  return namen;
}

QStringList ProfilSchluessel(const QString& datei, const QString& abschnitt) {
  const QStringView a = trimmen(abschnitt);
  if (datei.isEmpty() || a.isEmpty()) return {};
  QMutexLocker lock(&sperre());
  Zustand zustand;
  const ProfilZeiger p = laden(absoluterPfad(datei), &zustand);
  if (!p) return {};
  const Abschnitt* ab = p->finden(falten(a));
  if (!ab) return {};
  QStringList namen;
  // Comment lines (";...") are not keys to list, as with the system's enumeration.
  for (const QString& n : ab->reihenfolge)
    if (!n.startsWith(u';')) namen.append(n);
  return namen;
}

void ProfilCacheLeeren() {
  QMutexLocker lock(&sperre());
  cache().clear();
}

quint64 ProfilLesevorgaenge() {
  QMutexLocker lock(&sperre());
  return lesevorgaenge;
}

}  // namespace Plattform
