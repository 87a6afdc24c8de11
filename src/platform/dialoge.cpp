// The real message and input boxes. Message boxes are Qt's own (default and Esc buttons, icons,
// the standard buttons in the language of Qt's translations). A text that would make a box larger
// than the screen goes into a bounded view that wraps anywhere and scrolls.
#include "platform/dialoge.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>
#include <algorithm>
#include <climits>

#include "platform/textdatei.h"

namespace Plattform {

namespace {

QPointer<QWidget> besitzer_;
HilfeFunktion hilfe_ = nullptr;

QString standardTitel(const QString& titel) {
  return titel.isEmpty() ? QStringLiteral("Skribon") : titel;
}

struct Knopf { QMessageBox::StandardButton qt; int ergebnis; };
// The buttons of a set from left to right, and the answer of Esc and the frame's close button:
// Cancel where the set has it, else the answer that changes nothing. Never "Ja".
struct Satz { QVector<Knopf> knoepfe; int esc; };

Satz satzFuer(int knoepfe) {
  switch (knoepfe & 7) {
    case vbOKCancel: return {{{QMessageBox::Ok, vbOK}, {QMessageBox::Cancel, vbCancel}}, vbCancel};
    case vbAbortRetryIgnore:
      return {{{QMessageBox::Abort, vbAbort}, {QMessageBox::Retry, vbRetry}, {QMessageBox::Ignore, vbIgnore}},
              vbAbort};
    case vbYesNoCancel:
      return {{{QMessageBox::Yes, vbYes}, {QMessageBox::No, vbNo}, {QMessageBox::Cancel, vbCancel}}, vbCancel};
    case vbYesNo: return {{{QMessageBox::Yes, vbYes}, {QMessageBox::No, vbNo}}, vbNo};
    case vbRetryCancel: return {{{QMessageBox::Retry, vbRetry}, {QMessageBox::Cancel, vbCancel}}, vbCancel};
    default: return {{{QMessageBox::Ok, vbOK}}, vbOK};
  }
}

QMessageBox::Icon symbolFuer(int knoepfe) {
  switch (knoepfe & 0x70) {
    case vbCritical: return QMessageBox::Critical;
    case vbQuestion: return QMessageBox::Question;
    case vbExclamation: return QMessageBox::Warning;
    case vbInformation: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
  }
}

QString zeilen(const QString& text) {
  return QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
}

// The room a box may take: the available area of the screen its owner is on.
QRect freieFlaeche(QWidget* besitzer) {
  QScreen* s = besitzer ? besitzer->screen() : nullptr;
  if (!s) s = QGuiApplication::primaryScreen();
  return s ? s->availableGeometry() : QRect(0, 0, 800, 600);
}

// Bounds of the text in a box: half the screen's width (at most what a reader takes in at once),
// half its height. The rest of the box (icon, buttons, frame) fits in what is left.
QSize textGrenze(const QRect& frei) {
  return {std::clamp(frei.width() / 2, 160, 600), std::max(frei.height() / 2, 80)};
}

// Longer texts never fit a label within the bounds; they are not measured.
constexpr qsizetype kMessbar = 4000;

// A label shows the text when it wraps at the bound into lines no wider than the bound and
// not taller than it: no word longer than a line, not too many lines.
bool passtInLabel(const QString& text, const QFont& schrift, const QSize& grenze) {
  if (text.size() > kMessbar) return false;
  const QRect r = QFontMetrics(schrift).boundingRect(QRect(0, 0, grenze.width(), INT_MAX), Qt::TextWordWrap, text);
  return r.width() <= grenze.width() && r.height() <= grenze.height();
}

// The text of a box that does not fit a label: read-only, wrapped at words or, for a word
// longer than a line, anywhere, scrolling within the bound; otherwise it looks like a label.
QPlainTextEdit* textAnsicht(const QString& text, const QSize& grenze, QWidget* eltern) {
  auto* ansicht = new QPlainTextEdit(eltern);
  ansicht->setObjectName(QStringLiteral("Meldungstext"));
  ansicht->setReadOnly(true);
  ansicht->setFrameShape(QFrame::NoFrame);
  ansicht->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  ansicht->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  ansicht->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  QPalette farben = ansicht->palette();
  farben.setColor(QPalette::Base, farben.color(QPalette::Window));
  ansicht->setPalette(farben);
  ansicht->setPlainText(text);
  int hoehe = grenze.height();
  if (text.size() <= kMessbar) {
    const QRect r = ansicht->fontMetrics().boundingRect(QRect(0, 0, grenze.width() - 30, INT_MAX),
                                                         Qt::TextWordWrap | Qt::TextWrapAnywhere, text);
    hoehe = std::min(hoehe, r.height() + 2 * int(ansicht->document()->documentMargin()) + 4);
  }
  ansicht->setFixedSize(grenze.width(), hoehe);
  return ansicht;
}

class EchteDialoge : public DialogDienst {
public:
  int msgBox(const QString& text, int knoepfe, const QString& titel, int hilfeThema) override {
    const QString inhalt = zeilen(text);
    // On the heap: an owner that goes while the box is open takes it along, and a box on the
    // stack would then be destroyed a second time.
    QPointer<QMessageBox> halter = new QMessageBox(DialogBesitzer());
    QMessageBox& box = *halter;
    box.setWindowTitle(standardTitel(titel));
    box.setIcon(symbolFuer(knoepfe));
    box.setTextFormat(Qt::PlainText);  // a message from a file or a note is text, never markup
    box.setText(inhalt);
    box.setTextInteractionFlags(Qt::TextSelectableByMouse);
    box.setAccessibleName(box.windowTitle());
    box.setAccessibleDescription(inhalt);
    const QSize grenze = textGrenze(freieFlaeche(box.parentWidget()));
    if (!passtInLabel(inhalt, box.font(), grenze)) textStattLabel(box, inhalt, grenze);

    const Satz satz = satzFuer(knoepfe);
    QHash<QAbstractButton*, int> antworten;
    for (const Knopf& k : satz.knoepfe) {
      antworten.insert(box.addButton(k.qt), k.ergebnis);
      if (k.ergebnis == satz.esc) box.setEscapeButton(k.qt);
    }
    if (knoepfe & vbMsgBoxHelpButton) {
      // QMessageBox ends on any of its buttons; Help opens the help and leaves the box open.
      QPushButton* hilfe = box.addButton(QMessageBox::Help);
      QObject::disconnect(hilfe, &QAbstractButton::clicked, nullptr, nullptr);
      QObject::connect(hilfe, &QAbstractButton::clicked, &box, [hilfeThema] { HilfeAufrufen(hilfeThema); });
    }
    // Set once the buttons belong to the box, so the default one also has the focus.
    const int vorgabe = (knoepfe >> 8) & 3;
    box.setDefaultButton(satz.knoepfe.value(vorgabe, satz.knoepfe[0]).qt);
    QApplication::beep();
    box.exec();
    // A box closed from outside (the program ending) answers like Esc.
    const int antwort = halter ? antworten.value(box.clickedButton(), satz.esc) : satz.esc;
    delete halter;
    return antwort;
  }

  QString inputBox(const QString& text, const QString& titel, const QString& vorgabe,
                   bool* abgebrochen) override {
    const QString inhalt = zeilen(text);
    QPointer<QDialog> halter = new QDialog(DialogBesitzer());  // on the heap, as the message box
    QDialog& d = *halter;
    d.setWindowTitle(standardTitel(titel));
    const QSize grenze = textGrenze(freieFlaeche(d.parentWidget()));
    auto* spalte = new QVBoxLayout(&d);
    spalte->setSizeConstraint(QLayout::SetFixedSize);
    auto* feld = new QLineEdit(vorgabe, &d);
    if (passtInLabel(inhalt, d.font(), grenze)) {
      auto* label = new QLabel(inhalt, &d);
      label->setTextFormat(Qt::PlainText);
      label->setWordWrap(true);
      label->setBuddy(feld);
      spalte->addWidget(label);
    } else {
      spalte->addWidget(textAnsicht(inhalt, grenze, &d));
    }
    feld->setMinimumWidth(std::min(grenze.width(), 360));
    feld->setAccessibleName(d.windowTitle());
    feld->setAccessibleDescription(inhalt);
    feld->selectAll();
    spalte->addWidget(feld);
    auto* leiste = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &d);
    leiste->button(QDialogButtonBox::Ok)->setDefault(true);
    QObject::connect(leiste, &QDialogButtonBox::accepted, &d, &QDialog::accept);
    QObject::connect(leiste, &QDialogButtonBox::rejected, &d, &QDialog::reject);
    spalte->addWidget(leiste);
    feld->setFocus();
    const bool ok = d.exec() == QDialog::Accepted;  // Rejected when it went with its owner
    if (abgebrochen) *abgebrochen = !ok;
    const QString wert = ok ? feld->text() : QString();
    delete halter;
    return wert;
  }

private:
  // Puts the bounded view where the box's label stands; the label stays for the box's own
  // bookkeeping, hidden.
  static void textStattLabel(QMessageBox& box, const QString& inhalt, const QSize& grenze) {
    auto* raster = qobject_cast<QGridLayout*>(box.layout());
    auto* label = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
    const int stelle = raster && label ? raster->indexOf(label) : -1;
    if (stelle < 0) return;
    int zeile = 0, spalte = 0, zeilen = 0, spalten = 0;
    raster->getItemPosition(stelle, &zeile, &spalte, &zeilen, &spalten);
    label->hide();
    raster->addWidget(textAnsicht(inhalt, grenze, &box), zeile, spalte, zeilen, spalten);
  }
};

EchteDialoge echte_;
DialogDienst* dienst_ = nullptr;
bool abgeschaltet_ = false;

}  // namespace

void SetzeDialogDienst(DialogDienst* dienst) { dienst_ = dienst; }
DialogDienst& Dialoge() { return dienst_ ? *dienst_ : echte_; }
void DialogeAbschalten(bool aus) { abgeschaltet_ = aus; }

int MsgBox(const QString& text, int knoepfe, const QString& titel, int hilfeThema) {
  if (abgeschaltet_) return satzFuer(knoepfe).esc;
  // Files already replaced must not wait on the user to be durable.
  OrdnerSyncGebuendelt::jetztSynchronisieren();
  return Dialoge().msgBox(text, knoepfe, standardTitel(titel), hilfeThema);
}

QString InputBox(const QString& text, const QString& titel, const QString& vorgabe, bool* abgebrochen) {
  if (abgeschaltet_) {
    if (abgebrochen) *abgebrochen = true;
    return {};
  }
  OrdnerSyncGebuendelt::jetztSynchronisieren();
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
