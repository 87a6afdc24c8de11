// Folder listings kept current from inotify, for case-insensitive name lookups.
#include "platform/ordnerindex.h"

#include <QDateTime>
#include <QFile>
#include <QHash>
#include <QMutex>
#include <QMutexLocker>
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

constexpr int kNichtBeobachtet = -1;  // tried again when next asked for (the folder was missing)
constexpr int kUnbeobachtbar = -2;   // read again when changed, for the rest of the run

struct Ordner {
  int wd = kNichtBeobachtet;  // else the inotify watch
  bool vollstaendig = false;
  qint64 mzeitNs = -1;     // unwatched: the time stamp the listing was made at
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

void vergessen(Zustand& z, int wd) {
  const QString pfad = z.wds.take(wd);
  const auto it = z.ordner.find(pfad);
  if (it != z.ordner.end() && it->wd == wd) z.ordner.erase(it);
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
        // Notices were lost: every listing is read again when next asked for.
        for (Ordner& o : z.ordner) o.vollstaendig = false;
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

// The folder's listing, current; nullptr when the folder cannot be read.
const Ordner* aktuell(Zustand& z, const QString& pfad) {
  Ordner& o = z.ordner[pfad];
  if (o.wd >= 0 && o.vollstaendig) return &o;
  const QByteArray roh = QFile::encodeName(pfad);
  if (o.wd == kNichtBeobachtet) {
    if (!z.fdVersucht) {
      z.fdVersucht = true;
      z.fd = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    }
    // Off, on a network, out of watches, or the same folder already watched under another
    // path (which keeps the watch): read again when changed.
    o.wd = kUnbeobachtbar;
    if (z.beobachten && z.fd >= 0 && !imNetz(roh)) {
      // Watched before it is read: a change made meanwhile is applied after the listing.
      const int wd = ::inotify_add_watch(z.fd, roh.constData(),
                                         IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO |
                                             IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR);
      if (wd >= 0 && !z.wds.contains(wd)) {
        o.wd = wd;
        z.wds.insert(wd, pfad);
      } else if (wd < 0 && (errno == ENOENT || errno == ENOTDIR)) {
        o.wd = kNichtBeobachtet;  // watched once it exists
      }
    }
  }
  if (o.wd >= 0) {
    o.vollstaendig = lesen(z, roh, &o);
    return o.vollstaendig ? &o : nullptr;
  }
  struct stat st;
  if (::stat(roh.constData(), &st) != 0 || !S_ISDIR(st.st_mode)) {
    o.vollstaendig = false;
    o.namen.clear();
    return nullptr;
  }
  const qint64 mzeitNs = qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
  const bool ruhig = QDateTime::currentMSecsSinceEpoch() - mzeitNs / 1000000 > 2000;
  if (o.vollstaendig && ruhig && o.mzeitNs == mzeitNs) return &o;
  if (!lesen(z, roh, &o)) {
    o.vollstaendig = false;
    return nullptr;
  }
  // A listing made while the folder still changes is used this once.
  o.vollstaendig = ruhig;
  o.mzeitNs = mzeitNs;
  return &o;
}

}  // namespace

QList<QStringList> NamenOhneGrossKlein(const QStringList& ordner, const QString& name) {
  QList<QStringList> ergebnis(ordner.size());
  if (name.isEmpty()) return ergebnis;
  const QString gefaltet = falten(name);
  Zustand& z = zustand();
  QMutexLocker lock(&z.sperre);
  aenderungenLesen(z);
  for (qsizetype i = 0; i < ordner.size(); ++i) {
    if (ordner[i].isEmpty()) continue;
    QStringList& namen = ergebnis[i];
    const Ordner* o = aktuell(z, ordner[i]);
    if (!o) {
      namen = {name};
      continue;
    }
    namen = o->namen.value(gefaltet);
    // Folding may join more than QString::compare does: keep only its equals.
    namen.removeIf([&](const QString& n) { return n.compare(name, Qt::CaseInsensitive) != 0; });
    std::sort(namen.begin(), namen.end());
    const qsizetype genau = namen.indexOf(name);
    if (genau > 0) namen.move(genau, 0);
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
  for (auto it = z.wds.cbegin(); it != z.wds.cend(); ++it) ::inotify_rm_watch(z.fd, it.key());
  z.wds.clear();
  z.ordner.clear();
  aenderungenLesen(z);  // the notices of the removed watches
}

}  // namespace Plattform
