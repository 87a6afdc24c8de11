#pragma once
// A lock file as QLockFile makes it (same contents, same flock), so that every program sharing
// a folder respects the others' locks and finds a dead holder's lock stale; only it is not
// forced to the disk, as QLockFile forces every lock it takes. A lock is held for the
// milliseconds of one write, and one left by a crash is stale whether it reached the disk or
// not, so that sync only made each save wait for the disk once more per file. A lock that
// exists already is left to QLockFile, which knows when it may be taken over.
#include <QLockFile>
#include <QString>

namespace Plattform {

class Sperrdatei {
public:
  explicit Sperrdatei(const QString& pfad);
  ~Sperrdatei();
  Sperrdatei(const Sperrdatei&) = delete;
  Sperrdatei& operator=(const Sperrdatei&) = delete;

  // As QLockFile's.
  void setStaleLockTime(int ms) { qt_.setStaleLockTime(ms); }
  bool tryLock(int timeout = 0);
  void unlock();
  QLockFile::LockError error() const { return fehler_; }
  QString fileName() const { return pfad_; }
  bool getLockInfo(qint64* pid, QString* rechner, QString* programm) const {
    return qt_.getLockInfo(pid, rechner, programm);
  }

private:
  QString pfad_;
  QLockFile qt_;
  int fd_ = -1;  // the lock made here; else qt_ may hold one
  QLockFile::LockError fehler_ = QLockFile::NoError;
};

}  // namespace Plattform
