#pragma once
// The small windows around the notepad: the folders window, the about box, the options window
// and the tips of the day. Registrieren puts their commands into the main window's menus, opens
// the tips after the first paint and lends the about box to the calculator; src/main.cpp calls
// it once before the main window is made.
#include <QString>

class QWidget;

namespace Hilfsfenster {

void Registrieren();

// The main window's commands.
void mnuDatenOrdner_Click();  // saves the note, shows the folders window, unloads it
void PulInfo_Click();         // shows the about box
void mnuSetup_Click();        // shows the options window on page "Farben", then repaints the tabs
void mnuTips_Click();         // shows the tips of the day
// After the first paint: the tips open by themselves when AutoTip is not 0 and the program has
// been started more than five times.
void TippsBeimStart();
// The about box, owned by besitzer (the calculator uses it too).
void InfoZeigen(QWidget* besitzer);
// Unloads the about box at the program's end.
void Entladen();

// The maker's addresses (build constants).
QString Homepage();
QString KontaktAdresse();

// Services of other parts of the program; while empty, the desktop's own handler opens the
// file, folder or "mailto:" address.
inline void (*Mailer)(const QString& an, const QString& betreff) = nullptr;
inline void (*DokumentOeffnen)(const QString& datei) = nullptr;
inline void (*TextEditorStarten)(const QString& datei) = nullptr;
inline void (*OrdnerZeigen)(const QString& ordner) = nullptr;

// What the windows call for these: the service when filled, else the shell.
void MailAnHersteller(const QString& betreff);
void DokumentAnzeigen(const QString& datei);
void DateiBearbeiten(const QString& datei);
void OrdnerAnzeigen(const QString& ordner);

}  // namespace Hilfsfenster
