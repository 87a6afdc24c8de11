// The tips of the day: the file's rules, the markup, the draw without recent repeats, and the
// window with its check box, its empty display and its life cycle.
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <gtest/gtest.h>

#include "windows/fenster_test.h"
#include "windows/hilfsfenster.h"
#include "windows/tips.h"

namespace {

class TipsTest : public FensterTest {
protected:
  QString datei() const { return prgOrdner + "/Tipps.Bot"; }
};

TEST_F(TipsTest, DateiMarkupUndZiehung) {
  // Which lines are tips, whatever the file looks like.
  struct Fall {
    const char* name;
    QByteArray inhalt;
    QStringList tipps;
    QString fehler;  // part of the reason, "" = none
  };
  const QByteArray bin("\x7f" "ELF\x02\x01\x01\x00\x00\x00 Tipp", 15);
  const Fall faelle[] = {
      {"gemischt", "[Infos]\r\nFrage=Na?\r\n; Kommentar\r\n\r\n  Eins  \r\nZwei\r\nDrei ist a=b\r\nVier\r\n",
       {"Eins", "Zwei", "Vier"}, ""},
      {"BOM und LF", "\xEF\xBB\xBF" "Erster\nZw\xC3\xA4iter\n", {"Erster", "Zwäiter"}, ""},
      {"Windows-1252", "Gr\xF6\xDF" "e\r\n", {"Größe"}, ""},
      {"nur Infos", "[Infos]\r\nHeader=Hallo {Major}\r\n", {}, ""},
      {"leer", "", {}, ""},
      {"binär", bin, {}, "keine Textdatei"},
  };
  for (const Fall& f : faelle) {
    DateiSchreiben(datei(), f.inhalt);
    QString fehler;
    EXPECT_EQ(TippsDatei::Lesen(datei(), &fehler), f.tipps) << f.name;
    if (!f.fehler.isEmpty()) {
      EXPECT_TRUE(fehler.contains(f.fehler)) << f.name << ": " << fehler.toStdString();
    } else {
      EXPECT_TRUE(fehler.isEmpty()) << f.name;
    }
  }
  QString fehler;
  EXPECT_TRUE(TippsDatei::Lesen(prgOrdner + "/fehlt.Bot", &fehler).isEmpty());
  EXPECT_TRUE(fehler.contains("nicht gefunden"));

  const QString url = "https://example.org";
  EXPECT_EQ(TippsDatei::Aufbereiten("Erst das.~Dann {URL}", url), "Erst das.\r\n\r\nDann https://example.org.");
  EXPECT_EQ(TippsDatei::Aufbereiten("A~~B", url), "A\r\n\r\nB.");
  EXPECT_EQ(TippsDatei::Aufbereiten("Toll!", url), "Toll!");
  EXPECT_EQ(TippsDatei::Aufbereiten("Wie?", url), "Wie?");
  EXPECT_EQ(TippsDatei::Aufbereiten("   ", url), "") << "an empty tip gets no lone point";

  // Three tips: item 0 never, item 1 twice as often as item 2.
  system.zufallStart(99);
  int zahl[3] = {0, 0, 0};
  for (int n = 0; n < 3000; ++n) ++zahl[TippsDatei::Ziehen(3, ".9999")];
  EXPECT_EQ(zahl[0], 0);
  EXPECT_GT(zahl[1], zahl[2] * 3 / 2);
  EXPECT_GT(zahl[2], 700);
  // Everything drawable in the history: item 1 after the tries run out.
  EXPECT_EQ(TippsDatei::Ziehen(3, ".0001.0002"), 1);
  EXPECT_EQ(TippsDatei::Ziehen(1, ".0000"), 1) << "a single tip: index 1, which does not exist";
  EXPECT_NE(TippsDatei::Ziehen(20, ".0001.0002.0003"), 2);
  // The history: newest first, ten entries of four digits.
  QString h = ".0000";
  for (int i = 1; i <= 12; ++i) h = TippsDatei::VerlaufMit(i, h);
  EXPECT_EQ(h.size(), 50);
  EXPECT_TRUE(h.startsWith(".0012.0011"));
  EXPECT_TRUE(h.endsWith(".0003"));
}

TEST_F(TipsTest, Fenster) {
  DateiSchreiben(datei(), "[Infos]\r\nFrage=Schon gewusst?\r\nHeader=Tipp {Major}\r\nNull\r\nEins~Zwei\r\n"
                          "Zwei!\r\nDrei\r\nVier\r\n");
  {
    Tips t;
    EXPECT_EQ(t.windowTitle(), QString("Tipp %1").arg(SKRIBON_VERSION_MAJOR));
    EXPECT_EQ(t.bezTip0->text(), "Schon gewusst?");
    EXPECT_TRUE(t.strgAutoTipp->isChecked());
    const QString h = ini("TippsZuletzt");
    ASSERT_EQ(h.size(), 10);
    const int i = h.mid(1, 4).toInt();
    ASSERT_TRUE(i >= 1 && i <= 4) << h.toStdString();
    EXPECT_EQ(t.bezTip->text(), TippsDatei::Aufbereiten(t.lstTipps[i], Hilfsfenster::Homepage()));
    // Four more draws: never one of the last ones while another is left.
    for (int n = 0; n < 3; ++n) {
      t.befNext->click();
      const QString neu = ini("TippsZuletzt");
      EXPECT_FALSE(neu.mid(5).contains(neu.left(5))) << neu.toStdString();
    }
    // The check box writes at once, also when set from code.
    t.strgAutoTipp->click();
    EXPECT_EQ(ini("AutoTip"), "0");
    t.strgAutoTipp->setChecked(true);
    EXPECT_EQ(ini("AutoTip"), "1");
    // Esc and the close box only hide it; the caller unloads.
    t.show();
    t.reject();
    EXPECT_FALSE(t.isVisible());
    t.show();
    EXPECT_FALSE(t.close());
    EXPECT_FALSE(t.isVisible());
  }
  // 10,000 tips open and draw.
  QByteArray viele;
  for (int i = 0; i < 10000; ++i) viele += "Tipp Nummer " + QByteArray::number(i) + "\r\n";
  DateiSchreiben(datei(), viele);
  {
    Tips t;
    EXPECT_EQ(t.lstTipps.size(), 10000);
    EXPECT_TRUE(t.bezTip->text().startsWith("Tipp Nummer "));
    EXPECT_EQ(t.windowTitle(), "Willkommen");
    EXPECT_EQ(t.bezTip0->text(), "???");
  }
  // No file: said so, no next tip, and no more tips at start.
  QFile::remove(datei());
  Tips t;
  EXPECT_EQ(t.bezTip0->text(), "Keine Tipps gefunden!");
  EXPECT_TRUE(t.bezTip->text().contains("Tipps.Bot"));
  EXPECT_FALSE(t.befNext->isEnabled());
  EXPECT_EQ(ini("AutoTip"), "0");
}

TEST_F(TipsTest, StartNachDemErstenZeichnen) {
  DateiSchreiben(datei(), "Null\r\nEins\r\nZwei\r\n");
  Hilfsfenster::Registrieren();
  struct Fall {
    const char* starts;
    const char* autoTip;
    bool oeffnet;
  };
  for (const Fall f : {Fall{"5", "1", false}, Fall{"6", "0", false}, Fall{"6", "1", true}}) {
    Z_Alles::IniSchreiben({}, {}, "Stat_Starts", f.starts);
    Z_Alles::IniSchreiben({}, {}, "AutoTip", f.autoTip);
    bool gezeigt = false;
    HauptfensterHaken::Ausfuehren(HauptfensterHaken::Punkt::ErsterPaint);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << "never opened inside the paint";
    if (f.oeffnet)
      WennModal([&](QWidget* w) {
        gezeigt = qobject_cast<Tips*>(w) != nullptr;
        w->close();
      });
    QApplication::processEvents();
    QApplication::processEvents();
    EXPECT_EQ(gezeigt, f.oeffnet) << f.starts << " " << f.autoTip;
  }
}

}  // namespace
