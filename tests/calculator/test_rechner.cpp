// The calculator window on the offscreen platform: loading, the line box, history and displays,
// menus, clipboard, VAT and currency, the converter page, position and life cycle.
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDeadlineTimer>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QTabWidget>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <QWheelEvent>
#include <gtest/gtest.h>

#include "calculator/rechner.h"
#include "foundation/hauptfenster.h"
#include "foundation/z_alles.h"
#include "support/fixture.h"

namespace {

const QByteArray Einheiten =
    "; Testeinheiten\r\n"
    "[Länge]\r\nm=1\r\nkm=0,001\r\n Elle=1/0,6\r\n\r\n"
    "[Zeit]\r\ns=1\r\nmin=1/60\r\n"
    "[_Intern]\r\nx=1\r\n"
    "[Ohne]\r\n_SIBasis=SI\r\n"
    "[Kaputt]\r\nm=1\r\nirgendwas=abc\r\n"
    "[_SI]\r\nYotta=1E24\r\nZetta=1E21\r\nExa=1E18\r\nPeta=1E15\r\nTera=1E12\r\nGiga=1E9\r\nMega=1E6\r\n"
    "Kilo=1E3\r\nHekto=100\r\nDeka=10\r\n-=1\r\nMilli=1E-3\r\nNurHier=7\r\n"
    "[_Zuletzt]\r\nRubrik=0\r\n";

class RechnerTest : public Testhilfe::SkribonTest {
protected:
  void SetUp() override {
    SkribonTest::SetUp();
    if (HasFatalFailure()) return;
    DateiSchreiben(datOrdner + "/Rechner.Dat", Einheiten);
  }
  void TearDown() override {
    Rechner::Entladen();
    SkribonTest::TearDown();
  }
  Rechner* laden() {
    Rechner* r = Rechner::Laden();
    r->TimerUmrechnen->stop();
    return r;
  }
  static QStringList verlauf(Rechner* r) {
    QStringList l;
    for (int i = 0; i < r->ListP->count(); ++i) l << r->ListP->item(i)->text();
    return l;
  }
  static QString ini(const char* abschnitt, const char* schluessel) {
    return Z_Alles::IniLesen("", QString::fromUtf8(abschnitt), QString::fromUtf8(schluessel), "?");
  }
  // Runs the deferred conversion now.
  static void umrechnen(Rechner* r) {
    r->TimerUmrechnen_Timer();
    if (r->TimerUmrechnen->isActive()) r->TimerUmrechnen_Timer();
  }
  static void waehle(QComboBox* liste, const QString& text) {
    const int i = liste->findText(text);
    ASSERT_GE(i, 0) << text.toStdString();
    liste->setCurrentIndex(i);
  }
  QString rechnerDat() { return datOrdner + "/Rechner.Dat"; }
};

TEST_F(RechnerTest, LadenSetztMenuesListenUndEinstellungen) {
  Z_Alles::MwStSatz = 7.5f;
  Z_Alles::IniSchreiben("", "Rechner", "Format_03", "0.0");
  Z_Alles::IniSchreiben("", "Rechner", "Format", "12");
  Z_Alles::IniSchreiben("", "Allgemein", "WährungsUnit2", "ATS");
  Rechner* r = laden();

  EXPECT_EQ(r->SSTab->currentIndex(), 0);
  EXPECT_EQ(r->SSTab->tabText(0), "Taschenrechner");
  EXPECT_EQ(r->SSTab->tabText(1), "Umrechnungen");
  EXPECT_EQ(r->ListP->count(), 0);
  EXPECT_EQ(r->mnuUmrechSteuerMwStEdit->text(), "MwSt von 7.5% ändern...");
  EXPECT_EQ(r->mnuWährung[0]->text(), "ATS -> EUR    ");
  EXPECT_EQ(r->mnuWährung[1]->text(), "EUR -> ATS");
  EXPECT_EQ(r->mnuFormat[3]->text(), "0.0");
  EXPECT_EQ(r->mnuFormat[2]->text(), "#,###,##0.00");
  for (int i = 0; i < 9; ++i) EXPECT_EQ(r->mnuFormat[i]->isChecked(), i == 0) << i;
  EXPECT_EQ(ini("Rechner", "Format"), "0");
  EXPECT_EQ(ini("Rechner", "Format_07"), "0.000E+000");
  EXPECT_EQ(r->Zahlenformat, "0");

  // "&Umrechnen" sits in "&Bearbeiten" below the clipboard commands; one of its two forms shows.
  const QList<QAction*> bearbeiten = r->mnuBearbeiten->actions();
  ASSERT_EQ(bearbeiten.size(), 4);
  EXPECT_EQ(bearbeiten[0], r->mnuKopie);
  EXPECT_EQ(bearbeiten[1], r->mnuEinfg);
  EXPECT_EQ(bearbeiten[2], r->mnuUmrechnen0->menuAction());
  EXPECT_EQ(bearbeiten[3], r->mnuUmrechnen1->menuAction());
  EXPECT_EQ(r->mnuUmrechnen0->title(), "&Umrechnen");
  EXPECT_EQ(r->mnuUmrechnen1->title(), "&Umrechnen");
  EXPECT_TRUE(r->mnuUmrechnen0->menuAction()->isVisible());
  EXPECT_FALSE(r->mnuUmrechnen1->menuAction()->isVisible());
  EXPECT_EQ(r->mnuUmrechSteuer[0]->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_F3));
  EXPECT_EQ(r->mnuUmrechSteuer[2]->shortcut(), QKeySequence(Qt::Key_F3));
  EXPECT_EQ(r->mnuUmrechSteuerX->actions().size(), 8);  // six, a separator, the rate edit
  EXPECT_EQ(r->mnuUmrechnenAustauschen->shortcut(), QKeySequence(Qt::Key_F9));

  ASSERT_EQ(r->Funktionen->count(), 61);
  EXPECT_EQ(r->Funktionen->itemText(0), "6,30'20\" Zeiten");
  EXPECT_EQ(r->Funktionen->itemText(13), "1,95583 Euro -> DEM");
  EXPECT_EQ(r->Funktionen->itemText(59), "{15.01.2026}  Anz.Tage");
  EXPECT_EQ(Rechner::FunktionenListe(true, QDate(2026, 12, 6)).first(), "*(100-4)/100-0,25 eBay-Gewinn");
  EXPECT_EQ(Rechner::FunktionenListe(true, QDate(2026, 12, 6)).at(60), "{06.12.2026}  Anz.Tage");

  // The first currency name read is stored; a default rate item reads 19.
  Rechner::Entladen();
  Z_Alles::MwStSatz = 19;
  Z_Alles::IniSchreiben("", "Allgemein", "WährungsUnit2", "");
  r = laden();
  EXPECT_EQ(r->mnuWährung[0]->text(), "DEM -> EUR    ");
  EXPECT_EQ(ini("Allgemein", "WährungsUnit2"), "DEM");
  EXPECT_EQ(r->mnuUmrechSteuerMwStEdit->text(), "MwSt von 19% ändern...");
}

TEST_F(RechnerTest, EnterRechnetUndFuelltVerlaufUndAnzeigen) {
  Rechner* r = laden();
  r->mnuFormat_Click(4);  // "0.00"
  r->ListP->clear();
  r->Text->clear();
  QTest::keyClicks(r->Text, "1/4");
  QTest::keyClick(r->Text, Qt::Key_Return);
  EXPECT_EQ(verlauf(r), QStringList({" 1/4 =", "0,25"}));
  EXPECT_EQ(r->ListP->currentRow(), 0);
  EXPECT_EQ(r->Text->text(), "0,25");
  EXPECT_EQ(r->Text->selectedText(), "0,25");
  EXPECT_EQ(r->BezDez->text(), "0,25");
  EXPECT_EQ(r->BezHex->text(), "");
  EXPECT_EQ(r->windowTitle(), "0,25 - Taschenrechner");

  r->Text->setText("255");
  QTest::keyClick(r->Text, Qt::Key_Enter);
  EXPECT_EQ(r->BezHex->text(), "$FF");
  EXPECT_EQ(r->BezBin->text(), "%11111111");
  EXPECT_EQ(r->Text->text(), "255");
  EXPECT_EQ(r->ListP->count(), 4);

  r->Text->setText("0,5");
  QTest::keyClick(r->Text, Qt::Key_Return);
  EXPECT_EQ(r->BezBin->text(), "  4/8  3/6  2/4  1/2");
}

TEST_F(RechnerTest, TastenDerEingabezeile) {
  Rechner* r = laden();
  struct Fall { const char* tippen; const char* text; const char* markiert; };
  const Fall faelle[] = {
      {"3,5", "3.5", ""}, {"8:2", "8/2", ""}, {"S", "sin(PI/180*", "in(PI/180*"}, {"S4", "s4", ""},
      {"2*p", "2*PI", "I"}, {"a", "and", "nd"}, {"L", "log(", "og("}, {"1+2x", "1+2x", ""},
  };
  for (const auto& f : faelle) {
    r->Text->clear();
    QTest::keyClicks(r->Text, QString::fromUtf8(f.tippen));
    EXPECT_EQ(r->Text->text().toStdString(), f.text) << f.tippen;
    EXPECT_EQ(r->Text->selectedText().toStdString(), f.markiert) << f.tippen;
  }
  r->Text->clear();
  QTest::keyClick(r->Text, Qt::Key_S);
  EXPECT_EQ(r->Text->cursorPosition(), 1);  // caret after the typed letter
  QTest::keyClick(r->Text, Qt::Key_Right);
  EXPECT_EQ(r->Text->text(), "sin(PI/180*");  // moving the caret keeps the completion
}

TEST_F(RechnerTest, StrgCUndStrgVGehoerenDemFenster) {
  Rechner* r = laden();
  r->show();
  r->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(r));
  r->Text->setFocus();
  r->Text->setText("12+3");
  r->Text->setSelection(0, 2);
  QTest::keyClick(r->Text, Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(QGuiApplication::clipboard()->text(), "12+3");  // whole content, not the selection

  // From the history and the function list as well.
  for (QWidget* w : std::initializer_list<QWidget*>{r->ListP, r->Funktionen}) {
    QGuiApplication::clipboard()->clear();
    w->setFocus();
    QTest::keyClick(w, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "12+3") << w->objectName().toStdString();
  }

  QGuiApplication::clipboard()->setText("7*6\r\n+1");
  r->Text->setText("alt");
  r->Text->setSelection(0, 1);
  QTest::keyClick(r->Text, Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(r->Text->text(), "7*6 +1");

  // Page 1: the unformatted result is copied; paste goes into the value box.
  r->SSTab->setCurrentIndex(1);
  waehle(r->ComboEinheit[0], "m");
  waehle(r->ComboEinheit[1], "km");
  r->txtWert[0]->setText("1/3");
  umrechnen(r);
  EXPECT_EQ(r->txtWert[1]->text(), "0");
  r->txtWert[0]->setFocus();
  QTest::keyClick(r->txtWert[0], Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), ".000333333333333333");
  QGuiApplication::clipboard()->setText("42");
  r->mnuEinfg_Click();
  EXPECT_EQ(r->txtWert[0]->text(), "42");
  EXPECT_TRUE(r->TimerUmrechnen->isActive());

  // Ctrl+W (currency) on page 0 only; F3 (VAT) is not reachable on the converter page.
  r->Text->setText("100");
  QTest::keyClick(r->txtWert[0], Qt::Key_F3);
  EXPECT_EQ(r->Text->text(), "100");
  r->SSTab->setCurrentIndex(0);
  r->Text->setText("100");
  QTest::keyClick(r->Text, Qt::Key_F3);
  EXPECT_EQ(r->Text->text(), "119");
  r->Text->setText("1,95583");
  QTest::keyClick(r->Text, Qt::Key_W, Qt::ControlModifier);
  EXPECT_EQ(r->Text->text(), "1");
}

TEST_F(RechnerTest, FunktionenVerlaufUndAnzeigenUebernehmen) {
  Rechner* r = laden();
  auto eintrag = [&](const QString& anfang) {
    for (int i = 0; i < r->Funktionen->count(); ++i)
      if (r->Funktionen->itemText(i).startsWith(anfang)) return i;
    return -1;
  };
  r->Text->setText("2+");
  r->Text->end(false);
  r->Funktionen_Click(eintrag("SQR"));
  EXPECT_EQ(r->Text->text(), "2+SQR");
  r->Text->setSelection(0, 1);
  r->Funktionen_Click(9);  // an empty entry keeps the selection and the text
  EXPECT_EQ(r->Funktionen->itemText(9).toStdString(), "");
  EXPECT_EQ(r->Text->text(), "2+SQR");
  EXPECT_EQ(r->Text->selectedText(), "2");
  r->Text->clear();
  r->Funktionen_Click(eintrag("{15"));
  EXPECT_EQ(r->Text->text(), "{15.01.2026}");

  // The wheel over the list without focus leaves the (selected) line alone.
  r->Text->selectAll();
  const QPointF mitte(r->Funktionen->width() / 2.0, r->Funktionen->height() / 2.0);
  QWheelEvent rad(mitte, r->Funktionen->mapToGlobal(mitte), QPoint(), QPoint(0, -120), Qt::NoButton,
                  Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(r->Funktionen, &rad);
  EXPECT_EQ(r->Text->text(), "{15.01.2026}");

  r->ListP->addItems({" 1+2 =", "3"});
  struct Fall { int zeile; const char* text; };
  for (const Fall& f : {Fall{0, "1+2 "}, Fall{1, "3"}}) {
    r->ListP->setCurrentRow(f.zeile);
    r->ListP_DblClick();
    EXPECT_EQ(r->Text->text().toStdString(), f.text);
  }
  // The message of a line that failed is no value: the line being corrected stays.
  r->Text->setText("1/0");
  r->mnuRechne_Click();
  r->Text->setText("1/0,5");
  r->ListP->setCurrentRow(r->ListP->count() - 1);
  r->ListP_DblClick();
  EXPECT_EQ(r->Text->text(), "1/0,5");

  struct Anzeige { const char* beschriftung; const char* text; };
  for (const Anzeige& a : {Anzeige{"  4/8  3/6  2/4  1/2", "4/8 "}, Anzeige{"  ~1/3", "1/3"}, Anzeige{"%101", "%101"}}) {
    r->BezBin->setText(a.beschriftung);
    QTest::mouseDClick(r->BezBin, Qt::LeftButton);
    EXPECT_EQ(r->Text->text().toStdString(), a.text);
  }
  r->BezHex->setText("$FF");
  r->Text->clear();
  QTest::mouseClick(r->BezHex, Qt::LeftButton);
  EXPECT_EQ(r->Text->text(), "$FF");

  r->BezDez->setText("5");
  r->mnuCLS_Click();
  EXPECT_EQ(r->Text->text(), "");
  EXPECT_EQ(r->BezHex->text(), "");
  EXPECT_EQ(r->BezBin->text(), "");
  EXPECT_EQ(r->BezDez->text(), "5");
  EXPECT_EQ(r->ListP->count(), 4);
}

TEST_F(RechnerTest, FormatWechselRechnetNeuUndSpeichert) {
  Rechner* r = laden();
  r->ListP->clear();
  r->Text->setText("1234,5678");
  r->mnuFormat_Click(2);
  EXPECT_EQ(verlauf(r).last(), "1.234,57");
  EXPECT_EQ(r->BezDez->text(), "1.234,57");
  EXPECT_EQ(ini("Rechner", "Format"), "2");
  EXPECT_TRUE(r->mnuFormat[2]->isChecked());
  EXPECT_FALSE(r->mnuFormat[0]->isChecked());
  EXPECT_TRUE(r->TimerUmrechnen->isActive());
}

TEST_F(RechnerTest, SteuerUndWaehrung) {
  Rechner* r = laden();
  r->ListP->clear();
  struct Fall { const char* zeile; int index; const char* ergebnis; };
  const Fall steuer[] = {{"100", 2, "119"}, {"119", 0, "100"}, {"119", 1, "19"}, {"50+50", 3, "19"},
                         {"19", 4, "100"}, {"19", 5, "119"}};
  for (const auto& f : steuer) {
    r->Text->setText(f.zeile);
    r->mnuUmrechSteuer_Click(f.index);
    EXPECT_EQ(r->Text->text().toStdString(), f.ergebnis) << f.zeile << " " << f.index;
  }
  EXPECT_EQ(verlauf(r).mid(0, 4), QStringList({" 100 =", "100", " 119 =", "119"}));

  // Rate 0: tax -> net would divide by zero; the line stays as the first calculation left it.
  Z_Alles::MwStSatz = 0;
  r->Text->setText("10+9");
  dialoge.antwort(Plattform::vbOK);
  r->mnuUmrechSteuer_Click(4);
  EXPECT_EQ(r->Text->text(), "19");
  ASSERT_FALSE(dialoge.gezeigt.isEmpty());
  EXPECT_TRUE(dialoge.gezeigt.last().text.contains("Teilung durch 0"));

  // A line that cannot be calculated is not converted: it stays for correction.
  Z_Alles::MwStSatz = 19;
  r->Text->setText("1/0");
  r->mnuUmrechSteuer_Click(2);
  EXPECT_EQ(r->Text->text(), "1/0");

  r->Text->setText("1,95583");
  r->mnuWährung_Click(0);
  EXPECT_EQ(r->Text->text(), "1");
  EXPECT_EQ(ini("Allgemein", "WährungsFaktor"), "1.95583");
  r->mnuWährung_Click(1);
  EXPECT_EQ(r->Text->text(), "1,95583");
  Z_Alles::IniSchreiben("", "Allgemein", "WährungsFaktor", "2,5");
  r->Text->setText("2");
  r->mnuWährung_Click(1);
  EXPECT_EQ(r->Text->text(), "5");

  for (const char* faktor : {"0", "abc"}) {
    Z_Alles::IniSchreiben("", "Allgemein", "WährungsFaktor", faktor);
    r->Text->setText("3+4");
    dialoge.antwort(Plattform::vbOK);
    r->mnuWährung_Click(0);
    EXPECT_EQ(r->Text->text(), "7") << faktor;
    EXPECT_TRUE(dialoge.gezeigt.last().text.contains(QString("»%1«").arg(faktor))) << faktor;
  }

  // The rate edit changes the rate at once; the menu caption keeps the rate of the load.
  dialoge.eingabe("7,5");
  dialoge.antwort(Plattform::vbOK);
  r->mnuUmrechSteuerMwStEdit->trigger();
  EXPECT_EQ(Z_Alles::MwStSatz, 7.5f);
  EXPECT_EQ(r->mnuUmrechSteuerMwStEdit->text(), "MwSt von 19% ändern...");
  r->Text->setText("100");
  r->mnuUmrechSteuer_Click(2);
  EXPECT_EQ(r->Text->text(), "107,5");
  EXPECT_TRUE(dialoge.alleBeantwortet());
}

TEST_F(RechnerTest, UmrechnerListenErgebnisUndZuletzt) {
  Rechner* r = laden();
  EXPECT_EQ(r->EinheitenDatei, rechnerDat());
  QStringList rubriken;
  for (int i = 0; i < r->ComboRubrik->count(); ++i) rubriken << r->ComboRubrik->itemText(i);
  EXPECT_EQ(rubriken, QStringList({"Länge", "Zeit", "Ohne", "Kaputt"}));
  EXPECT_EQ(r->ComboRubrik->currentText(), "Länge");
  EXPECT_EQ(r->ComboSI[0]->count(), 13);
  EXPECT_EQ(r->ComboSI[0]->currentText(), "-");
  EXPECT_EQ(r->ComboEinheit[1]->count(), 3);
  EXPECT_EQ(r->ComboEinheit[0]->currentText(), "m");
  EXPECT_FALSE(r->bezHinweis->isVisible());

  r->SSTab->setCurrentIndex(1);
  EXPECT_FALSE(r->mnuUmrechnen0->menuAction()->isVisible());
  EXPECT_TRUE(r->mnuUmrechnen1->menuAction()->isVisible());
  waehle(r->ComboEinheit[0], "km");
  r->txtWert[0]->setText("2");
  umrechnen(r);
  EXPECT_EQ(r->txtWert[1]->text(), "2000");
  EXPECT_EQ(r->ErgebnisRoh, "2000");
  EXPECT_EQ(r->TimerUmrechnen->interval(), 333);

  // Only the section [_Zuletzt] changes, every other byte stays.
  QByteArray erwartet = Einheiten;
  erwartet.replace("Rubrik=0\r\n", "Rubrik=0\r\nLänge_LastSI1=10\r\nLänge_LastSI2=10\r\n"
                                    "Länge_LastEinheit1=1\r\nLänge_LastEinheit2=0\r\n");
  EXPECT_EQ(DateiLesen(rechnerDat()), erwartet);

  struct Fall { const char* wert; const char* si0; const char* si1; const char* ergebnis; };
  const Fall faelle[] = {{"2+3", "-", "-", "5000"}, {"1", "Kilo", "-", "1000000"}, {"3", "-", "Kilo", "3"},
                         {"", "-", "-", "0"}};
  for (const auto& f : faelle) {
    waehle(r->ComboSI[0], f.si0);
    waehle(r->ComboSI[1], f.si1);
    r->txtWert[0]->setText(f.wert);
    umrechnen(r);
    EXPECT_EQ(r->txtWert[1]->text().toStdString(), f.ergebnis) << f.wert;
  }

  waehle(r->ComboSI[1], "Kilo");
  umrechnen(r);

  // A prefix the category's prefix section lacks falls back to "-".
  waehle(r->ComboRubrik, "Zeit");
  Z_Alles::IniSchreiben(rechnerDat(), "Zeit", "_SIBasis", "Eigen");
  waehle(r->ComboSI[0], "Kilo");
  r->txtWert[0]->setText("2");
  umrechnen(r);
  EXPECT_EQ(r->ComboSI[0]->currentText(), "-");

  // The choices of a category come back when it is chosen again.
  waehle(r->ComboRubrik, "Länge");
  EXPECT_EQ(r->ComboEinheit[0]->currentText(), "km");
  EXPECT_EQ(r->ComboSI[1]->currentText(), "Kilo");
}

TEST_F(RechnerTest, UmrechnerMenuesUndWarnung) {
  Rechner* r = laden();
  r->SSTab->setCurrentIndex(1);
  waehle(r->ComboEinheit[0], "km");
  waehle(r->ComboSI[1], "Milli");
  r->txtWert[0]->setText("5");
  umrechnen(r);
  EXPECT_EQ(r->txtWert[1]->text(), "5000000");

  r->mnuUmrechnenAustauschen->trigger();
  EXPECT_EQ(r->ComboEinheit[0]->currentText(), "m");
  EXPECT_EQ(r->ComboEinheit[1]->currentText(), "km");
  EXPECT_EQ(r->ComboSI[0]->currentText(), "Milli");
  EXPECT_EQ(r->ComboSI[1]->currentText(), "-");
  EXPECT_TRUE(r->TimerUmrechnen->isActive());
  umrechnen(r);
  EXPECT_EQ(r->txtWert[1]->text(), "0");
  EXPECT_EQ(r->ErgebnisRoh, "5E-06");

  r->mnuUmrechnenSIReset->trigger();
  EXPECT_EQ(r->ComboSI[0]->currentText(), "-");
  r->mnuUmrechnenEinheitReset->trigger();
  EXPECT_EQ(r->ComboEinheit[1]->currentText(), "m");

  EXPECT_FALSE(r->befNoCheck->isVisibleTo(r));
  waehle(r->ComboEinheit[1], " Elle");
  umrechnen(r);
  EXPECT_TRUE(r->befNoCheck->isVisibleTo(r));

  waehle(r->ComboRubrik, "Ohne");
  umrechnen(r);
  EXPECT_TRUE(r->bezHinweis->isVisibleTo(r));
  EXPECT_EQ(r->bezHinweis->text(), "Die Rubrik »Ohne« enthält keine Einheiten.");
  waehle(r->ComboRubrik, "Kaputt");
  waehle(r->ComboEinheit[0], "irgendwas");
  umrechnen(r);
  EXPECT_EQ(r->txtWert[1]->text(), "0");
  EXPECT_TRUE(r->bezHinweis->text().contains("»abc«")) << r->bezHinweis->text().toStdString();

  // The editor gets the path as one argument, whatever blanks it holds.
  Z_Alles::IniSchreiben("", "Verknüpfung", "PrgTxtEdit", "meineditor");
  r->mnuUmrechnenEinheitenEdit->trigger();
  ASSERT_EQ(shell.gestartet.size(), 1);
  EXPECT_EQ(shell.gestartet[0].programm, "meineditor");
  EXPECT_EQ(shell.gestartet[0].argumente, QStringList{rechnerDat()});
  shell.ergebnis = false;
  dialoge.antwort(Plattform::vbOK);
  r->mnuUmrechnenEinheitenEdit->trigger();
  EXPECT_TRUE(dialoge.gezeigt.last().text.startsWith("Der Editor »meineditor« konnte nicht gestartet werden."));
}

TEST_F(RechnerTest, TimerFasstAenderungenZusammen) {
  Rechner* r = laden();
  EXPECT_EQ(r->TimerUmrechnen->interval(), 1000);
  r->befUmrechnen_Click();
  // Some time passes, without events: the timer cannot run out meanwhile.
  const QDeadlineTimer frist(5000);
  while (r->TimerUmrechnen->remainingTime() >= r->TimerUmrechnen->interval() && !frist.hasExpired())
    QThread::usleep(200);
  const int rest = r->TimerUmrechnen->remainingTime();
  r->txtWert[0]->setText("1");
  r->txtWert[0]->setText("12");
  waehle(r->ComboEinheit[0], "km");
  EXPECT_LE(r->TimerUmrechnen->remainingTime(), rest);  // switched on again, not restarted
  QTRY_COMPARE_WITH_TIMEOUT(r->txtWert[1]->text(), QString("12000"), 3000);
  EXPECT_EQ(r->TimerUmrechnen->interval(), 333);
}

TEST_F(RechnerTest, SchlechteEinheitendateien) {
  struct Fall { const char* name; QByteArray inhalt; bool datei; const char* hinweis; };
  QByteArray gross = "[_SI]\r\n-=1\r\n";
  for (int i = 0; i < 10000; ++i) gross += "[R" + QByteArray::number(i) + "]\r\nm=1\r\n";
  const Fall faelle[] = {
      {"fehlt", "", false, "Die Einheitendatei »Rechner.Dat« wurde nicht gefunden."},
      {"leer", "", true, "enthält keine Rubriken"},
      {"binaer", QByteArray("\x00\x01[A]\r\nm=1", 11), true, "ist keine Textdatei"},
      {"ohne Vorsilben", "[A]\r\nm=1\r\n", true, "keine Vorsilben"},
      {"10000 Zeilen", gross, true, ""},
  };
  for (const auto& f : faelle) {
    QFile::remove(rechnerDat());
    if (f.datei) DateiSchreiben(rechnerDat(), f.inhalt);
    Rechner* r = laden();
    EXPECT_TRUE(r->bezHinweis->text().contains(QString::fromUtf8(f.hinweis))) << f.name << ": "
                                                                               << r->bezHinweis->text().toStdString();
    umrechnen(r);
    if (!f.datei) {
      EXPECT_EQ(r->EinheitenDatei, "");
      EXPECT_EQ(r->ComboRubrik->count(), 0);
      dialoge.antwort(Plattform::vbOK);
      r->SSTab->setCurrentIndex(1);
      EXPECT_EQ(r->SSTab->currentIndex(), 0) << "converter page without unit file";
      EXPECT_TRUE(dialoge.gezeigt.last().text.contains("Rechner.Dat"));
      EXPECT_TRUE(r->mnuUmrechnen0->menuAction()->isVisible());
    } else {
      r->SSTab->setCurrentIndex(1);
      EXPECT_EQ(r->SSTab->currentIndex(), 1) << f.name;
    }
    Rechner::Entladen();
  }
  EXPECT_TRUE(dialoge.alleBeantwortet());
}

TEST_F(RechnerTest, SchliessenVerbirgtUndMerktDiePosition) {
  Rechner* r = laden();
  QScreen* s = QGuiApplication::primaryScreen();
  const QRect flaeche = s->availableGeometry();
  // Centred on first load, its frame included (while no window is shown, guessed as 8 pixels
  // and a title bar of 32).
  auto mittig = [&] {
    EXPECT_NEAR(r->x() + (r->width() + 16) / 2, flaeche.center().x(), 2) << r->x();
    EXPECT_NEAR(r->y() + (r->height() + 40) / 2, flaeche.center().y(), 2) << r->y();
  };
  mittig();

  Rechner::Oeffnen("12\r\n+3");
  EXPECT_TRUE(r->isVisible());
  EXPECT_FALSE(r->isModal());
  EXPECT_EQ(r->Text->text(), "12 +3");
  QTest::keyClick(r->Text, Qt::Key_Return);
  r->move(10, 45);
  r->close();
  EXPECT_FALSE(r->isVisible());
  EXPECT_EQ(Rechner::Instanz(), r);
  EXPECT_EQ(ini("Rechner", "Form_Links"), QString::number(10 * 15));
  EXPECT_EQ(ini("Rechner", "Form_Oben"), QString::number(45 * 15));

  Rechner::Oeffnen(QString());
  EXPECT_EQ(Rechner::Instanz(), r);
  EXPECT_EQ(r->ListP->count(), 2);
  EXPECT_EQ(r->Text->text(), "15");
  QTest::keyClick(r->Text, Qt::Key_Escape);
  EXPECT_FALSE(r->isVisible());

  // A new load takes the stored place; a place off every screen is centred.
  Rechner::Entladen();
  r = laden();
  EXPECT_EQ(r->pos(), QPoint(10, 45));
  Rechner::Entladen();
  Z_Alles::IniSchreiben("", "Rechner", "Form_Links", "-900000");
  Z_Alles::IniSchreiben("", "Rechner", "Form_Oben", "abc");
  r = laden();
  EXPECT_TRUE(flaeche.contains(r->geometry().topLeft())) << r->x() << "," << r->y();
  mittig();
}

// Both pages: monospace history and line, no control smaller than it needs or outside its parent.
// With SKRIBON_FOTO_ORDNER set, pictures of both pages are written there (rechner-0.png, -1.png).
TEST_F(RechnerTest, AnsichtOhneAbgeschnitteneSteuerelemente) {
  DateiSchreiben(rechnerDat(), DateiLesen(QStringLiteral(SKRIBON_QUELLE) +
                                          "/resources/beside/Rechner.Dat"));
  Rechner::Oeffnen(QString());
  Rechner* r = Rechner::Instanz();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(r));
  EXPECT_TRUE(QFontInfo(r->ListP->font()).fixedPitch());
  EXPECT_TRUE(QFontInfo(r->Text->font()).fixedPitch());
  r->mnuFormat_Click(2);
  for (const char* zeile : {"255", "1/3", "{heute}-{24.12.2026}", "2^31-1"}) {
    r->Text->setText(zeile);
    QTest::keyClick(r->Text, Qt::Key_Return);
  }
  const QString ordner = qEnvironmentVariable("SKRIBON_FOTO_ORDNER");
  for (int seite = 0; seite < 2; ++seite) {
    r->SSTab->setCurrentIndex(seite);
    if (seite == 1) {
      waehle(r->ComboRubrik, "Druck");
      waehle(r->ComboEinheit[0], "Millimeter Quecksilbersäule (mmHg)");
      waehle(r->ComboEinheit[1], "Hektopascal (hPa)");
      r->txtWert[0]->setText("760");
      umrechnen(r);
      EXPECT_EQ(r->txtWert[1]->text(), "1.013,25");
      // The long unit names of the shipped file are shown whole.
      for (QComboBox* liste : r->ComboEinheit) {
        QStyleOptionComboBox option;
        option.initFrom(liste);
        const QRect feld = liste->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, liste);
        EXPECT_LE(liste->fontMetrics().horizontalAdvance(liste->currentText()), feld.width())
            << liste->currentText().toStdString();
      }
    }
    QApplication::processEvents();
    for (QWidget* w : r->SSTab->currentWidget()->findChildren<QWidget*>()) {
      if (!w->isVisible() || w->parentWidget()->inherits("QComboBox") || w->inherits("QAbstractScrollArea"))
        continue;
      const QSize mindest = w->minimumSizeHint();
      EXPECT_GE(w->width(), mindest.width()) << w->metaObject()->className() << " " << w->objectName().toStdString();
      EXPECT_GE(w->height(), mindest.height()) << w->metaObject()->className() << " " << w->objectName().toStdString();
      EXPECT_TRUE(w->parentWidget()->rect().contains(w->geometry())) << w->objectName().toStdString();
    }
    if (!ordner.isEmpty()) r->grab().save(QStringLiteral("%1/rechner-%2.png").arg(ordner).arg(seite));
  }
  // The longest binary display fits.
  EXPECT_GE(r->BezBin->contentsRect().width(),
            QFontMetrics(r->BezBin->font()).horizontalAdvance(QString(32, QLatin1Char('1'))));
}

using Testhilfe::TestHauptfenster;

TEST_F(RechnerTest, BefehlDesHauptfensters) {
  HauptfensterHaken::Leeren();
  Rechner::Registrieren();
  TestHauptfenster h;
  Hauptfenster::SetzeInstanz(&h);
  HauptfensterHaken::Ausfuehren(HauptfensterHaken::Punkt::StartUeberpruefungen);
  ASSERT_EQ(h.befehle.size(), 1);
  EXPECT_EQ(h.befehle[0].text, "&Taschenrechner...");
  EXPECT_EQ(h.befehle[0].taste, QKeySequence(Qt::SHIFT | Qt::Key_F1));
  EXPECT_EQ(h.befehle[0].name, "PulRechner");
  EXPECT_EQ(h.befehle[0].orte, Hauptfenster::ImPopup | Hauptfenster::InLeiste);

  // First use loads the window; a selection becomes the whole line.
  EXPECT_EQ(Rechner::Instanz(), nullptr);
  h.auswahl = "2*(3\r\n+4)";
  h.befehle[0].aktion();
  Rechner* r = Rechner::Instanz();
  ASSERT_NE(r, nullptr);
  EXPECT_TRUE(r->isVisible());
  EXPECT_EQ(r->Text->text(), "2*(3 +4)");
  QTest::keyClick(r->Text, Qt::Key_Return);
  r->close();

  // An empty selection keeps the line, the window and its history.
  h.auswahl.clear();
  h.befehle[0].aktion();
  EXPECT_EQ(Rechner::Instanz(), r);
  EXPECT_EQ(r->Text->text(), "14");
  EXPECT_EQ(r->ListP->count(), 2);

  // The program's exit unloads it.
  HauptfensterHaken::Ausfuehren(HauptfensterHaken::Punkt::EndeEntladen);
  EXPECT_EQ(Rechner::Instanz(), nullptr);
  Hauptfenster::SetzeInstanz(nullptr);
  HauptfensterHaken::Leeren();
}

}  // namespace
