#pragma once
// SIGTERM, SIGHUP and SIGINT (the system shutting down, the terminal closing, Ctrl+C in it)
// run the main window's orderly exit, so the note is saved before the process ends. The signal only wakes the event
// loop; the exit itself runs there, never inside the signal handler.
namespace Signale {

void Installieren();
// Restores the previous handlers (tests).
void Entfernen();

}  // namespace Signale
