#pragma once
// Z_SysTray: the program's icon in the desktop's notification area. A minimised main window
// hides itself into it (setting Min2Tray); a click on the icon brings the window back.
// Where the desktop has no notification area, nothing is shown and the window minimises as
// usual.
#include <QIcon>
#include <QString>

class QWidget;

namespace Z_SysTray {

// The desktop offers a notification area.
bool Verfuegbar();
// Shows the icon with a tip; a click on it restores fenster (shown, normal state, in front).
// False when there is no notification area (nothing changed).
bool Zeigen(QWidget* fenster, const QIcon& symbol, const QString& tipp);
// Removes the icon.
void Verbergen();
bool Sichtbar();
// Shows the window again and removes the icon (what a click on the icon does).
void Wiederherstellen();

}  // namespace Z_SysTray
