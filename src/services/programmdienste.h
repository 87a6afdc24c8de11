#pragma once
// Wires the program services into the main window's start, one-second timer and exit, the
// splash and the foundation's hooks. src/main.cpp calls Registrieren once before the main
// window is made.
namespace Programmdienste {

void Registrieren();
// Forgets what the services remember during a run, and the hooks tests put in (tests).
void Zuruecksetzen();

}  // namespace Programmdienste
