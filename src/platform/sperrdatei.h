#pragma once
// A lock file as QLockFile makes it (same contents, same flock), so that every program sharing
// a folder respects the others' locks and finds a dead holder's lock stale; only it is not
// forced to the disk, as QLockFile forces every lock it takes. A lock is held for the
// milliseconds of one write, and one left by a crash is stale whether it reached the disk or
// not, so that sync only made each save wait for the disk once more per file. A lock that
// exists already is left to QLockFile, which knows when it may be taken over.
// Below it, the policy of the settings files' locks: who waits for whom, and for how long.
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

// Holds the lock of a profile file for a read-modify-write, so that two programs never lose each
// other's key: "<file>.lock" beside the file (seen by every program and machine sharing the
// folder), or one in the system's temp folder when the file's folder takes no new file.
// ProfilSchreiben and ProfilLoeschen take it themselves; hold it around a read and its write
// (a counter) or several writes that belong together. Re-entrant within a thread; other threads
// of the process wait. A lock left by a program that died is taken over; after a few seconds
// the holder goes on without the lock (gesperrt() false) rather than hang the program; so is an
// empty lock file that no process holds open (its maker was killed while creating it).
// Reads need no lock.
class ProfilSperre {
public:
  explicit ProfilSperre(const QString& datei);
  ~ProfilSperre();
  ProfilSperre(const ProfilSperre&) = delete;
  ProfilSperre& operator=(const ProfilSperre&) = delete;
  bool gesperrt() const { return gesperrt_; }

private:
  QString pfad_;  // empty: holds nothing
  bool gesperrt_ = false;
};

// Bounds the lock waits of one task, the start or the quit: while the frame lives, all waits of
// ProfilSperre together take at most gesamtMs; after that a lock is tried once and the holder
// goes on without it. An inner frame while one is open changes nothing.
class SperrFrist {
public:
  explicit SperrFrist(int gesamtMs = 3000);
  ~SperrFrist();
  SperrFrist(const SperrFrist&) = delete;
  SperrFrist& operator=(const SperrFrist&) = delete;
  // The first thing that kept a lock from being taken while the frame lives, as a German
  // sentence naming the lock file; "" when every lock was taken.
  QString hindernis() const;

private:
  bool aktiv_ = false;
};
// Tests: the clock (milliseconds) and the pause (microseconds) of the lock waits; nullptr
// restores the real ones.
void SetzeSperrUhr(qint64 (*uhrMs)(), void (*pauseUs)(int));

}  // namespace Plattform
