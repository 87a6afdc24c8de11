// Sibling programs (found through the shared settings file, started or explained) and the
// wiring of the services into the main window.
#include <QAction>
#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

#include "foundation/dienste.h"
#include "foundation/hauptfenster.h"
#include "foundation/z_alles.h"
#include "platform/dialoge.h"
#include "platform/system.h"
#include "services/links.h"
#include "services/mail.h"
#include "services/z_v_allgemein.h"
#include "support/fixture.h"
#include "dienste_test.h"  // resets the services between tests

namespace {

class SchwesterTest : public Testhilfe::SkribonTest {
protected:
  void SetUp() override {
    SkribonTest::SetUp();
    v = wurzel + "/Programme/Varnisch";
    o = wurzel + "/Programme/Ostrup";
    DateiSchreiben(v + "/varnisch", "x");           // Linux name of "Varnisch.exe"
    DateiSchreiben(o + "/Ostrup_Eingabe.EXE", "x");
    for (const QString& p : {v + "/varnisch", o + "/Ostrup_Eingabe.EXE"})
      QFile::setPermissions(p, QFile::permissions(p) | QFile::ExeOwner);
    QDir().mkpath(wurzel + "/Programme/Lumetrix");  // moved away: the folder without the program
    DateiSchreiben(subOrdner + "/Dormik.ini",
                   ("[VARNISCH]\r\nOrdnerPrg=" + QString(v).replace('/', '\\') + "\\\r\n"
                    "[Ostrup]\r\nOrdnerPrg=" + o + "\r\n[lumetrix]\r\nOrdnerPrg=" + wurzel +
                    "/Programme/Lumetrix\r\n").toUtf8());
  }
  QString v, o;
};

TEST_F(SchwesterTest, PfadeStartenUndMeldung) {
  const QString erwartet[4] = {v + "/varnisch", {}, o + "/Ostrup_Eingabe.EXE", {}};
  for (int i = 0; i < 4; ++i) EXPECT_EQ(Z_V_Allgemein::ProgrammPfad(i), erwartet[i]) << i;
  EXPECT_EQ(Z_V_Allgemein::ProgrammPfad(4), "");

  Z_V_Allgemein::SchwesterprogrammStarten(0);
  ASSERT_EQ(shell.gestartet.size(), 1);
  EXPECT_EQ(shell.gestartet[0].programm, v + "/varnisch");
  EXPECT_EQ(shell.gestartet[0].ordner, v);

  dialoge.antwort(Plattform::vbOK);
  Z_V_Allgemein::SchwesterprogrammStarten(3);
  Z_V_Allgemein::SchwesterprogrammStarten(-1);
  ASSERT_EQ(dialoge.gezeigt.size(), 1);
  EXPECT_EQ(dialoge.gezeigt[0].titel, "Lumetrix nicht installiert.");
  EXPECT_EQ(dialoge.gezeigt[0].knoepfe, Plattform::vbExclamation);
  EXPECT_EQ(dialoge.gezeigt[0].text,
            "Das Programm »Lumetrix« ist auf diesem System nicht installiert.\r\n\r\nSie können die "
            "aktuelle Version kostenlos aus dem Internet unter der URL "
            "https://www.dormiks-programme.de/download laden.\r\n\r\nStarten Sie Lumetrix bitte nach "
            "der Installation einmal manuell, damit Skribon es auf Ihrem System finden kann.");
  EXPECT_EQ(shell.gestartet.size(), 1);

  const struct { const char *pfad, *name; bool eigener; } faelle[] = {
      {"/opt/Skribon/Skribon", "skribon", true},
      {"/opt/skribon-daten/Varnisch", "Skribon", true},  // kept: the folder's name counts too
      {"/opt/v/Varnisch", "Skribon", false},
      {"", "Skribon", false},
      {"/opt/v/Varnisch", "", false},
  };
  for (const auto& f : faelle)
    EXPECT_EQ(Z_V_Allgemein::IstEigenerEintrag(f.pfad, f.name), f.eigener) << f.pfad;
}

// Installed, but the file may not be run: the user learns that, not that it is missing.
TEST_F(SchwesterTest, NichtAusfuehrbar) {
  QFile::setPermissions(v + "/varnisch", QFile::ReadOwner | QFile::WriteOwner);
  dialoge.antwort(Plattform::vbNo);
  Z_V_Allgemein::SchwesterprogrammStarten(0);
  EXPECT_TRUE(shell.gestartet.isEmpty());
  ASSERT_EQ(dialoge.gezeigt.size(), 1);
  const QString text = dialoge.gezeigt[0].text;
  EXPECT_TRUE(text.contains("Fehlernummer: 70")) << text.toStdString();
  EXPECT_TRUE(text.contains("»" + v + "/varnisch« ist vorhanden, kann aber nicht gestartet werden")) << text.toStdString();
  EXPECT_FALSE(text.contains("nicht gefunden")) << text.toStdString();
}

TEST_F(SchwesterTest, RegistrierenVerdrahtetHauptfenster) {
  Z_V_Allgemein::Registrieren();
  Testhilfe::TestHauptfenster fenster;
  Hauptfenster::SetzeInstanz(&fenster);
  using HauptfensterHaken::Punkt;
  HauptfensterHaken::Ausfuehren(Punkt::StartUeberpruefungen);

  const auto* loeschen = fenster.befehl("mnuNBLöschen");
  ASSERT_TRUE(loeschen);
  EXPECT_EQ(loeschen->menue, "&Datei");
  ASSERT_TRUE(fenster.befehl("mnuMarkGooglePlay"));
  ASSERT_TRUE(fenster.befehl("mnuHilfe"));
  EXPECT_EQ(fenster.befehl("mnuHilfe")->taste, QKeySequence(Qt::Key_F1));

  Z_Alles::NurLesen = true;
  HauptfensterHaken::Ausfuehren(Punkt::StartSperren);
  EXPECT_FALSE(loeschen->action->isEnabled());

  system.uhr = QDateTime(QDate(2026, 2, 1), QTime(9, 0));
  HauptfensterHaken::Ausfuehren(Punkt::StartMailFuss);
  EXPECT_TRUE(Z_V_Allgemein::MailFuss.endsWith("eMail vom 01.02.2026"));

  // Opening "&Weiteres" hides the entries whose path names this program (here every installed
  // sibling: the test folders are named after the test program); missing ones stay.
  HauptfensterHaken::Ausfuehren(Punkt::MenueWeiteres);
  const bool sichtbar[4] = {false, true, false, true};
  for (int i = 0; i < 4; ++i) EXPECT_EQ(fenster.programmEintragSichtbar(i), sichtbar[i]) << i;

  fenster.auswahl = "Lied";
  fenster.befehl("mnuMarkGooglePlay")->action->trigger();
  dienste.zeileMarkiert("Zeile");
  dienste.schwesterprogrammStarten(0);
  EXPECT_EQ(shell.geoeffnet, QStringList({"https://play.google.com/music/listen#/sr/Lied",
                                         "https://play.google.com/music/listen#/sr/Zeile"}));
  EXPECT_EQ(shell.gestartet.size(), 1);
  EXPECT_EQ(HauptfensterHaken::Anzahl(Punkt::EndeHilfe), 1);
}

}  // namespace
