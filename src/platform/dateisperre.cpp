#include "platform/dateisperre.h"

#include <QLockFile>

namespace Plattform {

DateiSperre::DateiSperre(const QString& datei, int wartezeitMs)
    : sperre_(std::make_unique<QLockFile>(datei + QStringLiteral(".lck"))) {
  // A copy that died keeps its lock file; after this time another copy may take it over.
  sperre_->setStaleLockTime(10000);
  gesperrt_ = sperre_->tryLock(wartezeitMs);
}

DateiSperre::~DateiSperre() {
  if (gesperrt_) sperre_->unlock();
}

}  // namespace Plattform
