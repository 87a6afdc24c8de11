// Numbers, dates and names: durations, scaled numbers, byte sizes, weekday names, the user's
// name and the installation identifier.
#include <QUuid>
#include <cmath>

#include "foundation/z_alles.h"
#include "platform/dialoge.h"
#include "platform/laufzeit.h"
#include "platform/system.h"

namespace Z_Alles {

namespace {

bool benutzerGefragt = false;  // the name prompt is shown at most once per run
QString laufGuid;              // this run's identifier when the settings file cannot keep one

// "#.0" for a fractional value, a whole number otherwise; rounded to one decimal first so that
// 1.96 reads "2" and not "2,0".
QString eineNachkommastelle(double wert) {
  const double gerundet = std::round(wert * 10.0) / 10.0;
  if (gerundet == std::floor(gerundet)) return Laufzeit::Format(gerundet, QStringLiteral("0"));
  return Laufzeit::Format(gerundet, QStringLiteral("#.0"));
}

}  // namespace

QString DauerText(double sekunden, int modus) {
  if (std::isnan(sekunden)) return QStringLiteral("?");
  const double s = std::min(std::fabs(sekunden), 2147483000.0);
  const bool kurz = modus == 1;
  struct Einheit { double sekunden; const char16_t* kurz; const char16_t* lang; };
  static const Einheit einheiten[] = {
      {365.0 * 86400.0, u" J", u" Jahre"},
      {86400.0, u" Tg", u" Tage"},
      {3600.0, u" Std", u" Stunden"},
      {60.0, u" Min", u" Minuten"},
  };
  for (const Einheit& e : einheiten) {
    if (s >= e.sekunden)
      return eineNachkommastelle(s / e.sekunden) + QString::fromUtf16(kurz ? e.kurz : e.lang);
  }
  const QString zahl = eineNachkommastelle(s);
  if (kurz) return zahl + QStringLiteral(" Sek");
  return zahl + (zahl == u"1" ? QStringLiteral(" Sekunde") : QStringLiteral(" Sekunden"));
}

QString ZahlMitEinheit(double wert, int modus) {
  if (!std::isfinite(wert)) return QStringLiteral("? ");
  double v = std::fabs(wert);
  static const char16_t* const lang[] = {u"k", u"M", u"G", u"T", u"p", u"E", u"Zetta", u"Yotta"};
  static const char16_t* const kurz[] = {u"Tsd", u"Mio", u"Mrd", u"Bio", u"Brd"};
  const char16_t* const* vorsaetze = modus == 1 ? kurz : lang;
  const int anzahl = modus == 1 ? 5 : 8;
  QString vorsatz;
  for (int i = 0; i < anzahl && v >= 1000.0; ++i) {
    v /= 1000.0;
    vorsatz = QString::fromUtf16(vorsaetze[i]);
  }
  QString muster = QStringLiteral("0");
  if (v < 0.01) muster = QStringLiteral("0.000");
  else if (v < 0.1) muster = QStringLiteral("0.00");
  else if (v < 1.0) muster = QStringLiteral("0.0");
  return Laufzeit::Format(v, muster) + u' ' + vorsatz;
}

QString ZahlFormat(double wert, const QString& maske) {
  QString t = Laufzeit::Format(wert, maske);
  const qsizetype start = t.startsWith(u'-') ? 1 : 0;
  qsizetype i = start;
  // Leading zeros go, but the last digit before the decimal comma stays ("0,50", "0").
  while (i + 1 < t.size() && t[i] == u'0' && t[i + 1].isDigit()) ++i;
  t.remove(start, i - start);
  return t.rightJustified(maske.size(), u' ');
}

QString BytesText(double bytes) {
  if (!std::isfinite(bytes)) return QStringLiteral("? ");
  if (bytes < 1024.0) return Laufzeit::Format(bytes, QStringLiteral("0")) + u' ';
  static const char einheiten[] = "KMGTPEZY";
  double v = bytes;
  int stufe = -1;
  while (v >= 1024.0 && stufe < 7) {
    v /= 1024.0;
    ++stufe;
  }
  QString t = Laufzeit::Format(v, QStringLiteral("#,##0.00"));
  // Zero to two decimals: "1,50" -> "1,5", "2,00" -> "2".
  if (t.contains(u',')) {
    while (t.endsWith(u'0')) t.chop(1);
    if (t.endsWith(u',')) t.chop(1);
  }
  return t + u' ' + QChar(einheiten[stufe]);
}

QString DatumName(int nummer, const QString& stil) {
  if (stil.compare(u"WT", Qt::CaseInsensitive) == 0 && nummer >= 1 && nummer <= 7)
    return Laufzeit::WochentagsName(nummer);
  return {};
}

QString DatumsStempel(int /*modus*/) {
  // Only mode 0 is known: "yy.mm", the year counted from 2000.
  const QDate heute = Plattform::Jetzt().date();
  return QStringLiteral("%1.%2")
      .arg(heute.year() - 2000, 2, 10, QChar(u'0'))
      .arg(heute.month(), 2, 10, QChar(u'0'));
}

QString NameSchreibweise(const QString& name) {
  static const QStringList kleineWoerter = {
      QStringLiteral("und"), QStringLiteral("oder"), QStringLiteral("von"), QStringLiteral("vom"),
      QStringLiteral("zu"),  QStringLiteral("zum"),  QStringLiteral("zur"), QStringLiteral("der"),
      QStringLiteral("die"), QStringLiteral("das"),  QStringLiteral("den"), QStringLiteral("dem"),
      QStringLiteral("des"), QStringLiteral("im"),   QStringLiteral("in"),  QStringLiteral("am"),
      QStringLiteral("an"),  QStringLiteral("auf"),  QStringLiteral("aus"), QStringLiteral("bei"),
      QStringLiteral("mit"), QStringLiteral("für"),  QStringLiteral("über"), QStringLiteral("unter"),
  };
  QString aus = name;
  qsizetype i = 0;
  const qsizetype n = aus.size();
  while (i < n) {
    if (aus[i].isSpace()) {
      ++i;
      continue;
    }
    qsizetype e = i;
    while (e < n && !aus[e].isSpace()) ++e;
    // Per character, so that "ß" stays one character and positions do not move.
    for (qsizetype k = i; k < e; ++k) aus[k] = aus[k].toLower();
    const QString wort = aus.mid(i, e - i);
    if (!kleineWoerter.contains(wort)) aus[i] = aus[i].toUpper();
    i = e;
  }
  return aus;
}

QString WindowsAnmeldename() { return Plattform::System().anmeldename().trimmed(); }

QString Benutzername() {
  const QString gespeichert = IniLesen(QString(), QStringLiteral("Allgemein"), QStringLiteral("User")).trimmed();
  if (!gespeichert.isEmpty()) return gespeichert;
  QString name = WindowsAnmeldename();
  for (const char* variable : {"User", "USERID", "Station", "Username"}) {
    if (!name.isEmpty()) break;
    name = Plattform::Umgebung(QString::fromLatin1(variable)).trimmed();
  }
  if (!name.isEmpty()) return NameSchreibweise(name);
  // Asked once per run: the name is looked up every second, and a cancelled prompt must not
  // come back again and again.
  if (benutzerGefragt) return {};
  benutzerGefragt = true;
  bool abgebrochen = false;
  name = Plattform::InputBox(
             QStringLiteral("Ihr Benutzername ließ sich nicht ermitteln.\r\n\r\n"
                            "Bitte geben Sie Ihren Namen ein:"),
             ProgrammTitel, QString(), &abgebrochen)
             .trimmed();
  if (abgebrochen || name.isEmpty()) return {};
  IniSchreiben(QString(), QStringLiteral("Allgemein"), QStringLiteral("User"), name);
  return name;
}

QString NeueGuid() { return QUuid::createUuid().toString(QUuid::WithBraces).toUpper(); }

QString UserGUID() {
  const QString vorhanden = IniLesen(QString(), QStringLiteral("Allgemein"), QStringLiteral("UserGUID")).trimmed();
  if (!vorhanden.isEmpty()) return vorhanden;
  // Should the write fail, the run still keeps one identifier instead of a new one per call.
  if (laufGuid.isEmpty()) laufGuid = NeueGuid();
  IniSchreiben(QString(), QStringLiteral("Allgemein"), QStringLiteral("UserGUID"), laufGuid);
  return laufGuid;
}

void ZahlenNamenZuruecksetzen() {
  benutzerGefragt = false;
  laufGuid.clear();
}

}  // namespace Z_Alles
