#pragma once
// Shared use of one data folder: the multi-user file NetWatch.ini (release at exit, messages
// left for a user) and the remote-close flag files.
#include <QString>

namespace Z_Alles {

// ordnerDat + "/NetWatch.ini".
QString NetWatchDatei();
// The computer's name for the computer flag: COMPUTERNAME, else the host name.
QString ComputerName();

// Mode 0: empties [UserJetzt_<name>] User (not in a read-only run, not when
// [Allgemein] NoNetWatch is set).
void NetWatchPruefen(int modus, const QString& name);
// Once a second: shows a message left in [Nachricht] for this user within five hours of its
// time stamp, then clears it (only if no one has written a new one meanwhile). Never runs
// twice at once.
void NetzNachrichtPrüfen();
// Acts only on a reservation of the program's own, and the program makes none.
void NetzReservierungPrüfen();
// Mode 0 (start): deletes one leftover flag (the general one first), returns 0.
// Mode 1 (timer): 1 when a flag for all copies or for this computer exists.
int FernSchliessenPrüfen(int modus);

}  // namespace Z_Alles
