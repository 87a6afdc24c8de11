// VAT and currency conversion.
#include "calculator/mwst.h"

#include <charconv>
#include <cmath>

#include "calculator/rechnerzeile.h"
#include "foundation/z_alles.h"
#include "platform/dialoge.h"
#include "platform/laufzeit.h"

namespace MwSt {

namespace {
const QString Allgemein = QStringLiteral("Allgemein");
}

QString SteuerTitel(int index) {
  static const char* const titel[SteuerAnzahl] = {"Brutto -> Netto", "Brutto -> MwSt", "Netto -> Brutto",
                                                  "Netto -> MwSt",   "MwSt -> Netto",  "MwSt -> Brutto"};
  return index >= 0 && index < SteuerAnzahl ? QString::fromLatin1(titel[index]) : QString();
}

bool SteuerUmrechnen(int index, double x, double p, double* y) {
  double teiler = 1;
  double zaehler = 0;
  switch (index) {
    case 0: zaehler = x * 100; teiler = p + 100; break;
    case 1: zaehler = p * x; teiler = p + 100; break;
    case 2: zaehler = (p + 100) * x; teiler = 100; break;
    case 3: zaehler = p * x; teiler = 100; break;
    case 4: zaehler = x * 100; teiler = p; break;
    case 5: zaehler = (p + 100) * x; teiler = p; break;
    default: return false;
  }
  if (teiler == 0) return false;
  const double wert = zaehler / teiler;
  if (!std::isfinite(wert)) return false;
  *y = wert;
  return true;
}

bool WährungUmrechnen(int index, double x, double f, double* y) {
  if (f == 0 || !std::isfinite(f)) return false;
  double wert;
  if (index == 0) wert = x / f;
  else if (index == 1) wert = x * f;
  else return false;
  if (!std::isfinite(wert)) return false;
  *y = wert;
  return true;
}

double Satz() {
  // The shortest text that reads back as the same single-precision number.
  char puffer[32];
  const auto [ende, fehler] = std::to_chars(puffer, puffer + sizeof puffer, Z_Alles::MwStSatz);
  if (fehler != std::errc()) return double(Z_Alles::MwStSatz);
  return Laufzeit::Val(QString::fromLatin1(puffer, int(ende - puffer)));
}

QString ZahlPunkt(double wert) { return Laufzeit::ZahlText(wert); }

double WährungsFaktor(bool* gueltig) {
  const QString text = Z_Alles::Ersetzen(
      Z_Alles::IniLesenVorgabe(QString(), Allgemein, QStringLiteral("WährungsFaktor"), QStringLiteral("1.95583")),
      QStringLiteral(","), QStringLiteral("."));
  int gelesen = 0;
  const double f = Laufzeit::Val(text, &gelesen);
  if (gueltig) *gueltig = gelesen > 0 && std::isfinite(f);
  return std::isfinite(f) ? f : 0.0;
}

QString WährungsUnit2() {
  return Z_Alles::IniLesenVorgabe(QString(), Allgemein, QStringLiteral("WährungsUnit2"), QStringLiteral("DEM"));
}

bool SatzÄndern() {
  const QString titel = QStringLiteral("MwSt ändern");
  bool abgebrochen = false;
  const QString antwort = Plattform::InputBox(QStringLiteral("Legen Sie einen neuen Mehrwertsteuer-Satz fest."),
                                              titel, ZahlPunkt(Satz()), &abgebrochen);
  if (abgebrochen || antwort.isEmpty()) return false;

  // A German user types 7,5: the comma is the decimal point here, as for the currency factor.
  int gelesen = 0;
  const double neu = Laufzeit::Val(QString(antwort).replace(QLatin1Char(','), QLatin1Char('.')), &gelesen);
  if (gelesen == 0 || !std::isfinite(neu) || std::fabs(neu) > 1e30) {
    Plattform::MsgBox(QStringLiteral("»%1« ist kein gültiger Mehrwertsteuer-Satz. Der Satz bleibt bei %2%.")
                          .arg(antwort.trimmed(), RechnerZeile::ZahlTextKomma(Satz())),
                      Plattform::vbOKOnly | Plattform::vbExclamation, titel);
    return false;
  }

  Z_Alles::IniSchreiben(QString(), Allgemein, QStringLiteral("MwSt"), ZahlPunkt(neu));
  const double gespeichert =
      Laufzeit::Val(Z_Alles::IniLesen(QString(), Allgemein, QStringLiteral("MwSt"), QStringLiteral("19")));
  Z_Alles::MwStSatz = float(neu);
  const QString satz = RechnerZeile::ZahlTextKomma(Satz());
  if (float(gespeichert) != float(neu)) {
    Plattform::MsgBox(QStringLiteral("Die MwSt wurde für diese Sitzung auf %1% geändert, konnte aber nicht "
                                     "in den Einstellungen gespeichert werden.").arg(satz),
                      Plattform::vbOKOnly | Plattform::vbExclamation, QStringLiteral("MwSt geändert."));
    return true;
  }
  Plattform::MsgBox(QStringLiteral("Die MwSt wurde auf ") + satz + QStringLiteral("%. geändert"),
                    Plattform::vbOKOnly | Plattform::vbInformation, QStringLiteral("MwSt geändert."));
  return true;
}

}  // namespace MwSt
