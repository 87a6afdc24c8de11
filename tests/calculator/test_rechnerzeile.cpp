#include <gtest/gtest.h>

#include "calculator/rechnerzeile.h"
#include "support/fixture.h"

using RechnerZeile::Berechnen;
using Z_Evaluate2::Fehler;

namespace {

// Thursday 15.01.2026 (day 45670 since 01.01.1901) from the fixture's clock.
class RechnerZeileTest : public Testhilfe::SkribonTest {};

TEST_F(RechnerZeileTest, Werte) {
  struct Fall { const char16_t* zeile; double wert; };
  const Fall faelle[] = {
      // Number bases.
      {u"$ff+%101", 260}, {u"&10", 16}, {u"-$10", -16}, {u"$FF", 255}, {u"19%", 190},
      {u"%", 0}, {u"$", 0},
      // Named constants, in any letter case and in brackets.
      {u"2*_pig", 0.0349065850398866}, {u"90/_PIG", 5156.62015617741}, {u"_AE", 149598817055},
      {u"_avo", 6.022045e23}, {u"_PW", 6.625e-34}, {u"_LJ/_LJ", 1}, {u"_LM", 17987109285},
      // Decimal comma.
      {u"3,5*2", 7}, {u"0,1+0,2", 0.3},
      // Time literals in hours.
      {u"1,30'", 1.5}, {u"1,30'15\"", 1.50416666666667}, {u"45'", 0.75}, {u"90'", 1.5},
      {u"5'+15'", 0.333333333333333}, {u"2*30\"", 0.0166666666666667}, {u"0,0'30\"", 0.00833333333333333},
      // Date brackets.
      {u"{heute}-{heute}", 0}, {u"{heute}", 45670}, {u"{HEUTE}", 45670},
      {u"{24.12.2026}-{heute}", 343}, {u"{31.12.1970}", 25566}, {u"{1.1.1901}", 0},
      {u"{31.12.1970 12:00}", 25566.5}, {u"{31.12.1970 18:00:00}", 25566.75},
      {u"{abc}", 0}, {u"{5}*2", 10}, {u"{31.02.2026}", 31.02}, {u"}1{", 0},
      // Line breaks count as blanks.
      {u"1+\r\n2", 3}, {u"2*\n3", 6},
  };
  for (const auto& f : faelle) {
    const auto e = Berechnen(QString::fromUtf16(f.zeile), QStringLiteral("0.00"));
    EXPECT_TRUE(e.berechnet) << QString::fromUtf16(f.zeile).toStdString();
    EXPECT_EQ(e.wert, f.wert) << QString::fromUtf16(f.zeile).toStdString() << " -> "
                              << e.ausdruck.toStdString();
  }
}

TEST_F(RechnerZeileTest, AnzeigenNachErfolg) {
  auto e = Berechnen(QStringLiteral("1/4"), QStringLiteral("0.00"));
  EXPECT_EQ(e.verlauf, QStringList({QStringLiteral(" 1/4 ="), QStringLiteral("0,25")}));
  EXPECT_EQ(e.text, QStringLiteral("0,25"));
  EXPECT_TRUE(e.textMarkieren);
  EXPECT_EQ(e.bezDez, QStringLiteral("0,25"));
  EXPECT_EQ(e.bezHex, QString());
  EXPECT_EQ(e.bezBin, QStringLiteral("  ~2/9  2/8  ~2/7  ~1/5  1/4"));
  EXPECT_EQ(e.titel, QStringLiteral("0,25 - Taschenrechner"));
  EXPECT_TRUE(e.meldung.isEmpty());

  e = Berechnen(QStringLiteral("255"), QStringLiteral("#,###,##0"));
  EXPECT_EQ(e.verlauf, QStringList({QStringLiteral(" 255 ="), QStringLiteral("255")}));
  EXPECT_EQ(e.bezHex, QStringLiteral("$FF"));
  EXPECT_EQ(e.bezBin, QStringLiteral("%11111111"));
  EXPECT_EQ(e.titel, QStringLiteral("255 - Taschenrechner"));

  e = Berechnen(QStringLiteral("0,5"), QStringLiteral("0"));
  EXPECT_EQ(e.bezBin, QStringLiteral("  4/8  3/6  2/4  1/2"));
  EXPECT_EQ(e.bezHex, QString());

  // Whole results beyond 32 bits, negative or broken results: no hex or binary label.
  e = Berechnen(QStringLiteral("2^31"), QStringLiteral("#,###,##0"));
  EXPECT_EQ(e.bezDez, QStringLiteral("2.147.483.648"));
  EXPECT_EQ(e.bezHex, QString());
  EXPECT_EQ(e.bezBin, QString());
  e = Berechnen(QStringLiteral("2^31-1"), QStringLiteral("0"));
  EXPECT_EQ(e.bezHex, QStringLiteral("$7FFFFFFF"));
  EXPECT_EQ(e.bezBin, QStringLiteral("%") + QString(31, u'1'));
  for (const char* zeile : {"-3", "2,5", "-0,5"}) {
    e = Berechnen(QString::fromLatin1(zeile), QStringLiteral("0"));
    EXPECT_EQ(e.bezHex, QString()) << zeile;
    EXPECT_EQ(e.bezBin, QString()) << zeile;
  }

  // The expression box gets the general number form with decimal comma.
  struct Text { const char* zeile; const char* text; };
  const Text texte[] = {{"1E16", "1E+16"}, {"-1/2", "-0,5"}, {"1/3", "0,333333333333333"},
                        {"10^-5", "1E-05"}, {"", "0"}, {"  7 ", "7"}};
  for (const auto& t : texte) {
    e = Berechnen(QString::fromLatin1(t.zeile), QStringLiteral("0"));
    EXPECT_EQ(e.text, QString::fromLatin1(t.text)) << t.zeile;
    EXPECT_EQ(e.titel, QString::fromLatin1(t.text) + QStringLiteral(" - Taschenrechner"));
  }

  // History of a typed line with blanks, and the chosen format.
  e = Berechnen(QStringLiteral(" 1234567,891 "), QStringLiteral("#,###,##0.00"));
  EXPECT_EQ(e.verlauf, QStringList({QStringLiteral("  1234567,891  ="), QStringLiteral("1.234.567,89")}));
  e = Berechnen(QStringLiteral("1\n+1"), QStringLiteral("0"));
  EXPECT_EQ(e.verlauf.first(), QStringLiteral(" 1 +1 ="));
}

TEST_F(RechnerZeileTest, NichtBerechenbar) {
  struct Fall { const char16_t* zeile; Fehler fehler; const char* meldung; };
  const Fall faelle[] = {
      {u"1/0", Fehler::DivisionDurchNull, "Nicht berechenbar: Division durch Null"},
      {u"ARCSIN1", Fehler::DivisionDurchNull, "Nicht berechenbar: Division durch Null"},
      {u"(1+2", Fehler::Klammern, "Nicht berechenbar: Klammern passen nicht zusammen"},
      {u"SQR-4", Fehler::Argument, "Nicht berechenbar: ungültiges Argument"},
      {u"1E999", Fehler::Ueberlauf, "Nicht berechenbar: Überlauf"},
      {u"*5", Fehler::Ausdruck, "Nicht berechenbar: ungültiger Ausdruck"},
      // A literal beyond 32 bits is no silent 0.
      {u"$FFFFFFFF", Fehler::Ueberlauf, "Nicht berechenbar: Überlauf"},
      {u"%111111111111111111111111111111111", Fehler::Ueberlauf, "Nicht berechenbar: Überlauf"},
  };
  for (const auto& f : faelle) {
    const QString zeile = QString::fromUtf16(f.zeile);
    const auto e = Berechnen(zeile, QStringLiteral("0.00"));
    EXPECT_FALSE(e.berechnet) << zeile.toStdString();
    EXPECT_EQ(e.fehler, f.fehler) << zeile.toStdString();
    EXPECT_EQ(e.meldung, QString::fromUtf8(f.meldung));
    EXPECT_EQ(e.verlauf, QStringList({QStringLiteral(" ") + zeile + QStringLiteral(" ="),
                                      QString::fromUtf8(f.meldung)}));
    EXPECT_EQ(e.text, zeile);  // kept for correction
    EXPECT_FALSE(e.textMarkieren);
    EXPECT_EQ(e.bezDez, QStringLiteral("Nicht berechenbar"));
    EXPECT_EQ(e.bezHex, QString());
    EXPECT_EQ(e.bezBin, QString());
    EXPECT_EQ(e.titel, zeile + QStringLiteral(" - Taschenrechner"));
  }

  // A line too long is refused at once.
  const QString lang(1 << 20, u'1');
  const auto e = Berechnen(lang, QStringLiteral("0"));
  EXPECT_FALSE(e.berechnet);
  EXPECT_EQ(e.fehler, Fehler::Laenge);
  EXPECT_EQ(e.text, lang);
}

TEST_F(RechnerZeileTest, Umschreibungen) {
  // Hexadecimal first, then binary, each from the left; a literal too large stops the rewrite
  // there, and it and every later literal stay as typed.
  QString s = QStringLiteral("$10+$FFFFFFFF+&1+%11");
  bool ok = true;
  RechnerZeile::BasisZahlenErsetzen(s, &ok);
  EXPECT_FALSE(ok);
  EXPECT_EQ(s, QStringLiteral("16+$FFFFFFFF+&1+%11"));
  s = QStringLiteral("%11+$a+%");
  EXPECT_EQ(RechnerZeile::BasisZahlenErsetzen(s, &ok), QStringLiteral("3+10+0"));
  EXPECT_TRUE(ok);
  s = QStringLiteral("$G1");  // the first character after the prefix always belongs
  EXPECT_EQ(RechnerZeile::BasisZahlenErsetzen(s), QStringLiteral("257"));

  struct Basis { const char* ziffern; int basis; qint32 wert; bool ok; };
  const Basis basen[] = {{"ff", 16, 255, true},        {"FF", 16, 255, true},
                         {"7fffffff", 16, 2147483647, true}, {"80000000", 16, 0, false},
                         {"101", 2, 5, true},          {"2", 2, 2, true},
                         {"", 16, 0, true},            {"0000000000000000000000000000000000001", 2, 1, true}};
  for (const auto& b : basen) {
    QString z = QString::fromLatin1(b.ziffern);
    bool gut = !b.ok;
    EXPECT_EQ(RechnerZeile::ZahlAusBasis(z, b.basis, &gut), b.wert) << b.ziffern;
    EXPECT_EQ(gut, b.ok) << b.ziffern;
    EXPECT_EQ(z, QString::fromLatin1(b.ziffern).toLower());
  }

  // The time-literal loop ends after 99 passes.
  s = QString(150, u'\'');
  RechnerZeile::ZeitAngabenErsetzen(s);
  EXPECT_EQ(s, QStringLiteral("0") + QString(51, u'\''));
  // A line that holds only a double quote gets it replaced, not lengthened.
  s = QStringLiteral("abc\"");
  EXPECT_EQ(RechnerZeile::ZeitAngabenErsetzen(s), QStringLiteral("abc0"));

  // Date brackets: a "}" before the first "{" ends the rewrite.
  s = QStringLiteral("}{heute}");
  EXPECT_EQ(RechnerZeile::DatumsKlammernErsetzen(s), QStringLiteral("}{heute}"));
  s = QStringLiteral("{heute}+{ 24.12.2026 }+{x}");
  EXPECT_EQ(RechnerZeile::DatumsKlammernErsetzen(s), QStringLiteral("45670 +46013 +x"));

  EXPECT_EQ(RechnerZeile::AusdruckBilden(QStringLiteral("2*_Pig+1,5")), QStringLiteral("2*(PI/180)+1.5"));
}

}  // namespace
