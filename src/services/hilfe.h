#pragma once
// Help: the program's own help pages (HTML shipped inside the program) in a help window that
// stays open beside the program, each page chosen by the context number the program uses.
// A ".chm" or ".hlp" file of another program is opened with the desktop's handler.
#include <QMainWindow>
#include <QPointer>
#include <QString>

class QAction;
class QListWidget;
class QTextBrowser;
class QUrl;

namespace Z_Alles {

// The help file's topic: -1 closes the help, 0 the main topic, other numbers their page
// (an unknown number shows the main topic), below -1 nothing. hilfeDatei "" or the program's
// own help file (Skribon.chm) means the help window; another ".chm"/".hlp" is opened with the
// desktop's handler (its topics cannot be chosen there); any other name does nothing.
void HilfeZeigen(int kontext, const QString& hilfeDatei = {});
// The program's main topic.
void HilfeThemaZeigen();

}  // namespace Z_Alles

class HilfeFenster : public QMainWindow {
  Q_OBJECT
public:
  // One help page: its context numbers share the page.
  struct Thema {
    int kontext;
    QString datei;  // below ":/hilfe/"
    QString titel;
  };
  static const QList<Thema>& Themen();
  // The page of a context ("index.html" for 0 and unknown numbers).
  static QString SeiteFuer(int kontext);

  explicit HilfeFenster(QWidget* parent = nullptr);

  // The open help window, nullptr when there is none.
  static HilfeFenster* Instanz();
  // Shows the window (made when needed) at the page of a context, in front.
  static HilfeFenster* Zeigen(int kontext);
  // Closes and destroys the help window.
  static void Schliessen();

  void ThemaZeigen(int kontext);
  QString seite() const;  // file name of the page shown

  QListWidget* lstInhalt;
  QTextBrowser* txtHilfe;
  QAction* befZurueck;
  QAction* befVor;
  QAction* befStart;
  QAction* befSchliessen;

public Q_SLOTS:
  void lstInhalt_Click();
  void txtHilfe_AnchorClicked(const QUrl& ziel);
  void txtHilfe_SourceChanged(const QUrl& quelle);

private:
  static QPointer<HilfeFenster> instanz_;
};
