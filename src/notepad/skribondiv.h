#pragma once
// SkribonDiv: the notepad state of the running program and the small rules around notes
// (numbers, names, limits, the command line's words for the notepad and the window).
#include <QIcon>
#include <QString>
#include <QStringList>

namespace SkribonDiv {

// ---- Program-wide values --------------------------------------------------------------------
inline QString NotizblockName = QStringLiteral("Skribon");  // base name of the open notepad
inline int NotizAnzahl = 50;         // note slots, 50..99 (MaxSkribon)
inline int NotizNr = 1;              // current note, 1..NotizAnzahl
inline bool NotizGeändert = false;   // the current note has unsaved changes
inline int TextAktiv = 0;            // active editor box: 0 word wrap off, 1 on
inline bool Überschreiben = false;   // overwrite mode of the editor
inline QString SuchText;             // last search text
inline QString NotizKennwort;        // the current note's password ("" = none)
inline QString HilfeDatei;           // the application's help file
inline QStringList Befehlszeile;     // the program's arguments, without the program itself
inline bool NotizblockDruck = false; // the notepad print runs (every note in turn)
inline int BenutzerNotizNr = 0;      // meanwhile the note the user was on: the exit stores it

// The program's icon in every size it ships (empty where the resources are not linked in).
QIcon ProgrammSymbol();

// Back to the start state (tests).
void Zuruecksetzen();

// ---- Rules ----------------------------------------------------------------------------------
constexpr int MinNotizen = 50;
constexpr int MaxNotizen = 99;
constexpr int StandardNotizen = 50;
// Stored notes hold at most this many characters (a line end counts as two).
constexpr int MaxZeichen = 65500;
// Older notes' files began with this when a password protected them.
inline const QString KennwortKennung = QStringLiteral("..??");
// Size from which a note file gets a safety copy, and from which the copy is dropped again.
constexpr qint64 SicherungAbBytes = 150;

// "01".."99".
QString NummerText(int nr);
// MaxSkribon as stored: default 50, clamped to 50..99.
int NotizAnzahlAusText(const QString& gespeichert);

// Words of the command line (case does not matter):
// "Datei=<file>": the notepad's base name (no folder, no extension); "" when not given.
QString NotizblockAusBefehlszeile(const QStringList& argumente);
// "#debug" somewhere.
bool DebugAusBefehlszeile(const QStringList& argumente);
// "fenster=<left>,<top>,<width>,<height>[,<state>]" in twips (separators "," ";" or blanks).
// False when not given or not readable.
bool FensterAusBefehlszeile(const QStringList& argumente, int* links, int* oben, int* weite,
                            int* hoehe, int* zustand);

// Length of an editor text ("\n" line ends) as stored (CR LF): each line end counts two.
int GespeicherteLaenge(const QString& text);
// Caret positions: editor ("\n") <-> stored (CR LF counted as two).
int PositionZuGespeichert(const QString& text, int position);
int PositionAusGespeichert(const QString& text, int gespeichert);
// Stored text (CR LF, lone CR or LF) to the editor's form with "\n".
QString ZeilenendenZuLf(const QString& text);
// Editor text to CR LF.
QString ZeilenendenZuCrLf(const QString& text);

// "1", "-1", "wahr", "true", "ja" (any case) are true; everything else false.
bool WahrheitLesen(const QString& text);

}  // namespace SkribonDiv
