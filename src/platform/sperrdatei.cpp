#include "platform/sperrdatei.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDebug>
#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QMutex>
#include <QMutexLocker>
#include <QSysInfo>
#include <QThread>
#include <QWaitCondition>
#include <memory>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/textdatei.h"

namespace Plattform {

namespace {

// What QLockFile writes: process id, program name, host name, machine id and boot id, one a
// line. The program name is the executable's file name, as QLockFile's check of a holder
// reads it back from /proc.
QByteArray inhalt() {
  static const QByteArray rest = [] {
    QByteArray programm;
    char puffer[4096];
    const ssize_t n = ::readlink("/proc/self/exe", puffer, sizeof puffer);
    if (n > 0) {
      programm = QByteArray(puffer, n);
      if (programm.endsWith(" (deleted)")) programm.chop(10);
      programm = QFileInfo(QFile::decodeName(programm)).fileName().toUtf8();
    }
    return programm + '\n' + QSysInfo::machineHostName().toUtf8() + '\n' + QSysInfo::machineUniqueId() +
           '\n' + QSysInfo::bootUniqueId() + '\n';
  }();
  return QByteArray::number(qint64(::getpid())) + '\n' + rest;
}

}  // namespace

Sperrdatei::Sperrdatei(const QString& pfad) : pfad_(pfad), qt_(pfad) {}

Sperrdatei::~Sperrdatei() { unlock(); }

bool Sperrdatei::tryLock(int timeout) {
  if (fd_ >= 0 || qt_.isLocked()) return true;
  const QByteArray name = QFile::encodeName(pfad_);
  const int fd = ::open(name.constData(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd >= 0) {
    // Keeps another program's stale-lock removal away while this one holds it.
    (void)::flock(fd, LOCK_EX | LOCK_NB);
    if (!AllesSchreiben(fd, inhalt())) {
      ::close(fd);
      ::unlink(name.constData());
      fehler_ = QLockFile::UnknownError;
      return false;
    }
    fd_ = fd;
    fehler_ = QLockFile::NoError;
    return true;
  }
  if (errno == EEXIST) {
    const bool genommen = qt_.tryLock(timeout);
    fehler_ = genommen ? QLockFile::NoError : qt_.error();
    return genommen;
  }
  fehler_ = (errno == EACCES || errno == EROFS) ? QLockFile::PermissionError : QLockFile::UnknownError;
  return false;
}

void Sperrdatei::unlock() {
  if (fd_ < 0) {
    qt_.unlock();
    return;
  }
  ::unlink(QFile::encodeName(pfad_).constData());
  ::close(fd_);
  fd_ = -1;
}

namespace {

// The holders are kept by path: a relative one as the current folder makes it.
QString absoluterPfad(const QString& datei) {
  if (datei.startsWith(u'/')) return datei;
  return QFileInfo(datei).absoluteFilePath();
}

// ---- Lock ----------------------------------------------------------------------------------

// A read-modify-write takes milliseconds; a holder silent for this long has hung or died on
// another machine (a dead process on this machine is noticed at once).
constexpr int kSperreVeraltetMs = 10000;
// Longest wait before writing without the lock: a hung peer must not freeze the program.
constexpr int kSperreWarteMs = 3000;
// A lock file stays empty only for the moment between its creation and its first write.
constexpr qint64 kLeereSperreVerlassenMs = 1000;

qint64 echteUhrMs() {
  static const QElapsedTimer uhr = [] {
    QElapsedTimer u;
    u.start();
    return u;
  }();
  return uhr.elapsed();
}
void echtePause(int us) { QThread::usleep(us); }

qint64 (*sperrUhr)() = &echteUhrMs;
void (*sperrPause)(int) = &echtePause;

// The frame of one task (the start, the quit): how much lock wait it has left, and the first
// thing that kept a lock from being taken.
struct FristZustand {
  bool aktiv = false;
  qint64 restMs = 0;
  QString hindernis;
};

QMutex& fristSperre() {
  static QMutex m;
  return m;
}

FristZustand& frist() {
  static FristZustand f;
  return f;
}

int erlaubteWartezeit() {
  QMutexLocker lock(&fristSperre());
  const FristZustand& f = frist();
  return f.aktiv ? int(qBound(qint64(0), f.restMs, qint64(kSperreWarteMs))) : kSperreWarteMs;
}

void gewartet(qint64 ms, const QString& hindernis) {
  QMutexLocker lock(&fristSperre());
  FristZustand& f = frist();
  if (!f.aktiv) return;
  f.restMs = qMax<qint64>(0, f.restMs - ms);
  if (f.hindernis.isEmpty()) f.hindernis = hindernis;
}

struct Halter {
  Qt::HANDLE faden = nullptr;
  int tiefe = 0;
  bool gesperrt = false;
  std::shared_ptr<Sperrdatei> datei;
};

QMutex& halterSperre() {
  static QMutex m;
  return m;
}

QWaitCondition& halterFrei() {
  static QWaitCondition w;
  return w;
}

QHash<QString, Halter>& halter() {
  static QHash<QString, Halter> h;
  return h;
}

QString sperrDateiPfad(const QString& pfad) {
  const QString ordner = QFileInfo(pfad).absolutePath();
  if (::access(QFile::encodeName(ordner).constData(), W_OK | X_OK) == 0) {
    // A name too long to take ".lock" is cut short: every program cuts it alike, so they still
    // meet at one lock (and names that share their start merely wait for each other).
    const QString name = QFileInfo(pfad).fileName();
    const QString kurz = NamensteilKuerzen(name, DateinameHoechstBytes - 5);
    return pfad.chopped(name.size()) + kurz + QStringLiteral(".lock");
  }
  // No lock beside the file; at least the programs of this machine wait for each other.
  return QDir::tempPath() + QStringLiteral("/skribon-") +
         QString::fromLatin1(
             QCryptographicHash::hash(QFile::encodeName(pfad), QCryptographicHash::Sha1).toHex().left(16)) +
         QStringLiteral(".lock");
}

// A program killed between creating its lock file and writing into it leaves an empty file that
// names no holder, so it would count as held until it is old enough to be stale. Its maker holds
// it open (and locked) from the start: an empty lock no process has open is abandoned.
bool leereSperreEntfernen(const QString& pfad) {
  const QByteArray name = QFile::encodeName(pfad);
  const int fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
  if (fd < 0) return false;
  bool weg = false;
  struct stat st, jetzt;
  const auto alterMs = [](const struct stat& s) {
    const qint64 ms = qint64(s.st_mtim.tv_sec) * 1000 + s.st_mtim.tv_nsec / 1000000;
    return QDateTime::currentMSecsSinceEpoch() - ms;
  };
  // Still the same file when it goes: another program may have replaced it meanwhile.
  if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size == 0 &&
      alterMs(st) >= kLeereSperreVerlassenMs && ::flock(fd, LOCK_EX | LOCK_NB) == 0 &&
      ::lstat(name.constData(), &jetzt) == 0 && jetzt.st_dev == st.st_dev && jetzt.st_ino == st.st_ino)
    weg = ::unlink(name.constData()) == 0;
  ::close(fd);
  return weg;
}

// What kept the lock from being taken, in words for the user.
QString hindernisText(const Sperrdatei& datei) {
  const QString pfad = QDir::toNativeSeparators(datei.fileName());
  const QFileInfo info(datei.fileName());
  if (info.isDir())
    return QStringLiteral("An der Stelle der Sperrdatei »%1« liegt ein Ordner.").arg(pfad);
  if (datei.error() != QLockFile::LockFailedError)
    return QStringLiteral("Die Sperrdatei »%1« kann nicht angelegt werden.").arg(pfad);
  qint64 pid = 0;
  QString rechner, programm;
  if (datei.getLockInfo(&pid, &rechner, &programm)) {
    if (!rechner.isEmpty() && rechner != QSysInfo::machineHostName())
      return QStringLiteral("Die Sperrdatei »%1« gehört einem Programm auf dem Rechner »%2«.")
          .arg(pfad, rechner);
    if (::kill(pid_t(pid), 0) != 0 && errno == ESRCH) {
      QString t = QStringLiteral("Die Sperrdatei »%1« eines beendeten Programms lässt sich nicht "
                                 "entfernen.").arg(pfad);
      if (info.ownerId() != ::geteuid())
        t += QStringLiteral(" Sie gehört dem Benutzer »%1«.")
                 .arg(info.owner().isEmpty() ? QString::number(info.ownerId()) : info.owner());
      return t;
    }
  }
  return QStringLiteral("Die Sperrdatei »%1« wird von einem anderen Programm gehalten.").arg(pfad);
}

bool dateiSperren(Sperrdatei& datei, int warteMs, QString* hindernis) {
  datei.setStaleLockTime(kSperreVeraltetMs);
  const qint64 beginn = sperrUhr();
  // Short polls: QLockFile's own wait sleeps 100 ms and more, far longer than a write holds it.
  int pauseUs = 200;
  int entfernt = 0;
  for (;;) {
    if (datei.tryLock(0)) return true;
    if (datei.error() == QLockFile::LockFailedError && entfernt < 4 &&
        (leereSperreEntfernen(datei.fileName()) ||
         leereSperreEntfernen(datei.fileName() + QStringLiteral(".rmlock")))) {
      ++entfernt;
      continue;
    }
    // Cannot be created at all, or waited long enough.
    if (datei.error() != QLockFile::LockFailedError || sperrUhr() - beginn >= warteMs) {
      *hindernis = hindernisText(datei);
      return false;
    }
    sperrPause(pauseUs);
    pauseUs = qMin(pauseUs * 2, 2000);
  }
}

}  // namespace

ProfilSperre::ProfilSperre(const QString& datei) {
  if (datei.isEmpty()) return;
  const QString pfad = absoluterPfad(datei);
  const Qt::HANDLE ich = QThread::currentThreadId();
  QMutexLocker lock(&halterSperre());
  const qint64 beginn = sperrUhr();
  const QDeadlineTimer bis(erlaubteWartezeit());
  for (;;) {
    const auto it = halter().find(pfad);
    if (it == halter().end()) break;
    if (it->faden == ich) {
      ++it->tiefe;
      pfad_ = pfad;
      gesperrt_ = it->gesperrt;
      return;
    }
    if (!halterFrei().wait(&halterSperre(), bis)) {
      qDebug() << "ProfilSperre: anderer Faden hält" << pfad;
      gewartet(sperrUhr() - beginn,
               QStringLiteral("Die Datei »%1« wird im Programm selbst noch geschrieben.")
                   .arg(QDir::toNativeSeparators(pfad)));
      return;
    }
  }
  Halter& neu = halter()[pfad];
  neu.faden = ich;
  neu.tiefe = 1;
  pfad_ = pfad;
  lock.unlock();

  auto dateiSperre = std::make_shared<Sperrdatei>(sperrDateiPfad(pfad));
  QString hindernis;
  gesperrt_ = dateiSperren(*dateiSperre, erlaubteWartezeit(), &hindernis);
  if (!gesperrt_) qDebug() << "ProfilSperre: ohne Sperre weiter" << pfad << dateiSperre->error();
  gewartet(sperrUhr() - beginn, hindernis);

  lock.relock();
  Halter& h = halter()[pfad];
  h.gesperrt = gesperrt_;
  if (gesperrt_) h.datei = std::move(dateiSperre);
}

ProfilSperre::~ProfilSperre() {
  if (pfad_.isEmpty()) return;
  QMutexLocker lock(&halterSperre());
  const auto it = halter().find(pfad_);
  if (it == halter().end() || --it->tiefe > 0) return;
  if (it->datei) it->datei->unlock();
  halter().erase(it);
  halterFrei().wakeAll();
}

SperrFrist::SperrFrist(int gesamtMs) {
  QMutexLocker lock(&fristSperre());
  FristZustand& f = frist();
  if (f.aktiv) return;
  f = FristZustand{true, qMax(0, gesamtMs), {}};
  aktiv_ = true;
}

SperrFrist::~SperrFrist() {
  if (!aktiv_) return;
  QMutexLocker lock(&fristSperre());
  frist() = FristZustand{};
}

QString SperrFrist::hindernis() const {
  QMutexLocker lock(&fristSperre());
  return frist().hindernis;
}

void SetzeSperrUhr(qint64 (*uhrMs)(), void (*pauseUs)(int)) {
  sperrUhr = uhrMs ? uhrMs : &echteUhrMs;
  sperrPause = pauseUs ? pauseUs : &echtePause;
}

}  // namespace Plattform
