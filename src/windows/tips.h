#pragma once
// Tips: one tip of the day at a time, drawn from the tips file beside the program so that the
// ten most recent ones do not come again soon. Loaded at each opening, shown modally, hidden by
// its buttons, unloaded by its caller.
#include <QDialog>
#include <QStringList>

class QCheckBox;
class QLabel;
class QPushButton;

// The tips file and the draw, apart from the window.
namespace TippsDatei {

// The tips of a tips file in file order: every trimmed line that is not empty, does not start
// with "[" or ";" and holds no "=". fehler (optional) gets a German reason when the file is
// missing or is no text file; the list is then empty.
QStringList Lesen(const QString& pfad, QString* fehler = nullptr);
// A tip as shown: "~" a paragraph break, the message markup, "{URL}" the home page, and a "."
// at the end unless it ends with ".", "!" or "?" (an empty tip stays empty).
QString Aufbereiten(const QString& tipp, const QString& url);
// Draws an index from 1 to anzahl-1 that the history does not name (".0012" for index 12);
// after 9999 rejected draws index 1. Uses Plattform::Zufall.
int Ziehen(int anzahl, const QString& verlauf);
// The history with index i in front, cut to 50 characters (the last ten entries).
QString VerlaufMit(int i, const QString& verlauf);

}  // namespace TippsDatei

class Tips : public QDialog {
  Q_OBJECT

public:
  explicit Tips(QWidget* parent = nullptr);

  void Form_Load();
  void befNext_Click();
  void strgAutoTipp_Click();
  void befAbbrechen_Click();
  void KeineTippsAnzeigen();

  QStringList lstTipps;
  QLabel* bezTip0 = nullptr;
  QLabel* bezTip = nullptr;
  QCheckBox* strgAutoTipp = nullptr;
  QPushButton* befNext = nullptr;
  QPushButton* befAbbrechen = nullptr;
  QString Datei;  // the tips file

public Q_SLOTS:
  void reject() override;  // Esc: the window's own close command

protected:
  void closeEvent(QCloseEvent* ereignis) override;

private:
  QString fehler_;  // why the file gave no tips
};
