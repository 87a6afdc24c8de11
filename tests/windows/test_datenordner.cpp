// The folders window: the three sections, the write tests, the report (text, clipboard, printer),
// the debug-log dump, opening files and folders, and the move of the data-folder pointer.
#include <QRegularExpression>
#include <QClipboard>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <cmath>
#include <gtest/gtest.h>

#include "foundation/dienste.h"
#include "platform/profil.h"
#include "services/diagnose.h"
#include "services/version.h"
#include "windows/datenordner.h"
#include "windows/fenster_test.h"
#include "windows/hilfsfenster.h"

namespace {

int neustarts = 0;
QString gewaehlterOrdner;
QString ordnerWaehlen(QWidget*, const QString& titel) {
  EXPECT_EQ(titel, "Daten-Ordner-Zeiger");
  return gewaehlterOrdner;
}

class DatenOrdnerTest : public FensterTest {
protected:
  void SetUp() override {
    FensterTest::SetUp();
    neustarts = 0;
    dienste.neustart = [] { ++neustarts; };
    dienste.ordnerWaehlen = &ordnerWaehlen;
    Z_Alles::IniSchreiben({}, {}, "OrdnerPrg", prgOrdner);
    Z_Alles::ordnerDatHerkunft = "Vorgabe-Ordner";
    DateiSchreiben(prgOrdner + "/" + Plattform::ProgrammName(), "prog");
    DateiSchreiben(prgOrdner + "/Rechner.Dat", "x");
    DateiSchreiben(datOrdner + "/Skribon.inf", "i");
    DateiSchreiben(datOrdner + "/Skribon.T01", "n");
    DateiSchreiben(datOrdner + "/Notiz.txt", "t");
    DateiSchreiben(datOrdner + "/Bild.png", "p");
  }
  static QStringList eintraege(const QListWidget* l) {
    QStringList e;
    for (int i = 0; i < l->count(); ++i) e << l->item(i)->text();
    return e;
  }
  static QStringList dollarDateien(const QString& ordner) {
    return QDir(ordner).entryList({"$*"}, QDir::Files);
  }
};

TEST_F(DatenOrdnerTest, AbschnitteUndBericht) {
  DatenOrdner d;
  EXPECT_EQ(d.windowTitle(), "Dormiks-Skribon - Ordner");
  EXPECT_TRUE(d.TimerReadData->isActive());
  d.TimerReadData_Timer();
  EXPECT_FALSE(d.TimerReadData->isActive());
  EXPECT_EQ(d.bezDo[0]->text(), subOrdner + "/Dormik.ini");
  EXPECT_EQ(d.bezDo[1]->text(), prgOrdner);
  EXPECT_EQ(d.bezDo[2]->text(), datOrdner);
  EXPECT_EQ(d.bezInfo[1]->text(), "In diesem Ordner befindet sich u. a. die Programm-Datei »" +
                                      Plattform::ProgrammName() + "«:");
  EXPECT_EQ(eintraege(d.lstDo[2]), (QStringList{"Notiz.txt", "Skribon.inf", "Skribon.T01"}));
  EXPECT_TRUE(eintraege(d.lstDo[1]).contains("Rechner.Dat"));
  ASSERT_EQ(d.lstDo[1]->selectedItems().size(), 1);
  EXPECT_EQ(d.lstDo[1]->selectedItems()[0]->text(), Plattform::ProgrammName());
  EXPECT_TRUE(eintraege(d.lstDo[0]).contains("Dormik.ini"));
  for (QLabel* l : d.bezError) EXPECT_EQ(l->text(), "");
  EXPECT_TRUE(dollarDateien(prgOrdner).isEmpty()) << "write tests leave nothing behind";
  EXPECT_TRUE(dollarDateien(datOrdner).isEmpty());

  const QString bericht = d.BerichtText();
  const QStringList zeilen = bericht.split("\r\n");
  EXPECT_TRUE(bericht.startsWith("Das Programm Dormiks-Skribon in der Version " + Z_Alles::VersionsText +
                                 " erwartet Dateien in den folgenden Ordnern...\r\n\r\n"));
  QStringList koepfe;
  for (const QString& z : zeilen)
    if (z.startsWith("--- ")) koepfe << z;
  ASSERT_EQ(koepfe.size(), 5);
  EXPECT_TRUE(koepfe[0].startsWith("--- Programm-Ordner ---"));
  EXPECT_TRUE(koepfe[1].startsWith("--- Daten-Ordner ---"));
  EXPECT_TRUE(koepfe[2].startsWith("--- Einstellungs-Datei ---"));
  EXPECT_EQ(koepfe[3], "--- Sonstiges " + QString(80, '-'));
  EXPECT_TRUE(koepfe[4].startsWith("--- Debug ---"));
  for (int i : {0, 1, 2, 4}) EXPECT_EQ(koepfe[i].size(), 84) << koepfe[i].toStdString();
  EXPECT_EQ(bericht.count("Folgende Dateien gefunden:"), 2) << "no file list for the settings file";
  EXPECT_TRUE(bericht.contains("Folgende Dateien gefunden:\r\n\r\nNotiz.txt; Skribon.inf; Skribon.T01\r\n"));
  EXPECT_TRUE(bericht.contains("Vorgabe-Ordner"));

  // Copied: on the clipboard, and said so.
  dialoge.antwort(Plattform::vbOK);
  d.mnuBericht[0]->trigger();
  // The system's up-time line may tick between the two reports.
  const auto ohneLaufzeit = [](QString t) {
    return t.remove(QRegularExpression(QStringLiteral("Sys UpTime[^\r]*")));
  };
  EXPECT_EQ(ohneLaufzeit(QGuiApplication::clipboard()->text()), ohneLaufzeit(d.BerichtText()));
  EXPECT_EQ(dialoge.gezeigt.last().text, "Bericht wurde in die Zwischenablage kopiert");
  // Printed at 10 points from 1 cm, 2 cm, page after page.
  d.mnuBericht[1]->trigger();
  ASSERT_GE(drucker.texte.size(), 10);
  EXPECT_EQ(drucker.texte[0].groesse, 10);
  EXPECT_EQ(drucker.texte[0].x, 1);
  EXPECT_EQ(drucker.texte[0].y, 2);
  EXPECT_TRUE(drucker.seite(1, 1).join("").startsWith("Das Programm Dormiks-Skribon"));
  EXPECT_GE(drucker.seitenzahl(1), 1);
  // A printer that is not ready is reported once; Cancel ends the job.
  drucker.beginnenScheitert = true;
  const qsizetype boxen = dialoge.gezeigt.size();
  dialoge.antwort(Plattform::vbCancel);
  d.mnuBericht[1]->trigger();
  ASSERT_EQ(dialoge.gezeigt.size(), boxen + 1);
  EXPECT_TRUE(dialoge.gezeigt.last().text.contains("nicht bereit")) << dialoge.gezeigt.last().text.toStdString();
}

TEST_F(DatenOrdnerTest, SchreibtestsUndSonderfaelle) {
  // The test file's name the next draw gives: a user's file of that name stays as it is.
  system.zufallStart(4711);
  const long n = std::lround(37800 * system.zufall());
  const QString fremd = prgOrdner + QString("/$%1.txt").arg(n);
  DateiSchreiben(fremd, "meins");
  system.zufallStart(4711);
  EXPECT_TRUE(Z_Alles::OrdnerSchreibtest(prgOrdner));
  EXPECT_EQ(DateiLesen(fremd), "meins");
  EXPECT_EQ(dollarDateien(prgOrdner), QStringList{QString("$%1.txt").arg(n)});
  EXPECT_FALSE(Z_Alles::OrdnerSchreibtest(wurzel + "/fehlt"));

  // Settings file that cannot be written (a folder in its place), a program folder with "~" in
  // its name, an empty data folder, and no program file.
  QFile::remove(subOrdner + "/Dormik.ini");
  Plattform::ProfilCacheLeeren();
  QDir().mkpath(subOrdner + "/Dormik.ini");
  const QString tilde = wurzel + "/PROGRA~1";
  QDir().mkpath(tilde);
  Z_Alles::ordnerDat.clear();
  DatenOrdner d;
  d.TimerReadData_Timer();
  EXPECT_EQ(d.bezError[0]->text(), "Keine Schreibrechte in dieser Datei !!!");
  EXPECT_EQ(d.bezDo[1]->text(), "");
  EXPECT_TRUE(d.bezInfo[1]->text().endsWith(" (Datei nicht gefunden!)"));
  EXPECT_EQ(d.bezError[1]->text(), "Keine Schreibrechte im Ordner.");
  EXPECT_EQ(d.bezDo[2]->text(), "???");
  EXPECT_EQ(d.lstDo[2]->count(), 0);
  EXPECT_EQ(d.bezError[2]->text(), "Keine Schreibrechte im Daten-Ordner !!!");
  const QString bericht = d.BerichtText();
  EXPECT_TRUE(bericht.contains("Keine Schreibrechte in dieser Datei !!!"));
  EXPECT_TRUE(bericht.contains("Folgende Dateien gefunden:\r\n\r\n--- ")) << "an empty list shows nothing";
  // "~" in a path is markup in the report: the path breaks there.
  d.bezDo[1]->setText(tilde);
  EXPECT_TRUE(d.BerichtText().contains(wurzel + "/PROGRA\r\n1"));

  // Double-clicks on a section show it; the data folder tells where it came from.
  dialoge.antwort(Plattform::vbOK);
  d.bezDo_DblClick(2);
  EXPECT_EQ(dialoge.gezeigt.last().text, d.bezInfo[2]->text() + "\r\n\r\n???\r\n\r\nVorgabe-Ordner");
  EXPECT_EQ(dialoge.gezeigt.last().titel, "Daten-Ordner");
  dialoge.antwort(Plattform::vbOK);
  d.bezInfo_DblClick(0);
  EXPECT_TRUE(dialoge.gezeigt.last().text.endsWith("Vorgabe-Ordner"));
}

// Just after midnight every name the write tests draw ("$0.txt" to "$12.txt") is a user's file:
// writable folders still pass, and the user's files stay as they are.
TEST_F(DatenOrdnerTest, SchreibtestMitBelegtenNamen) {
  system.uhr = QDateTime(QDate(2026, 1, 15), QTime(0, 0, 3));
  for (const QString& o : {prgOrdner, datOrdner, tmpOrdner})
    for (int n = 0; n <= 12; ++n) DateiSchreiben(o + QString("/$%1.txt").arg(n), "meins");
  DatenOrdner d;
  d.TimerReadData_Timer();
  const QString bericht = Z_Alles::DiagnoseBericht();
  struct Fall {
    QString ordner, fehlerText, berichtZeile;
  };
  const Fall faelle[] = {
      {prgOrdner, d.bezError[1]->text(), "Check-Wrt.prg: " + prgOrdner + " | write=true\r\n"},
      {datOrdner, d.bezError[2]->text(), "Check-Wrt.dat: " + datOrdner + " | write=true\r\n"},
      {tmpOrdner, QString(), "Check-Wrt.tmp: " + tmpOrdner + " | write=true\r\n"},
  };
  for (const Fall& f : faelle) {
    SCOPED_TRACE(f.ordner.toStdString());
    EXPECT_EQ(f.fehlerText, "");
    EXPECT_TRUE(bericht.contains(f.berichtZeile));
    EXPECT_EQ(dollarDateien(f.ordner).size(), 13) << "nothing left behind";
    for (int n = 0; n <= 12; ++n) EXPECT_EQ(DateiLesen(f.ordner + QString("/$%1.txt").arg(n)), "meins");
  }
}

TEST_F(DatenOrdnerTest, DebugProtokoll) {
  struct Fall {
    int modus;
    bool nurLesen;
    bool schreibt;
  };
  for (const Fall f : {Fall{1, false, true}, Fall{2, false, false}, Fall{1, true, false}}) {
    QFile::remove(Z_Alles::DebugDatei);
    Z_Alles::DebugModus = f.modus;
    Z_Alles::NurLesen = f.nurLesen;
    DatenOrdner d;
    d.TimerReadData_Timer();
    const QString log = QString::fromUtf8(DateiLesen(Z_Alles::DebugDatei));
    EXPECT_EQ(log.contains("*** Daten-Ordner // Daten-Ordner ***\r\n"), f.schreibt) << f.modus << f.nurLesen;
    if (f.schreibt) {
      EXPECT_TRUE(log.contains("Notiz.txt|Skribon.inf|Skribon.T01|\r\n"));
    }
  }
  Z_Alles::NurLesen = false;
}

TEST_F(DatenOrdnerTest, OeffnenUndZeigerVerlegen) {
  DatenOrdner d;
  d.TimerReadData_Timer();
  for (int i = 0; i < 3; ++i) d.befDo[i]->click();
  EXPECT_EQ(shell.geoeffnet, (QStringList{subOrdner + "/Dormik.ini", prgOrdner, datOrdner}));
  EXPECT_EQ(system.gewartet, 3);

  const QString alt = ini("OrdnerDat");
  const QString neu = wurzel + "/Neue Daten/unter";
  DateiSchreiben(wurzel + "/Datei", "x");
  struct Fall {
    const char* name;
    int antwort;        // to the warning
    QString ordner;     // from the picker
    bool sichernGelingt;
    bool verlegt;
    QString meldung;    // start of the last box
  };
  const Fall faelle[] = {
      {"abgelehnt", Plattform::vbCancel, neu, true, false, "Mit Hilfe dieser Funktion"},
      {"Auswahl abgebrochen", Plattform::vbOK, "", true, false, "Mit Hilfe dieser Funktion"},
      {"nicht anlegbar", Plattform::vbOK, wurzel + "/Datei/darunter", true, false, "Der Ordner »"},
      {"Notiz nicht gesichert", Plattform::vbOK, neu, false, false, "Die aktuelle Notiz konnte nicht"},
      {"verlegt", Plattform::vbOK, neu, true, true, "Der Daten-Ordner-Zeiger wurde geändert.\r\n\r\nDas Programm"},
  };
  for (const Fall& f : faelle) {
    dialoge.gezeigt.clear();
    dialoge.antwort(f.antwort);
    if (f.antwort == Plattform::vbOK && !f.ordner.isEmpty()) dialoge.antwort(Plattform::vbOK);
    gewaehlterOrdner = f.ordner;
    haupt.sichernGelingt = f.sichernGelingt;
    d.befDatenOrdnerVerlegen->click();
    EXPECT_TRUE(dialoge.alleBeantwortet()) << f.name;
    ASSERT_FALSE(dialoge.gezeigt.isEmpty());
    const auto& warnung = dialoge.gezeigt.first();
    EXPECT_EQ(warnung.titel, "Daten-Ordner-Zeiger verlegen");
    EXPECT_EQ(warnung.knoepfe, Plattform::vbOKCancel | Plattform::vbQuestion | Plattform::vbDefaultButton2);
    EXPECT_TRUE(warnung.text.contains("'" + datOrdner + "'.\r\n\r\nWENN SIE DIESEN ZEIGER VERSTELLEN"));
    EXPECT_TRUE(dialoge.gezeigt.last().text.startsWith(f.meldung)) << f.name;
    EXPECT_EQ(ini("OrdnerDat"), f.verlegt ? neu : alt) << f.name;
    EXPECT_EQ(neustarts, f.verlegt ? 1 : 0) << f.name;
  }
  EXPECT_TRUE(QFileInfo(neu).isDir());
}

}  // namespace
