// Folder listings kept current from inotify, and searches of folders that cannot be watched,
// for case-insensitive name lookups.
#include "platform/ordnerindex.h"

#include <QDateTime>
#include <QFile>
#include <QHash>
#include <QMutex>
#include <QMutexLocker>
#include <QSet>
#include <algorithm>

#include <cerrno>
#include <dirent.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

namespace Plattform {

namespace {

// Case folded per character, as QString::compare with Qt::CaseInsensitive compares.
QString falten(QStringView t) {
  QString aus;
  aus.reserve(t.size());
  for (qsizetype i = 0; i < t.size(); ++i) {
    const QChar c = t[i];
    if (c.isHighSurrogate() && i + 1 < t.size() && t[i + 1].isLowSurrogate()) {
      const char32_t f = QChar::toCaseFolded(QChar::surrogateToUcs4(c, t[i + 1]));
      aus += QChar::highSurrogate(f);
      aus += QChar::lowSurrogate(f);
      ++i;
    } else {
      aus += QChar(char16_t(QChar::toCaseFolded(char32_t(c.unicode()))));
    }
  }
  return aus;
}

// A name asked for, ready to be compared with raw entries.
struct Gesucht {
  QString gefaltet;
  QByteArray ascii;  // gefaltet where it is all ASCII, else empty
};

constexpr int kNichtBeobachtet = -1;  // tried again when next asked for (the folder was missing)
constexpr int kUnbeobachtbar = -2;   // searched again when changed, while this folder stays

struct Ordner {
  int wd = kNichtBeobachtet;  // else the inotify watch
  dev_t geraet = 0;           // the folder the watch and the names belong to
  ino_t inode = 0;
  bool vollstaendig = false;  // watched: namen holds every entry
  // Unwatched: namen holds the entries equal to the names in gesucht, as they were at mzeitNs;
  // kept only when the folder was quiet then.
  qint64 mzeitNs = -1;
  bool ruhig = false;
  QSet<QString> gesucht;
  QHash<QString, QStringList> namen;  // folded -> the names as spelled

  void dazu(const QString& n) {
    QStringList& l = namen[falten(n)];
    if (!l.contains(n)) l.append(n);
  }
  void weg(const QString& n) {
    const auto it = namen.find(falten(n));
    if (it == namen.end()) return;
    it->removeAll(n);
    if (it->isEmpty()) namen.erase(it);
  }
};

struct Zustand {
  QMutex sperre;
  int fd = -1;
  bool fdVersucht = false;
  bool beobachten = true;
  quint64 lesevorgaenge = 0;
  QHash<QString, Ordner> ordner;
  QHash<int, QString> wds;
};

Zustand& zustand() {
  static Zustand z;
  return z;
}

// File systems whose change notices miss what other machines do.
bool imNetz(const QByteArray& pfad) {
  struct statfs fs;
  if (::statfs(pfad.constData(), &fs) != 0) return false;  // missing: the watch says so
  switch (static_cast<unsigned long>(fs.f_type)) {
    case 0x6969:      // NFS
    case 0x517B:      // SMB
    case 0xFF534D42:  // CIFS
    case 0xFE534D42:  // SMB2
    case 0x65735546:  // FUSE (sshfs and others)
    case 0x01021997:  // 9P
    case 0x5346414F:  // AFS
    case 0x6B414653:  // kAFS
    case 0x00C36400:  // Ceph
    case 0x73757245:  // Coda
    case 0x564C:      // NCP
    case 0x7461636F:  // OCFS2
    case 0x01161970:  // GFS2
    case 0x0BD00BD0:  // Lustre
      return true;
    default:
      return false;
  }
}

bool lesen(Zustand& z, const QByteArray& pfad, Ordner* o) {
  DIR* d = ::opendir(pfad.constData());
  if (!d) return false;
  ++z.lesevorgaenge;
  o->namen.clear();
  while (const dirent* e = ::readdir(d)) {
    const char* n = e->d_name;
    if (n[0] == '.' && (n[1] == 0 || (n[1] == '.' && n[2] == 0))) continue;
    o->dazu(QFile::decodeName(n));
  }
  ::closedir(d);
  return true;
}

// Unwatched: one pass over the entries that keeps only those equal to a name asked for. An
// entry is compared only when its length is a wanted one (folding keeps the UTF-16 length),
// and decoded only when it is not plain ASCII.
bool durchsuchen(Zustand& z, const QByteArray& pfad, const QList<const Gesucht*>& gesucht, Ordner* o) {
  DIR* d = ::opendir(pfad.constData());
  if (!d) return false;
  ++z.lesevorgaenge;
  while (const dirent* e = ::readdir(d)) {
    const auto* n = reinterpret_cast<const unsigned char*>(e->d_name);
    if (n[0] == '.' && (n[1] == 0 || (n[1] == '.' && n[2] == 0))) continue;
    qsizetype laenge = 0;
    bool ascii = true;
    const unsigned char* c = n;
    for (; *c; ++c) {
      if (*c < 0x80) ++laenge;
      else {
        ascii = false;
        if (*c >= 0xC0) laenge += *c >= 0xF0 ? 2 : 1;  // a sequence's lead: one or two units
      }
    }
    QString gefaltet;
    for (const Gesucht* g : gesucht) {
      if (g->gefaltet.size() != laenge) continue;
      if (ascii) {
        // Plain ASCII folds to ASCII: it can equal only a name that folds to ASCII.
        if (g->ascii.size() != c - n) continue;
        qsizetype i = 0;
        while (i < g->ascii.size() && (n[i] >= 'A' && n[i] <= 'Z' ? n[i] + 32 : n[i]) == g->ascii[i]) ++i;
        if (i < g->ascii.size()) continue;
      } else {
        if (gefaltet.isNull()) gefaltet = falten(QFile::decodeName(e->d_name));
        if (gefaltet != g->gefaltet) continue;
      }
      o->dazu(QFile::decodeName(e->d_name));
    }
  }
  ::closedir(d);
  for (const Gesucht* g : gesucht) o->gesucht.insert(g->gefaltet);
  return true;
}

void vergessen(Zustand& z, int wd) {
  const QString pfad = z.wds.take(wd);
  const auto it = z.ordner.find(pfad);
  if (it != z.ordner.end() && it->wd == wd) z.ordner.erase(it);
}

// What is kept of a folder and its watch: looked at afresh when next asked for.
void verwerfen(Zustand& z, Ordner& o) {
  if (o.wd >= 0) {
    ::inotify_rm_watch(z.fd, o.wd);
    z.wds.remove(o.wd);
  }
  o = Ordner();
}

void allesVerwerfen(Zustand& z) {
  for (auto it = z.wds.cbegin(); it != z.wds.cend(); ++it) ::inotify_rm_watch(z.fd, it.key());
  z.wds.clear();
  z.ordner.clear();
}

// Applies what the kernel reported since the last call: one read when nothing happened.
void aenderungenLesen(Zustand& z) {
  if (z.fd < 0) return;
  alignas(inotify_event) char puffer[16384];
  for (;;) {
    const ssize_t n = ::read(z.fd, puffer, sizeof puffer);
    if (n <= 0) {
      if (n < 0 && errno == EINTR) continue;
      return;
    }
    for (ssize_t pos = 0; pos < n;) {
      const auto* e = reinterpret_cast<const inotify_event*>(puffer + pos);
      pos += ssize_t(sizeof(inotify_event) + e->len);
      if (e->mask & IN_Q_OVERFLOW) {
        // Notices were lost, a folder's removal among them perhaps (and the folder made again
        // may have the old inode number): every folder is watched and read anew.
        allesVerwerfen(z);
        continue;
      }
      const auto wd = z.wds.constFind(e->wd);
      if (wd == z.wds.cend()) continue;
      if (e->mask & (IN_IGNORED | IN_DELETE_SELF | IN_MOVE_SELF | IN_UNMOUNT)) {
        // The folder went (or another may take its path): watched afresh when next asked for.
        if (!(e->mask & IN_IGNORED)) ::inotify_rm_watch(z.fd, e->wd);
        vergessen(z, e->wd);
        continue;
      }
      const auto o = z.ordner.find(*wd);
      if (o == z.ordner.end() || !o->vollstaendig || e->len == 0) continue;
      const QString name = QFile::decodeName(e->name);
      if (e->mask & (IN_CREATE | IN_MOVED_TO)) o->dazu(name);
      else if (e->mask & (IN_DELETE | IN_MOVED_FROM)) o->weg(name);
    }
  }
}

void beobachten(Zustand& z, const QString& pfad, const QByteArray& roh, Ordner* o) {
  if (!z.fdVersucht) {
    z.fdVersucht = true;
    z.fd = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
  }
  // Off, on a network, out of watches, or the same folder already watched under another path
  // (which keeps the watch): searched again when changed.
  o->wd = kUnbeobachtbar;
  if (!z.beobachten || z.fd < 0 || imNetz(roh)) return;
  // Watched before it is read: a change made meanwhile is applied after the listing.
  const int wd = ::inotify_add_watch(z.fd, roh.constData(),
                                     IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO |
                                         IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR);
  if (wd >= 0 && !z.wds.contains(wd)) {
    o->wd = wd;
    z.wds.insert(wd, pfad);
  } else if (wd < 0 && (errno == ENOENT || errno == ENOTDIR)) {
    o->wd = kNichtBeobachtet;  // watched once it exists
  }
}

// The folder's entries for the names asked for, current; nullptr when the folder cannot be read.
const Ordner* aktuell(Zustand& z, const QString& pfad, const QList<Gesucht>& gesucht) {
  Ordner& o = z.ordner[pfad];
  const QByteArray roh = QFile::encodeName(pfad);
  struct stat st;
  if (::stat(roh.constData(), &st) != 0 || !S_ISDIR(st.st_mode)) {
    verwerfen(z, o);
    return nullptr;
  }
  // No notice tells of a mount over the folder, a rename further up or a link pointed
  // elsewhere: another folder at the path is looked at afresh. (Taken before the watch is
  // made: a change in between shows next time.)
  if (st.st_dev != o.geraet || st.st_ino != o.inode) {
    verwerfen(z, o);
    o.geraet = st.st_dev;
    o.inode = st.st_ino;
  }
  if (o.wd == kNichtBeobachtet) beobachten(z, pfad, roh, &o);
  if (o.wd >= 0) {
    if (!o.vollstaendig) o.vollstaendig = lesen(z, roh, &o);
    return o.vollstaendig ? &o : nullptr;
  }
  const qint64 mzeitNs = qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
  const bool ruhig = QDateTime::currentMSecsSinceEpoch() - mzeitNs / 1000000 > 2000;
  if (o.mzeitNs != mzeitNs || !o.ruhig) {
    o.gesucht.clear();
    o.namen.clear();
  }
  QList<const Gesucht*> fehlen;
  for (const Gesucht& g : gesucht)
    if (!o.gesucht.contains(g.gefaltet)) fehlen.append(&g);
  if (!fehlen.isEmpty() && !durchsuchen(z, roh, fehlen, &o)) {
    o.mzeitNs = -1;
    return nullptr;
  }
  // Found while the folder still changes: used this once.
  o.mzeitNs = mzeitNs;
  o.ruhig = ruhig;
  return &o;
}

}  // namespace

QList<QStringList> NamenOhneGrossKlein(const QStringList& ordner, const QString& name) {
  return NamenOhneGrossKlein(ordner, QStringList{name}).constFirst();
}

QList<QList<QStringList>> NamenOhneGrossKlein(const QStringList& ordner, const QStringList& namen) {
  QList<QList<QStringList>> ergebnis(namen.size(), QList<QStringList>(ordner.size()));
  QStringList gefaltet;
  QList<Gesucht> gesucht;
  for (const QString& name : namen) {
    gefaltet.append(falten(name));
    if (name.isEmpty() || std::any_of(gesucht.cbegin(), gesucht.cend(),
                                      [&](const Gesucht& g) { return g.gefaltet == gefaltet.back(); }))
      continue;
    const bool ascii = std::all_of(gefaltet.back().cbegin(), gefaltet.back().cend(),
                                   [](QChar c) { return c.unicode() < 0x80; });
    gesucht.append({gefaltet.back(), ascii ? gefaltet.back().toLatin1() : QByteArray()});
  }
  if (gesucht.isEmpty()) return ergebnis;
  Zustand& z = zustand();
  QMutexLocker lock(&z.sperre);
  aenderungenLesen(z);
  for (qsizetype i = 0; i < ordner.size(); ++i) {
    if (ordner[i].isEmpty()) continue;
    if (const qsizetype erster = ordner.indexOf(ordner[i]); erster < i) {
      for (QList<QStringList>& n : ergebnis) n[i] = n[erster];
      continue;
    }
    const Ordner* o = aktuell(z, ordner[i], gesucht);
    for (qsizetype k = 0; k < namen.size(); ++k) {
      const QString& name = namen[k];
      if (name.isEmpty()) continue;
      QStringList& treffer = ergebnis[k][i];
      if (!o) {
        treffer = {name};
        continue;
      }
      treffer = o->namen.value(gefaltet[k]);
      // Folding may join more than QString::compare does: keep only its equals.
      treffer.removeIf([&](const QString& n) { return n.compare(name, Qt::CaseInsensitive) != 0; });
      std::sort(treffer.begin(), treffer.end());
      const qsizetype genau = treffer.indexOf(name);
      if (genau > 0) treffer.move(genau, 0);
    }
  }
  return ergebnis;
}

quint64 OrdnerLesevorgaenge() {
  Zustand& z = zustand();
  QMutexLocker lock(&z.sperre);
  return z.lesevorgaenge;
}

void SetzeOrdnerBeobachtung(bool an) {
  Zustand& z = zustand();
  QMutexLocker lock(&z.sperre);
  z.beobachten = an;
  allesVerwerfen(z);
  aenderungenLesen(z);  // the notices of the removed watches
}

}  // namespace Plattform
