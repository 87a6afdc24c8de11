// The general number-to-text form and the longest-leading-number reading.
#include "laufzeit.h"

#include <QDebug>
#include <cmath>
#include <charconv>
#include <system_error>
#include <string>

namespace Laufzeit {

QString ZahlText(double wert) {
  if (!std::isfinite(wert)) {
    qDebug() << "ZahlText: Wert nicht endlich";
    return QStringLiteral("0");
  }
  if (wert == 0) return QStringLiteral("0");  // also -0
  // to_chars ignores the C library's locale, which Qt sets from the environment.
  char puffer[64];
  const auto r = std::to_chars(puffer, puffer + sizeof puffer, wert, std::chars_format::general, 15);
  std::string s(puffer, r.ptr);
  for (char& c : s)
    if (c == 'e') c = 'E';
  // "0.5" -> ".5", "-0.5" -> "-.5"
  if (s.rfind("0.", 0) == 0) s.erase(0, 1);
  else if (s.rfind("-0.", 0) == 0) s.erase(1, 1);
  return QString::fromLatin1(s.data(), int(s.size()));
}

QString Str(double wert) {
  QString t = ZahlText(wert);
  if (!t.startsWith(QLatin1Char('-'))) t.prepend(QLatin1Char(' '));
  return t;
}

double Val(const QString& text, int* gelesen) {
  std::string zahl;
  zahl.reserve(32);
  const int n = int(text.size());
  int i = 0;
  int ende = 0;  // characters consumed up to the last accepted character
  auto leer = [](QChar c) { return c == u' ' || c == u'\t' || c == u'\n'; };
  auto ueberspringen = [&] { while (i < n && leer(text[i])) ++i; };

  ueberspringen();
  if (i < n && (text[i] == u'-' || text[i] == u'+')) {
    zahl += char(text[i].unicode());
    ++i;
  }
  bool ziffern = false, punkt = false;
  for (;;) {
    ueberspringen();
    if (i >= n) break;
    const QChar c = text[i];
    if (c >= u'0' && c <= u'9') {
      zahl += char(c.unicode());
      ziffern = true;
      ende = ++i;
    } else if (c == u'.' && !punkt) {
      zahl += '.';
      punkt = true;
      ++i;
      if (ziffern) ende = i;
    } else {
      break;
    }
  }
  if (!ziffern) {
    if (gelesen) *gelesen = 0;
    return 0.0;
  }
  // Exponent: "E" or "D", optional sign, at least one digit.
  if (i < n && (text[i] == u'E' || text[i] == u'e' || text[i] == u'D' || text[i] == u'd')) {
    int j = i + 1;
    std::string exp = "E";
    while (j < n && leer(text[j])) ++j;
    if (j < n && (text[j] == u'-' || text[j] == u'+')) exp += char(text[j++].unicode());
    bool expZiffern = false;
    for (;;) {
      while (j < n && leer(text[j])) ++j;
      if (j < n && text[j] >= u'0' && text[j] <= u'9') {
        exp += char(text[j].unicode());
        expZiffern = true;
        ende = ++j;
      } else {
        break;
      }
    }
    if (expZiffern) zahl += exp;
  }
  if (gelesen) *gelesen = ende;
  // from_chars ignores the locale; it reports out-of-range values instead of giving inf.
  if (zahl[0] == '+') zahl.erase(0, 1);
  double wert = 0;
  const auto r = std::from_chars(zahl.data(), zahl.data() + zahl.size(), wert);
  if (r.ec == std::errc::result_out_of_range) {
    // Too large or too small: the decimal magnitude tells which ("400 digits E-5" is large).
    const bool negativ = zahl[0] == '-';
    const auto e = zahl.find('E');
    const std::string mantisse = zahl.substr(0, e);
    long long groesse = 0;  // position of the first significant digit relative to the point
    const auto punkt = mantisse.find('.');
    const auto erste = mantisse.find_first_of("123456789");
    if (erste != std::string::npos) {
      const auto bezug = punkt == std::string::npos ? mantisse.size() : punkt;
      groesse = erste < bezug ? (long long)(bezug - erste) : -(long long)(erste - bezug) + 1;
    }
    if (e != std::string::npos) {
      // Leading zeros carry nothing; digits beyond twelve cannot change the verdict.
      const std::string exp = zahl.substr(e + 1);
      const auto ziffern = exp.find_first_not_of("+-");
      const auto bedeutend = exp.find_first_not_of('0', ziffern);
      if (bedeutend != std::string::npos)
        groesse += std::stoll(exp.substr(0, ziffern) + exp.substr(bedeutend, 12));
    }
    if (groesse <= 0) return negativ ? -0.0 : 0.0;
    return negativ ? -HUGE_VAL : HUGE_VAL;
  }
  return wert;
}

}  // namespace Laufzeit
