// The note print and the notepad print through the test main window: pages, headings, copies,
// margins, cancel, faults and bad notes on the recording printers; one real PDF checked with
// the tools of poppler-utils when they are installed.
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QProcess>
#include <QRadioButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <cmath>
#include <gtest/gtest.h>

#include "druck_hilfe.h"
#include "notepad/skribondiv.h"
#include "printing/notizdruck.h"

using Plattform::Printer;

namespace {

class NotizdruckTest : public Druckhilfe::DruckTest {
protected:
  void SetUp() override {
    DruckTest::SetUp();
    haupt.font.setBold(true);
  }
  static QString zeilen(int anzahl) {
    QString t = "{datum}\r\n";
    for (int i = 2; i <= anzahl; ++i) t += QStringLiteral("Zeile%1\r\n").arg(i);
    return t;
  }
  void preset(const char* schluessel, const char* wert) {
    Z_Alles::IniSchreiben(PrinterSet::Datei, "Skribon_Skribon", schluessel, wert);
  }
  // Prints the current note, the settings window answered by the action.
  void drucken(std::function<void(PrinterSet*)> aktion = [](PrinterSet* f) { f->befOk->click(); }) {
    Druckhilfe::Bediener bediener(std::move(aktion));
    Notizdruck::PulDrucken_Click();
    titel = bediener.titel;
  }
  QStringList titel;
};

TEST_F(NotizdruckTest, SeitenKopfRaenderUndExemplare) {
  haupt.ganzerText = zeilen(60);
  preset("RandX", "20");
  preset("RandY", "10");
  preset("Anzahl", "1");
  drucken();
  EXPECT_EQ(titel, QStringList{"Drucken - Einkauf"});
  EXPECT_EQ(Z_Alles::PresetName, "Skribon_Skribon");
  EXPECT_EQ(Z_Alles::IniLesen({}, {}, "Vario4Print", "?"), "1");
  // Two copies of two pages, one job; 49 lines below the heading fit between 2.1 and 26 cm.
  EXPECT_EQ(aufzeichnung.auftraege, 1);
  EXPECT_EQ(aufzeichnung.ereignisse.first(), "Beginn Laser Büro: Skribon - Einkauf");
  ASSERT_EQ(aufzeichnung.seitenzahl(1), 4);
  for (int s = 1; s <= 4; ++s)
    EXPECT_EQ(aufzeichnung.seite(1, s).first(), QStringLiteral("Einkauf , Seite %1").arg(2 - s % 2));
  EXPECT_EQ(aufzeichnung.seite(1, 1).size(), 50);
  EXPECT_EQ(aufzeichnung.seite(1, 2).size(), 12);
  EXPECT_EQ(aufzeichnung.seite(1, 1)[1], "15.1.2026");
  // The heading 2 points larger at the margin corner, the text in the editor's font below.
  const auto& kopf = aufzeichnung.texte[0];
  const auto& erste = aufzeichnung.texte[1];
  EXPECT_EQ(QString("%1,%2 %3").arg(kopf.x).arg(kopf.y).arg(kopf.groesse), "2,1 12");
  EXPECT_EQ(QString("%1,%2 %3 %4").arg(erste.x).arg(erste.y).arg(erste.groesse).arg(erste.schriftart),
            "2,2.1 10 Serif");
  EXPECT_TRUE(erste.fett);
  EXPECT_EQ(haupt.statusVerlauf, QStringList({"Drucke gerade Seite 1 ...", "Drucke gerade Seite 2 ...",
                                              "Drucke gerade Seite 1 ...", "Drucke gerade Seite 2 ...", "Bereit"}));
  EXPECT_EQ(PrinterSet::Instanz(), nullptr);
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);

  // Without note placeholders the heading's are still expanded.
  Z_Alles::IniSchreiben({}, {}, "Vario4Print", "0");
  Z_Alles::IniSchreiben({}, {}, "PrnUeberschrift", "{NAME} am {datum} {unbekannt}");
  preset("Anzahl", "0");
  haupt.ganzerText = "{datum}";
  drucken();
  EXPECT_EQ(aufzeichnung.seite(2, 1), QStringList({"Einkauf am 15.1.2026 {unbekannt}", "{datum}"}));
}

TEST_F(NotizdruckTest, AbbruchDruckerwahlUndMarkierung) {
  haupt.ganzerText = "Ganzer Text";
  drucken([](PrinterSet* f) { f->befAbbrechen->click(); });
  EXPECT_TRUE(aufzeichnung.texte.isEmpty());
  EXPECT_TRUE(haupt.statusVerlauf.isEmpty());
  EXPECT_EQ(PrinterSet::Instanz(), nullptr);

  // Another printer for this print; the remembered one is current again afterwards.
  drucken([](PrinterSet* f) {
    f->ComboDrucker->setCurrentIndex(f->ComboDrucker->findText("Tinte Flur"));
    f->befOk->click();
  });
  ASSERT_FALSE(aufzeichnung.texte.isEmpty());
  EXPECT_EQ(aufzeichnung.texte[0].drucker, "Tinte Flur");
  EXPECT_EQ(Printer().DeviceName(), "Laser Büro");

  // The range can be chosen from a selection of 4 characters on.
  haupt.auswahl = "Auswahl";
  drucken([](PrinterSet* f) {
    EXPECT_TRUE(f->frmBereich->isEnabled());
    f->optBereich[1]->setChecked(true);
    f->befOk->click();
  });
  EXPECT_EQ(aufzeichnung.seite(2, 1).mid(1), QStringList{"Auswahl"});
}

TEST_F(NotizdruckTest, FehlerUndSchlechteNotizen) {
  // 1.0 cm of text height: not even one line fits; the copies stop after one message.
  haupt.ganzerText = "Text";
  preset("RandH", "10");
  preset("Anzahl", "2");
  dialoge.antwort(Plattform::vbOK);
  drucken();
  ASSERT_EQ(dialoge.gezeigt.size(), 1);
  EXPECT_EQ(dialoge.gezeigt[0].text, "Der Text passt nicht auf die Seite.");
  EXPECT_EQ(aufzeichnung.seitenzahl(1), 1);
  EXPECT_EQ(haupt.statusVerlauf.last(), "Bereit");

  // A printer that takes no job: one error message; everything is put back.
  preset("RandH", "0");
  preset("Anzahl", "0");
  aufzeichnung.beginnenScheitert = true;
  dialoge.antwort(Plattform::vbCancel);
  drucken();
  ASSERT_EQ(dialoge.gezeigt.size(), 2);
  EXPECT_TRUE(dialoge.gezeigt[1].text.contains("Es ist ein Fehler beim Drucken aufgetreten."));
  EXPECT_EQ(haupt.statusVerlauf.last(), "Bereit");
  EXPECT_EQ(PrinterSet::Instanz(), nullptr);
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  aufzeichnung.beginnenScheitert = false;

  struct Fall {
    const char* name;
    QString text;
    int seiten;
  } const faelle[] = {
      {"ein Wort von 70.000 Zeichen", QString(70000, QLatin1Char('x')), 1},
      {"nur Zeilenumbrüche", QString("\r\n").repeated(200), 4},
      {"leer", "", 0},
  };
  for (const Fall& f : faelle) {
    SCOPED_TRACE(f.name);
    const int vorher = aufzeichnung.auftraege;
    haupt.ganzerText = f.text;
    drucken();
    EXPECT_EQ(aufzeichnung.auftraege - vorher, f.seiten ? 1 : 0);
    if (f.seiten) {
      EXPECT_EQ(aufzeichnung.seitenzahl(aufzeichnung.auftraege), f.seiten);
    }
  }
  EXPECT_EQ(aufzeichnung.texte.last().text, "Einkauf , Seite 4");
  EXPECT_TRUE(dialoge.alleBeantwortet());
}

TEST_F(NotizdruckTest, NotizblockDruckUndBefehle) {
  Notizdruck::Registrieren();
  const auto* drucken = haupt.befehl("PulDrucken");
  ASSERT_NE(drucken, nullptr);
  EXPECT_EQ(drucken->menue, "&Datei");
  EXPECT_EQ(drucken->taste, QKeySequence("Ctrl+P"));
  EXPECT_EQ(drucken->orte, Hauptfenster::ImPopup | Hauptfenster::InLeiste);
  ASSERT_NE(haupt.befehl("mnuNBDrucken"), nullptr);
  EXPECT_EQ(haupt.befehl("mnuNBDrucken")->menue, "&Datei");

  haupt.notizen = {"Erste Notiz", " ab ", "", "Vierte\r\nNotiz"};
  haupt.nr = 2;
  QVector<bool> automatisch;
  Druckhilfe::Bediener bediener([&](PrinterSet* f) {
    automatisch << (SkribonDiv::NotizblockDruck && f->TimerAutoPrint->isActive());
    f->befOk->click();
  });
  haupt.befehl("mnuNBDrucken")->action->trigger();
  EXPECT_EQ(automatisch, QVector<bool>({true, true}));
  EXPECT_FALSE(SkribonDiv::NotizblockDruck);
  EXPECT_EQ(aufzeichnung.seite(1, 1).mid(1), QStringList({"Erste ", "Notiz"}));
  EXPECT_EQ(aufzeichnung.seite(2, 1).mid(1), QStringList({"Vierte", "Notiz"}));
  EXPECT_EQ(haupt.gewaehlt, QVector<int>({1, 2, 3, 4, 2}));

  // Cancel ends the whole run.
  haupt.gewaehlt.clear();
  bediener.aktion = [](PrinterSet* f) { f->befAbbrechen->click(); };
  Notizdruck::mnuNBDrucken_Click();
  EXPECT_EQ(haupt.gewaehlt, QVector<int>({1, 2}));
  EXPECT_EQ(aufzeichnung.auftraege, 2);
}

// On the PDF printer the user learns where the files went: one file by name, several by folder
// and count, and also the file a print leaves that ended with "does not fit".
TEST_F(NotizdruckTest, PdfDateienWerdenGenannt) {
  auto pdf = [](PrinterSet* f) {
    f->ComboDrucker->setCurrentIndex(f->ComboDrucker->findText(Plattform::PdfDruckerName));
    f->befOk->click();
  };
  struct Fall {
    const char* name;
    bool notizblock;
    const char* randH;
    QStringList meldungen;
  };
  const Fall faelle[] = {
      {"eine Notiz", false, "0",
       {"Der Ausdruck wurde als PDF-Datei gespeichert:\r\n\r\n»/aufgezeichnet/Skribon - Einkauf.pdf«"}},
      {"passt nicht", false, "10",
       {"Der Text passt nicht auf die Seite.",
        "Der Ausdruck wurde als PDF-Datei gespeichert:\r\n\r\n»/aufgezeichnet/Skribon - Einkauf.pdf«"}},
      {"Notizblock", true, "0",
       {"Die Ausdrucke wurden als PDF-Dateien gespeichert:\r\n\r\n3 Dateien im Ordner »/aufgezeichnet«"}},
  };
  haupt.notizen = {"Erste Notiz", "Zweite Notiz", "", "Vierte Notiz"};
  haupt.ganzerText = "Text";
  for (const Fall& f : faelle) {
    SCOPED_TRACE(f.name);
    preset("RandH", f.randH);
    dialoge.gezeigt.clear();
    for (int i = 0; i < f.meldungen.size(); ++i) dialoge.antwort(Plattform::vbOK);
    Druckhilfe::Bediener bediener(pdf);
    if (f.notizblock) Notizdruck::mnuNBDrucken_Click();
    else Notizdruck::PulDrucken_Click();
    QStringList gezeigt;
    for (const auto& d : dialoge.gezeigt) gezeigt << d.text;
    EXPECT_EQ(gezeigt, f.meldungen);
  }
}

TEST_F(NotizdruckTest, EchtePdfDateiMitDreiSeiten) {
  const QString pdfinfo = QStandardPaths::findExecutable("pdfinfo");
  const QString pdftotext = QStandardPaths::findExecutable("pdftotext");
  if (pdfinfo.isEmpty() || pdftotext.isEmpty()) GTEST_SKIP() << "poppler-utils fehlen";
  Plattform::SystemDrucker echt;
  echt.mitInstallierten = false;
  echt.pdfOrdner = wurzel + "/Dokumente";
  Plattform::SetzeDruckerDienst(&echt);

  // Lines per page from the printer's own measures: below heading and empty line, down to two
  // lines above the bottom, each needing one and a half lines of room.
  Plattform::Drucker& p = Printer();
  p.setFontName("Serif");
  p.setFontSize(12);
  const double kopf = p.TextHeight("");
  p.setFontSize(10);
  const double zeile = p.TextHeight("");
  const int jeSeite = int(std::ceil((p.ScaleHeight() - 2 * zeile - kopf - zeile) / zeile - 1.5));
  haupt.ganzerText = zeilen(2 * jeSeite + jeSeite / 2);
  dialoge.antwort(Plattform::vbOK);
  drucken();
  ASSERT_EQ(dialoge.gezeigt.size(), 1);
  EXPECT_TRUE(dialoge.gezeigt[0].text.startsWith("Der Ausdruck wurde als PDF-Datei gespeichert:"));
  const QString datei = echt.pdfOrdner + "/Skribon - Einkauf 2026-01-15.pdf";
  EXPECT_TRUE(dialoge.gezeigt[0].text.contains("»" + datei + "«"));

  QProcess info;
  info.start(pdfinfo, {datei});
  ASSERT_TRUE(info.waitForFinished(20000));
  EXPECT_TRUE(QString::fromUtf8(info.readAllStandardOutput()).contains(QRegularExpression("Pages:\\s+3\\n")));
  QProcess text;
  text.start(pdftotext, {datei, "-"});
  ASSERT_TRUE(text.waitForFinished(20000));
  const QString inhalt = QString::fromUtf8(text.readAllStandardOutput());
  const qsizetype s1 = inhalt.indexOf("Einkauf , Seite 1"), s2 = inhalt.indexOf("Einkauf , Seite 2"),
                  s3 = inhalt.indexOf("Einkauf , Seite 3");
  EXPECT_TRUE(s1 >= 0 && s1 < s2 && s2 < s3) << inhalt.left(300).toStdString();
  EXPECT_TRUE(inhalt.contains("15.1.2026"));
  EXPECT_TRUE(inhalt.contains(QStringLiteral("Zeile%1").arg(2 * jeSeite + jeSeite / 2)));
  Plattform::SetzeDruckerDienst(&aufzeichnung);
}

}  // namespace
