#include "foundation/globale.h"

namespace Z_Alles {

void GlobaleZuruecksetzen() {
  ordnerPrg.clear();
  ordnerSub.clear();
  ordnerDat.clear();
  ordnerTmp.clear();
  ordnerCfg.clear();
  ordnerDatPara.clear();
  ordnerDatHerkunft.clear();
  ordnerDatGewuenscht.clear();
  NurLesen = false;
  MwStSatz = 19.0f;
  DebugModus = 0;
  DebugDatei.clear();
  UpdateGestartet = false;
}

}  // namespace Z_Alles
