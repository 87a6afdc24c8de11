#pragma once
// The unit file "Rechner.Dat" and the conversion between its units, without a window.
//
// The file has the layout of an INI file. Categories are the sections whose header does not begin
// with "[_"; their lines "name=factor" are the units (factor = how many of this unit make one base
// unit; any expression the evaluator accepts). Lines of a category that begin with "_" are its
// settings (_SIBasis, _ZwischenRundung). The section [_SI] names the prefixes; [_Zuletzt] keeps
// the last choices. Lists are found by scanning the raw lines; values are read through the
// settings reader with the file's full path, so every other line stays as the user wrote it.
#include <QString>
#include <QStringList>
#include <functional>

namespace Umrechnen {

inline const QString DateiName = QStringLiteral("Rechner.Dat");
inline const QString AbschnittZuletzt = QStringLiteral("_Zuletzt");

// Finds the unit file. When the data folder has none yet, the file shipped in the program folder
// is copied there first, so the remembered choices can always be written. Returns the full path,
// empty when no unit file exists anywhere. fehler receives a German reason when the copy failed.
QString DateiBereitstellen(QString* fehler = nullptr);

// The file's lines, line ends removed, nothing trimmed. A missing or unreadable file gives no
// lines and ok=false; a file that is not text (NUL bytes) gives no lines and keinText=true.
QStringList ZeilenLesen(const QString& pfad, bool* ok = nullptr, bool* keinText = nullptr);

// Category names in file order (empty names are skipped: they could not be looked up).
QStringList Rubriken(const QStringList& zeilen);
// Prefix names of the section [_SI] (header in any letter case), in file order.
QStringList Vorsilben(const QStringList& zeilen);
// Unit names of one category (header "[name]" in exact letter case), in file order.
QStringList Einheiten(const QStringList& zeilen, const QString& rubrik);

// Whole-number list index stored in [_Zuletzt]; vorgabe is used when the key is missing.
int ZuletztLesen(const QString& pfad, const QString& schluessel, const QString& vorgabe);
// Stores an index in [_Zuletzt]; a value already stored is not written again.
void ZuletztSchreiben(const QString& pfad, const QString& schluessel, int index);

// An expression evaluator: the text by reference (a refused text gets "%" in front), a double.
// Empty: Z_Evaluate2::Evaluate, whose arithmetic faults count as refusals too.
using Auswerter = std::function<double(QString&)>;

struct Eingabe {
  QString rubrik;
  QString wert;          // the value as typed, may be an expression
  QString vorsilbe[2];   // prefix names of from (0) and to (1)
  QString einheit[2];    // unit names of from and to
};

struct Ergebnis {
  double wert = 0;                            // 0 when the conversion was refused
  bool vorsilbeUnbekannt[2] = {false, false};  // prefix not in the category's prefix section
  bool ungeprueft = false;                    // a flagged unit (name begins with a blank) is chosen
  QString hinweis;                            // German note on a problem, empty when none
  QString formel1, formel2;                   // the texts handed to the evaluator
};

// base = (value) * (prefix factor from) / unit factor from; result = base / (prefix factor to) *
// unit factor to. Value and prefix factors go in brackets, so "2+3" km is 5 km.
Ergebnis Berechnen(const QString& pfad, const Eingabe& eingabe, const Auswerter& auswerten = {});

// The editor command for the unit file: program and arguments (the path is one argument).
QStringList EditorBefehl(const QString& pfad);

}  // namespace Umrechnen
