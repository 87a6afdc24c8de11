#pragma once
// Setup: the options window. Page "Allgemeines": minimising into the tray and the heading of
// printed notes; page "Farben": note tabs in the note's background colour and the four font
// colours of the tabs. Every way of closing it writes all seven settings.
#include <QDialog>
#include <QString>
#include <QColor>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;

class Setup : public QDialog {
  Q_OBJECT

public:
  explicit Setup(QWidget* parent = nullptr);

  void Form_Load();
  void LesenEinstellungen();
  void SpeichernEinstellungen();
  void befNoForCol_Click(int index);
  void befOk_Click();
  // Ctrl+F1 (Ctrl alone) opens the special settings box; every other key does nothing. True
  // when the key was taken.
  bool Form_KeyUp(int taste, Qt::KeyboardModifiers umschalt);

  // The colour of a swatch as stored (a colour number, system colours included).
  quint32 Farbe(int index) const { return farbe_[index]; }
  void FarbeSetzen(int index, quint32 farbe);

  QTabWidget* SSTab1 = nullptr;
  QCheckBox* strgMin2Tray = nullptr;
  QLineEdit* txtÜberschrift = nullptr;
  QCheckBox* strgOptBackcolor = nullptr;
  QPushButton* befNoForCol[4] = {};
  QLabel* bezFarbHinweis = nullptr;  // names stored colours that could not be read
  QPushButton* befOk = nullptr;

public Q_SLOTS:
  void reject() override;  // Esc: the window's own close command, which saves

protected:
  void closeEvent(QCloseEvent* ereignis) override;
  bool eventFilter(QObject* objekt, QEvent* ereignis) override;

private:
  quint32 farbe_[4] = {};
};
