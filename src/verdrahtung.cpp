// The one place that states the order in which the folders are wired.
#include "verdrahtung.h"

#include "calculator/rechner.h"
#include "foundation/dienste.h"
#include "printing/notizdruck.h"
#include "printing/z_vario.h"
#include "services/links.h"
#include "services/programmdienste.h"
#include "services/z_v_allgemein.h"
#include "windows/hilfsfenster.h"
#include "windows/versionspruefung.h"

void Verdrahten() {
  Rechner::Registrieren();
  Notizdruck::Registrieren();
  Z_V_Allgemein::Registrieren();
  VersionsPrüfung::Registrieren();
  Hilfsfenster::Registrieren();
  // The editor's double-click: a copy line belongs to the copy command, whatever words it holds;
  // any other word may be a link.
  dienste.editorDoppelklick = {&Z_Vario::KopierBefehl, &Z_Alles::EditorDoppelklick};
  // Last: its exit step ends the program after the other parts have unloaded their windows.
  Programmdienste::Registrieren();
}
