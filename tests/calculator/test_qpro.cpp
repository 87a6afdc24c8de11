#include <gtest/gtest.h>

#include "calculator/qpro.h"
#include "support/fixture.h"

namespace {

std::string T(const char16_t* text) { return QString::fromUtf16(text).toStdString(); }

TEST(QPro, TextFunktionen) {
  EXPECT_EQ(QPro::Compact(u" 1 + 2\t* 3 "), QStringLiteral("1+2\t*3"));
  EXPECT_EQ(QPro::Compact(u""), QString());

  struct Zaehlung { const char16_t* text; const char16_t* teil; int anzahl; };
  const Zaehlung zaehlungen[] = {
      {u"\"a\"=\"b\"", u"\"", 4}, {u"((1)+(2))", u"(", 3}, {u"aaaa", u"aa", 2},
      {u"abc", u"", 0}, {u"", u"(", 0}, {u"abc", u"x", 0},
  };
  for (const auto& z : zaehlungen) EXPECT_EQ(QPro::InCount(z.text, z.teil), z.anzahl) << T(z.text);

  EXPECT_EQ(QPro::ASCII(u"%1"), 37);
  EXPECT_EQ(QPro::ASCII(u""), 0);
  EXPECT_EQ(QPro::ASCII(u"ä"), 0xE4);
}

TEST(QPro, KlammerPartner) {
  struct Fall { const char16_t* text; int position; };
  const Fall faelle[] = {
      {u"(1)", 3}, {u"(a(b)c)d", 7}, {u"(()", 0}, {u"abc", 0}, {u"x(y)", 4}, {u")(", 0},
      {u"(((((1)))))+2", 11}, {u"", 0},
  };
  for (const auto& f : faelle) EXPECT_EQ(QPro::PMatch(f.text), f.position) << T(f.text);
}

TEST(QPro, LetztesVorkommenBisPosition) {
  // Quotes at positions 2, 4 and 6.
  const QString t = QStringLiteral("a\"b\"c\"");
  struct Fall { int start; int position; };
  const Fall faelle[] = {{5, 4}, {4, 4}, {3, 2}, {1, 0}, {0, 0}, {-3, 0}, {100, 6}, {6, 6}};
  for (const auto& f : faelle) EXPECT_EQ(QPro::QInstrB(f.start, t, u"\""), f.position) << f.start;
  EXPECT_EQ(QPro::QInstrB(10, u"abcabc", u"bc"), 5);
  EXPECT_EQ(QPro::QInstrB(4, u"abcabc", u"bc"), 2);
  EXPECT_EQ(QPro::QInstrB(3, u"abc", u""), 0);
}

TEST(QPro, ZahlFunktionen) {
  EXPECT_EQ(QPro::Factorial(0), 1.0);
  EXPECT_EQ(QPro::Factorial(5), 120.0);
  EXPECT_EQ(QPro::Factorial(20), 2432902008176640000.0);
  // Nearest doubles of the true values.
  EXPECT_EQ(QPro::Factorial(100), 9.332621544394415e157);
  EXPECT_EQ(QPro::Factorial(170), 7.257415615307999e306);
  EXPECT_EQ(QPro::Factorial(171), 0.0);
  EXPECT_EQ(QPro::Factorial(-1), 0.0);
  EXPECT_EQ(QPro::MaxInt(-3, 2), 2);
  EXPECT_EQ(QPro::MinInt(-3, 2), -3);

  EXPECT_EQ(QPro::Num2Bin2(255), QStringLiteral("11111111"));
  EXPECT_EQ(QPro::Num2Bin2(1), QStringLiteral("1"));
  EXPECT_EQ(QPro::Num2Bin2(0), QStringLiteral("0"));
  EXPECT_EQ(QPro::Num2Bin2(2147483647), QString(31, u'1'));
  EXPECT_EQ(QPro::Num2Bin2(-1), QString(32, u'1'));
}

TEST(QPro, Tagesnummer) {
  struct Fall { const char16_t* datum; int tag; };
  const Fall faelle[] = {
      {u"01-01-1901", 0},  {u"01-02-1901", 1},   {u"01-15-2026", 45670}, {u"12-31-1970", 25566},
      {u"12-31-1900", -1}, {u"02-29-2024", 44984}, {u"02-29-2025", 0},  {u"02-30-2026", 0},
      {u"1-15-2026", 0},   {u"15.01.2026", 0},   {u"", 0},             {u"ab-cd-efgh", 0},
  };
  for (const auto& f : faelle) EXPECT_EQ(QPro::Date2Num(f.datum), f.tag) << T(f.datum);
  // Later dates always give larger numbers.
  EXPECT_LT(QPro::Date2Num(u"12-31-2025"), QPro::Date2Num(u"01-01-2026"));
}

class QProSystem : public Testhilfe::SkribonTest {};

TEST_F(QProSystem, DatentraegerName) {
  EXPECT_EQ(QPro::GetVol(QStringLiteral("C:")), QString());
  system.label = QStringLiteral("DATEN");
  EXPECT_EQ(QPro::GetVol(QStringLiteral("C:")), QStringLiteral("DATEN"));
}

}  // namespace
