#pragma once
// What the upper folders lend to the lower ones, in one typed set. A lower folder cannot link
// against an upper one, so it calls the procedure through this set; the upper folder fills it
// in its Registrieren, which src/verdrahtung.cpp calls in a fixed order. An empty member is
// what a folder of the program that is not there does: its caller passes over it (or uses its
// own fallback, named below).
//
// Tests fill the members they need; the fixture empties the whole set before every test.
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

class QColor;
class QWidget;

struct Dienste {
  // services/ (Programmdienste::Registrieren)
  std::function<QString()> versionsNummer;       // version text; empty: the build's
  std::function<QString()> copyrightZeile;       // copyright line of the splash
  std::function<QString(int modus)> statistikText;  // usage statistics (Ctrl at start)
  std::function<QString()> diagnoseBericht;      // diagnostics report of the debug log and error reports
  std::function<double()> versionsAlter;         // release age in years (the error box's hint)
  std::function<bool()> istEntwicklerPC;         // the calculator's developer entry

  // services/ (Z_V_Allgemein::Registrieren)
  std::function<void(int index)> schwesterprogrammStarten;  // mnuPrg(index) clicked
  // Ctrl+Alt+G in the editor: the line at the caret has been selected; its text.
  std::function<void(const QString& zeile)> zeileMarkiert;
  // Mails an error report; false when it was not sent. Empty: the error box offers no report.
  std::function<bool(const QString& bericht)> fehlerberichtSenden;

  // windows/ (Hilfsfenster::Registrieren): the about box, for the calculator's menu.
  std::function<void(QWidget* besitzer)> infoZeigen;

  // The editor's double-click (its text with "\n" line ends, the caret position, 0-based) is
  // offered to these in order; each returns true when it took the click, false when the click
  // is not its own. src/verdrahtung.cpp sets the order in one place.
  std::vector<std::function<bool(const QString& text, int position)>> editorDoppelklick;
  // Offers a double-click down that list; false when no one took it.
  bool doppelklick(const QString& text, int position) const {
    for (const auto& nehmen : editorDoppelklick)
      if (nehmen && nehmen(text, position)) return true;
    return false;
  }

  // Stand-ins that tests put in; empty: the real one.
  std::function<bool(QWidget* besitzer, const QString& titel, QColor& farbe)> farbeWaehlen;  // options' colour picker
  std::function<bool()> einstellungSpezial;      // the options' special settings box
  std::function<QString(QWidget* besitzer, const QString& titel)> ordnerWaehlen;  // data folder picker
  std::function<void()> neustart;                // the data folder window's restart
};

// The program's one set.
inline Dienste dienste;
