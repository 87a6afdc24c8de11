#pragma once
// Links in notes: a text is recognised as a date, mail address, web address, existing file or
// program call and opened with the right tool: the mail program, the browser, the desktop's
// handler for the file, or the program itself (started directly, never through a shell).
#include <QString>

namespace Z_Alles {

// Link classes; a text can be several of the first three at once.
enum LinkKlasse : int {
  LinkDatum = 2,
  LinkEmail = 4,
  LinkWeb = 8,
  LinkDatei = 16,     // only when none of the above
  LinkProgramm = 32,  // only when none of the above: "<existing file>.exe arguments"
};
int LinkTyp(const QString& text);

// Opens, starts or mails what the text names. True when anything was opened, started or mailed.
// While a call waits (between the pieces of a "|" list, after a mail), further calls do nothing.
bool LinkÖffnen(const QString& text);

// Opens a file, folder or address with the desktop's handler; "" does nothing. False when
// nothing could open it (the user has been told).
bool DokumentÖffnen(const QString& pfad);

// The word at a position of an editor text (0-based): the run of characters between blanks,
// tabs and line ends around it.
QString WortAnStelle(const QString& text, int position);

// The editor's double-click on a word: the word at the caret goes to LinkÖffnen. False (not
// taken) when the caret is on no word.
bool EditorDoppelklick(const QString& text, int position);

// The address prefix of the video site whose links may go to a download program.
inline const QString VideoPraefix = QStringLiteral("youtube.com/");

}  // namespace Z_Alles
