// The editor's double-click copy command: which lines carry the copy marker and what goes to
// the clipboard.
#include <QClipboard>
#include <QGuiApplication>
#include <gtest/gtest.h>

#include "foundation/z_alles.h"
#include "printing/z_vario.h"
#include "support/fixture.h"

namespace {

class VarioKopieTest : public Testhilfe::SkribonTest {
protected:
  void SetUp() override {
    SkribonTest::SetUp();
    Z_Vario::Zuruecksetzen();
    system.uhr = QDateTime(QDate(2026, 1, 15), QTime(9, 5, 7));
  }
};

TEST_F(VarioKopieTest, ZeileMitKopiermarke) {
  DateiSchreiben(subOrdner + "/Dormik.ini", "[Variablen]\r\nDatei=alt~neu.txt\r\n");
  const struct { const char* zeile; std::optional<QString> aus; } faelle[] = {
      {"$CpyZA:Rechnung {jjjj}-{counter1}", QString("Rechnung 2026-1")},
      {"   $cpyza:  Hallo~Welt  ", QString("Hallo\r\nWelt")},          // markup, then trimmed
      {"$CPYZA:{tt.mm.jjjj}{Tab}", QString("15.01.2026\t")},          // a token at the end stays
      {"$CpyZA:{variable:Datei}", QString("alt~neu.txt")},            // inserted values as they are
      {"$CpyZA:Stand {DATUM}, `Entwurf`", QString("Stand 15.1.2026, »Entwurf«")},  // date as in a note
      {"$CpyZA:a:b", QString("a:b")},                                 // behind the first ":"
      {"$CpyZA ohne Doppelpunkt", QString("$CpyZA ohne Doppelpunkt")},
      {"$CpyZA:", QString("")},
      {"Text $CpyZA:x", std::nullopt},
      {"CpyZA:x", std::nullopt},
      {"", std::nullopt},
  };
  for (const auto& f : faelle) {
    SCOPED_TRACE(f.zeile);
    EXPECT_EQ(Z_Vario::KopierText(QString::fromUtf8(f.zeile)), f.aus);
  }
}

TEST_F(VarioKopieTest, ZeileAnDerDoppelklickStelle) {
  const QString text = "erste Zeile\r\n$CpyZA:zweite {jj}\r\ndritte\n$CpyZA:vierte";
  const struct { int stelle; std::optional<QString> aus; } faelle[] = {
      {0, std::nullopt},
      {5, std::nullopt},
      {11, std::nullopt},                 // on the line end of the first line
      {13, QString("zweite 26")},         // first character of the second line
      {20, QString("zweite 26")},
      {int(text.indexOf("dritte")) + 2, std::nullopt},
      {int(text.size()), QString("vierte")},
      {-5, std::nullopt},                 // out of range: kept inside the text
      {100000, QString("vierte")},
  };
  for (const auto& f : faelle) {
    SCOPED_TRACE(f.stelle);
    EXPECT_EQ(Z_Vario::KopierTextAnStelle(text, f.stelle), f.aus);
  }
  EXPECT_EQ(Z_Vario::KopierTextAnStelle(QString(), 0), std::nullopt);
}

}  // namespace

namespace {

TEST_F(VarioKopieTest, BefehlLegtNurMitMarkeInDieZwischenablage) {
  QClipboard* ablage = QGuiApplication::clipboard();
  ablage->setText("vorher");
  const QString text = "Notiz\n$CpyZA:Stand {jjjj}\nEnde";
  EXPECT_FALSE(Z_Vario::KopierBefehl(text, 2));  // first line: no marker, clipboard untouched
  EXPECT_EQ(ablage->text(), "vorher");
  EXPECT_TRUE(Z_Vario::KopierBefehl(text, 12));
  EXPECT_EQ(ablage->text(), "Stand 2026");
}

}  // namespace
