// The about box: its rows, double-clicks, the debug button, the addresses, keys and life cycle.
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>
#include <QUrl>
#include <gtest/gtest.h>

#include "platform/systeminfo.h"
#include "services/version.h"
#include "windows/fenster_test.h"
#include "windows/hilfsfenster.h"
#include "windows/info.h"

namespace {

class InfoTest : public FensterTest {
protected:
  static QStringList beschriftungen(const Info& info) {
    QStringList l;
    for (const QString& z : info.Zeilen()) l << z.section('\t', 0, 0);
    return l;
  }
  static QString wert(const Info& info, const QString& beschriftung) {
    for (const QString& z : info.Zeilen())
      if (z.section('\t', 0, 0) == beschriftung) return z.section('\t', 1);
    return "?";
  }
  static void doppelklick(Info& info, int zeile) {
    info.SysInfo->setCurrentItem(info.SysInfo->topLevelItem(zeile));
    info.SysInfo_DblClick();
  }
};

TEST_F(InfoTest, ZeilenUndDoppelklicks) {
  // A data folder whose letter case a "nicer" spelling would change.
  Z_Alles::ordnerDat = wurzel + "/Mein ordner/daten";
  QDir().mkpath(Z_Alles::ordnerDat);
  DateiSchreiben(Z_Alles::ordnerDat + "/Skribon_Memo.txt", "a");
  DateiSchreiben(Z_Alles::ordnerDat + "/skribon_memo.doc", "b");
  QDir().mkpath(Z_Alles::ordnerDat + "/Skribon_Memo.dir");
  DateiSchreiben(prgOrdner + "/$Memo.txt", "c");

  Info info;
  QStringList erwartet = {"Benutzername", "Programm-Version", "Programm vom", "Programm-Datei", "Betriebssystem",
                          "Bildschirm", "Schriftarten", "Drucker"};
  if (Plattform::SystemLaufzeitSekunden() >= 0) erwartet << "System läuft seit";
  erwartet << "Programm-Ordner" << "Daten-Ordner" << "$:Einstellungen" << "$:" << "$:" << "$:";
  EXPECT_EQ(beschriftungen(info), erwartet);
  EXPECT_EQ(wert(info, "Benutzername"), "Erika Muster");
  EXPECT_TRUE(wert(info, "Programm vom").contains(" (Alter: ")) << wert(info, "Programm vom").toStdString();
  EXPECT_EQ(wert(info, "Programm-Datei"), QCoreApplication::applicationFilePath());
  EXPECT_EQ(wert(info, "Drucker"), "Laser Büro");
  EXPECT_EQ(wert(info, "Daten-Ordner"), Z_Alles::ordnerDat) << "shown as it is";
  EXPECT_EQ(wert(info, "$:Einstellungen"), subOrdner + "/Dormik.ini");
  const QStringList z = info.Zeilen();
  EXPECT_EQ(z.mid(z.size() - 3), (QStringList{"$:\t" + Z_Alles::ordnerDat + "/skribon_memo.doc",
                                               "$:\t" + Z_Alles::ordnerDat + "/Skribon_Memo.txt",
                                               "$:\t" + prgOrdner + "/$Memo.txt"}));
  EXPECT_TRUE(info.windowTitle().startsWith("Infos über Skribon · Version "));

  // A file row opens its file; a plain row and a file that is gone are shown.
  doppelklick(info, int(z.size()) - 1);
  EXPECT_EQ(shell.geoeffnet, QStringList{prgOrdner + "/$Memo.txt"});
  EXPECT_TRUE(dialoge.gezeigt.isEmpty());
  dialoge.antwort(Plattform::vbOK);
  doppelklick(info, int(erwartet.indexOf("Programm-Ordner")));
  ASSERT_EQ(dialoge.gezeigt.size(), 1);
  EXPECT_EQ(dialoge.gezeigt[0].text, "Programm-Ordner\r\n" + prgOrdner);
  EXPECT_EQ(dialoge.gezeigt[0].titel, info.windowTitle());
  QFile::remove(prgOrdner + "/$Memo.txt");
  dialoge.antwort(Plattform::vbOK);
  doppelklick(info, int(z.size()) - 1);
  EXPECT_EQ(dialoge.gezeigt.last().text, prgOrdner + "/$Memo.txt");
  EXPECT_EQ(shell.geoeffnet.size(), 1);
}

TEST_F(InfoTest, BefehleTastenUndLebenslauf) {
  Info info;
  // Debug log off: switched on, started afresh and opened.
  info.befDebug->click();
  EXPECT_EQ(Z_Alles::DebugModus, 1);
  EXPECT_TRUE(QFile::exists(Z_Alles::DebugDatei));
  EXPECT_EQ(shell.geoeffnet, QStringList{Z_Alles::DebugDatei});
  // A read-only run writes no log: it says so instead of opening nothing.
  QFile::remove(Z_Alles::DebugDatei);
  Z_Alles::NurLesen = true;
  Z_Alles::DebugModus = -1;
  dialoge.antwort(Plattform::vbOK);
  info.befDebug->click();
  ASSERT_EQ(dialoge.gezeigt.size(), 1);
  EXPECT_EQ(dialoge.gezeigt[0].text, Z_Alles::DebugDatei + " nicht gefunden.");
  EXPECT_EQ(dialoge.gezeigt[0].titel, "Debug");
  Z_Alles::NurLesen = false;

  shell.geoeffnet.clear();
  info.CopyrightEmail_Click();
  info.CopyrightWww_Click();
  ASSERT_EQ(shell.geoeffnet.size(), 2);
  EXPECT_EQ(QUrl::fromPercentEncoding(shell.geoeffnet[0].toUtf8()),
            "mailto:" + Hilfsfenster::KontaktAdresse() + "?subject=Dormiks-Skribon V" + Z_Alles::VersionsText);
  EXPECT_EQ(shell.geoeffnet[1], Hilfsfenster::Homepage());
  EXPECT_EQ(info.CopyrightEmail->text(), Hilfsfenster::KontaktAdresse() + " ");
  dialoge.antwort(Plattform::vbOK);
  QTest::mouseDClick(info.CopyrightHinweis, Qt::LeftButton);
  EXPECT_EQ(dialoge.gezeigt.last().titel, "Skribon, Anwender-Statistik");

  // The size key: width x height in pixels, the main window centred; nothing for bad answers.
  haupt.fenster.setGeometry(10, 10, 300, 200);
  struct Fall {
    const char* antwort;
    bool abbrechen;
    QSize groesse;
  };
  const QSize alt(300, 200);
  for (const Fall& f : {Fall{"100x900", false, alt}, Fall{"1024*768", false, alt}, Fall{"", true, alt},
                        Fall{"1e999x500", false, alt}, Fall{"640x480", false, QSize(640, 488)}}) {
    haupt.fenster.resize(alt);
    info.show();
    dialoge.eingabe(f.antwort, f.abbrechen);
    QTest::keyClicks(info.SysInfo, "@");
    EXPECT_EQ(dialoge.gezeigt.last().titel, "Größe des Hauptfensters");
    EXPECT_EQ(dialoge.gezeigt.last().vorgabe, "720x540");
    EXPECT_EQ(haupt.fenster.size(), f.groesse) << f.antwort;
    EXPECT_EQ(info.isVisible(), f.groesse == alt) << f.antwort << ": the box closes only on a change";
  }
  // Esc, Enter, Space and the close box only hide it; the same content comes back.
  for (Qt::Key k : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Space}) {
    info.show();
    QTest::keyClick(info.befDebug, k);
    EXPECT_FALSE(info.isVisible()) << k;
  }
  info.show();
  EXPECT_FALSE(info.close());
  EXPECT_FALSE(info.isVisible());
  EXPECT_EQ(Info::TitelGroesse(2000, 300), 36.0);
  EXPECT_DOUBLE_EQ(Info::TitelGroesse(360, 300), 30.0);

  // Registered in the main window's menu, pop-up and toolbar once it exists (at its first start
  // step).
  Hauptfenster::SetzeInstanz(nullptr);
  Hilfsfenster::Registrieren();
  EXPECT_EQ(haupt.befehl("PulInfo"), nullptr);
  Hauptfenster::SetzeInstanz(&haupt);
  HauptfensterHaken::Ausfuehren(HauptfensterHaken::Punkt::StartUeberpruefungen);
  const auto* befehl = haupt.befehl("PulInfo");
  ASSERT_NE(befehl, nullptr);
  EXPECT_EQ(befehl->orte, Hauptfenster::ImPopup | Hauptfenster::InLeiste);
  for (const char* name : {"Daten-Ordner...", "Einstellungen...", "Tipps..."}) EXPECT_NE(haupt.befehl(name), nullptr);
  bool gezeigt = false;
  WennModal([&](QWidget* w) {
    gezeigt = qobject_cast<Info*>(w) != nullptr;
    QTest::keyClick(w, Qt::Key_Escape);
  });
  befehl->action->trigger();
  EXPECT_TRUE(gezeigt);
  Hilfsfenster::Entladen();
}

}  // namespace
