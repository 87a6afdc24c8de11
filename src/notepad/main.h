#pragma once
// Main: the main window. A row of note tabs (one per note slot), the label bezInfo with the
// current note's header, the editor boxes Text(0) (no word wrap) and Text(1) (word wrap), the
// status bar, the menus "&Datei" and "&Weiteres", and the three timers Zeit (60 s: save),
// ZeitInfo (1 s: panels and the steps of other folders) and zeitBelegung (100 ms one-shot: tab
// colours). It saves the current note on every trigger and never asks whether to. What is saved,
// loaded and switched, and whether and how the program ends, the note session decides
// (NotizSitzung); the window only shows it.
#include <QMainWindow>
#include <QMap>
#include <QTimer>
#include <array>
#include <vector>

#include "foundation/hauptfenster.h"
#include "notepad/notizsitzung.h"
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

class Main : public QMainWindow, public Hauptfenster, private NotizAnsicht {
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

  using Anlass = NotizSitzung::Anlass;
  // The note session's work (see notizsitzung.h), as the window's commands call it.
  bool NotizSichern(Anlass anlass = Anlass::Befehl) { return sitzung_.sichern(anlass); }
  bool NotizWechseln(int nr) { return sitzung_.wechseln(nr); }
  void NotizblockOeffnen(const QString& name) { sitzung_.notizblockOeffnen(name); }
  // Makes Text(index) the active box; text, selection and caret go along.
  void TextAktivSetzen(int index);

  NotizEditor* aktiverText() const { return Text[SkribonDiv::TextAktiv ? 1 : 0]; }
  NotizSpeicher& speicher() { return sitzung_.speicher(); }
  // Progress texts of the start-up in the order written (tests read them).
  const QStringList& startProtokoll() const { return startProtokoll_; }
  // Caption and text colour of a note tab.
  QString tabText(int nr) const;
  QColor tabFarbe(int nr) const;
  bool kennwortNotiz() const { return sitzung_.geschuetzt(); }

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
  bool endet() const override { return sitzung_.endet(); }
  void beenden(bool ohneRueckfrage) override { sitzung_.beenden(ohneRueckfrage); }
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
  void editorEinrichten(const NotizSchluessel& s);
  void fensterplatzLaden();
  // A warning in the status panel that leaves again when it no longer holds; the size hints
  // go by themselves once the note is short enough. Voll: an input was refused for the size; it
  // is said until the text changes, and long enough to be read.
  enum class Warnung { Keine, Hinweis, Groesse, Voll };
  void warnungSetzen(const QString& text, Warnung art = Warnung::Hinweis);
  void warnungLoeschen();
  void datumZeitAuffrischen();
  void befehlPlatzieren(QWidget* ziel, QAction* anker,
                        QVector<QPair<QString, QAction*>>& liste, const QString& name,
                        QAction* befehl);

  // ---- NotizAnsicht: what the note session has the window show --------------------------------
  QString notizText() const override;
  int notizPosition() const override;
  QFont notizSchrift() const override;
  void notizZeigen(const NotizSpeicher::Notiz& notiz, bool lesbar, const QString& fehler) override;
  void notizblockZeigen() override;
  void reiterZeigen() override { tabZeigen(SkribonDiv::NotizNr); }
  void hinweisZeigen(const QString& text) override { warnungSetzen(text); }
  void hinweisLoeschen() override { warnungLoeschen(); }
  void panelsAuffrischen() override;
  void zeitgeberAnhalten() override;
  void zeitgeberStarten() override;
  bool platzSichern() override;
  void fensterSchliessen() override;

  NotizSitzung sitzung_{*this};
  bool imCloseEvent_ = false;
  bool laedt_ = false;       // text is being put into a box: no change event counts
  bool startFertig_ = false; // Form_Load has run to its end: the window's place is the user's
  Warnung warnung_ = Warnung::Keine;  // what the status panel warns of
  quint32 vollSeit_ = 0;              // tick count of the last refused input
  bool vollGeaendert_ = false;        // the text has changed since
  bool ersterPaint_ = true;
  // Runs while a tick of ZeitInfo does and while the exit runs: checks the remote close, should
  // the tick or the exit wait in a box.
  QTimer zeitInfoWache_;
  bool tickLaeuft_ = false;  // a tick of ZeitInfo runs (perhaps waiting in a box)
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
