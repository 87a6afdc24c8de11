// Creates the application and shows the splash, which starts the main window.
// The steps that later parts of the program add to the main window's start, timer and exit
// are wired in here, one line each (see foundation/hauptfenster.h).
#include <QApplication>
#include <QIcon>

#include "calculator/rechner.h"
#include "foundation/hauptfenster.h"
#include "notepad/signale.h"
#include "notepad/skribondiv.h"
#include "notepad/titel.h"
#include "platform/uebersetzung.h"
#include "printing/notizdruck.h"
#include "printing/z_vario.h"
#include "services/programmdienste.h"
#include "services/z_v_allgemein.h"
#include "windows/hilfsfenster.h"
#include "windows/versionspruefung.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Skribon"));
  QApplication::setOrganizationName(QStringLiteral("Dormiks-Programme"));
  QApplication::setWindowIcon(SkribonDiv::ProgrammSymbol());
  Plattform::DeutschLaden();

  QStringList argumente = QApplication::arguments();
  if (!argumente.isEmpty()) argumente.removeFirst();
  SkribonDiv::Befehlszeile = argumente;

  Signale::Installieren();

  Rechner::Registrieren();
  Notizdruck::Registrieren();
  HauptfensterHaken::EditorDoppelklick = &Z_Vario::KopierBefehl;
  Z_V_Allgemein::Registrieren();  // after the copy command: it keeps the double-clicks it takes
  VersionsPrüfung::Registrieren();
  Hilfsfenster::Registrieren();
  // Last: its exit step ends the program after the other parts have unloaded their windows.
  Programmdienste::Registrieren();

  auto* titel = new Titel;
  titel->Form_Load();
  return app.exec();
}
