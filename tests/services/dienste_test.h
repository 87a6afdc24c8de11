#pragma once
// Fixture of the program-service tests: the services' run state reset, settings helpers.
#include "platform/profil.h"
#include "services/programmdienste.h"
#include "support/fixture.h"

// Readable QString values in failure messages.
inline void PrintTo(const QString& text, std::ostream* aus) { *aus << '"' << text.toStdString() << '"'; }

namespace Testhilfe {

inline const bool dienstRuecksetzungRegistriert =
    (RegistriereZuruecksetzen(&Programmdienste::Zuruecksetzen), true);

class DiensteTest : public SkribonTest {
protected:
  QString ini() const { return subOrdner + "/Dormik.ini"; }
  void setzen(const QString& abschnitt, const QString& schluessel, const QString& wert) {
    ASSERT_TRUE(Plattform::ProfilSchreiben(ini(), abschnitt, schluessel, wert));
  }
  QString lesen(const QString& abschnitt, const QString& schluessel) const {
    return Plattform::ProfilLesen(ini(), abschnitt, schluessel, "<fehlt>");
  }
};

}  // namespace Testhilfe
