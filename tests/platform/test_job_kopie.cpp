// Folder copies of generated jobs run through the real /bin/sh: whole trees with hidden files
// and empty folders, only newer files replaced, a target inside the source left out; and a job
// started "in a window" without a desktop writes its output to a log.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

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
