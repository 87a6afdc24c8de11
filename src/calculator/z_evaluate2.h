#pragma once
// The expression evaluator: turns one line of arithmetic text into a double by rewriting the
// text, stage by stage (brackets, functions, factorials, signs, powers, products, sums,
// comparisons, logical operators), leftmost operator first. Every intermediate result is
// written back into the text as 15-digit number text and read again, so results follow that
// text exactly (1/3*3=1 gives 0, 2(3) gives 23, -2^2 gives 4).
#include <QString>

namespace Z_Evaluate2 {

// Why a text gave no value.
enum class Fehler {
  Keiner,
  // Refusals: the result is 0 and "%" is put in front of the caller's text.
  Ausdruck,          // operator at the start ("*2", "^2", "=1") or a text beginning with "%"
  Klammern,          // unequal numbers of "(" and ")", or a "(" without partner
  Klammertiefe,      // more than MaxTiefe nested bracket levels
  Laenge,            // text longer than MaxLaenge characters
  // Refusals or faults (faults leave the caller's text unchanged):
  DivisionDurchNull, // "/0", "\0", "MOD0"; inside a formula (ARCSIN1, CSCH0, 7\.4)
  Argument,          // a function operand outside its range (SQR-4, LOG0, 171!), NaN results
  Ueberlauf,         // a number or result beyond the double range, whole-number rounding
                     // beyond the 32-bit range
};

// Nested bracket levels beyond this are refused instead of recursing without bound.
inline constexpr int MaxTiefe = 100;
// Longest text accepted, before and after the constants (PI, e, @TODAY) are put in. The stages
// rewrite the whole text for every operator, so the work grows with the square of the length;
// no calculator line or unit formula comes near this.
inline constexpr int MaxLaenge = 10000;

// Evaluates text. Success: the value, text unchanged, *fehler = Keiner, *abgelehnt = false.
// Refusal: 0, "%" put in front of text, *fehler names the reason, *abgelehnt = true.
// Arithmetic fault (division by zero inside a formula, overflow, logarithm or root of a negative
// number, whole-number rounding out of range): 0, text unchanged, *fehler names the fault,
// *abgelehnt = false. A caller that passes no fehler cannot tell a fault from a real 0.
// "," counts as the decimal point; blanks are ignored. Never throws.
double Evaluate(QString& text, Fehler* fehler = nullptr, bool* abgelehnt = nullptr);

// German reason for a message ("Division durch Null", "Überlauf", ...); "" for Keiner.
QString FehlerText(Fehler fehler);

}  // namespace Z_Evaluate2
