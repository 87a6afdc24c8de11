#include "printing/printerset.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>
#include <cmath>

#include "foundation/hauptfenster.h"
#include "foundation/z_alles.h"
#include "notepad/skribondiv.h"
#include "platform/dialoge.h"
#include "platform/drucker.h"
#include "platform/farben.h"
#include "platform/laufzeit.h"
#include "platform/system.h"
#include "printing/z_alles_druck.h"

namespace {

PrinterSet* instanz_ = nullptr;

const QString kAllgemein = QStringLiteral("Allgemein");
// Help topic of the printer-choice messages.
constexpr int HilfeDruckerwahl = 3005;
// Positions of the length lists: 0.0 to 49.9 cm in tenths.
constexpr int Laengenschritte = 500;

QString laengenText(int position) {
  return Laufzeit::Format(PrinterSet::PositionZuCm(position), QStringLiteral("0.0")) + QStringLiteral(" cm");
}

// A sheet of paper, upright or lying, with lines of text on it.
QPixmap blatt(bool quer, int versatz = 0) {
  const QSize s = quer ? QSize(44, 32) : QSize(32, 44);
  QPixmap bild(s + QSize(2 * versatz + 1, 2 * versatz + 1));
  bild.fill(Qt::transparent);
  QPainter p(&bild);
  for (int ebene = versatz; ebene >= 0; --ebene) {
    const QRect r(QPoint(ebene * 2, ebene * 2), s);
    p.setPen(QColor(90, 90, 90));
    p.setBrush(Qt::white);
    p.drawRect(r);
    p.setPen(QColor(150, 150, 150));
    for (int y = r.top() + 6; y < r.bottom() - 4; y += 4) p.drawLine(r.left() + 5, y, r.right() - 5, y);
  }
  return bild;
}

QString ini(const QString& abschnitt, const QString& schluessel, const QString& vorgabe) {
  return Z_Alles::IniLesen(PrinterSet::Datei, abschnitt, schluessel, vorgabe);
}

// A stored list position; a position past the end selects the first entry.
void listeSetzen(QComboBox* liste, double wert) {
  if (!std::isfinite(wert)) return;
  const double gerundet = std::nearbyint(wert);  // banker's rounding, as a list position took it
  if (gerundet > liste->count() - 1) {
    if (liste->count() > 0) liste->setCurrentIndex(0);
    return;
  }
  if (gerundet >= 0) liste->setCurrentIndex(int(gerundet));
}

}  // namespace

int PrinterSet::CmZuPosition(double cm) {
  if (!std::isfinite(cm)) return 0;
  return int(std::lround(cm * 10.0));
}

PrinterSet::PrinterSet(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("PrinterSet"));
  setModal(true);

  menue = new QMenuBar(this);
  QMenu* einstellungen = menue->addMenu(QStringLiteral("&Einstellungen"));
  mnuEinstellungenX = einstellungen->menuAction();
  mnuEinstellungenSave = einstellungen->addAction(QStringLiteral("Einstellungen jetzt &sichern"));
  mnuEinstellungenSave->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
  mnuEinstellungenAutoPrint = einstellungen->addAction(QStringLiteral("Diesen &Dialog künftig übergehen"));
  mnuEinstellungenAutoPrint->setCheckable(true);
  connect(mnuEinstellungenSave, &QAction::triggered, this, [this] { mnuEinstellungenSave_Click(); });
  connect(mnuEinstellungenAutoPrint, &QAction::triggered, this, [this] { mnuEinstellungenAutoPrint_Click(); });

  // Print and cancel.
  frame6 = new QGroupBox(QStringLiteral("Ausdruck"), this);
  befOk = new QPushButton(QStringLiteral("&Drucken"), frame6);
  befOk->setDefault(true);
  befAbbrechen = new QPushButton(QStringLiteral("Abbr&echen"), frame6);
  auto* knoepfe = new QVBoxLayout(frame6);
  knoepfe->addWidget(befOk);
  knoepfe->addWidget(befAbbrechen);
  Abbruch = new QCheckBox(this);
  Abbruch->setVisible(false);
  connect(befOk, &QPushButton::clicked, this, [this] { befOk_Click(); });
  connect(befAbbrechen, &QPushButton::clicked, this, [this] { befAbbrechen_Click(); });

  // Range.
  frmBereich = new QGroupBox(QStringLiteral("Bereich"), this);
  optBereich[0] = new QRadioButton(QStringLiteral("&Alles"), frmBereich);
  optBereich[1] = new QRadioButton(QStringLiteral("&Markierung"), frmBereich);
  optBereich[0]->setChecked(true);
  auto* bereich = new QVBoxLayout(frmBereich);
  bereich->addWidget(optBereich[0]);
  bereich->addWidget(optBereich[1]);
  frmBereich->setEnabled(false);

  // Orientation with its pictures.
  frmAusrichtung = new QGroupBox(QStringLiteral("Ausrichtung"), this);
  optAusrichtung[0] = new QRadioButton(QStringLiteral("H&ochformat"), frmAusrichtung);
  optAusrichtung[1] = new QRadioButton(QStringLiteral("&Querformat"), frmAusrichtung);
  auto* ausrichtung = new QGridLayout(frmAusrichtung);
  ausrichtung->addWidget(optAusrichtung[0], 0, 0);
  ausrichtung->addWidget(optAusrichtung[1], 1, 0);
  for (int i = 0; i < 2; ++i) {
    imgAusrichtung[i] = new QLabel(frmAusrichtung);
    imgAusrichtung[i]->setPixmap(blatt(i == 1));
    imgAusrichtung[i]->setAlignment(Qt::AlignCenter);
    imgAusrichtung[i]->setMinimumSize(48, 48);
    ausrichtung->addWidget(imgAusrichtung[i], 0, 1, 2, 1);
    connect(optAusrichtung[i], &QRadioButton::toggled, this, [this, i](bool an) {
      if (an) optAusrichtung_Click(i);
    });
  }
  optAusrichtung[0]->setChecked(true);
  frmAusrichtung->setEnabled(false);

  // Printer.
  Frame4 = new QGroupBox(QStringLiteral("Drucker-Auswahl"), this);
  ComboDrucker = new QComboBox(Frame4);
  ComboDrucker->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  ComboDrucker->setMinimumContentsLength(24);
  bezDrucker = new QLabel(Frame4);
  bezDrucker->setWordWrap(true);
  bezDrucker->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  bezDrucker->setMinimumHeight(bezDrucker->fontMetrics().lineSpacing() * 8);
  bezDrucker->setTextInteractionFlags(Qt::NoTextInteraction);
  bezDrucker->installEventFilter(this);
  auto* drucker = new QVBoxLayout(Frame4);
  drucker->addWidget(ComboDrucker);
  drucker->addWidget(bezDrucker, 1);
  connect(ComboDrucker, &QComboBox::currentIndexChanged, this, [this] { ComboDrucker_Click(); });

  // Margins, width and height.
  frmRänder = new QGroupBox(QStringLiteral("Ränder"), this);
  auto liste = [](QWidget* eltern, const QString& tipp) {
    auto* c = new QComboBox(eltern);
    c->setToolTip(tipp);
    c->setMaxVisibleItems(16);
    return c;
  };
  ComboRandX = liste(frmRänder, QStringLiteral("Einstellen des linken Randes des Ausdrucks"));
  ComboRandY = liste(frmRänder, QStringLiteral("Einstellen des oberen Randes des Ausdrucks"));
  bezRandX = new QLabel(QStringLiteral("&Links"), frmRänder);
  bezRandY = new QLabel(QStringLiteral("&Oben"), frmRänder);
  bezRandX->setBuddy(ComboRandX);
  bezRandY->setBuddy(ComboRandY);
  frmWeiten = new QWidget(frmRänder);
  ComboRandW = liste(frmWeiten, QStringLiteral("Einstellen der Breite des Ausdrucks"));
  ComboRandH = liste(frmWeiten, QStringLiteral("Einstellen der Höhe des Ausdrucks"));
  Label4 = new QLabel(QStringLiteral("&Breite"), frmWeiten);
  Label3 = new QLabel(QStringLiteral("&Höhe"), frmWeiten);
  Label4->setBuddy(ComboRandW);
  Label3->setBuddy(ComboRandH);
  auto* weiten = new QGridLayout(frmWeiten);
  weiten->setContentsMargins(0, 0, 0, 0);
  weiten->addWidget(Label4, 0, 0);
  weiten->addWidget(ComboRandW, 0, 1);
  weiten->addWidget(Label3, 1, 0);
  weiten->addWidget(ComboRandH, 1, 1);
  frmWeiten->setEnabled(false);

  const QString formatTipp =
      QStringLiteral("Einstellen von Breite und Höhe auf das entsprechende Format unter Berücksichtigung der Ränder");
  const char* const formate[] = {"A4", "A5", "A6"};
  auto* formatReihe = new QHBoxLayout;
  for (int i = 0; i < 3; ++i) {
    befRand[i] = new QPushButton(QString::fromLatin1(formate[i]), frmRänder);
    befRand[i]->setToolTip(formatTipp);
  }
  befRand[9] = new QPushButton(QStringLiteral("0"), frmRänder);
  befRand[9]->setToolTip(QStringLiteral("Zurücksetzen der Ränder"));
  for (int i : {0, 1, 2, 9}) {
    befRand[i]->setAutoDefault(false);
    befRand[i]->setMinimumWidth(36);
    formatReihe->addWidget(befRand[i]);
    connect(befRand[i], &QPushButton::clicked, this, [this, i] { befRand_Click(i); });
  }
  auto* raender = new QGridLayout(frmRänder);
  raender->addWidget(bezRandX, 0, 0);
  raender->addWidget(ComboRandX, 0, 1);
  raender->addWidget(bezRandY, 1, 0);
  raender->addWidget(ComboRandY, 1, 1);
  raender->addWidget(frmWeiten, 0, 2, 2, 1);
  raender->addLayout(formatReihe, 2, 0, 1, 3);

  // Copies.
  frmAnzahl = new QGroupBox(QStringLiteral("Exemplare"), this);
  ImageAnzahl = new QLabel(frmAnzahl);
  ImageAnzahl->setPixmap(blatt(false, 2));
  ComboAnzahl = new QComboBox(frmAnzahl);
  bezAnzahl = new QLabel(QStringLiteral("An&zahl"), frmAnzahl);
  bezAnzahl->setBuddy(ComboAnzahl);
  auto* anzahl = new QHBoxLayout(frmAnzahl);
  anzahl->addWidget(ImageAnzahl);
  anzahl->addWidget(bezAnzahl);
  anzahl->addWidget(ComboAnzahl, 1);

  auto* links = new QVBoxLayout;
  links->addWidget(frame6);
  links->addWidget(frmBereich);
  links->addWidget(frmAusrichtung);
  links->addStretch(1);
  auto* rechts = new QVBoxLayout;
  rechts->addWidget(Frame4, 1);
  rechts->addWidget(frmRänder);
  rechts->addWidget(frmAnzahl);
  auto* haupt = new QHBoxLayout(this);
  haupt->setMenuBar(menue);
  haupt->addLayout(links);
  haupt->addLayout(rechts, 1);

  TimerInit = new QTimer(this);
  TimerInit->setInterval(33);
  connect(TimerInit, &QTimer::timeout, this, [this] { TimerInit_Timer(); });
  TimerAutoPrint = new QTimer(this);
  TimerAutoPrint->setInterval(750);
  connect(TimerAutoPrint, &QTimer::timeout, this, [this] { TimerAutoPrint_Timer(); });
}

PrinterSet::~PrinterSet() {
  if (instanz_ == this) instanz_ = nullptr;
}

PrinterSet* PrinterSet::Instanz() { return instanz_; }

PrinterSet* PrinterSet::Laden() {
  if (!instanz_) {
    Hauptfenster* h = Hauptfenster::Instanz();
    instanz_ = new PrinterSet(h ? h->widget() : nullptr);
    instanz_->Form_Load();
  }
  return instanz_;
}

void PrinterSet::Entladen() {
  if (!instanz_) return;
  PrinterSet* fenster = instanz_;
  fenster->Form_QueryUnload(1);
  instanz_ = nullptr;
  // Later, from the event loop: it may still be open further down the stack.
  fenster->hide();
  fenster->deleteLater();
}

void PrinterSet::Form_Load() {
  if (Hauptfenster* h = Hauptfenster::Instanz()) setWindowIcon(h->symbol());
  setWindowTitle(QStringLiteral("Drucken - ") + Z_Alles::ProgrammTitel);

  Plattform::Drucker& drucker = Plattform::Printer();
  for (QComboBox* c : {ComboRandX, ComboRandY, ComboRandW, ComboRandH}) c->clear();
  ComboRandW->addItem(QStringLiteral("---"));
  ComboRandH->addItem(QStringLiteral("---"));
  // Margins up to the printable size less 3 cm, at least 5 cm; the bound itself is offered.
  auto fuellen = [](double masz, QComboBox* rand, QComboBox* weite) {
    float grenze = float(masz) - 3.0f;
    if (!(grenze >= 5.0f)) grenze = 5.0f;
    const int letzte = std::min(Laengenschritte - 1, int(std::floor(double(grenze) * 10.0 + 1e-4)));
    for (int i = 0; i < Laengenschritte; ++i) {
      if (i <= letzte) rand->addItem(laengenText(i));
      if (i > 0) weite->addItem(laengenText(i));
    }
  };
  fuellen(drucker.ScaleWidth(), ComboRandX, ComboRandW);
  fuellen(drucker.ScaleHeight(), ComboRandY, ComboRandH);
  for (QComboBox* c : {ComboRandX, ComboRandY, ComboRandW, ComboRandH}) c->setCurrentIndex(0);

  ComboAnzahl->clear();
  for (int i = 1; i <= 9; ++i) ComboAnzahl->addItem(QString::number(i));
  ComboAnzahl->setCurrentIndex(0);

  const bool wahl = Laufzeit::Val(ini(kAllgemein, QStringLiteral("DruckerEnabled"), QStringLiteral("1"))) != 0;
  ComboDrucker->setEnabled(wahl);
  if (wahl) {
    ComboDrucker->clear();
    ComboDrucker->addItem(StandardDrucker);
    for (const Plattform::DruckerInfo& d : Plattform::Printers()) ComboDrucker->addItem(d.DeviceName);
    if (ComboDrucker->currentIndex() < 0) ComboDrucker->setCurrentIndex(0);
  } else {
    QPalette grau = bezDrucker->palette();
    grau.setColor(QPalette::WindowText, Plattform::ZuQColor(0x80000011u));
    bezDrucker->setPalette(grau);
    bezDrucker->setText(QStringLiteral("Drucker-Auswahl deaktiviert.\n\nHier Doppelklick für Aktivierung."));
  }

  if (Z_Alles::NurLesen) mnuEinstellungenSave->setEnabled(false);
  PresetLoad();
  if (!TimerInit->isActive()) TimerInit->start();
}

void PrinterSet::PresetLoad() {
  const QString name = Z_Alles::PresetName.trimmed();
  if (name.isEmpty()) return;
  auto zahl = [&](const char* schluessel, const char* vorgabe) {
    return Laufzeit::Val(ini(name, QString::fromLatin1(schluessel), QString::fromLatin1(vorgabe)));
  };
  optBereich[zahl("Bereich", "0") == 0 ? 0 : 1]->setChecked(true);
  optAusrichtung[zahl("Ausrichtung", "0") == 0 ? 0 : 1]->setChecked(true);
  listeSetzen(ComboRandX, zahl("RandX", "0"));
  listeSetzen(ComboRandY, zahl("RandY", "0"));
  listeSetzen(ComboRandW, zahl("RandW", "0"));
  listeSetzen(ComboRandH, zahl("RandH", "0"));
  listeSetzen(ComboAnzahl, zahl("Anzahl", "0"));

  if (ComboDrucker->isEnabled()) {
    const QString zuletzt = ini(name, QStringLiteral("DruckerZuletzt"), Plattform::Printer().DeviceName());
    int gewaehlt = -1;
    for (int i = 0; i < ComboDrucker->count(); ++i)
      if (ComboDrucker->itemText(i).toLower() == zuletzt.toLower()) gewaehlt = i;
    if (gewaehlt < 0 && !zuletzt.trimmed().isEmpty()) {
      // The preset's printer is gone: print into a file rather than on some other printer.
      for (const Plattform::DruckerInfo& d : Plattform::Printers())
        if (d.pdf) gewaehlt = ComboDrucker->findText(d.DeviceName, Qt::MatchExactly);
      Plattform::MsgBox(QStringLiteral("Der Drucker »%1« ist nicht mehr eingerichtet.\r\n\r\n"
                                       "Der Ausdruck geht deshalb in eine PDF-Datei.")
                            .arg(zuletzt),
                        Plattform::vbExclamation, QStringLiteral("Drucker-Auswahl"));
    }
    ComboDrucker->setCurrentIndex(gewaehlt >= 0 ? gewaehlt : 0);
    ComboDrucker_Click();
  }

  if (std::fabs(zahl("Automatisch", "0")) == 1 || SkribonDiv::NotizblockDruck) {
    mnuEinstellungenAutoPrint->setChecked(true);
    if (!TimerAutoPrint->isActive()) TimerAutoPrint->start();
  } else {
    mnuEinstellungenAutoPrint->setChecked(false);
  }
}

void PrinterSet::PresetSave() {
  const QString name = Z_Alles::PresetName.trimmed();
  if (name.isEmpty()) return;
  auto schreiben = [&](const char* schluessel, const QString& wert) {
    Z_Alles::IniSchreiben(Datei, name, QString::fromLatin1(schluessel), wert);
  };
  schreiben("DruckerZuletzt", ComboDrucker->currentText());
  schreiben("Ausrichtung", optAusrichtung[0]->isChecked() ? QStringLiteral("0") : QStringLiteral("1"));
  schreiben("RandX", QString::number(ComboRandX->currentIndex()));
  schreiben("RandY", QString::number(ComboRandY->currentIndex()));
  schreiben("RandW", QString::number(ComboRandW->currentIndex()));
  schreiben("RandH", QString::number(ComboRandH->currentIndex()));
  schreiben("Anzahl", QString::number(ComboAnzahl->currentIndex()));
  schreiben("LastSave", Laufzeit::Format(Plattform::Jetzt(), QStringLiteral("dd.mm.yyyy")));
  schreiben("LastUser", Z_Alles::Benutzername());
}

void PrinterSet::TimerInit_Timer() {
  TimerInit->stop();
  if (!frmBereich->isEnabled() || !optBereich[1]->isEnabled()) {
    frmBereich->setEnabled(false);
    optBereich[1]->setEnabled(false);
  }
  if (!frmAusrichtung->isEnabled() || !optAusrichtung[1]->isEnabled()) {
    frmAusrichtung->setEnabled(false);
    optAusrichtung[1]->setEnabled(false);
  }
  for (QWidget* w : std::initializer_list<QWidget*>{ComboRandX, ComboRandY, bezRandX, bezRandY})
    w->setEnabled(frmRänder->isEnabled());
  ComboAnzahl->setEnabled(frmAnzahl->isEnabled());
  ImageAnzahl->setEnabled(frmAnzahl->isEnabled());
}

void PrinterSet::TimerAutoPrint_Timer() {
  TimerAutoPrint->stop();
  if (!Z_Alles::IstShift()) befOk_Click();
}

void PrinterSet::befOk_Click() {
  TimerAutoPrint->stop();
  if (ComboDrucker->isEnabled() && ComboDrucker->currentIndex() >= 0) {
    const QString gewaehlt = ComboDrucker->currentText();
    const QString aktuell = Plattform::Printer().DeviceName();
    if (gewaehlt != StandardDrucker && gewaehlt != aktuell) {
      Z_Alles::IniSchreiben(Datei, kAllgemein, QStringLiteral("DruckerLastDefault"), aktuell);
      Z_Alles::DruckerWählen(gewaehlt);
    }
  }
  QCoreApplication::processEvents();
  done(QDialog::Accepted);
}

void PrinterSet::befAbbrechen_Click() {
  TimerAutoPrint->stop();
  Abbruch->setChecked(true);
  done(QDialog::Rejected);
}

void PrinterSet::reject() { befAbbrechen_Click(); }

bool PrinterSet::Form_QueryUnload(int modus) {
  Z_Alles::DruckerWählen(
      ini(kAllgemein, QStringLiteral("DruckerLastDefault"), Plattform::Printer().DeviceName()));
  return modus == 0;
}

void PrinterSet::closeEvent(QCloseEvent* ereignis) {
  if (Form_QueryUnload(0)) {
    ereignis->ignore();
    befAbbrechen_Click();
  }
}

void PrinterSet::befRand_Click(int index) {
  if (index == 9) {
    for (QComboBox* c : {ComboRandX, ComboRandY, ComboRandW, ComboRandH})
      if (c->count() > 0) c->setCurrentIndex(0);
  } else if (index >= 0 && index <= 2) {
    static const int papier[3][2] = {{210, 297}, {148, 210}, {105, 148}};
    auto setzen = [](int millimeter, QComboBox* rand, QComboBox* liste) {
      double cm = millimeter / 10.0 - 1.0 - PositionZuCm(std::max(0, rand->currentIndex()));
      if (cm < 1) cm = 1;
      const int position = std::min(CmZuPosition(cm), liste->count() - 2);
      if (position >= 0) liste->setCurrentIndex(position);
    };
    setzen(papier[index][0], ComboRandX, ComboRandW);
    setzen(papier[index][1], ComboRandY, ComboRandH);
  }
  befOk->setFocus();
}

void PrinterSet::druckerDetails() {
  auto zeilen = [](const Plattform::DruckerInfo& d) {
    return QStringLiteral("Drucker-Name:~") + d.DeviceName + QStringLiteral("~~Drucker-Port:~") + d.Port +
           QStringLiteral("~~Drucker-Treiber:~") + d.DriverName + QStringLiteral("~~");
  };
  QString text;
  const QString gewaehlt = ComboDrucker->currentText();
  if (gewaehlt == StandardDrucker) {
    text = zeilen(Plattform::Printer().Info()) + QStringLiteral("~~(derzeitiger Standard-Drucker)");
  } else {
    for (const Plattform::DruckerInfo& d : Plattform::Printers())
      if (d.DeviceName == gewaehlt) text = zeilen(d);
  }
  bezDrucker->setText(Z_Alles::MeldungsText(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
}

void PrinterSet::ComboDrucker_Click() {
  if (ComboDrucker->isEnabled()) druckerDetails();
}

void PrinterSet::bezDrucker_DblClick() {
  const double an = Laufzeit::Val(ini(kAllgemein, QStringLiteral("DruckerEnabled"), QStringLiteral("0")));
  const int knoepfe = Plattform::vbInformation | Plattform::vbMsgBoxHelpButton;
  if (an == 0) {
    Z_Alles::Meldung(QStringLiteral("Die Druckerauswahl wird beim nächsten Aufruf aktiviert.~~"
                                    "Beachten Sie bitte auch die Hinweise in der Hilfe."),
                     knoepfe, QStringLiteral("Drucker-Auswahl aktiviert"), {}, HilfeDruckerwahl);
    Z_Alles::IniSchreiben(Datei, kAllgemein, QStringLiteral("DruckerEnabled"), QStringLiteral("1"));
  } else {
    Plattform::MsgBox(QStringLiteral("Die Druckerauswahl wird beim nächsten Aufruf deaktiviert."), knoepfe,
                      QStringLiteral("Drucker-Auswahl deaktiviert"), HilfeDruckerwahl);
    Z_Alles::IniSchreiben(Datei, kAllgemein, QStringLiteral("DruckerEnabled"), QStringLiteral("0"));
  }
}

bool PrinterSet::eventFilter(QObject* objekt, QEvent* ereignis) {
  if (objekt == bezDrucker && ereignis->type() == QEvent::MouseButtonDblClick) {
    bezDrucker_DblClick();
    return true;
  }
  return QDialog::eventFilter(objekt, ereignis);
}

void PrinterSet::optAusrichtung_Click(int index) {
  if (index < 0 || index > 1) return;
  imgAusrichtung[index]->setVisible(true);
  imgAusrichtung[1 - index]->setVisible(false);
}

void PrinterSet::mnuEinstellungenSave_Click() {
  const Plattform::Sanduhr sanduhr;
  PresetSave();
  Z_Alles::Warten(0.5f);
}

void PrinterSet::mnuEinstellungenAutoPrint_Click() {
  const bool an = mnuEinstellungenAutoPrint->isChecked();
  if (an) {
    Plattform::MsgBox(QStringLiteral("Dieser Dialog wird künftig nicht mehr angezeigt.\r\n\r\n"
                                     "Möchten Sie dennoch einmal Änderungen vornehmen,\r\n"
                                     "so halten Sie beim Aufrufen der Druck-Funktion die Shift-Taste gedrückt."),
                      Plattform::vbInformation, QStringLiteral("Druck-Optionen übergehen"));
  }
  const QString name = Z_Alles::PresetName.trimmed();
  if (!name.isEmpty())
    Z_Alles::IniSchreiben(Datei, name, QStringLiteral("Automatisch"), an ? QStringLiteral("1") : QStringLiteral("0"));
}
