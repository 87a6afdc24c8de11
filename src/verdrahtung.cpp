// The one place that states the order in which the folders are wired.
#include "verdrahtung.h"

#include "calculator/rechner.h"
#include "foundation/dienste.h"
#include "printing/datensicherung.h"
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
  Z_Vario::DatensicherungRegistrieren();  // "&Datei": below "Notizblock löschen..."
  VersionsPrüfung::Registrieren();
  Hilfsfenster::Registrieren();
  // The editor's double-click: a copy line belongs to the copy command, whatever words it holds;
  // any other word may be a link.
  dienste.editorDoppelklick = {&Z_Vario::KopierBefehl, &Z_Alles::EditorDoppelklick};
  // Last, so that at a point shared with other folders its steps come after theirs. Its exit step,
  // which ends the program, has a point of its own after every unload (Punkt::EndeProgramm).
  Programmdienste::Registrieren();
}
