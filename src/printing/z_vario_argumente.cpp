// The thirteen placeholder tokens that take an argument. Each is looked for in the lower-cased
// working text; only its first occurrence is evaluated, and the token taken from there is then
// replaced everywhere, so identical tokens agree while a second one with another argument stays.
// Arguments naming files, settings or variables are taken in the case the user wrote them.
#include <QDir>
#include <QStringList>
#include <cmath>

#include "foundation/z_alles.h"
#include "platform/laufzeit.h"
#include "platform/system.h"
#include "printing/z_vario.h"

namespace Z_Vario::Intern {

namespace {

const QString kAbschnitt = QStringLiteral("Variablen");
const QString kKeinName = QStringLiteral("KeinName.Txt");

struct Fund {
  qsizetype anfang = -1;  // position of the prefix
  qsizetype ende = -1;    // position of the closing "}", -1 when none follows
  bool da() const { return anfang >= 0; }
  bool geschlossen() const { return anfang >= 0 && ende >= 0; }
};

// First occurrence of the prefix and the first "}" behind it.
Fund Suchen(const char* praefix) {
  const QString& k = KleinText();
  const QString p = QString::fromLatin1(praefix);
  Fund f;
  f.anfang = Finden(k, p, 0);
  if (f.anfang >= 0) f.ende = k.indexOf(QLatin1Char('}'), f.anfang + p.size());
  return f;
}

// The text between prefix and "}", as written (positions of the lower-case copy and the
// working text agree).
QString Argument(const Fund& f, int praefixLaenge) {
  return VarioText.mid(f.anfang + praefixLaenge, f.ende - f.anfang - praefixLaenge);
}

// Wall-clock seconds from a to b, counted on the calendar (no time zones, no daylight-saving
// jumps), so a day is always 86400 seconds.
double SekundenZwischen(const QDateTime& a, const QDateTime& b) {
  return double(a.date().daysTo(b.date())) * 86400.0 +
         (b.time().msecsSinceStartOfDay() - a.time().msecsSinceStartOfDay()) / 1000.0;
}

// Text that would break a settings line or never match as a key: such a name is not looked up
// and not written.
bool TaugtAlsSchluessel(const QString& name) {
  if (name.trimmed().isEmpty()) return false;
  for (const QChar c : name)
    if (c == u'=' || c == u';' || c == u'[' || c == u']' || c == u'\r' || c == u'\n' || c == u'\0')
      return false;
  return true;
}

// A field of the index token: a number, or 0 when empty or not numeric.
double FeldZahl(const QString& feld) {
  const QString t = feld.trimmed();
  int gelesen = 0;
  const double w = Laufzeit::Val(t, &gelesen);
  if (t.isEmpty() || gelesen != t.size() || !std::isfinite(w)) return 0;
  return w;
}

// Ordinary files matching a pattern, relative to the current folder unless it names a folder.
// Hidden files (leading ".") are not ordinary files and stay out.
QStringList Dateien(const QString& muster) {
  QString m = muster;
  m.replace(QLatin1Char('\\'), QLatin1Char('/'));
  const qsizetype trenner = m.lastIndexOf(QLatin1Char('/'));
  QString ordner = trenner >= 0 ? m.left(trenner) : QString();
  const QString name = trenner >= 0 ? m.mid(trenner + 1) : m;
  if (name.isEmpty()) return {};
  if (trenner == 0) ordner = QStringLiteral("/");
  const QString basis = Plattform::System().aktuellerOrdner();
  if (ordner.isEmpty()) ordner = basis;
  else if (QDir::isRelativePath(ordner)) ordner = basis + QLatin1Char('/') + ordner;
  QStringList liste = Laufzeit::DateienSuchen(ordner, name);
  liste.removeIf([](const QString& n) { return n.startsWith(QLatin1Char('.')); });
  return liste;
}

// The pattern of "{$" and "{&": from behind the prefix to the first "}" of the whole text.
// A "}" in front of the prefix therefore stops the token.
bool DateiMuster(const char* praefix, QString& muster) {
  const QString& k = KleinText();
  const qsizetype a = Finden(k, QString::fromLatin1(praefix), 0);
  if (a < 0) return false;
  const qsizetype e = k.indexOf(QLatin1Char('}'));
  if (e < a) return false;
  muster = VarioText.mid(a + 2, e - a - 2);
  return true;
}

// 1. {wt+N}: N working days (Monday to Saturday) ahead.
void WerktageVoraus(const QDateTime& d) {
  const Fund f = Suchen("{wt+");
  if (!f.da()) return;
  const QString token = KleinText().mid(f.anfang, 6);
  int n = 0;
  if (token.size() > 4 && token[4] >= u'0' && token[4] <= u'9') n = token[4].unicode() - u'0';
  QDate tag = d.date();
  while (n > 0) {
    tag = tag.addDays(1);
    if (tag.dayOfWeek() != Qt::Sunday) --n;
  }
  PlatzhalterErsetzen(token, Laufzeit::Format(tag, QStringLiteral("dd.mm.yyyy")));
}

// 2. {wochentag<date>}: the weekday name of a date.
void WochentagEinesDatums() {
  const Fund f = Suchen("{wochentag");
  if (!f.da()) return;
  const QString datumText = f.ende >= 0 ? Argument(f, 10) : QString();
  bool ok = false;
  const QDateTime datum = Laufzeit::DatumLesen(datumText.trimmed(), &ok);
  if (datumText.trimmed().isEmpty() || !ok || !datum.date().isValid()) return;
  PlatzhalterErsetzen(QStringLiteral("{wochentag") + datumText + QLatin1Char('}'),
                      Z_Alles::DatumName(Laufzeit::Wochentag(datum.date()), QStringLiteral("WT")));
}

// 3. {zufall$a,b,c}: a random item, in lower case. Ten slots, later items overwrite the tenth;
// the last slot has half the weight of the others.
void ZufallAusListe() {
  const Fund f = Suchen("{zufall$");
  if (!f.geschlossen()) return;
  const QString& k = KleinText();
  const QString token = k.mid(f.anfang, f.ende - f.anfang + 1);
  const QStringList teile = k.mid(f.anfang + 8, f.ende - f.anfang - 8).split(QLatin1Char(','), Qt::SkipEmptyParts);
  QStringList plaetze;
  for (const QString& t : teile) {
    if (plaetze.size() < 10) plaetze << t;
    else plaetze[9] = t;
  }
  QString wert;
  if (!plaetze.isEmpty()) {
    const int c = int(plaetze.size());
    int platz = int(std::floor(Plattform::Zufall() * (c - 0.5))) + 1;
    wert = plaetze[qBound(1, platz, c) - 1];
  }
  PlatzhalterErsetzen(token, wert);
}

// 4. {counterN}: a counter in the settings that goes up by one on every expansion.
void Zaehler() {
  const QString inhalt = KlammerInhalt(KleinText(), QStringLiteral("Counter"), 2);
  if (inhalt.isEmpty()) return;
  // Only a plain whole number names a counter; anything else leaves the token and every
  // counter untouched.
  const QString n = inhalt.trimmed();
  if (n.isEmpty() || n.size() > 9) return;
  for (const QChar c : n)
    if (c < u'0' || c > u'9') return;
  const QString schluessel = QStringLiteral("VarioCount") + Laufzeit::Format(n.toDouble(), QStringLiteral("0"));
  const double wert = Z_Alles::IniZaehlen(QString(), kAbschnitt, schluessel, 1);
  if (!std::isfinite(wert)) return;
  PlatzhalterErsetzen(KlammerInhalt(KleinText(), QStringLiteral("Counter"), 1), Laufzeit::ZahlText(wert));
}

// 5. {index:name,start,max}: runs start, start+1, ..., max, start, ...
void ZyklischerIndex() {
  const Fund f = Suchen("{index:");
  if (!f.geschlossen()) return;
  const QString argument = Argument(f, 7);
  const QStringList felder = (argument + QStringLiteral(",,,")).split(QLatin1Char(','));
  const QString name = felder[0];
  const QString schluessel = QStringLiteral("VarioIndex_") + name;
  if (!TaugtAlsSchluessel(schluessel)) return;
  const double start = FeldZahl(felder[1]);
  const double max = FeldZahl(felder[2]);
  const QString alt = Z_Alles::IniLesen(QString(), kAbschnitt, schluessel, QString());
  double wert = FeldZahl(alt) + 1;
  if (wert < start) wert = start;
  if (wert > max) wert = start;
  const QString text = Laufzeit::Format(wert, QStringLiteral("0")).trimmed();
  Z_Alles::IniSchreiben(QString(), kAbschnitt, schluessel, text);
  PlatzhalterErsetzen(QStringLiteral("{index:") + argument + QLatin1Char('}'), text);
}

// 6. {iniread,file,section,key,default}: any setting.
void EinstellungLesen() {
  const Fund f = Suchen("{iniread,");
  if (!f.geschlossen()) return;
  const QString argument = VarioText.mid(f.anfang, f.ende - f.anfang);
  const QStringList felder = (argument + QStringLiteral(",,,,,")).split(QLatin1Char(','));
  const QString wert = Z_Alles::IniLesen(felder[1], felder[2], felder[3], felder[4]);
  PlatzhalterErsetzen(argument + QLatin1Char('}'), wert);
}

// 7. {variable:name}: a user variable of section Variablen; text after ";" is a comment.
void Variable() {
  const Fund f = Suchen("{variable:");
  if (!f.geschlossen()) return;
  const QString name = Argument(f, 10);
  QString wert = TaugtAlsSchluessel(name) ? Z_Alles::IniLesen(QString(), kAbschnitt, name, name) : name;
  const qsizetype semikolon = wert.indexOf(QLatin1Char(';'));
  if (semikolon >= 0) wert.truncate(semikolon);
  PlatzhalterErsetzen(QStringLiteral("{variable:") + name + QLatin1Char('}'), wert.trimmed());
}

// 8. {a7b:text}: plain lower-case letters, digits and single blanks.
void SchlichteKleinschrift() {
  const Fund f = Suchen("{a7b:");
  if (!f.geschlossen()) return;
  const QString argument = KleinText().mid(f.anfang + 5, f.ende - f.anfang - 5);
  QString t = argument;
  t.replace(u'ä', QLatin1String("ae")).replace(u'ö', QLatin1String("oe"))
      .replace(u'ü', QLatin1String("ue")).replace(u'ß', QLatin1String("ss"));
  QString r;
  r.reserve(t.size());
  for (const QChar c : t) {
    const bool erlaubt = (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9');
    const QChar z = erlaubt ? c : QChar(u' ');
    if (z == u' ' && r.endsWith(u' ')) continue;
    r += z;
  }
  PlatzhalterErsetzen(QStringLiteral("{a7b:") + argument + QLatin1Char('}'), r.trimmed());
}

// 9. {aig:text}: upper case.
void Grossschrift() {
  const Fund f = Suchen("{aig:");
  if (!f.geschlossen()) return;
  const QString argument = Argument(f, 5);
  PlatzhalterErsetzen(QStringLiteral("{aig:") + argument + QLatin1Char('}'), argument.toUpper().trimmed());
}

// 10. {$pattern}: the name of one matching file, picked at random.
void ZufallsDatei() {
  QString muster;
  if (!DateiMuster("{$", muster)) return;
  const QStringList liste = Dateien(muster);
  QString wert = kKeinName;
  if (!liste.isEmpty()) {
    Plattform::System().zufallStart(quint32(Plattform::Jetzt().time().msecsSinceStartOfDay() / 1000));
    const double k = std::floor(Plattform::Zufall() * liste.size() + 0.5);
    const qsizetype nummer = qBound<qsizetype>(1, qsizetype(k), liste.size());
    wert = liste[nummer - 1];
  }
  PlatzhalterErsetzen(QStringLiteral("{$") + muster + QLatin1Char('}'), wert);
}

// 11./12. {alter:date} and {alterd:date}: time between the reference time and a date. A
// missing closing brace is added at the end of the text.
void Alter(const QDateTime& d, bool inTagen) {
  const char* praefix = inTagen ? "{alterd:" : "{alter:";
  const int laenge = inTagen ? 8 : 7;
  Fund f = Suchen(praefix);
  if (!f.da()) return;
  if (f.ende < 0) {
    TextAnhaengen(QStringLiteral("}"));
    f.ende = VarioText.size() - 1;
  }
  const QString argument = Argument(f, laenge);
  bool ok = false;
  const QDateTime datum = Laufzeit::DatumLesen(argument.trimmed(), &ok);
  QString wert;
  if (ok && datum.isValid() && !argument.trimmed().isEmpty()) {
    const double sekunden = SekundenZwischen(datum, d);
    wert = inTagen ? Laufzeit::Format(sekunden / 86400.0, QStringLiteral("0.0"))
                   : Z_Alles::DauerText(std::fabs(sekunden), 1);
  } else {
    wert = argument + QStringLiteral("???");
  }
  PlatzhalterErsetzen(QString::fromLatin1(praefix) + argument + QLatin1Char('}'), wert.trimmed());
}

// 13. {&pattern}: every matching file name, separated by blanks.
void AlleDateien() {
  QString muster;
  if (!DateiMuster("{&", muster)) return;
  const QStringList liste = Dateien(muster);
  const QString wert = liste.isEmpty() ? kKeinName : liste.join(QLatin1Char(' ')).trimmed();
  PlatzhalterErsetzen(QStringLiteral("{&") + muster + QLatin1Char('}'), wert);
}

}  // namespace

void ArgumentTokens(const QDateTime& d) {
  WerktageVoraus(d);
  WochentagEinesDatums();
  ZufallAusListe();
  Zaehler();
  ZyklischerIndex();
  EinstellungLesen();
  Variable();
  SchlichteKleinschrift();
  Grossschrift();
  ZufallsDatei();
  Alter(d, false);
  Alter(d, true);
  AlleDateien();
}

}  // namespace Z_Vario::Intern
