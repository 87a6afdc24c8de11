// Format with number and date patterns, German date reading, month arithmetic, serial day
// numbers and wildcard file listing, with the results the Windows version of this program
// gives under German regional settings, so templates and files written there read the same
// here. Names and separators are fixed here so the output never depends on the machine's locale.
#include "laufzeit.h"

#include <QDebug>
#include <QDir>
#include <QRegularExpression>
#include <QTime>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "system.h"

namespace Laufzeit {

namespace {

const char16_t* const kMonate[12] = {u"Januar", u"Februar", u"März",     u"April",
                                     u"Mai",    u"Juni",    u"Juli",     u"August",
                                     u"September", u"Oktober", u"November", u"Dezember"};
const char16_t* const kMonateKurz[12] = {u"Jan", u"Feb", u"Mär", u"Apr", u"Mai", u"Jun",
                                         u"Jul", u"Aug", u"Sep", u"Okt", u"Nov", u"Dez"};
const char16_t* const kTage[7] = {u"Sonntag",    u"Montag",  u"Dienstag", u"Mittwoch",
                                  u"Donnerstag", u"Freitag", u"Samstag"};
const char16_t* const kTageKurz[7] = {u"So", u"Mo", u"Di", u"Mi", u"Do", u"Fr", u"Sa"};

const QDate kSerienNull(1899, 12, 30);
constexpr qint64 kMsProTag = 86400000;

// ---------------------------------------------------------------------------------------------
// Numbers

// A non-negative decimal number: value = 0.ziffern * 10^punkt. No trailing zeros; zero has no
// digits at all.
struct Dezimal {
  std::string ziffern;
  int punkt = 0;
  bool null() const { return ziffern.empty(); }
  char an(int i) const { return i >= 0 && i < int(ziffern.size()) ? ziffern[size_t(i)] : '0'; }
};

void NullenKappen(Dezimal& d) {
  while (!d.ziffern.empty() && d.ziffern.back() == '0') d.ziffern.pop_back();
  if (d.ziffern.empty()) d.punkt = 0;
}

// The runtime rounded the 15-significant-digit decimal form, not the binary value: so 2.675
// with two decimals gives 2,68 as a user expects, although the double lies just below it.
Dezimal AlsDezimal(double betrag) {
  Dezimal d;
  if (betrag == 0) return d;
  // to_chars, not printf: the application object sets the C library's locale from the
  // environment, and a German LC_NUMERIC would put a comma into printf's output.
  char puffer[48];
  const auto [ende, fehler] =
      std::to_chars(puffer, puffer + sizeof puffer, betrag, std::chars_format::scientific, 14);
  if (fehler != std::errc()) return d;
  const std::string s(puffer, ende);  // "d.dddddddddddddde+xx"
  const size_t e = s.find('e');
  if (e == std::string::npos || e < 2) return d;
  d.ziffern = s.substr(0, 1) + s.substr(2, e - 2);
  d.punkt = std::atoi(s.c_str() + e + 1) + 1;
  NullenKappen(d);
  return d;
}

// Half away from zero at the given count of decimals.
void Runden(Dezimal& d, int nachkomma) {
  const int behalten = d.punkt + nachkomma;
  if (d.null() || int(d.ziffern.size()) <= behalten) return;
  if (behalten < 0) {
    d = {};
    return;
  }
  const bool aufrunden = d.ziffern[size_t(behalten)] >= '5';
  d.ziffern.resize(size_t(behalten));
  if (aufrunden) {
    int i = behalten - 1;
    while (i >= 0 && d.ziffern[size_t(i)] == '9') d.ziffern[size_t(i--)] = '0';
    if (i < 0) {
      d.ziffern.insert(d.ziffern.begin(), '1');
      ++d.punkt;
    } else {
      ++d.ziffern[size_t(i)];
    }
  }
  NullenKappen(d);
}

enum class Art { Null, Raute, Punkt, Komma, Prozent, Exponent, Text };
struct Element {
  Art art;
  QString text;  // literal text, or "E+"/"e-" for the exponent
  bool platzhalter() const { return art == Art::Null || art == Art::Raute; }
};

// Splits at ";" outside quotes and escapes; the pieces keep their quotes and backslashes.
QStringList Abschnitte(const QString& muster) {
  QStringList teile;
  QString aktuell;
  bool inZitat = false;
  for (int i = 0; i < muster.size(); ++i) {
    const QChar c = muster[i];
    if (c == u'"') {
      inZitat = !inZitat;
    } else if (c == u'\\' && !inZitat && i + 1 < muster.size()) {
      aktuell += c;
      aktuell += muster[++i];
      continue;
    } else if (c == u';' && !inZitat) {
      teile << aktuell;
      aktuell.clear();
      continue;
    }
    aktuell += c;
  }
  teile << aktuell;
  return teile;
}

std::vector<Element> ZahlMusterZerlegen(const QString& abschnitt) {
  std::vector<Element> el;
  bool zifferGesehen = false, exponentGesehen = false;
  auto text = [&](const QString& t) {
    if (!el.empty() && el.back().art == Art::Text) el.back().text += t;
    else el.push_back({Art::Text, t});
  };
  const int n = int(abschnitt.size());
  for (int i = 0; i < n; ++i) {
    const QChar c = abschnitt[i];
    if (c == u'"') {
      int ende = abschnitt.indexOf(u'"', i + 1);
      if (ende < 0) ende = n;
      text(abschnitt.mid(i + 1, ende - i - 1));
      i = ende;
    } else if (c == u'\\') {
      if (i + 1 < n) text(QString(abschnitt[++i]));
    } else if (c == u'0') {
      el.push_back({Art::Null, {}});
      zifferGesehen = true;
    } else if (c == u'#') {
      el.push_back({Art::Raute, {}});
      zifferGesehen = true;
    } else if (c == u'.') {
      el.push_back({Art::Punkt, {}});
    } else if (c == u',') {
      el.push_back({Art::Komma, {}});
    } else if (c == u'%') {
      el.push_back({Art::Prozent, {}});
    } else if ((c == u'E' || c == u'e') && zifferGesehen && !exponentGesehen && i + 1 < n &&
               (abschnitt[i + 1] == u'+' || abschnitt[i + 1] == u'-')) {
      el.push_back({Art::Exponent, abschnitt.mid(i, 2)});
      exponentGesehen = true;
      ++i;
    } else {
      text(QString(c));
    }
  }
  return el;
}

// One section applied to a non-negative value. istNull tells whether the shown number is zero
// after rounding (then a minus sign would be misleading).
QString ZahlAbschnitt(double betrag, const std::vector<Element>& el, bool& istNull) {
  const int anzahl = int(el.size());
  int posPunkt = -1, posExp = -1;
  for (int i = 0; i < anzahl; ++i) {
    if (el[size_t(i)].art == Art::Exponent && posExp < 0) posExp = i;
    if (el[size_t(i)].art == Art::Punkt && posPunkt < 0 && posExp < 0) posPunkt = i;
  }
  const int ganzEnde = posPunkt >= 0 ? posPunkt : (posExp >= 0 ? posExp : anzahl);
  const int bruchEnde = posExp >= 0 ? posExp : anzahl;

  // Integer part: digit placeholders; a "," with a placeholder after it groups thousands,
  // a "," without one (before the point or at the end) divides by 1000.
  int ganzStellen = 0, ganzNullen = 0, skalierung = 0, prozent = 0;
  bool gruppieren = false;
  for (int i = 0; i < ganzEnde; ++i) {
    const Element& e = el[size_t(i)];
    if (e.platzhalter()) {
      ++ganzStellen;
      if (e.art == Art::Null) ++ganzNullen;
    } else if (e.art == Art::Komma) {
      bool folgt = false;
      for (int j = i + 1; j < ganzEnde && !folgt; ++j) folgt = el[size_t(j)].platzhalter();
      if (folgt) gruppieren = true;
      else ++skalierung;
    }
  }
  int bruchStellen = 0, bruchPflicht = 0;
  for (int i = posPunkt + 1; posPunkt >= 0 && i < bruchEnde; ++i) {
    if (el[size_t(i)].platzhalter()) {
      ++bruchStellen;
      if (el[size_t(i)].art == Art::Null) bruchPflicht = bruchStellen;
    }
  }
  int expPflicht = 0;
  for (int i = posExp + 1; posExp >= 0 && i < anzahl; ++i)
    if (el[size_t(i)].art == Art::Null) ++expPflicht;
  for (const Element& e : el)
    if (e.art == Art::Prozent) ++prozent;

  Dezimal d = AlsDezimal(betrag);
  if (!d.null()) d.punkt += 2 * prozent - 3 * skalierung;
  int exponent = 0;
  if (posExp >= 0) {
    const int vorne = ganzNullen > 0 ? ganzNullen : (ganzStellen > 0 ? 1 : 0);
    if (!d.null()) {
      exponent = d.punkt - vorne;
      d.punkt = vorne;
    }
    Runden(d, bruchStellen);
    if (!d.null() && d.punkt > vorne) {  // 9,995 -> 10,00: one more in the exponent
      d.punkt = vorne;
      ++exponent;
    }
  } else {
    Runden(d, bruchStellen);
  }
  istNull = d.null();

  std::string ganz;
  for (int i = 0; i < d.punkt; ++i) ganz += d.an(i);
  const int laenge = int(ganz.size());

  QString aus;
  bool ausgegeben = false;
  auto stelle = [&](int j) {  // digit j counted from the right, 0 = ones
    aus += QLatin1Char(j < laenge ? ganz[size_t(laenge - 1 - j)] : '0');
    if (gruppieren && j > 0 && j % 3 == 0) aus += u'.';
    ausgegeben = true;
  };
  int platz = 0;
  for (int i = 0; i < ganzEnde; ++i) {
    const Element& e = el[size_t(i)];
    if (e.platzhalter()) {
      const int j = ganzStellen - 1 - platz;
      if (platz == 0)  // digits beyond the placeholders all go to the first one
        for (int k = laenge - 1; k > j; --k) stelle(k);
      if (j < laenge || e.art == Art::Null || ausgegeben) stelle(j);
      ++platz;
    } else if (e.art == Art::Text) {
      aus += e.text;
    } else if (e.art == Art::Prozent) {
      aus += u'%';
    }
  }
  if (ganzStellen == 0 && (posPunkt >= 0 || posExp >= 0))
    for (int k = laenge - 1; k >= 0; --k) stelle(k);

  if (posPunkt >= 0) {
    aus += u',';
    int gezeigt = bruchPflicht;
    for (int i = bruchStellen - 1; i >= bruchPflicht; --i)
      if (d.an(d.punkt + i) != '0') {
        gezeigt = i + 1;
        break;
      }
    int stelleNr = 0;
    for (int i = posPunkt + 1; i < bruchEnde; ++i) {
      const Element& e = el[size_t(i)];
      if (e.platzhalter()) {
        if (stelleNr < gezeigt) aus += QLatin1Char(d.an(d.punkt + stelleNr));
        ++stelleNr;
      } else if (e.art == Art::Text) {
        aus += e.text;
      } else if (e.art == Art::Prozent) {
        aus += u'%';
      } else if (e.art == Art::Punkt) {
        aus += u'.';
      }
    }
  }

  if (posExp >= 0) {
    const QString& e = el[size_t(posExp)].text;
    aus += e[0];
    if (exponent < 0) aus += u'-';
    else if (e[1] == u'+') aus += u'+';
    bool zahlGeschrieben = false;
    for (int i = posExp + 1; i < anzahl; ++i) {
      const Element& x = el[size_t(i)];
      if (x.platzhalter()) {
        if (!zahlGeschrieben && (exponent != 0 || expPflicht > 0))
          aus += QString::number(std::abs(exponent)).rightJustified(expPflicht, u'0');
        zahlGeschrieben = true;
      } else if (x.art == Art::Text) {
        aus += x.text;
      } else if (x.art == Art::Prozent) {
        aus += u'%';
      } else if (x.art == Art::Punkt) {
        aus += u'.';
      }
    }
  }
  return aus;
}

// The general form with the German decimal comma, as the runtime's text conversion gave it
// under German settings: "0,5", "-1,25", "1E+16".
QString AllgemeinDeutsch(double wert) {
  QString t = ZahlText(wert);
  t.replace(u'.', u',');
  if (t.startsWith(u',')) t.prepend(u'0');
  else if (t.startsWith(QLatin1String("-,"))) t.insert(1, u'0');
  return t;
}

// ---------------------------------------------------------------------------------------------
// Dates

QString Zweistellig(int v) { return QString::number(v).rightJustified(2, u'0'); }

int Wochentag1(const QDate& d) { return d.dayOfWeek() % 7 + 1; }  // Sunday = 1

// Week of the year as the runtime counted it by default: the week holding 1 January is week 1,
// weeks begin on Sunday.
int WocheDesJahres(const QDate& d) {
  const int wtNeujahr = Wochentag1(QDate(d.year(), 1, 1));
  return (d.dayOfYear() - 1 + wtNeujahr - 1) / 7 + 1;
}

QString KurzesDatum(const QDate& d) {
  return Zweistellig(d.day()) + u'.' + Zweistellig(d.month()) + u'.' +
         QString::number(d.year()).rightJustified(4, u'0');
}
QString LangesDatum(const QDate& d) {
  return QString::fromUtf16(kTage[Wochentag1(d) - 1]) + QLatin1String(", ") +
         QString::number(d.day()) + QLatin1String(". ") +
         QString::fromUtf16(kMonate[d.month() - 1]) + u' ' + QString::number(d.year());
}
QString LangeZeit(const QTime& z) {
  return Zweistellig(z.hour()) + u':' + Zweistellig(z.minute()) + u':' + Zweistellig(z.second());
}

int LaufLaenge(const QString& m, int i) {
  const QChar c = m[i].toLower();
  int n = 1;
  while (i + n < m.size() && m[i + n].toLower() == c) ++n;
  return n;
}

QString DatumMitMuster(const QDate& datum, const QTime& zeit, const QString& muster) {
  const QString name = muster.trimmed().toLower();
  if (name == QLatin1String("general date")) {
    // Day 0 shows only the time (so the value 0 reads "00:00:00"), midnight only the date.
    if (datum == kSerienNull) return LangeZeit(zeit);
    const bool ohneZeit = QTime(zeit.hour(), zeit.minute(), zeit.second()) == QTime(0, 0);
    return ohneZeit ? KurzesDatum(datum) : KurzesDatum(datum) + u' ' + LangeZeit(zeit);
  }
  if (name == QLatin1String("long date")) return LangesDatum(datum);
  if (name == QLatin1String("short date")) return KurzesDatum(datum);
  if (name == QLatin1String("long time")) return LangeZeit(zeit);
  if (name == QLatin1String("short time"))
    return Zweistellig(zeit.hour()) + u':' + Zweistellig(zeit.minute());

  QString aus;
  bool nachStunde = false;  // "m"/"mm" right after "h"/"hh" means minutes
  const int n = int(muster.size());
  for (int i = 0; i < n;) {
    const QChar c = muster[i];
    const char16_t k = c.toLower().unicode();
    if (c == u'"') {
      int ende = muster.indexOf(u'"', i + 1);
      if (ende < 0) ende = n;
      aus += muster.mid(i + 1, ende - i - 1);
      i = ende + 1;
      continue;
    }
    if (c == u'\\') {
      if (i + 1 < n) aus += muster[i + 1];
      i += 2;
      continue;
    }
    const int lauf = LaufLaenge(muster, i);
    int genommen = 1;
    switch (k) {
      case u'd':
        genommen = std::min(lauf, 6);
        switch (genommen) {
          case 1: aus += QString::number(datum.day()); break;
          case 2: aus += Zweistellig(datum.day()); break;
          case 3: aus += QString::fromUtf16(kTageKurz[Wochentag1(datum) - 1]); break;
          case 4: aus += QString::fromUtf16(kTage[Wochentag1(datum) - 1]); break;
          case 5: aus += KurzesDatum(datum); break;
          default: aus += LangesDatum(datum); break;
        }
        nachStunde = false;
        break;
      case u'm':
        genommen = std::min(lauf, 4);
        if (genommen <= 2 && nachStunde) {
          aus += genommen == 1 ? QString::number(zeit.minute()) : Zweistellig(zeit.minute());
        } else {
          switch (genommen) {
            case 1: aus += QString::number(datum.month()); break;
            case 2: aus += Zweistellig(datum.month()); break;
            case 3: aus += QString::fromUtf16(kMonateKurz[datum.month() - 1]); break;
            default: aus += QString::fromUtf16(kMonate[datum.month() - 1]); break;
          }
        }
        nachStunde = false;
        break;
      case u'y':
        genommen = lauf >= 4 ? 4 : (lauf >= 2 ? 2 : 1);
        if (genommen == 4) aus += QString::number(datum.year()).rightJustified(4, u'0');
        else if (genommen == 2) aus += Zweistellig(datum.year() % 100);
        else aus += QString::number(datum.dayOfYear());  // "y" alone: day of the year
        nachStunde = false;
        break;
      case u'h':
        genommen = std::min(lauf, 2);
        aus += genommen == 1 ? QString::number(zeit.hour()) : Zweistellig(zeit.hour());
        nachStunde = true;
        break;
      case u'n':
        genommen = std::min(lauf, 2);
        aus += genommen == 1 ? QString::number(zeit.minute()) : Zweistellig(zeit.minute());
        nachStunde = false;
        break;
      case u's':
        genommen = std::min(lauf, 2);
        aus += genommen == 1 ? QString::number(zeit.second()) : Zweistellig(zeit.second());
        nachStunde = false;
        break;
      case u'q':
        aus += QString::number((datum.month() - 1) / 3 + 1);
        nachStunde = false;
        break;
      case u'w':
        genommen = std::min(lauf, 2);
        aus += QString::number(genommen == 1 ? Wochentag1(datum) : WocheDesJahres(datum));
        nachStunde = false;
        break;
      default:
        aus += c;  // separators and any other character stand for themselves
        break;
    }
    i += genommen;
  }
  return aus;
}

// ---------------------------------------------------------------------------------------------
// Date reading

int Jahr(const QString& text) {
  if (text.isEmpty()) return Plattform::Jetzt().date().year();
  const int j = text.toInt();
  if (text.size() <= 2) return j < 30 ? 2000 + j : 1900 + j;
  return j >= 100 ? j : -1;  // the runtime's dates begin with the year 100
}

int MonatAusName(const QString& name) {
  QString n = name;
  if (n.endsWith(u'.')) n.chop(1);
  for (int i = 0; i < 12; ++i)
    if (n.compare(QString::fromUtf16(kMonate[i]), Qt::CaseInsensitive) == 0 ||
        n.compare(QString::fromUtf16(kMonateKurz[i]), Qt::CaseInsensitive) == 0)
      return i + 1;
  return 0;
}

bool ZeitAus(const QRegularExpressionMatch& m, int erste, QTime& zeit) {
  if (!m.hasCaptured(erste)) {
    zeit = QTime(0, 0);
    return true;
  }
  const int h = m.captured(erste).toInt(), n = m.captured(erste + 1).toInt();
  const int s = m.hasCaptured(erste + 2) ? m.captured(erste + 2).toInt() : 0;
  if (h > 23 || n > 59 || s > 59) return false;
  zeit = QTime(h, n, s);
  return true;
}

}  // namespace

// ---------------------------------------------------------------------------------------------

QString Format(double wert, const QString& muster) {
  if (!std::isfinite(wert)) {
    qDebug() << "Format: Wert nicht endlich";
    wert = 0;
  }
  if (muster.isEmpty()) return AllgemeinDeutsch(wert);
  const QStringList abschnitte = Abschnitte(muster);
  QString abschnitt = abschnitte[0];
  bool minus = false;
  if (wert < 0) {
    // A negative section of its own shows the value without sign; otherwise the positive
    // section gets a leading "-".
    if (abschnitte.size() > 1 && !abschnitte[1].isEmpty()) abschnitt = abschnitte[1];
    else minus = true;
  } else if (wert == 0 && abschnitte.size() > 2 && !abschnitte[2].isEmpty()) {
    abschnitt = abschnitte[2];
  }
  if (abschnitt.isEmpty()) return AllgemeinDeutsch(wert);
  bool istNull = false;
  QString t = ZahlAbschnitt(std::fabs(wert), ZahlMusterZerlegen(abschnitt), istNull);
  // -0.001 with "0.00" shows "0,00", not "-0,00".
  if (minus && !istNull) t.prepend(u'-');
  return t;
}

QString Format(const QDateTime& wert, const QString& muster) {
  if (!wert.isValid()) return {};
  return DatumMitMuster(wert.date(), wert.time(), muster.isEmpty() ? QStringLiteral("General Date") : muster);
}

QString Format(const QDate& wert, const QString& muster) {
  if (!wert.isValid()) return {};
  return DatumMitMuster(wert, QTime(0, 0), muster.isEmpty() ? QStringLiteral("General Date") : muster);
}

QString MonatsName(int monat, bool kurz) {
  if (monat < 1 || monat > 12) return {};
  return QString::fromUtf16(kurz ? kMonateKurz[monat - 1] : kMonate[monat - 1]);
}

QString WochentagsName(int wochentag, bool kurz) {
  if (wochentag < 1 || wochentag > 7) return {};
  return QString::fromUtf16(kurz ? kTageKurz[wochentag - 1] : kTage[wochentag - 1]);
}

int Wochentag(const QDate& datum) { return datum.isValid() ? Wochentag1(datum) : 0; }

QDateTime DatumLesen(const QString& text, bool* ok) {
  static const QString zeitTeil = QStringLiteral(R"((?:\s+(\d{1,2}):(\d{1,2})(?::(\d{1,2}))?)?)");
  static const QRegularExpression nurZeit(QStringLiteral(R"(^(\d{1,2}):(\d{1,2})(?::(\d{1,2}))?$)"));
  static const QRegularExpression punkte(
      QStringLiteral(R"(^(\d{1,2})\.(\d{1,2})\.(\d{1,4})?)") + zeitTeil + u'$');
  static const QRegularExpression monatsName(
      QStringLiteral(R"(^(\d{1,2})\.?\s*(\p{L}+\.?)\s*(\d{1,4})?)") + zeitTeil + u'$');
  static const QRegularExpression iso(
      QStringLiteral(R"(^(\d{4})-(\d{1,2})-(\d{1,2}))") + zeitTeil + u'$');

  const QString t = text.trimmed();
  QDate datum;
  QTime zeit;
  bool gut = false;
  QRegularExpressionMatch m;
  if ((m = nurZeit.match(t)).hasMatch()) {
    datum = kSerienNull;  // a time alone lies on day 0
    gut = ZeitAus(m, 1, zeit);
  } else if ((m = punkte.match(t)).hasMatch()) {
    datum = QDate(Jahr(m.captured(3)), m.captured(2).toInt(), m.captured(1).toInt());
    gut = ZeitAus(m, 4, zeit);
  } else if ((m = monatsName.match(t)).hasMatch()) {
    const int monat = MonatAusName(m.captured(2));
    if (monat > 0) datum = QDate(Jahr(m.captured(3)), monat, m.captured(1).toInt());
    gut = ZeitAus(m, 4, zeit);
  } else if ((m = iso.match(t)).hasMatch()) {
    datum = QDate(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
    gut = ZeitAus(m, 4, zeit);
  }
  gut = gut && datum.isValid() && datum.year() >= 100 && datum.year() <= 9999;
  if (ok) *ok = gut;
  return gut ? QDateTime(datum, zeit) : QDateTime();
}

bool IstDatum(const QString& text) {
  bool ok = false;
  DatumLesen(text, &ok);
  return ok;
}

QDate MonateAddieren(const QDate& datum, int monate) {
  return datum.isValid() ? datum.addMonths(monate) : QDate();  // addMonths clamps the day
}

double DatumZuSerie(const QDateTime& wert) {
  if (!wert.isValid()) {
    qDebug() << "DatumZuSerie: kein gültiges Datum";
    return 0;
  }
  const qint64 tage = kSerienNull.daysTo(wert.date());
  const double bruch = double(wert.time().msecsSinceStartOfDay()) / kMsProTag;
  // Before day 0 the time of day still counts away from zero: -1.25 is 29.12.1899 06:00.
  return tage < 0 ? double(tage) - bruch : double(tage) + bruch;
}

QDateTime SerieZuDatum(double serie) {
  // The runtime's dates run from 01.01.100 to 31.12.9999.
  if (!std::isfinite(serie) || serie <= -657435.0 || serie >= 2958466.0) return {};
  double ganz = std::trunc(serie);
  qint64 ms = std::llround(std::fabs(serie - ganz) * kMsProTag);
  if (ms >= kMsProTag) {  // rounded up to midnight: the next day away from zero
    ms = 0;
    ganz += serie < 0 ? -1 : 1;
  }
  // -0.25 and 0.25 both mean 30.12.1899 06:00.
  const QDate datum = kSerienNull.addDays(qint64(ganz));
  if (!datum.isValid() || datum.year() < 100 || datum.year() > 9999) return {};
  return QDateTime(datum, QTime::fromMSecsSinceStartOfDay(int(ms)));
}

bool PasstMuster(const QString& name, const QString& muster) {
  // Like the Windows file search: a trailing ".*" also fits names without a dot, so "*.*"
  // means every file.
  if (muster.endsWith(QLatin1String(".*")) && PasstMuster(name, muster.chopped(2))) return true;
  const QList<uint> n = name.toUcs4(), m = muster.toUcs4();
  auto gleich = [](uint a, uint b) { return a == b || QChar::toCaseFolded(a) == QChar::toCaseFolded(b); };
  qsizetype i = 0, j = 0, sternJ = -1, sternI = 0;
  while (i < n.size()) {
    if (j < m.size() && m[j] == u'*') {
      sternJ = j++;
      sternI = i;
    } else if (j < m.size() && (m[j] == u'?' || gleich(m[j], n[i]))) {
      ++i;
      ++j;
    } else if (sternJ >= 0) {  // let the last "*" take one more character
      j = sternJ + 1;
      i = ++sternI;
    } else {
      return false;
    }
  }
  while (j < m.size() && m[j] == u'*') ++j;
  return j == m.size();
}

QStringList DateienSuchen(const QString& ordner, const QString& muster) {
  const QDir dir(ordner.isEmpty() ? Plattform::System().aktuellerOrdner() : ordner);
  if (!dir.exists()) return {};
  QStringList treffer;
  // Hidden files stay out: a file the user or the desktop hid is no match for a pattern.
  for (const QString& name : dir.entryList(QDir::Files | QDir::NoDotAndDotDot))
    if (PasstMuster(name, muster)) treffer << name;
  std::sort(treffer.begin(), treffer.end(), [](const QString& a, const QString& b) {
    const int c = a.compare(b, Qt::CaseInsensitive);
    return c != 0 ? c < 0 : a < b;
  });
  return treffer;
}

}  // namespace Laufzeit
