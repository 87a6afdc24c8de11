// Folder copies of generated jobs run through the real /bin/sh: whole trees with hidden files
// and empty folders, only newer files replaced, a target inside the source left out; and a job
// started "in a window" without a desktop writes its output to a log.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <functional>

#include "platform/job.h"
#include "support/fixture.h"

namespace {

class JobKopieTest : public Testhilfe::SkribonTest {
protected:
  void laufen(const Plattform::Job& job, const QString& pfad) {
    ASSERT_TRUE(job.schreiben(pfad));
    QProcess p;
    p.start("/bin/sh", {pfad});
    ASSERT_TRUE(p.waitForFinished(30000));
    EXPECT_FALSE(QFile::exists(pfad));
  }
  static void alt(const QString& pfad, int tage) {
    QFile f(pfad);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    f.setFileTime(QDateTime::currentDateTime().addDays(-tage), QFileDevice::FileModificationTime);
  }
};

TEST_F(JobKopieTest, BaumNurNeuereUndZielImQuellordner) {
  const QString q = wurzel + "/quelle 'x' $HOME ü";
  DateiSchreiben(q + "/a.txt", "neu");
  DateiSchreiben(q + "/.versteckt", "v");
  DateiSchreiben(q + "/..zwei", "z");
  DateiSchreiben(q + "/tief/unten/b.txt", "b");
  DateiSchreiben(q + "/juenger.txt", "quelle");
  ASSERT_TRUE(QDir().mkpath(q + "/leer"));
  const QString t = q + "/Sich $ ü";  // the target lies inside the source
  DateiSchreiben(t + "/alt/schon da.txt", "alt");
  const QString d = t + "/kopie";
  DateiSchreiben(d + "/a.txt", "veraltet");
  alt(d + "/a.txt", 3);
  DateiSchreiben(d + "/juenger.txt", "ziel");  // newer than its source: stays
  alt(q + "/juenger.txt", 3);

  for (bool mitAusnahme : {true, false}) {
    SCOPED_TRACE(mitAusnahme);
    const QString ziel = mitAusnahme ? d : wurzel + "/ohne";
    Plattform::Job job;
    if (mitAusnahme) job.ordnerKopieren(q, ziel, true, t);
    else job.ordnerKopieren(q + "/tief", ziel, true);
    laufen(job, wurzel + "/job.sh");
    if (!mitAusnahme) {
      EXPECT_EQ(DateiLesen(ziel + "/unten/b.txt"), "b");
      continue;
    }
    EXPECT_EQ(DateiLesen(d + "/a.txt"), "neu");
    EXPECT_EQ(DateiLesen(d + "/.versteckt"), "v");
    EXPECT_EQ(DateiLesen(d + "/..zwei"), "z");
    EXPECT_EQ(DateiLesen(d + "/tief/unten/b.txt"), "b");
    EXPECT_EQ(DateiLesen(d + "/juenger.txt"), "ziel");
    EXPECT_TRUE(QFileInfo(d + "/leer").isDir());
    EXPECT_FALSE(QFileInfo::exists(d + "/Sich $ ü")) << "the target is not copied into itself";
  }
}

// Checked steps: the job notes each failed one by its number, writes the outcome for the
// program, and runs a step that depends on them only after a good run.
TEST_F(JobKopieTest, FehlerWerdenGemerktUndGemeldet) {
  const QString q = wurzel + "/q";
  DateiSchreiben(q + "/a.txt", "a");
  DateiSchreiben(q + "/innen/b.txt", "b");
  const QString t = q + "/innen/Sich";
  DateiSchreiben(wurzel + "/blockiert", "eine Datei, wo ein Ordner hin soll");
  const QString erg = wurzel + "/ergebnis";
  struct Fall {
    const char* name;
    std::function<void(Plattform::Job&)> schritte;
    QVector<int> fehler;
  };
  const Fall faelle[] = {
      {"gut", [&](Plattform::Job& j) { j.ordnerKopieren(q, t + "/k", true, t).fehlerMerken(1); }, {}},
      {"Ziel blockiert",
       [&](Plattform::Job& j) {
         j.ordnerKopieren(q, wurzel + "/blockiert/k", true, t).fehlerMerken(1);
         j.dateienKopieren({q + "/a.txt"}, wurzel + "/d", true).fehlerMerken(2);
       },
       {1}},
      {"Datei fehlt",
       [&](Plattform::Job& j) {
         j.dateienKopieren({q + "/fehlt.txt", q + "/a.txt"}, wurzel + "/d", true).fehlerMerken(3);
         j.ordnerKopieren(q + "/innen/fehlt", wurzel + "/e", true).fehlerMerken(4);
       },
       {3, 4}},
  };
  for (const Fall& f : faelle) {
    SCOPED_TRACE(f.name);
    QFile::remove(erg);
    Plattform::Job job;
    f.schritte(job);
    job.ergebnisSchreiben(erg).nurOhneFehler().echo("gut");
    const QString pfad = wurzel + "/job.sh";
    ASSERT_TRUE(job.schreiben(pfad));
    QVector<int> fehler{99};
    EXPECT_FALSE(Plattform::Job::ErgebnisLesen(erg, &fehler)) << "no outcome before the run";
    QProcess p;
    p.start("/bin/sh", {pfad});
    ASSERT_TRUE(p.waitForFinished(30000));
    ASSERT_TRUE(Plattform::Job::ErgebnisLesen(erg, &fehler));
    EXPECT_EQ(fehler, f.fehler);
    EXPECT_EQ(p.readAllStandardOutput(), f.fehler.isEmpty() ? "gut\n" : "");
  }
  EXPECT_EQ(DateiLesen(t + "/k/innen/b.txt"), "b");
  EXPECT_FALSE(QFileInfo::exists(t + "/k/innen/Sich"));
  EXPECT_EQ(DateiLesen(wurzel + "/d/a.txt"), "a") << "a failed step does not stop the others";
}

TEST_F(JobKopieTest, FensterOhneDesktopSchreibtLog) {
  const QString pfad = wurzel + "/mein job.cmd";
  Plattform::Job job;
  job.titel("DS Titel").echo("*** Das wars ***").starten("/bin/sh", {"-c", "echo kaputt >&2"});
  ASSERT_TRUE(job.schreiben(pfad));
  QString log;
  ASSERT_TRUE(Plattform::Job::ausfuehrenImFenster(pfad, wurzel, &log));
  EXPECT_EQ(log, wurzel + "/mein job.log");
  ASSERT_EQ(shell.gestartet.size(), 1);
  const auto& s = shell.gestartet[0];
  EXPECT_EQ(s.programm, "/bin/sh");
  EXPECT_EQ(s.ordner, wurzel);
  // Run what was asked for: the output lands in the log, the job is gone.
  QProcess p;
  p.setWorkingDirectory(s.ordner);
  p.start(s.programm, s.argumente);
  ASSERT_TRUE(p.waitForFinished(30000));
  EXPECT_EQ(DateiLesen(log), "*** Das wars ***\nkaputt\n");
  EXPECT_FALSE(QFile::exists(pfad));
}

}  // namespace
