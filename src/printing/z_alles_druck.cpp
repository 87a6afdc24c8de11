#include "printing/z_alles_druck.h"

#include "platform/drucker.h"

namespace Z_Alles {

void DruckerWählen(const QString& geraeteName) {
  const QString gesucht = geraeteName.toLower();
  const QVector<Plattform::DruckerInfo> liste = Plattform::Printers();
  const Plattform::DruckerInfo* treffer = nullptr;
  for (const Plattform::DruckerInfo& d : liste)
    if (d.DeviceName.toLower() == gesucht) treffer = &d;
  // Making the same printer current again would end its open job for nothing.
  if (treffer && Plattform::Printer().DeviceName() != treffer->DeviceName)
    Plattform::DruckerSetzen(*treffer);
}

}  // namespace Z_Alles
