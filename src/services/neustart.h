#pragma once
// The end of the program: unloading every window, and the restart after the data folder moved.
#include <QString>

namespace Plattform {
class Job;
}

namespace Z_Alles {

// Closes every window besides the main window and lets pending events run once.
void FensterEntladen();
// The last exit step: FensterEntladen, then the event loop is asked to end.
void AllesEntladen();

// The restart job for a program file: waits until the process pid has ended, starts the
// program again in the background and deletes itself.
Plattform::Job NeustartAuftrag(const QString& programm, qint64 pid);
// Where the restart job goes: the program folder, else (not writable or missing) the temp
// folder. Writes it, starts it, and ends the program at once (no orderly exit: the note was
// saved before, the new data folder is already stored). A job that cannot be written or
// started is reported; the program ends all the same, and the next start uses the new folder.
// programm: the program to start again; empty = this executable.
void NeustartJob(const QString& programm = {});

}  // namespace Z_Alles
