// The restart after the data folder moved: the job's lines, where it goes, what happens when it
// cannot be written or started, and a real run against a stand-in program; the window unload.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QThread>

#include "foundation/hauptfenster.h"
#include "foundation/z_alles.h"
#include "platform/job.h"
#include "services/neustart.h"
#include "dienste_test.h"

namespace {

class NeustartTest : public Testhilfe::DiensteTest {
protected:
  void SetUp() override {
    DiensteTest::SetUp();
    Hauptfenster::SetzeInstanz(&fenster);
  }
  Testhilfe::TestHauptfenster fenster;
};

TEST_F(NeustartTest, Jobzeilen) {
  Plattform::SetzeJobPausen(true);  // the job as written for real, with its wait
  Z_Alles::ordnerPrg = "/opt/a b'$c";
  const Plattform::Job job = Z_Alles::NeustartAuftrag("/opt/a b'$c/Skribon", 4242);
  const QStringList erwartet = {
      "# Dormiks-Skribon - Restart",
      "printf '%s\\n' 'Warte kurz bis Programm beendet ist'",
      "sleep 4",
      "n=0; while [ \"$n\" -lt 30 ] && kill -0 4242 2>/dev/null; do sleep 1; n=$((n+1)); done",
      "printf '%s\\n' '...'",
      "printf '%s\\n' 'Starte Programm'",
      "cd -- '/opt/a b'\\''$c'",
      "'/opt/a b'\\''$c/Skribon' </dev/null >/dev/null 2>&1 &",
      "printf '%s\\n' 'Aufraeumen'",
  };
  EXPECT_EQ(job.zeilen(), erwartet);
  EXPECT_TRUE(job.text("/opt/a b'$c/x-Setup_Job.cmd").endsWith("\nrm -f -- '/opt/a b'\\''$c/x-Setup_Job.cmd'\n"));
}

TEST_F(NeustartTest, WohinUndWennEsNichtGeht) {
  struct Fall {
    const char* name;
    std::function<void()> vorbereiten;
    bool startGelingt;
    QString job;  // where the job was written and started, "" = nowhere
  };
  const QString prg = prgOrdner, tmp = tmpOrdner, w = wurzel;
  const Fall faelle[] = {
      {"Programmordner", [] {}, true, prg + "/x-Setup_Job.cmd"},
      {"Programmordner fehlt", [w] { Z_Alles::ordnerPrg = w + "/fehlt"; }, true, tmp + "/x-Setup_Job.cmd"},
      // A file in the way of both folders: nothing can be written.
      {"kein Ordner schreibbar",
       [w] {
         Testhilfe::SkribonTest::DateiSchreiben(w + "/datei", "x");
         Z_Alles::ordnerPrg = w + "/datei";
         Z_Alles::ordnerTmp = w + "/datei";
       },
       true, ""},
      {"Start misslingt", [] {}, false, ""},
  };
  for (const Fall& f : faelle) {
    SCOPED_TRACE(f.name);
    Z_Alles::ordnerPrg = prg;
    Z_Alles::ordnerTmp = tmp;
    f.vorbereiten();
    shell.gestartet.clear();
    shell.ergebnis = f.startGelingt;
    dialoge.gezeigt.clear();
    fenster.sofortBeendet = 0;
    if (f.job.isEmpty()) dialoge.antwort(Plattform::vbOK);
    Z_Alles::NeustartJob("/opt/Skribon");
    EXPECT_EQ(fenster.sofortBeendet, 1) << "ends at once in every case";
    EXPECT_EQ(fenster.beendet, 0) << "no orderly exit";
    if (f.job.isEmpty()) {
      ASSERT_EQ(dialoge.gezeigt.size(), 1);
      EXPECT_TRUE(dialoge.gezeigt[0].text.startsWith("Skribon kann sich nicht selbst neu starten."));
      EXPECT_FALSE(QFile::exists(prg + "/x-Setup_Job.cmd")) << "no job left behind";
    } else {
      EXPECT_TRUE(dialoge.gezeigt.isEmpty());
      ASSERT_EQ(shell.gestartet.size(), 1);
      EXPECT_EQ(shell.gestartet[0].programm, "/bin/sh");
      EXPECT_EQ(shell.gestartet[0].argumente, QStringList{f.job});
      EXPECT_TRUE(QString::fromUtf8(DateiLesen(f.job)).contains("'/opt/Skribon' </dev/null"));
      QFile::remove(f.job);
    }
  }
}

TEST_F(NeustartTest, EchterLaufMitErsatzprogramm) {
  // A program folder with a hostile name and a stand-in that notes where it was started.
  const QString ordner = wurzel + "/a b'$c `x`";
  ASSERT_TRUE(QDir().mkpath(ordner));
  const QString programm = ordner + "/Skribon";
  DateiSchreiben(programm, "#!/bin/sh\npwd > \"$(dirname \"$0\")/gestartet.txt\"\n");
  QFile::setPermissions(programm, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  Z_Alles::ordnerPrg = ordner;
  Z_Alles::NeustartJob(programm);
  ASSERT_EQ(shell.gestartet.size(), 1);

  QProcess sh;
  sh.start(shell.gestartet[0].programm, shell.gestartet[0].argumente);
  ASSERT_TRUE(sh.waitForFinished(30000));
  EXPECT_EQ(QString::fromUtf8(sh.readAllStandardOutput()),
            "Warte kurz bis Programm beendet ist\n...\nStarte Programm\nAufraeumen\n");
  // The program runs in the background: wait until it has written its marker.
  const QString marke = ordner + "/gestartet.txt";
  for (int i = 0; i < 200 && DateiLesen(marke).isEmpty(); ++i) QThread::msleep(50);
  EXPECT_EQ(DateiLesen(marke), (ordner + "\n").toUtf8());
  EXPECT_FALSE(QFile::exists(ordner + "/x-Setup_Job.cmd"));
}

TEST_F(NeustartTest, FensterEntladen) {
  fenster.fenster.show();
  QWidget a, b;
  a.show();
  b.show();
  Z_Alles::FensterEntladen();
  EXPECT_FALSE(a.isVisible());
  EXPECT_FALSE(b.isVisible());
  EXPECT_TRUE(fenster.fenster.isVisible()) << "the main window closes itself";
}

}  // namespace
