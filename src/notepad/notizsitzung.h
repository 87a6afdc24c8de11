#pragma once
// NotizSitzung: the notes of one notepad while the program runs, without any window. It loads,
// saves and switches notes through NotizSpeicher, keeps another program's version aside, writes
// the emergency copy, and is the one place that decides whether the program may end and what is
// saved or copied first. The main window shows what it decides through NotizAnsicht; every way
// out (menu, close box, signals, the session end, the remote close) comes here.
//
// A box or a modal window runs an event loop inside the outer one, and the code that opened it
// waits on the stack below, often with windows that live on those stack frames. Windows destroyed
// from inside such a loop, or frames that run on after the program has decided to end, crash it or
// keep it from ending. So the windows are closed only by an exit straight from the outermost event
// loop; anywhere else everything is written first and then the process ends without returning
// into the frames below. Whether the exit runs, which of its steps have begun and whether the
// text is safe is kept here, so no second way out repeats a step or leaves the text behind.
#include <QFont>
#include <QString>
#include <functional>

#include "notepad/notizspeicher.h"

// What the session needs of the window that shows the note.
class NotizAnsicht {
public:
  virtual ~NotizAnsicht() = default;
  // The shown text ("\n" line ends), the caret as stored, the editor's font.
  virtual QString notizText() const = 0;
  virtual int notizPosition() const = 0;
  virtual QFont notizSchrift() const = 0;
  // Puts the loaded note SkribonDiv::NotizNr into the editor; lesbar false: its file could not
  // be read (fehler says why) and it is shown empty and read-only.
  virtual void notizZeigen(const NotizSpeicher::Notiz& notiz, bool lesbar, const QString& fehler) = 0;
  // A notepad was opened: its name in the title, the notes' headers on the tabs.
  virtual void notizblockZeigen() = 0;
  // The tab of SkribonDiv::NotizNr in front.
  virtual void reiterZeigen() = 0;
  virtual void belegungAuffrischen() = 0;
  virtual void statusSetzen(const QString& text) = 0;
  // A warning in the status panel, until the note is saved or another one shown.
  virtual void hinweisZeigen(const QString& text) = 0;
  virtual void hinweisLoeschen() = 0;
  virtual void panelsAuffrischen() = 0;
  // The timers that save and look around; stopped while the exit runs, but for the remote
  // close, which is still checked while the exit waits in a box (endeLaeuft).
  virtual void zeitgeberAnhalten() = 0;
  virtual void zeitgeberStarten() = 0;
  // Window place and word wrap into the settings. False before the start has placed the window:
  // then nothing of it is the user's to keep.
  virtual bool platzSichern() = 0;
  // Every window closes, the main window last.
  virtual void fensterSchliessen() = 0;
};

class NotizSitzung {
public:
  // Why a note is saved: the messages differ a little.
  enum class Anlass { Timer, Wechsel, Befehl, Ende };

  // How the session sees the event loops and ends the process. By default the thread's loop
  // level and _exit; tests replace them. prozessEnde must not return.
  struct Umgebung {
    std::function<int()> schleifenTiefe;
    std::function<void(int code)> prozessEnde;
  };

  explicit NotizSitzung(NotizAnsicht& ansicht);
  ~NotizSitzung();
  NotizSitzung(const NotizSitzung&) = delete;
  NotizSitzung& operator=(const NotizSitzung&) = delete;

  void umgebungSetzen(Umgebung umgebung);

  NotizSpeicher& speicher() { return speicher_; }
  // The current note is enciphered or unreadable: shown read-only, never written.
  bool geschuetzt() const { return geschuetzt_; }

  // Opens a notepad of the data folder and shows its remembered note (the current one is saved
  // first; when that fails, nothing changes). A name no file can bear is refused with a message;
  // with no notepad open yet, "Skribon" opens in its place.
  void notizblockOeffnen(const QString& name);
  // Saves the current note when it has unsaved changes (the caret position is stored even
  // without). False when the note could not be saved; the user has then been told.
  bool sichern(Anlass anlass);
  // Shows note nr, saving the current one first. False when the current note could not be
  // saved (it stays shown), nr is no note or the program ends.
  bool wechseln(int nr);
  // The timer's save: only a changed note, and not once the exit has begun.
  void zeitSichern();

  // ---- The end ----
  // The exit has begun (or run). endeLaeuft: begun and not yet at its last step, so a box of
  // the exit waits further down the stack.
  bool endet() const { return endet_; }
  bool endeLaeuft() const { return endet_ && schritt_ != Schritt::Fertig; }
  // Every way out. The user's exit may ask and may be refused (the note cannot be saved and
  // the user keeps the program open); ohneRueckfrage asks no one and always ends.
  void beenden(bool ohneRueckfrage);
  // Ends at once without writing anything (a restart takes over); false when already done.
  bool sofortBeenden();

private:
  enum class Schritt { Notiz, Einstellungen, Export, Hilfe, Abmelden, Statistik, Entladen, Fertig };

  void laden(int nr);
  NotizSchluessel schluesselAusEditor() const;
  // Writes the note when it has unsaved changes (or only its caret position), without a word.
  // *andere names the other program's version kept aside, if any.
  bool schreiben(Anlass anlass, QString* fehler, QString* andere);
  bool sicherungFehlgeschlagen(const QString& fehler, Anlass anlass);

  bool verschachtelt() const;
  void geordnetBeenden(bool ohneRueckfrage);
  void endeOhneRueckfrage();
  // The exit's first step, the note, begins.
  void notizSchrittBeginnen();
  // Quitting with a note that cannot be saved: asks, and on "end anyway" writes the emergency
  // copy. True when the program may end.
  bool endenTrotzFehler(bool ohneRueckfrage);
  void schritteBisEntladen();
  void einstellungenSichern();
  static int benutzerNotiz();
  // Saves the note silently or, failing that, writes its emergency copy; false when neither.
  bool notizRetten();
  // Writes the emergency copy of the shown text; its path, or "" when it could not be written.
  QString notfallKopieSchreiben();
  [[noreturn]] void prozessBeenden(bool textSicher);

  NotizAnsicht& ansicht_;
  Umgebung umgebung_;
  NotizSpeicher speicher_;
  NotizSchluessel geladen_;     // the current note's keys as loaded or last saved
  bool geschuetzt_ = false;
  bool halbOffen_ = false;      // the store holds the new notepad, NotizNr the old one's note
  bool sichertGerade_ = false;  // a save is running (a message box may let timers in)
  bool stumm_ = false;          // saving without anyone to read a message
  bool textVerloren_ = false;   // ending unasked with the text neither saved nor copied
  QString letzterFehler_;       // the last save failure shown, so the timer does not repeat it
  bool endet_ = false;          // the exit has begun (runs at most once)
  Schritt schritt_ = Schritt::Notiz;  // the exit's next step not yet begun
  bool sofort_ = false;         // ended at once: nothing is written any more
};
