#pragma once
// PrinterSet: the print settings window shown before a note is printed: range, orientation,
// printer, margins, width and height of the text, copies. Each notepad keeps its settings as a
// preset, one section of Vesk_Prn.ini; a preset can make the window close and print by itself.
//
// The window reports through its controls: OK and Cancel only hide it (Cancel checks the hidden
// box Abbruch), the caller reads the controls and then unloads it with Entladen(). Unloading
// makes the printer named in [Allgemein] DruckerLastDefault current again.
#include <QDialog>
#include <array>

class QAction;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QMenuBar;
class QPushButton;
class QRadioButton;
class QTimer;
class QWidget;

class PrinterSet : public QDialog {
  Q_OBJECT

public:
  explicit PrinterSet(QWidget* parent = nullptr);
  ~PrinterSet() override;

  // The window when it is loaded, else nullptr.
  static PrinterSet* Instanz();
  // Loads the window on first access (Form_Load with the preset of Z_Alles::PresetName).
  static PrinterSet* Laden();
  // Unloads it: the closing restores the printer, then the window is gone.
  static void Entladen();

  static inline const QString Datei = QStringLiteral("Vesk_Prn.ini");
  static inline const QString StandardDrucker = QStringLiteral("*** Standard-Drucker ***");

  // A length list's position as centimetres (position i is i/10 cm).
  static double PositionZuCm(int position) { return position / 10.0; }
  // Centimetres as the position of a tenths list, rounded to the nearest tenth.
  static int CmZuPosition(double cm);

  void PresetLoad();
  void PresetSave();

  // ---- Handlers (public so the caller and tests can run them) ----
  void Form_Load();
  // modus 0: closed by the user (the close is cancelled and Cancel runs); other: by code.
  // Returns true when the unload is cancelled.
  bool Form_QueryUnload(int modus);
  void TimerInit_Timer();
  void TimerAutoPrint_Timer();
  void befOk_Click();
  void befAbbrechen_Click();
  void befRand_Click(int index);
  void ComboDrucker_Click();
  void bezDrucker_DblClick();
  void optAusrichtung_Click(int index);
  void mnuEinstellungenSave_Click();
  // Runs after the menu item's check mark was toggled.
  void mnuEinstellungenAutoPrint_Click();

  // ---- Controls ----
  QMenuBar* menue = nullptr;
  QAction* mnuEinstellungenX = nullptr;
  QAction* mnuEinstellungenSave = nullptr;
  QAction* mnuEinstellungenAutoPrint = nullptr;

  QGroupBox* frame6 = nullptr;
  QPushButton* befOk = nullptr;
  QPushButton* befAbbrechen = nullptr;
  QCheckBox* Abbruch = nullptr;

  QGroupBox* frmBereich = nullptr;
  std::array<QRadioButton*, 2> optBereich{};
  QGroupBox* frmAusrichtung = nullptr;
  std::array<QRadioButton*, 2> optAusrichtung{};
  std::array<QLabel*, 2> imgAusrichtung{};

  QGroupBox* Frame4 = nullptr;
  QComboBox* ComboDrucker = nullptr;
  QLabel* bezDrucker = nullptr;

  QGroupBox* frmRänder = nullptr;
  QLabel* bezRandX = nullptr;
  QComboBox* ComboRandX = nullptr;
  QLabel* bezRandY = nullptr;
  QComboBox* ComboRandY = nullptr;
  QWidget* frmWeiten = nullptr;
  QLabel* Label4 = nullptr;
  QComboBox* ComboRandW = nullptr;
  QLabel* Label3 = nullptr;
  QComboBox* ComboRandH = nullptr;
  // Indices 0, 1, 2 (A4, A5, A6) and 9 (reset); the others stay empty.
  std::array<QPushButton*, 10> befRand{};

  QGroupBox* frmAnzahl = nullptr;
  QLabel* ImageAnzahl = nullptr;
  QLabel* bezAnzahl = nullptr;
  QComboBox* ComboAnzahl = nullptr;

  QTimer* TimerInit = nullptr;
  QTimer* TimerAutoPrint = nullptr;

protected:
  void closeEvent(QCloseEvent* ereignis) override;
  bool eventFilter(QObject* objekt, QEvent* ereignis) override;

public Q_SLOTS:
  // Esc: the window's own Cancel.
  void reject() override;

private:
  void druckerDetails();
};
