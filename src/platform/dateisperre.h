#pragma once
// A lock shared by every process that changes one file (a lock file beside it). Files that
// several copies of the program change together (the multi-user file in a shared data folder)
// are read, changed and written under it, so no copy loses another's change.
#include <QString>
#include <memory>

class QLockFile;

namespace Plattform {

class DateiSperre {
public:
  // Waits at most wartezeitMs for the lock of datei ("<datei>.lck"). When the lock cannot be
  // had (folder not writable, another copy hanging) the work goes on without it: a lost
  // change is better than a program that hangs.
  explicit DateiSperre(const QString& datei, int wartezeitMs = 3000);
  ~DateiSperre();
  DateiSperre(const DateiSperre&) = delete;
  DateiSperre& operator=(const DateiSperre&) = delete;

  bool gesperrt() const { return gesperrt_; }

private:
  std::unique_ptr<QLockFile> sperre_;
  bool gesperrt_ = false;
};

}  // namespace Plattform
