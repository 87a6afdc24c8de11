#pragma once
// Rechner: the calculator tool window. Page 0 calculates the typed line (history, result in the
// chosen number format, hexadecimal, binary or near fractions); page 1 converts between the units
// of the unit file. The window exists once: loaded on first use, hidden on close, kept with its
// history until the program ends.
#include <QMainWindow>
#include <QPointer>
#include <QStringList>

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPushButton;
class QTabWidget;
class QTimer;

class Rechner : public QMainWindow {
  Q_OBJECT

public:
  explicit Rechner(QWidget* parent = nullptr);
  ~Rechner() override;

  // The window when it is loaded, else nullptr.
  static Rechner* Instanz();
  // Loads the window on first use (Form_Load) and returns it; does not show it.
  static Rechner* Laden();
  // The main window's calculator command: shows the window without making it modal; a selected
  // text that is not empty becomes the whole expression line.
  static void Oeffnen(const QString& markierterText);
  // Unloads the window at the program's end, without storing its position.
  static void Entladen();
  // The main window's command "&Taschenrechner..." (Shift+F1): Oeffnen with the active editor's
  // selected text.
  static void PulRechner_Click();
  // Adds that command to the main window's menu "&Weiteres" and the unload to its exit.
  // src/verdrahtung.cpp calls this once before the main window is made.
  static void Registrieren();

  // The function list, in order (entwickler: the developers' first entry).
  static QStringList FunktionenListe(bool entwickler, const QDate& heute);

  // ---- Handlers (public so the main window's command and tests can run them) ----
  void Form_Load();
  bool mnuRechne_Click();  // false when the line could not be calculated
  void mnuCLS_Click();
  void mnuEnde_Click();
  void mnuKopie_Click();
  void mnuEinfg_Click();
  void mnuFormat_Click(int index);
  void mnuInfo_Click();
  void Funktionen_Click(int index);
  void ListP_DblClick();
  void BezHex_Click();
  void BezBin_DblClick();
  void SSTab_Click(int vorherigeSeite);
  void mnuUmrechSteuer_Click(int index);
  void mnuWährung_Click(int index);
  void mnuUmrechSteuerMwStEdit_Click();
  // Converter (page 1).
  void LesenUmrechnungen();
  void ComboRubrik_Click();
  void befUmrechnen_Click();
  void TimerUmrechnen_Timer();
  void mnuUmrechnenSIReset_Click();
  void mnuUmrechnenEinheitReset_Click();
  void mnuUmrechnenAustauschen_Click();
  void mnuUmrechnenEinheitenEdit_Click();

  // ---- Controls ----
  QTabWidget* SSTab = nullptr;
  QLineEdit* Text = nullptr;
  QListWidget* ListP = nullptr;
  QLabel* Bezeichnung1 = nullptr;
  QComboBox* Funktionen = nullptr;
  QLabel* BezDez = nullptr;
  QLabel* BezHex = nullptr;
  QLabel* BezBin = nullptr;

  QComboBox* ComboRubrik = nullptr;
  QComboBox* ComboEinheit[2] = {};
  QComboBox* ComboSI[2] = {};
  QLineEdit* txtWert[2] = {};
  QPushButton* befUmrechnen = nullptr;
  QLabel* befNoCheck = nullptr;
  QLabel* bezHinweis = nullptr;  // what is wrong with the unit file, when something is
  QTimer* TimerUmrechnen = nullptr;

  QMenu* mnuRech = nullptr;
  QAction* mnuRechne = nullptr;
  QAction* mnuCLS = nullptr;
  QAction* mnuEnde = nullptr;
  QMenu* mnuBearbeiten = nullptr;
  QAction* mnuKopie = nullptr;
  QAction* mnuEinfg = nullptr;
  QMenu* mnuUmrechnen0 = nullptr;
  QMenu* mnuUmrechSteuerX = nullptr;
  QAction* mnuUmrechSteuer[6] = {};
  QAction* mnuUmrechSteuerMwStEdit = nullptr;
  QMenu* mnuWährungX = nullptr;
  QAction* mnuWährung[2] = {};
  QMenu* mnuUmrechnen1 = nullptr;
  QAction* mnuUmrechnenSIReset = nullptr;
  QAction* mnuUmrechnenEinheitReset = nullptr;
  QAction* mnuUmrechnenAustauschen = nullptr;
  QAction* mnuUmrechnenEinheitenEdit = nullptr;
  QMenu* mnuForm = nullptr;
  QAction* mnuFormat[9] = {};
  QMenu* mnuHilfe = nullptr;
  QAction* mnuInfo = nullptr;

  // ---- State ----
  QString Zahlenformat;     // the chosen number format text
  QString EinheitenDatei;   // full path of the unit file, empty when none was found
  QString ErgebnisRoh;      // the converter's result unformatted (what Ctrl+C copies on page 1)

protected:
  void closeEvent(QCloseEvent* ereignis) override;
  void keyPressEvent(QKeyEvent* ereignis) override;
  bool eventFilter(QObject* objekt, QEvent* ereignis) override;

private:
  void OberflaecheBauen();
  void MenuesBauen();
  void Text_KeyPress(QKeyEvent* ereignis, bool* verbraucht);
  void UmrechnenMenuesZeigen(int seite);
  void HinweisZeigen();
  void PositionLaden();
  void PositionSichern();
  void TextSetzen(const QString& text);

  QStringList formate_;
  QString dateiHinweis_;        // problem of the unit file as a whole
  QString umrechnungsHinweis_;  // problem of the last conversion
  bool entladen_ = false;
  static QPointer<Rechner> instanz_;
};
