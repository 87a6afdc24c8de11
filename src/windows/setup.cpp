#include "windows/setup.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QColorDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QPointer>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "foundation/dienste.h"
#include "foundation/hauptfenster.h"
#include "foundation/z_alles.h"
#include "platform/farben.h"
#include "services/spezial.h"
#include "windows/fenster_intern.h"

namespace {

const QString kKopfSchluessel = QStringLiteral("PrnUeberschrift");
const QString kKopfVorgabe = QStringLiteral("{Name} , Seite {Seite}");
const char* const kFarbTitel[4] = {"Standard...", "Ohne Inhalt...", "Kennwortgeschützt...", "Aktuelle..."};

bool desktopFarbe(QWidget* besitzer, const QString& titel, QColor& farbe) {
  // Not QColorDialog::getColor: that keeps the dialog on the stack with an owner.
  QPointer<QColorDialog> d = new QColorDialog(farbe, besitzer);
  d->setWindowTitle(titel);
  const bool ok = d->exec() == QDialog::Accepted;  // Rejected when it went with its owner
  if (ok) farbe = d->selectedColor();
  delete d;
  return ok && farbe.isValid();
}

QLabel* ueberschrift(const QString& text, QWidget* eltern) {
  auto* l = new QLabel(text, eltern);
  QFont f = l->font();
  f.setBold(true);
  l->setFont(f);
  return l;
}

}  // namespace

Setup::Setup(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("Setup"));
  setWindowTitle(QStringLiteral("Einstellungen"));
  for (int i = 0; i < 4; ++i) farbe_[i] = Plattform::FarbZahlLesen(TabFarben::Vorgabe[i]);

  SSTab1 = new QTabWidget(this);
  SSTab1->setObjectName(QStringLiteral("SSTab1"));

  // Page 0: general settings.
  auto* seite0 = new QWidget;
  strgMin2Tray = new QCheckBox(QStringLiteral("Minimieren ins Tray"), seite0);
  strgMin2Tray->setObjectName(QStringLiteral("strgMin2Tray"));
  strgMin2Tray->setToolTip(QStringLiteral("Minimiertes Programm nicht in der Taskleiste sondern im Tray anzeigen"));
  txtÜberschrift = new QLineEdit(seite0);
  txtÜberschrift->setObjectName(QStringLiteral("txtÜberschrift"));
  auto* bezKopf = new QLabel(QStringLiteral("Überschrift für Ausdruck"), seite0);
  bezKopf->setBuddy(txtÜberschrift);
  auto* l0 = new QVBoxLayout(seite0);
  l0->addWidget(ueberschrift(QStringLiteral("Allgemeine Einstellungen"), seite0));
  l0->addSpacing(4);
  l0->addWidget(strgMin2Tray);
  l0->addSpacing(10);
  l0->addWidget(bezKopf);
  l0->addWidget(txtÜberschrift);
  l0->addStretch(1);
  SSTab1->addTab(seite0, QStringLiteral("Allgemeines"));

  // Page 1: the note tabs' colours.
  auto* seite1 = new QWidget;
  auto* rahmenHinten = new QGroupBox(QStringLiteral("Hintergrundfarbe"), seite1);
  strgOptBackcolor = new QCheckBox(QStringLiteral("Wie Notiz"), rahmenHinten);
  strgOptBackcolor->setObjectName(QStringLiteral("strgOptBackcolor"));
  (new QVBoxLayout(rahmenHinten))->addWidget(strgOptBackcolor);
  auto* rahmenSchrift = new QGroupBox(QStringLiteral("Schriftfarbe"), seite1);
  auto* raster = new QGridLayout(rahmenSchrift);
  for (int i = 0; i < 4; ++i) {
    befNoForCol[i] = new QPushButton(QString::fromUtf8(kFarbTitel[i]), rahmenSchrift);
    befNoForCol[i]->setObjectName(QStringLiteral("befNoForCol%1").arg(i));
    raster->addWidget(befNoForCol[i], i / 2, i % 2);
    connect(befNoForCol[i], &QPushButton::clicked, this, [this, i] { befNoForCol_Click(i); });
  }
  bezFarbHinweis = new QLabel(seite1);
  bezFarbHinweis->setObjectName(QStringLiteral("bezFarbHinweis"));
  bezFarbHinweis->setWordWrap(true);
  bezFarbHinweis->setVisible(false);
  auto* l1 = new QVBoxLayout(seite1);
  l1->addWidget(ueberschrift(QStringLiteral("Gestaltung der Notiz-Auswahlfelder"), seite1));
  l1->addWidget(rahmenHinten);
  l1->addWidget(rahmenSchrift);
  l1->addWidget(bezFarbHinweis);
  l1->addStretch(1);
  SSTab1->addTab(seite1, QStringLiteral("Farben"));

  befOk = new QPushButton(QStringLiteral("&Ok"), this);
  befOk->setObjectName(QStringLiteral("befOk"));
  befOk->setDefault(true);
  connect(befOk, &QPushButton::clicked, this, &Setup::befOk_Click);
  auto* unten = new QHBoxLayout;
  unten->addStretch(1);
  unten->addWidget(befOk);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(SSTab1, 1);
  layout->addLayout(unten);
  resize(440, 330);

  installEventFilter(this);
  for (QWidget* w : findChildren<QWidget*>()) w->installEventFilter(this);
  for (int i = 0; i < 4; ++i) FarbeSetzen(i, farbe_[i]);
  Form_Load();
}

void Setup::Form_Load() {
  Hilfsfenster::Intern::SymbolUebernehmen(this);
  SSTab1->setCurrentIndex(0);
  LesenEinstellungen();
}

void Setup::FarbeSetzen(int index, quint32 farbe) {
  if (index < 0 || index > 3) return;
  farbe_[index] = farbe;
  const QColor c = Plattform::ZuQColor(farbe);
  QPalette p = befNoForCol[index]->palette();
  p.setColor(QPalette::ButtonText, c);
  befNoForCol[index]->setPalette(p);
  // A small swatch beside the caption, so a light colour does not look like a disabled button.
  QPixmap feld(14, 14);
  feld.fill(c);
  QPainter rand(&feld);
  rand.setPen(palette().color(QPalette::Dark));
  rand.drawRect(0, 0, 13, 13);
  rand.end();
  befNoForCol[index]->setIcon(QIcon(feld));
}

void Setup::LesenEinstellungen() {
  using Hilfsfenster::Intern::FlagGesetzt;
  strgOptBackcolor->setChecked(FlagGesetzt(TabFarben::HintergrundSchluessel, TabFarben::HintergrundVorgabe));
  strgMin2Tray->setChecked(FlagGesetzt(TabFarben::TraySchluessel, QStringLiteral("0")));
  txtÜberschrift->setText(Z_Alles::IniLesen({}, {}, kKopfSchluessel, kKopfVorgabe));
  QStringList unlesbar;
  for (int i = 0; i < 4; ++i) {
    const QString& schluessel = TabFarben::Schluessel[i];
    const QString wert = Z_Alles::IniLesen({}, {}, schluessel, Plattform::FarbZahlText(farbe_[i]));
    bool ok = false;
    const quint32 farbe = Plattform::FarbZahlLesen(wert, &ok);
    // A value that is no colour number keeps the swatch's colour; the user is told.
    if (ok) FarbeSetzen(i, farbe);
    else unlesbar << QStringLiteral("%1 (»%2«)").arg(schluessel, wert);
  }
  bezFarbHinweis->setVisible(!unlesbar.isEmpty());
  bezFarbHinweis->setText(unlesbar.isEmpty()
                              ? QString()
                              : QStringLiteral("Keine gültige Farbe gespeichert für %1. Angezeigt wird die "
                                               "Vorgabe; sie wird beim Schließen gespeichert.")
                                    .arg(unlesbar.join(QStringLiteral(", "))));
}

void Setup::SpeichernEinstellungen() {
  using Hilfsfenster::Intern::FlagText;
  Z_Alles::IniSchreiben({}, {}, TabFarben::HintergrundSchluessel, FlagText(strgOptBackcolor->isChecked()));
  Z_Alles::IniSchreiben({}, {}, kKopfSchluessel, txtÜberschrift->text());
  Z_Alles::IniSchreiben({}, {}, TabFarben::TraySchluessel, FlagText(strgMin2Tray->isChecked()));
  for (int i = 0; i < 4; ++i)
    Z_Alles::IniSchreiben({}, {}, TabFarben::Schluessel[i], Plattform::FarbZahlText(farbe_[i]));
}

void Setup::befNoForCol_Click(int index) {
  if (index < 0 || index > 3) return;
  QColor farbe = Plattform::ZuQColor(farbe_[index]);
  auto waehlen = dienste.farbeWaehlen ? dienste.farbeWaehlen : &desktopFarbe;
  if (!waehlen(this, QStringLiteral("Notiz-Farbe für ") + befNoForCol[index]->text(), farbe)) return;
  FarbeSetzen(index, Plattform::AusQColor(farbe));
  if (Hauptfenster* h = Hauptfenster::Instanz()) h->belegungAuffrischen();
}

void Setup::befOk_Click() {
  SpeichernEinstellungen();
  done(QDialog::Accepted);
}

bool Setup::Form_KeyUp(int taste, Qt::KeyboardModifiers umschalt) {
  const Qt::KeyboardModifiers art = umschalt & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
  if (taste != Qt::Key_F1 || art != Qt::ControlModifier) return false;
  auto spezial = dienste.einstellungSpezial ? dienste.einstellungSpezial : &Z_Alles::EinstellungSpezial;
  spezial();
  return true;
}

void Setup::reject() { befOk_Click(); }

void Setup::closeEvent(QCloseEvent* ereignis) {
  ereignis->ignore();
  befOk_Click();
}

bool Setup::eventFilter(QObject* objekt, QEvent* ereignis) {
  if (ereignis->type() == QEvent::KeyRelease) {
    auto* k = static_cast<QKeyEvent*>(ereignis);
    // Handled once: the event would otherwise travel on to the window and open the box again.
    if (!k->isAutoRepeat() && Form_KeyUp(k->key(), k->modifiers())) return true;
  }
  return QDialog::eventFilter(objekt, ereignis);
}
