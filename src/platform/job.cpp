#include "platform/job.h"

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

// Copies $1 into $2 entry by entry, leaving out $3 and going only into the folders on the way
// to it; $4 "-u" copies only newer files. Names come in as arguments, never as code.
const QString kKopierFunktion = QStringLiteral(
    "skribon_kopieren() {\n"
    "  mkdir -p -- \"$2\" || return 1\n"
    "  for e in \"$1\"/* \"$1\"/.[!.]* \"$1\"/..?*; do\n"
    "    [ -e \"$e\" ] || [ -L \"$e\" ] || continue\n"
    "    [ \"$e\" = \"$3\" ] && continue\n"
    "    case \"$3\" in\n"
    "      \"$e\"/*) [ -d \"$e\" ] && [ ! -L \"$e\" ] && skribon_kopieren \"$e\" \"$2/${e##*/}\" \"$3\" \"$4\"; continue ;;\n"
    "    esac\n"
    "    cp -R -p $4 -- \"$e\" \"$2/\"\n"
    "  done\n"
    "}\n");

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
  return zeile(QStringLiteral("[ -t 1 ] && printf '\\033]0;%s\\007' ") + ShellZitat(text));
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

QString Job::text(const QString& eigenerPfad) const {
  QString t = QStringLiteral("#!/bin/sh\n");
  if (kopierFunktion_) t += kKopierFunktion;
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
      if (logPfad) logPfad->clear();
      return ProgrammStarten(programm, {t[1], QStringLiteral("/bin/sh"), pfad}, ordner);
    }
  }
  const QString log = LogPfad(pfad);
  if (logPfad) *logPfad = log;
  // The paths are the shell's arguments, never part of its code.
  return ProgrammStarten(QStringLiteral("/bin/sh"),
                         {QStringLiteral("-c"), QStringLiteral("exec /bin/sh \"$1\" >\"$2\" 2>&1"),
                          QStringLiteral("sh"), pfad, log},
                         ordner);
}

}  // namespace Plattform
