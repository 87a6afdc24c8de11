// VAT and currency arithmetic, the stored rate and factor, and the rate edit.
#include <gtest/gtest.h>

#include "calculator/mwst.h"
#include "calculator/rechnerzeile.h"
#include "foundation/z_alles.h"
#include "support/fixture.h"

namespace {

class MwStTest : public Testhilfe::SkribonTest {
protected:
  QString allgemein(const char* schluessel) {
    return Z_Alles::IniLesen("", "Allgemein", QString::fromUtf8(schluessel), "?");
  }
};

TEST(MwStRechnung, SechsRichtungenBeiNeunzehnProzent) {
  struct Fall { int index; double x, y; };
  const Fall faelle[] = {{0, 119, 100}, {1, 119, 19}, {2, 100, 119}, {3, 100, 19}, {4, 19, 100}, {5, 19, 119}};
  for (const auto& f : faelle) {
    double y = -1;
    ASSERT_TRUE(MwSt::SteuerUmrechnen(f.index, f.x, 19, &y)) << f.index;
    EXPECT_NEAR(y, f.y, 1e-12) << MwSt::SteuerTitel(f.index).toStdString();
  }
  EXPECT_EQ(MwSt::SteuerTitel(0), "Brutto -> Netto");
  EXPECT_EQ(MwSt::SteuerTitel(5), "MwSt -> Brutto");
}

TEST(MwStRechnung, TeilenDurchNullLaesstDenWertStehen) {
  struct Fall { int index; double p; bool ok; };
  const Fall faelle[] = {
      {4, 0, false}, {5, 0, false}, {0, 0, true}, {3, 0, true},
      {0, -100, false}, {1, -100, false}, {2, -100, true}, {6, 19, false}, {-1, 19, false},
  };
  for (const auto& f : faelle) {
    double y = 12345;
    EXPECT_EQ(MwSt::SteuerUmrechnen(f.index, 50, f.p, &y), f.ok) << f.index << " " << f.p;
    if (!f.ok) {
      EXPECT_EQ(y, 12345);
    }
  }
  double y = 7;
  EXPECT_FALSE(MwSt::WährungUmrechnen(0, 5, 0, &y));
  EXPECT_FALSE(MwSt::WährungUmrechnen(1, 5, 0, &y));
  EXPECT_FALSE(MwSt::WährungUmrechnen(2, 5, 2, &y));
  EXPECT_EQ(y, 7);
  ASSERT_TRUE(MwSt::WährungUmrechnen(0, 1.95583, 1.95583, &y));
  EXPECT_EQ(y, 1);
  ASSERT_TRUE(MwSt::WährungUmrechnen(1, 1, 1.95583, &y));
  EXPECT_EQ(y, 1.95583);
}

TEST_F(MwStTest, SatzAlsDieZahlSeinesTextes) {
  struct Fall { float satz; const char* punkt; const char* komma; };
  // Stored as the settings file keeps numbers; shown as the calculator shows them.
  const Fall faelle[] = {{19, "19", "19"}, {7.7f, "7.7", "7,7"}, {7.5f, "7.5", "7,5"}, {16, "16", "16"},
                         {0.1f, ".1", "0,1"}, {-3.3f, "-3.3", "-3,3"}};
  for (const auto& f : faelle) {
    Z_Alles::MwStSatz = f.satz;
    EXPECT_EQ(MwSt::ZahlPunkt(MwSt::Satz()).toStdString(), f.punkt);
    EXPECT_EQ(RechnerZeile::ZahlTextKomma(MwSt::Satz()).toStdString(), f.komma);
  }
  Z_Alles::MwStSatz = 7.7f;
  double y = 0;
  ASSERT_TRUE(MwSt::SteuerUmrechnen(2, 100, MwSt::Satz(), &y));
  EXPECT_EQ(y, 107.7);
}

TEST_F(MwStTest, WaehrungsFaktorUndName) {
  bool gueltig = false;
  EXPECT_EQ(MwSt::WährungsFaktor(&gueltig), 1.95583);
  EXPECT_TRUE(gueltig);
  EXPECT_EQ(allgemein("WährungsFaktor"), "1.95583");
  EXPECT_EQ(MwSt::WährungsUnit2(), "DEM");
  EXPECT_EQ(allgemein("WährungsUnit2"), "DEM");

  struct Fall { const char* text; double f; bool gueltig; };
  const Fall faelle[] = {{"2,5", 2.5, true}, {"13.7603", 13.7603, true}, {"abc", 0, false},
                         {"0", 0, true}, {"1,2,3", 1.2, true}};
  for (const auto& f : faelle) {
    Z_Alles::IniSchreiben("", "Allgemein", "WährungsFaktor", QString::fromUtf8(f.text));
    EXPECT_EQ(MwSt::WährungsFaktor(&gueltig), f.f) << f.text;
    EXPECT_EQ(gueltig, f.gueltig) << f.text;
  }
  Z_Alles::IniSchreiben("", "Allgemein", "WährungsUnit2", "ATS");
  EXPECT_EQ(MwSt::WährungsUnit2(), "ATS");
}

TEST_F(MwStTest, SatzAendern) {
  struct Fall {
    const char* antwort;
    bool abbrechen;
    bool geaendert;
    float satz;
    const char* gespeichert;
    const char* meldung;  // "" = no message box
  };
  const Fall faelle[] = {
      {"7.5", false, true, 7.5f, "7.5", "Die MwSt wurde auf 7,5%. geändert"},
      {"7,7", false, true, 7.7f, "7.7", "Die MwSt wurde auf 7,7%. geändert"},
      {"0,5", false, true, 0.5f, ".5", "Die MwSt wurde auf 0,5%. geändert"},
      {" 16 ", false, true, 16, "16", "Die MwSt wurde auf 16%. geändert"},
      {"-5", false, true, -5, "-5", "Die MwSt wurde auf -5%. geändert"},
      {"", false, false, 19, "?", ""},
      {"20", true, false, 19, "?", ""},
      {"abc", false, false, 19, "?", "»abc« ist kein gültiger Mehrwertsteuer-Satz. Der Satz bleibt bei 19%."},
  };
  for (const auto& f : faelle) {
    Z_Alles::MwStSatz = 19;
    Z_Alles::IniSchreiben("", "Allgemein", "MwSt", "?");
    dialoge.gezeigt.clear();
    dialoge.eingabe(QString::fromUtf8(f.antwort), f.abbrechen);
    if (*f.meldung) dialoge.antwort(Plattform::vbOK);
    EXPECT_EQ(MwSt::SatzÄndern(), f.geaendert) << f.antwort;
    EXPECT_EQ(Z_Alles::MwStSatz, f.satz) << f.antwort;
    EXPECT_EQ(allgemein("MwSt").toStdString(), f.gespeichert) << f.antwort;
    ASSERT_GE(dialoge.gezeigt.size(), 1);
    const auto& frage = dialoge.gezeigt[0];
    EXPECT_TRUE(frage.eingabe);
    EXPECT_EQ(frage.text, "Legen Sie einen neuen Mehrwertsteuer-Satz fest.");
    EXPECT_EQ(frage.titel, "MwSt ändern");
    EXPECT_EQ(frage.vorgabe, "19");
    if (*f.meldung) {
      ASSERT_EQ(dialoge.gezeigt.size(), 2) << f.antwort;
      EXPECT_EQ(dialoge.gezeigt[1].text.toStdString(), f.meldung);
      if (f.geaendert) {
        EXPECT_EQ(dialoge.gezeigt[1].titel, "MwSt geändert.");
        EXPECT_EQ(dialoge.gezeigt[1].knoepfe, Plattform::vbOKOnly | Plattform::vbInformation);
      }
    } else {
      EXPECT_EQ(dialoge.gezeigt.size(), 1) << f.antwort;
    }
    EXPECT_TRUE(dialoge.alleBeantwortet());
  }
}

}  // namespace
