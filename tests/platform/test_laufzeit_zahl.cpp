#include <cmath>
#include <gtest/gtest.h>

#include "platform/laufzeit.h"

using Laufzeit::Str;
using Laufzeit::Val;

TEST(ZahlText, AllgemeineForm) {
  struct Fall { double wert; const char* text; };
  const Fall faelle[] = {
      {0, " 0"}, {-0.0, " 0"}, {1, " 1"}, {-1, "-1"}, {0.5, " .5"}, {-0.25, "-.25"},
      {1.0 / 3, " .333333333333333"}, {2.0 / 3, " .666666666666667"},
      {123456789012345.0, " 123456789012345"}, {1e15, " 1E+15"}, {1e16, " 1E+16"},
      {-1.5e20, "-1.5E+20"}, {0.0001, " .0001"}, {0.00001, " 1E-05"}, {1.5e-7, " 1.5E-07"},
      {3.14159265358979323846, " 3.14159265358979"}, {1e308, " 1E+308"}, {100, " 100"},
  };
  for (const auto& f : faelle) EXPECT_EQ(Str(f.wert).toStdString(), f.text) << f.wert;
  EXPECT_EQ(Laufzeit::ZahlText(0.5).toStdString(), ".5");
}

TEST(ZahlLesen, LaengsteFuehrendeZahl) {
  struct Fall { const char* text; double wert; int gelesen; };
  const Fall faelle[] = {
      {"", 0, 0}, {"abc", 0, 0}, {"12abc", 12, 2}, {"  -3.5x", -3.5, 6}, {"1 2 3", 123, 5},
      {".5", 0.5, 2}, {"-.5", -0.5, 3}, {"1.2.3", 1.2, 3}, {"1E3", 1000, 3}, {"1D3", 1000, 3},
      {"2e-2", 0.02, 4}, {"1E", 1, 1}, {"1E+", 1, 1}, {"+7", 7, 2}, {"-", 0, 0}, {".", 0, 0},
      {" 1E+16", 1e16, 6}, {"5.", 5, 2}, {"\t\n42", 42, 4}, {"1,5", 1, 1},
  };
  for (const auto& f : faelle) {
    int n = -1;
    EXPECT_DOUBLE_EQ(Val(QString::fromUtf8(f.text), &n), f.wert) << f.text;
    EXPECT_EQ(n, f.gelesen) << f.text;
  }
  EXPECT_TRUE(std::isinf(Val("1E999999")));
  EXPECT_EQ(Val("-1E-999999"), 0.0);
  EXPECT_TRUE(std::isinf(Val(QString(400, '9') + "E-5")));
  EXPECT_EQ(Val("0." + QString(400, '0') + "1"), 0.0);
  EXPECT_TRUE(std::isinf(Val("-" + QString(400, '0') + "5" + QString(400, '0'))));
  // Leading zeros of a long exponent do not hide its sign or size.
  EXPECT_EQ(Val("1E-0000000000000400"), 0.0);
  EXPECT_TRUE(std::isinf(Val("1E+0000000000000400")));
  EXPECT_DOUBLE_EQ(Val("1E+0000000000000005"), 1e5);
}

TEST(ZahlText, RundreiseUeberText) {
  for (double w : {1.0 / 7, -2.5e-9, 6.02214076e23, 42.0, -0.001, 9.99999999999999e14})
    EXPECT_DOUBLE_EQ(Val(Str(w)), Val(Str(Val(Str(w))))) << w;
  EXPECT_EQ(Val(Str(0.1 + 0.2)), 0.3);
}
