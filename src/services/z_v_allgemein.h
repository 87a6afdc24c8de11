#pragma once
// Z_V_Allgemein: what the family of programs shares: the sibling programs of the menu
// "&Weiteres", the mail footer (mail.h), and the one place where this folder's services are
// plugged into the main window.
#include <QString>

namespace Z_V_Allgemein {

// The sibling's row: settings section and executable ("varnisch;Varnisch.exe"), name in
// messages. Index 0..3 as the menu entries mnuPrg.
struct Schwester {
  QString zeile;
  QString name;
};
const Schwester* SchwesterEintrag(int index);

// Full path of the sibling's executable when it is installed (its section names a folder that
// holds it), else "". The stored name is matched without regard to case and with or without
// ".exe".
QString ProgrammPfad(int index);
// Starts the sibling, or says where to get it.
void SchwesterprogrammStarten(int index);
// Hides the menu entry of the program itself; called each time "&Weiteres" opens.
void ProgrammMenueAktualisieren();
// Whether an entry with that sibling path names the running program (eigenerName: its file
// name without folder and extension).
bool IstEigenerEintrag(const QString& pfad, const QString& eigenerName);

// Plugs mail, links, help, external and sibling programs into the main window: its commands,
// Ctrl+Alt+G, the menu "&Weiteres", the start and exit steps, the help button of message boxes
// and the error report. (The links' double-click is put in its place by src/verdrahtung.cpp.)
void Registrieren();


}  // namespace Z_V_Allgemein
