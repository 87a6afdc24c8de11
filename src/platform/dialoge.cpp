// The real message and input boxes. A box with a Help button is a small dialog of our own,
// because QMessageBox closes itself when Help is pressed.
#include "platform/dialoge.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>
#include <algorithm>

namespace Plattform {

namespace {

QPointer<QWidget> besitzer_;
HilfeFunktion hilfe_ = nullptr;

QString standardTitel(const QString& titel) {
  return titel.isEmpty() ? QStringLiteral("Skribon") : titel;
}

struct Knopf { QDialogButtonBox::StandardButton qt; int ergebnis; QString text; };

QVector<Knopf> knoepfeFuer(int art) {
  switch (art & 7) {
    case vbOKCancel: return {{QDialogButtonBox::Ok, vbOK, "OK"}, {QDialogButtonBox::Cancel, vbCancel, "Abbrechen"}};
    case vbAbortRetryIgnore:
      return {{QDialogButtonBox::Abort, vbAbort, "Abbrechen"}, {QDialogButtonBox::Retry, vbRetry, "&Wiederholen"},
              {QDialogButtonBox::Ignore, vbIgnore, "&Ignorieren"}};
    case vbYesNoCancel:
      return {{QDialogButtonBox::Yes, vbYes, "&Ja"}, {QDialogButtonBox::No, vbNo, "&Nein"},
              {QDialogButtonBox::Cancel, vbCancel, "Abbrechen"}};
    case vbYesNo: return {{QDialogButtonBox::Yes, vbYes, "&Ja"}, {QDialogButtonBox::No, vbNo, "&Nein"}};
    case vbRetryCancel: return {{QDialogButtonBox::Retry, vbRetry, "&Wiederholen"}, {QDialogButtonBox::Cancel, vbCancel, "Abbrechen"}};
    default: return {{QDialogButtonBox::Ok, vbOK, "OK"}};
  }
}

QStyle::StandardPixmap symbolFuer(int knoepfe) {
  switch (knoepfe & 0x70) {
    case vbCritical: return QStyle::SP_MessageBoxCritical;
    case vbQuestion: return QStyle::SP_MessageBoxQuestion;
    case vbExclamation: return QStyle::SP_MessageBoxWarning;
    case vbInformation: return QStyle::SP_MessageBoxInformation;
    default: return QStyle::SP_CustomBase;
  }
}

// Esc and the frame's close button answer like the system's boxes: with Cancel where the box
// has it, with OK when OK is its only button. A Yes/No or Abort/Retry/Ignore box has no such
// answer and stays open: a caller testing for "No" must never read Esc as a "Yes".
class MeldungsBox : public QDialog {
public:
  using QDialog::QDialog;
  bool schliessbar = true;
  void reject() override {
    if (schliessbar) QDialog::reject();
  }
};

class EchteDialoge : public DialogDienst {
public:
  int msgBox(const QString& text, int knoepfe, const QString& titel, int hilfeThema) override {
    // On the heap: when its owner goes while the box is open, it goes along, not twice.
    QPointer<MeldungsBox> halter = new MeldungsBox(DialogBesitzer());
    MeldungsBox& box = *halter;
    box.setWindowTitle(standardTitel(titel));
    auto* haupt = new QVBoxLayout(&box);
    auto* zeile = new QHBoxLayout;
    const auto sym = symbolFuer(knoepfe);
    if (sym != QStyle::SP_CustomBase) {
      auto* bild = new QLabel;
      bild->setPixmap(box.style()->standardIcon(sym).pixmap(32, 32));
      bild->setAlignment(Qt::AlignTop);
      zeile->addWidget(bild);
    }
    auto* label = new QLabel(text);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(text.size() > 80);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    zeile->addWidget(label, 1);
    haupt->addLayout(zeile);
    auto* leiste = new QDialogButtonBox;
    const auto liste = knoepfeFuer(knoepfe);
    int ergebnis = liste.size() == 1 ? liste[0].ergebnis : vbCancel;
    box.schliessbar = liste.size() == 1 ||
                      std::any_of(liste.begin(), liste.end(), [](const Knopf& k) { return k.ergebnis == vbCancel; });
    const int vorgabe = (knoepfe >> 8) & 3;
    for (int i = 0; i < liste.size(); ++i) {
      QPushButton* b = leiste->addButton(liste[i].qt);
      b->setText(liste[i].text);
      if (i == vorgabe) b->setDefault(true), b->setFocus();
      const int e = liste[i].ergebnis;
      QObject::connect(b, &QPushButton::clicked, &box, [&box, &ergebnis, e] { ergebnis = e; box.accept(); });
    }
    if (knoepfe & vbMsgBoxHelpButton) {
      QPushButton* h = leiste->addButton(QDialogButtonBox::Help);
      h->setText("&Hilfe");
      QObject::connect(h, &QPushButton::clicked, &box, [hilfeThema] { HilfeAufrufen(hilfeThema); });
    }
    haupt->addWidget(leiste);
    QApplication::beep();
    box.exec();
    delete halter;
    return ergebnis;
  }

  QString inputBox(const QString& text, const QString& titel, const QString& vorgabe,
                   bool* abgebrochen) override {
    QPointer<QInputDialog> halter = new QInputDialog(DialogBesitzer());
    QInputDialog& d = *halter;
    d.setWindowTitle(standardTitel(titel));
    d.setLabelText(text);
    d.setTextValue(vorgabe);
    d.setOkButtonText("OK");
    d.setCancelButtonText("Abbrechen");
    const bool ok = d.exec() == QDialog::Accepted;  // Rejected when it went with its owner
    if (abgebrochen) *abgebrochen = !ok;
    const QString wert = ok ? d.textValue() : QString();
    delete halter;
    return wert;
  }
};

EchteDialoge echte_;
DialogDienst* dienst_ = nullptr;
bool abgeschaltet_ = false;

int sichereAntwort(int knoepfe) {
  switch (knoepfe & 7) {
    case vbOKOnly: return vbOK;
    case vbAbortRetryIgnore: return vbAbort;
    case vbYesNo: return vbNo;
    default: return vbCancel;
  }
}

}  // namespace

void SetzeDialogDienst(DialogDienst* dienst) { dienst_ = dienst; }
DialogDienst& Dialoge() { return dienst_ ? *dienst_ : echte_; }
void DialogeAbschalten(bool aus) { abgeschaltet_ = aus; }

int MsgBox(const QString& text, int knoepfe, const QString& titel, int hilfeThema) {
  if (abgeschaltet_) return sichereAntwort(knoepfe);
  return Dialoge().msgBox(text, knoepfe, standardTitel(titel), hilfeThema);
}

QString InputBox(const QString& text, const QString& titel, const QString& vorgabe, bool* abgebrochen) {
  if (abgeschaltet_) {
    if (abgebrochen) *abgebrochen = true;
    return {};
  }
  return Dialoge().inputBox(text, standardTitel(titel), vorgabe, abgebrochen);
}

void SetzeDialogBesitzer(QWidget* besitzer) { besitzer_ = besitzer; }
QWidget* DialogBesitzer() { return besitzer_ ? besitzer_.data() : QApplication::activeWindow(); }

void SetzeHilfeAufruf(HilfeFunktion f) { hilfe_ = f; }
void HilfeAufrufen(int thema) {
  if (hilfe_) hilfe_(thema);
}

Sanduhr::Sanduhr() : an_(qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr) {
  if (an_) QApplication::setOverrideCursor(Qt::WaitCursor);
}

Sanduhr::~Sanduhr() {
  if (an_) QApplication::restoreOverrideCursor();
}

}  // namespace Plattform
