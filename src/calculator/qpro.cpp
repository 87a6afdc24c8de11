#include "calculator/qpro.h"

#include <QDate>
#include <array>

#include "platform/system.h"

namespace QPro {

QString Compact(QStringView text) {
  QString ergebnis;
  ergebnis.reserve(text.size());
  for (QChar c : text)
    if (c != u' ') ergebnis.append(c);
  return ergebnis;
}

int Date2Num(QStringView datum) {
  // Fixed layout: two digits each for month and day, four for the year, joined by "-".
  if (datum.size() != 10 || datum[2] != u'-' || datum[5] != u'-') return 0;
  auto zahl = [&](int von, int laenge, bool* ok) {
    int wert = 0;
    for (int i = von; i < von + laenge; ++i) {
      const QChar c = datum[i];
      if (c < u'0' || c > u'9') {
        *ok = false;
        return 0;
      }
      wert = wert * 10 + (c.unicode() - u'0');
    }
    return wert;
  };
  bool ok = true;
  const int monat = zahl(0, 2, &ok), tag = zahl(3, 2, &ok), jahr = zahl(6, 4, &ok);
  const QDate d(jahr, monat, tag);
  if (!ok || !d.isValid()) return 0;
  return int(QDate(1901, 1, 1).daysTo(d));
}

int InCount(QStringView text, QStringView teil) {
  if (teil.isEmpty()) return 0;
  int anzahl = 0;
  for (qsizetype p = text.indexOf(teil); p >= 0; p = text.indexOf(teil, p + teil.size())) ++anzahl;
  return anzahl;
}

int ASCII(QStringView text) { return text.isEmpty() ? 0 : text[0].unicode(); }

int PMatch(QStringView text) {
  const qsizetype auf = text.indexOf(u'(');
  if (auf < 0) return 0;
  qsizetype tiefe = 0;
  for (qsizetype i = auf; i < text.size(); ++i) {
    if (text[i] == u'(') {
      ++tiefe;
    } else if (text[i] == u')') {
      if (--tiefe == 0) return int(i + 1);
    }
  }
  return 0;
}

double Factorial(int n) {
  // Built once; the products are taken in extended precision, so that 100! and 170! round to
  // the double nearest the true value (plain double products drift in the last digit).
  static const std::array<double, 171> tabelle = [] {
    std::array<double, 171> t{};
    long double produkt = 1;
    for (int i = 0; i <= 170; ++i) {
      if (i > 0) produkt *= i;
      t[i] = double(produkt);
    }
    return t;
  }();
  return n >= 0 && n <= 170 ? tabelle[n] : 0.0;
}

int QInstrB(int start, QStringView text, QStringView teil) {
  if (start < 1 || teil.isEmpty() || text.isEmpty()) return 0;
  const qsizetype von = qMin<qsizetype>(start - 1, text.size() - 1);
  return int(text.lastIndexOf(teil, von) + 1);
}

QString Num2Bin2(qint32 zahl) {
  quint32 rest = quint32(zahl);
  if (rest == 0) return QStringLiteral("0");
  QString ziffern;
  while (rest) {
    ziffern.prepend(rest & 1 ? u'1' : u'0');
    rest >>= 1;
  }
  return ziffern;
}

QString GetVol(const QString& laufwerk) { return Plattform::System().datentraegerName(laufwerk); }

}  // namespace QPro
