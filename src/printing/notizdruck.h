#pragma once
// The main window's print commands: the current note ("&Drucken...", Ctrl+P, also in the
// pop-up menu and on the toolbar) and every note of the notepad in turn. Both go through the
// print settings window and print page by page with a heading from the template
// PrnUeberschrift.
#include <QString>

namespace Notizdruck {

// Default of the heading template: "{Name}" is the note's header, "{Seite}" the page number.
inline const QString UeberschriftVorgabe = QStringLiteral("{Name} , Seite {Seite}");

// Prints the current note (or its selection) after the print settings window.
void PulDrucken_Click();
// Prints every note whose trimmed text is longer than 3 characters; the settings window closes
// by itself for each. Cancel ends the run. The note that was current is shown again at the end.
void mnuNBDrucken_Click();

// The heading of a page: {Name} and {Seite} (letter case ignored), then every placeholder.
QString Ueberschrift(const QString& vorlage, const QString& name, int seite);

// Adds both commands to the main window's menu "&Datei" and the unload to its exit.
// src/verdrahtung.cpp calls this once before the main window is made.
void Registrieren();

}  // namespace Notizdruck
