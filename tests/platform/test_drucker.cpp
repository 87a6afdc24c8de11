// The printer object on the recording surface (positions, line ends, pages, failures) and the
// PDF printer writing real files.
#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

#include "platform/druckaufzeichnung.h"
#include "platform/drucker.h"
#include "support/fixture.h"

using Plattform::Printer;

namespace {

class DruckerTest : public Testhilfe::SkribonTest {
protected:
  void SetUp() override {
    SkribonTest::SetUp();
    Plattform::SetzeDruckerDienst(&aufzeichnung);
  }
  Plattform::AufzeichnungsDrucker aufzeichnung;
};

TEST_F(DruckerTest, ZeilenSeitenUndVerschobenerUrsprung) {
  Plattform::Drucker& p = Printer();
  EXPECT_EQ(p.DeviceName(), "Laser Büro");
  p.setFontSize(10);
  EXPECT_DOUBLE_EQ(p.TextWidth("ab\r\nabcd\nabc"), 1.0);  // the widest line
  EXPECT_DOUBLE_EQ(p.TextHeight("ab\r\nabcd\nabc"), 1.5);
  EXPECT_DOUBLE_EQ(p.TextHeight(""), 0.5);

  p.setScaleLeft(-2);
  p.setScaleTop(-1);
  p.setCurrentX(0);
  p.setCurrentY(0);
  p.Print("   ");  // blanks start no job
  EXPECT_TRUE(aufzeichnung.ereignisse.isEmpty());
  EXPECT_DOUBLE_EQ(p.CurrentX(), -2);  // a line end goes back to the printable area's edge
  EXPECT_DOUBLE_EQ(p.CurrentY(), 0.5);
  p.setCurrentX(0);
  p.Print("eins\r\nzwei\rdrei", false);
  EXPECT_DOUBLE_EQ(p.CurrentX(), -1.0);
  EXPECT_DOUBLE_EQ(p.CurrentY(), 1.5);
  p.EndPage();
  p.EndPage();  // nothing drawn on it: no blank page
  p.setFontSize(0);
  EXPECT_DOUBLE_EQ(p.FontSize(), 1);
  p.setFontSize(20);
  p.setFontBold(true);
  p.Print("vier");
  EXPECT_TRUE(p.EndDoc());
  EXPECT_EQ(aufzeichnung.mitOrt(), QStringList({"1 2,1.5 eins", "1 0,2 zwei", "1 0,2.5 drei", "2 0,0 vier"}));
  EXPECT_TRUE(aufzeichnung.texte.last().fett);
  EXPECT_EQ(aufzeichnung.ereignisse,
            QStringList({"Beginn Laser Büro: ", "Seite 1", "Seite 2", "Ende Laser Büro"}));

  // Another printer: the open job ends first, and the new one starts afresh.
  p.Print("offen");
  Plattform::DruckerSetzen(aufzeichnung.liste[1]);
  EXPECT_EQ(aufzeichnung.ereignisse.last(), "Ende Laser Büro");
  EXPECT_EQ(Printer().DeviceName(), "Tinte Flur");
  EXPECT_DOUBLE_EQ(Printer().ScaleLeft(), 0);

  // A job that cannot start says so once, draws nothing and is not reported as printed.
  aufzeichnung.beginnenScheitert = true;
  Printer().Print("a");
  EXPECT_EQ(Printer().FehlerText(), "Der Drucker »Tinte Flur« ist nicht bereit.");
  Printer().FehlerLoeschen();
  Printer().EndPage();
  Printer().Print("b");
  EXPECT_EQ(Printer().Fehler(), 0);
  EXPECT_FALSE(Printer().EndDoc());
  EXPECT_EQ(aufzeichnung.texte.size(), 5);  // "offen" of the ended job
}

TEST_F(DruckerTest, PdfDruckerSchreibtDateienMitNameUndDatum) {
  Plattform::SystemDrucker echt;
  echt.mitInstallierten = false;
  echt.pdfOrdner = wurzel + "/Dokumente";
  Plattform::SetzeDruckerDienst(&echt);
  ASSERT_EQ(Plattform::Printers().size(), 1);
  EXPECT_EQ(Plattform::Printers()[0].Port, echt.pdfOrdner);
  Plattform::Drucker& p = Printer();
  EXPECT_NEAR(p.ScaleWidth(), 20.0, 0.01);  // A4 less half a centimetre on each side

  for (const char* erwartet : {"Notizen - Ein_Aus 2026-01-15.pdf", "Notizen - Ein_Aus 2026-01-15 (2).pdf"}) {
    p.setDokumentName("Notizen - Ein/Aus");
    p.Print("Hallo");
    ASSERT_TRUE(p.EndDoc()) << p.FehlerText().toStdString();
    EXPECT_EQ(p.LetzteDatei(), echt.pdfOrdner + "/" + erwartet);
    EXPECT_TRUE(DateiLesen(p.LetzteDatei()).startsWith("%PDF"));
  }

  // A file where the folder should be: the job says why it cannot start.
  DateiSchreiben(wurzel + "/kein_ordner", "x");
  echt.pdfOrdner = wurzel + "/kein_ordner/unten";
  Plattform::DruckerSetzen(echt.pdfDrucker());
  Printer().Print("Hallo");
  EXPECT_TRUE(Printer().FehlerText().startsWith("Die PDF-Datei »")) << Printer().FehlerText().toStdString();
  EXPECT_FALSE(Printer().EndDoc());
  EXPECT_TRUE(Printer().LetzteDatei().isEmpty());
  Plattform::SetzeDruckerDienst(&aufzeichnung);
}

}  // namespace
