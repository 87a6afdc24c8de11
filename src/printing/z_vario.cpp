// The placeholder engine: working text, fixed tokens, tokens replaced only when present, the
// environment pass and the week number. The tokens with an argument are in z_vario_argumente.cpp.
#include "printing/z_vario.h"

#include <QTime>
#include <algorithm>
#include <cmath>
#include <iterator>

#include "foundation/z_alles.h"
#include "platform/laufzeit.h"
#include "platform/system.h"

namespace Z_Vario {

namespace {

// Lower-case shadow of VarioText. Every fixed token costs one search of the whole text; doing
// those searches case-sensitively on a text lowered once is what keeps long notes fast.
QString klein_;
bool imLauf_ = false;   // klein_ mirrors VarioText while an expansion runs
int tiefe_ = 0;         // nesting depth (a dialog's event loop may start another expansion)
double letzteId_ = 0;   // the last {id} issued in this process

// Replaces every occurrence of tokenKlein (found in klein) in text; both are rewritten. The
// search runs on the old text only, so an inserted value is never searched again.
bool AlleErsetzen(QString& text, QString& klein, const QString& tokenKlein, const QString& wert) {
  if (tokenKlein.isEmpty()) return false;
  qsizetype p = Intern::Finden(klein, tokenKlein, 0);
  if (p < 0) return false;
  const QString wertKlein = Intern::Klein(wert);
  QString neu, neuKlein;
  neu.reserve(text.size() + wert.size());
  neuKlein.reserve(text.size() + wert.size());
  qsizetype von = 0;
  while (p >= 0) {
    neu.append(QStringView(text).mid(von, p - von)).append(wert);
    neuKlein.append(QStringView(klein).mid(von, p - von)).append(wertKlein);
    von = p + tokenKlein.size();
    p = Intern::Finden(klein, tokenKlein, von);
  }
  neu.append(QStringView(text).mid(von));
  neuKlein.append(QStringView(klein).mid(von));
  text = std::move(neu);
  klein = std::move(neuKlein);
  return true;
}

// The reference time counts whole seconds; milliseconds would only make ages jitter.
QDateTime GanzeSekunden(QDateTime d) {
  const QTime t = d.time();
  d.setTime(QTime(t.hour(), t.minute(), t.second()));
  return d;
}

QString Zahl(double wert, const char* muster) { return Laufzeit::Format(wert, QString::fromLatin1(muster)); }

QString Roemisch(int quartal) {
  static const char* const zahlen[] = {"I", "II", "III", "IV"};
  return QString::fromLatin1(zahlen[qBound(1, quartal, 4) - 1]);
}

int Quartal(const QDate& d) { return (d.month() - 1) / 3 + 1; }

// Replaces the token when the working text holds it; the value is worked out only then.
template <typename F>
void WennDa(const char* token, F&& wert) {
  const QString tk = Intern::Klein(QString::fromUtf8(token));
  if (Intern::Finden(Intern::KleinText(), tk, 0) < 0) return;
  PlatzhalterErsetzen(tk, wert());
}

void FesteTokens(const QDateTime& d) {
  const QDate tag = d.date();
  auto f = [&](const char* muster) { return Laufzeit::Format(d, QString::fromLatin1(muster)); };
  const int kw = Kalenderwoche(tag);
  const int kwj = (kw < 10 && tag.month() == 12) ? 52 : kw;
  const int tageImJahr = QDate(tag.year(), 1, 1).daysTo(tag);
  const QString jahr4 = f("yyyy");
  const QString jahr2 = f("yy");
  const QString aktOrdner = Plattform::System().aktuellerOrdner();

  // Control characters first, so nothing inserted later has them expanded.
  WennDa("{Tab}", [] { return QStringLiteral("\t"); });
  WennDa("{CR}", [] { return QStringLiteral("\r"); });
  WennDa("{LF}", [] { return QStringLiteral("\n"); });
  WennDa("{CRLF}", [] { return QStringLiteral("\r\n"); });
  WennDa("{Back}", [] { return QStringLiteral("\b"); });
  WennDa("{None}", [] { return QString(); });
  WennDa("{Nichts}", [] { return QString(); });
  WennDa("{K07}", [&] { return Zahl(tageImJahr / 7.0, "00"); });
  WennDa("{K10}", [&] { return Zahl(tageImJahr / 10.0, "00"); });
  WennDa("{datum}", [&] { return f("d.m.yyyy"); });
  WennDa("{datum0}", [&] { return f("dd.mm.yyyy"); });
  WennDa("{kw}", [&] { return Zahl(kw, "00"); });
  WennDa("{versionakt0}", [] { return Z_Alles::DatumsStempel(0); });
  WennDa("{kwj}", [&] { return Zahl(kwj, "00"); });
  WennDa("{kwj2}", [&] { return Zahl(std::floor(kwj / 2.0 + 0.5) * 2, "00"); });
  WennDa("{kwj3}", [&] { return Zahl(std::floor(kwj / 3.0 + 0.5) * 3, "00"); });
  WennDa("{kwj4}", [&] { return Zahl(std::floor(kwj / 4.0 + 0.5) * 4, "00"); });
  WennDa("{kwj5}", [&] { return Zahl(std::floor(kwj / 5.0 + 0.5) * 5, "00"); });
  WennDa("{kw2}", [&] { return Zahl(kw / 2.0, "00"); });
  WennDa("{kw3}", [&] { return Zahl(kw / 3.0, "00"); });
  WennDa("{kw4}", [&] { return Zahl(kw / 4.0, "00"); });
  WennDa("{kw5}", [&] { return Zahl(kw / 5.0, "00"); });
  WennDa("{q}", [&] { return f("q"); });
  WennDa("{qr}", [&] { return Roemisch(Quartal(tag)); });
  WennDa("{jjjjq-1m}", [&] {
    const QDate vormonat = Laufzeit::MonateAddieren(tag, -1);
    return Laufzeit::Format(vormonat, QStringLiteral("yyyy")) + '-' + Zahl(Quartal(vormonat), "0");
  });
  WennDa("{jjqr}", [&] { return jahr2 + '-' + Roemisch(Quartal(tag)); });
  WennDa("{jjjjqr}", [&] { return jahr4 + '-' + Roemisch(Quartal(tag)); });
  WennDa("{hh}", [&] { return f("hh"); });
  WennDa("{hh-mm}", [&] { return f("hh-nn"); });
  WennDa("{hh-mm-ss}", [&] { return f("hh-nn-ss"); });
  WennDa("{hh:mm}", [&] { return f("hh:nn"); });
  WennDa("{hh:mm:ss}", [&] { return f("hh:nn:ss"); });
  WennDa("{SysTime}", [] { return Zahl(Plattform::Tickzaehler(), "0"); });
  WennDa("{jahr1}", [&] { return jahr4.right(1); });
  WennDa("{jahr2}", [&] { return jahr2; });
  WennDa("{jahr4}", [&] { return jahr4; });
  WennDa("{jahrzent}", [&] { return jahr4.mid(2, 1); });
  WennDa("{jahrzent0}", [&] { return jahr4.mid(2, 1) + '0'; });
  WennDa("{jahrhundert}", [&] { return jahr4.left(2); });
  WennDa("{jahrhundert+1}", [&] { return Zahl(Laufzeit::Val(jahr4.left(2)) + 1, "0"); });
  WennDa("{jahrtausend}", [&] { return jahr4.left(1); });
  WennDa("{jahrtausend+1}", [&] { return Zahl(Laufzeit::Val(jahr4.left(1)) + 1, "0"); });
  WennDa("{j}", [&] { return jahr4.right(1); });
  WennDa("{jj}", [&] { return jahr2; });
  WennDa("{yy}", [&] { return jahr2; });
  WennDa("{jj-1}", [&] { return Zahl(Laufzeit::Val(jahr2) - 1, "00"); });
  WennDa("{jj-2}", [&] { return Zahl(Laufzeit::Val(jahr2) - 2, "00"); });
  WennDa("{jj+1}", [&] { return Zahl(Laufzeit::Val(jahr2) + 1, "00"); });
  WennDa("{jjjj}", [&] { return jahr4; });
  WennDa("{yyyy}", [&] { return jahr4; });
  WennDa("{jjjj-1}", [&] { return Zahl(Laufzeit::Val(jahr4) - 1, "0000"); });
  WennDa("{jjjj-2}", [&] { return Zahl(Laufzeit::Val(jahr4) - 2, "0000"); });
  WennDa("{jjjj+1}", [&] { return Zahl(Laufzeit::Val(jahr4) + 1, "0000"); });
  WennDa("{jj-mm-tt}", [&] { return f("yy-mm-dd"); });
  WennDa("{jjjj-mm-tt}", [&] { return f("yyyy-mm-dd"); });
  WennDa("{jjjj-mm}", [&] { return f("yyyy-mm"); });
  WennDa("{jjjj-mm-1}", [&] { return Laufzeit::Format(Laufzeit::MonateAddieren(tag, -1), QStringLiteral("yyyy-mm")); });
  WennDa("{jjjj-mm-2}", [&] { return Laufzeit::Format(Laufzeit::MonateAddieren(tag, -2), QStringLiteral("yyyy-mm")); });
  WennDa("{jjmmtt}", [&] { return f("yymmdd"); });
  WennDa("{jjjjmmtt}", [&] { return f("yyyymmdd"); });
  WennDa("{jetzt}", [&] { return f("Long Date") + QStringLiteral(" um ") + f("hh:nn") + QStringLiteral(" Uhr"); });
  // No drive letters here.
  WennDa("{laufwerk}", [] { return QString(); });
  WennDa("{mm}", [&] { return f("mm"); });
  WennDa("{mm-1}", [&] { return Zahl((tag.month() + 10) % 12 + 1, "00"); });
  WennDa("{mm-2}", [&] { return Zahl((tag.month() + 9) % 12 + 1, "00"); });
  WennDa("{monat}", [&] { return f("mmmm"); });
  WennDa("{m}", [&] { return f("m"); });
  WennDa("{monat0}", [&] { return f("mm"); });
  WennDa("{monatsname}", [&] { return f("mmmm"); });
  WennDa("{mmmm}", [&] { return f("mmmm"); });
  WennDa("{monatsname3}", [&] { return f("mmm"); });
  WennDa("{mmm}", [&] { return f("mmm"); });
  WennDa("{label}", [&] {
    const QString label = Plattform::System().datentraegerName(aktOrdner);
    return Z_Alles::NameSchreibweise(Z_String::RTrimZeichen(label, QStringLiteral(" ")));
  });
  WennDa("{pfad}", [&] { return aktOrdner; });
  WennDa("{ordner_app}", [] { return Z_Alles::ordnerPrg; });
  WennDa("{ordner_prg}", [] { return Z_Alles::ordnerPrg; });
  WennDa("{ordner_dat}", [] { return Z_Alles::ordnerDat; });
  WennDa("{ordner_win}", [] { return Z_Alles::WindowsOrdner(); });
  WennDa("{ordner_sys}", [] { return Z_Alles::SystemOrdner(); });
  WennDa("{ordner_cur}", [&] { return aktOrdner; });
  WennDa("{PrgTitel}", [] { return Z_Alles::ProduktName; });
  WennDa("{PrgName}", [] { return Z_Alles::ProgrammTitel; });
  WennDa("{s}", [&] { return f("s"); });
  WennDa("{sekunde}", [&] { return f("s"); });
  WennDa("{ss}", [&] { return f("ss"); });
  WennDa("{sekunde0}", [&] { return f("ss"); });
  WennDa("{n}", [&] { return f("n"); });
  WennDa("{minute}", [&] { return f("n"); });
  WennDa("{nn}", [&] { return f("nn"); });
  WennDa("{minute0}", [&] { return f("nn"); });
  WennDa("{stunde}", [&] { return f("h"); });
  WennDa("{h}", [&] { return f("h"); });
  WennDa("{stunde0}", [&] { return f("hh"); });
  WennDa("{tag}", [&] { return f("d"); });
  WennDa("{t}", [&] { return f("d"); });
  WennDa("{tag0}", [&] { return f("dd"); });
  WennDa("{tt}", [&] { return f("dd"); });
  WennDa("{dd}", [&] { return f("dd"); });
  WennDa("{tt-mm-jj}", [&] { return f("dd-mm-yy"); });
  WennDa("{tt-mm-jjjj}", [&] { return f("dd-mm-yyyy"); });
  WennDa("{tt.mm.jj}", [&] { return f("dd.mm.yy"); });
  WennDa("{tt.mm.jjjj}", [&] { return f("dd.mm.yyyy"); });
  WennDa("{uhrzeit}", [&] { return f("h:n"); });
  WennDa("{uhrzeit0}", [&] { return f("hh:nn"); });
  WennDa("{wochentag}", [&] { return f("dddd"); });
  WennDa("{wwww}", [&] { return f("dddd"); });
  WennDa("{wochentag2}", [&] { return f("dddd").left(2); });
  WennDa("{ww}", [&] { return f("dddd").left(2); });
  static const char* const zufall[] = {"{zufall1}", "{zufall2}", "{zufall3}", "{zufall4}",
                                       "{zufall5}", "{zufall6}", "{zufall7}", "{zufall8}"};
  for (int n = 1; n <= 8; ++n)
    WennDa(zufall[n - 1], [n] {
      return Laufzeit::Format(Plattform::Zufall() * std::pow(10.0, n), QString(n, QLatin1Char('0')));
    });
}

// A number meant to be new on every call. The time-and-tick formula repeats for calls a few
// milliseconds apart, so a value not above the last one issued becomes last + 1.
QString NeueId(const QDateTime& d) {
  const double sekunden = double(QDate(1901, 1, 1).daysTo(d.date())) * 86400.0 +
                          d.time().msecsSinceStartOfDay() / 1000;
  double id = std::floor(sekunden + Plattform::Tickzaehler() + Plattform::Zufall() * 99 + 0.5);
  if (id <= letzteId_) id = letzteId_ + 1;
  letzteId_ = id;
  return Zahl(id, "0");
}

void VorhandeneTokens(const QDateTime& d) {
  WennDa("{username}", [] { return Z_Alles::Benutzername(); });
  WennDa("{guid}", [] { return Z_Alles::NeueGuid(); });
  WennDa("{id}", [&] { return NeueId(d); });
  WennDa("{dormik.ini}", [] { return Z_Alles::IniDateiPfad(QString()); });
}

}  // namespace

namespace Intern {

namespace {

// Horspool search: tokens end in "}" and are short, so most positions are skipped without
// being compared. The skip table is keyed on the low byte of a character; characters sharing
// a low byte only make a skip shorter, never wrong.
qsizetype Horspool(const QString& text, const QString& token, qsizetype von) {
  const qsizetype m = token.size();
  const qsizetype n = text.size();
  qsizetype sprung[256];
  std::fill(std::begin(sprung), std::end(sprung), m);
  const char16_t* t = reinterpret_cast<const char16_t*>(token.constData());
  for (qsizetype i = 0; i < m - 1; ++i) sprung[t[i] & 0xFF] = m - 1 - i;
  const char16_t* h = reinterpret_cast<const char16_t*>(text.constData());
  const char16_t letztes = t[m - 1];
  for (qsizetype p = von; p + m <= n;) {
    const char16_t c = h[p + m - 1];
    if (c == letztes && std::equal(t, t + m - 1, h + p)) return p;
    p += sprung[c & 0xFF];
  }
  return -1;
}

}  // namespace

// Every token begins with a character that is rare in a note ("{", "%"): jumping from one of
// those to the next is fastest. Where they stand close together, Horspool takes over, so a text
// full of braces costs no more than any other.
qsizetype Finden(const QString& text, const QString& token, qsizetype von) {
  const qsizetype m = token.size();
  if (m == 0 || von < 0) return -1;
  const QChar erstes = token.front();
  if (m == 1) return text.indexOf(erstes, von);
  const char16_t* t = reinterpret_cast<const char16_t*>(token.constData());
  const char16_t* h = reinterpret_cast<const char16_t*>(text.constData());
  const qsizetype letzte = text.size() - m;
  qsizetype kandidaten = 0;
  for (qsizetype p = text.indexOf(erstes, von); p >= 0 && p <= letzte; p = text.indexOf(erstes, p + 1)) {
    if (std::equal(t + 1, t + m, h + p + 1)) return p;
    if (++kandidaten > 64 && p - von < kandidaten * 32) return Horspool(text, token, p + 1);
  }
  return -1;
}

QString Klein(const QString& text) {
  QString r(text.size(), Qt::Uninitialized);
  const QChar* q = text.constData();
  QChar* z = r.data();
  for (qsizetype i = 0, n = text.size(); i < n; ++i) {
    const char16_t c = q[i].unicode();
    if (c < 0x80) z[i] = QChar(c >= u'A' && c <= u'Z' ? char16_t(c + 32) : c);
    else z[i] = q[i].toLower();  // one code unit for one: positions stay
  }
  return r;
}

const QString& KleinText() {
  if (!imLauf_ || klein_.size() != VarioText.size()) klein_ = Klein(VarioText);
  return klein_;
}

void TextAnhaengen(const QString& text) {
  KleinText();
  VarioText += text;
  klein_ += Klein(text);
}

}  // namespace Intern

void PlatzhalterErsetzen(const QString& token, const QString& wert) {
  if (token.isEmpty() || VarioText.isEmpty()) return;
  Intern::KleinText();
  AlleErsetzen(VarioText, klein_, Intern::Klein(token), wert);
}

QString KlammerInhalt(const QString& text, const QString& praefix, int modus) {
  QString p = Intern::Klein(praefix).trimmed();
  if (!p.startsWith(QLatin1Char('{'))) p.prepend(QLatin1Char('{'));
  if (p == QLatin1String("{")) return {};
  const QString t = Intern::Klein(text);
  const qsizetype a = Intern::Finden(t, p, 0);
  if (a < 0) return {};
  const qsizetype e = t.indexOf(QLatin1Char('}'), a + p.size());
  if (e < 0) return {};
  if (modus == 1) return t.mid(a, e - a + 1);
  return t.mid(a + p.size(), e - a - p.size());
}

int Kalenderwoche(const QDate& datum) {
  if (!datum.isValid()) return 0;
  auto wochentag = [](const QDate& d) { return d.dayOfWeek() % 7 + 1; };  // Sunday = 1
  const QDate donnerstag = datum.addDays((8 - wochentag(datum)) % 7 - 3);
  const QDate neujahr(donnerstag.year(), 1, 1);
  const qint64 tage = neujahr.daysTo(datum) - 3 + (wochentag(neujahr) + 1) % 7;
  return int(tage / 7) + 1;
}

QString UmgebungErsetzen(const QString& text) {
  QString t = text;
  for (int runde = 0; runde < 8; ++runde) {
    const qsizetype a = t.indexOf(QLatin1Char('%'));
    if (a < 0) break;
    const qsizetype b = t.indexOf(QLatin1Char('%'), a + 1);
    if (b < 0) break;
    const QString name = t.mid(a + 1, b - a - 1).trimmed().toUpper();
    QString wert;
    if (name == QLatin1String("ERRORLEVEL")) wert = QStringLiteral("%ERRORLEVEL%");
    else if (!name.isEmpty()) wert = Plattform::Umgebung(name);
    // The pair is replaced under its trimmed name: a name padded with blanks stays, and
    // because every round starts again at the first "%", it blocks the rounds after it.
    QString klein = Intern::Klein(t);
    AlleErsetzen(t, klein, Intern::Klein(QLatin1Char('%') + name + QLatin1Char('%')), wert);
  }
  return t;
}

QString VarioErsetzen(const QString& text) {
  struct Zustand {
    QString text, klein;
    QDateTime datum;
    bool lauf;
  };
  const bool verschachtelt = tiefe_ > 0;
  Zustand aussen;
  if (verschachtelt) aussen = {VarioText, klein_, VarioDatum, imLauf_};
  ++tiefe_;

  VarioText = text;
  if (!VarioDatum.isValid()) VarioDatum = GanzeSekunden(Plattform::Jetzt());
  const QDateTime d = VarioDatum;
  klein_ = Intern::Klein(VarioText);
  imLauf_ = true;

  if (!text.isEmpty() && text.contains(QLatin1Char('{'))) {
    FesteTokens(d);
    VorhandeneTokens(d);
    Intern::ArgumentTokens(d);
  }
  if (VarioText.contains(QLatin1Char('%'))) VarioText = UmgebungErsetzen(VarioText);

  imLauf_ = false;
  klein_.clear();
  VarioDatum = QDateTime();
  const QString ergebnis = VarioText;

  --tiefe_;
  if (verschachtelt) {
    VarioText = aussen.text;
    klein_ = aussen.klein;
    VarioDatum = aussen.datum;
    imLauf_ = aussen.lauf;
  }
  return ergebnis;
}

void Zuruecksetzen() {
  VarioText.clear();
  VarioDatum = QDateTime();
  klein_.clear();
  imLauf_ = false;
  tiefe_ = 0;
  letzteId_ = 0;
}

}  // namespace Z_Vario
