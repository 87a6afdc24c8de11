#pragma once
// SIGTERM, SIGHUP and SIGINT (the system shutting down, the terminal closing, Ctrl+C in it)
// end the program through the main window's exit without questions, so the note is saved (or
// copied) before the process ends, whatever box is open. The signal only wakes the event loop;
// the exit itself runs there, never inside the signal handler.
namespace Signale {

void Installieren();
// Restores the previous handlers (tests).
void Entfernen();

}  // namespace Signale
