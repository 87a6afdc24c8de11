// The splash: version and copyright, the keys held at start, and the hand-over to Main.
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QPointer>

#include "foundation/dienste.h"
#include "foundation/hauptfenster.h"
#include "foundation/z_alles.h"
#include "notepad/main.h"
#include "notepad/skribondiv.h"
#include "notepad/titel.h"
#include "platform/profil.h"
#include "support/fixture.h"
#include "qstring_ausgabe.h"


class TitelTest : public Testhilfe::SkribonTest {
protected:
  void TearDown() override {
    if (titel) titel->entladen();
    delete hauptfenster.data();
    QApplication::processEvents();
    SkribonTest::TearDown();
  }
  Titel& laden() {
    titel = new Titel;
    titel->Form_Load();
    titel->Zeit.stop();  // the test ticks by hand
    return *titel;
  }
  void einstellung(const QString& schluessel, const QString& wert) {
    Plattform::ProfilSchreiben(subOrdner + "/Dormik.ini", "Skribon", schluessel, wert);
  }
  QPointer<Titel> titel;
  QPointer<Main> hauptfenster;
};

TEST_F(TitelTest, VersionUndCopyright) {
  laden();
  EXPECT_EQ(titel->bezVersion->text(), "Version " + HauptfensterHaken::BuildVersion());
  EXPECT_TRUE(titel->bezCopyright->text().contains("Dormiks-Programme"));
  EXPECT_TRUE(titel->isVisible());
  EXPECT_EQ(Titel::Instanz(), titel.data());
  titel->entladen();
  // The later version procedures take over when they are there.
  dienste.versionsNummer = [] { return QString("2030.01.0007"); };
  dienste.copyrightZeile = [] { return QString("Copyright Test"); };
  laden();
  EXPECT_EQ(titel->bezVersion->text(), "Version 2030.01.0007");
  EXPECT_EQ(titel->bezCopyright->text(), "Copyright Test");
}

TEST_F(TitelTest, TitelAus) {
  struct Fall { QString titelAus; bool strg; bool sichtbar; };
  for (const Fall& f : {Fall{"1", false, false}, Fall{"1", true, true}, Fall{"0", false, true}}) {
    einstellung("TitelAus", f.titelAus);
    system.strg = f.strg;
    laden();
    EXPECT_EQ(titel->isVisible(), f.sichtbar) << f.titelAus.toStdString() << f.strg;
    titel->entladen();
  }
}

TEST_F(TitelTest, ErsterTickZeigtMainZweiterEntlaedt) {
  laden();
  titel->Zeit_Timer();
  hauptfenster = titel ? titel->hauptfenster() : Main::Instanz();
  ASSERT_TRUE(hauptfenster);
  EXPECT_TRUE(hauptfenster->isVisible());
  EXPECT_TRUE(hauptfenster->testAttribute(Qt::WA_DeleteOnClose));
  // The main window's last start step unloads the splash.
  EXPECT_EQ(Titel::Instanz(), nullptr);
  EXPECT_EQ(hauptfenster->startProtokoll().last(), "Main geladen, unload Title");
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(titel.isNull());
}

TEST_F(TitelTest, StrgHaeltDenTitelUndZeigtStatistikOderOrdner) {
  laden();
  system.strg = true;
  for (int i = 0; i < 5; ++i) titel->Zeit_Timer();
  EXPECT_EQ(Main::Instanz(), nullptr);
  EXPECT_EQ(titel->bezInfo->text(), "Es liegt noch keine Nutzungsstatistik vor.");
  dienste.statistikText = [](int modus) { return QString("Starts: 12 (Modus %1)").arg(modus); };
  titel->Zeit_Timer();
  EXPECT_EQ(titel->bezInfo->text(), "Starts: 12 (Modus 2)");

  system.alt = true;
  for (int i = 0; i < 3; ++i) titel->Zeit_Timer();
  EXPECT_EQ(Main::Instanz(), nullptr);
  EXPECT_TRUE(titel->bezInfo->text().contains(datOrdner)) << titel->bezInfo->text().toStdString();
  EXPECT_TRUE(titel->bezInfo->text().contains(prgOrdner));
  EXPECT_TRUE(titel->bezInfo->text().contains("Datenordner"));

  // Released: the count starts afresh, and the first counted tick shows Main.
  system.strg = system.alt = false;
  titel->Zeit_Timer();
  hauptfenster = Main::Instanz();
  ASSERT_TRUE(hauptfenster);
  EXPECT_TRUE(hauptfenster->isVisible());
}

TEST_F(TitelTest, DebugSchalter) {
  struct Fall { bool strg, shift; QStringList argumente; bool debug; };
  const Fall faelle[] = {
      {true, true, {}, true},
      {false, false, {"#debug"}, true},
      {false, true, {}, false},
      {false, false, {"Datei=x"}, false},
  };
  for (const Fall& f : faelle) {
    Z_Alles::DebugModus = -1;
    DateiSchreiben(Z_Alles::DebugDatei, "alter Inhalt");
    SkribonDiv::Befehlszeile = f.argumente;
    system.strg = f.strg;
    system.shift = f.shift;
    laden();
    titel->Zeit_Timer();
    EXPECT_EQ(Z_Alles::DebugModus == 1, f.debug) << f.argumente.join(' ').toStdString();
    EXPECT_EQ(QFile::exists(Z_Alles::DebugDatei) && DateiLesen(Z_Alles::DebugDatei) == "alter Inhalt", !f.debug);
    // Ctrl+Shift is no "Ctrl alone": the start goes on.
    hauptfenster = Main::Instanz();
    EXPECT_TRUE(hauptfenster);
    if (hauptfenster) hauptfenster->beenden(true);
    delete hauptfenster.data();
    if (titel) titel->entladen();
    QApplication::processEvents();
  }
}

TEST_F(TitelTest, FensterzustandUebergabe) {
  einstellung("MainForm_State", "0");
  laden();
  titel->setWindowState(Qt::WindowMaximized);
  titel->Zeit_Timer();
  hauptfenster = Main::Instanz();
  ASSERT_TRUE(hauptfenster);
  EXPECT_TRUE(hauptfenster->windowState() & Qt::WindowMaximized);
  hauptfenster->beenden(true);
  delete hauptfenster.data();

  einstellung("MainForm_State", "0");  // the exit above stored the maximised state
  einstellung("NoWinStateSet", "1");
  laden();
  titel->setWindowState(Qt::WindowMaximized);
  titel->Zeit_Timer();
  hauptfenster = Main::Instanz();
  ASSERT_TRUE(hauptfenster);
  EXPECT_FALSE(hauptfenster->windowState() & Qt::WindowMaximized);
}
