// Fuzz target for the expression evaluator and the calculator line: any bytes (as UTF-8, or as
// raw UTF-16 when the first byte is odd) must give a result or a refusal, never a crash, a hang
// or an unbounded recursion, and the evaluator's promises about its text must hold.
#include <QString>
#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "calculator/rechnerzeile.h"
#include "calculator/z_evaluate2.h"

namespace {

void pruefe(bool bedingung) {
  if (!bedingung) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* daten, size_t groesse) {
  if (groesse == 0) return 0;
  QString text;
  if (daten[0] & 1)
    text = QString::fromUtf16(reinterpret_cast<const char16_t*>(daten + 1), qsizetype((groesse - 1) / 2));
  else
    text = QString::fromUtf8(reinterpret_cast<const char*>(daten + 1), qsizetype(groesse - 1));

  using Z_Evaluate2::Fehler;
  QString kopie = text;
  Fehler fehler = Fehler::Keiner;
  bool abgelehnt = false;
  const double wert = Z_Evaluate2::Evaluate(kopie, &fehler, &abgelehnt);
  pruefe(std::isfinite(wert));
  if (fehler == Fehler::Keiner) {
    pruefe(!abgelehnt && kopie == text);
  } else {
    pruefe(wert == 0);
    pruefe(abgelehnt ? kopie == QStringLiteral("%") + text : kopie == text);
  }

  const RechnerZeile::Ergebnis e = RechnerZeile::Berechnen(text, QStringLiteral("#,###,##0.00"));
  pruefe(std::isfinite(e.wert));
  pruefe(e.verlauf.size() == 2);
  pruefe(e.berechnet == (e.fehler == Fehler::Keiner));
  if (!e.berechnet) pruefe(e.text == text && e.wert == 0 && !e.meldung.isEmpty());
  return 0;
}
