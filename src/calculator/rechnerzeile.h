#pragma once
// The calculator line without its window: the typed line is turned into a plain expression
// (named constants, decimal comma, time literals, hexadecimal and binary literals, date
// brackets), evaluated, and every text the window shows afterwards is returned: the two history
// lines, the new content of the expression box, the decimal, hexadecimal and binary labels (or
// the near fractions) and the window caption. The window only puts these texts in place.
#include <QString>
#include <QStringList>

#include "calculator/z_evaluate2.h"

namespace RechnerZeile {

// Added to the caption after the line ("... - Taschenrechner").
inline const QString TitelZusatz = QStringLiteral(" - Taschenrechner");
// Shown in the decimal label, and after "Nicht berechenbar: " in the history, when a line fails.
inline const QString NichtBerechenbar = QStringLiteral("Nicht berechenbar");

struct Ergebnis {
  // False when the line could not be calculated (refused by the evaluator, an arithmetic fault,
  // a number literal or time too large, a line too long). Then wert is 0 but is no result: the
  // history and the decimal label say so in German and the expression box keeps the typed line.
  bool berechnet = false;
  double wert = 0;
  Z_Evaluate2::Fehler fehler = Z_Evaluate2::Fehler::Keiner;
  QString meldung;  // "Nicht berechenbar: <reason>" when not berechnet, else empty

  QString ausdruck;  // the expression handed to the evaluator (after the line's own rewrites)

  // Two lines to append to the history list: " " + line + " =", then the result in the chosen
  // number format (or the message). The window selects the last line, then the one before it.
  QStringList verlauf;
  // New content of the expression box: the result in general number form with decimal comma
  // ("0,25", "1E+16"), wholly selected; or, when not berechnet, the typed line unchanged with
  // nothing selected, so it can be corrected.
  QString text;
  bool textMarkieren = false;
  QString bezDez;  // result in the chosen number format, or NichtBerechenbar
  QString bezHex;  // "$" + upper-case hex digits for whole results from 1 to 2147483647, else ""
  QString bezBin;  // "%" + binary digits for the same results; near fractions for 0 < r < 1
  QString titel;   // text (trimmed) + TitelZusatz
};

// Calculates the line as typed with the chosen number format text (as the Format menu holds
// it, e.g. "#,###,##0.00"). Line breaks in the line count as blanks. Never throws.
Ergebnis Berechnen(const QString& zeile, const QString& zahlenFormat);

// The line's own rewrites, in order, on a copy of the line: named constants, decimal comma, time
// literals, number-base literals, date brackets. fehler receives Ueberlauf when a literal or time
// is too large (the rewrite stops there), Laenge for a line above Z_Evaluate2::MaxLaenge.
QString AusdruckBilden(const QString& zeile, Z_Evaluate2::Fehler* fehler = nullptr);

// Single rewrites, each in place and returning the line; ok=false on a value too large.
// Time literals: hours "." minutes "'" seconds "\"" (after the decimal comma became "."),
// worth hours: "1.30'15\"" -> "1.50416666666667", "45'" -> "0.75".
QString& ZeitAngabenErsetzen(QString& s, bool* ok = nullptr);
// "$ff", "&10" (hexadecimal) and "%101" (binary) -> decimal whole numbers. A literal above
// 2147483647 ends the rewrite: it and every literal after it stay as typed.
QString& BasisZahlenErsetzen(QString& s, bool* ok = nullptr);
// Value of digits in a base: digit values from "123456789abcdefghijklmnop" (any other character
// counts 0); ziffern is lower-cased in place. ok=false (result 0) above 2147483647.
qint32 ZahlAusBasis(QString& ziffern, int basis, bool* ok = nullptr);
// "{heute}" and "{d.m.yyyy}", "{dd.mm.yyyy hh:mm[:ss]}" -> day number since 01.01.1901
// followed by a blank; any other content only loses its braces.
QString& DatumsKlammernErsetzen(QString& s);

// The near fractions of 0 < r < 1: every n/d (d from 9 down to 2, n from 1 to d-1) within 0.05
// of r, each after two blanks, "~" in front of those farther than 0.01.
QString BruchText(double r);
// Line breaks (CR LF, CR or LF) as blanks: a text from a note or the clipboard as one line.
QString Einzeilig(QString text);

// The general number form with the German decimal comma, as the expression box shows a result:
// "0,25", "-1,5", "1E+16".
QString ZahlTextKomma(double wert);

}  // namespace RechnerZeile
