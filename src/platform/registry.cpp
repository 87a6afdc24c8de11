// The registry stand-in: one profile file in the settings base folder, a section per key path.
#include "platform/registry.h"

#include <QDir>

#include "platform/profil.h"
#include "platform/system.h"

namespace Plattform {

namespace {
// A key's unnamed default value, spelt as in the system's registry export files.
QString wertName(const QString& name) { return name.trimmed().isEmpty() ? QStringLiteral("@") : name; }
}  // namespace

QString RegistryDatei() { return KonfigBasisOrdner() + QStringLiteral("/Registry.ini"); }

bool RegistrySchreiben(const QString& schluesselPfad, const QString& name, const QString& wert) {
  // The settings folder may not exist yet on a first start.
  QDir().mkpath(KonfigBasisOrdner());
  return ProfilSchreiben(RegistryDatei(), schluesselPfad, wertName(name), wert);
}

QString RegistryLesen(const QString& schluesselPfad, const QString& name, const QString& vorgabe) {
  return ProfilLesen(RegistryDatei(), schluesselPfad, wertName(name), vorgabe);
}

}  // namespace Plattform
