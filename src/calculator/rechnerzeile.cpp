#include "calculator/rechnerzeile.h"

#include <QDate>
#include <QRegularExpression>
#include <QTime>
#include <cmath>

#include "calculator/qpro.h"
#include "platform/laufzeit.h"
#include "platform/system.h"

namespace RechnerZeile {

using Z_Evaluate2::Fehler;

namespace {

constexpr qint64 GroessteGanzzahl = 2147483647;

// Named constants, found in any letter case. Each goes in brackets, so "90/_PIG" divides by
// the whole factor and not only by PI.
struct Konstante {
  const char* name;
  const char* ersatz;
};
constexpr Konstante Konstanten[] = {
    {"_PIG", "(PI/180)"},          {"_AVO", "(6,022045*10^23)"}, {"_PW", "(6,625*10^-34)"},
    {"_AE", "(149598817055)"},     {"_LJ", "(9460500000000000)"}, {"_LM", "(17987109285)"},
};

bool ziffer(QChar c) { return c >= u'0' && c <= u'9'; }

// The general number form with "." and a "0" before the point (".5" would read the same, but
// this is what a user sees in the line afterwards).
QString allgemein(double wert) {
  QString t = Laufzeit::ZahlText(wert);
  if (t.startsWith(u'.')) t.prepend(u'0');
  else if (t.startsWith(QLatin1String("-."))) t.insert(1, u'0');
  return t;
}

// Leading number of a text; an exponent beyond the double range makes ok false.
double zahl(const QString& text, bool& ok) {
  const double w = Laufzeit::Val(text);
  if (!std::isfinite(w)) {
    ok = false;
    return 0;
  }
  return w;
}

// d.m.yyyy or dd.mm.yyyy, optionally with " hh:mm" or " hh:mm:ss"; surrounding blanks allowed.
bool datumLesen(const QString& text, QDate& datum, QTime& zeit) {
  static const QRegularExpression muster(QStringLiteral(
      "^\\s*(\\d{1,2})\\.(\\d{1,2})\\.(\\d{4})(?: +(\\d{1,2}):(\\d{2})(?::(\\d{2}))?)?\\s*$"));
  const QRegularExpressionMatch m = muster.match(text);
  if (!m.hasMatch()) return false;
  datum = QDate(m.captured(3).toInt(), m.captured(2).toInt(), m.captured(1).toInt());
  if (!datum.isValid()) return false;
  zeit = QTime(0, 0);
  if (m.hasCaptured(4)) {
    const int h = m.captured(4).toInt(), n = m.captured(5).toInt();
    const int s = m.hasCaptured(6) ? m.captured(6).toInt() : 0;
    if (h > 23 || n > 59 || s > 59) return false;
    zeit = QTime(h, n, s);
  }
  return true;
}

}  // namespace

QString ZahlTextKomma(double wert) { return allgemein(wert).replace(u'.', u','); }

QString Einzeilig(QString text) {
  text.replace(QLatin1String("\r\n"), QLatin1String(" "));
  text.replace(u'\r', u' ');
  text.replace(u'\n', u' ');
  return text;
}

QString& ZeitAngabenErsetzen(QString& s, bool* ok) {
  bool gut = true;
  for (int durchlauf = 1; s.contains(u'"') || s.contains(u'\''); ++durchlauf) {
    if (durchlauf > 99) break;
    // Anchored at the first apostrophe, or at the first double quote when there is none.
    qsizetype p = s.indexOf(u'\'');
    if (p < 0) p = s.indexOf(u'"');
    qsizetype a = p;
    while (a > 0 && (ziffer(s[a - 1]) || s[a - 1] == u'.')) --a;
    qsizetype b = p + 1;
    while (b < s.size() && (ziffer(s[b]) || s[b] == u'"')) ++b;
    QString t = s.mid(a, b - a);
    double stunden = 0, minuten = 0, sekunden = 0;
    qsizetype i = t.indexOf(u'.');
    if (i >= 0) {
      stunden = zahl(t.left(i), gut);
      t.remove(0, i + 1);
    }
    i = t.indexOf(u'\'');
    if (i >= 0) {
      minuten = zahl(t.left(i), gut);
      t.remove(0, i + 1);
    }
    i = t.indexOf(u'"');
    if (i >= 0) sekunden = zahl(t.left(i), gut);
    const double wert = stunden + minuten / 60 + sekunden / 3600;
    if (!gut || !std::isfinite(wert)) {
      gut = false;
      break;
    }
    // Only the literal found: a replace-all would also hit "5'" inside "15'".
    s.replace(a, b - a, allgemein(wert));
  }
  if (ok) *ok = gut;
  return s;
}

qint32 ZahlAusBasis(QString& ziffern, int basis, bool* ok) {
  static const QString Werte = QStringLiteral("123456789abcdefghijklmnop");
  ziffern = ziffern.toLower();
  qint64 summe = 0;
  const qsizetype n = ziffern.size();
  for (qsizetype i = n - 1; i >= 0; --i) {
    const qsizetype wert = Werte.indexOf(ziffern[i]) + 1;
    if (wert == 0) continue;
    const double stelle = double(wert) * std::pow(double(basis), double(n - 1 - i));
    if (stelle > double(GroessteGanzzahl) || summe + qint64(stelle) > GroessteGanzzahl) {
      if (ok) *ok = false;
      return 0;
    }
    summe += qint64(stelle);
  }
  if (ok) *ok = true;
  return qint32(summe);
}

QString& BasisZahlenErsetzen(QString& s, bool* ok) {
  if (ok) *ok = true;
  struct Art {
    const char16_t* praefixe;
    QLatin1String ziffern;
    int basis;
  };
  const Art arten[] = {{u"$&", QLatin1String("0123456789abcdefABCDEF"), 16},
                       {u"%", QLatin1String("01"), 2}};
  for (const Art& art : arten) {
    for (;;) {
      qsizetype p = -1;
      for (const char16_t* z = art.praefixe; *z && p < 0; ++z) p = s.indexOf(QChar(*z));
      if (p < 0) break;
      // The first character after the prefix always belongs to the digits.
      qsizetype ende = qMin(p + 2, s.size());
      while (ende < s.size() && art.ziffern.contains(s[ende])) ++ende;
      QString ziffern = s.mid(p + 1, ende - p - 1);
      bool gut = true;
      const qint32 wert = ZahlAusBasis(ziffern, art.basis, &gut);
      if (!gut) {
        if (ok) *ok = false;
        return s;
      }
      s.replace(p, ende - p, QString::number(wert));
    }
  }
  return s;
}

QString& DatumsKlammernErsetzen(QString& s) {
  for (;;) {
    const qsizetype a = s.indexOf(u'{'), b = s.indexOf(u'}');
    if (a < 0 || b <= a) break;
    QString c = s.mid(a + 1, b - a - 1);
    if (c.toLower() == QLatin1String("heute"))
      c = Plattform::Jetzt().date().toString(QStringLiteral("dd.MM.yyyy"));
    QDate datum;
    QTime zeit;
    if (datumLesen(c, datum, zeit)) {
      const double tage = double(QDate(1901, 1, 1).daysTo(datum)) + zeit.msecsSinceStartOfDay() / 86400000.0;
      c = allgemein(tage) + u' ';
    }
    s.replace(a, b - a + 1, c);
  }
  return s;
}

QString AusdruckBilden(const QString& zeile, Fehler* fehler) {
  if (fehler) *fehler = Fehler::Keiner;
  if (zeile.size() > Z_Evaluate2::MaxLaenge) {
    if (fehler) *fehler = Fehler::Laenge;
    return zeile;
  }
  QString s = zeile;
  for (const Konstante& k : Konstanten)
    s.replace(QLatin1String(k.name), QLatin1String(k.ersatz), Qt::CaseInsensitive);
  s.replace(u',', u'.');
  bool ok = true;
  ZeitAngabenErsetzen(s, &ok);
  if (ok) BasisZahlenErsetzen(s, &ok);
  if (!ok) {
    if (fehler) *fehler = Fehler::Ueberlauf;
    return s;
  }
  return DatumsKlammernErsetzen(s);
}

QString BruchText(double r) {
  QString text;
  for (int nenner = 9; nenner >= 2; --nenner)
    for (int zaehler = 1; zaehler < nenner; ++zaehler) {
      const double abstand = std::fabs(r - double(zaehler) / nenner);
      if (abstand > 0.05) continue;
      text += QStringLiteral("  ");
      if (abstand > 0.01) text += u'~';
      text += QStringLiteral("%1/%2").arg(zaehler).arg(nenner);
    }
  return text;
}

Ergebnis Berechnen(const QString& eingabe, const QString& zahlenFormat) {
  Ergebnis e;
  const QString zeile = Einzeilig(eingabe);

  Fehler fehler = Fehler::Keiner;
  e.ausdruck = AusdruckBilden(zeile, &fehler);
  double wert = 0;
  if (fehler == Fehler::Keiner) {
    QString s = e.ausdruck;
    wert = Z_Evaluate2::Evaluate(s, &fehler);
  }
  e.verlauf << QStringLiteral(" ") + zeile + QStringLiteral(" =");

  if (fehler != Fehler::Keiner) {
    // Never shown as the result 0: the reason goes where the result would be, and the typed
    // line stays in the box for correction.
    e.fehler = fehler;
    e.meldung = NichtBerechenbar + QStringLiteral(": ") + Z_Evaluate2::FehlerText(fehler);
    e.verlauf << e.meldung;
    e.text = eingabe;
    e.bezDez = NichtBerechenbar;
    e.titel = zeile.trimmed() + TitelZusatz;
    return e;
  }

  e.berechnet = true;
  e.wert = wert;
  const QString formatiert = Laufzeit::Format(wert, zahlenFormat);
  e.verlauf << formatiert;
  e.text = ZahlTextKomma(wert);
  e.textMarkieren = true;
  e.bezDez = formatiert;
  if (wert > 0 && wert == std::floor(wert) && wert <= double(GroessteGanzzahl)) {
    e.bezHex = QStringLiteral("$") + QString::number(qint64(wert), 16).toUpper();
    e.bezBin = QStringLiteral("%") + QPro::Num2Bin2(qint32(wert));
  }
  if (wert > 0 && wert < 1) e.bezBin = BruchText(wert);
  e.titel = e.text.trimmed() + TitelZusatz;
  return e;
}

}  // namespace RechnerZeile
