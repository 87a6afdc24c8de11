#include "platform/job.h"

#include <algorithm>

#include "platform/shell.h"
#include "platform/textdatei.h"

namespace Plattform {

namespace {
bool pausen_ = true;

int sekunden(int s) { return pausen_ ? std::max(0, s) : 0; }

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
  zeilen_ << QString();
  return *this;
}

Job& Job::echo(const QString& text) {
  // printf rather than echo: some shells' echo reads backslash escapes in the text.
  zeilen_ << QStringLiteral("printf '%s\\n' ") + ShellZitat(text);
  return *this;
}

Job& Job::pause(int s) {
  zeilen_ << QStringLiteral("sleep %1").arg(sekunden(s));
  return *this;
}

Job& Job::prozessAbwarten(qint64 pid, int hoechstens) {
  if (pid <= 0) return *this;
  zeilen_ << QStringLiteral("n=0; while [ \"$n\" -lt %1 ] && kill -0 %2 2>/dev/null; do sleep %3; n=$((n+1)); done")
                 .arg(std::max(0, hoechstens))
                 .arg(pid)
                 .arg(sekunden(1));
  return *this;
}

Job& Job::ordnerWechseln(const QString& ordner) {
  zeilen_ << QStringLiteral("cd -- ") + ShellZitat(ordner);
  return *this;
}

Job& Job::ordnerAnlegen(const QString& ordner) {
  zeilen_ << QStringLiteral("mkdir -p -- ") + ShellZitat(ordner);
  return *this;
}

Job& Job::kopieren(const QString& quelle, const QString& ziel) {
  zeilen_ << QStringLiteral("cp -f -- ") + ShellZitat(quelle) + u' ' + ShellZitat(ziel);
  return *this;
}

Job& Job::ordnerKopieren(const QString& quelle, const QString& ziel, bool nurNeuere) {
  // "quelle/." copies what the folder holds, hidden files included, not the folder itself.
  zeilen_ << QStringLiteral("mkdir -p -- ") + ShellZitat(ziel) + QStringLiteral(" && cp -R -p ") +
                 (nurNeuere ? QStringLiteral("-u ") : QString()) + QStringLiteral("-- ") +
                 ShellZitat(quelle + QStringLiteral("/.")) + u' ' + ShellZitat(ziel);
  return *this;
}

Job& Job::loeschen(const QString& pfad) {
  zeilen_ << QStringLiteral("rm -f -- ") + ShellZitat(pfad);
  return *this;
}

Job& Job::starten(const QString& programm, const QStringList& argumente, bool abwarten) {
  QString z = argumentListe(programm, argumente);
  if (!abwarten) z += QStringLiteral(" </dev/null >/dev/null 2>&1 &");
  zeilen_ << z;
  return *this;
}

QString Job::text(const QString& eigenerPfad) const {
  QString t = QStringLiteral("#!/bin/sh\n");
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

}  // namespace Plattform
