#pragma once
// DatenOrdner: where the program keeps its files. Three sections (settings file, program folder,
// data folder), each with its path, a write test and the files found; the data-folder pointer
// can be moved (the program then restarts), and a report of it all can be copied or printed.
// Loaded at each opening, shown modally, hidden by OK, "&Zurück" or the close box.
#include <QDialog>
#include <QStringList>

class QAction;
class QGroupBox;
class QLabel;
class QListWidget;
class QPushButton;
class QTimer;

// The report and the folder checks, apart from the window.
namespace OrdnerBericht {

struct Abschnitt {
  QString rahmen;          // frame caption
  QString info;            // explanation
  QString pfad;            // path label
  QString fehler;          // write test result, empty when it passed
  QStringList dateien;     // the list's entries
  bool listeSichtbar = true;
};

// The report: the heading (CR LF read as blanks), the program folder, the data folder and the
// settings file, "Sonstiges" with how the data folder was chosen, and the diagnostics report,
// passed through the message markup.
QString Text(const QString& kopf, const Abschnitt abschnitte[3], const QString& herkunft,
             const QString& diagnose);
// The ordinary files of a folder that match one of the patterns ("*.inf;*.t??"), in any case,
// sorted by name. ok=false when the folder cannot be read.
QStringList Dateien(const QString& ordner, const QString& muster, bool* ok = nullptr);
// Writes a fresh value as [Allgemein] Schreibtest into the file and reads it back with "?".
bool DateiSchreibtest(const QString& datei);

}  // namespace OrdnerBericht

class DatenOrdner : public QDialog {
  Q_OBJECT

public:
  explicit DatenOrdner(QWidget* parent = nullptr);

  void Form_Load();
  void TimerReadData_Timer();
  void befDo_Click(int index);
  void befDatenOrdnerVerlegen_Click();
  void bezDo_DblClick(int index);
  void bezInfo_DblClick(int index);
  void mnuBericht_Click(int index);
  void mnuHilfe_Click();
  void befOk_Click();
  void mnuZurück_Click();

  // The system's folder picker; empty when cancelled.
  QString BrowseForFolder(QWidget* besitzer = nullptr,
                          const QString& titel = QStringLiteral("Wählen Sie einen Ordner aus"));
  // The report as it would be copied.
  QString BerichtText() const;

  QGroupBox* Frame1[3] = {};
  QLabel* bezInfo[3] = {};
  QLabel* bezDo[3] = {};
  QLabel* bezError[3] = {};
  QPushButton* befDo[3] = {};
  QListWidget* lstDo[3] = {};
  QLabel* Label1 = nullptr;
  QPushButton* befDatenOrdnerVerlegen = nullptr;
  QPushButton* befOk = nullptr;
  QTimer* TimerReadData = nullptr;
  QAction* mnuBericht[2] = {};
  QAction* mnuZurück = nullptr;
  QAction* mnuHilfe = nullptr;

public Q_SLOTS:
  void reject() override;

protected:
  void closeEvent(QCloseEvent* ereignis) override;
  bool eventFilter(QObject* objekt, QEvent* ereignis) override;

private:
  void debugAbschnitte();
  void berichtDrucken(const QString& text);
};
