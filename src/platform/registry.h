#pragma once
// Stand-in for the registry under HKEY_CURRENT_USER: a profile file of its own in the settings
// folder ("Registry.ini"), one section per key path such as "SOFTWARE\Dormiks-Programme\X".
#include <QString>

namespace Plattform {

QString RegistryDatei();  // <settings base folder>/Registry.ini
bool RegistrySchreiben(const QString& schluesselPfad, const QString& name, const QString& wert);
QString RegistryLesen(const QString& schluesselPfad, const QString& name, const QString& vorgabe = {});

}  // namespace Plattform
