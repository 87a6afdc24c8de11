#pragma once
// SIGTERM and SIGHUP (the system shutting down, the terminal closing) run the main window's
// orderly exit, so the note is saved before the process ends. The signal only wakes the event
// loop; the exit itself runs there, never inside the signal handler.
namespace Signale {

void Installieren();
// Restores the previous handlers (tests).
void Entfernen();

}  // namespace Signale
