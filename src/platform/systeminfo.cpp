#include "platform/systeminfo.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QSysInfo>

namespace Plattform {

QString BetriebssystemText() {
  const QString name = QSysInfo::prettyProductName().trimmed();
  const QString kern = (QSysInfo::kernelType() + u' ' + QSysInfo::kernelVersion()).trimmed();
  if (name.isEmpty() || name == QStringLiteral("Unknown")) return kern;
  return kern.isEmpty() ? name : name + QStringLiteral(" // ") + kern;
}

double SystemLaufzeitSekunden() {
  QFile f(QStringLiteral("/proc/uptime"));
  if (!f.open(QIODevice::ReadOnly)) return -1;
  bool ok = false;
  const double s = QString::fromLatin1(f.readAll()).section(u' ', 0, 0).toDouble(&ok);
  return ok ? s : -1;
}

QStringList GeladeneBibliotheken() {
  // /proc/self/maps: one mapping per line, the file's path (if any) from column 6 on.
  QFile f(QStringLiteral("/proc/self/maps"));
  if (!f.open(QIODevice::ReadOnly)) return {};
  QStringList liste;
  QSet<QString> gesehen;
  // Read at once: the file reports no size, so the end cannot be told from it.
  const QList<QByteArray> zeilen = f.readAll().split('\n');
  for (const QByteArray& roh : zeilen) {
    const QString zeile = QString::fromLocal8Bit(roh).trimmed();
    const qsizetype schraeg = zeile.indexOf(u'/');
    if (schraeg < 0) continue;
    const QString pfad = zeile.mid(schraeg);
    const QString name = QFileInfo(pfad).fileName();
    if (!name.endsWith(QStringLiteral(".so")) && !name.contains(QStringLiteral(".so."))) continue;
    if (gesehen.contains(pfad)) continue;
    gesehen.insert(pfad);
    liste << pfad;
  }
  return liste;
}

QString BibliotheksVersion(const QString& pfad) {
  const QFileInfo info(pfad);
  if (!info.isFile()) return QStringLiteral("?");
  QFile f(info.canonicalFilePath());
  if (!f.open(QIODevice::ReadOnly) || f.read(4) != QByteArray("\x7f" "ELF")) return QStringLiteral("?");
  static const QRegularExpression version(QStringLiteral("\\.so\\.([0-9][0-9.]*)$"));
  const QRegularExpressionMatch m = version.match(QFileInfo(f.fileName()).fileName());
  if (!m.hasMatch()) return {};
  QString v = m.captured(1);
  while (v.endsWith(u'.')) v.chop(1);
  return v;
}

}  // namespace Plattform
