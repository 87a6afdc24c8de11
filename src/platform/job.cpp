#include "platform/job.h"

#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QStandardPaths>
#include <algorithm>

#include "platform/shell.h"
#include "platform/textdatei.h"

namespace Plattform {

namespace {
bool pausen_ = true;

int sekunden(int s) { return pausen_ ? std::max(0, s) : 0; }

// Copies what $1 holds into $2, leaving out $3. The entry of $1 on the way to $3 is left out of
// one find that hands all the others to cp in a few large batches (never one cp per file);
// unless it is $3 itself, it is then copied the same way one level down. $4 "-u" copies only
// newer files. Names come in as arguments, never as code; the subshell keeps each level's
// variables apart.
const QString kKopierFunktion = QStringLiteral(
    "skribon_kopieren() {\n"
    "  mkdir -p -- \"$2\" || return 1\n"
    "  (\n"
    "    weg=${3#\"$1\"/}; weg=${weg%%/*}; rc=0\n"
    "    if [ -e \"$1/$weg\" ] || [ -L \"$1/$weg\" ]; then\n"
    "      find \"${1:-/}\" -mindepth 1 -maxdepth 1 ! -samefile \"$1/$weg\" -exec cp -R -p $4 -t \"$2\" -- {} + || rc=1\n"
    "    else\n"
    "      find \"${1:-/}\" -mindepth 1 -maxdepth 1 -exec cp -R -p $4 -t \"$2\" -- {} + || rc=1\n"
    "    fi\n"
    "    if [ \"$1/$weg\" != \"$3\" ] && [ -d \"$1/$weg\" ] && [ ! -L \"$1/$weg\" ]; then\n"
    "      skribon_kopieren \"$1/$weg\" \"$2/$weg\" \"$3\" \"$4\" || rc=1\n"
    "    fi\n"
    "    exit $rc\n"
    "  )\n"
    "}\n");

const QString kFehlerVariable = QStringLiteral("skribon_fehler");

QString argumentListe(const QString& programm, const QStringList& argumente) {
  QString z = ShellZitat(programm);
  for (const QString& a : argumente) z += u' ' + ShellZitat(a);
  return z;
}
}  // namespace

void SetzeJobPausen(bool an) { pausen_ = an; }
bool JobPausen() { return pausen_; }

QString ShellZitat(const QString& text) {
  QString t = text;
  t.remove(QChar(0));
  t.replace(QStringLiteral("'"), QStringLiteral("'\\''"));
  return u'\'' + t + u'\'';
}

Job& Job::kommentar(const QString& text) {
  // Every line of the text stays behind its own "#": a line break must not end the comment.
  QString t = text;
  t.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
  for (const QString& z : t.split(u'\n')) zeilen_ << (QStringLiteral("# ") + z).trimmed();
  return *this;
}

Job& Job::leerzeile() {
  return zeile(QString());
}

Job& Job::echo(const QString& text) {
  // printf rather than echo: some shells' echo reads backslash escapes in the text.
  return zeile(QStringLiteral("printf '%s\\n' ") + ShellZitat(text));
}

Job& Job::titel(const QString& text) {
  // A terminal window hands itself in as fd 3 when the output goes through tee into the log.
  const QString t = ShellZitat(text);
  return zeile(QStringLiteral("if [ -t 1 ]; then printf '\\033]0;%s\\007' %1; elif [ -t 3 ]; then printf "
                              "'\\033]0;%s\\007' %1 >&3; fi")
                   .arg(t));
}

Job& Job::pause(int s) {
  return zeile(QStringLiteral("sleep %1").arg(sekunden(s)));
}

Job& Job::prozessAbwarten(qint64 pid, int hoechstens) {
  if (pid <= 0) return *this;
  return zeile(QStringLiteral("n=0; while [ \"$n\" -lt %1 ] && kill -0 %2 2>/dev/null; do sleep %3; n=$((n+1)); done")
                 .arg(std::max(0, hoechstens))
                 .arg(pid)
                 .arg(sekunden(1)));
}

Job& Job::ordnerWechseln(const QString& ordner) {
  return zeile(QStringLiteral("cd -- ") + ShellZitat(ordner));
}

Job& Job::ordnerAnlegen(const QString& ordner) {
  return zeile(QStringLiteral("mkdir -p -- ") + ShellZitat(ordner));
}

Job& Job::kopieren(const QString& quelle, const QString& ziel, bool nurNeuere) {
  return zeile((nurNeuere ? QStringLiteral("cp -p -u -- ") : QStringLiteral("cp -f -- ")) + ShellZitat(quelle) +
               u' ' + ShellZitat(ziel));
}

Job& Job::ordnerKopieren(const QString& quelle, const QString& ziel, bool nurNeuere, const QString& ohne) {
  if (!ohne.isEmpty()) {
    kopierFunktion_ = true;
    return zeile(QStringLiteral("skribon_kopieren ") + ShellZitat(quelle) + u' ' + ShellZitat(ziel) + u' ' +
                 ShellZitat(ohne) + u' ' + ShellZitat(nurNeuere ? QStringLiteral("-u") : QString()));
  }
  // "quelle/." copies what the folder holds, hidden files included, not the folder itself.
  return zeile(QStringLiteral("mkdir -p -- ") + ShellZitat(ziel) + QStringLiteral(" && cp -R -p ") +
               (nurNeuere ? QStringLiteral("-u ") : QString()) + QStringLiteral("-- ") +
               ShellZitat(quelle + QStringLiteral("/.")) + u' ' + ShellZitat(ziel));
}

Job& Job::dateienKopieren(const QStringList& quellen, const QString& zielOrdner, bool nurNeuere) {
  QString z = QStringLiteral("mkdir -p -- ") + ShellZitat(zielOrdner) + QStringLiteral(" && cp -p ") +
              (nurNeuere ? QStringLiteral("-u ") : QStringLiteral("-f ")) + QStringLiteral("--");
  for (const QString& q : quellen) z += u' ' + ShellZitat(q);
  return zeile(z + u' ' + ShellZitat(zielOrdner + u'/'));
}

Job& Job::loeschen(const QString& pfad) {
  return zeile(QStringLiteral("rm -f -- ") + ShellZitat(pfad));
}

Job& Job::starten(const QString& programm, const QStringList& argumente, bool abwarten) {
  QString z = argumentListe(programm, argumente);
  if (!abwarten) z += QStringLiteral(" </dev/null >/dev/null 2>&1 &");
  return zeile(z);
}

Job& Job::ordnerZeigen(const QString& ordner) {
  return starten(QStringLiteral("xdg-open"), {ordner}, false);
}

Job& Job::zeile(const QString& z) {
  zeilen_ << (nurOhneFehler_ ? QStringLiteral("[ -z \"$%1\" ] && ").arg(kFehlerVariable) + z : z);
  nurOhneFehler_ = false;
  return *this;
}

Job& Job::fehlerMerken(int nummer) {
  if (zeilen_.isEmpty() || zeilen_.last().isEmpty() || zeilen_.last().startsWith(u'#')) return *this;
  fehlerListe_ = true;
  zeilen_.last() += QStringLiteral(" || %1=\"$%1 %2\"").arg(kFehlerVariable).arg(nummer);
  return *this;
}

Job& Job::nurOhneFehler() {
  fehlerListe_ = true;
  nurOhneFehler_ = true;
  return *this;
}

Job& Job::ergebnisSchreiben(const QString& datei) {
  fehlerListe_ = true;
  const QString neu = datei + QStringLiteral(".neu");
  return zeile(QStringLiteral("{ if [ -z \"$%1\" ]; then printf 'ok\\n'; else printf 'fehler\\n'; "
                              "printf '%s\\n' $%1; fi; } > %2 && mv -f -- %2 %3")
                   .arg(kFehlerVariable, ShellZitat(neu), ShellZitat(datei)));
}

bool Job::ErgebnisLesen(const QString& datei, QVector<int>* fehlgeschlagen) {
  QFile f(datei);
  if (!f.open(QIODevice::ReadOnly)) return false;
  const QList<QByteArray> zeilen = f.readAll().split('\n');
  if (fehlgeschlagen) {
    fehlgeschlagen->clear();
    for (const QByteArray& z : zeilen.mid(1)) {
      bool ok = false;
      const int n = z.trimmed().toInt(&ok);
      if (ok) *fehlgeschlagen << n;
    }
    // Anything but "ok" is no good run, even when it names no step.
    if (zeilen.value(0).trimmed() != "ok" && fehlgeschlagen->isEmpty()) *fehlgeschlagen << -1;
  }
  return true;
}

QString Job::text(const QString& eigenerPfad) const {
  QString t = QStringLiteral("#!/bin/sh\n");
  if (kopierFunktion_) t += kKopierFunktion;
  if (fehlerListe_) t += kFehlerVariable + QStringLiteral("=\n");
  for (const QString& z : zeilen_) t += z + u'\n';
  t += QStringLiteral("rm -f -- ") + ShellZitat(eigenerPfad) + u'\n';
  return t;
}

bool Job::schreiben(const QString& pfad, QString* fehler) const {
  return BytesSchreibenAtomar(pfad, text(pfad).toUtf8(), fehler);
}

bool Job::ausfuehren(const QString& pfad, const QString& ordner) {
  return ProgrammStarten(QStringLiteral("/bin/sh"), {pfad}, ordner);
}

QString Job::LogPfad(const QString& jobPfad) {
  const QFileInfo f(jobPfad);
  return f.path() + u'/' + f.completeBaseName() + QStringLiteral(".log");
}

bool Job::ausfuehrenImFenster(const QString& pfad, const QString& ordner, QString* logPfad) {
  const QString log = LogPfad(pfad);
  if (logPfad) *logPfad = log;
  // Only on a desktop: without one a terminal cannot open, and its start would still succeed.
  const QString plattform = QGuiApplication::platformName();
  if (plattform == QLatin1String("xcb") || plattform.startsWith(QLatin1String("wayland"))) {
    // How each terminal takes the program to run after it.
    static const QStringList terminals[] = {
        {"gnome-terminal", "--"}, {"konsole", "-e"},        {"xfce4-terminal", "-x"},
        {"mate-terminal", "-x"},  {"xterm", "-e"},          {"x-terminal-emulator", "-e"}};
    for (const QStringList& t : terminals) {
      const QString programm = QStandardPaths::findExecutable(t[0]);
      if (programm.isEmpty()) continue;
      // Shown and kept: what went wrong can still be read after the window has closed.
      return ProgrammStarten(programm,
                             {t[1], QStringLiteral("/bin/sh"), QStringLiteral("-c"),
                              QStringLiteral("exec 3>&1; /bin/sh \"$1\" 2>&1 | tee \"$2\""), QStringLiteral("sh"), pfad, log},
                             ordner);
    }
  }
  // The paths are the shell's arguments, never part of its code.
  return ProgrammStarten(QStringLiteral("/bin/sh"),
                         {QStringLiteral("-c"), QStringLiteral("exec /bin/sh \"$1\" >\"$2\" 2>&1"),
                          QStringLiteral("sh"), pfad, log},
                         ordner);
}

}  // namespace Plattform
