// The help window: the page of each context the program opens, its navigation, closing at
// exit, and help files of other programs.
#include <QAction>
#include <QListWidget>
#include <QTest>
#include <QTextBrowser>
#include <gtest/gtest.h>

#include "platform/dialoge.h"
#include "services/hilfe.h"
#include "services/z_v_allgemein.h"
#include "support/fixture.h"

namespace {

class HilfeTest : public Testhilfe::SkribonTest {
protected:
  void TearDown() override {
    HilfeFenster::Schliessen();
    SkribonTest::TearDown();
  }
};

TEST_F(HilfeTest, FensterZeigtSeiteDesKontexts) {
  // Every page the program can open exists, carries its title and some text.
  for (const auto& thema : HilfeFenster::Themen()) {
    Z_Alles::HilfeZeigen(thema.kontext);
    HilfeFenster* f = HilfeFenster::Instanz();
    ASSERT_TRUE(f);
    EXPECT_EQ(f->seite(), thema.datei);
    EXPECT_EQ(f->txtHilfe->documentTitle(), thema.titel);
    EXPECT_GT(f->txtHilfe->toPlainText().size(), 400) << thema.datei.toStdString();
    EXPECT_EQ(f->lstInhalt->currentItem()->text(), thema.titel);
    EXPECT_TRUE(f->windowTitle().endsWith(thema.titel));
  }
  HilfeFenster* f = HilfeFenster::Instanz();
  EXPECT_TRUE(f->isVisible());
  const struct { int kontext; const char* seite; } faelle[] = {{0, "index.html"}, {7000, "ordner.html"},
                                                              {4242, "index.html"}, {-5, "index.html"}};
  for (const auto& k : faelle) {
    Z_Alles::HilfeZeigen(k.kontext);
    EXPECT_EQ(HilfeFenster::Instanz(), f);  // one window, never a second
    EXPECT_EQ(f->seite(), k.seite) << k.kontext;
  }

  // Links inside the help stay in it and can be walked back; others go to the desktop.
  Z_Alles::HilfeZeigen(6001);
  f->txtHilfe_AnchorClicked(QUrl("ordner.html"));
  EXPECT_EQ(f->seite(), "ordner.html");
  ASSERT_TRUE(f->befZurueck->isEnabled());
  f->befZurueck->trigger();
  EXPECT_EQ(f->seite(), "index.html");
  f->txtHilfe_AnchorClicked(QUrl("https://www.dormiks-programme.de"));
  EXPECT_EQ(shell.geoeffnet, QStringList{"https://www.dormiks-programme.de"});
  f->lstInhalt->setCurrentRow(1);
  f->lstInhalt_Click();
  EXPECT_EQ(f->seite(), "farben.html");

  // The Help button of a message box opens its topic once the services are registered.
  Z_V_Allgemein::Registrieren();
  Plattform::HilfeAufrufen(3004);
  EXPECT_EQ(f->seite(), "mehrbenutzer.html");

  Z_Alles::HilfeZeigen(-1);
  EXPECT_EQ(HilfeFenster::Instanz(), nullptr);
}

TEST_F(HilfeTest, FremdeHilfedateien) {
  DateiSchreiben(prgOrdner + "/Anders.chm", "x");
  Z_Alles::HilfeZeigen(12, prgOrdner + "/Anders.chm");
  Z_Alles::HilfeZeigen(12, prgOrdner + "/liesmich.txt");
  Z_Alles::HilfeZeigen(-2, prgOrdner + "/Anders.chm");
  EXPECT_EQ(shell.geoeffnet, QStringList{prgOrdner + "/Anders.chm"});
  dialoge.antwort(Plattform::vbOK);
  Z_Alles::HilfeZeigen(0, "/weg/Alt.HLP");
  ASSERT_EQ(dialoge.gezeigt.size(), 1);
  EXPECT_EQ(dialoge.gezeigt[0].text, "Kann die Hilfe »/weg/Alt.HLP« nicht finden.");
  EXPECT_EQ(HilfeFenster::Instanz(), nullptr);
  // The program's own help file name means the help window.
  Z_Alles::HilfeZeigen(7000, prgOrdner + "/SKRIBON.CHM");
  ASSERT_TRUE(HilfeFenster::Instanz());
  EXPECT_EQ(HilfeFenster::Instanz()->seite(), "ordner.html");
}

}  // namespace
