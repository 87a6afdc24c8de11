// The data backup: the typed target, where each source goes, the questions and what is left
// after each answer, and the job run for real on temporary folders.
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QtTest/QTest>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include "foundation/hauptfenster.h"
#include "foundation/z_alles.h"
#include "platform/job.h"
#include "printing/datensicherung.h"
#include "support/fixture.h"

namespace {

using namespace Z_Vario::Sicherung;

class DatensicherungTest : public Testhilfe::SkribonTest {
protected:
  QString dsOrdner() { return Z_Alles::IniLesen({}, {}, "DSOrdner", "?"); }
  QString jobPfad() const { return tmpOrdner + "/" + JobName; }
  QString gezeigtPfad() const { return wurzel + "/gezeigt"; }
  // Runs the job as it was started, with a stand-in file manager that notes where it was sent,
  // until every process it started in the background has ended too: each of them holds the
  // write end of a pipe, whose read end sees its end only when the last one is gone.
  void jobLaufen(const Testhilfe::TestShell::Start& start) {
    const QString bin = wurzel + "/bin";
    DateiSchreiben(bin + "/xdg-open", "#!/bin/sh\nprintf '%s' \"$1\" > \"" + gezeigtPfad().toUtf8() + "\"\n");
    QFile::setPermissions(bin + "/xdg-open", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("PATH", bin + ":" + env.value("PATH"));
    p.setProcessEnvironment(env);
    p.setWorkingDirectory(start.ordner);
    int rohr[2];
    ASSERT_EQ(::pipe2(rohr, O_CLOEXEC), 0);
    ::fcntl(rohr[1], F_SETFD, 0);  // inherited by the job and all it starts
    p.start(start.programm, start.argumente);
    ::close(rohr[1]);
    const bool beendet = p.waitForFinished(30000);
    bool alleBeendet = false;
    char c;
    for (const QDeadlineTimer frist(30000); !alleBeendet && !frist.hasExpired();) {
      pollfd lesen{rohr[0], POLLIN, 0};
      alleBeendet = ::poll(&lesen, 1, 100) > 0 && ::read(rohr[0], &c, 1) == 0;
    }
    ::close(rohr[0]);
    ASSERT_TRUE(beendet);
    ASSERT_TRUE(alleBeendet) << "a process of the job still runs";
  }
};

TEST_F(DatensicherungTest, ZielOrdnerUndZielJeQuelle) {
  DateiSchreiben(wurzel + "/datei", "x");
  struct Fall {
    QString eingabe, ziel, fehlerTeil;
  };
  const Fall faelle[] = {
      {"~/Sicherung\\", home + "/Sicherung", {}},
      {"~", home, {}},
      {wurzel + "/a b/'q' \"d\" $HOME ü/", wurzel + "/a b/'q' \"d\" $HOME ü", {}},
      {wurzel + "/DS {jjjj-mm-tt} {hh-mm}", wurzel + "/DS 2026-01-15 10-30", {}},
      {wurzel + "\\x\\y", wurzel + "/x/y", {}},
      {"Sicherung", {}, "kein vollständiger Pfad"},
      {"C:\\Daten", {}, "kein vollständiger Pfad"},
      {"   ", {}, "kein Zielordner"},
      {wurzel + "/datei", {}, "ist eine Datei"},
      {wurzel + "/datei/unten", {}, "ist eine Datei"},
  };
  for (const Fall& f : faelle) {
    SCOPED_TRACE(f.eingabe.toStdString());
    QString fehler;
    EXPECT_EQ(ZielOrdner(f.eingabe, &fehler), f.ziel);
    EXPECT_EQ(fehler.isEmpty(), f.fehlerTeil.isEmpty()) << fehler.toStdString();
    if (!f.fehlerTeil.isEmpty()) {
      EXPECT_TRUE(fehler.contains(f.fehlerTeil)) << fehler.toStdString();
    }
  }
  EXPECT_EQ(ZielFuer("/T", "/home/u/prg"), "/T/home/u/prg");
  EXPECT_EQ(ZielFuer("/T/", "//home//u/"), "/T/home//u");
  EXPECT_EQ(ZielFuer("/T", "C:\\Daten\\x"), "/T/Daten/x");
  EXPECT_EQ(ZielFuer("/", "/home/u"), "/home/u");
}

TEST_F(DatensicherungTest, AntwortenUndWasBleibt) {
  // The command of the menu "&Datei". Cancel in the input box: nothing stored, nothing written.
  Testhilfe::TestHauptfenster haupt;
  Hauptfenster::SetzeInstanz(&haupt);
  Z_Vario::DatensicherungRegistrieren();
  const auto* befehl = haupt.befehl("mnuDatensicherung");
  ASSERT_NE(befehl, nullptr);
  EXPECT_EQ(befehl->menue, "&Datei");
  dialoge.eingabe("", true);
  befehl->action->trigger();
  ASSERT_EQ(dialoge.gezeigt.size(), 1);
  EXPECT_TRUE(dialoge.gezeigt[0].titel.startsWith("Datensicherung - Dormiks-Skribon "));
  EXPECT_EQ(dialoge.gezeigt[0].vorgabe, tmpOrdner + "/DS Dormiks-Skribon {jjjj-mm-tt} {hh-mm}");
  EXPECT_TRUE(dialoge.gezeigt[0].text.contains("USB-Laufwerk sein.\r\n\r\nPlatzhalter für z. B.\r\nDatum"));
  EXPECT_EQ(dsOrdner(), "?");

  // A relative target is stored as typed but refused; a file in place of the folder too.
  for (const QString& falsch : {QString("Sicherung"), home}) {
    if (falsch == home) DateiSchreiben(home + "/belegt", "x");
    dialoge.gezeigt.clear();
    dialoge.eingabe(falsch == home ? "~/belegt" : falsch);
    dialoge.antwort(Plattform::vbOK);
    Z_Vario::Datensicherung();
    ASSERT_EQ(dialoge.gezeigt.size(), 2);
    EXPECT_TRUE(dialoge.gezeigt[1].text.endsWith("Die Datensicherung wurde nicht gestartet."));
    EXPECT_EQ(dsOrdner(), falsch == home ? "~/belegt" : falsch);
  }

  // Cancel in the confirmation: the answer is kept, no job.
  dialoge.gezeigt.clear();
  dialoge.eingabe("~/Sich {jjjj}\\");
  dialoge.antwort(Plattform::vbCancel);
  Z_Vario::Datensicherung();
  ASSERT_EQ(dialoge.gezeigt.size(), 2);
  const auto& frage = dialoge.gezeigt[1];
  EXPECT_EQ(frage.knoepfe, Plattform::vbOKCancel | Plattform::vbExclamation);
  EXPECT_TRUE(frage.text.startsWith("Ganz wichtig: Diese Funktion ist nur eine Zwischenlösung"));
  EXPECT_TRUE(frage.text.contains("»" + home + "/Sich 2026« gesichert:\r\n\r\n" + prgOrdner + "/*.*\r\n" +
                                  datOrdner + "/*.*\r\n" + subOrdner + "/Dormik.ini\r\n" + subOrdner +
                                  "/Vesk*.ini\r\n\r\nÜberprüfen Sie"))
      << frage.text.toStdString();
  EXPECT_EQ(dsOrdner(), "~/Sich {jjjj}\\");
  EXPECT_FALSE(QFile::exists(jobPfad()));
  EXPECT_TRUE(shell.gestartet.isEmpty());

  // OK, but the job cannot be written (a folder in its place): told, nothing started.
  ASSERT_TRUE(QDir().mkpath(jobPfad()));
  dialoge.gezeigt.clear();
  dialoge.eingabe("~/Sich");
  dialoge.antwort(Plattform::vbOK);
  dialoge.antwort(Plattform::vbOK);
  Z_Vario::Datensicherung();
  ASSERT_EQ(dialoge.gezeigt.size(), 3);
  EXPECT_TRUE(dialoge.gezeigt[2].text.startsWith("Die Datensicherung konnte nicht gestartet werden."));
  EXPECT_TRUE(shell.gestartet.isEmpty());
  EXPECT_TRUE(dialoge.alleBeantwortet());
}

TEST_F(DatensicherungTest, JobLaeuftWirklich) {
  // The data folder is inside the program folder, and the target inside the data folder.
  DateiSchreiben(prgOrdner + "/Skribon", "programm");
  DateiSchreiben(prgOrdner + "/.versteckt", "v");
  ASSERT_TRUE(QDir().mkpath(prgOrdner + "/leer"));
  DateiSchreiben(datOrdner + "/Skribon 'x' $HOME ü.ntz", "notizen");
  DateiSchreiben(datOrdner + "/alt.ntz", "neu");
  DateiSchreiben(subOrdner + "/Dormik.ini", "[Skribon]\r\n");
  DateiSchreiben(subOrdner + "/vesk_PRN.INI", "[Preset]\r\n");
  DateiSchreiben(subOrdner + "/Fremd.ini", "nein");
  const QString eingabe = datOrdner + "/Sicherung \"a\" $x ü";
  const QString t = eingabe;
  DateiSchreiben(t + datOrdner + "/alt.ntz", "alt");
  {
    QFile f(t + datOrdner + "/alt.ntz");
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    f.setFileTime(QDateTime::currentDateTime().addDays(-2), QFileDevice::FileModificationTime);
  }

  Z_Alles::DebugModus = 1;
  dialoge.eingabe(eingabe);
  dialoge.antwort(Plattform::vbOK);
  Z_Vario::Datensicherung();
  ASSERT_EQ(shell.gestartet.size(), 1);
  // One step and one debug-log line per source (folder, folder, file, pattern).
  EXPECT_EQ(QString::fromUtf8(DateiLesen(Z_Alles::DebugDatei)).count("DS: "), 4);
  const auto start = shell.gestartet[0];
  EXPECT_EQ(start.programm, "/bin/sh");
  EXPECT_EQ(start.argumente.value(3), jobPfad());
  const QString text = QString::fromUtf8(DateiLesen(jobPfad()));
  for (const char* zeile : {"# Datensicherung / Kopierjob\n", "printf '%s\\n' '*** Das wars ***'\n", "sleep 0\n",
                            "# Zeige die Datensicherung im Explorer\n", "# Abschliessend das Script wieder loeschen\n"})
    EXPECT_TRUE(text.contains(zeile)) << zeile;

  dialoge.antwort(Plattform::vbOK);
  jobLaufen(start);
  for (int i = 0; i < 200 && dialoge.gezeigt.size() < 3; ++i) QTest::qWait(25);
  ASSERT_EQ(dialoge.gezeigt.size(), 3);
  EXPECT_TRUE(dialoge.gezeigt[2].text.endsWith("« ist abgeschlossen."));

  const QString log = QString::fromUtf8(DateiLesen(tmpOrdner + "/x-dsSkribon.log"));
  EXPECT_TRUE(log.endsWith("*** Das wars ***\n")) << log.toStdString();
  EXPECT_EQ(DateiLesen(t + prgOrdner + "/Skribon"), "programm");
  EXPECT_EQ(DateiLesen(t + prgOrdner + "/.versteckt"), "v");
  EXPECT_TRUE(QFileInfo(t + prgOrdner + "/leer").isDir());
  EXPECT_EQ(DateiLesen(t + datOrdner + "/Skribon 'x' $HOME ü.ntz"), "notizen");
  EXPECT_EQ(DateiLesen(t + datOrdner + "/alt.ntz"), "neu") << "an older copy is replaced";
  EXPECT_EQ(DateiLesen(t + prgOrdner + "/Daten/Skribon 'x' $HOME ü.ntz"), "notizen");
  EXPECT_EQ(DateiLesen(t + subOrdner + "/Dormik.ini"), DateiLesen(subOrdner + "/Dormik.ini"));
  EXPECT_EQ(DateiLesen(t + subOrdner + "/vesk_PRN.INI"), "[Preset]\r\n");
  EXPECT_FALSE(QFile::exists(t + subOrdner + "/Fremd.ini"));
  EXPECT_FALSE(QFileInfo::exists(t + datOrdner + "/Sicherung \"a\" $x ü")) << "no copy of the target into itself";
  EXPECT_FALSE(QFileInfo::exists(t + prgOrdner + "/Daten/Sicherung \"a\" $x ü"));
  EXPECT_EQ(DateiLesen(gezeigtPfad()), t.toUtf8());
  EXPECT_FALSE(QFile::exists(jobPfad()));
}

// The program learns how the job went and says so; the file manager opens only after a good copy.
TEST_F(DatensicherungTest, AusgangWirdGemeldet) {
  DateiSchreiben(datOrdner + "/Notiz.t01", "text");
  DateiSchreiben(subOrdner + "/Dormik.ini", "[Skribon]\r\n");
  const QString log = tmpOrdner + "/x-dsSkribon.log";
  struct Fall {
    const char* name;
    QString imWeg;  // a file where a copy's folder must go
    bool gut;
  };
  // Inside the data folder: the copies leave the target out.
  const QString t = datOrdner + "/Sicherung";
  const Fall faelle[] = {
      {"alles kopiert", {}, true},
      {"Daten-Ordner blockiert", t + datOrdner, false},
      {"alle Quellen blockiert", t + "/" + wurzel.section('/', 1, 1), false},
  };
  for (const Fall& f : faelle) {
    SCOPED_TRACE(f.name);
    QDir(t).removeRecursively();
    QFile::remove(t);
    QFile::remove(gezeigtPfad());
    if (!f.imWeg.isEmpty()) DateiSchreiben(f.imWeg, "im Weg");
    shell.gestartet.clear();
    dialoge.gezeigt.clear();
    dialoge.eingabe(t);
    dialoge.antwort(Plattform::vbOK);
    dialoge.antwort(Plattform::vbOK);
    Z_Vario::Datensicherung();
    ASSERT_EQ(shell.gestartet.size(), 1);
    jobLaufen(shell.gestartet[0]);
    for (int i = 0; i < 200 && dialoge.gezeigt.size() < 3; ++i) QTest::qWait(25);
    ASSERT_EQ(dialoge.gezeigt.size(), 3);
    const Plattform::DialogAufzeichnung& box = dialoge.gezeigt[2];
    if (f.gut) {
      EXPECT_EQ(box.text, "Die Datensicherung nach »" + t + "« ist abgeschlossen.");
      EXPECT_EQ(box.knoepfe, Plattform::vbInformation);
      EXPECT_EQ(DateiLesen(gezeigtPfad()), t.toUtf8());
      EXPECT_EQ(DateiLesen(t + datOrdner + "/Notiz.t01"), "text");
      continue;
    }
    EXPECT_EQ(box.knoepfe, Plattform::vbExclamation);
    EXPECT_TRUE(box.text.startsWith("Die Datensicherung nach »" + t + "« ist fehlgeschlagen.")) << box.text.toStdString();
    EXPECT_TRUE(box.text.contains("\r\n" + datOrdner + "/*.*\r\n")) << box.text.toStdString();
    EXPECT_EQ(box.text.contains(subOrdner + "/Dormik.ini"), !f.imWeg.endsWith(datOrdner)) << box.text.toStdString();
    EXPECT_TRUE(box.text.endsWith("»" + log + "«.")) << box.text.toStdString();
    EXPECT_TRUE(DateiLesen(log).contains("mkdir")) << DateiLesen(log).toStdString();
    EXPECT_FALSE(QFile::exists(gezeigtPfad())) << "no file manager after a failed copy";
    QFile::remove(f.imWeg);
  }
  EXPECT_TRUE(dialoge.alleBeantwortet());
}

}  // namespace
