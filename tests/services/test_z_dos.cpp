// Other programs: the commands built from the settings (never for a shell), the music search,
// the desktop trash on a temporary home, and the notepad delete command.
#include <QDir>
#include <QFile>
#include <QUrl>
#include <gtest/gtest.h>

#include "foundation/z_alles.h"
#include "platform/dialoge.h"
#include "services/z_dos.h"
#include "support/fixture.h"

namespace {

class DosTest : public Testhilfe::SkribonTest {
protected:
  void ini(const QString& verknuepfung) {
    DateiSchreiben(subOrdner + "/Dormik.ini", ("[Verknüpfung]\r\n" + verknuepfung + "\r\n").toUtf8());
  }
  QString korb() const { return home + "/.local/share/Trash"; }
};

TEST_F(DosTest, BefehleAusEinstellungen) {
  DateiSchreiben(prgOrdner + "/mein editor", "x");
  const QString boese = "/a b/c\"d; rm -rf ~ $(x) {Caption}";
  const struct { QStringList befehl, erwartet; } faelle[] = {
      // The Windows defaults mean the desktop's handler (an empty command).
      {Z_DOS::OrdnerBefehl("Explorer /e,/root,{Ordner}", boese, "Skribon"), {}},
      {Z_DOS::OrdnerBefehl("C:\\WINDOWS\\EXPLORER.EXE {Ordner}", boese, "Skribon"), {}},
      {Z_DOS::EditorBefehl("NotePad.exe", boese), {}},
      {Z_DOS::EditorBefehl(" notepad ", boese), {}},
      // A folder or file is one argument, whatever it holds.
      {Z_DOS::OrdnerBefehl("nautilus --browser {ORDNER}", boese, "Skribon"), {"nautilus", "--browser", boese}},
      {Z_DOS::OrdnerBefehl("fm --title={Caption} --x={Ordner}", "/x", "Skribon"),
       {"fm", "--title=Skribon", "--x=/x"}},
      {Z_DOS::OrdnerBefehl("\"/opt/mein fm/fm\" --neu", "/x", "Skribon"), {"/opt/mein fm/fm", "--neu"}},
      {Z_DOS::EditorBefehl("gedit --new-window", boese), {"gedit", "--new-window", boese}},
      {Z_DOS::EditorBefehl(prgOrdner + "/mein editor", "/t.ini"), {prgOrdner + "/mein editor", "/t.ini"}},
  };
  for (const auto& f : faelle) EXPECT_EQ(f.befehl, f.erwartet) << f.erwartet.join('|').toStdString();

  // Defaults from the settings go to the desktop; a configured editor starts in the Windows folder.
  Z_DOS::OrdnerZeigen("/daten/mein ordner");
  Z_DOS::TextEditorStarten("/x/Dormik.ini");
  EXPECT_EQ(shell.geoeffnet, QStringList({"/daten/mein ordner", "/x/Dormik.ini"}));
  ini("PrgTxtEdit=kate\r\nDateiManager=dolphin {Ordner}");
  Z_DOS::TextEditorStarten("/x/Dormik.ini");
  Z_DOS::OrdnerZeigen("/d");
  ASSERT_EQ(shell.gestartet.size(), 2);
  EXPECT_EQ(shell.gestartet[0].argumente, QStringList{"/x/Dormik.ini"});
  EXPECT_EQ(shell.gestartet[0].ordner, Z_Alles::WindowsOrdner());
  EXPECT_EQ(shell.gestartet[1].programm, "dolphin");

  // Programs that cannot start: the editor through the error handler, the file manager by a box.
  shell.ergebnis = false;
  dialoge.antwort(Plattform::vbNo);
  dialoge.antwort(Plattform::vbOK);
  Z_DOS::TextEditorStarten("/x/Dormik.ini");
  Z_DOS::OrdnerZeigen("/d");
  ASSERT_EQ(dialoge.gezeigt.size(), 2);
  EXPECT_TRUE(dialoge.gezeigt[0].text.contains("Programmstart von"));
  EXPECT_TRUE(dialoge.gezeigt[1].text.contains("DateiManager"));
}

TEST_F(DosTest, Musiksuche) {
  const QString dienst = "https://play.google.com/music/listen#/sr/";
  const struct { const char *titel, *suche; } faelle[] = {
      {"Song von Artist (Album der Woche)", "Song+Artist+"},
      {"  Ärger ß É é  ", "Ärger+ß++"},      // É, é dropped after the "++" pass
      {"a   b", "a++b"},                       // one pass shortens a run once
      {"AC/DC – Live! \"x\" 'y'", "ACDC++Live+x+'y'"},
      {"", ""},
  };
  for (const auto& f : faelle)
    EXPECT_EQ(Z_DOS::MusikAdresse(QString::fromUtf8(f.titel)), dienst + QString::fromUtf8(f.suche)) << f.titel;

  // No browser set: the link opener; the empty key is written for the user to fill.
  Z_DOS::MusikSuchen("Lied");
  EXPECT_EQ(shell.geoeffnet, QStringList{dienst + "Lied"});
  EXPECT_TRUE(DateiLesen(subOrdner + "/Dormik.ini").contains("GooglePlayBrowser="));
  for (const char* browser : {"firefox", "\"firefox\"", "\"/opt/mein browser/b"}) {
    shell.gestartet.clear();
    ini(QString("GooglePlayBrowser=") + browser);
    Z_DOS::MusikSuchen("Lied");
    ASSERT_EQ(shell.gestartet.size(), 1) << browser;
    EXPECT_EQ(shell.gestartet[0].programm, QString(browser).remove('"'));
    EXPECT_EQ(shell.gestartet[0].argumente, QStringList{dienst + "Lied"});
  }
}

TEST_F(DosTest, PapierkorbMitWiederherstellungsangaben) {
  system.uhr = QDateTime(QDate(2026, 1, 15), QTime(10, 30, 0));
  const QString a = datOrdner + "/Notiz ü.t01", b = datOrdner + "/b.inf", b2 = datOrdner + "/x/b.inf";
  for (const QString& p : {a, b, b2}) DateiSchreiben(p, "inhalt");
  const QStringList geblieben =
      Z_DOS::InPapierkorb(a + QChar(0) + b + QChar(0) + b2 + QChar(0) + datOrdner + "/fehlt" + QChar(0), false);
  EXPECT_TRUE(geblieben.isEmpty());
  EXPECT_TRUE(dialoge.gezeigt.isEmpty());
  for (const QString& p : {a, b, b2}) EXPECT_FALSE(QFile::exists(p));
  EXPECT_EQ(DateiLesen(korb() + "/files/b.inf.2"), "inhalt");  // the second of one name
  const QByteArray pfad = QFile::encodeName(a).toPercentEncoding("/");
  EXPECT_TRUE(pfad.contains("Notiz%20%C3%BC.t01"));
  EXPECT_EQ(DateiLesen(korb() + "/info/Notiz ü.t01.trashinfo"),
            "[Trash Info]\nPath=" + pfad + "\nDeletionDate=2026-01-15T10:30:00\n");
  EXPECT_EQ(DateiLesen(korb() + "/files/Notiz ü.t01"), "inhalt");

  EXPECT_TRUE(Z_DOS::InPapierkorb({}).isEmpty());  // an empty list does nothing

  // No trash can be made (a file where its folder belongs): the user learns what stayed.
  QDir(korb()).removeRecursively();
  DateiSchreiben(korb(), "kein Ordner");
  DateiSchreiben(a, "neu");
  dialoge.antwort(Plattform::vbOK);
  EXPECT_EQ(Z_DOS::InPapierkorb(a + QChar(0)), QStringList{a});
  ASSERT_EQ(dialoge.gezeigt.size(), 1);
  EXPECT_TRUE(dialoge.gezeigt[0].text.contains(a));
  EXPECT_EQ(DateiLesen(a), "neu");
}

TEST_F(DosTest, NotizblockLoeschen) {
  Testhilfe::TestHauptfenster fenster;
  Hauptfenster::SetzeInstanz(&fenster);
  fenster.notizblock = "Arbeit";
  // Names that differ in case are other notepads: only the exact spelling goes.
  const struct { const char* name; bool weg; } dateien[] = {
      {"Arbeit.inf", true},       {"Arbeit.t01", true},       {"Arbeit.p02", true},
      {"arbeit.inf", false},      {"arbeit.t01", false},      {"ARBEIT.t02", false},
      {"Arbeit.T03", false},      {"Arbeit.INF", false},      {"Arbeit.t1", false},
      {"Arbeitszeit.inf", false}, {"Arbeit.txt", false},      {"Skribon.inf", false},
  };
  QStringList erwartet;
  for (const auto& d : dateien) {
    DateiSchreiben(datOrdner + "/" + d.name, "x");
    if (d.weg) erwartet << datOrdner + "/" + d.name;
  }
  erwartet.sort();
  EXPECT_EQ(Z_DOS::NotizblockDateien(datOrdner, "Arbeit"), erwartet);

  dialoge.antwort(Plattform::vbNo);
  Z_DOS::mnuNBLöschen_Click();
  EXPECT_TRUE(fenster.geoeffneteNotizbloecke.isEmpty());
  EXPECT_TRUE(QFile::exists(datOrdner + "/Arbeit.inf"));

  // The other notepad is opened first; when that fails, nothing is deleted.
  fenster.oeffnenScheitert = true;
  dialoge.antwort(Plattform::vbYes);
  Z_DOS::mnuNBLöschen_Click();
  EXPECT_TRUE(QFile::exists(datOrdner + "/Arbeit.inf"));

  fenster.oeffnenScheitert = false;
  dialoge.antwort(Plattform::vbYes);
  Z_DOS::mnuNBLöschen_Click();
  EXPECT_EQ(fenster.geoeffneteNotizbloecke, QStringList({"Skribon", "Skribon"}));
  for (const auto& d : dateien) {
    EXPECT_EQ(QFile::exists(datOrdner + "/" + d.name), !d.weg) << d.name;
    EXPECT_EQ(QFile::exists(korb() + "/files/" + d.name), d.weg) << d.name;
  }
  EXPECT_TRUE(dialoge.gezeigt[2].text.contains("»Arbeit«"));

  // "skribon" is a notepad of its own beside "Skribon": deleting it shows "Skribon".
  fenster.notizblock = "skribon";
  fenster.geoeffneteNotizbloecke.clear();
  DateiSchreiben(datOrdner + "/skribon.t01", "x");
  dialoge.antwort(Plattform::vbYes);
  Z_DOS::mnuNBLöschen_Click();
  EXPECT_EQ(fenster.geoeffneteNotizbloecke, QStringList{"Skribon"});
  EXPECT_FALSE(QFile::exists(datOrdner + "/skribon.t01"));
  EXPECT_TRUE(QFile::exists(datOrdner + "/Skribon.inf"));

  // The default notepad goes only when another one is there to show.
  fenster.notizblock = "Skribon";
  for (const char* n : {"Arbeitszeit.inf", "arbeit.inf", "Arbeit.INF"})
    QFile::remove(datOrdner + "/" + n);
  dialoge.antwort(Plattform::vbOK);
  Z_DOS::mnuNBLöschen_Click();
  EXPECT_TRUE(dialoge.gezeigt.last().text.contains("einzige Notizblock"));
  EXPECT_TRUE(QFile::exists(datOrdner + "/Skribon.inf"));
}

}  // namespace
