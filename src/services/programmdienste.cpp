#include "services/programmdienste.h"

#include "foundation/dienste.h"
#include "foundation/hauptfenster.h"
#include "foundation/z_alles.h"
#include "services/diagnose.h"
#include "services/dienste_intern.h"
#include "services/mail.h"
#include "services/netwatch.h"
#include "services/neustart.h"
#include "services/statistik.h"
#include "services/version.h"

namespace Programmdienste {

namespace {
bool fernSchliessen_ = false;  // the remote close has asked for the exit
}

void Registrieren() {
  using HauptfensterHaken::Punkt;
  dienste.versionsNummer = [] {
    Z_Alles::VersionsNummer();
    return Z_Alles::VersionsText;
  };
  dienste.copyrightZeile = [] { return Z_Alles::CopyrightZeile(Z_Alles::CopyrightText()); };
  dienste.statistikText = &Z_Alles::StatistikText;
  dienste.diagnoseBericht = &Z_Alles::DiagnoseBericht;
  dienste.versionsAlter = [] { return double(Z_Alles::VersionsAlter()); };
  dienste.istEntwicklerPC = &Z_Alles::IstEntwicklerPC;

  HauptfensterHaken::Eintragen(Punkt::StartUeberpruefungen, [] { Z_Alles::LaenderEinstellungPruefen(); });
  HauptfensterHaken::Eintragen(Punkt::StartReadonlytest, &Z_Alles::SchreibrechtePruefen);
  HauptfensterHaken::Eintragen(Punkt::StartAnmelden, &Z_Alles::StartStatistik);
  HauptfensterHaken::Eintragen(Punkt::StartPrivates, [] {
    if (Z_Alles::IstEntwicklerPC()) Z_Alles::DebugLog(QStringLiteral("Entwickler-PC"));
  });

  HauptfensterHaken::Eintragen(Punkt::ZeitInfoNachrichten, &Z_Alles::NetzNachrichtPrüfen);
  HauptfensterHaken::Eintragen(Punkt::ZeitInfoNachPanels, &Z_Alles::NetzReservierungPrüfen);
  HauptfensterHaken::Eintragen(Punkt::ZeitInfoEnde, [] {
    // The flag stays until the next start removes it, so every later tick sees it again; the
    // exit is asked for once. Also while the user's exit waits in one of its boxes: the note
    // session then ends the program as it does on a signal.
    if (fernSchliessen_ || Z_Alles::FernSchliessenPrüfen(1) != 1) return;
    Hauptfenster* h = Hauptfenster::Instanz();
    if (!h) return;
    fernSchliessen_ = true;
    h->beenden(true);
  });

  HauptfensterHaken::Eintragen(Punkt::EndeAbmelden, [] { Z_Alles::NetWatchPruefen(0, QString()); });
  HauptfensterHaken::Eintragen(Punkt::EndeStatistik, &Z_Alles::EndeStatistik);
  HauptfensterHaken::Eintragen(Punkt::EndeProgramm, &Z_Alles::AllesEntladen);
}

void Zuruecksetzen() {
  fernSchliessen_ = false;
  Z_V_Allgemein::MailFuss.clear();
  Intern::StatistikZuruecksetzen();
  Intern::NetWatchZuruecksetzen();
}

}  // namespace Programmdienste
