// Links in notes: which class a text is, what opening it hands to the desktop or starts, and
// what the editor's double-click on a word opens.
#include <QClipboard>
#include <QGuiApplication>
#include <gtest/gtest.h>

#include "foundation/z_alles.h"
#include "platform/dialoge.h"
#include "services/links.h"
#include "support/fixture.h"
#include "dienste_test.h"  // resets the services between tests

namespace {

using namespace Z_Alles;

class LinkTest : public Testhilfe::SkribonTest {
protected:
  void SetUp() override {
    SkribonTest::SetUp();
    DateiSchreiben(subOrdner + "/Dormik.ini", "[Allgemein]\r\nUser=Max\r\n");
    DateiSchreiben(datOrdner + "/brief.txt", "x");
    DateiSchreiben(prgOrdner + "/tool", "x");      // named "tool.exe" in old notes
    DateiSchreiben(prgOrdner + "/tool2.exe", "x");
  }
};

TEST_F(LinkTest, Klassen) {
  const QString brief = datOrdner + "/brief.txt";
  const struct { QString text; int typ; } faelle[] = {
      {"15.01.2026", LinkDatum},
      {"12.5.", 0},                                       // too short for a date
      {"max@beispiel.de", LinkEmail},
      {"max@www.beispiel.de", LinkEmail | LinkWeb},       // mailed and opened
      {"https://a.de/x", 0},                              // "https://" needs 17 characters
      {"https://abcde.de/x", LinkWeb},
      {"http://abc.de/x", 0},
      {"http://abc.de/xy", LinkWeb},
      {"ftp://server.de/d", LinkWeb},
      {"www.a.de", LinkWeb},
      {"www.a.d", 0},
      {"WWW2.A.DE", LinkWeb},
      {"  siehe.www.a.de  ", LinkWeb},                    // the prefix may stand anywhere
      {"siehe www.a.de", 0},                              // but an address has no blank
      {"www.a.de|www.b.de", LinkWeb},
      {brief, LinkDatei},
      {datOrdner + "/BRIEF.TXT", 0},                      // names as written
      {prgOrdner + "/tool.exe -x \"a b\"", LinkProgramm},
      {prgOrdner + "/tool2.exe -x", LinkProgramm},
      {prgOrdner + "/tool.exe", 0},                       // no arguments, no such file
      {"/nicht/da.exe -x", 0},
      {"C:\\Programme\\x.exe /s", 0},
      {"", 0},
      {QString(100000, u'a') + "www.", 0},                // no host name
      {"www.a.de/" + QString(100000, u'a'), LinkWeb},
      {QString(100000, u'a'), 0},
  };
  for (const auto& f : faelle) EXPECT_EQ(LinkTyp(f.text), f.typ) << f.text.left(80).toStdString();
}

TEST_F(LinkTest, OeffnenStartenMailen) {
  const QString prg = prgOrdner + "/tool";
  const struct {
    QString text;
    bool ergebnis;
    QStringList geoeffnet;
    QString gestartet;
    QStringList argumente;
    double warten;
  } faelle[] = {
      {"www.beispiel.de.", true, {"https://www.beispiel.de"}, {}, {}, 0},
      {"www.beispiel.de.,", true, {"https://www.beispiel.de."}, {}, {}, 0},  // only the comma goes
      {"Max@Beispiel.de,", true, {"mailto:max@beispiel.de?subject=eMail%20von%20Max"}, {}, {}, 0.5},
      {"www.a.de|www.b.de||", true, {"https://www.a.de", "https://www.b.de"}, {}, {}, 3.1 + 0.9},
      {"15.01.2026", false, {}, {}, {}, 0},
      {datOrdner + "/brief.txt", true, {datOrdner + "/brief.txt"}, {}, {}, 0},
      // The named program alone runs; the rest are its arguments, never a shell's command.
      {prgOrdner + "/tool.exe -a \"b c\" ; rm -rf ~ $(x)", true, {}, prg,
       {"-a", "b c", ";", "rm", "-rf", "~", "$(x)"}, 0},
      {"https://www.youtube.com/watch?v=abc", true, {"https://www.youtube.com/watch?v=abc"}, {}, {}, 0},
      {"Hallo", false, {}, {}, {}, 0},
  };
  for (const auto& f : faelle) {
    SCOPED_TRACE(f.text.toStdString());
    shell.geoeffnet.clear();
    shell.gestartet.clear();
    system.gewartet = 0;
    EXPECT_EQ(LinkÖffnen(f.text), f.ergebnis);
    EXPECT_EQ(shell.geoeffnet, f.geoeffnet);
    ASSERT_EQ(shell.gestartet.size(), f.gestartet.isEmpty() ? 0 : 1);
    if (!f.gestartet.isEmpty()) {
      EXPECT_EQ(shell.gestartet[0].programm, f.gestartet);
      EXPECT_EQ(shell.gestartet[0].argumente, f.argumente);
    }
    EXPECT_NEAR(system.gewartet, f.warten, 1e-6);  // waits pass through float
  }
  EXPECT_TRUE(dialoge.gezeigt.isEmpty());
}

// A note may come from anyone sharing the data folder: the opener gets an http, https or ftp
// address or nothing, and an address without a scheme gets one.
TEST_F(LinkTest, WasDenOeffnerErreicht) {
  const QString mail = "mailto:info@www.example.de?subject=eMail%20von%20Max";
  const struct { QString text; QStringList geoeffnet; } faelle[] = {
      {"file:///etc/passwd?http://www.a.de/x", {}},
      {"smb://host/x.desktop#www.a.de", {}},
      {"javascript:alert(1)//http://www.a.de", {}},
      {"JavaScript:www.a.de/x", {}},
      {"http://a.de/xyzz|javascript:x//www.b.de", {}},   // every piece or none
      {"(www.a.de)", {}},
      {"http:///etc/passwd/www", {}},                     // no host
      {"www2.a.de", {"https://www2.a.de"}},
      {"WWW3.A.DE/Pfad?q=1#Anker", {"https://WWW3.A.DE/Pfad?q=1#Anker"}},
      {"www.a.de:8080/x", {"https://www.a.de:8080/x"}},
      {"HTTP://abc.de/xy", {"HTTP://abc.de/xy"}},
      {"ftp://server.de/d", {"ftp://server.de/d"}},
      {"https://www.a.de/?u=file:///etc", {"https://www.a.de/?u=file:///etc"}},
      {"www.a.de|www2.b.de", {"https://www.a.de", "https://www2.b.de"}},
      {"info@www.example.de", {mail, "https://www.example.de"}},  // mailed, then its site
  };
  for (const auto& f : faelle) {
    SCOPED_TRACE(f.text.toStdString());
    shell.geoeffnet.clear();
    EXPECT_EQ(LinkÖffnen(f.text), !f.geoeffnet.isEmpty());
    EXPECT_EQ(shell.geoeffnet, f.geoeffnet);
    EXPECT_EQ(LinkTyp(f.text) & LinkWeb, f.geoeffnet.isEmpty() ? 0 : int(LinkWeb));
  }
  EXPECT_TRUE(shell.gestartet.isEmpty());
  EXPECT_TRUE(dialoge.gezeigt.isEmpty());
}

TEST_F(LinkTest, VideoDownloaderKopiermarkeUndFehlschlag) {
  // With an existing downloader the browser is not used; the link is on the clipboard.
  DateiSchreiben(prgOrdner + "/lader", "x");
  DateiSchreiben(subOrdner + "/Dormik.ini", ("[Verknüpfung]\r\nYouTubeDownloader=" + prgOrdner +
                                             "/lader\r\nYouTubeDownloaderPre=vorher --leise\r\n").toUtf8());
  const QString link = "https://www.youtube.com/watch?v=abc";
  EXPECT_TRUE(LinkÖffnen(link + "."));
  EXPECT_TRUE(shell.geoeffnet.isEmpty());
  ASSERT_EQ(shell.gestartet.size(), 2);
  EXPECT_EQ(shell.gestartet[0].programm, "vorher");
  EXPECT_EQ(shell.gestartet[0].argumente, QStringList{"--leise"});
  EXPECT_EQ(shell.gestartet[1].programm, prgOrdner + "/lader");
  EXPECT_EQ(shell.gestartet[1].argumente, QStringList{link});
  EXPECT_EQ(QGuiApplication::clipboard()->text(), link);
  EXPECT_DOUBLE_EQ(system.gewartet, 1.0);

  EXPECT_FALSE(LinkÖffnen("$CpyZA:Hallo~Welt"));
  EXPECT_EQ(QGuiApplication::clipboard()->text(), "Hallo\r\nWelt");

  // Nothing on this system opens it: the user is told instead of nothing happening.
  shell.ergebnis = false;
  dialoge.antwort(Plattform::vbOK);
  EXPECT_FALSE(LinkÖffnen("www.a.de"));
  ASSERT_EQ(dialoge.gezeigt.size(), 1);
  EXPECT_TRUE(dialoge.gezeigt[0].text.contains("www.a.de"));
}

// A machine whose waits deliver a second double-click, as the event loop would.
class DoppelklickImWarten : public Testhilfe::TestSystem {
public:
  void warten(double s) override {
    TestSystem::warten(s);
    if (!geklickt) {
      geklickt = true;
      zweiterKlick = LinkÖffnen("www.c.de|www.d.de");
    }
  }
  bool geklickt = false, zweiterKlick = true;
};

TEST_F(LinkTest, ZweiterKlickWaehrendListeStartetNichts) {
  DoppelklickImWarten maschine;
  Plattform::SetzeSystemDienst(&maschine);
  EXPECT_TRUE(LinkÖffnen("www.a.de|www.b.de"));
  EXPECT_FALSE(maschine.zweiterKlick);
  EXPECT_EQ(shell.geoeffnet, QStringList({"https://www.a.de", "https://www.b.de"}));
}

TEST_F(LinkTest, DoppelklickOeffnetDasWort) {
  const QString text = "Zeile mit www.a.de, drin\n\nende";
  const struct { int position; bool genommen; QStringList geoeffnet; } faelle[] = {
      {12, true, {"https://www.a.de"}},  // inside the word
      {19, true, {"https://www.a.de"}},  // the caret after a word selected by double-click
      {2, true, {}},                     // "Zeile": nothing to open
      {25, false, {}},                   // an empty line: not its click
  };
  for (const auto& f : faelle) {
    SCOPED_TRACE(f.position);
    shell.geoeffnet.clear();
    EXPECT_EQ(EditorDoppelklick(text, f.position), f.genommen);
    EXPECT_EQ(shell.geoeffnet, f.geoeffnet);
  }
  EXPECT_EQ(WortAnStelle("a\tbc d", 3), "bc");
  EXPECT_EQ(WortAnStelle("abc", 99), "abc");
}

}  // namespace
