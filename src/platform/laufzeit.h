#pragma once
// The conversions the program relies on everywhere, with the results the Windows version of
// this program gives (its settings, note files and users' templates hold these forms): the
// general number-to-text form and the longest-leading-number reading, Format with number and
// date patterns, German date reading, month arithmetic, weekday, wildcard file listing.
// German names and separators throughout, independent of the machine's locale.
#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>

namespace Laufzeit {

// General number-to-text form: at most 15 significant digits, "." as decimal point, a blank in
// front of non-negative numbers, no "0" before the point (" .5", "-.25"), exponent form
// (" 1E+16", " 1E-05") for magnitudes from 1E15 up and below 1E-4 (like %G with 15 digits).
// Not finite values give " 0" after a debug message; callers check std::isfinite first.
QString Str(double wert);
// The same without the leading blank.
QString ZahlText(double wert);
// Longest leading number: blanks, tabs and line feeds are skipped, optional sign, digits with one
// ".", optional exponent "E"/"D" with sign; nothing readable gives 0. An exponent out of range
// gives +-inf rather than an error: callers that care check std::isfinite.
// gelesen (optional) receives the count of characters consumed (0 when nothing was read).
double Val(const QString& text, int* gelesen = nullptr);

// Format with number patterns ("0", "0.0", "#.0", "0.00", "#,##0.00", "0%", "0.00E+00", ...):
// German output (decimal comma, thousands point). Rounding half away from zero.
QString Format(double wert, const QString& muster);
// Format with date patterns: d dd ddd dddd m mm mmm mmmm yy yyyy h hh n nn s ss q w ww,
// "Long Date"/"Short Date"/"Long Time"; literal text in quotes or after "\"; ":" and "/" kept.
QString Format(const QDateTime& wert, const QString& muster);
QString Format(const QDate& wert, const QString& muster);

// German names: month 1..12, weekday 1 (Sonntag) .. 7 (Samstag).
QString MonatsName(int monat, bool kurz = false);
QString WochentagsName(int wochentag, bool kurz = false);
int Wochentag(const QDate& datum);  // Sunday = 1 .. Saturday = 7

// German date reading like IsDate/CDate: "24.12.2026", "24.12.26", "24.12.", "24.12.2026 18:30",
// "18:30", "24. Dezember 2026", ISO "2026-12-24". Invalid calendar dates are refused.
bool IstDatum(const QString& text);
QDateTime DatumLesen(const QString& text, bool* ok = nullptr);

// Month arithmetic with day clamping (31.01. + 1 month = 28./29.02.).
QDate MonateAddieren(const QDate& datum, int monate);
// Serial day numbers as Windows programs and spreadsheets count them (0 = 30.12.1899; fraction = time).
double DatumZuSerie(const QDateTime& wert);
QDateTime SerieZuDatum(double serie);

// Files in a folder matching a wildcard pattern ("*", "?"), without regard to case; "*.*"
// means every file, names without a dot included. Names only, sorted; folders excluded.
QStringList DateienSuchen(const QString& ordner, const QString& muster);
// Wildcard match of one name, case-insensitive, with the same "*.*" rule.
bool PasstMuster(const QString& name, const QString& muster);

}  // namespace Laufzeit
