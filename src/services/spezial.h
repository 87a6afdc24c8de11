#pragma once
// The special settings box: one key of any settings file typed as "file;section;key;value",
// or a command word ("-r", "+debug", "-debug", "schreibtest").
#include <QStringList>

namespace Z_Alles {

// Help box, input box, confirmation. True only when a key of the general form was written.
bool EinstellungSpezial();

// Gives the owner write permission to every file below the folder that matches the pattern
// (symbolic links are left alone). Does nothing for an empty folder or the root folder.
void SchreibschutzEntfernen(const QString& ordner, const QString& muster);

}  // namespace Z_Alles
