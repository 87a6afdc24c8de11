#include "services/version.h"

#include "foundation/z_alles.h"
#include "platform/system.h"

namespace Z_Alles {

QString VersionsTextAus(int major, int minor, int revision) {
  return QStringLiteral("%1.%2.%3")
      .arg(major)
      .arg(minor, 2, 10, QLatin1Char('0'))
      .arg(revision, 4, 10, QLatin1Char('0'));
}

QString VersionsNrAus(int major, int minor, int revision) {
  return QStringLiteral("%1.%2%3")
      .arg(major)
      .arg(minor, 2, 10, QLatin1Char('0'))
      .arg(revision, 4, 10, QLatin1Char('0'));
}

QString VersionsNummer() {
  VersionsText = VersionsTextAus(SKRIBON_VERSION_MAJOR, SKRIBON_VERSION_MINOR, SKRIBON_VERSION_REVISION);
  VersionsNr = VersionsNrAus(SKRIBON_VERSION_MAJOR, SKRIBON_VERSION_MINOR, SKRIBON_VERSION_REVISION);
  return VersionsNr;
}

float VersionsAlterAus(int major, int minor, int jahr, int monat) {
  // A month is 1/13 of a year, so December stays below the next January.
  double release = major + minor / 13.0;
  if (release < 2000) release += 2000;  // a two-digit year
  double heute = jahr + monat / 13.0;
  if (heute < 2000) heute += 2000;
  const double alter = heute - release;
  return alter > 0 ? float(alter) : 0.0f;
}

float VersionsAlter() {
  const QDate heute = Plattform::Jetzt().date();
  return VersionsAlterAus(SKRIBON_VERSION_MAJOR, SKRIBON_VERSION_MINOR, heute.year(), heute.month());
}

QString CopyrightZeile(const QString& text) {
  return Ersetzen(text, QStringLiteral("~"), QStringLiteral("\r\n"));
}

QString CopyrightText() { return QString::fromUtf8(SKRIBON_COPYRIGHT); }

}  // namespace Z_Alles
