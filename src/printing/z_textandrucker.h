#pragma once
// Z_TextAnDrucker: word-wrapped text on the current printer, one page per call, and the page
// loop that prints a whole text with a heading on every page.
#include <QString>
#include <functional>

namespace Z_TextAnDrucker {

// Prints as much of the text as fits on the current page, word by word, and returns the part
// that did not fit (empty when all was printed). A word ends with its first separator (CR,
// blank, "-", ":", "=", "/", "&", "!", "?"), which stays with it; line feeds are dropped.
// x: left edge of every line (negative: the first line starts at the current x).
// y: top of the first line (negative: the current y).
// rechts, unten: limits; not greater than x or y, or negative: the printable area less 1 cm on
// the right, and less two lines of "Ay" at the bottom.
// text is taken apart from the front and holds what followed the last word read.
// abgebrochen (optional): true when a printer error was answered with Cancel; the result is then
// empty.
QString TextDrucken(QString& text, double x, double y, double rechts, double unten,
                    bool* abgebrochen = nullptr);

enum class Seitenlauf {
  Fertig,      // every page printed
  PasstNicht,  // a page took nothing; the job ended and the user was told
  Abgebrochen, // a printer error was answered with Cancel, or seitenKopf said stop
};

// Prints the whole text, page by page: seitenKopf (optional) prepares and heads each page
// (page numbers from 1; false = stop), TextDrucken fills it from x, y to the limits, and the
// page ends. When a page takes nothing of the text, the job ends with the message "Der Text
// passt nicht auf die Seite.", instead of turning out empty pages without end.
Seitenlauf SeitenDrucken(QString text, double x, double y, double rechts, double unten,
                         const std::function<bool(int seite)>& seitenKopf = {});

}  // namespace Z_TextAnDrucker
