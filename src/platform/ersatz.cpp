#include "platform/ersatz.h"

#include "platform/drucker.h"
#include "platform/http.h"
#include "platform/job.h"
#include "platform/profil.h"
#include "platform/shell.h"
#include "platform/system.h"
#include "platform/textdatei.h"

namespace Plattform {

void ErsatzEinsetzen(const Ersatz& ersatz) {
  SetzeDialogDienst(ersatz.dialoge);
  DialogeAbschalten(false);  // an exit in a test may have switched the boxes off
  SetzeShellDienst(ersatz.shell);
  SetzeSystemDienst(ersatz.system);
  SetzeHttpDienst(ersatz.http);
  SetzeDruckerDienst(ersatz.drucker);
  SetzeOrdnerSchreibPruefung(ersatz.ordnerSchreibPruefung);
  SetzeAnOrtHaken(ersatz.anOrtHaken);
  SetzeJobPausen(ersatz.jobPausen);
  SetzeHilfeAufruf(ersatz.hilfe);
  SetzeSperrUhr(ersatz.sperrUhrMs, ersatz.sperrPauseUs);
}

}  // namespace Plattform
