#pragma once
// Info: the about box. The product name painted large, the copyright and the maker's addresses,
// and a list of what the program knows about itself and this system. Loaded on first use and
// filled once; "Ok", Esc, Enter, Space and the close box only hide it.
#include <QDialog>
#include <QStringList>

class QLabel;
class QPushButton;
class QTreeWidget;
class QGroupBox;

// The rows of the list, apart from the window: "label<Tab>value"; a label "$:..." marks a file
// that a double-click opens.
namespace InfoZeilen {
QStringList Erstellen();
// The memo files of a folder for the program: "<program>_Memo.*" and "$Memo.*", ordinary files.
QStringList MemoDateien(const QString& ordner, const QString& muster);
}  // namespace InfoZeilen

class Info : public QDialog {
  Q_OBJECT

public:
  explicit Info(QWidget* parent = nullptr);

  void Form_Load();
  void SysInfo_DblClick();
  void befDebug_Click();
  void CopyrightEmail_Click();
  void CopyrightWww_Click();
  void CopyrightHinweis_DblClick();
  // Esc, Enter and Space close like "Ok"; "@" asks for a new size of the main window. True when
  // the key was taken.
  bool Form_KeyPress(QChar taste);
  void befAbbrechen_Click();

  // The rows as stored ("label<Tab>value"), in list order.
  QStringList Zeilen() const;
  // The title's font size for a window width and a title width at 30 points, both in pixels.
  static double TitelGroesse(int fensterBreite, double titelBreiteBei30);

  QLabel* CopyrightName = nullptr;
  QLabel* CopyrightEmail = nullptr;
  QLabel* CopyrightWww = nullptr;
  QLabel* CopyrightHinweis = nullptr;
  QGroupBox* Frame1 = nullptr;
  QTreeWidget* SysInfo = nullptr;
  QPushButton* befDebug = nullptr;
  QPushButton* befAbbrechen = nullptr;

public Q_SLOTS:
  void reject() override;

protected:
  void closeEvent(QCloseEvent* ereignis) override;
  void paintEvent(QPaintEvent* ereignis) override;
  bool eventFilter(QObject* objekt, QEvent* ereignis) override;
};
