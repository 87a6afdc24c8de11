// The desktop trash, kept the way file managers expect it, so a file moved here can be
// restored from the file manager's trash view.
#include "platform/papierkorb.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <sys/types.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/dateifehler.h"
#include "platform/system.h"

namespace Plattform {

namespace {

QByteArray nativ(const QString& pfad) { return QFile::encodeName(pfad); }

bool lstatPfad(const QString& pfad, struct stat* st) {
  return ::lstat(nativ(pfad).constData(), st) == 0;
}

QString datenHeim() {
  const QString xdg = qEnvironmentVariable("XDG_DATA_HOME");
  if (!xdg.isEmpty() && QDir::isAbsolutePath(xdg)) return QDir::cleanPath(xdg);
  return QDir::cleanPath(QDir::homePath() + QStringLiteral("/.local/share"));
}

// The device of a path, or of its nearest existing parent (the home trash may not exist yet).
bool geraetVon(QString pfad, dev_t* geraet) {
  struct stat st;
  while (!pfad.isEmpty()) {
    if (::stat(nativ(pfad).constData(), &st) == 0) {
      *geraet = st.st_dev;
      return true;
    }
    const QString oben = QFileInfo(pfad).path();
    if (oben == pfad) break;
    pfad = oben;
  }
  return false;
}

// The top folder of the mount that holds the path: the last parent on the same device.
QString mountWurzel(const QString& pfad, dev_t geraet) {
  QString wurzel = pfad;
  for (;;) {
    const QString oben = QFileInfo(wurzel).path();
    if (oben == wurzel) return wurzel;
    struct stat st;
    if (::stat(nativ(oben).constData(), &st) != 0 || st.st_dev != geraet) return wurzel;
    wurzel = oben;
  }
}

// A folder of ours: exists (created 0700 when missing), is no symbolic link, belongs to us.
bool eigenerOrdner(const QString& pfad) {
  struct stat st;
  if (!lstatPfad(pfad, &st)) {
    if (::mkdir(nativ(pfad).constData(), 0700) != 0) return false;
    if (!lstatPfad(pfad, &st)) return false;
  }
  return S_ISDIR(st.st_mode) && st.st_uid == ::getuid();
}

bool unterordnerAnlegen(const QString& korb) {
  return QDir().mkpath(korb) && eigenerOrdner(korb + QStringLiteral("/files")) &&
         eigenerOrdner(korb + QStringLiteral("/info"));
}

// The trash of a mount other than the home's: the administrator's shared ".Trash" (a real
// folder with the sticky bit, so users cannot take each other's files) with a folder per user,
// else a ".Trash-<uid>" of our own.
QString mountKorb(const QString& wurzel) {
  const QString uid = QString::number(::getuid());
  const QString geteilt = wurzel + QStringLiteral("/.Trash");
  struct stat st;
  if (lstatPfad(geteilt, &st) && S_ISDIR(st.st_mode) && (st.st_mode & S_ISVTX)) {
    const QString korb = geteilt + QLatin1Char('/') + uid;
    if (eigenerOrdner(korb)) return korb;
  }
  const QString eigen = wurzel + QStringLiteral("/.Trash-") + uid;
  if (eigenerOrdner(eigen)) return eigen;
  return {};
}

QByteArray infoText(const QString& ursprung, const QDateTime& zeit) {
  QByteArray t = "[Trash Info]\nPath=";
  t += nativ(ursprung).toPercentEncoding("/");
  t += "\nDeletionDate=";
  t += zeit.toString(QStringLiteral("yyyy-MM-ddThh:mm:ss")).toLatin1();
  t += '\n';
  return t;
}

// Reserves a name in the trash by creating its .trashinfo exclusively; the caller moves the
// file to files/<name>. A name whose file is already there (left over without info) is skipped.
QString nameReservieren(const QString& korb, const QString& name, const QByteArray& info) {
  for (int n = 1; n < 10000; ++n) {
    const QString kandidat = n == 1 ? name : name + QLatin1Char('.') + QString::number(n);
    struct stat st;
    if (lstatPfad(korb + QStringLiteral("/files/") + kandidat, &st)) continue;
    const QByteArray infoPfad = nativ(korb + QStringLiteral("/info/") + kandidat + QStringLiteral(".trashinfo"));
    const int fd = ::open(infoPfad.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0) {
      if (errno == EEXIST) continue;
      return {};
    }
    qsizetype geschrieben = 0;
    while (geschrieben < info.size()) {
      const ssize_t r = ::write(fd, info.constData() + geschrieben, size_t(info.size() - geschrieben));
      if (r < 0 && errno == EINTR) continue;
      if (r <= 0) break;
      geschrieben += r;
    }
    const bool ok = geschrieben == info.size() && ::close(fd) == 0;
    if (!ok) {
      ::unlink(infoPfad.constData());
      return {};
    }
    return kandidat;
  }
  return {};
}

// The trash for a path and, for a mount's own trash, the mount's top folder.
struct Korb {
  QString ordner;
  QString wurzel;  // empty for the home trash
};

Korb korbFuer(const QString& absolut, dev_t geraet) {
  const QString heim = datenHeim();
  dev_t heimGeraet = 0;
  if (geraetVon(heim, &heimGeraet) && heimGeraet == geraet) return {heim + QStringLiteral("/Trash"), {}};
  const QString wurzel = mountWurzel(absolut, geraet);
  return {mountKorb(wurzel), wurzel};
}

}  // namespace

QString PapierkorbFuer(const QString& pfad) {
  const QString absolut = QDir::cleanPath(QFileInfo(pfad).absoluteFilePath());
  struct stat st;
  if (pfad.isEmpty() || !lstatPfad(absolut, &st)) return {};
  return korbFuer(absolut, st.st_dev).ordner;
}

bool InPapierkorb(const QString& pfad, QString* fehler) {
  auto scheitern = [&](const QString& grund) {
    if (fehler) *fehler = grund;
    return false;
  };
  const QString absolut = QDir::cleanPath(QFileInfo(pfad).absoluteFilePath());
  struct stat st;
  if (pfad.isEmpty() || !lstatPfad(absolut, &st))
    return scheitern(QStringLiteral("»%1« ist nicht vorhanden.").arg(pfad));
  const Korb korb = korbFuer(absolut, st.st_dev);
  if (!korb.ordner.isEmpty() && unterordnerAnlegen(korb.ordner)) {
    // In a mount's own trash the original place is stored relative to the mount, so the
    // entry stays right when the mount point changes.
    const QString ursprung = korb.wurzel.isEmpty() ? absolut : QDir(korb.wurzel).relativeFilePath(absolut);
    const QString name = nameReservieren(korb.ordner, QFileInfo(absolut).fileName(),
                                         infoText(ursprung, Jetzt()));
    if (!name.isEmpty()) {
      const QString ziel = korb.ordner + QStringLiteral("/files/") + name;
      if (::rename(nativ(absolut).constData(), nativ(ziel).constData()) == 0) return true;
      const int e = errno;
      ::unlink(nativ(korb.ordner + QStringLiteral("/info/") + name + QStringLiteral(".trashinfo")).constData());
      if (e != EXDEV)
        return scheitern(QStringLiteral("»%1« konnte nicht in den Papierkorb verschoben werden: %2")
                             .arg(pfad, SystemFehlerText(e)));
    }
  }
  // No fallback to QFile::moveToTrash: when it cannot make the home trash (Qt 6.4) it moves
  // the file into "files" below the current folder, where nobody would look for it.
  return scheitern(QStringLiteral("Für »%1« gibt es auf diesem Datenträger keinen Papierkorb.").arg(pfad));
}

}  // namespace Plattform
