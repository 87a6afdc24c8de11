// Word wrap, page end and the text handed back, on the recording surface (a 10-point character
// is 0.25 cm wide, a line 0.5 cm high), and the page loop around it.
#include <gtest/gtest.h>

#include "druck_hilfe.h"
#include "printing/z_textandrucker.h"

using Plattform::Printer;
using Z_TextAnDrucker::Seitenlauf;

namespace {

class TextAnDruckerTest : public Druckhilfe::DruckTest {};

struct Fall {
  const char* name;
  QString text;
  double x, y, rechts, unten;
  double links, oben;  // ScaleLeft, ScaleTop
  double vorX, vorY;   // current position before the call
  QStringList erwartet;
  QString rest;
};

TEST_F(TextAnDruckerTest, UmbruchSeitenendeUndRest) {
  const Fall faelle[] = {
      {"passt in eine Zeile", "Hallo Welt", 0, 0, 10, 20, 0, 0, 0, 0, {"1 0,0 Hallo ", "1 1.5,0 Welt"}, ""},
      {"endet das Wort zwei Blanks vor rechts, bricht es um", "Hallo Welt", 0, 0, 3, 20, 0, 0, 0, 0,
       {"1 0,0 Hallo ", "1 0,0.5 Welt"}, ""},
      {"Bindestrich und Schrägstrich bleiben am Zeilenende", "Kaffee-Maschine ein/aus", 0, 0, 3, 20, 0, 0, 0, 0,
       {"1 0,0 Kaffee-", "1 0,0.5 Maschine ", "1 0,1 ein/", "1 1,1 aus"}, ""},
      {"zwei Blanks sind zwei Wörter", "a  b", 0, 0, 10, 20, 0, 0, 0, 0, {"1 0,0 a ", "1 0.75,0 b"}, ""},
      {"CR LF und CR beenden Zeilen, LF allein nicht", "eins\r\nzwei\rdrei\nvier", 0, 0, 10, 20, 0, 0, 0, 0,
       {"1 0,0 eins", "1 0,0.5 zwei", "1 0,1 dreivier"}, ""},
      {"überlanges Wort: erst Zeilenende, dann über rechts hinaus", "Donaudampfschiff kurz", 0, 0, 3, 20, 0, 0,
       0, 0, {"1 0,0.5 Donaudampfschiff ", "1 0,1 kurz"}, ""},
      {"Seite voll: das Wort und der Rest kommen zurück", "aa bb cc dd\r\nee", 0, 0, 1.5, 1.5, 0, 0, 0, 0,
       {"1 0,0 aa ", "1 0,0.5 bb "}, "cc dd\r\nee"},
      {"erstes Wort passt nicht: alles ohne die gelesenen LF", "\nab\ncd ef\ngh", 0, 0, 10, 0.7, 0, 0, 0, 0, {},
       "abcd ef\ngh"},
      {"leerer Text", "", 0, 0, 10, 20, 0, 0, 0, 0, {}, ""},
      {"negative x und y: weiter an der aktuellen Stelle", "ab\rcd", -1, -1, 10, 20, 0, 0, 1, 2,
       {"1 1,2 ab", "1 0,2.5 cd"}, ""},
      {"verschobener Ursprung: nach CR wieder bei x", "a\rb", 0, 0, 10, 20, -2, -1, 0, 0,
       {"1 2,1 a", "1 2,1.5 b"}, ""},
  };
  for (const Fall& f : faelle) {
    SCOPED_TRACE(f.name);
    aufzeichnung.texte.clear();
    Plattform::Drucker& p = Printer();
    p.setFontSize(10);
    p.setScaleLeft(f.links);
    p.setScaleTop(f.oben);
    p.setCurrentX(f.vorX);
    p.setCurrentY(f.vorY);
    QString text = f.text;
    EXPECT_EQ(Z_TextAnDrucker::TextDrucken(text, f.x, f.y, f.rechts, f.unten), f.rest);
    EXPECT_EQ(texte(), f.erwartet);
    p.EndDoc();
  }
}

TEST_F(TextAnDruckerTest, VorgabeGrenzenLiegenImDruckbereich) {
  Plattform::Drucker& p = Printer();
  p.setFontSize(10);
  p.setScaleLeft(-2);  // 2 cm margins: right 17 (not 19), bottom 26 (not 27)
  p.setScaleTop(-1);
  QString zeile = QString("aaaa ").repeated(14);
  EXPECT_EQ(Z_TextAnDrucker::TextDrucken(zeile, 0, 0, -1, -1), "");
  ASSERT_EQ(aufzeichnung.texte.size(), 14);
  EXPECT_EQ(texte()[12], "1 17,1 aaaa ");
  EXPECT_EQ(texte()[13], "1 2,1.5 aaaa ");

  aufzeichnung.texte.clear();
  QString zeilen = QString("w\r").repeated(100);
  const QString rest = Z_TextAnDrucker::TextDrucken(zeilen, 0, 0, -1, -1);
  EXPECT_EQ(aufzeichnung.texte.size(), 51);
  EXPECT_EQ(rest, QString("w\r").repeated(49));
}

TEST_F(TextAnDruckerTest, SeitenlaufMitKopfUndOhneEndlosschleife) {
  Plattform::Drucker& p = Printer();
  int koepfe = 0;
  auto kopf = [&](int seite) {
    ++koepfe;
    p.setCurrentX(0);
    p.setCurrentY(0);
    p.Print(QStringLiteral("Kopf %1").arg(seite));
    return true;
  };
  EXPECT_EQ(Z_TextAnDrucker::SeitenDrucken(QString("w\r").repeated(100), 0, -1, -1, 10, kopf),
            Seitenlauf::Fertig);
  EXPECT_EQ(aufzeichnung.seitenzahl(1), 6);  // 18 lines below the heading per page
  for (int s = 1; s <= 6; ++s) EXPECT_EQ(aufzeichnung.seite(1, s).first(), QStringLiteral("Kopf %1").arg(s));
  EXPECT_EQ(aufzeichnung.seite(1, 6).size(), 11);
  EXPECT_TRUE(p.EndDoc());

  // Not even the first word fits below the heading: one page, then the job ends with a message.
  koepfe = 0;
  dialoge.antwort(Plattform::vbOK);
  EXPECT_EQ(Z_TextAnDrucker::SeitenDrucken("Text", 0, -1, -1, 0.9, kopf), Seitenlauf::PasstNicht);
  EXPECT_EQ(koepfe, 1);
  EXPECT_EQ(aufzeichnung.ereignisse.last(), "Ende Laser Büro");
  ASSERT_EQ(dialoge.gezeigt.size(), 1);
  EXPECT_EQ(dialoge.gezeigt[0].text, "Der Text passt nicht auf die Seite.");
}

TEST_F(TextAnDruckerTest, DruckerfehlerGehtAnDieFehlerbehandlung) {
  aufzeichnung.beginnenScheitert = true;
  dialoge.antwort(Plattform::vbCancel);
  EXPECT_EQ(Z_TextAnDrucker::SeitenDrucken("eins zwei drei", 0, 0, -1, -1), Seitenlauf::Abgebrochen);
  ASSERT_EQ(dialoge.gezeigt.size(), 1);
  EXPECT_TRUE(dialoge.gezeigt[0].text.contains("Fehler beim Textausdruck #1"));
  Printer().EndDoc();

  // Going on: the rest is read without more messages, and the loop ends.
  dialoge.antwort(Plattform::vbNo);
  EXPECT_EQ(Z_TextAnDrucker::SeitenDrucken("eins zwei drei", 0, 0, -1, -1), Seitenlauf::Fertig);
  EXPECT_EQ(dialoge.gezeigt.size(), 2);
  EXPECT_TRUE(aufzeichnung.texte.isEmpty());
}

}  // namespace
