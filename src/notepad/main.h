#pragma once
// Main: the main window. A row of note tabs (one per note slot), the label bezInfo with the
// current note's header, the editor boxes Text(0) (no word wrap) and Text(1) (word wrap), the
// status bar, the menus "&Datei" and "&Weiteres", and the three timers Zeit (60 s: save),
// ZeitInfo (1 s: panels and the steps of other parts) and zeitBelegung (100 ms one-shot: tab
// colours). It saves the current note on every trigger and never asks whether to.
#include <QMainWindow>
#include <QMap>
#include <QTimer>
#include <array>
#include <vector>

#include "foundation/hauptfenster.h"
#include "notepad/notizspeicher.h"
#include "notepad/skribondiv.h"

class QAbstractButton;
class QButtonGroup;
class QLabel;
class QMenu;
class QScrollArea;
class QStackedWidget;
class QToolBar;
class QWidget;
class NotizEditor;

class Main : public QMainWindow, public Hauptfenster {
  Q_OBJECT
public:
  explicit Main(QWidget* parent = nullptr);
  ~Main() override;

  // The main window while it exists (global slot), else nullptr.
  static Main* Instanz();

  // The start-up steps, in order; each writes its progress text into the splash first.
  void Form_Load();
  // Window state handed over by the splash before the window is shown.
  void StartZustandSetzen(Qt::WindowStates zustand);

  // Why a note is saved: the messages differ a little.
  enum class Anlass { Timer, Wechsel, Befehl, Ende };
  // Saves the current note when it has unsaved changes (the caret position is stored even
  // without). False when the note could not be saved; the user has then been told.
  bool NotizSichern(Anlass anlass = Anlass::Befehl);
  // Shows note nr, saving the current one first. False when the current note could not be
  // saved (it stays shown) or nr is no note.
  bool NotizWechseln(int nr);
  // Opens a notepad of the data folder and shows its remembered note.
  void NotizblockOeffnen(const QString& name);
  // Makes Text(index) the active box; text, selection and caret go along.
  void TextAktivSetzen(int index);

  NotizEditor* aktiverText() const { return Text[SkribonDiv::TextAktiv ? 1 : 0]; }
  NotizSpeicher& speicher() { return speicher_; }
  // Progress texts of the start-up in the order written (tests read them).
  const QStringList& startProtokoll() const { return startProtokoll_; }
  // Caption and text colour of a note tab.
  QString tabText(int nr) const;
  QColor tabFarbe(int nr) const;
  bool kennwortNotiz() const { return geschuetzt_; }

  // ---- Controls -----------------------------------------------------------------------------
  std::array<NotizEditor*, 2> Text{};
  std::vector<QAbstractButton*> Opt;  // Opt[nr - 1] is the tab of note nr
  QLabel* bezInfo = nullptr;
  QMenu* mnuDatei = nullptr;
  QMenu* mnuWeiteres = nullptr;
  QAction* mnuBeenden = nullptr;
  std::array<QAction*, 4> mnuPrg{};
  // The editor's pop-up menu: the commands other windows register (PulRechner, PulInfo,
  // PulDrucken), the edit commands, and PulEnde.
  QMenu* mnuPopup = nullptr;
  QAction* PulEnde = nullptr;
  // The toolbar under the menu bar: registered commands, then PulEnde.
  QToolBar* Symbolleiste = nullptr;
  QTimer Zeit, ZeitInfo, zeitBelegung;
  // Status bar panels by key: "Status", "Datum", "Zeit", "Position", "Umbruch", "Modus",
  // "Geaendert".
  QLabel* panel(const QString& schluessel) const;

  // ---- Hauptfenster --------------------------------------------------------------------------
  QWidget* widget() override { return this; }
  QString text() const override;
  QString markierterText() const override;
  int markierungsLaenge() const override;
  QFont schrift() const override;
  QString notizblockName() const override;
  void notizblockOeffnen(const QString& name) override { NotizblockOeffnen(name); }
  bool notizSichern() override { return NotizSichern(Anlass::Befehl); }
  int notizAnzahl() const override { return SkribonDiv::NotizAnzahl; }
  int aktuelleNotiz() const override { return SkribonDiv::NotizNr; }
  bool notizWaehlen(int nr) override { return NotizWechseln(nr); }
  QString infoText() const override;
  void statusSetzen(const QString& text) override;
  QString statusText() const override;
  QIcon symbol() const override;
  QRect geometrie() const override;
  void belegungAuffrischen() override;
  void programmEintragVerbergen(int index) override;
  bool programmEintragSichtbar(int index) const override;
  QAction* befehlEintragen(const QString& menue, const QString& text, std::function<void()> aktion,
                           const QKeySequence& taste = {}, int orte = NurMenue,
                           const QString& name = {}) override;
  bool endet() const override { return endet_; }
  void beenden(bool ohneRueckfrage) override;
  void sofortBeenden() override;

public Q_SLOTS:
  void Opt_Click(int nr);
  void Text_Change();
  void Text_KeyDown_Einfuegen();
  void Zeit_Timer();
  void ZeitInfo_Timer();
  void zeitBelegung_Timer();
  void PulEnde_Click();
  // Right-click in an editor box: the pop-up menu at that place (box coordinates).
  void Text_MouseUp_Rechts(const QPoint& stelle);
  // Ctrl+Alt+G: selects the line at the caret and hands its text on.
  void Form_KeyDown_StrgAltG();
  void mnuPrg_Click(int index);
  void mnuWeiteres_Click();

protected:
  void closeEvent(QCloseEvent* e) override;
  void changeEvent(QEvent* e) override;
  bool event(QEvent* e) override;
  void showEvent(QShowEvent* e) override;

private:
  void fortschritt(const QString& text);
  void schritt(const QString& text, HauptfensterHaken::Punkt punkt);
  void tabsAnlegen();
  void tabsBeschriften();
  void tabZeigen(int nr);
  void notizLaden(int nr);
  void editorEinrichten(const NotizSchluessel& s);
  NotizSchluessel schluesselAusEditor() const;
  void panelsAuffrischen();
  void einstellungenSichern();
  void fensterplatzLaden();
  bool sicherungFehlgeschlagen(const QString& fehler, Anlass anlass);
  // A warning in the status panel that leaves again when it no longer holds; the size hints
  // go by themselves once the note is short enough.
  enum class Warnung { Keine, Hinweis, Groesse };
  void warnungSetzen(const QString& text, Warnung art = Warnung::Hinweis);
  void warnungLoeschen();
  void datumZeitAuffrischen();
  void befehlPlatzieren(QWidget* ziel, QAction* anker,
                        QVector<QPair<QString, QAction*>>& liste, const QString& name,
                        QAction* befehl);
  // Writes the current note when it has unsaved changes (or only its caret position), without
  // a word. *andere names the other program's version kept aside, if any.
  bool notizSchreiben(Anlass anlass, QString* fehler, QString* andere);
  // Quitting with a note that cannot be saved: asks, and on "end anyway" writes the
  // emergency copy. True when the program may end.
  bool endenTrotzFehler(bool ohneRueckfrage);

  // ---- How the program ends (see "Exit" in main.cpp) ----
  // The exit's steps in order; endeSchritt_ is the next one not yet begun.
  enum class EndeSchritt { Notiz, Einstellungen, Export, Hilfe, Abmelden, Statistik, Entladen, Fertig };
  void geordnetBeenden(bool ohneRueckfrage);
  void endeOhneRueckfrage();
  void schritteBisEntladen();
  // Saves the note silently or, failing that, writes its emergency copy; false when neither.
  bool notizRetten();
  // Writes the emergency copy of the shown text; its path, or "" when it could not be written.
  QString notfallKopieSchreiben();
  // Ends the process at once, without returning to the caller (see "Exit" in main.cpp).
  [[noreturn]] void prozessBeenden(bool textSicher);
  bool endeLaeuft() const { return endet_ && endeSchritt_ != EndeSchritt::Fertig; }

  NotizSpeicher speicher_;
  NotizSchluessel geladen_;  // the current note's keys as loaded or last saved
  QString header_;           // the current note's header
  bool geschuetzt_ = false;  // the current note is enciphered: shown read-only, never written
  bool sichertGerade_ = false;  // a save is running (a message box may let timers in)
  bool imCloseEvent_ = false;
  bool laedt_ = false;       // text is being put into a box: no change event counts
  bool endet_ = false;       // the exit has begun (runs at most once)
  EndeSchritt endeSchritt_ = EndeSchritt::Notiz;
  bool startFertig_ = false; // Form_Load has run to its end: the window's place is the user's
  bool sofort_ = false;      // ended at once: nothing is written any more
  Warnung warnung_ = Warnung::Keine;  // what the status panel warns of
  bool stumm_ = false;       // saving without anyone to read a message
  bool ersterPaint_ = true;
  bool zeitInfoLaeuft_ = false;
  QTimer zeitInfoWache_;     // runs the remote close while a tick of ZeitInfo waits in a box
  QString letzterFehler_;    // the last save failure shown, so the timer does not repeat it
  Qt::WindowStates startZustand_ = Qt::WindowNoState;
  bool startZustandGesetzt_ = false;
  QStringList startProtokoll_;
  QScrollArea* tabLeiste_ = nullptr;
  QWidget* tabFlaeche_ = nullptr;
  QButtonGroup* tabGruppe_ = nullptr;
  QStackedWidget* textStapel_ = nullptr;
  QMap<QString, QLabel*> panels_;
  QMap<QString, QMenu*> menues_;
  QAction* popupAnker_ = nullptr;   // registered pop-up commands go before it
  QAction* leisteAnker_ = nullptr;  // registered toolbar commands go before it
  QVector<QPair<QString, QAction*>> popupBefehle_, leisteBefehle_;
};
