#pragma once
// Program-wide values owned by the foundation: folders, read-only flag, debug state, VAT rate.
#include <QString>

namespace Z_Alles {

inline QString ordnerPrg;          // program folder (executable's folder), no trailing separator
inline QString ordnerSub;          // settings folder with Dormik.ini and Vesk_Prn.ini
inline QString ordnerDat;          // data folder: notepads, NetWatch.ini, logs
inline QString ordnerTmp;          // temp folder: safety copies, backups
inline QString ordnerCfg;          // second copy of the data folder
inline QString ordnerDatPara;      // "/OrdnerDat=" from the command line, empty when none
inline QString ordnerDatHerkunft;  // how the data folder was chosen
inline QString ordnerDatGewuenscht;  // the data folder that could not be created ("" = none)
inline bool NurLesen = false;      // read-only run, decided once at start
inline float MwStSatz = 19.0f;     // VAT rate in percent
inline int DebugModus = 0;         // 0 not yet read, -1 off, >= 1 on
inline QString DebugDatei;         // ordnerDat + "/Debug.txt"
inline bool UpdateGestartet = false;  // the version window started the update job

// The program's title and product name.
inline const QString ProgrammTitel = QStringLiteral("Skribon");
inline const QString ProduktName = QStringLiteral("Dormiks-Skribon");
inline const QString Hersteller = QStringLiteral("Dormiks-Programme");

// Resets every value above to its start state (tests).
void GlobaleZuruecksetzen();

}  // namespace Z_Alles
