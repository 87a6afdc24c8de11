// Placeholder until the profile reader lands.
#include "platform/profil.h"
namespace Plattform {
QString ProfilLesen(const QString&, const QString&, const QString&, const QString& v, bool* g) { if (g) *g = false; return v; }
bool ProfilSchreiben(const QString&, const QString&, const QString&, const QString&) { return false; }
bool ProfilLoeschen(const QString&, const QString&, const QString&) { return false; }
QStringList ProfilAbschnitte(const QString&) { return {}; }
QStringList ProfilSchluessel(const QString&, const QString&) { return {}; }
void ProfilCacheLeeren() {}
}
