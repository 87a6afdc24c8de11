#pragma once
// Message and input boxes through one service, so tests can answer them.
// Buttons, icon, default button and Help are bits of one flag number that combine with |;
// each result is one number.
#include <QString>
#include <QStringList>

class QWidget;

namespace Plattform {

enum MsgKnopf : int {
  vbOKOnly = 0, vbOKCancel = 1, vbAbortRetryIgnore = 2, vbYesNoCancel = 3, vbYesNo = 4,
  vbRetryCancel = 5,
  vbCritical = 16, vbQuestion = 32, vbExclamation = 48, vbInformation = 64,
  vbDefaultButton1 = 0, vbDefaultButton2 = 256, vbDefaultButton3 = 512,
  vbMsgBoxHelpButton = 16384,
};
enum MsgErgebnis : int { vbOK = 1, vbCancel = 2, vbAbort = 3, vbRetry = 4, vbIgnore = 5, vbYes = 6, vbNo = 7 };

// What a test sees of one box.
struct DialogAufzeichnung {
  bool eingabe = false;     // input box rather than message box
  QString titel;
  QString text;
  int knoepfe = 0;          // flags as passed (buttons | icon | default | help)
  int hilfeThema = 0;       // help topic of a box with a Help button
  QString vorgabe;          // input box default
};

class DialogDienst {
public:
  virtual ~DialogDienst() = default;
  // Returns one of MsgErgebnis. hilfeThema > 0 with vbMsgBoxHelpButton shows a Help button that
  // opens help (through HilfeAufruf) without closing the box.
  virtual int msgBox(const QString& text, int knoepfe, const QString& titel, int hilfeThema) = 0;
  // Returns the typed text; abgebrochen=true (and "") on Cancel.
  virtual QString inputBox(const QString& text, const QString& titel, const QString& vorgabe,
                           bool* abgebrochen) = 0;
};

// Installs a service (nullptr = the real one with Qt boxes). Not owned.
void SetzeDialogDienst(DialogDienst* dienst);
DialogDienst& Dialoge();

// Shortcuts as the program's code calls them.
int MsgBox(const QString& text, int knoepfe = vbOKOnly, const QString& titel = {}, int hilfeThema = 0);
QString InputBox(const QString& text, const QString& titel = {}, const QString& vorgabe = {},
                 bool* abgebrochen = nullptr);

// Once no one can answer (the program ends on a signal, at the end of the session or by remote
// close), boxes are no longer shown: each returns at once what its safe button would (OK when it
// is the only button, else Cancel, No or Abort); an input box is cancelled.
void DialogeAbschalten(bool aus);

// Window that owns the boxes (the main window once it exists); may be nullptr.
void SetzeDialogBesitzer(QWidget* besitzer);
QWidget* DialogBesitzer();

// Called when the Help button of a box is pressed; the services install the real help.
using HilfeFunktion = void (*)(int thema);
void SetzeHilfeAufruf(HilfeFunktion f);
void HilfeAufrufen(int thema);

// The hourglass for the length of a block (nothing without a window system, as in some tests).
class Sanduhr {
public:
  Sanduhr();
  ~Sanduhr();
  Sanduhr(const Sanduhr&) = delete;
  Sanduhr& operator=(const Sanduhr&) = delete;

private:
  bool an_;
};

}  // namespace Plattform
