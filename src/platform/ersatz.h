#pragma once
// What the platform takes from outside in place of its own services, put in and taken out in one
// call: the test doubles of the services that reach the machine, and the help that the
// services lend to message boxes. A null member means the platform's own: the real service,
// and no help. The single setters beside each service (SetzeDialogDienst, ...) remain for a
// test that swaps one service midway.
#include <QString>

#include "platform/dialoge.h"

namespace Plattform {

class DruckerDienst;
class HttpDienst;
class ShellDienst;
class SystemDienst;
enum class AnOrtSchritt;

struct Ersatz {
  DialogDienst* dialoge = nullptr;   // message and input boxes
  ShellDienst* shell = nullptr;      // opening documents and addresses, starting programs
  SystemDienst* system = nullptr;    // clock, random numbers, keys, environment, sound cues
  HttpDienst* http = nullptr;        // downloads
  DruckerDienst* drucker = nullptr;  // printers; the current printer starts anew
  bool (*ordnerSchreibPruefung)(const QString& ordner) = nullptr;  // may a folder take new files
  int (*anOrtHaken)(AnOrtSchritt schritt) = nullptr;  // fails steps of in-place writes
  bool jobPausen = true;             // false: generated jobs are written without their waits
  HilfeFunktion hilfe = nullptr;     // the Help button of message boxes
  qint64 (*sperrUhrMs)() = nullptr;  // the clock and pause of settings-lock waits
  void (*sperrPauseUs)(int) = nullptr;
};

// Puts every replacement in at once; Ersatz{} gives the platform its own services back.
void ErsatzEinsetzen(const Ersatz& ersatz);

}  // namespace Plattform
