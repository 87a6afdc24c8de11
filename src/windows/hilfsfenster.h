#pragma once
// The small windows around the notepad: the folders window, the about box, the options window
// and the tips of the day. Registrieren puts their commands into the main window's menus, opens
// the tips after the first paint and lends the about box to the calculator; src/verdrahtung.cpp
// calls it once before the main window is made.
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

// The maker's addresses.
QString Homepage();
QString KontaktAdresse();

// What the windows call for mail, documents, the text editor and the file manager.
void MailAnHersteller(const QString& betreff);
void DokumentAnzeigen(const QString& datei);
void DateiBearbeiten(const QString& datei);
void OrdnerAnzeigen(const QString& ordner);

}  // namespace Hilfsfenster
