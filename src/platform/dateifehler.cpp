// File errors in the program's terms. The run-time numbers pick the error handler's tip, so
// each system code goes to the tip that tells the user what to do about it:
//   53  the file is missing (ENOENT);
//   76  a folder on the way is missing or is no folder (ENOTDIR, ENOENT of a missing folder);
//   61  the disk or the user's quota is full (ENOSPC, EDQUOT);
//   70  not allowed (EACCES, EPERM, a read-only file system, a program file in use);
//   75  everything else: a folder where a file should be, a busy or existing file, I/O errors.
#include "platform/dateifehler.h"

#include <QDir>
#include <QFileInfo>

#include <cerrno>

namespace Plattform {

int LaufzeitFehlerNummer(int e) {
  switch (e) {
    case 0:
      return 0;
    case ENOENT:
      return FehlerDateiNichtGefunden;
    case ENOTDIR:
      return FehlerPfadNichtGefunden;
    case ENOSPC:
    case EDQUOT:
      return FehlerDatentraegerVoll;
    case EACCES:
    case EPERM:
    case EROFS:
    case ETXTBSY:
      return FehlerZugriffVerweigert;
    default:
      return FehlerPfadZugriff;
  }
}

int LaufzeitFehlerNummer(QFileDevice::FileError fehler, int e) {
  if (fehler == QFileDevice::NoError) return 0;
  if (e != 0) return LaufzeitFehlerNummer(e);
  switch (fehler) {
    case QFileDevice::ResourceError:  // Qt's code for a full disk on write
      return FehlerDatentraegerVoll;
    case QFileDevice::PermissionsError:
      return FehlerZugriffVerweigert;
    default:
      return FehlerPfadZugriff;
  }
}

int LaufzeitFehlerNummer(int e, const QString& pfad) {
  // A missing folder on the way is a missing path, not a missing file.
  if (e == ENOENT && !pfad.isEmpty() && !QFileInfo(QFileInfo(pfad).absolutePath()).isDir())
    return FehlerPfadNichtGefunden;
  return LaufzeitFehlerNummer(e);
}

QString SystemFehlerText(int e) {
  switch (e) {
    case ENOSPC: return QStringLiteral("Kein Speicherplatz mehr auf dem Gerät");
    case EACCES: return QStringLiteral("Keine Berechtigung");
    case EPERM: return QStringLiteral("Vorgang nicht erlaubt");
    case ENOENT: return QStringLiteral("Datei oder Verzeichnis nicht gefunden");
    case EROFS: return QStringLiteral("Schreibgeschütztes Dateisystem");
    case EISDIR: return QStringLiteral("Ist ein Verzeichnis");
    case ENOTDIR: return QStringLiteral("Kein Verzeichnis");
    case EDQUOT: return QStringLiteral("Kontingent überschritten");
    case EIO: return QStringLiteral("Eingabe-/Ausgabefehler");
    case EFBIG: return QStringLiteral("Datei zu groß");
    case EMFILE: return QStringLiteral("Zu viele offene Dateien");
    case ENFILE: return QStringLiteral("Zu viele offene Dateien im System");
    case EBUSY: return QStringLiteral("Gerät oder Ressource belegt");
    case EEXIST: return QStringLiteral("Datei existiert bereits");
    case ENAMETOOLONG: return QStringLiteral("Dateiname zu lang");
    case ETXTBSY: return QStringLiteral("Programmdatei wird gerade benutzt");
    case ELOOP: return QStringLiteral("Zu viele Ebenen von symbolischen Verknüpfungen");
    case ENOTEMPTY: return QStringLiteral("Verzeichnis nicht leer");
    case EXDEV: return QStringLiteral("Ungültiger Link über Gerätegrenzen hinweg");
    case ENOMEM: return QStringLiteral("Nicht genügend Hauptspeicher verfügbar");
    case EINVAL: return QStringLiteral("Ungültiges Argument");
    case ESTALE: return QStringLiteral("Veraltete Dateizugriffsnummer (NFS)");
    case ENODEV: return QStringLiteral("Kein passendes Gerät gefunden");
    case ENXIO: return QStringLiteral("Kein solches Gerät oder keine solche Adresse");
    case EAGAIN: return QStringLiteral("Die Ressource ist zur Zeit nicht verfügbar");
    case EINTR: return QStringLiteral("Unterbrochener Systemaufruf");
    case ENOLCK: return QStringLiteral("Keine Sperren verfügbar");
    case ETIMEDOUT: return QStringLiteral("Die Wartezeit für die Verbindung ist abgelaufen");
    default: return QStringLiteral("Systemfehler %1").arg(e);
  }
}

}  // namespace Plattform
