#include <QDir>
#include <QFile>
#include <QLocale>
#include <clocale>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>

#include "platform/laufzeit.h"
#include "support/fixture.h"

using Laufzeit::Format;

namespace {

std::string S(const QString& t) { return t.toStdString(); }

QDateTime DZ(int j, int m, int t, int h = 0, int n = 0, int s = 0) {
  return QDateTime(QDate(j, m, t), QTime(h, n, s));
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Format with number patterns

TEST(FormatZahl, MusterTabelle) {
  struct Fall { double wert; const char* muster; const char* text; };
  const Fall faelle[] = {
      // whole numbers, rounding half away from zero
      {0, "0", "0"}, {2.5, "0", "3"}, {-2.5, "0", "-3"}, {0.4, "0", "0"}, {0.5, "0", "1"},
      {1234567.89, "0", "1234568"}, {1e20, "0", "100000000000000000000"},
      {123456789012345678.0, "0", "123456789012346000"},
      // one decimal
      {0.5, "0.0", "0,5"}, {0.05, "0.0", "0,1"}, {-0.05, "0.0", "-0,1"}, {0.95, "0.0", "1,0"},
      {99.95, "0.0", "100,0"}, {-3, "0.0", "-3,0"},
      {0.5, "#.0", ",5"}, {12.34, "#.0", "12,3"}, {0, "#.0", ",0"}, {-0.5, "#.0", "-,5"},
      {1.0 / 3, ".0", ",3"}, {12.5, ".00", "12,50"},
      // two decimals: the 15-digit decimal form is rounded, not the binary value
      {2.675, "0.00", "2,68"}, {1.005, "0.00", "1,01"}, {1.234, "0.00", "1,23"},
      {-1.5, "0.00", "-1,50"}, {0.125, "0.00", "0,13"}, {1e-10, "0.00", "0,00"},
      // thousands
      {1234567.891, "#,##0", "1.234.568"}, {0, "#,##0", "0"}, {999.5, "#,##0", "1.000"},
      {-1234, "#,##0", "-1.234"}, {12, "#,##0", "12"}, {123, "#,##0", "123"},
      {1e15, "#,##0", "1.000.000.000.000.000"},
      {1234567.891, "#,##0.00", "1.234.567,89"}, {0.5, "#,##0.00", "0,50"},
      {10000.0 / 3, "#,##0.00", "3.333,33"}, {10000.0 / 3, "0,000.0", "3.333,3"},
      {1000, "0,000", "1.000"}, {5, "0,000", "0.005"},
      {1234567.123456, "#,###,##0.00000", "1.234.567,12346"}, {0, "#,###,##0", "0"},
      {1234567, "#,##0,", "1.235"}, {1234567, "0,.0", "1234,6"},
      {1234567890, "#,##0,,", "1.235"},
      // leading zeros
      {5, "000", "005"}, {1234, "000", "1234"}, {-7, "000", "-007"}, {7.5, "00", "08"},
      {42, "0000000", "0000042"},
      // per cent
      {0.125, "0%", "13%"}, {1, "0%", "100%"}, {-0.5, "0%", "-50%"},
      {0.12345, "0.00%", "12,35%"}, {0.07, "0.00%", "7,00%"},
      // scientific
      {12345, "0.00E+00", "1,23E+04"}, {0.000123456, "0.00E+00", "1,23E-04"},
      {0, "0.00E+00", "0,00E+00"}, {-12345, "0.00E+00", "-1,23E+04"},
      {9.999, "0.00E+00", "1,00E+01"}, {1e100, "0.00E+00", "1,00E+100"},
      {1, "0.00E+00", "1,00E+00"}, {1234.5678, "0.000E+000", "1,235E+003"},
      {12345, "0.00E-00", "1,23E04"}, {0.00123, "0.00E-00", "1,23E-03"},
      {12345, "00.00E+00", "12,35E+03"}, {12345, "0.00e+00", "1,23e+04"},
      // optional digits
      {0, "#", ""}, {0.4, "#", ""}, {0.5, "#", "1"}, {42, "#", "42"},
      {0.04, "##0.0", "0,0"}, {1234.56, "##0.0", "1234,6"}, {5, "##0.0", "5,0"},
      {5, "#.##", "5,"}, {5.5, "#.##", "5,5"}, {0.126, "0.##", "0,13"}, {1.1, "0.0#", "1,1"},
      {1.0 / 3, "0.0000000000", "0,3333333333"},
      // literal text
      {5, "0 \"kg\"", "5 kg"}, {5, "\\#0", "#5"}, {1.5, "0.0 \"€\"", "1,5 €"},
      {5, "0 Stück", "5 Stück"}, {-1234.5, "$#,##0.00", "-$1.234,50"},
      {3, "\"Nr. \"0", "Nr. 3"}, {3, "(0)", "(3)"}, {2, "\"0;#\" 0", "0;# 2"},
      // sections: positive;negative;zero
      {-5, "0;(0)", "(5)"}, {5, "0;(0)", "5"}, {0, "0;(0)", "0"},
      {0, "0.0;-0.0;\"null\"", "null"}, {0.01, "0.0;-0.0;\"null\"", "0,0"},
      {-0.01, "0.0;\"minus \"0.0;\"null\"", "minus 0,0"},
      {-3, "0;;\"-\"", "-3"}, {0, "0;;\"-\"", "-"}, {-2, ";-0", "-2"},
      // a negative value that rounds to zero gets no sign
      {-0.001, "0.00", "0,00"}, {-0.4, "0", "0"}, {-0.4, "#", ""},
  };
  for (const auto& f : faelle)
    EXPECT_EQ(S(Format(f.wert, QString::fromUtf8(f.muster))), f.text)
        << f.wert << " mit \"" << f.muster << "\"";
}

TEST(FormatZahl, LeeresMusterIstAllgemeineDeutscheForm) {
  struct Fall { double wert; const char* text; };
  const Fall faelle[] = {
      {1.5, "1,5"}, {0.5, "0,5"}, {-0.25, "-0,25"}, {0, "0"}, {-0.0, "0"}, {1e16, "1E+16"},
      {1e-5, "1E-05"}, {-1.5e-7, "-1,5E-07"}, {1234567, "1234567"},
      {1.0 / 3, "0,333333333333333"},
  };
  for (const auto& f : faelle) EXPECT_EQ(S(Format(f.wert, QString())), f.text) << f.wert;
}

TEST(FormatZahl, NichtEndlicheWerteWieNull) {
  EXPECT_EQ(S(Format(std::numeric_limits<double>::quiet_NaN(), "0.00")), "0,00");
  EXPECT_EQ(S(Format(std::numeric_limits<double>::infinity(), "0")), "0");
}

TEST(FormatZahl, UnabhaengigVomGebietsschema) {
  // Neither Qt's default locale nor the C library's may change the German output.
  const QLocale altQt;
  QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
  const std::string altC = std::setlocale(LC_ALL, nullptr);
  // A German C locale where installed (a comma from printf would break the digit reading).
  if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8")) std::setlocale(LC_NUMERIC, "de_DE");
  EXPECT_EQ(S(Format(1234567.891, "#,##0.00")), "1.234.567,89");
  EXPECT_EQ(S(Format(2.675, "0.00")), "2,68");
  EXPECT_EQ(S(Format(QDate(2026, 3, 5), "Long Date")), "Donnerstag, 5. März 2026");
  std::setlocale(LC_ALL, altC.c_str());
  QLocale::setDefault(altQt);
}

// ---------------------------------------------------------------------------------------------
// Format with date patterns

TEST(FormatDatum, MusterTabelle) {
  const QDateTime donnerstag = DZ(2026, 1, 15, 10, 30, 0);
  const QDateTime sonntag = DZ(2024, 12, 1, 8, 5, 9);
  struct Fall { const QDateTime* wert; const char* muster; const char* text; };
  const Fall faelle[] = {
      {&donnerstag, "d", "15"}, {&donnerstag, "dd", "15"}, {&donnerstag, "ddd", "Do"},
      {&donnerstag, "dddd", "Donnerstag"}, {&donnerstag, "m", "1"}, {&donnerstag, "mm", "01"},
      {&donnerstag, "mmm", "Jan"}, {&donnerstag, "mmmm", "Januar"}, {&donnerstag, "yy", "26"},
      {&donnerstag, "yyyy", "2026"}, {&donnerstag, "h", "10"}, {&donnerstag, "hh", "10"},
      {&donnerstag, "n", "30"}, {&donnerstag, "nn", "30"}, {&donnerstag, "s", "0"},
      {&donnerstag, "ss", "00"}, {&donnerstag, "q", "1"}, {&donnerstag, "w", "5"},
      {&donnerstag, "ww", "3"}, {&donnerstag, "y", "15"},
      {&sonntag, "d", "1"}, {&sonntag, "dd", "01"}, {&sonntag, "ddd", "So"},
      {&sonntag, "dddd", "Sonntag"}, {&sonntag, "m", "12"}, {&sonntag, "mmm", "Dez"},
      {&sonntag, "mmmm", "Dezember"}, {&sonntag, "h", "8"}, {&sonntag, "hh", "08"},
      {&sonntag, "n", "5"}, {&sonntag, "nn", "05"}, {&sonntag, "s", "9"}, {&sonntag, "ss", "09"},
      {&sonntag, "q", "4"}, {&sonntag, "w", "1"}, {&sonntag, "ww", "49"}, {&sonntag, "y", "336"},
      {&sonntag, "yy", "24"},
      // combinations as the program uses them
      {&donnerstag, "d.m.yyyy", "15.1.2026"}, {&donnerstag, "dd.mm.yyyy", "15.01.2026"},
      {&donnerstag, "dd.mm.yyyy hh:nn:ss dddd", "15.01.2026 10:30:00 Donnerstag"},
      {&sonntag, "dd.mm.yyyy hh:nn", "01.12.2024 08:05"}, {&sonntag, "h:n", "8:5"},
      {&sonntag, "hh-nn-ss", "08-05-09"}, {&sonntag, "yy-mm-dd", "24-12-01"},
      {&sonntag, "yyyymmdd", "20241201"}, {&sonntag, "yymmdd", "241201"},
      {&sonntag, "yyyy-mm", "2024-12"}, {&sonntag, "dd-mm-yy", "01-12-24"},
      {&sonntag, "mm/dd/yyyy", "12/01/2024"}, {&sonntag, "d, m", "1, 12"},
      // "m" right after an hour means minutes, elsewhere the month
      {&sonntag, "hh:mm", "08:05"}, {&sonntag, "h:mm:ss", "8:05:09"}, {&sonntag, "h m", "8 5"},
      {&sonntag, "hh \"Uhr\" mm", "08 Uhr 05"}, {&sonntag, "mm hh", "12 08"},
      {&sonntag, "hh:nn dd.mm", "08:05 01.12"}, {&sonntag, "hh mmm", "08 Dez"},
      // upper-case letters
      {&donnerstag, "DD.MM.YYYY", "15.01.2026"}, {&donnerstag, "HH:NN:SS", "10:30:00"},
      {&donnerstag, "DDDD", "Donnerstag"}, {&donnerstag, "MMMM", "Januar"},
      {&donnerstag, "Q", "1"}, {&donnerstag, "W", "5"}, {&donnerstag, "WW", "3"},
      {&donnerstag, "HH:MM", "10:30"},
      // literal text
      {&donnerstag, "\"Heute ist\" dddd", "Heute ist Donnerstag"},
      {&donnerstag, "\\d d", "d 15"}, {&donnerstag, "yyyy\"-Q\"q", "2026-Q1"},
      {&donnerstag, "dd.mm.yyyy \"um\" hh:nn \"Uhr\"", "15.01.2026 um 10:30 Uhr"},
      // named forms
      {&donnerstag, "Long Date", "Donnerstag, 15. Januar 2026"},
      {&donnerstag, "long date", "Donnerstag, 15. Januar 2026"},
      {&sonntag, "Long Date", "Sonntag, 1. Dezember 2024"},
      {&donnerstag, "Short Date", "15.01.2026"}, {&sonntag, "Short Date", "01.12.2024"},
      {&sonntag, "Long Time", "08:05:09"}, {&sonntag, "Short Time", "08:05"},
      {&donnerstag, "General Date", "15.01.2026 10:30:00"},
      {&donnerstag, "", "15.01.2026 10:30:00"},
      {&donnerstag, "ddddd", "15.01.2026"},
      {&donnerstag, "dddddd", "Donnerstag, 15. Januar 2026"},
  };
  for (const auto& f : faelle)
    EXPECT_EQ(S(Format(*f.wert, QString::fromUtf8(f.muster))), f.text) << "Muster " << f.muster;
}

TEST(FormatDatum, AllgemeinesDatumNurDatumOderNurZeit) {
  EXPECT_EQ(S(Format(QDate(2026, 1, 15), "General Date")), "15.01.2026");
  EXPECT_EQ(S(Format(QDate(2026, 1, 15), "")), "15.01.2026");
  EXPECT_EQ(S(Format(DZ(1899, 12, 30, 18, 30), "General Date")), "18:30:00");
  EXPECT_EQ(S(Format(DZ(1899, 12, 30), "General Date")), "00:00:00");
  EXPECT_EQ(S(Format(DZ(2026, 1, 15), "")), "15.01.2026");
  EXPECT_EQ(S(Format(QDate(2026, 1, 15), "dd.mm.yyyy hh:nn")), "15.01.2026 00:00");
  EXPECT_EQ(S(Format(QDateTime(), "dd.mm.yyyy")), "");
  EXPECT_EQ(S(Format(QDate(), "dd.mm.yyyy")), "");
}

TEST(FormatDatum, WocheDesJahresBeginntSonntagsMitDemErstenJanuar) {
  struct Fall { int j, m, t; int woche; };
  const Fall faelle[] = {
      {2026, 1, 1, 1}, {2026, 1, 3, 1}, {2026, 1, 4, 2}, {2022, 1, 1, 1}, {2022, 1, 2, 2},
      {2024, 12, 31, 53}, {2000, 12, 31, 54}, {2023, 1, 1, 1}, {2023, 1, 7, 1}, {2023, 1, 8, 2},
  };
  for (const auto& f : faelle)
    EXPECT_EQ(S(Format(QDate(f.j, f.m, f.t), "ww")), std::to_string(f.woche))
        << f.t << "." << f.m << "." << f.j;
}

TEST(DeutscheNamen, MonateUndWochentage) {
  const char* monate[] = {"Januar", "Februar", "März", "April", "Mai", "Juni", "Juli",
                          "August", "September", "Oktober", "November", "Dezember"};
  const char* kurz[] = {"Jan", "Feb", "Mär", "Apr", "Mai", "Jun",
                        "Jul", "Aug", "Sep", "Okt", "Nov", "Dez"};
  for (int i = 0; i < 12; ++i) {
    EXPECT_EQ(S(Laufzeit::MonatsName(i + 1)), monate[i]);
    EXPECT_EQ(S(Laufzeit::MonatsName(i + 1, true)), kurz[i]);
    EXPECT_EQ(S(Format(QDate(2026, i + 1, 1), "mmmm|mmm")), std::string(monate[i]) + "|" + kurz[i]);
  }
  const char* tage[] = {"Sonntag", "Montag", "Dienstag", "Mittwoch", "Donnerstag", "Freitag", "Samstag"};
  const char* tageKurz[] = {"So", "Mo", "Di", "Mi", "Do", "Fr", "Sa"};
  for (int i = 0; i < 7; ++i) {
    EXPECT_EQ(S(Laufzeit::WochentagsName(i + 1)), tage[i]);
    EXPECT_EQ(S(Laufzeit::WochentagsName(i + 1, true)), tageKurz[i]);
    const QDate d = QDate(2026, 1, 18).addDays(i);  // 18.01.2026 is a Sunday
    EXPECT_EQ(Laufzeit::Wochentag(d), i + 1);
    EXPECT_EQ(S(Format(d, "dddd ddd w")), std::string(tage[i]) + " " + tageKurz[i] + " " + std::to_string(i + 1));
  }
  EXPECT_EQ(S(Laufzeit::MonatsName(0)), "");
  EXPECT_EQ(S(Laufzeit::MonatsName(13)), "");
  EXPECT_EQ(S(Laufzeit::WochentagsName(0)), "");
  EXPECT_EQ(S(Laufzeit::WochentagsName(8, true)), "");
  EXPECT_EQ(Laufzeit::Wochentag(QDate()), 0);
}

// ---------------------------------------------------------------------------------------------
// Reading German dates

class DatumLesenTest : public Testhilfe::SkribonTest {};

TEST_F(DatumLesenTest, GueltigeFormen) {
  ASSERT_EQ(system.uhr, DZ(2026, 1, 15, 10, 30));  // "24.12." takes the year from this clock
  struct Fall { const char* text; QDateTime wert; };
  const Fall faelle[] = {
      {"24.12.2026", DZ(2026, 12, 24)}, {"24.12.26", DZ(2026, 12, 24)},
      {"01.01.29", DZ(2029, 1, 1)}, {"01.01.30", DZ(1930, 1, 1)}, {"1.1.99", DZ(1999, 1, 1)},
      {"1.1.00", DZ(2000, 1, 1)}, {"24.12.", DZ(2026, 12, 24)}, {"1.2.2026", DZ(2026, 2, 1)},
      {"29.02.2024", DZ(2024, 2, 29)}, {"31.12.1899", DZ(1899, 12, 31)},
      {"1.1.100", DZ(100, 1, 1)}, {"31.12.9999", DZ(9999, 12, 31)},
      {"24.12.2026 18:30", DZ(2026, 12, 24, 18, 30)},
      {"24.12.2026 18:30:15", DZ(2026, 12, 24, 18, 30, 15)},
      {"24.12.2026   8:05", DZ(2026, 12, 24, 8, 5)}, {"24.12. 18:30", DZ(2026, 12, 24, 18, 30)},
      {"18:30", DZ(1899, 12, 30, 18, 30)}, {"0:00:59", DZ(1899, 12, 30, 0, 0, 59)},
      {"24. Dezember 2026", DZ(2026, 12, 24)}, {"24. Dez 2026", DZ(2026, 12, 24)},
      {"24. dez. 2026", DZ(2026, 12, 24)}, {"3. März 2026", DZ(2026, 3, 3)},
      {"3. MÄR 2026", DZ(2026, 3, 3)}, {"24.Dezember 2026", DZ(2026, 12, 24)},
      {"1. Mai", DZ(2026, 5, 1)}, {"24. Dezember 2026 18:30", DZ(2026, 12, 24, 18, 30)},
      {"2026-12-24", DZ(2026, 12, 24)}, {"2026-1-5", DZ(2026, 1, 5)},
      {"2026-12-24 18:30:15", DZ(2026, 12, 24, 18, 30, 15)},
      {"  24.12.2026  ", DZ(2026, 12, 24)}, {"\t24.12.2026\n", DZ(2026, 12, 24)},
  };
  for (const auto& f : faelle) {
    bool ok = false;
    const QString text = QString::fromUtf8(f.text);
    EXPECT_EQ(Laufzeit::DatumLesen(text, &ok), f.wert) << f.text;
    EXPECT_TRUE(ok) << f.text;
    EXPECT_TRUE(Laufzeit::IstDatum(text)) << f.text;
  }
}

TEST_F(DatumLesenTest, UngueltigesWirdAbgelehnt) {
  const char* faelle[] = {
      "", "   ", "abc", "31.02.2026", "29.02.2026", "24.13.2026", "32.01.2026", "0.1.2026",
      "24.12", "1.5", "24.12.2026x", "24/12/2026", "24-12-2026", "24.12.2026 24:00",
      "24.12.2026 18:60", "18:30:60", "12:", ":30", "2026-02-30", "2026-12-24x", "24. Foo 2026",
      "24. Dezemberr 2026", "1.1.0099", "1.1.12345", "24.12.2026 18", "24..12.2026", "-1.1.2026",
      "24.12.2026 18:30 Uhr", "Dezember 2026",
  };
  for (const char* f : faelle) {
    bool ok = true;
    EXPECT_FALSE(Laufzeit::DatumLesen(QString::fromUtf8(f), &ok).isValid()) << f;
    EXPECT_FALSE(ok) << f;
    EXPECT_FALSE(Laufzeit::IstDatum(QString::fromUtf8(f))) << f;
  }
}

// ---------------------------------------------------------------------------------------------
// Serial day numbers and month arithmetic

TEST(Serie, BeideRichtungen) {
  struct Fall { QDateTime wert; double serie; };
  const Fall faelle[] = {
      {DZ(1899, 12, 30), 0},        {DZ(1899, 12, 31), 1},         {DZ(1900, 1, 1), 2},
      {DZ(2000, 2, 29), 36585},     {DZ(9999, 12, 31), 2958465},   {DZ(1899, 12, 30, 12), 0.5},
      {DZ(2026, 1, 15, 10, 30), 46037.4375},                       {DZ(1899, 12, 29, 6), -1.25},
      {DZ(1800, 1, 1), -36522},     {DZ(100, 1, 1), -657434},      {DZ(1901, 1, 1), 367},
      {DZ(9999, 12, 31, 23, 59, 59), 2958465 + 86399.0 / 86400},
  };
  for (const auto& f : faelle) {
    const std::string name = S(f.wert.toString(Qt::ISODate));
    EXPECT_DOUBLE_EQ(Laufzeit::DatumZuSerie(f.wert), f.serie) << name;
    EXPECT_EQ(Laufzeit::SerieZuDatum(f.serie), f.wert) << name;
  }
}

TEST(Serie, NegativeBruecheUndGrenzen) {
  // The fraction is a time of day whatever the sign of the day count.
  EXPECT_EQ(Laufzeit::SerieZuDatum(-0.25), DZ(1899, 12, 30, 6));
  EXPECT_EQ(Laufzeit::SerieZuDatum(-0.5), DZ(1899, 12, 30, 12));
  EXPECT_EQ(Laufzeit::SerieZuDatum(-2.75), DZ(1899, 12, 28, 18));
  // A time that rounds up to midnight moves to the next day, away from day 0.
  EXPECT_EQ(Laufzeit::SerieZuDatum(1.9999999999), DZ(1900, 1, 1));
  EXPECT_EQ(Laufzeit::SerieZuDatum(-1.9999999999), DZ(1899, 12, 28));
  EXPECT_EQ(Laufzeit::SerieZuDatum(2958465.9999999), QDateTime(QDate(9999, 12, 31), QTime(23, 59, 59, 991)));
  for (double aussen : {2958466.0, -657435.0, 1e300, -1e300, std::numeric_limits<double>::quiet_NaN(),
                        std::numeric_limits<double>::infinity()})
    EXPECT_FALSE(Laufzeit::SerieZuDatum(aussen).isValid()) << aussen;
  EXPECT_EQ(Laufzeit::DatumZuSerie(QDateTime()), 0);
}

TEST(Serie, RundreiseUeberDenGanzenBereich) {
  for (int tag = -657434; tag <= 2958465; tag += 9973) {
    for (double bruch : {0.0, 0.25, 0.999988425925926}) {  // the last one is 23:59:59
      const double serie = tag < 0 ? tag - bruch : tag + bruch;
      const QDateTime d = Laufzeit::SerieZuDatum(serie);
      ASSERT_TRUE(d.isValid()) << serie;
      EXPECT_NEAR(Laufzeit::DatumZuSerie(d), serie, 1e-8) << serie;
    }
  }
}

TEST(MonateAddieren, TageWerdenGekappt) {
  struct Fall { QDate von; int monate; QDate bis; };
  const Fall faelle[] = {
      {QDate(2026, 1, 31), 1, QDate(2026, 2, 28)},   {QDate(2024, 1, 31), 1, QDate(2024, 2, 29)},
      {QDate(2024, 2, 29), 12, QDate(2025, 2, 28)},  {QDate(2024, 2, 29), 48, QDate(2028, 2, 29)},
      {QDate(2026, 3, 31), -1, QDate(2026, 2, 28)},  {QDate(2026, 1, 15), -2, QDate(2025, 11, 15)},
      {QDate(2026, 12, 31), 2, QDate(2027, 2, 28)},  {QDate(2026, 5, 31), 1, QDate(2026, 6, 30)},
      {QDate(2026, 1, 15), 0, QDate(2026, 1, 15)},   {QDate(), 1, QDate()},
  };
  for (const auto& f : faelle)
    EXPECT_EQ(Laufzeit::MonateAddieren(f.von, f.monate), f.bis) << S(f.von.toString(Qt::ISODate)) << " + " << f.monate;
}

// ---------------------------------------------------------------------------------------------
// Wildcards

TEST(PasstMuster, Platzhalter) {
  struct Fall { const char* name; const char* muster; bool passt; };
  const Fall faelle[] = {
      {"Notiz.txt", "*.txt", true},     {"NOTIZ.TXT", "*.txt", true},
      {"notiz.txt", "N*.TXT", true},    {"README", "*.*", true},
      {"a.b.c", "*.*", true},           {"README", "*.txt", false},
      {"ab", "a?", true},               {"a", "a?", false},
      {"abc", "a?", false},             {"Vesk_Prn.ini", "vesk*.ini", true},
      {"x.ini.bak", "*.ini", false},    {"ini", "*.ini", false},
      {"", "*", true},                  {"abc", "", false},
      {"aXbXc", "a*b*c", true},         {"abxd", "a*b?d", true},
      {"abcbd", "a*b?d", false},        {"Übung.TXT", "übung.txt", true},
      {"readme", "README.*", true},     {"readme.md", "README.*", true},
      {"readmex", "README.*", false},   {"Rechner.Dat", "rechner.dat", true},
      {"notiz.t01", "notiz.t??", true}, {"notiz.t1", "notiz.t??", false},
      {"a.txt", "**.txt", true},        {"aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa", "*a*a*a*a*a*a*b", false},
  };
  for (const auto& f : faelle)
    EXPECT_EQ(Laufzeit::PasstMuster(QString::fromUtf8(f.name), QString::fromUtf8(f.muster)), f.passt)
        << f.name << " ~ " << f.muster;
}

class DateienSuchenTest : public Testhilfe::SkribonTest {};

TEST_F(DateienSuchenTest, NurDateienSortiertOhneGrossKlein) {
  const QString o = wurzel + "/liste";
  for (const char* n : {"b.txt", "A.TXT", "c.Txt", "README", "notiz.t01", "notiz.t1", ".versteckt"})
    DateiSchreiben(o + "/" + n, "x");
  ASSERT_TRUE(QDir().mkpath(o + "/ordner.txt"));
  struct Fall { const char* muster; QStringList namen; };
  const Fall faelle[] = {
      {"*.txt", {"A.TXT", "b.txt", "c.Txt"}},
      {"*.*", {"A.TXT", "b.txt", "c.Txt", "notiz.t01", "notiz.t1", "README"}},
      {"*", {"A.TXT", "b.txt", "c.Txt", "notiz.t01", "notiz.t1", "README"}},
      {"notiz.t??", {"notiz.t01"}},
      {"?.txt", {"A.TXT", "b.txt", "c.Txt"}},
      {"readme", {"README"}},
      {"*.doc", {}},
  };
  for (const auto& f : faelle)
    EXPECT_EQ(Laufzeit::DateienSuchen(o, f.muster), f.namen) << f.muster;
}

TEST_F(DateienSuchenTest, FehlenderOrdnerUndLeererOrdner) {
  EXPECT_TRUE(Laufzeit::DateienSuchen(wurzel + "/gibtsnicht", "*.*").isEmpty());
  DateiSchreiben(wurzel + "/datei", "x");
  EXPECT_TRUE(Laufzeit::DateienSuchen(wurzel + "/datei", "*.*").isEmpty());  // a file, no folder
  // No folder given: the current folder.
  DateiSchreiben(system.ordner + "/hier.x", "x");
  EXPECT_EQ(Laufzeit::DateienSuchen(QString(), "*.x"), QStringList{"hier.x"});
}
