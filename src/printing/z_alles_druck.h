#pragma once
// The printing part of Z_Alles: the print preset of the open notepad and the choice of the
// program's current printer.
#include <QString>

namespace Z_Alles {

// Section of Vesk_Prn.ini with the print settings of the open notepad ("Skribon_<notepad>").
inline QString PresetName;

// Makes the printer with this device name (letter case ignored) current; with two equal names
// the later one. A name that matches no printer changes nothing.
void DruckerWählen(const QString& geraeteName);

// A failure of the current printer goes to the central handler (aufruferText, quelle) and is
// cleared. True when the user chose to leave the print; false when there was none or to go on.
bool DruckerFehlerAbbruch(const QString& aufruferText, const QString& quelle);

}  // namespace Z_Alles
