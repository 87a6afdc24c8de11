#pragma once
// Colour numbers as settings written by the Windows version store them: decimal or "&H..."
// hexadecimal, BGR order (0x00BBGGRR); numbers with the high bit set (0x800000nn) are system
// colours.
#include <QColor>
#include <QString>

namespace Plattform {

// Parses "255", "&HFF", "&H80000012&", "-2147483630"; ok=false (and 0) when not a colour number.
quint32 FarbZahlLesen(const QString& text, bool* ok = nullptr);
QString FarbZahlText(quint32 farbe);  // decimal, as the Windows version writes it (system colours negative)
QColor ZuQColor(quint32 farbe);       // system colours mapped to the desktop palette
quint32 AusQColor(const QColor& farbe);

}  // namespace Plattform
