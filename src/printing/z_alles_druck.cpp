#include "printing/z_alles_druck.h"

#include "foundation/z_alles.h"
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

bool DruckerFehlerAbbruch(const QString& aufruferText, const QString& quelle) {
  Plattform::Drucker& p = Plattform::Printer();
  if (!p.Fehler()) return false;
  const int antwort = FehlerBehandlung(p.Fehler(), aufruferText, p.FehlerText(), quelle);
  p.FehlerLoeschen();
  return antwort != 5;
}

}  // namespace Z_Alles
