// Creates the application and shows the splash, which starts the main window.
// The folders are wired together first, in the order src/verdrahtung.cpp states.
#include <QApplication>
#include <QIcon>

#include "foundation/hauptfenster.h"
#include "notepad/signale.h"
#include "notepad/skribondiv.h"
#include "notepad/titel.h"
#include "platform/uebersetzung.h"
#include "verdrahtung.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Skribon"));
  QApplication::setOrganizationName(QStringLiteral("Dormiks-Programme"));
  QApplication::setWindowIcon(SkribonDiv::ProgrammSymbol());
  Plattform::DeutschLaden();
  Fensterplatz::WaechterEinrichten();  // every window opens inside the screen

  QStringList argumente = QApplication::arguments();
  if (!argumente.isEmpty()) argumente.removeFirst();
  SkribonDiv::Befehlszeile = argumente;

  Signale::Installieren();

  Verdrahten();

  auto* titel = new Titel;
  titel->Form_Load();
  return app.exec();
}
