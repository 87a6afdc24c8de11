#pragma once
// Opening documents, folders, web and mail addresses with the desktop's handler, and starting
// programs detached with arguments. Never through a shell: text from notes or settings is not run.
#include <QString>
#include <QStringList>

namespace Plattform {

class ShellDienst {
public:
  virtual ~ShellDienst() = default;
  // File, folder, URL ("http...", "www..."), or "mailto:" address. False when nothing could open it.
  virtual bool oeffnen(const QString& ziel) = 0;
  // Starts a program detached. Program names with ".exe" are looked up without it.
  virtual bool starten(const QString& programm, const QStringList& argumente, const QString& ordner) = 0;
};

void SetzeShellDienst(ShellDienst* dienst);  // nullptr = the real one
ShellDienst& Shell();

inline bool ShellOeffnen(const QString& ziel) { return Shell().oeffnen(ziel); }
inline bool ProgrammStarten(const QString& programm, const QStringList& argumente = {},
                            const QString& ordner = {}) {
  return Shell().starten(programm, argumente, ordner);
}

// Splits a command line as stored in settings ("prog arg1 \"arg two\"") into program and
// arguments, without a shell: quotes group, nothing is expanded. zitiert (optional) receives,
// for each part, whether quotes were written in it.
QStringList BefehlszeileZerlegen(const QString& zeile, QList<bool>* zitiert = nullptr);

}  // namespace Plattform
