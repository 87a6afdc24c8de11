// Profile strings: our own reader and writer for INI files in the manner of the Windows profile
// API. A file is kept as its lines' own bytes; a write changes only the line it must and
// replaces the file atomically, so hand edits, other encodings and line ends survive.
#include "platform/profil.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QMutex>
#include <QMutexLocker>
#include <QVector>
#include <memory>

#include "platform/textdatei.h"

namespace Plattform {

namespace {

constexpr int kLeseGrenze = 999;    // the original's read buffer
constexpr int kCacheGroesse = 64;   // files kept parsed; the program reads only a handful

enum class Art : quint8 { Sonst, Abschnitt, Schluessel };

struct Zeile {
  QByteArray inhalt;  // the line's bytes without its line end
  QByteArray ende;    // "\r\n", "\n", "\r", or "" for a last line without one
  Art art = Art::Sonst;
  QString name;       // section or key name as spelled in the file, trimmed
  QString wert;       // value of a key line, trimmed
};

struct Abschnitt {
  QString name;
  QString gefaltet;
  int kopf = 0;  // line of "[name]"
  int ende = 0;  // one past the section's last line
  QHash<QString, int> schluessel;  // case-folded key -> line of its first occurrence
  QStringList reihenfolge;          // key names in file order, first spelling
};

struct Profil {
  QByteArray bom;
  bool utf8 = true;  // false: the file is Windows-1252
  QVector<Zeile> zeilen;
  QVector<Abschnitt> abschnitte;  // every section header, duplicates included
  QHash<QString, int> index;      // case-folded name -> first section of that name
};

using ProfilZeiger = std::shared_ptr<const Profil>;

bool istLeerzeichen(QChar c) { return c == u' ' || c == u'\t'; }

QStringView trimmen(QStringView t) {
  qsizetype a = 0, e = t.size();
  while (a < e && istLeerzeichen(t[a])) ++a;
  while (e > a && istLeerzeichen(t[e - 1])) --e;
  return t.mid(a, e - a);
}

QString falten(QStringView t) { return t.toString().toCaseFolded(); }

void zeileAuswerten(Zeile& z, const QString& text) {
  const QStringView t = trimmen(text);
  if (t.startsWith(u'[')) {
    // Like the system's reader: the name runs to the last ']' of the line.
    const qsizetype zu = t.lastIndexOf(u']');
    if (zu > 0) {
      z.art = Art::Abschnitt;
      z.name = trimmen(t.mid(1, zu - 1)).toString();
      return;
    }
  }
  const qsizetype gleich = t.indexOf(u'=');
  if (gleich < 0) return;  // kept on write, invisible to lookups
  z.art = Art::Schluessel;
  z.name = trimmen(t.left(gleich)).toString();
  z.wert = trimmen(t.mid(gleich + 1)).toString();
}

QString zeileDekodieren(const Profil& p, const QByteArray& inhalt) {
  return p.utf8 ? QString::fromUtf8(inhalt) : Cp1252Dekodieren(inhalt);
}

// Splits into lines (CR LF, LF or a lone CR end a line) and builds the lookup index.
ProfilZeiger zerlegen(const QByteArray& bytes) {
  auto p = std::make_shared<Profil>();
  qsizetype pos = 0;
  if (bytes.startsWith("\xEF\xBB\xBF")) {
    p->bom = bytes.left(3);
    pos = 3;
  }
  p->utf8 = IstGueltigesUtf8(bytes.constData() + pos, bytes.size() - pos);

  const qsizetype n = bytes.size();
  while (pos < n) {
    qsizetype e = pos;
    while (e < n && bytes[e] != '\n' && bytes[e] != '\r') ++e;
    Zeile z;
    z.inhalt = bytes.mid(pos, e - pos);
    qsizetype weiter = e;
    if (e < n) {
      weiter = (bytes[e] == '\r' && e + 1 < n && bytes[e + 1] == '\n') ? e + 2 : e + 1;
      z.ende = bytes.mid(e, weiter - e);
    }
    zeileAuswerten(z, zeileDekodieren(*p, z.inhalt));
    p->zeilen.append(std::move(z));
    pos = weiter;
  }

  Abschnitt* aktuell = nullptr;
  for (int i = 0; i < p->zeilen.size(); ++i) {
    const Zeile& z = p->zeilen[i];
    if (z.art == Art::Abschnitt) {
      if (aktuell) aktuell->ende = i;
      Abschnitt a;
      a.name = z.name;
      a.gefaltet = falten(z.name);
      a.kopf = i;
      p->abschnitte.append(std::move(a));
      aktuell = &p->abschnitte.last();
      if (!p->index.contains(aktuell->gefaltet)) p->index.insert(aktuell->gefaltet, p->abschnitte.size() - 1);
    } else if (z.art == Art::Schluessel && aktuell && !z.name.isEmpty()) {
      const QString f = falten(z.name);
      if (!aktuell->schluessel.contains(f)) {
        aktuell->schluessel.insert(f, i);
        aktuell->reihenfolge.append(z.name);
      }
    }
  }
  if (aktuell) aktuell->ende = p->zeilen.size();
  return p;
}

QByteArray zusammensetzen(const Profil& p) {
  QByteArray b = p.bom;
  qsizetype n = b.size();
  for (const Zeile& z : p.zeilen) n += z.inhalt.size() + z.ende.size();
  b.reserve(n);
  for (const Zeile& z : p.zeilen) {
    b += z.inhalt;
    b += z.ende;
  }
  return b;
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

void merken(const QString& pfad, const DateiStand& stand, ProfilZeiger profil) {
  auto& c = cache();
  if (c.size() >= kCacheGroesse && !c.contains(pfad)) c.clear();
  c.insert(pfad, CacheEintrag{stand, std::move(profil)});
}

enum class Zustand { Fehlt, Ok, Unlesbar };

quint64 lesevorgaenge = 0;  // guarded by sperre()

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
  const QByteArray bytes = f.readAll();
  if (f.error() != QFileDevice::NoError) {
    cache().remove(pfad);
    return nullptr;
  }
  ProfilZeiger p = zerlegen(bytes);
  ++lesevorgaenge;
  // Remember it only when no one wrote to the file while it was read.
  if (DateiStandLesen(int(f.handle()), &nachher) && nachher == vorher &&
      vorher.groesse == bytes.size())
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

// Encodes lines to be written in the file's own encoding. A Windows-1252 file that cannot hold
// one of the new characters is converted to UTF-8 as a whole, line ends kept.
QVector<QByteArray> neueZeilenKodieren(Profil& p, const QStringList& texte) {
  if (!p.utf8) {
    bool darstellbar = true;
    for (const QString& t : texte) darstellbar = darstellbar && Cp1252Darstellbar(t);
    if (darstellbar) {
      QVector<QByteArray> aus;
      for (const QString& t : texte) aus.append(Cp1252Kodieren(t));
      return aus;
    }
    for (Zeile& z : p.zeilen) z.inhalt = Cp1252Dekodieren(z.inhalt).toUtf8();
    p.utf8 = true;
  }
  QVector<QByteArray> aus;
  for (const QString& t : texte) aus.append(t.toUtf8());
  return aus;
}

Zeile neueZeile(const QByteArray& inhalt) {
  Zeile z;
  z.inhalt = inhalt;
  z.ende = QByteArrayLiteral("\r\n");
  return z;
}

// A line that is followed by a new one needs a line end of its own.
void zeilenendeSichern(Profil& p, int zeile) {
  if (zeile >= 0 && zeile < p.zeilen.size() && p.zeilen[zeile].ende.isEmpty())
    p.zeilen[zeile].ende = QByteArrayLiteral("\r\n");
}

bool istLeerzeile(const Zeile& z) {
  for (const char c : z.inhalt)
    if (c != ' ' && c != '\t') return false;
  return true;
}

// Read, change, write back atomically. aendern returns false when nothing changed.
template <typename Aenderung>
bool profilAendern(const QString& datei, Aenderung aendern) {
  if (datei.isEmpty()) return false;
  const QString pfad = absoluterPfad(datei);
  QMutexLocker lock(&sperre());
  Zustand zustand;
  const ProfilZeiger alt = laden(pfad, &zustand);
  // Never replace a file that could not be read: its other lines would be lost.
  if (zustand == Zustand::Unlesbar) return false;
  static const Profil leer;
  const Profil& vorlage = alt ? *alt : leer;
  Profil neu;
  neu.bom = vorlage.bom;
  neu.utf8 = vorlage.utf8;
  neu.zeilen = vorlage.zeilen;
  if (!aendern(vorlage, neu)) return true;
  const QByteArray bytes = zusammensetzen(neu);
  DateiStand stand;
  if (!BytesSchreibenAtomar(pfad, bytes, nullptr, &stand)) {
    cache().remove(pfad);
    return false;
  }
  if (stand.groesse >= 0)
    merken(pfad, stand, zerlegen(bytes));
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
  const int ai = p->index.value(falten(a), -1);
  if (ai < 0) return vorgabe;
  const int zi = p->abschnitte[ai].schluessel.value(falten(s), -1);
  if (zi < 0) return vorgabe;
  if (gefunden) *gefunden = true;
  const QString& wert = p->zeilen[zi].wert;
  if (wert.size() <= kLeseGrenze) return wert;
  // Cut like the read buffer, but never between the two halves of a surrogate pair.
  const int bis = wert[kLeseGrenze - 1].isHighSurrogate() ? kLeseGrenze - 1 : kLeseGrenze;
  return wert.left(bis);
}

bool ProfilSchreiben(const QString& datei, const QString& abschnitt, const QString& schluessel,
                     const QString& wert) {
  const QString a = trimmen(abschnitt).toString();
  const QString s = trimmen(schluessel).toString();
  if (!gueltigerAbschnitt(a) || !gueltigerSchluessel(s)) return false;
  const QString w = einzeilig(wert);
  return profilAendern(datei, [&](const Profil& alt, Profil& neu) {
    const int ai = alt.index.value(falten(a), -1);
    if (ai >= 0) {
      const Abschnitt& ab = alt.abschnitte[ai];
      const int zi = ab.schluessel.value(falten(s), -1);
      if (zi >= 0) {
        // The key keeps its spelling; only this one line changes.
        const QByteArray inhalt = neueZeilenKodieren(neu, {alt.zeilen[zi].name + u'=' + w}).first();
        if (neu.zeilen[zi].inhalt == inhalt) return false;
        neu.zeilen[zi] = neueZeile(inhalt);
        return true;
      }
      // New key after the section's last non-blank line.
      int nach = ab.kopf;
      for (int i = ab.ende - 1; i > ab.kopf; --i)
        if (!istLeerzeile(alt.zeilen[i])) {
          nach = i;
          break;
        }
      const QByteArray inhalt = neueZeilenKodieren(neu, {s + u'=' + w}).first();
      zeilenendeSichern(neu, nach);
      neu.zeilen.insert(nach + 1, neueZeile(inhalt));
      return true;
    }
    // New section at the end, set off by an empty line.
    const QVector<QByteArray> kodiert = neueZeilenKodieren(neu, {u'[' + a + u']', s + u'=' + w});
    if (!neu.zeilen.isEmpty()) {
      zeilenendeSichern(neu, neu.zeilen.size() - 1);
      if (!istLeerzeile(neu.zeilen.last())) neu.zeilen.append(neueZeile({}));
    }
    neu.zeilen.append(neueZeile(kodiert[0]));
    neu.zeilen.append(neueZeile(kodiert[1]));
    return true;
  });
}

bool ProfilLoeschen(const QString& datei, const QString& abschnitt, const QString& schluessel) {
  const QString a = trimmen(abschnitt).toString();
  const QString s = trimmen(schluessel).toString();
  if (a.isEmpty()) return true;
  if (!QFileInfo::exists(datei)) return true;
  const QString fa = falten(a);
  return profilAendern(datei, [&](const Profil& alt, Profil& neu) {
    QVector<bool> weg(alt.zeilen.size(), false);
    bool geaendert = false;
    if (s.isEmpty()) {
      // Every section of that name: otherwise a later duplicate would take its place.
      for (const Abschnitt& ab : alt.abschnitte)
        if (ab.gefaltet == fa)
          for (int i = ab.kopf; i < ab.ende; ++i) weg[i] = geaendert = true;
    } else {
      const int ai = alt.index.value(fa, -1);
      if (ai < 0) return false;
      const Abschnitt& ab = alt.abschnitte[ai];
      const QString fs = falten(s);
      // Duplicates of the key go too, or the next one would be read in its place.
      for (int i = ab.kopf + 1; i < ab.ende; ++i)
        if (alt.zeilen[i].art == Art::Schluessel && falten(alt.zeilen[i].name) == fs)
          weg[i] = geaendert = true;
    }
    if (!geaendert) return false;
    QVector<Zeile> rest;
    rest.reserve(alt.zeilen.size());
    for (int i = 0; i < alt.zeilen.size(); ++i)
      if (!weg[i]) rest.append(alt.zeilen[i]);
    neu.zeilen = std::move(rest);
    return true;
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
  const int ai = p->index.value(falten(a), -1);
  if (ai < 0) return {};
  QStringList namen;
  // Comment lines (";...") are not keys to list, as with the system's enumeration.
  for (const QString& n : p->abschnitte[ai].reihenfolge)
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
