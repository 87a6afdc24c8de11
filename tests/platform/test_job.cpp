// Generated jobs: written scripts run through the real /bin/sh with hostile names and texts;
// nothing in them is ever run as a command.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include "platform/job.h"
#include "support/fixture.h"

namespace {

class JobTest : public Testhilfe::SkribonTest {
protected:
  // Runs the job file with /bin/sh in the folder; its output.
  QString laufen(const QString& jobPfad, const QString& ordner) {
    QProcess p;
    p.setWorkingDirectory(ordner);
    p.start("/bin/sh", {jobPfad});
    EXPECT_TRUE(p.waitForFinished(30000));
    return QString::fromUtf8(p.readAllStandardOutput());
  }
};

const QStringList feindlich = {
    "a b'$c", "`touch GEFAHR`", "$(touch GEFAHR)", "x'; touch GEFAHR; '", "zeile\nzwei",
    "-n", "\\n und %s und \\\\", "ümlaut ß €", "\"doppelt\"", "*", "$HOME",
};

TEST_F(JobTest, FeindlicheNamenUndTexte) {
  const QString basis = wurzel + "/arbeit";
  ASSERT_TRUE(QDir().mkpath(basis));
  int nr = 0;
  for (const QString& name : feindlich) {
    SCOPED_TRACE(name.toStdString());
    const QString ordner = basis + "/" + QString::number(++nr) + name;
    ASSERT_TRUE(QDir().mkpath(ordner));
    const QString quelle = ordner + "/" + name + ".txt";
    DateiSchreiben(quelle, "Inhalt");
    const QString weg = ordner + "/weg " + name;
    DateiSchreiben(weg, "x");
    const QString ziel = ordner + "/neu/" + name;
    const QString kopieZiel = ordner + "/kopie";

    Plattform::Job job;
    job.kommentar("Titel " + name)
        .echo(name)
        .pause(3)
        .ordnerAnlegen(ordner + "/neu")
        .ordnerWechseln(ordner)
        .kopieren(quelle, ziel)
        .ordnerKopieren(ordner + "/neu", kopieZiel, true)
        .loeschen(weg)
        .starten("/bin/cp", {quelle, ordner + "/gestartet " + name}, true)
        .starten("/bin/cp", {quelle, ordner + "/hintergrund"}, false);
    const QString jobPfad = ordner + "/job " + name + ".sh";
    QString fehler;
    ASSERT_TRUE(job.schreiben(jobPfad, &fehler)) << fehler.toStdString();
    EXPECT_TRUE(job.text(jobPfad).contains("\nsleep 0\n"));

    const QString ausgabe = laufen(jobPfad, basis);
    EXPECT_EQ(ausgabe, name + "\n");
    EXPECT_EQ(DateiLesen(ziel), "Inhalt");
    EXPECT_EQ(DateiLesen(kopieZiel + "/" + name), "Inhalt");
    EXPECT_EQ(DateiLesen(ordner + "/gestartet " + name), "Inhalt");
    EXPECT_FALSE(QFile::exists(weg));
    EXPECT_FALSE(QFile::exists(jobPfad)) << "the job deletes itself";
    for (const QString& o : {basis, ordner, QDir::currentPath()})
      EXPECT_FALSE(QFile::exists(o + "/GEFAHR")) << o.toStdString();
  }
}

TEST_F(JobTest, ZitatUndZeilen) {
  EXPECT_EQ(Plattform::ShellZitat("a b'$c"), "'a b'\\''$c'");
  EXPECT_EQ(Plattform::ShellZitat(QString("n") + QChar(0) + "ul"), "'nul'");
  Plattform::Job job;
  // A line break in a comment cannot start a command line.
  job.kommentar("eins\ntouch GEFAHR\r\nzwei").prozessAbwarten(0, 5).prozessAbwarten(4242, 30);
  EXPECT_EQ(job.zeilen().mid(0, 3), QStringList({"# eins", "# touch GEFAHR", "# zwei"}));
  ASSERT_EQ(job.zeilen().size(), 4) << "pid 0 gives no step";
  EXPECT_TRUE(job.zeilen()[3].contains("kill -0 4242")) << job.zeilen()[3].toStdString();
  EXPECT_TRUE(job.text("/x/j.sh").startsWith("#!/bin/sh\n"));
  EXPECT_TRUE(job.text("/x/j.sh").endsWith("\nrm -f -- '/x/j.sh'\n"));
  Plattform::SetzeJobPausen(true);
  EXPECT_EQ(Plattform::Job().pause(4).zeilen(), QStringList{"sleep 4"});
}

TEST_F(JobTest, SchreibenInFehlendenOrdnerMeldetFehler) {
  QString fehler;
  EXPECT_FALSE(Plattform::Job().echo("x").schreiben(wurzel + "/fehlt/job.sh", &fehler));
  EXPECT_FALSE(fehler.isEmpty());
}

TEST_F(JobTest, StartUeberDieShellDienst) {
  EXPECT_TRUE(Plattform::Job::ausfuehren("/t/j.sh", "/t"));
  ASSERT_EQ(shell.gestartet.size(), 1);
  EXPECT_EQ(shell.gestartet[0].programm, "/bin/sh");
  EXPECT_EQ(shell.gestartet[0].argumente, QStringList{"/t/j.sh"});
}

}  // namespace
