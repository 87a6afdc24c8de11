// The expression evaluator as a text rewriter. Positions below are 0-based indices into the
// working text; "left part" and "right part" are the untouched text around an operation.
#include "calculator/z_evaluate2.h"

#include <QDate>
#include <cmath>

#include "calculator/qpro.h"
#include "platform/laufzeit.h"
#include "platform/system.h"

namespace Z_Evaluate2 {

namespace {

// Ends the evaluation at any depth; caught once in Evaluate. Refusals mark the caller's text,
// faults do not.
struct Abbruch {
  Fehler fehler;
  bool ablehnung;
};

[[noreturn]] void ablehnen(Fehler f) { throw Abbruch{f, true}; }
[[noreturn]] void scheitern(Fehler f) { throw Abbruch{f, false}; }

const double HalbPi = 2 * std::atan(1.0);
const double Ln10 = std::log(10.0);

bool ziffer(QChar c) { return c >= u'0' && c <= u'9'; }
bool zahlZeichen(QChar c) { return ziffer(c) || c == u'.'; }
bool exponentBuchstabe(QChar c) { return c == u'D' || c == u'E'; }
// A "D" or "E" is an exponent letter only right behind a digit or "." — otherwise the D of
// "AND" would swallow the number in front of the next operator.
bool exponentBei(const QString& s, qsizetype i) {
  return i > 0 && exponentBuchstabe(s[i]) && zahlZeichen(s[i - 1]);
}

// ---- Number text ----------------------------------------------------------------------------

// The leading number of s[von, bis); a number beyond the double range is an overflow.
double lesen(const QString& s, qsizetype von, qsizetype bis) {
  if (von >= bis) return 0;
  const double w = Laufzeit::Val(QString::fromRawData(s.constData() + von, bis - von));
  if (!std::isfinite(w)) scheitern(Fehler::Ueberlauf);
  return w;
}
double lesen(const QString& s) { return lesen(s, 0, s.size()); }

double pruefen(double w) {
  if (std::isnan(w)) scheitern(Fehler::Argument);
  if (std::isinf(w)) scheitern(Fehler::Ueberlauf);
  return w;
}

// A plain number: the number text of its value is the text itself, or the text is that number
// text with "+" in front.
bool schlichteZahl(const QString& t, double* wert) {
  const double w = lesen(t);
  // No number text is longer than 22 characters, and each begins with a digit, "." or "-".
  if (t.isEmpty() || t.size() > 23) return false;
  for (QChar c : t)
    if (!zahlZeichen(c) && c != u'-' && c != u'+' && c != u'E') return false;
  const QString z = Laufzeit::ZahlText(w);
  if (t == z || (t.size() == z.size() + 1 && t[0] == u'+' && QStringView(t).mid(1) == z)) {
    *wert = w;
    return true;
  }
  return false;
}

// Replaces s[von, bis) by the number text of wert; true when that text is now the whole text.
bool zurueckschreiben(QString& s, qsizetype von, qsizetype bis, double wert) {
  pruefen(wert);
  const bool ganz = von == 0 && bis == s.size();
  s.replace(von, bis - von, Laufzeit::ZahlText(wert));
  return ganz;
}

// Rounding to the nearest 32-bit whole number, halves to the even neighbour.
qint64 ganzzahl(double x) {
  double f = std::floor(x);
  const double rest = x - f;
  if (rest > 0.5 || (rest == 0.5 && std::fmod(f, 2.0) != 0)) f += 1;
  if (f < -2147483648.0 || f > 2147483647.0) scheitern(Fehler::Ueberlauf);
  return qint64(f);
}

// ---- Operands --------------------------------------------------------------------------------

// Start of the number that ends right before the operator at op.
qsizetype linkerAnfang(const QString& s, qsizetype op) {
  qsizetype anfang = op;
  qsizetype vorzeichen = -1;  // a sign that belongs to the number while nothing further left does
  bool exponent = false;
  for (qsizetype i = op - 1; i >= 0; --i) {
    const QChar c = s[i];
    if (zahlZeichen(c)) {
      anfang = i;
    } else if (exponentBuchstabe(c)) {
      if (exponent || !exponentBei(s, i)) break;
      exponent = true;
      vorzeichen = -1;
      anfang = i;
    } else if (c == u'+' || c == u'-') {
      if (vorzeichen >= 0) return vorzeichen;
      if (i == 0) return 0;
      if (zahlZeichen(s[i - 1])) break;  // the previous operator
      vorzeichen = i;
      anfang = i;
    } else {
      break;
    }
  }
  return anfang;
}

struct Operand {
  double wert;
  qsizetype ende;  // first index of the right part
};

// The number that begins at ab: its value is the text's leading number; its end is found by
// walking over the characters a number text can hold.
Operand rechterOperand(const QString& s, qsizetype ab) {
  const qsizetype n = s.size();
  const double w = lesen(s, ab, n);
  qsizetype j = ab;
  if (j < n && (s[j] == u'+' || s[j] == u'-')) {
    // "-0" behind an operator stays in the right part.
    if ((s[j] == u'+' && w > 0) || (s[j] == u'-' && w < 0)) ++j;
    else return {w, j};
  }
  bool punkt = false;
  qsizetype exponent = -1;
  for (; j < n; ++j) {
    const QChar c = s[j];
    if (ziffer(c)) continue;
    if (c == u'.') {
      if (punkt) break;
      punkt = true;
    } else if (exponentBuchstabe(c)) {
      if (exponent >= 0 || !exponentBei(s, j)) break;
      exponent = j;
    } else if ((c == u'+' || c == u'-') && exponent >= 0 && exponent == j - 1) {
      continue;
    } else {
      break;
    }
  }
  return {w, j};
}

// ---- Checked arithmetic ----------------------------------------------------------------------

double teilen(double a, double b) {
  if (b == 0) scheitern(Fehler::DivisionDurchNull);
  return pruefen(a / b);
}
double ln(double x) {
  if (!(x > 0)) scheitern(Fehler::Argument);
  return std::log(x);
}
double wurzel(double x) {
  if (x < 0) scheitern(Fehler::Argument);
  return std::sqrt(x);
}
double ex(double x) { return pruefen(std::exp(x)); }
double mal(double a, double b) { return pruefen(a * b); }
double plus(double a, double b) { return pruefen(a + b); }
double sgn(double x) { return x > 0 ? 1 : x < 0 ? -1 : 0; }

double potenz(double basis, double exponent) {
  if (basis == 0 && exponent < 0) scheitern(Fehler::DivisionDurchNull);
  if (basis < 0 && exponent != std::trunc(exponent)) scheitern(Fehler::Argument);
  return pruefen(std::pow(basis, exponent));
}

// ---- Functions -------------------------------------------------------------------------------

// Every name comes before the shorter names it contains.
const char16_t* const FunktionsNamen[] = {
    u"ARCSINH", u"ARCCOSH", u"ARCTANH", u"ARCSECH", u"ARCCSCH", u"ARCCOTH", u"ARCSIN", u"ARCCOS",
    u"ARCSEC",  u"ARCCSC",  u"ARCCOT",  u"SINH",    u"TANH",    u"SECH",    u"CSCH",   u"COTH",
    u"SEC",     u"CSC",     u"COT",     u"SIN",     u"COS",     u"TAN",     u"ATN",    u"LOG",
    u"EXP",     u"SQR",     u"CLG",     u"ABS",     u"NOT"};
constexpr int FunktionsAnzahl = int(sizeof FunktionsNamen / sizeof FunktionsNamen[0]);

double funktionsWert(int nummer, double x) {
  const double betrag = std::fabs(x);
  switch (nummer) {
    case 0:  // ARCSINH
      return ln(plus(x, wurzel(plus(mal(x, x), 1))));
    case 1:  // ARCCOSH
      if (betrag < 1) ablehnen(Fehler::Argument);
      return ln(plus(x, wurzel(mal(x, x) - 1)));
    case 2:  // ARCTANH
      if (betrag == 1) ablehnen(Fehler::DivisionDurchNull);
      return ln(teilen(1 + x, 1 - x)) / 2;
    case 3:  // ARCSECH
      if (betrag > 1) ablehnen(Fehler::Argument);
      return ln(teilen(wurzel(1 - x * x) + 1, x));
    case 4:  // ARCCSCH
      if (x == 0) ablehnen(Fehler::DivisionDurchNull);
      return ln(teilen(sgn(x) * wurzel(plus(mal(x, x), 1)) + 1, x));
    case 5:  // ARCCOTH
      if (betrag == 1) ablehnen(Fehler::DivisionDurchNull);
      return ln(teilen(plus(x, 1), x - 1)) / 2;
    case 6:  // ARCSIN
      if (betrag > 1) ablehnen(Fehler::Argument);
      return std::atan(teilen(x, wurzel(1 - x * x)));
    case 7:  // ARCCOS
      if (betrag > 1) ablehnen(Fehler::Argument);
      return HalbPi - std::atan(teilen(x, wurzel(1 - x * x)));
    case 8:  // ARCSEC
      if (betrag <= 1) ablehnen(Fehler::Argument);
      return std::acos(1 / x);
    case 9:  // ARCCSC
      if (betrag <= 1) ablehnen(Fehler::Argument);
      return std::asin(1 / x);
    case 10:  // ARCCOT
      return HalbPi - std::atan(x);
    case 11:  // SINH
      return (ex(x) - ex(-x)) / 2;
    case 12:  // TANH
      return teilen(ex(x) - ex(-x), plus(ex(x), ex(-x)));
    case 13:  // SECH
      return teilen(2, plus(ex(x), ex(-x)));
    case 14:  // CSCH
      return teilen(2, ex(x) - ex(-x));
    case 15:  // COTH
      if (x == 0) ablehnen(Fehler::DivisionDurchNull);
      return teilen(plus(ex(x), ex(-x)), ex(x) - ex(-x));
    case 16:  // SEC
      if (betrag == HalbPi) ablehnen(Fehler::DivisionDurchNull);
      return teilen(1, std::cos(x));
    case 17:  // CSC
      if (x == 0) ablehnen(Fehler::DivisionDurchNull);
      return teilen(1, std::sin(x));
    case 18:  // COT
      if (betrag == HalbPi || x == 0) ablehnen(Fehler::DivisionDurchNull);
      return teilen(1, std::tan(x));
    case 19:  // SIN
      return std::sin(x);
    case 20:  // COS
      return std::cos(x);
    case 21:  // TAN
      if (betrag == HalbPi) ablehnen(Fehler::DivisionDurchNull);
      return std::tan(x);
    case 22:  // ATN
      return std::atan(x);
    case 23:  // LOG
      if (x <= 0) ablehnen(Fehler::Argument);
      return std::log(x);
    case 24:  // EXP
      return ex(x);
    case 25:  // SQR
      if (x < 0) ablehnen(Fehler::Argument);
      return std::sqrt(x);
    case 26:  // CLG
      if (x <= 0) ablehnen(Fehler::Argument);
      return std::log(x) / Ln10;
    case 27:  // ABS
      return betrag;
    default:  // NOT
      return double(~qint32(ganzzahl(x)));
  }
}

// ---- Stages ----------------------------------------------------------------------------------

double auswerten(QString s, int tiefe);

// Replaces every occurrence of name from the left, up to the first one that lies inside a quoted
// string (an odd number of double quotes before it). The replacement holds neither the name nor
// a quote, so one pass from the left gives what searching again from the start would.
void konstanteErsetzen(QString& s, QStringView name, const QString& ersatz) {
  qsizetype p = s.indexOf(name);
  if (p < 0) return;
  QString neu;
  qsizetype kopiert = 0;
  bool ungerade = false;
  while (p >= 0) {
    for (qsizetype i = kopiert; i < p; ++i)
      if (s[i] == u'"') ungerade = !ungerade;
    if (ungerade) break;
    neu.append(QStringView(s).mid(kopiert, p - kopiert)).append(ersatz);
    if (neu.size() > MaxLaenge) ablehnen(Fehler::Laenge);
    kopiert = p + name.size();
    p = s.indexOf(name, kopiert);
  }
  neu.append(QStringView(s).mid(kopiert));
  s = neu;
}

void konstanten(QString& s) {
  static const QString Pi = QStringLiteral("3.14159265358979323846");
  static const QString E = QStringLiteral("2.71828182845904523536");
  konstanteErsetzen(s, u"PI", Pi);
  konstanteErsetzen(s, u"e", E);
  if (s.contains(u"@TODAY")) {
    // Taken at each call: a program that runs past midnight gets the new day.
    const QDate heute = Plattform::Jetzt().date();
    const int tag = QPro::Date2Num(heute.toString(QStringLiteral("MM-dd-yyyy")));
    konstanteErsetzen(s, u"@TODAY", Laufzeit::ZahlText(tag));
  }
}

// Upper case character by character, so that no position moves ("ß" stays).
void grossSchreiben(QString& s) {
  QChar* d = s.data();
  for (qsizetype i = 0, n = s.size(); i < n; ++i) {
    const char16_t c = d[i].unicode();
    if (c >= u'a' && c <= u'z') d[i] = QChar(char16_t(c - 32));
    else if (c >= 0x80) d[i] = d[i].toUpper();
  }
}

void klammern(QString& s, int tiefe) {
  for (qsizetype ab = 0;;) {
    const qsizetype auf = s.indexOf(u'(', ab);
    if (auf < 0) return;
    const int zu = QPro::PMatch(QStringView(s).mid(auf));
    if (zu == 0) ablehnen(Fehler::Klammern);
    const qsizetype ende = auf + zu - 1;  // index of the ")"
    const QString innen = s.mid(auf + 1, ende - auf - 1);
    double w;
    if (!schlichteZahl(innen, &w)) w = auswerten(innen, tiefe + 1);
    zurueckschreiben(s, auf, ende + 1, w);
    ab = auf + 1;
  }
}

void funktionen(QString& s) {
  // Every function name holds a letter other than D and E; most lines hold none.
  bool buchstabe = false;
  for (QChar c : s)
    if (c >= u'A' && c <= u'Z' && c != u'D' && c != u'E') {
      buchstabe = true;
      break;
    }
  if (!buchstabe) return;
  for (int f = 0; f < FunktionsAnzahl; ++f) {
    const QStringView name(FunktionsNamen[f]);
    // A written-back number holds no letter but "E", so no new name can appear in front of p.
    for (qsizetype p = s.indexOf(name); p >= 0; p = s.indexOf(name, p)) {
      const Operand x = rechterOperand(s, p + name.size());
      zurueckschreiben(s, p, x.ende, funktionsWert(f, x.wert));
    }
  }
}

void fakultaeten(QString& s) {
  for (qsizetype p = s.indexOf(u'!'); p >= 0;) {
    qsizetype a = p;
    int ziffern = 0;
    while (a > 0 && ziffer(s[a - 1]) && ziffern < 4) {
      --a;
      ++ziffern;
    }
    if (ziffern == 4 && a > 0 && ziffer(s[a - 1])) ablehnen(Fehler::Argument);
    const double n = ziffern ? lesen(s, a, p) : 0;
    if (n > 170 || n < 0) ablehnen(Fehler::Argument);
    zurueckschreiben(s, a, p + 1, QPro::Factorial(int(n)));
    p = s.indexOf(u'!', a);
  }
}

// "++" -> "+ ", "-+" -> "- ", "--" -> "+ ", always the first pair of the first kind present,
// until none is left. A change only touches its own pair (the second character becomes a blank),
// so the three kinds can be cleared one pass each, left to right: the only pair a change can
// create is "++" from a "+" in front of a "--", which is then cleared at once. This gives what
// searching again from the start after every change gives, without the quadratic time.
void vorzeichen(QString& s) {
  const qsizetype n = s.size();
  if (n < 2) return;
  QChar* z = s.data();
  bool geaendert = false;
  for (qsizetype i = 0; i + 1 < n; ++i)
    if (z[i] == u'+' && z[i + 1] == u'+') {
      z[i + 1] = u' ';
      geaendert = true;
    }
  for (qsizetype i = 0; i + 1 < n; ++i)
    if (z[i] == u'-' && z[i + 1] == u'+') {
      z[i + 1] = u' ';
      geaendert = true;
    }
  for (qsizetype i = 0; i + 1 < n; ++i)
    if (z[i] == u'-' && z[i + 1] == u'-') {
      z[i] = i > 0 && z[i - 1] == u'+' ? u' ' : u'+';
      z[i + 1] = u' ';
      geaendert = true;
    }
  if (geaendert) s = QPro::Compact(s);
}

bool potenzen(QString& s, double* ergebnis) {
  for (qsizetype p = s.indexOf(u'^'); p >= 0; p = s.indexOf(u'^')) {
    if (p == 0) ablehnen(Fehler::Ausdruck);
    const qsizetype a = linkerAnfang(s, p);
    const double basis = lesen(s, a, p);
    const Operand e = rechterOperand(s, p + 1);
    if (zurueckschreiben(s, a, e.ende, potenz(basis, e.wert))) {
      *ergebnis = lesen(s);
      return true;
    }
  }
  return false;
}

bool produkte(QString& s, double* ergebnis) {
  for (;;) {
    const qsizetype n = s.size();
    qsizetype p = -1;
    for (qsizetype i = 0; i < n && p < 0; ++i) {
      const QChar c = s[i];
      if (c == u'*' || c == u'/' || c == u'\\' ||
          (c == u'M' && i + 2 < n && s[i + 1] == u'O' && s[i + 2] == u'D'))
        p = i;
    }
    // A missing operator counts as standing at the last position, where none is applied.
    if (p < 0 || p == n - 1) return false;
    if (p == 0) ablehnen(Fehler::Ausdruck);
    const QChar op = s[p];
    const qsizetype a = linkerAnfang(s, p);
    const double l = lesen(s, a, p);
    const Operand r = rechterOperand(s, p + (op == u'M' ? 3 : 1));
    double w;
    if (op == u'*') {
      w = l * r.wert;
    } else if (op == u'/') {
      if (r.wert == 0) ablehnen(Fehler::DivisionDurchNull);
      w = l / r.wert;
    } else {
      if (r.wert == 0) ablehnen(Fehler::DivisionDurchNull);
      // 64 bits: -2147483648 \ -1 is 2147483648, not a trap.
      const qint64 li = ganzzahl(l), ri = ganzzahl(r.wert);
      if (ri == 0) scheitern(Fehler::DivisionDurchNull);
      w = double(op == u'\\' ? li / ri : li % ri);
    }
    if (zurueckschreiben(s, a, r.ende, w)) {
      *ergebnis = lesen(s);
      return true;
    }
  }
}

bool summen(QString& s, double* ergebnis) {
  qsizetype durchlaeufe = 0;
  for (;;) {
    const qsizetype n = s.size();
    // "+" is an operator from the second character on, unless it is an exponent's sign.
    qsizetype plusOp = -1;
    for (qsizetype i = s.indexOf(u'+', 1); i >= 0; i = s.indexOf(u'+', i + 1))
      if (!exponentBei(s, i - 1)) {
        plusOp = i;
        break;
      }
    // "-" is an operator right behind a digit; at the start it is the sign of the first number.
    qsizetype minusOp = -1;
    for (qsizetype i = s.indexOf(u'-');; i = s.indexOf(u'-', i + 1)) {
      if (++durchlaeufe >= n + 1) return false;
      if (i < 0) break;
      if (i == 0) {
        // The whole text is one negative number: the texts are compared, not their lengths,
        // so "-1E4=2" goes on to the comparison.
        if (n <= 23) {
          const double v = lesen(s);
          if (s == Laufzeit::Str(v)) {
            *ergebnis = v;
            return true;
          }
        }
      } else if (ziffer(s[i - 1])) {
        minusOp = i;
        break;
      }
    }
    const qsizetype letzte = n - 1;
    const qsizetype p = qMin(plusOp < 0 ? letzte : plusOp, minusOp < 0 ? letzte : minusOp);
    if (p >= letzte) return false;
    const qsizetype a = linkerAnfang(s, p);
    const double l = lesen(s, a, p);
    const Operand r = rechterOperand(s, p + 1);
    if (zurueckschreiben(s, a, r.ende, s[p] == u'+' ? l + r.wert : l - r.wert)) {
      *ergebnis = lesen(s);
      return true;
    }
    durchlaeufe = 0;
  }
}

bool vergleiche(QString& s, double* ergebnis) {
  for (;;) {
    const qsizetype n = s.size();
    qsizetype p = -1;
    for (qsizetype i = 0; i < n; ++i)
      if (s[i] == u'=' || s[i] == u'>' || s[i] == u'<') {
        p = i;
        break;
      }
    if (p < 0 || p == n - 1) return false;
    if (p == 0) ablehnen(Fehler::Ausdruck);
    const QChar op = s[p];
    int vergleich;  // <0, 0, >0
    qsizetype von, bis;
    if (s[p - 1] == u'"') {
      // Two quoted strings: the left one opens at the last quote before its closing quote, the
      // right one begins behind the quote that follows the operator.
      const int q = QPro::QInstrB(int(p - 1), s, u"\"");
      const qsizetype links = q - 1;  // index of the opening quote, -1 when there is none
      const QStringView linkerText = QStringView(s).mid(links + 1, p - 1 - (links + 1));
      const qsizetype rechtsAb = p + 2;
      const qsizetype zu = s.indexOf(u'"', rechtsAb);
      const QStringView rechterText =
          zu < 0 ? QStringView(s).mid(rechtsAb) : QStringView(s).mid(rechtsAb, zu - rechtsAb);
      vergleich = linkerText.compare(rechterText, Qt::CaseSensitive);
      von = links < 0 ? 0 : links;
      bis = zu < 0 ? n : zu + 1;
    } else {
      von = linkerAnfang(s, p);
      const double l = lesen(s, von, p);
      const Operand r = rechterOperand(s, p + 1);
      vergleich = l < r.wert ? -1 : l > r.wert ? 1 : 0;
      bis = r.ende;
    }
    const bool wahr = op == u'=' ? vergleich == 0 : op == u'>' ? vergleich > 0 : vergleich < 0;
    if (zurueckschreiben(s, von, bis, wahr ? -1 : 0)) {
      *ergebnis = lesen(s);
      return true;
    }
  }
}

void logik(QString& s) {
  for (const QStringView name : {QStringView(u"AND"), QStringView(u"OR")}) {
    for (qsizetype p = s.indexOf(name); p >= 0; p = s.indexOf(name)) {
      const qsizetype a = linkerAnfang(s, p);
      const qint64 l = ganzzahl(lesen(s, a, p));
      const Operand r = rechterOperand(s, p + name.size());
      const qint64 rw = ganzzahl(r.wert);
      const qint32 w = name.size() == 3 ? qint32(l & rw) : qint32(l | rw);
      zurueckschreiben(s, a, r.ende, w);
    }
  }
}

double auswerten(QString s, int tiefe) {
  if (tiefe > MaxTiefe) ablehnen(Fehler::Klammertiefe);
  if (s.size() > MaxLaenge) ablehnen(Fehler::Laenge);
  s.replace(u',', u'.');
  if (s.contains(u' ')) s = QPro::Compact(s);
  konstanten(s);
  if (s.size() > MaxLaenge) ablehnen(Fehler::Laenge);
  grossSchreiben(s);
  if (QPro::InCount(s, u"(") != QPro::InCount(s, u")")) ablehnen(Fehler::Klammern);
  if (QPro::ASCII(s) == '%') ablehnen(Fehler::Ausdruck);
  klammern(s, tiefe);
  double w;
  if (schlichteZahl(s, &w)) return w;
  funktionen(s);
  fakultaeten(s);
  vorzeichen(s);
  if (potenzen(s, &w) || produkte(s, &w) || summen(s, &w) || vergleiche(s, &w)) return w;
  logik(s);
  return lesen(s);
}

}  // namespace

double Evaluate(QString& text, Fehler* fehler, bool* abgelehnt) {
  if (fehler) *fehler = Fehler::Keiner;
  if (abgelehnt) *abgelehnt = false;
  try {
    return auswerten(text, 0);
  } catch (const Abbruch& a) {
    if (fehler) *fehler = a.fehler;
    if (a.ablehnung) {
      text.prepend(u'%');
      if (abgelehnt) *abgelehnt = true;
    }
    return 0;
  }
}

QString FehlerText(Fehler fehler) {
  switch (fehler) {
    case Fehler::Keiner: return {};
    case Fehler::Ausdruck: return QStringLiteral("ungültiger Ausdruck");
    case Fehler::Klammern: return QStringLiteral("Klammern passen nicht zusammen");
    case Fehler::Klammertiefe:
      return QStringLiteral("mehr als %1 Klammerebenen").arg(MaxTiefe);
    case Fehler::Laenge: return QStringLiteral("länger als %1 Zeichen").arg(MaxLaenge);
    case Fehler::DivisionDurchNull: return QStringLiteral("Division durch Null");
    case Fehler::Argument: return QStringLiteral("ungültiges Argument");
    case Fehler::Ueberlauf: return QStringLiteral("Überlauf");
  }
  return {};
}

}  // namespace Z_Evaluate2
