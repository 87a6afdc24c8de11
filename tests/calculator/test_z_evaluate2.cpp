// The evaluator's results are exact doubles: every step passes through 15-digit number text, so
// the expected values are written as that text.
#include <QDate>
#include <cmath>
#include <gtest/gtest.h>
#include <vector>

#include "calculator/z_evaluate2.h"
#include "support/fixture.h"

using Z_Evaluate2::Evaluate;
using Z_Evaluate2::Fehler;

namespace {

struct Wert { const char16_t* text; double wert; };
struct Abweisung { const char16_t* text; Fehler fehler; };

// Success: the value, the text untouched, no error.
void WerteErwarten(const std::vector<Wert>& faelle) {
  for (const auto& f : faelle) {
    QString t = QString::fromUtf16(f.text);
    const QString vorher = t;
    Fehler fehler = Fehler::Ausdruck;
    bool abgelehnt = true;
    EXPECT_EQ(Evaluate(t, &fehler, &abgelehnt), f.wert) << vorher.toStdString();
    EXPECT_EQ(t, vorher);
    EXPECT_EQ(fehler, Fehler::Keiner) << vorher.toStdString();
    EXPECT_FALSE(abgelehnt) << vorher.toStdString();
  }
}

// Refusal: 0 and "%" in front of the caller's text.
void AblehnungErwarten(const std::vector<Abweisung>& faelle) {
  for (const auto& f : faelle) {
    QString t = QString::fromUtf16(f.text);
    const QString vorher = t;
    Fehler fehler = Fehler::Keiner;
    bool abgelehnt = false;
    EXPECT_EQ(Evaluate(t, &fehler, &abgelehnt), 0.0) << vorher.toStdString();
    EXPECT_EQ(t, QStringLiteral("%") + vorher) << vorher.toStdString();
    EXPECT_EQ(fehler, f.fehler) << vorher.toStdString();
    EXPECT_TRUE(abgelehnt) << vorher.toStdString();
  }
}

// Arithmetic fault: 0, the text unmarked, the fault named.
void FehlerErwarten(const std::vector<Abweisung>& faelle) {
  for (const auto& f : faelle) {
    QString t = QString::fromUtf16(f.text);
    const QString vorher = t;
    Fehler fehler = Fehler::Keiner;
    bool abgelehnt = true;
    EXPECT_EQ(Evaluate(t, &fehler, &abgelehnt), 0.0) << vorher.toStdString();
    EXPECT_EQ(t, vorher);
    EXPECT_EQ(fehler, f.fehler) << vorher.toStdString();
    EXPECT_FALSE(abgelehnt) << vorher.toStdString();
  }
}

TEST(Evaluate, VorbereitungUndKonstanten) {
  WerteErwarten({
      {u"", 0}, {u"   ", 0}, {u"1 + 2", 3}, {u"1,5+1", 2.5}, {u"0,1+0,2", 0.3},
      {u"PI", 3.14159265358979323846}, {u"PI*1", 3.14159265358979}, {u"e", 2.71828182845904523536},
      {u"2*e", 5.43656365691809},
      // An "e" inside quotes stays when it is the first "e"; the comparison then sees "E".
      {u"\"e\"=\"E\"", -1},
      // Lower-case names are broken by the replacement of "e": "s2.718...c(0)" reads as 0.
      {u"sec(0)", 0}, {u"SEC(0)", 1},
      // "pi" is no constant at the top, but its upper-cased form is inside a bracket level.
      {u"pi", 0}, {u"(pi)*1", 3.14159265358979},
      // Plain numbers end the evaluation early with their value.
      {u"42", 42}, {u"-.5", -0.5}, {u"+7", 7}, {u"1E+16", 1e16},
  });
}

TEST(Evaluate, Klammern) {
  WerteErwarten({
      {u"(2+3)*4", 20}, {u"2(3)", 23}, {u"((1+2)*(3+4))", 21}, {u"()", 0}, {u"(+5)", 5},
      {u"2*(-3)", -6}, {u"(1/3)*3", 0.999999999999999}, {u"(((((((((1)))))))))", 1},
      {u"2*(3+4)^2", 98},
  });
  AblehnungErwarten({
      {u"(1+2", Fehler::Klammern}, {u"1+2)", Fehler::Klammern}, {u")(", Fehler::Klammern},
      {u"())(", Fehler::Klammern}, {u"(((", Fehler::Klammern},
      // A refused bracket level refuses the whole text.
      {u"2*(1/0)", Fehler::DivisionDurchNull}, {u"(%1)", Fehler::Ausdruck},
  });
}

TEST(Evaluate, Funktionen) {
  WerteErwarten({
      {u"SIN0", 0}, {u"COS0", 1}, {u"SEC0", 1}, {u"TAN0", 0}, {u"ATN0", 0}, {u"LOG1", 0},
      {u"EXP0", 1}, {u"SQR16", 4}, {u"SQR(16)", 4}, {u"ABS-2.5", 2.5}, {u"CLG100", 2},
      {u"CLG100", 2}, {u"NOT0", -1}, {u"NOT-1", 0}, {u"NOT2.5", -3},
      {u"ARCCOS(.5)", 1.0471975511966}, {u"ARCSIN.5", 0.523598775598299},
      // Correct inverse secant, cosecant and cotangent.
      {u"ARCSEC2", 1.0471975511966}, {u"ARCCSC2", 0.523598775598299},
      {u"ARCCOT0", 1.5707963267949}, {u"ARCCOT1", 0.785398163397448},
      {u"ARCSINH0", 0}, {u"ARCCOSH1", 0}, {u"ARCTANH0", 0}, {u"ARCSECH1", 0}, {u"SINH0", 0},
      {u"TANH0", 0}, {u"SECH0", 1},
      // A function takes only the number behind it; a number in front runs into the result.
      {u"2ABS-3", 23}, {u"SQR16+1", 5}, {u"SQR4*SQR9", 6},
  });
  AblehnungErwarten({
      {u"SQR-4", Fehler::Argument}, {u"LOG0", Fehler::Argument}, {u"LOG-1", Fehler::Argument},
      {u"CLG0", Fehler::Argument}, {u"ARCSIN2", Fehler::Argument}, {u"ARCCOS-1.5", Fehler::Argument},
      {u"ARCCOSH.5", Fehler::Argument}, {u"ARCSECH2", Fehler::Argument},
      {u"ARCSEC1", Fehler::Argument}, {u"ARCCSC.5", Fehler::Argument},
      {u"ARCTANH1", Fehler::DivisionDurchNull}, {u"ARCCOTH-1", Fehler::DivisionDurchNull},
      {u"ARCCSCH0", Fehler::DivisionDurchNull}, {u"COTH0", Fehler::DivisionDurchNull},
      {u"CSC0", Fehler::DivisionDurchNull}, {u"COT0", Fehler::DivisionDurchNull},
  });
  FehlerErwarten({
      // Not refused, but the formula divides by zero or leaves the real numbers.
      {u"ARCSIN1", Fehler::DivisionDurchNull}, {u"ARCCOS-1", Fehler::DivisionDurchNull},
      {u"ARCSECH0", Fehler::DivisionDurchNull}, {u"CSCH0", Fehler::DivisionDurchNull},
      {u"ARCCOSH-2", Fehler::Argument}, {u"ARCTANH2", Fehler::Argument},
      {u"ARCCOTH.5", Fehler::Argument},
      {u"EXP1000", Fehler::Ueberlauf}, {u"SINH1000", Fehler::Ueberlauf},
      {u"SECH-1000", Fehler::Ueberlauf}, {u"ARCSINH1E200", Fehler::Ueberlauf},
      {u"NOT3E9", Fehler::Ueberlauf},
  });
}

TEST(Evaluate, Fakultaet) {
  WerteErwarten({
      {u"5!", 120}, {u"2*3!", 12}, {u"0!", 1}, {u"!", 1}, {u"3!!", 720}, {u"170!", 7.257415615308e306},
      // Only digits belong to the number: sign and point stay in front.
      {u"-3!", -6}, {u"1.5!", 1.12},
  });
  AblehnungErwarten({
      {u"171!", Fehler::Argument}, {u"12345!", Fehler::Argument}, {u"1234!", Fehler::Argument},
      {u"200!+1", Fehler::Argument},
  });
}

TEST(Evaluate, Vorzeichen) {
  WerteErwarten({
      {u"5--3", 8}, {u"5-+3", 2}, {u"5+-3", 2}, {u"5++3", 8}, {u"--------5", 5}, {u"2*-3", -6},
      {u"-2*-3", 6}, {u"-----5", -5}, {u"5+--3", 8}, {u"5---3", 2}, {u"2--+3", 5}, {u"1+-+-1", 2},
  });
}

TEST(Evaluate, Potenzen) {
  WerteErwarten({
      {u"2^3^2", 64}, {u"-2^2", 4}, {u"2^-1", 0.5}, {u"2^.5", 1.4142135623731}, {u"2^", 1},
      {u"0^0", 1}, {u"(-8)^2", 64}, {u"10^15", 1e15}, {u"2^10+1", 1025},
  });
  AblehnungErwarten({{u"^2", Fehler::Ausdruck}, {u"^", Fehler::Ausdruck}});
  FehlerErwarten({
      {u"0^-1", Fehler::DivisionDurchNull}, {u"(-8)^.5", Fehler::Argument},
      {u"10^400", Fehler::Ueberlauf},
  });
}

TEST(Evaluate, Produkte) {
  WerteErwarten({
      {u"2+3*4", 14}, {u"7\\2", 3}, {u"2.5\\1", 2}, {u"3.5\\1", 4}, {u"-2.5\\1", -2},
      {u"7MOD3", 1}, {u"-7MOD3", -1}, {u"7MOD-3", 1}, {u"7MOD3+1", 2}, {u"1/3*3=1", 0},
      {u"1/3*3", 0.999999999999999}, {u"8/2/2", 2}, {u"2*", 2}, {u"1E3*2", 2000},
      // Whole-number division in 64 bits.
      {u"-2147483648\\-1", 2147483648.0}, {u"-2147483648MOD-1", 0},
  });
  AblehnungErwarten({
      {u"1/0", Fehler::DivisionDurchNull}, {u"7\\0", Fehler::DivisionDurchNull},
      {u"7MOD0", Fehler::DivisionDurchNull}, {u"*2", Fehler::Ausdruck}, {u"/2", Fehler::Ausdruck},
      {u"%5", Fehler::Ausdruck}, {u"%%%", Fehler::Ausdruck},
  });
  FehlerErwarten({
      // The right value rounds to 0 only after the test for 0.
      {u"7\\.4", Fehler::DivisionDurchNull}, {u"7MOD.5", Fehler::DivisionDurchNull},
      {u"2147483648\\1", Fehler::Ueberlauf}, {u"1\\2147483647.5", Fehler::Ueberlauf},
      {u"1E308*10", Fehler::Ueberlauf}, {u"1E308/1E-10", Fehler::Ueberlauf},
  });
}

TEST(Evaluate, Summen) {
  WerteErwarten({
      {u"10-2-3", 5}, {u"1E3+1", 1001}, {u"2E+3*2", 4000}, {u"1E-3+1", 1.001}, {u"-5", -5},
      {u"-5+2", -3}, {u"1-1", 0}, {u"5-", 5}, {u"5+", 5}, {u".1+.2-.3", 0},
      // The leading minus ends the evaluation only when the whole text is that number.
      {u"-1E4=2", 0}, {u"-1E4", -10000},
  });
  FehlerErwarten({{u"1E308+1E308", Fehler::Ueberlauf}, {u"1E999999", Fehler::Ueberlauf},
                  {u"-1E999+1", Fehler::Ueberlauf}});
}

TEST(Evaluate, ZahltextGrenzen) {
  // Exponent form from 1E15 up and below 1E-4; it is read back like any other number.
  WerteErwarten({
      {u"999999999999999+1", 1e15}, {u"1E15-1", 999999999999999}, {u"1E15*10+1", 1e16},
      {u".0001*1", 0.0001}, {u".00001*1", 1e-5}, {u".000015*10", 0.00015}, {u"1E-400*1", 0},
      {u"123456789012345678*1", 1.23456789012346e17},
  });
  // The largest double written with 15 digits lies beyond the range when read back.
  FehlerErwarten({{u"1.7976931348623157E308*1", Fehler::Ueberlauf}});
}

TEST(Evaluate, Vergleiche) {
  WerteErwarten({
      {u"1+1=2", -1}, {u"3>4", 0}, {u"4>3", -1}, {u"3<4", -1}, {u"2=3", 0},
      // No two-character comparisons: "<" compares with the value of "=5", which is 0.
      {u"3<=5", 0}, {u"(1=1)+(2=2)", -2},
      {u"\"ab\"=\"AB\"", -1}, {u"\"a b\"=\"ab\"", -1}, {u"\"B\">\"A\"", -1}, {u"\"A\">\"B\"", 0},
      {u"\"ABC\"<\"ABD\"", -1},
  });
  // An operator in the last position is never applied, not even when it is also the first.
  WerteErwarten({{u">", 0}, {u"*", 0}});
  AblehnungErwarten({{u"=1", Fehler::Ausdruck}});
}

TEST(Evaluate, Logik) {
  WerteErwarten({
      {u"6AND3", 2}, {u"4OR1", 5}, {u"6AND3OR8", 10}, {u"-1AND5", 5},
      // The D of AND is no exponent letter.
      {u"6AND1+1", 2}, {u"6AND2.5", 2},
  });
  FehlerErwarten({{u"2147483648AND1", Fehler::Ueberlauf}});
}

class EvaluateHeute : public Testhilfe::SkribonTest {};

TEST_F(EvaluateHeute, TagesnummerBeiJedemAufruf) {
  // Thursday 15.01.2026: day 45670 counted from 01.01.1901.
  WerteErwarten({{u"@TODAY", 45670}, {u"2*@TODAY+1", 91341}, {u"@TODAY-(@TODAY)", 0}});
  system.uhr = QDateTime(QDate(2026, 1, 16), QTime(0, 0, 1));
  WerteErwarten({{u"@TODAY", 45671}});
}

TEST(Evaluate, SchlechteEingaben) {
  // Deep nesting is refused, not recursed into.
  const QString tief = QString(150, u'(') + QStringLiteral("1+1") + QString(150, u')');
  QString t = tief;
  Fehler fehler;
  EXPECT_EQ(Evaluate(t, &fehler), 0.0);
  EXPECT_EQ(fehler, Fehler::Klammertiefe);
  const QString erlaubt = QString(Z_Evaluate2::MaxTiefe, u'(') + QStringLiteral("1+1") +
                          QString(Z_Evaluate2::MaxTiefe, u')');
  t = erlaubt;
  EXPECT_EQ(Evaluate(t, &fehler), 2.0);

  // Too long before and after the constants.
  const QString lang = QString(100000, u'(') + QStringLiteral("1") + QString(100000, u')');
  t = lang;
  EXPECT_EQ(Evaluate(t, &fehler), 0.0);
  EXPECT_EQ(fehler, Fehler::Laenge);
  EXPECT_EQ(t.size(), lang.size() + 1);
  QString mb(1 << 20, u'1');
  EXPECT_EQ(Evaluate(mb, &fehler), 0.0);
  EXPECT_EQ(fehler, Fehler::Laenge);
  QString viele = QStringLiteral("PI+").repeated(1000) + u'1';
  EXPECT_EQ(Evaluate(viele, &fehler), 0.0);
  EXPECT_EQ(fehler, Fehler::Laenge);

  // Long but allowed: 2500 additions.
  QString summe = QStringLiteral("1+").repeated(2500) + u'0';
  EXPECT_EQ(Evaluate(summe, &fehler), 2500.0);
  EXPECT_EQ(fehler, Fehler::Keiner);

  // Control characters and NUL: a result, never a crash; the text is no expression.
  const QString steuer[] = {QString(QChar(0)), QStringLiteral("1") + QChar(0) + QStringLiteral("+2"),
                            QStringLiteral("\x01\x02\x1b[3"), QStringLiteral("1\t+\t2"),
                            QStringLiteral("1\n+2"), QString(u'\xD800') + u'1'};
  for (QString s : steuer) {
    Evaluate(s, &fehler);
    EXPECT_NE(fehler, Fehler::Laenge);
  }
}

TEST(Evaluate, Fehlertexte) {
  EXPECT_EQ(Z_Evaluate2::FehlerText(Fehler::Keiner), QString());
  EXPECT_EQ(Z_Evaluate2::FehlerText(Fehler::DivisionDurchNull), QStringLiteral("Division durch Null"));
  EXPECT_EQ(Z_Evaluate2::FehlerText(Fehler::Ueberlauf), QStringLiteral("Überlauf"));
  EXPECT_EQ(Z_Evaluate2::FehlerText(Fehler::Laenge), QStringLiteral("länger als 10000 Zeichen"));
}

}  // namespace
