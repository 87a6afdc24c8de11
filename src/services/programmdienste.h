#pragma once
// Wires the program services into the main window's start, one-second timer and exit, and
// fills the services the splash, the error handler and the calculator call (foundation/
// dienste.h). src/verdrahtung.cpp calls Registrieren once before the main window is made.
namespace Programmdienste {

void Registrieren();
// Forgets what the services remember during a run (tests).
void Zuruecksetzen();

}  // namespace Programmdienste
