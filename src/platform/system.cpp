// The real machine behind the system service.
#include "platform/system.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHostInfo>
#include <QMutex>
#include <QProcess>
#include <QRandomGenerator>
#include <QSet>
#include <QStandardPaths>
#include <QStorageInfo>
#include <QThread>
#include <QTimer>
#include <QEventLoop>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <ctime>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/dateifehler.h"

namespace Plattform {

QDateTime SystemDienst::jetzt() { return QDateTime::currentDateTime(); }

quint32 SystemDienst::tickzaehler() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return quint32(quint64(ts.tv_sec) * 1000u + quint64(ts.tv_nsec) / 1000000u);
}

namespace {
QRandomGenerator& generator() {
  static QRandomGenerator g(QRandomGenerator::global()->generate());
  return g;
}
}  // namespace

double SystemDienst::zufall() { return generator().generateDouble(); }
void SystemDienst::zufallStart(quint32 saat) { generator().seed(saat); }

bool SystemDienst::shiftGedrueckt() {
  return QGuiApplication::queryKeyboardModifiers() & Qt::ShiftModifier;
}
bool SystemDienst::strgGedrueckt() {
  return QGuiApplication::queryKeyboardModifiers() & Qt::ControlModifier;
}
bool SystemDienst::altGedrueckt() {
  return QGuiApplication::queryKeyboardModifiers() & Qt::AltModifier;
}

QString SystemDienst::umgebung(const QString& name) {
  if (name.isEmpty()) return {};
  const QByteArray direkt = qgetenv(name.toLocal8Bit().constData());
  if (!direkt.isNull()) return QString::fromLocal8Bit(direkt);
  // Windows names were case-insensitive ("Temp", "TEMP"). Looked through in place: the
  // one-second timer asks for a name that is usually missing.
  for (char** e = environ; e && *e; ++e) {
    const char* gleich = std::strchr(*e, '=');
    if (!gleich) continue;
    const QString k = QString::fromLocal8Bit(*e, gleich - *e);
    if (k.compare(name, Qt::CaseInsensitive) == 0) return QString::fromLocal8Bit(gleich + 1);
  }
  return {};
}

QString SystemDienst::aktuellerOrdner() { return QDir::currentPath(); }

QString SystemDienst::anmeldename() {
  for (const char* variable : {"USER", "LOGNAME"}) {
    const QString n = qEnvironmentVariable(variable).trimmed();
    if (!n.isEmpty()) return n;
  }
  // Started from a service or a desktop that sets neither: the account this process runs as.
  const long groesse = sysconf(_SC_GETPW_R_SIZE_MAX);
  QByteArray puffer(groesse > 0 ? groesse : 16384, Qt::Uninitialized);
  passwd eintrag{};
  passwd* konto = nullptr;
  if (getpwuid_r(geteuid(), &eintrag, puffer.data(), size_t(puffer.size()), &konto) == 0 && konto &&
      konto->pw_name)
    return QString::fromLocal8Bit(konto->pw_name).trimmed();
  char name[256] = {};
  if (getlogin_r(name, sizeof name) == 0) return QString::fromLocal8Bit(name).trimmed();
  return {};
}

QString SystemDienst::rechnername() {
  // The same for the whole run; asked for every second.
  static const QString name = QHostInfo::localHostName();
  return name;
}

QString SystemDienst::datentraegerName(const QString& pfad) {
  QStorageInfo info(pfad.isEmpty() ? QDir::rootPath() : pfad);
  if (!info.isValid()) return {};
  const QString name = info.name();
  if (!name.isEmpty()) return name;
  // Labels of block devices are listed as links in /dev/disk/by-label.
  const QString geraet = QFileInfo(QString::fromLocal8Bit(info.device())).canonicalFilePath();
  const QDir labels("/dev/disk/by-label");
  for (const QFileInfo& l : labels.entryInfoList(QDir::System | QDir::Files | QDir::NoDotAndDotDot))
    if (!geraet.isEmpty() && l.canonicalFilePath() == geraet) return l.fileName();
  return {};
}

void SystemDienst::warten(double sekunden) {
  // NaN or infinity is no time to wait for (and turned into an integer it is undefined).
  if (!std::isfinite(sekunden) || sekunden <= 0) {
    QCoreApplication::processEvents();
    return;
  }
  // An event loop of its own rather than processEvents in a loop: the loop depth then shows that
  // code waits below (the exit must not destroy windows under it), and no time is spent polling.
  QEventLoop schleife;
  QTimer uhr;
  uhr.setSingleShot(true);
  uhr.setTimerType(Qt::PreciseTimer);
  QObject::connect(&uhr, &QTimer::timeout, &schleife, &QEventLoop::quit);
  uhr.start(int(std::min(sekunden * 1000, 2e9)));
  schleife.exec();
}

void SystemDienst::ton(const QString& name) {
  if (!name.startsWith('#') && QFileInfo(name).isFile()) {
    // Play a sound file where the desktop has a player; else a beep.
    for (const char* spieler : {"paplay", "aplay"}) {
      const QString p = QStandardPaths::findExecutable(spieler);
      if (!p.isEmpty() && QProcess::startDetached(p, {name})) return;
    }
  }
  QApplication::beep();
}

namespace {
SystemDienst echter_;
SystemDienst* dienst_ = nullptr;

QString xdg(const char* variable, const QString& rueckfall) {
  QString o = qEnvironmentVariable(variable);
  if (o.isEmpty() || !QDir::isAbsolutePath(o)) o = QDir::homePath() + rueckfall;
  return o;
}

QString cacheBasisOrdner() { return xdg("XDG_CACHE_HOME", "/.cache") + "/Dormiks-Programme"; }

// Created once a run: the one-second timer asks for these folders every time.
QString angelegt(const QString& ordner) {
  static QSet<QString> schonAngelegt;
  static QMutex sperre;
  const QMutexLocker lock(&sperre);
  if (!schonAngelegt.contains(ordner) && QDir().mkpath(ordner)) schonAngelegt.insert(ordner);
  return ordner;
}
}  // namespace

void SetzeSystemDienst(SystemDienst* dienst) { dienst_ = dienst; }
SystemDienst& System() { return dienst_ ? *dienst_ : echter_; }

QString ProgrammDatei() {
  if (QCoreApplication::instance()) return QCoreApplication::applicationFilePath();
  return QFileInfo("/proc/self/exe").symLinkTarget();
}

QString ProgrammOrdnerPfad() { return QFileInfo(ProgrammDatei()).absolutePath(); }

QString ProgrammName() {
  QString n = QFileInfo(ProgrammDatei()).fileName();
  if (n.endsWith(".exe", Qt::CaseInsensitive)) n.chop(4);
  return n;
}

bool IstEigenesProgramm(const QString& gespeicherterName) {
  QString n = QFileInfo(QString(gespeicherterName).replace('\\', '/')).fileName().trimmed();
  if (n.endsWith(".exe", Qt::CaseInsensitive)) n.chop(4);
  return !n.isEmpty() && n.compare(ProgrammName(), Qt::CaseInsensitive) == 0;
}

QString KonfigBasisOrdner() {
  return xdg("XDG_CONFIG_HOME", "/.config") + "/Dormiks-Programme";
}

QString CacheTempOrdner() {
  const QString o = cacheBasisOrdner() + "/Temp";
  QDir().mkpath(o);
  QFile::setPermissions(o, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  return o;
}

QString PrivaterOrdnerPfad(const QString& name) { return cacheBasisOrdner() + u'/' + name; }

QString PrivaterOrdner(const QString& name, QString* fehler) {
  const QString basis = cacheBasisOrdner();
  const QString o = PrivaterOrdnerPfad(name);
  auto fehlschlag = [&](const QString& text) {
    if (fehler) *fehler = text;
    return QString();
  };
  QDir().mkpath(basis);
  const QByteArray nativ = QFile::encodeName(o);
  if (::mkdir(nativ.constData(), 0700) != 0 && errno != EEXIST)
    return fehlschlag(QStringLiteral("Der Ordner „%1“ kann nicht angelegt werden: %2").arg(o, SystemFehlerText(errno)));
  // lstat: a link put in its place would lead elsewhere.
  struct stat st;
  if (::lstat(nativ.constData(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::getuid())
    return fehlschlag(QStringLiteral("„%1“ ist kein eigener Ordner dieses Benutzers.").arg(o));
  if ((st.st_mode & 0077) != 0 && ::chmod(nativ.constData(), 0700) != 0)
    return fehlschlag(QStringLiteral("Der Ordner „%1“ lässt sich nicht vor anderen Benutzern schützen.").arg(o));
  return o;
}

QString WindowsOrdnerPfad() { return angelegt(KonfigBasisOrdner() + "/Windows"); }
QString SystemOrdnerPfad() { return angelegt(KonfigBasisOrdner() + "/Windows/System"); }

}  // namespace Plattform
