#pragma once
// What the diagnostics report asks of the machine besides the system service: the operating
// system, the time since the system started, the shared libraries the process has loaded and
// the version a library file carries in its name.
#include <QString>
#include <QStringList>

namespace Plattform {

// Distribution and kernel ("Debian GNU/Linux 12 (bookworm) // linux 6.1.0-18-amd64");
// empty when neither is known.
QString BetriebssystemText();
// Seconds since the system started; -1 when unknown.
double SystemLaufzeitSekunden();
// Full paths of the shared libraries mapped into this process, in load order, each once.
QStringList GeladeneBibliotheken();
// A library's version as its file name carries it after ".so." (symbolic links followed:
// libQt6Core.so.6 -> libQt6Core.so.6.4.2 gives "6.4.2"). "?" for a missing file or one that is
// no shared object (no version information); "" for a shared object without a version.
QString BibliotheksVersion(const QString& pfad);

}  // namespace Plattform
