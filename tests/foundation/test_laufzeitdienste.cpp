// Error handler, debug and usage logs, sound cues, key state and list jobs.
#include <QListWidget>

#include "foundation/dienste.h"
#include "foundation/z_alles.h"
#include "foundation/z_listjobs.h"
#include "support/fixture.h"

using namespace Z_Alles;

class Laufzeitdienste : public Testhilfe::SkribonTest {
protected:
  QString debugText() const { return QString::fromUtf8(DateiLesen(datOrdner + "/Debug.txt")); }
};

namespace {
QStringList gesendet;
double alter = 0;
}  // namespace

TEST_F(Laufzeitdienste, FehlerBehandlungErgebnisse) {
  EXPECT_EQ(FehlerBehandlung(0, "kein Fehler"), 0);
  EXPECT_TRUE(dialoge.gezeigt.isEmpty());
  EXPECT_TRUE(system.toene.isEmpty());

  struct Fall { int antwort; int ergebnis; };
  for (const Fall& f : {Fall{Plattform::vbYes, 5}, Fall{Plattform::vbNo, 5}, Fall{Plattform::vbCancel, 2}}) {
    dialoge.antwort(f.antwort);
    EXPECT_EQ(FehlerBehandlung(53, "Es ist ein Fehler im Modul ´Main´ aufgetreten.~Weiter?",
                               "Datei nicht gefunden", "Main.Laden"),
              f.ergebnis);
  }
  ASSERT_EQ(dialoge.gezeigt.size(), 3);
  const auto& box = dialoge.gezeigt[0];
  EXPECT_EQ(box.knoepfe, Plattform::vbYesNoCancel | Plattform::vbCritical);
  EXPECT_TRUE(box.titel.contains("Skribon"));
  EXPECT_TRUE(box.text.contains("»Skribon«"));
  EXPECT_TRUE(box.text.contains("im Modul »Main« aufgetreten.\r\nWeiter?"));
  EXPECT_TRUE(box.text.contains("53"));
  EXPECT_TRUE(box.text.contains("Datei nicht gefunden"));
  EXPECT_TRUE(box.text.contains("Main.Laden"));
  EXPECT_TRUE(box.text.contains("Tipp:"));
  EXPECT_FALSE(box.text.contains("älter"));
  EXPECT_EQ(system.toene, QStringList({"#SystemHand", "#SystemHand", "#SystemHand"}));
  EXPECT_EQ(IniLesen("", "Fehler", "Nummer"), "53");
  EXPECT_EQ(IniLesen("", "Fehler", "Quelle"), "Main.Laden");
  EXPECT_EQ(IniLesen("", "Fehler", "Zeit"), "15.01.2026 10:30:00");
  EXPECT_TRUE(IniLesen("", "Fehler", "Text").contains("Datei nicht gefunden"));
}

TEST_F(Laufzeitdienste, FehlerTippsUndAlteVersion) {
  struct Fall { int nummer; const char* tipp; };
  for (const Fall& f : {Fall{53, "nicht gefunden"}, Fall{70, "verweigert"}, Fall{75, "verweigert"},
                        Fall{76, "Pfad"}, Fall{61, "voll"}, Fall{7, "Arbeitsspeicher"},
                        Fall{11, "Null"}, Fall{6, "Überlauf"}}) {
    dialoge.antwort(Plattform::vbNo);
    FehlerBehandlung(f.nummer, "x");
    EXPECT_TRUE(dialoge.gezeigt.back().text.contains(QString::fromUtf8(f.tipp))) << f.nummer;
  }
  dialoge.antwort(Plattform::vbNo);
  FehlerBehandlung(1234, "x");
  EXPECT_FALSE(dialoge.gezeigt.back().text.contains("Tipp:"));

  dienste.versionsAlter = [] { return alter; };
  for (double a : {0.1, 0.5}) {
    alter = a;
    dialoge.antwort(Plattform::vbNo);
    FehlerBehandlung(5, "x");
    EXPECT_EQ(dialoge.gezeigt.back().text.contains("älter als zwei Monate"), a > 2.0 / 12) << a;
  }
}

TEST_F(Laufzeitdienste, FehlerberichtNurAufJa) {
  gesendet.clear();
  dialoge.antwort(Plattform::vbYes);
  FehlerBehandlung(9, "ohne Haken");  // Yes with nothing to send: just goes on
  EXPECT_FALSE(dialoge.gezeigt.back().text.contains("Fehlerbericht senden"));

  dienste.fehlerberichtSenden = [](const QString& t) { gesendet << t; return true; };
  dienste.diagnoseBericht = [] { return QStringLiteral("*** Diagnose ***"); };
  dialoge.antwort(Plattform::vbNo);
  EXPECT_EQ(FehlerBehandlung(9, "Nein"), 5);
  EXPECT_TRUE(gesendet.isEmpty());
  dialoge.antwort(Plattform::vbYes);
  EXPECT_EQ(FehlerBehandlung(9, "Ja"), 5);
  ASSERT_EQ(gesendet.size(), 1);
  EXPECT_TRUE(gesendet[0].contains("Ja"));
  EXPECT_TRUE(gesendet[0].contains("*** Diagnose ***"));
  EXPECT_TRUE(dialoge.gezeigt.back().text.contains("Fehlerbericht senden"));
}

TEST_F(Laufzeitdienste, FehlerWaehrendOffenerMeldung) {
  // An error raised while the error box is open (a timer step) must not stack a second box.
  static int inneresErgebnis = -1;
  dienste.fehlerberichtSenden = [](const QString&) {
    inneresErgebnis = FehlerBehandlung(11, "innen");
    return true;
  };
  dialoge.antwort(Plattform::vbYes);
  EXPECT_EQ(FehlerBehandlung(6, "aussen"), 5);
  EXPECT_EQ(inneresErgebnis, 2);
  EXPECT_EQ(dialoge.gezeigt.size(), 1);
  EXPECT_EQ(IniLesen("", "Fehler", "Nummer"), "11");  // still recorded
  dialoge.antwort(Plattform::vbCancel);
  EXPECT_EQ(FehlerBehandlung(6, "danach"), 2);
  EXPECT_EQ(dialoge.gezeigt.size(), 2);
}

TEST_F(Laufzeitdienste, DebugLogKopfUndEintraege) {
  DebugModus = 1;
  dienste.diagnoseBericht = [] { return QStringLiteral("Diagnosebericht-Inhalt"); };
  DateiSchreiben(datOrdner + "/Debug.txt", "alter Inhalt\r\n");
  ordnerDatHerkunft = "Vorgabe";
  DebugLog("clr");
  QString t = debugText();
  EXPECT_FALSE(t.contains("alter Inhalt"));
  EXPECT_TRUE(t.contains("Skribon"));
  EXPECT_TRUE(t.contains(QStringLiteral("%1.%2.%3")
                             .arg(SKRIBON_VERSION_MAJOR)
                             .arg(SKRIBON_VERSION_MINOR, 2, 10, QChar('0'))
                             .arg(SKRIBON_VERSION_REVISION, 4, 10, QChar('0'))));
  EXPECT_TRUE(t.contains(datOrdner + " (Vorgabe)"));
  EXPECT_TRUE(t.contains(tmpOrdner));
  EXPECT_TRUE(t.contains("Diagnosebericht-Inhalt"));
  EXPECT_TRUE(t.endsWith("\r\n"));

  system.tick = 5000;
  DebugLog("Programm beenden... Notiz sichern...");
  system.tick = 5250;
  system.uhr = system.uhr.addSecs(1);
  DebugLog("zweiter Schritt");
  t = debugText();
  EXPECT_TRUE(t.contains("15.01.2026 10:30:00 | 5000 | +0 ms | Programm beenden... Notiz sichern...\r\n"));
  EXPECT_TRUE(t.contains("15.01.2026 10:30:01 | 5250 | +250 ms | zweiter Schritt\r\n"));

  // "clr" on a missing file creates it.
  QFile::remove(datOrdner + "/Debug.txt");
  DebugLog("clr");
  EXPECT_TRUE(QFileInfo::exists(datOrdner + "/Debug.txt"));
}

TEST_F(Laufzeitdienste, DebugModusUndNurLesen) {
  // Off: nothing written, not even by "clr".
  DebugModus = 0;
  DebugLog("clr");
  DebugLog("still");
  EXPECT_EQ(DebugModus, -1);
  EXPECT_FALSE(QFileInfo::exists(datOrdner + "/Debug.txt"));

  // The setting is read once per run.
  DebugModus = 0;
  IniSchreiben("", "Allgemein", "DebugMode", "2");
  DebugLog("an");
  EXPECT_EQ(DebugModus, 1);
  EXPECT_TRUE(debugText().contains("| an\r\n"));
  IniSchreiben("", "Allgemein", "DebugMode", "0");
  DebugLog("noch an");
  EXPECT_TRUE(debugText().contains("| noch an\r\n"));

  NurLesen = true;
  DebugLog("clr");
  DebugLog("nur lesen");
  NutzungsLog("nur lesen");
  EXPECT_TRUE(debugText().contains("| noch an\r\n"));
  EXPECT_FALSE(debugText().contains("nur lesen"));
  EXPECT_FALSE(QFileInfo::exists(datOrdner + "/Skribon.use"));
}

TEST_F(Laufzeitdienste, NutzungsLog) {
  NutzungsLog("Start");
  system.uhr = QDateTime(QDate(2026, 2, 3), QTime(4, 5, 6));
  NutzungsLog("Ende");
  EXPECT_EQ(DateiLesen(datOrdner + "/Skribon.use"),
            "15.01.2026 10:30:00  Start\r\n03.02.2026 04:05:06  Ende\r\n");
  NutzungsLog("Rechner", "Rechner.use");
  EXPECT_EQ(DateiLesen(datOrdner + "/Rechner.use"), "03.02.2026 04:05:06  Rechner\r\n");
  NutzungsLog("woanders", wurzel + "/eigen.log");
  EXPECT_EQ(DateiLesen(wurzel + "/eigen.log"), "03.02.2026 04:05:06  woanders\r\n");
}

TEST_F(Laufzeitdienste, TonWarteUndTasten) {
  DateiSchreiben(WindowsOrdner() + "/klang.wav", "RIFF");
  DateiSchreiben(wurzel + "/eigen.wav", "RIFF");
  IniSchreiben("Win.ini", "Sounds", "Eigener", "klang.wav,Mein Klang");
  IniSchreiben("Win.ini", "Sounds", "Fehlender", "weg.wav,Gibt es nicht");
  Ton("");
  Ton("#SystemQuestion");
  Ton("#ringout");
  Ton("#Eigener");
  Ton("#Fehlender");
  Ton("#Unbekannt");
  Ton(wurzel + "/eigen.wav");
  EXPECT_EQ(system.toene, QStringList({"#SystemQuestion", "#ringout", WindowsOrdner() + "/klang.wav",
                                       "#Fehlender", "#Unbekannt", wurzel + "/eigen.wav"}));

  Warten(0.5f);
  EXPECT_DOUBLE_EQ(system.gewartet, 0.5);
  EXPECT_FALSE(IstShift());
  EXPECT_FALSE(IstStrg());
  system.shift = true;
  system.strg = true;
  EXPECT_TRUE(IstShift());
  EXPECT_TRUE(IstStrg());
#ifdef NDEBUG
  EXPECT_FALSE(InIDE());
#endif
}

TEST_F(Laufzeitdienste, ListJobs) {
  QListWidget quelle, ziel;
  quelle.addItems({"Skribon", "skribon.inf", "Rechner.Dat", "Tipps.Bot"});
  ziel.addItem("alt");
  Z_ListJobs::ListCopy(&quelle, &ziel);
  ASSERT_EQ(ziel.count(), 4);
  EXPECT_EQ(ziel.item(2)->text(), "Rechner.Dat");
  Z_ListJobs::ListCopy(&ziel, &ziel);  // the same list keeps its entries
  EXPECT_EQ(ziel.count(), 4);

  ziel.setSelectionMode(QAbstractItemView::MultiSelection);
  ziel.item(3)->setSelected(true);
  EXPECT_EQ(Z_ListJobs::ListSelectMatching(&ziel, "SKRIBON", false), 2);
  EXPECT_EQ(ziel.selectedItems().size(), 3);
  EXPECT_EQ(Z_ListJobs::ListSelectMatching(&ziel, "dat", true), 1);
  ASSERT_EQ(ziel.selectedItems().size(), 1);
  EXPECT_EQ(ziel.selectedItems()[0]->text(), "Rechner.Dat");

  EXPECT_EQ(Z_ListJobs::ListJoin(&quelle, "; "), "Skribon; skribon.inf; Rechner.Dat; Tipps.Bot; ");
  QListWidget leer;
  EXPECT_EQ(Z_ListJobs::ListJoin(&leer, "; "), "");
  EXPECT_EQ(Z_ListJobs::ListSelectMatching(nullptr, "x", true), 0);
}
