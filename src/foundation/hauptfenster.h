#pragma once
// The main window as every other window sees it. The main window lives in src/notepad and
// implements this class; windows in the folders above it (calculator, printing, windows, ...)
// cannot link against it and must not call its procedures, so they use only what is offered here.
//
// Also here: the points of the main window's start, its one-second timer and its exit at which
// services/, printing/, calculator/ and windows/ add their steps (each folder's registration is
// one line in src/verdrahtung.cpp), and the window placement helpers that store a window's
// position in twips.
#include <QFont>
#include <QIcon>
#include <QKeySequence>
#include <QList>
#include <QRect>
#include <QString>
#include <functional>

class QAction;
class QWidget;
namespace Z_Alles {
struct IniWert;
}

class Hauptfenster {
public:
  virtual ~Hauptfenster();

  // The main window, or nullptr before it exists and after it is gone.
  static Hauptfenster* Instanz();
  // The main window registers itself here (and nullptr when it goes).
  static void SetzeInstanz(Hauptfenster* fenster);

  // The window itself: owner of message boxes and shell calls.
  virtual QWidget* widget() = 0;

  // The active editor box (Text(TextAktiv)). Texts with CR LF line ends; the length counts a
  // line end as two characters, like the stored note.
  virtual QString text() const = 0;
  virtual QString markierterText() const = 0;
  virtual int markierungsLaenge() const = 0;
  // Font of the active box: family, point size, bold, italic, underline.
  virtual QFont schrift() const = 0;

  // Base name of the open notepad.
  virtual QString notizblockName() const = 0;
  // Saves the current note and opens the notepad of that base name in the data folder (created
  // when missing). When the note cannot be saved the user is told and the open notepad stays;
  // callers compare notizblockName() afterwards.
  virtual void notizblockOeffnen(const QString& name) = 0;
  // Note slots of the notepad, the current note (1-based), and showing another note (the
  // current one is saved first; false when that failed or nr is no note). The notepad print
  // walks the notes with these.
  virtual int notizAnzahl() const = 0;
  virtual int aktuelleNotiz() const = 0;
  virtual bool notizWaehlen(int nr) = 0;
  // Saves the current note now, as before a note switch; false when it could not be saved (the
  // user has been told). Commands that end the program at once call it first.
  virtual bool notizSichern() = 0;
  // Caption of bezInfo: the current note's header.
  virtual QString infoText() const = 0;

  // Status bar panel "Status": sets the text and redraws the panel at once.
  virtual void statusSetzen(const QString& text) = 0;
  virtual QString statusText() const = 0;

  // Icon, and frame geometry in pixels, for windows that take them over or centre on it.
  virtual QIcon symbol() const = 0;
  virtual QRect geometrie() const = 0;

  // Enables the one-shot timer zeitBelegung, which recolours the note tabs (100 ms later).
  virtual void belegungAuffrischen() = 0;

  // mnuPrg(0..3) of the menu "&Weiteres": an entry can be hidden; nothing shows it again.
  virtual void programmEintragVerbergen(int index) = 0;
  virtual bool programmEintragSichtbar(int index) const = 0;

  // Where a command appears besides its menu (flags, combined with |).
  enum Ort : int {
    NurMenue = 0,
    ImPopup = 1,   // the editor's pop-up menu
    InLeiste = 2,  // the toolbar under the menu bar
  };
  // Adds a command to a menu of the main window ("&Datei", "&Weiteres", or a new menu of that
  // caption, appended to the menu bar; an empty menu puts it in no menu) and, by orte, in the
  // pop-up menu and on the toolbar. name is the command's control name ("PulDrucken",
  // "PulRechner", "PulInfo"): these names have a fixed place in the pop-up menu and on the
  // toolbar (with their icon); other names are appended. A place stays hidden until a command
  // is registered for it. The action belongs to the main window; its key works while the menus
  // are closed.
  virtual QAction* befehlEintragen(const QString& menue, const QString& text,
                                   std::function<void()> aktion,
                                   const QKeySequence& taste = {}, int orte = NurMenue,
                                   const QString& name = {}) = 0;

  // True once the orderly exit has begun: code after a nested event loop checks it before it
  // touches a window.
  virtual bool endet() const = 0;
  // Runs the orderly exit (note save, settings save, the exit steps, unload). ohneRueckfrage:
  // no one may be at the screen (signal, session end, remote close); no box is shown any more,
  // and the text of a note that cannot be saved goes to an emergency copy instead of keeping the
  // program open. Called while a box or modal window is open, it writes all that and ends the
  // process at once, without returning.
  virtual void beenden(bool ohneRueckfrage) = 0;
  // Ends the program at once, without the orderly exit: no note save, no settings save, no
  // exit steps, nothing written. For the restart after the data folder moved, whose job starts
  // the program anew. Signals and the end of the session do nothing after it.
  virtual void sofortBeenden() = 0;
};

// Colours of the note tabs: settings keys of the program's section and their designed
// defaults (colour numbers), shared by the main window and the options window.
namespace TabFarben {
// "ForColStd" a note with text, "ForColEmpty" an empty note, "ForColCrypt" a password-protected
// note, "ForColAkt" the current note.
inline const QString Schluessel[4] = {QStringLiteral("ForColStd"), QStringLiteral("ForColEmpty"),
                                      QStringLiteral("ForColCrypt"), QStringLiteral("ForColAkt")};
inline const QString Vorgabe[4] = {QStringLiteral("&H80000012"), QStringLiteral("&H9F9F9F"),
                                   QStringLiteral("255"), QStringLiteral("&H80000012")};
// A flag ("1"/"0", default "0"): not 0 = the tabs take the note's background colour, 0 = the
// button face colour.
inline const QString HintergrundSchluessel = QStringLiteral("OptBackcolor");
inline const QString HintergrundVorgabe = QStringLiteral("0");
// A flag ("1"/"0", default "0"): a minimised program goes to the notification area.
inline const QString TraySchluessel = QStringLiteral("Min2Tray");
}  // namespace TabFarben

// Places where services/, printing/, calculator/ and windows/ add their steps to the main window.
namespace HauptfensterHaken {

enum class Punkt {
  StartUeberpruefungen,    // start step "Überprüfungen", before the debug log is emptied
  StartReadonlytest,       // start step "Readonlytest": decides Z_Alles::NurLesen
  StartMailFuss,           // start: the mail footer is stored
  StartAnmelden,           // start step "Als Benutzer anmelden": start statistics
  StartSperren,            // start step "Sperren wenn nur Leserechte": commands disable themselves
  StartPrivates,           // start step "Privates": developer-only menus
  ErsterPaint,             // the main window was shown for the first time (tips of the day)
  ZeitInfoAnfang,          // one-second timer, first step (clipboard collecting)
  ZeitInfoNachrichten,     // one-second timer, third step (messages from other users)
  ZeitInfoNachPanels,      // one-second timer, after the status panels
  ZeitInfoEnde,            // one-second timer, last step (remote close: call beenden(true));
                           // also runs each second while an earlier tick or the exit waits
                           // in a box
  MenueWeiteres,           // the menu "&Weiteres" is about to open
  EndeExport,              // exit, after the settings save (automatic export)
  EndeHilfe,               // exit: close the help
  EndeAbmelden,            // exit: "Beenden... Benutzer abmelden..."
  EndeStatistik,           // exit: exit statistics
  EndeEntladen,            // exit: unload the other windows
  EndeProgramm,            // exit, last, after every unload: the program ends
};

// Adds a step at a place; steps of one place run in the order they were added.
void Eintragen(Punkt punkt, std::function<void()> schritt);
// Runs schritt with the main window: at once when it exists, else at its first start step
// (the first moment it exists). For the commands a folder puts into the main window's menus.
void MitHauptfenster(std::function<void(Hauptfenster&)> schritt);
// Runs the steps of a place (the main window calls this).
void Ausfuehren(Punkt punkt);
// How many steps a place has.
int Anzahl(Punkt punkt);
// Removes every step (tests).
void Leeren();

// The build's version text: major, two-digit minor, four-digit revision ("2026.05.0012").
QString BuildVersion();
// The version text the program shows and stores: the services' (dienste.versionsNummer) when
// they are there, else the build's.
QString Version();
// The same in the compact form stored values use: no point before the revision ("2026.120001").
QString VersionGespeichert();

}  // namespace HauptfensterHaken

// Window position and size stored in twips (15 per pixel at 96 dpi) under the keys
// <praefix>Form_Höhe, Form_Weite, Form_Links, Form_Oben and Form_State (0 normal,
// 1 minimised, 2 maximised) of a section of the settings file ("" = the program's own).
namespace Fensterplatz {

constexpr int TwipsJePixel = 15;

struct Platz {
  int links = 0, oben = 0, weite = 0, hoehe = 0;  // pixels
  int zustand = 0;                                 // 0 normal, 1 minimised, 2 maximised
  bool mitGroesse = false, mitPosition = false;
};

// Reads the stored place; mitGroesse/mitPosition tell which parts were found.
Platz Lesen(const QString& praefix, const QString& abschnitt = {});
void Schreiben(const QString& praefix, const Platz& platz, const QString& abschnitt = {},
               bool auchGroesse = true);
// The keys Schreiben writes, for a caller that writes them together with keys of its own (one
// write of the settings file).
QList<Z_Alles::IniWert> Eintraege(const QString& praefix, const Platz& platz,
                                  const QString& abschnitt = {}, bool auchGroesse = true);
// Applies a place to a window, fitted into the screen as Einpassen does; without a stored
// position it is centred on the primary screen. Does not show the window; the state is applied
// when it is shown.
void Anwenden(QWidget* fenster, const Platz& platz);
// The window's current place (the normal geometry while minimised or maximised).
Platz Von(const QWidget* fenster);
// Reads and applies, writes back: the two calls windows make on load and on close.
void Laden(QWidget* fenster, const QString& praefix, const QString& abschnitt = {});
void Sichern(const QWidget* fenster, const QString& praefix, const QString& abschnitt = {},
             bool auchGroesse = true);

// Shrinks and moves a window so that it lies, frame included, inside the free area of the
// screen it mostly covers (a window off every screen goes to its own or the primary screen).
// The frame is taken from the window once the desktop has framed it, before that from the
// windows already shown. Contents whose minimum size exceeds the screen are put into a scroll
// area. Minimised, maximised and full-screen windows are left alone. A window never shown and
// never moved by code only shrinks: its place is left to the desktop (or a dialog's centring).
void Einpassen(QWidget* fenster);
// Fits every window of the application when it is shown, and once more when the desktop has
// framed it: one call at start-up.
void WaechterEinrichten();

}  // namespace Fensterplatz
