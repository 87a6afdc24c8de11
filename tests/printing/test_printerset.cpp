// The print settings window on the offscreen platform: its lists, buttons and closing, the
// preset file written and read back (also broken), and the printer choice.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include "druck_hilfe.h"

using Plattform::Printer;

namespace {

class PrinterSetTest : public Druckhilfe::DruckTest {
protected:
  void SetUp() override {
    DruckTest::SetUp();
    Z_Alles::PresetName = "Skribon_Test";
  }
  static void waehle(QComboBox* c, const QString& text) {
    const int i = c->findText(text);
    ASSERT_GE(i, 0) << text.toStdString();
    c->setCurrentIndex(i);
  }
};

TEST_F(PrinterSetTest, ListenKnoepfeUndSchliessen) {
  PrinterSet* f = PrinterSet::Laden();
  EXPECT_EQ(f->windowTitle(), "Drucken - Skribon");
  // 20 cm printable width: margins up to 17.0 cm; 28 cm height: up to 25.0 cm.
  EXPECT_EQ(f->ComboRandX->count(), 171);
  EXPECT_EQ(f->ComboRandX->itemText(170), "17,0 cm");
  EXPECT_EQ(f->ComboRandY->count(), 251);
  EXPECT_EQ(f->ComboRandW->count(), 500);
  EXPECT_EQ(f->ComboRandH->itemText(0) + f->ComboRandH->itemText(1) + f->ComboRandH->itemText(499),
            "---0,1 cm49,9 cm");
  QStringList drucker;
  for (int i = 0; i < f->ComboDrucker->count(); ++i) drucker << f->ComboDrucker->itemText(i);
  EXPECT_EQ(drucker, QStringList({"*** Standard-Drucker ***", "Laser Büro", "Tinte Flur", "PDF-Datei"}));
  // Without a preset the current printer's own item is chosen.
  EXPECT_EQ(f->ComboDrucker->currentText(), "Laser Büro");
  f->ComboDrucker->setCurrentIndex(0);
  EXPECT_EQ(f->bezDrucker->text(), "Drucker-Name:\nLaser Büro\n\nDrucker-Port:\nLPT1:\n\nDrucker-Treiber:\n"
                                   "Laser-Treiber\n\n(derzeitiger Standard-Drucker)");
  waehle(f->ComboDrucker, "Tinte Flur");
  EXPECT_TRUE(f->bezDrucker->text().startsWith("Drucker-Name:\nTinte Flur\n\nDrucker-Port:\nUSB001"));

  // The layout step once: the range frame's option follows the disabled frame.
  EXPECT_TRUE(f->TimerInit->isActive());
  f->TimerInit_Timer();
  EXPECT_FALSE(f->TimerInit->isActive());
  EXPECT_FALSE(f->optBereich[1]->isEnabled());
  EXPECT_TRUE(f->imgAusrichtung[0]->isVisibleTo(f));
  EXPECT_FALSE(f->imgAusrichtung[1]->isVisibleTo(f));

  // Paper buttons: 1 cm and the margin off the paper, rounded to tenths, at least 1 cm.
  f->ComboRandX->setCurrentIndex(20);
  f->ComboRandY->setCurrentIndex(15);
  f->befRand[0]->click();
  EXPECT_EQ(f->ComboRandW->currentText(), "18,0 cm");
  EXPECT_EQ(f->ComboRandH->currentText(), "27,2 cm");
  f->ComboRandY->setCurrentIndex(31);
  f->befRand[0]->click();
  EXPECT_EQ(f->ComboRandH->currentText(), "25,6 cm");
  f->ComboRandX->setCurrentIndex(170);
  f->befRand[2]->click();
  EXPECT_EQ(f->ComboRandW->currentText(), "1,0 cm");
  f->befRand[9]->click();
  for (QComboBox* c : {f->ComboRandX, f->ComboRandY, f->ComboRandW, f->ComboRandH}) EXPECT_EQ(c->currentIndex(), 0);

  // The close box cancels instead of closing, and makes the remembered printer current.
  Z_Alles::IniSchreiben(PrinterSet::Datei, "Allgemein", "DruckerLastDefault", "tinte flur");
  f->show();
  f->close();
  EXPECT_TRUE(f->Abbruch->isChecked());
  EXPECT_FALSE(f->isVisible());
  EXPECT_EQ(PrinterSet::Instanz(), f);
  EXPECT_EQ(Printer().DeviceName(), "Tinte Flur");

  // A narrow printer still offers margins up to 5.0 cm; Esc is Cancel.
  PrinterSet::Entladen();
  aufzeichnung.bereich = QSizeF(7, 9);
  f = PrinterSet::Laden();
  EXPECT_EQ(f->ComboRandX->count(), 51);
  EXPECT_EQ(f->ComboRandX->itemText(50), "5,0 cm");
  f->show();
  QTest::keyClick(f, Qt::Key_Escape);
  EXPECT_TRUE(f->Abbruch->isChecked());
  EXPECT_FALSE(f->isVisible());
}

TEST_F(PrinterSetTest, PresetSchreibenLesenUndKaputteWerte) {
  PrinterSet* f = PrinterSet::Laden();
  f->ComboRandX->setCurrentIndex(25);
  f->ComboRandY->setCurrentIndex(12);
  f->ComboRandW->setCurrentIndex(150);
  f->ComboRandH->setCurrentIndex(200);
  f->ComboAnzahl->setCurrentIndex(2);
  waehle(f->ComboDrucker, "Tinte Flur");
  f->mnuEinstellungenSave->trigger();
  for (auto [schluessel, wert] : {std::pair{"RandX", "25"}, {"RandY", "12"}, {"RandW", "150"}, {"RandH", "200"},
                                  {"Anzahl", "2"}, {"DruckerZuletzt", "Tinte Flur"}, {"Ausrichtung", "0"},
                                  {"LastSave", "15.01.2026"}, {"LastUser", "Erika Muster"}, {"Bereich", "?"},
                                  {"Automatisch", "?"}})
    EXPECT_EQ(prn("Skribon_Test", schluessel), wert) << schluessel;

  PrinterSet::Entladen();
  Z_Alles::IniSchreiben(PrinterSet::Datei, "Skribon_Test", "Bereich", "1");
  Z_Alles::IniSchreiben(PrinterSet::Datei, "Skribon_Test", "Automatisch", "-1");
  f = PrinterSet::Laden();
  EXPECT_EQ(f->ComboRandX->currentIndex(), 25);
  EXPECT_EQ(f->ComboRandH->currentIndex(), 200);
  EXPECT_EQ(f->ComboAnzahl->currentText(), "3");
  EXPECT_EQ(f->ComboDrucker->currentText(), "Tinte Flur");
  EXPECT_TRUE(f->optBereich[1]->isChecked());
  EXPECT_TRUE(f->mnuEinstellungenAutoPrint->isChecked());
  ASSERT_TRUE(f->TimerAutoPrint->isActive());
  // Shift held at the automatic OK keeps the window open, and the timer does not come back.
  f->show();
  system.shift = true;
  f->TimerAutoPrint_Timer();
  EXPECT_TRUE(f->isVisible());
  EXPECT_FALSE(f->TimerAutoPrint->isActive());
  system.shift = false;
  f->mnuEinstellungenAutoPrint->trigger();
  EXPECT_EQ(prn("Skribon_Test", "Automatisch"), "0");
  dialoge.antwort(Plattform::vbOK);
  f->mnuEinstellungenAutoPrint->trigger();
  EXPECT_EQ(prn("Skribon_Test", "Automatisch"), "1");
  EXPECT_EQ(dialoge.gezeigt.last().titel, "Druck-Optionen übergehen");

  // A broken file: out-of-range positions give the first, a vanished printer the PDF printer.
  PrinterSet::Entladen();
  DateiSchreiben(subOrdner + "/Vesk_Prn.ini",
                 "\xff\xfe[Skribon_Test\r\n[Skribon_Test]\r\nRandX=999\r\nRandW=abc\r\nRandY=-4\r\n"
                 "Anzahl=1e400\r\nDruckerZuletzt=Alter Drucker\r\n=\r\n");
  dialoge.antwort(Plattform::vbOK);
  Z_Alles::NurLesen = true;
  f = PrinterSet::Laden();
  for (QComboBox* c : {f->ComboRandX, f->ComboRandY, f->ComboRandW, f->ComboAnzahl}) EXPECT_EQ(c->currentIndex(), 0);
  EXPECT_EQ(f->ComboDrucker->currentText(), "PDF-Datei");
  EXPECT_TRUE(dialoge.gezeigt.last().text.startsWith("Der Drucker »Alter Drucker« ist nicht mehr eingerichtet."));
  EXPECT_FALSE(f->mnuEinstellungenSave->isEnabled());
  EXPECT_TRUE(dialoge.alleBeantwortet());
}

TEST_F(PrinterSetTest, DruckerwahlSchalterUndZuletztStandard) {
  PrinterSet* f = PrinterSet::Laden();
  f->befOk_Click();  // the default printer item: nothing switched or written
  EXPECT_EQ(prn("Allgemein", "DruckerLastDefault"), "?");
  waehle(f->ComboDrucker, "Tinte Flur");
  f->befOk_Click();
  EXPECT_EQ(Printer().DeviceName(), "Tinte Flur");
  EXPECT_EQ(prn("Allgemein", "DruckerLastDefault"), "Laser Büro");
  PrinterSet::Entladen();
  EXPECT_EQ(Printer().DeviceName(), "Laser Büro");

  // A missing key offers the choice, but the first double-click reads it as off and turns it on.
  f = PrinterSet::Laden();
  dialoge.antwort(Plattform::vbOK);
  dialoge.antwort(Plattform::vbOK);
  QTest::mouseDClick(f->bezDrucker, Qt::LeftButton);
  EXPECT_EQ(prn("Allgemein", "DruckerEnabled"), "1");
  QTest::mouseDClick(f->bezDrucker, Qt::LeftButton);
  EXPECT_EQ(prn("Allgemein", "DruckerEnabled"), "0");
  ASSERT_EQ(dialoge.gezeigt.size(), 2);
  EXPECT_EQ(dialoge.gezeigt[0].titel, "Drucker-Auswahl aktiviert");
  EXPECT_EQ(dialoge.gezeigt[0].text, "Die Druckerauswahl wird beim nächsten Aufruf aktiviert.\r\n\r\n"
                                     "Beachten Sie bitte auch die Hinweise in der Hilfe.");
  EXPECT_EQ(dialoge.gezeigt[1].titel, "Drucker-Auswahl deaktiviert");
  EXPECT_EQ(dialoge.gezeigt[1].hilfeThema, 3005);
  EXPECT_TRUE(dialoge.gezeigt[1].knoepfe & Plattform::vbMsgBoxHelpButton);

  // Switched off: no list, a hint, and OK keeps the printer.
  PrinterSet::Entladen();
  Z_Alles::IniSchreiben(PrinterSet::Datei, "Skribon_Test", "DruckerZuletzt", "Tinte Flur");
  f = PrinterSet::Laden();
  EXPECT_FALSE(f->ComboDrucker->isEnabled());
  EXPECT_EQ(f->ComboDrucker->count(), 0);
  EXPECT_EQ(f->bezDrucker->text(), "Drucker-Auswahl deaktiviert.\n\nHier Doppelklick für Aktivierung.");
  f->befOk_Click();
  EXPECT_EQ(Printer().DeviceName(), "Laser Büro");
}

}  // namespace
