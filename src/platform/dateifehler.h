#pragma once
// File errors in the program's terms: the run-time error numbers the error handler's tips are
// keyed by, and German texts for the system's error codes.
#include <QFileDevice>
#include <QString>

namespace Plattform {

// Run-time error numbers of file operations.
enum LaufzeitFehler : int {
  FehlerDateiNichtGefunden = 53,
  FehlerDatentraegerVoll = 61,
  FehlerZugriffVerweigert = 70,
  FehlerPfadZugriff = 75,
  FehlerPfadNichtGefunden = 76,
};

// The run-time error number for an errno value (0 for 0).
int LaufzeitFehlerNummer(int errnoWert);
// The same for Qt's file error; errnoWert, when known, refines it.
int LaufzeitFehlerNummer(QFileDevice::FileError fehler, int errnoWert = 0);
// The same for an operation on pfad: a missing file whose folder is missing too is a missing
// path (76), not a missing file (53).
int LaufzeitFehlerNummer(int errnoWert, const QString& pfad);
// A German text for an errno value ("Kein Speicherplatz mehr auf dem Gerät"); unknown values
// give "Systemfehler <n>".
QString SystemFehlerText(int errnoWert);

}  // namespace Plattform
