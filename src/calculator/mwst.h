#pragma once
// VAT (gross, net, tax) and the conversion between the euro and one second currency, without a
// window. The calculator window runs its line before and after these (see Rechner).
#include <QString>

namespace MwSt {

// VAT operations in the order of the menu: gross->net, gross->tax, net->gross, net->tax,
// tax->net, tax->gross.
inline constexpr int SteuerAnzahl = 6;
QString SteuerTitel(int index);

// y from x at the rate p (percent). False when the index is unknown or the rate would make the
// operation divide by zero (then y is left alone).
bool SteuerUmrechnen(int index, double x, double p, double* y);

// Currency operations: 0 second currency -> euro (x / f), 1 euro -> second currency (x * f).
// False for an unknown index and for a factor of 0 (no number, or a real 0).
bool WährungUmrechnen(int index, double x, double f, double* y);

// The program-wide rate as the number its text means: 7.7 read into single precision gives 7.7
// again here, not 7.69999980926514.
double Satz();
// A number as text with "." and no leading blank (19, 7.5), as the settings file keeps it.
// What the user reads takes RechnerZeile::ZahlTextKomma (7,5 and 0,5).
QString ZahlPunkt(double wert);

// WährungsFaktor of section Allgemein ("1.95583" stored when missing or empty; "," counts as the
// decimal point). gueltig=false when the text holds no number.
double WährungsFaktor(bool* gueltig = nullptr);
// WährungsUnit2 of section Allgemein ("DEM" stored when missing or empty).
QString WährungsUnit2();

// The rate edit: asks for the new rate, stores it under MwSt and sets MwStSatz, and reports the
// new rate. An empty answer or Cancel changes nothing. True when the rate was changed.
bool SatzÄndern();

}  // namespace MwSt
