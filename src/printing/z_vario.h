#pragma once
// Z_Vario: the placeholder language. Tokens in braces ({datum}, {kw}, {counter1},
// {variable:Kunde}, ...) are replaced by dates, times, folders, counters, settings values,
// random picks and file names; environment variables between percent signs are expanded last.
// Expansion never fails visibly: a token that cannot be evaluated stays in the text or gets
// its empty or marked value, and the caller always gets a text back.
#include <QDate>
#include <QDateTime>
#include <QString>
#include <optional>

namespace Z_Vario {

// Working copy of the text being expanded; keeps the last result until the next call.
inline QString VarioText;
// Reference time of the running expansion: every date and time token is taken from it.
// Empty between calls; a caller may preset it to expand for another moment.
inline QDateTime VarioDatum;

// Expands every placeholder of the text; the argument is not changed.
QString VarioErsetzen(const QString& text);

// Replaces every occurrence of the token in VarioText (letter case ignored) by the value. The
// search goes on behind an inserted value, so a value holding its own token is not expanded again.
void PlatzhalterErsetzen(const QString& token, const QString& wert);

// The first token that starts with the prefix ("{" put in front when missing), lower-cased:
// modus 1 the whole token up to and including the first "}" behind the prefix, any other modus
// what stands between prefix and "}". Empty when the prefix is just "{", does not occur, or no
// "}" follows.
QString KlammerInhalt(const QString& text, const QString& praefix, int modus);

// ISO 8601 week number of the calendar date; 0 for an invalid date.
int Kalenderwoche(const QDate& datum);

// The %NAME% pass: at most 8 rounds, each expanding the first pair of percent signs.
QString UmgebungErsetzen(const QString& text);

// The editor's double-click copy command: when the (trimmed) line begins with the copy marker
// "$CpyZA" (any case), the text behind its first ":" gets the message markup ("~" a line break),
// is trimmed and then expanded; that is what goes to the clipboard. nullopt without the marker.
inline const QString KopierMarke = QStringLiteral("$CpyZA");
std::optional<QString> KopierText(const QString& zeile);
// The same for the line of an editor text that holds the character position (0-based).
std::optional<QString> KopierTextAnStelle(const QString& editorText, int position);
// The command itself: puts that text on the clipboard and returns true; without the marker
// nothing changes and it returns false (the double-click is not its own).
bool KopierBefehl(const QString& editorText, int position);

// Resets the module's values (working text, reference time, last issued id) to the start state.
void Zuruecksetzen();

// Shared between the files of this module; not for other callers.
namespace Intern {
// Lower case per character, so positions stay those of the text itself.
QString Klein(const QString& text);
// First position of token in text from von on (case-sensitive), -1 when none.
qsizetype Finden(const QString& text, const QString& token, qsizetype von);
// Lower-case copy of VarioText, kept in step with it during an expansion.
const QString& KleinText();
// Appends to VarioText (and its lower-case copy).
void TextAnhaengen(const QString& text);
// The thirteen tokens that take an argument, in their fixed order; d is the reference time.
void ArgumentTokens(const QDateTime& d);
}  // namespace Intern

}  // namespace Z_Vario
