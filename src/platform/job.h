#pragma once
// Generated jobs: small POSIX shell scripts that outlive the program (restart, update, backup).
// Each step is written as one line; every path and text goes through ShellZitat, so nothing a
// user, a note or a settings file holds is ever run as a command. The script deletes itself as
// its last line and is started detached with /bin/sh.
#include <QString>
#include <QStringList>
#include <QVector>

namespace Plattform {

// One argument for the shell: in single quotes, a ' inside written as '\''. NUL characters
// (which no path can hold) are dropped.
QString ShellZitat(const QString& text);

class Job {
public:
  // A comment line ("# text"); a text with line breaks gives one comment line per line.
  Job& kommentar(const QString& text);
  Job& leerzeile();
  // Prints the text as it stands (no escapes, no variables).
  Job& echo(const QString& text);
  // The title of the terminal window the job runs in (nothing when its output is no terminal).
  Job& titel(const QString& text);
  // Waits whole seconds. A "ping -n N" pause of a batch job is pause(N - 1).
  Job& pause(int sekunden);
  // Waits until the process pid has ended, at most hoechstens seconds (pid <= 0: no step).
  Job& prozessAbwarten(qint64 pid, int hoechstens);
  // cd into the folder (a failing cd is reported by the shell; the job goes on).
  Job& ordnerWechseln(const QString& ordner);
  Job& ordnerAnlegen(const QString& ordner);  // mkdir -p
  // One file, overwriting (nurNeuere: only when it is newer than the copy already there).
  Job& kopieren(const QString& quelle, const QString& ziel, bool nurNeuere = false);
  // Files into a folder (created when missing), keeping their names, as one step.
  Job& dateienKopieren(const QStringList& quellen, const QString& zielOrdner, bool nurNeuere);
  // The contents of a folder with its subfolders, empty ones and hidden files included, into
  // ziel (created when missing); nurNeuere: a file is copied only when it is newer than the
  // copy already there. A file that cannot be copied is reported and the rest still copied.
  // ohne: a path inside quelle that is left out with all it holds (the backup's own target
  // inside a source must not be copied into itself); empty = nothing left out.
  Job& ordnerKopieren(const QString& quelle, const QString& ziel, bool nurNeuere,
                      const QString& ohne = {});
  Job& loeschen(const QString& pfad);  // rm -f
  // Runs a program with arguments; abwarten=false starts it in the background, detached from
  // the job's input and output, and the job goes on at once.
  Job& starten(const QString& programm, const QStringList& argumente = {}, bool abwarten = true);
  // Shows the folder in the desktop's file manager (xdg-open, in the background).
  Job& ordnerZeigen(const QString& ordner);

  // The step just added is checked: when it fails, the job notes nummer (the caller's name for
  // what the step did) and goes on with the next step.
  Job& fehlerMerken(int nummer);
  // The next step runs only when no checked step has failed.
  Job& nurOhneFehler();
  // Writes the outcome into datei (put in place whole): "ok", or "fehler" and the noted
  // numbers, one a line.
  Job& ergebnisSchreiben(const QString& datei);
  // What ergebnisSchreiben wrote. False while there is no such file (the job is still running);
  // fehlgeschlagen gets the noted numbers, empty after a good run.
  static bool ErgebnisLesen(const QString& datei, QVector<int>* fehlgeschlagen);

  // The whole script for the job file at eigenerPfad, ending with the line that deletes it.
  QString text(const QString& eigenerPfad) const;
  // Writes the script atomically (UTF-8, LF line ends). fehler gets a German reason.
  bool schreiben(const QString& pfad, QString* fehler = nullptr) const;
  // Starts the job file detached with /bin/sh (through the program-start service).
  static bool ausfuehren(const QString& pfad, const QString& ordner = {});
  // Starts it so that the user sees what it prints: in a terminal window when one is installed
  // and there is a desktop; its output goes into a log beside the job (the job's name with
  // ".log") either way. logPfad, when given, gets the log's path.
  static bool ausfuehrenImFenster(const QString& pfad, const QString& ordner = {}, QString* logPfad = nullptr);
  static QString LogPfad(const QString& jobPfad);

  const QStringList& zeilen() const { return zeilen_; }

private:
  Job& zeile(const QString& z);

  QStringList zeilen_;
  bool kopierFunktion_ = false;  // ordnerKopieren with ohne needs a small shell function
  bool fehlerListe_ = false;     // some step is checked
  bool nurOhneFehler_ = false;   // the next step depends on the checked ones
};

// Pauses on (default) or off: with pauses off every pause is written as 0 seconds (tests run
// real jobs without waiting).
void SetzeJobPausen(bool an);
bool JobPausen();

}  // namespace Plattform
