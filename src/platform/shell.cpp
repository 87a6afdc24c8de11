// Desktop "open" and detached program start, never through a shell.
#include "platform/shell.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

namespace Plattform {

namespace {

QUrl zielUrl(const QString& ziel) {
  const QString t = ziel.trimmed();
  const QString klein = t.toLower();
  if (klein.startsWith("mailto:") || klein.contains("://")) return QUrl(t, QUrl::TolerantMode);
  if (klein.startsWith("www.")) return QUrl("https://" + t, QUrl::TolerantMode);
  return QUrl::fromLocalFile(QDir::fromNativeSeparators(t));
}

// "notepad.exe" from old settings: look for the name without ".exe" as well.
QString programmFinden(const QString& programm) {
  QString p = programm.trimmed();
  if (QFileInfo(p).isFile()) return p;
  if (p.endsWith(".exe", Qt::CaseInsensitive)) {
    const QString ohne = p.left(p.size() - 4);
    if (QFileInfo(ohne).isFile()) return ohne;
    p = ohne;
  }
  const QString gefunden = QStandardPaths::findExecutable(p);
  if (!gefunden.isEmpty()) return gefunden;
  const QString klein = QStandardPaths::findExecutable(p.toLower());
  return klein.isEmpty() ? p : klein;
}

class EchteShell : public ShellDienst {
public:
  bool oeffnen(const QString& ziel) override {
    if (ziel.trimmed().isEmpty()) return false;
    return QDesktopServices::openUrl(zielUrl(ziel));
  }
  bool starten(const QString& programm, const QStringList& argumente, const QString& ordner) override {
    if (programm.trimmed().isEmpty()) return false;
    return QProcess::startDetached(programmFinden(programm), argumente, ordner);
  }
};

EchteShell echte_;
ShellDienst* dienst_ = nullptr;

}  // namespace

void SetzeShellDienst(ShellDienst* dienst) { dienst_ = dienst; }
ShellDienst& Shell() { return dienst_ ? *dienst_ : echte_; }

QStringList BefehlszeileZerlegen(const QString& zeile, QList<bool>* zitiert) {
  QStringList teile;
  QString aktuell;
  bool inAnf = false, hatTeil = false, mitAnf = false;
  auto abschliessen = [&] {
    if (hatTeil) {
      teile << aktuell;
      if (zitiert) *zitiert << mitAnf;
    }
    aktuell.clear();
    hatTeil = mitAnf = false;
  };
  if (zitiert) zitiert->clear();
  for (const QChar c : zeile) {
    if (c == u'"') {
      inAnf = !inAnf;
      hatTeil = mitAnf = true;
    } else if (!inAnf && (c == u' ' || c == u'\t' || c == u'\r' || c == u'\n')) {
      // Only these separate (not every QChar::isSpace): a non-breaking space in a file
      // name must not split it.
      abschliessen();
    } else {
      aktuell += c;
      hatTeil = true;
    }
  }
  abschliessen();
  return teile;
}

}  // namespace Plattform
