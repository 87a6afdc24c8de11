#include "platform/sperrdatei.h"

#include <QFile>
#include <QFileInfo>
#include <QSysInfo>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
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

}  // namespace Plattform
