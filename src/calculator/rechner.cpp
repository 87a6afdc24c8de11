// The calculator window.
#include "calculator/rechner.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QFontDatabase>
#include <QFormLayout>
#include <QGridLayout>
#include <QPalette>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QMimeData>
#include <QMouseEvent>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <cmath>

#include "calculator/mwst.h"
#include "calculator/rechnerzeile.h"
#include "calculator/umrechnen.h"
#include "foundation/dienste.h"
#include "foundation/hauptfenster.h"
#include "foundation/z_alles.h"
#include "platform/dialoge.h"
#include "platform/laufzeit.h"
#include "platform/shell.h"
#include "platform/system.h"

QPointer<Rechner> Rechner::instanz_;

namespace {

const QString Abschnitt = QStringLiteral("Rechner");

const char* const FormatVorgaben[9] = {"0",    "#,###,##0", "#,###,##0.00", "#,###,##0.00000", "0.00",
                                       "0.00000", "0.0000000000", "0.000E+000", "0"};

// "Courier New" where it exists, else the monospace fonts a Linux desktop has.
QFont Festbreit(int punkte, bool fett = false) {
  QFont f = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  f.setFamilies({QStringLiteral("Courier New"), QStringLiteral("Liberation Mono"),
                 QStringLiteral("DejaVu Sans Mono"), QStringLiteral("Noto Sans Mono"),
                 QStringLiteral("Nimbus Mono PS"), f.family()});
  f.setStyleHint(QFont::TypeWriter);
  f.setFixedPitch(true);
  f.setPointSize(punkte);
  f.setBold(fett);
  return f;
}

// A display: sunken, light, right-aligned, monospace; the full text also as tooltip.
QLabel* Anzeige(const QString& name, QWidget* eltern) {
  auto* l = new QLabel(eltern);
  l->setObjectName(name);
  l->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  l->setFont(Festbreit(11));
  l->setAutoFillBackground(true);
  l->setBackgroundRole(QPalette::Base);
  l->setMargin(3);
  l->setMinimumWidth(QFontMetrics(l->font()).horizontalAdvance(QLatin1Char('0')) * 34 + 12);
  l->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
  l->setTextInteractionFlags(Qt::NoTextInteraction);
  return l;
}

// Selects an index only when the list has it; the old selection stays otherwise.
void IndexSetzen(QComboBox* liste, int index) {
  if (index >= 0 && index < liste->count()) liste->setCurrentIndex(index);
}

// Every item that equals "-" is selected in turn, so the last one stays selected.
void StrichWaehlen(QComboBox* liste) {
  for (int i = 0; i < liste->count(); ++i)
    if (liste->itemText(i) == QLatin1String("-")) liste->setCurrentIndex(i);
}

// Fills a list without running its handler, and leaves nothing selected.
void ListeFuellen(QComboBox* liste, const QStringList& eintraege) {
  const bool alt = liste->blockSignals(true);
  liste->clear();
  liste->addItems(eintraege);
  liste->setCurrentIndex(-1);
  liste->blockSignals(alt);
}

QString Menuetext(const QString& text) { return QString(text).replace(QLatin1Char('&'), QLatin1String("&&")); }

}  // namespace

// ---- Life cycle -------------------------------------------------------------------------------

Rechner::Rechner(QWidget* parent) : QMainWindow(parent) {
  setObjectName(QStringLiteral("Rechner"));
  setWindowTitle(QStringLiteral("Taschenrechner"));
  setWindowFlag(Qt::Window, true);
  // A shown calculator must not keep the program running once the main window has gone.
  setAttribute(Qt::WA_QuitOnClose, false);
  OberflaecheBauen();
  MenuesBauen();
}

Rechner::~Rechner() = default;

Rechner* Rechner::Instanz() { return instanz_.data(); }

Rechner* Rechner::Laden() {
  if (!instanz_) {
    instanz_ = new Rechner();
    instanz_->Form_Load();
    static bool verbunden = false;
    if (!verbunden && qApp) {
      verbunden = true;
      QObject::connect(qApp, &QCoreApplication::aboutToQuit, [] { Rechner::Entladen(); });
    }
  }
  return instanz_.data();
}

void Rechner::Oeffnen(const QString& markierterText) {
  Rechner* r = Laden();
  r->show();
  r->raise();
  r->activateWindow();
  if (!markierterText.isEmpty()) r->Text->setText(RechnerZeile::Einzeilig(markierterText));
}

void Rechner::Entladen() {
  if (!instanz_) return;
  Rechner* r = instanz_.data();
  instanz_ = nullptr;
  r->entladen_ = true;
  r->TimerUmrechnen->stop();
  r->hide();
  // Later, from the event loop: one of its boxes may still be open further down the stack.
  r->deleteLater();
}

// ---- Building ---------------------------------------------------------------------------------

void Rechner::OberflaecheBauen() {
  SSTab = new QTabWidget(this);
  SSTab->setObjectName(QStringLiteral("SSTab"));
  setCentralWidget(SSTab);

  // Page 0: the calculator.
  auto* seite0 = new QWidget(SSTab);
  ListP = new QListWidget(seite0);
  ListP->setObjectName(QStringLiteral("ListP"));
  ListP->setFont(Festbreit(10));
  ListP->setMinimumHeight(150);
  ListP->setUniformItemSizes(true);

  Bezeichnung1 = new QLabel(QStringLiteral("Funktionen"), seite0);
  Bezeichnung1->setObjectName(QStringLiteral("Bezeichnung1"));
  Funktionen = new QComboBox(seite0);
  Funktionen->setObjectName(QStringLiteral("Funktionen"));
  Funktionen->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  Funktionen->setMinimumContentsLength(14);
  Funktionen->setMaxVisibleItems(24);
  Funktionen->setFont(Festbreit(10));
  Funktionen->setPlaceholderText(QStringLiteral("einfügen ..."));
  Funktionen->installEventFilter(this);
  Bezeichnung1->setBuddy(Funktionen);

  Text = new QLineEdit(seite0);
  Text->setObjectName(QStringLiteral("Text"));
  Text->setFont(Festbreit(13, true));
  Text->setMinimumHeight(QFontMetrics(Text->font()).height() + 12);
  Text->installEventFilter(this);

  BezDez = Anzeige(QStringLiteral("BezDez"), seite0);
  BezHex = Anzeige(QStringLiteral("BezHex"), seite0);
  BezBin = Anzeige(QStringLiteral("BezBin"), seite0);
  BezHex->installEventFilter(this);
  BezBin->installEventFilter(this);
  BezHex->setCursor(Qt::PointingHandCursor);
  BezHex->setToolTip(QStringLiteral("Klicken: Wert in die Eingabezeile übernehmen"));
  BezBin->setToolTip(QStringLiteral("Doppelklicken: Wert in die Eingabezeile übernehmen"));

  auto* oben = new QHBoxLayout;
  oben->addWidget(ListP, 1);
  auto* rechts = new QVBoxLayout;
  rechts->addWidget(Bezeichnung1);
  rechts->addWidget(Funktionen);
  rechts->addStretch(1);
  oben->addLayout(rechts);

  auto* anzeigen = new QGridLayout;
  const char* beschriftung[3] = {"Dezimal", "Hexadezimal", "Binär / Bruch"};
  QLabel* feld[3] = {BezDez, BezHex, BezBin};
  for (int i = 0; i < 3; ++i) {
    auto* b = new QLabel(QString::fromUtf8(beschriftung[i]), seite0);
    anzeigen->addWidget(b, i, 0, Qt::AlignRight | Qt::AlignVCenter);
    anzeigen->addWidget(feld[i], i, 1);
  }
  anzeigen->setColumnStretch(1, 1);

  auto* v0 = new QVBoxLayout(seite0);
  v0->addLayout(oben, 1);
  v0->addWidget(Text);
  v0->addLayout(anzeigen);
  SSTab->addTab(seite0, QStringLiteral("Taschenrechner"));

  // Page 1: the unit converter.
  auto* seite1 = new QWidget(SSTab);
  ComboRubrik = new QComboBox(seite1);
  ComboRubrik->setObjectName(QStringLiteral("ComboRubrik"));
  ComboRubrik->setMaxVisibleItems(20);
  auto* rubrikZeile = new QFormLayout;
  rubrikZeile->addRow(QStringLiteral("&Rubrik:"), ComboRubrik);

  auto* rahmen = new QHBoxLayout;
  const char* rahmenTitel[2] = {"Von Einheit", "In Einheit"};
  for (int i = 0; i < 2; ++i) {
    auto* gruppe = new QGroupBox(QString::fromUtf8(rahmenTitel[i]), seite1);
    ComboSI[i] = new QComboBox(gruppe);
    ComboSI[i]->setObjectName(QStringLiteral("ComboSI%1").arg(i));
    ComboSI[i]->setMaxVisibleItems(22);
    ComboSI[i]->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    ComboSI[i]->setMinimumContentsLength(7);
    ComboEinheit[i] = new QComboBox(gruppe);
    ComboEinheit[i]->setObjectName(QStringLiteral("ComboEinheit%1").arg(i));
    ComboEinheit[i]->setMaxVisibleItems(20);
    ComboEinheit[i]->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    // Long unit names are shown whole where the screen has room; on a narrow one the list
    // narrows (its drop-down still shows them whole) instead of pushing the result off-screen.
    ComboEinheit[i]->setMinimumContentsLength(8);
    ComboEinheit[i]->setMinimumWidth(ComboEinheit[i]->minimumSizeHint().width());
    ComboEinheit[i]->setMinimumContentsLength(29);
    ComboEinheit[i]->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    txtWert[i] = new QLineEdit(gruppe);
    txtWert[i]->setObjectName(QStringLiteral("txtWert%1").arg(i));
    txtWert[i]->setFont(Festbreit(12, i == 1));
    txtWert[i]->setAlignment(Qt::AlignRight);
    txtWert[i]->installEventFilter(this);
    auto* form = new QFormLayout(gruppe);
    form->addRow(QStringLiteral("Vorsilbe:"), ComboSI[i]);
    form->addRow(QStringLiteral("Einheit:"), ComboEinheit[i]);
    form->addRow(i == 0 ? QStringLiteral("&Wert:") : QStringLiteral("Ergebnis:"), txtWert[i]);
    rahmen->addWidget(gruppe, 1);
  }
  txtWert[1]->setReadOnly(true);
  {
    // A result is read, not typed: it looks like a display, not like an input box.
    QPalette p = txtWert[1]->palette();
    p.setColor(QPalette::Base, p.color(QPalette::Window));
    txtWert[1]->setPalette(p);
    txtWert[1]->setFocusPolicy(Qt::ClickFocus);
  }

  befNoCheck = new QLabel(QStringLiteral("Diese Einheit ist noch nicht geprüft! Siehe Datei »Rechner.dat«"), seite1);
  befNoCheck->setObjectName(QStringLiteral("befNoCheck"));
  befNoCheck->setStyleSheet(QStringLiteral("color: #b00000; font-weight: bold;"));
  befNoCheck->setWordWrap(true);
  befNoCheck->hide();
  bezHinweis = new QLabel(seite1);
  bezHinweis->setObjectName(QStringLiteral("bezHinweis"));
  bezHinweis->setStyleSheet(QStringLiteral("color: #8a4b00;"));
  bezHinweis->setWordWrap(true);
  bezHinweis->hide();

  befUmrechnen = new QPushButton(QStringLiteral("Umrechnen"), seite1);
  befUmrechnen->setObjectName(QStringLiteral("befUmrechnen"));
  befUmrechnen->setAutoDefault(false);
  auto* knoepfe = new QHBoxLayout;
  knoepfe->addStretch(1);
  knoepfe->addWidget(befUmrechnen);

  auto* v1 = new QVBoxLayout(seite1);
  v1->addLayout(rubrikZeile);
  v1->addLayout(rahmen);
  v1->addWidget(befNoCheck);
  v1->addWidget(bezHinweis);
  v1->addLayout(knoepfe);
  v1->addStretch(1);
  SSTab->addTab(seite1, QStringLiteral("Umrechnungen"));

  TimerUmrechnen = new QTimer(this);
  TimerUmrechnen->setObjectName(QStringLiteral("TimerUmrechnen"));
  TimerUmrechnen->setSingleShot(true);
  TimerUmrechnen->setInterval(1000);

  // Setting a list from code runs its handler, as a click does.
  connect(SSTab, &QTabWidget::currentChanged, this, [this](int) { SSTab_Click(0); });
  connect(Funktionen, &QComboBox::activated, this, &Rechner::Funktionen_Click);
  connect(ListP, &QListWidget::itemDoubleClicked, this, [this] { ListP_DblClick(); });
  connect(ComboRubrik, &QComboBox::currentIndexChanged, this, [this] { ComboRubrik_Click(); });
  for (int i = 0; i < 2; ++i) {
    connect(ComboEinheit[i], &QComboBox::currentIndexChanged, this, &Rechner::befUmrechnen_Click);
    connect(ComboSI[i], &QComboBox::currentIndexChanged, this, &Rechner::befUmrechnen_Click);
    connect(txtWert[i], &QLineEdit::textChanged, this, &Rechner::befUmrechnen_Click);
  }
  connect(befUmrechnen, &QPushButton::clicked, this, &Rechner::befUmrechnen_Click);
  connect(TimerUmrechnen, &QTimer::timeout, this, &Rechner::TimerUmrechnen_Timer);
}

void Rechner::MenuesBauen() {
  QMenuBar* leiste = menuBar();
  auto befehl = [this](QMenu* menue, const QString& text, const QKeySequence& taste, auto&& aktion) {
    QAction* a = menue->addAction(text);
    if (!taste.isEmpty()) a->setShortcut(taste);
    connect(a, &QAction::triggered, this, aktion);
    return a;
  };

  mnuRech = leiste->addMenu(QStringLiteral("Taschen&rechner"));
  mnuRechne = befehl(mnuRech, QStringLiteral("Eingaben be&rechnen"), {}, [this] { mnuRechne_Click(); });
  mnuCLS = befehl(mnuRech, QStringLiteral("Eingaben &löschen"), {}, [this] { mnuCLS_Click(); });
  mnuRech->addSeparator();
  mnuEnde = befehl(mnuRech, QStringLiteral("&Ende"), {}, [this] { mnuEnde_Click(); });

  mnuBearbeiten = leiste->addMenu(QStringLiteral("&Bearbeiten"));
  mnuKopie = befehl(mnuBearbeiten, QStringLiteral("&Kopieren"), QKeySequence(Qt::CTRL | Qt::Key_C),
                    [this] { mnuKopie_Click(); });
  mnuEinfg = befehl(mnuBearbeiten, QStringLiteral("&Einfügen"), QKeySequence(Qt::CTRL | Qt::Key_V),
                    [this] { mnuEinfg_Click(); });

  mnuUmrechnen0 = mnuBearbeiten->addMenu(QStringLiteral("&Umrechnen"));
  mnuUmrechSteuerX = mnuUmrechnen0->addMenu(QStringLiteral("&Steuer"));
  const QKeySequence steuerTaste[6] = {QKeySequence(Qt::CTRL | Qt::Key_F3), {}, QKeySequence(Qt::Key_F3), {}, {}, {}};
  for (int i = 0; i < MwSt::SteuerAnzahl; ++i)
    mnuUmrechSteuer[i] = befehl(mnuUmrechSteuerX, MwSt::SteuerTitel(i), steuerTaste[i],
                                [this, i] { mnuUmrechSteuer_Click(i); });
  mnuUmrechSteuerX->addSeparator();
  mnuUmrechSteuerMwStEdit = befehl(mnuUmrechSteuerX, QStringLiteral("MwSt von 88.88% ändern..."), {},
                                   [this] { mnuUmrechSteuerMwStEdit_Click(); });
  mnuWährungX = mnuUmrechnen0->addMenu(QStringLiteral("&Währung"));
  mnuWährung[0] = befehl(mnuWährungX, QStringLiteral("* -> EUR    "), QKeySequence(Qt::CTRL | Qt::Key_W),
                         [this] { mnuWährung_Click(0); });
  mnuWährung[1] = befehl(mnuWährungX, QStringLiteral("EUR -> *"), {}, [this] { mnuWährung_Click(1); });

  mnuUmrechnen1 = mnuBearbeiten->addMenu(QStringLiteral("&Umrechnen"));
  mnuUmrechnenSIReset = befehl(mnuUmrechnen1, QStringLiteral("&SI-Vorzeichen zurücksetzen"),
                               QKeySequence(Qt::CTRL | Qt::Key_F9), [this] { mnuUmrechnenSIReset_Click(); });
  mnuUmrechnenEinheitReset = befehl(mnuUmrechnen1, QStringLiteral("&Einheiten zurücksetzen"),
                                    QKeySequence(Qt::SHIFT | Qt::Key_F9), [this] { mnuUmrechnenEinheitReset_Click(); });
  mnuUmrechnenAustauschen = befehl(mnuUmrechnen1, QStringLiteral("&Austauschen der Einheiten"),
                                   QKeySequence(Qt::Key_F9), [this] { mnuUmrechnenAustauschen_Click(); });
  mnuUmrechnenEinheitenEdit = befehl(mnuUmrechnen1, QStringLiteral("Einheiten bearbeiten..."), {},
                                     [this] { mnuUmrechnenEinheitenEdit_Click(); });

  mnuForm = leiste->addMenu(QStringLiteral("&Format"));
  for (int i = 0; i < 9; ++i) {
    mnuFormat[i] = befehl(mnuForm, QString::fromLatin1(FormatVorgaben[i]), {}, [this, i] { mnuFormat_Click(i); });
    mnuFormat[i]->setCheckable(true);
  }

  mnuHilfe = leiste->addMenu(QStringLiteral("&Hilfe"));
  mnuInfo = befehl(mnuHilfe, QStringLiteral("&Info..."), {}, [this] { mnuInfo_Click(); });

  UmrechnenMenuesZeigen(0);
}

QStringList Rechner::FunktionenListe(bool entwickler, const QDate& heute) {
  QStringList l;
  if (entwickler) l << QStringLiteral("*(100-4)/100-0,25 eBay-Gewinn");
  l << QStringLiteral("6,30'20\" Zeiten") << QStringLiteral("* Multiplikation") << QStringLiteral("+ Addition")
    << QStringLiteral("- Subtraktion oder unäres Minus") << QStringLiteral("/ Division")
    << QStringLiteral("\\ Ganzzahldivision") << QStringLiteral("! Fakultät") << QStringLiteral("^ Potenzierung")
    << QStringLiteral("E 10'er Potenz = *10^") << QString() << QStringLiteral("$ Hexzahl")
    << QStringLiteral("% Binärzahl") << QString() << QStringLiteral("1,95583 Euro -> DEM")
    << QStringLiteral("e  2,718...") << QStringLiteral("PI 3,14...") << QStringLiteral("_PIG 3,14/180")
    << QStringLiteral("_AVO Avogadro-Konstante") << QStringLiteral("_PW Plancksche K. [J·s]")
    << QStringLiteral("_AE Sonne-Erde [m]") << QStringLiteral("_LJ Licht [Meter/Jahr]")
    << QStringLiteral("_LM Licht [Meter/Min]") << QString() << QStringLiteral("> Größer als")
    << QStringLiteral("= Gleich") << QStringLiteral("< Kleiner als") << QStringLiteral("AND logisches UND")
    << QStringLiteral("NOT logisches NICHT") << QStringLiteral("OR  logisches ODER") << QString()
    << QStringLiteral("ABS Absolut-Wert");
  for (const char* name : {"ARCCOS", "ARCCOSH", "ARCCOT", "ARCCOTH", "ARCCSC", "ARCCSCH", "ARCTANH", "ARCSEC",
                           "ARCSECH", "ARCSIN", "ARCSINH", "ATN", "COS", "COT", "COTH", "CSC", "CSCH", "EXP",
                           "LOG", "SINH", "SECH", "SEC", "SIN"})
    l << QString::fromLatin1(name) + QLatin1Char(' ');
  l << QStringLiteral("SQR     Quadratwurzel") << QStringLiteral("TAN ") << QStringLiteral("TANH ") << QString()
    << QStringLiteral("{Heute}       Heute")
    << QLatin1Char('{') + Laufzeit::Format(heute, QStringLiteral("dd.mm.yyyy")) + QStringLiteral("}  Anz.Tage")
    << QStringLiteral("{Heute}-{31.12.1970} Tages-Differenz");
  return l;
}

// ---- Loading ----------------------------------------------------------------------------------

void Rechner::Form_Load() {
  PositionLaden();
  SSTab->setCurrentIndex(0);
  UmrechnenMenuesZeigen(0);
  Text->clear();
  BezHex->clear();
  BezBin->clear();
  BezDez->clear();

  mnuUmrechSteuerMwStEdit->setText(Z_Alles::Ersetzen(QStringLiteral("MwSt von 88.88% ändern..."),
                                                     QStringLiteral("88.88"), MwSt::ZahlPunkt(MwSt::Satz())));

  formate_.clear();
  for (int i = 0; i < 9; ++i) {
    const QString f = Z_Alles::IniLesenVorgabe(QString(), Abschnitt,
                                               QStringLiteral("Format_%1").arg(i, 2, 10, QLatin1Char('0')),
                                               QString::fromLatin1(FormatVorgaben[i]));
    formate_ << f;
    mnuFormat[i]->setText(Menuetext(f));
  }
  double n = Laufzeit::Val(Z_Alles::IniLesen(QString(), Abschnitt, QStringLiteral("Format"), QStringLiteral("0")));
  if (!std::isfinite(n) || n < 0 || n > 8) n = 0;
  mnuFormat_Click(int(std::trunc(n)));

  const bool alt = Funktionen->blockSignals(true);
  Funktionen->clear();
  Funktionen->addItems(FunktionenListe(dienste.istEntwicklerPC && dienste.istEntwicklerPC(), Plattform::Jetzt().date()));
  Funktionen->setCurrentIndex(-1);
  Funktionen->blockSignals(alt);
  Funktionen->view()->setMinimumWidth(Funktionen->view()->sizeHintForColumn(0) + 24);

  ListP->clear();
  LesenUmrechnungen();

  const QString waehrung = MwSt::WährungsUnit2();
  for (QAction* a : mnuWährung)
    a->setText(Z_Alles::Ersetzen(a->text(), QStringLiteral("*"), Menuetext(waehrung)));
}

void Rechner::PositionLaden() {
  // Its natural size, as far as the screen allows, at the stored place (kept on a screen) or
  // centred: only the place is stored, so the size and state stay the calculator's own.
  resize(sizeHint());
  Fensterplatz::Platz platz = Fensterplatz::Lesen(QString(), Abschnitt);
  platz.mitGroesse = false;
  platz.zustand = 0;
  Fensterplatz::Anwenden(this, platz);
}

void Rechner::PositionSichern() { Fensterplatz::Sichern(this, QString(), Abschnitt, false); }

// ---- Calculator page --------------------------------------------------------------------------

bool Rechner::mnuRechne_Click() {
  const RechnerZeile::Ergebnis e = RechnerZeile::Berechnen(Text->text(), Zahlenformat);
  // Like a paper tape: lines right-aligned, the result under its line in bold.
  for (qsizetype i = 0; i < e.verlauf.size(); ++i) {
    auto* zeile = new QListWidgetItem(e.verlauf[i], ListP);
    zeile->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    if (i == e.verlauf.size() - 1) {
      QFont f = ListP->font();
      f.setBold(true);
      zeile->setFont(f);
    }
  }
  if (ListP->count() > 0) ListP->setCurrentRow(ListP->count() - 1);
  if (ListP->count() > 1) ListP->setCurrentRow(ListP->count() - 2);
  Text->setText(e.text);
  if (e.textMarkieren) Text->selectAll();
  BezDez->setText(e.bezDez);
  BezHex->setText(e.bezHex);
  BezBin->setText(e.bezBin);
  BezDez->setToolTip(e.berechnet ? QString() : e.meldung);
  BezBin->setToolTip(e.bezBin.isEmpty() ? QStringLiteral("Doppelklicken: Wert in die Eingabezeile übernehmen")
                                        : e.bezBin.trimmed());
  setWindowTitle(e.titel);
  Text->setFocus();
  return e.berechnet;
}

void Rechner::TextSetzen(const QString& text) {
  Text->setText(text);
  Text->setFocus();
}

void Rechner::Funktionen_Click(int index) {
  QString s = Funktionen->itemText(index);
  const qsizetype blank = s.indexOf(QLatin1Char(' '));
  if (blank >= 0) s = s.left(blank);
  // An empty entry is a separator in the list: it must not delete the selection.
  if (s.isEmpty()) return;
  Z_Alles::TextEinfuegen(Text, s);
}

void Rechner::ListP_DblClick() {
  QListWidgetItem* zeile = ListP->currentItem();
  if (!zeile) return;
  QString s = zeile->text().trimmed();
  // A line that could not be calculated has no result to take back; the box keeps its line.
  if (s.startsWith(RechnerZeile::NichtBerechenbar)) return;
  if (s.endsWith(QLatin1Char('='))) s.chop(1);
  TextSetzen(s);
}

namespace {
QString AnzeigeUebernehmen(const QString& beschriftung) {
  QString s = beschriftung.trimmed();
  const qsizetype blank = s.indexOf(QLatin1Char(' '));
  if (blank >= 0) s = s.left(blank + 1);
  return Z_Alles::Ersetzen(s, QStringLiteral("~"), QString());
}
}  // namespace

void Rechner::BezHex_Click() { TextSetzen(AnzeigeUebernehmen(BezHex->text())); }

void Rechner::BezBin_DblClick() { TextSetzen(AnzeigeUebernehmen(BezBin->text())); }

void Rechner::mnuCLS_Click() {
  BezHex->clear();
  BezBin->clear();
  Text->clear();
  Text->setFocus();
}

void Rechner::mnuKopie_Click() {
  QClipboard* ablage = QGuiApplication::clipboard();
  ablage->clear();
  if (SSTab->currentIndex() == 1) {
    ablage->setText(ErgebnisRoh);
    txtWert[0]->setFocus();
  } else {
    ablage->setText(Text->text());
    Text->setFocus();
  }
}

void Rechner::mnuEinfg_Click() {
  const QMimeData* daten = QGuiApplication::clipboard()->mimeData();
  const bool mitText = daten && daten->hasText();
  QLineEdit* ziel = SSTab->currentIndex() == 1 ? txtWert[0] : Text;
  if (mitText) ziel->setText(RechnerZeile::Einzeilig(daten->text()));
  ziel->setFocus();
}

void Rechner::mnuFormat_Click(int index) {
  if (index < 0 || index >= 9) return;
  Zahlenformat = formate_.value(index, QString::fromLatin1(FormatVorgaben[index]));
  mnuRechne_Click();
  befUmrechnen_Click();
  for (int i = 0; i < 9; ++i) mnuFormat[i]->setChecked(i == index);
  Z_Alles::IniSchreiben(QString(), Abschnitt, QStringLiteral("Format"), QString::number(index));
}

void Rechner::mnuInfo_Click() {
  if (dienste.infoZeigen) dienste.infoZeigen(this);
}

void Rechner::mnuEnde_Click() {
  PositionSichern();
  hide();
}

void Rechner::closeEvent(QCloseEvent* ereignis) {
  if (entladen_) {
    ereignis->accept();
    return;
  }
  // Closed by the user: only hidden, with history and position kept.
  ereignis->ignore();
  mnuEnde_Click();
}

void Rechner::keyPressEvent(QKeyEvent* ereignis) {
  if (ereignis->key() == Qt::Key_Escape && ereignis->modifiers() == Qt::NoModifier) {
    mnuEnde_Click();
    return;
  }
  QMainWindow::keyPressEvent(ereignis);
}

void Rechner::Text_KeyPress(QKeyEvent* ereignis, bool* verbraucht) {
  *verbraucht = false;
  if (ereignis->key() == Qt::Key_Return || ereignis->key() == Qt::Key_Enter) {
    *verbraucht = true;
    mnuRechne_Click();
    return;
  }
  if (ereignis->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return;
  const QString zeichen = ereignis->text();
  if (zeichen.size() != 1) return;
  const QChar c = zeichen[0];
  if (c == QLatin1Char(',') || c == QLatin1Char(':')) {
    *verbraucht = true;
    Text->insert(c == QLatin1Char(',') ? QStringLiteral(".") : QStringLiteral("/"));
    return;
  }
  static const struct { char taste; const char* text; } ergaenzungen[] = {
      {'a', "and"}, {'c', "cos(PI/180*"}, {'l', "log("}, {'n', "not"},
      {'o', "or"},  {'p', "PI"},          {'s', "sin(PI/180*"}, {'t', "tan(PI/180*"},
  };
  for (const auto& e : ergaenzungen) {
    if (c.toLower() != QLatin1Char(e.taste)) continue;
    *verbraucht = true;
    const QString ersatz = QString::fromLatin1(e.text);
    const int start = Text->hasSelectedText() ? Text->selectionStart() : Text->cursorPosition();
    Text->insert(ersatz);
    // The typed letter stays; the rest stays selected, so the next key replaces it.
    Text->setSelection(start + int(ersatz.size()), -(int(ersatz.size()) - 1));
    return;
  }
}

bool Rechner::eventFilter(QObject* objekt, QEvent* ereignis) {
  const QEvent::Type art = ereignis->type();
  if ((objekt == Text || objekt == txtWert[0] || objekt == txtWert[1]) && art == QEvent::ShortcutOverride) {
    // The line boxes would take Ctrl+C and Ctrl+V for themselves; the window's commands win.
    auto* taste = static_cast<QKeyEvent*>(ereignis);
    const QKeySequence folge(taste->keyCombination());
    for (QAction* a : {mnuKopie, mnuEinfg})
      if (a->isEnabled() && a->shortcut() == folge) {
        ereignis->ignore();
        return true;
      }
    return false;
  }
  if (objekt == Text && art == QEvent::KeyPress) {
    bool verbraucht = false;
    Text_KeyPress(static_cast<QKeyEvent*>(ereignis), &verbraucht);
    return verbraucht;
  }
  if (objekt == Funktionen && art == QEvent::Wheel && !Funktionen->hasFocus()) {
    // A wheel turned over the list on its way to the history would insert tokens and overwrite
    // the selected line; only a list that has the focus takes the wheel, as it takes arrow keys.
    ereignis->ignore();
    return true;
  }
  if (objekt == BezHex && art == QEvent::MouseButtonPress &&
      static_cast<QMouseEvent*>(ereignis)->button() == Qt::LeftButton) {
    BezHex_Click();
    return true;
  }
  if (objekt == BezBin && art == QEvent::MouseButtonDblClick) {
    BezBin_DblClick();
    return true;
  }
  return QMainWindow::eventFilter(objekt, ereignis);
}

void Rechner::SSTab_Click(int) {
  if (SSTab->currentIndex() <= 0) Text->setFocus();
  if (SSTab->currentIndex() == 1) txtWert[0]->setFocus();
  if (SSTab->currentIndex() == 1 && EinheitenDatei.isEmpty()) {
    SSTab->setCurrentIndex(0);  // runs this handler again for page 0
    Plattform::MsgBox(QStringLiteral("Die Umrechnungen sind nicht verfügbar, weil die Einheitendatei »%1« "
                                     "weder im Datenordner noch im Programmordner gefunden wurde.")
                          .arg(Umrechnen::DateiName),
                      Plattform::vbOKOnly | Plattform::vbExclamation, QStringLiteral("Umrechnungen"));
    return;
  }
  UmrechnenMenuesZeigen(SSTab->currentIndex());
}

void Rechner::UmrechnenMenuesZeigen(int seite) {
  // Hidden commands keep no shortcut: F3 must not reach the VAT on the converter page.
  const bool steuer = seite <= 0;
  mnuUmrechnen0->menuAction()->setVisible(steuer);
  mnuUmrechnen1->menuAction()->setVisible(!steuer);
  for (QAction* a : mnuUmrechnen0->actions()) a->setEnabled(steuer);
  for (QAction* a : mnuUmrechSteuerX->actions()) a->setEnabled(steuer);
  for (QAction* a : mnuWährungX->actions()) a->setEnabled(steuer);
  for (QAction* a : mnuUmrechnen1->actions()) a->setEnabled(!steuer);
}

// ---- VAT and currency -------------------------------------------------------------------------

void Rechner::mnuUmrechSteuer_Click(int index) {
  // A line that cannot be calculated stays for correction; the history already says why.
  if (!mnuRechne_Click()) return;
  const double x = Laufzeit::Val(QString(Text->text()).replace(QLatin1Char(','), QLatin1Char('.')));
  double y = 0;
  if (index < 0 || index >= MwSt::SteuerAnzahl) {
    mnuRechne_Click();
    return;
  }
  const double p = MwSt::Satz();
  if (!MwSt::SteuerUmrechnen(index, x, p, &y)) {
    Plattform::MsgBox(QStringLiteral("Mit dem Mehrwertsteuer-Satz %1% ist »%2« nicht möglich (Teilung durch 0).")
                          .arg(RechnerZeile::ZahlTextKomma(p), MwSt::SteuerTitel(index)),
                      Plattform::vbOKOnly | Plattform::vbExclamation, QStringLiteral("MwSt"));
    return;
  }
  Text->setText(RechnerZeile::ZahlTextKomma(y));
  mnuRechne_Click();
}

void Rechner::mnuWährung_Click(int index) {
  if (!mnuRechne_Click()) return;
  const double x = Laufzeit::Val(QString(Text->text()).replace(QLatin1Char(','), QLatin1Char('.')));
  if (index < 0 || index > 1) {
    mnuRechne_Click();
    return;
  }
  bool gueltig = false;
  const double f = MwSt::WährungsFaktor(&gueltig);
  double y = 0;
  if (!gueltig || !MwSt::WährungUmrechnen(index, x, f, &y)) {
    const QString text = Z_Alles::IniLesen(QString(), QStringLiteral("Allgemein"), QStringLiteral("WährungsFaktor"));
    Plattform::MsgBox(QStringLiteral("Der Währungsfaktor »%1« ist keine Zahl ungleich 0; so kann nicht umgerechnet "
                                     "werden. Er steht unter »WährungsFaktor« im Abschnitt »Allgemein« der "
                                     "Einstellungen.").arg(text),
                      Plattform::vbOKOnly | Plattform::vbExclamation, QStringLiteral("Währung"));
    return;
  }
  Text->setText(RechnerZeile::ZahlTextKomma(y));
  mnuRechne_Click();
}

void Rechner::mnuUmrechSteuerMwStEdit_Click() { MwSt::SatzÄndern(); }

// ---- Converter page ---------------------------------------------------------------------------

void Rechner::LesenUmrechnungen() {
  dateiHinweis_.clear();
  QString fehler;
  EinheitenDatei = Umrechnen::DateiBereitstellen(&fehler);
  if (EinheitenDatei.isEmpty()) {
    dateiHinweis_ = QStringLiteral("Die Einheitendatei »%1« wurde nicht gefunden.").arg(Umrechnen::DateiName);
    HinweisZeigen();
    return;
  }
  bool ok = false, keinText = false;
  const QStringList zeilen = Umrechnen::ZeilenLesen(EinheitenDatei, &ok, &keinText);
  const QStringList rubriken = Umrechnen::Rubriken(zeilen);
  if (!ok)
    dateiHinweis_ = QStringLiteral("Die Einheitendatei »%1« lässt sich nicht lesen.").arg(EinheitenDatei);
  else if (keinText)
    dateiHinweis_ = QStringLiteral("Die Einheitendatei »%1« ist keine Textdatei.").arg(EinheitenDatei);
  else if (rubriken.isEmpty())
    dateiHinweis_ = QStringLiteral("Die Einheitendatei »%1« enthält keine Rubriken.").arg(EinheitenDatei);
  else if (!fehler.isEmpty())
    dateiHinweis_ = fehler;

  ListeFuellen(ComboRubrik, rubriken);
  const QStringList vorsilben = Umrechnen::Vorsilben(zeilen);
  for (QComboBox* liste : ComboSI) ListeFuellen(liste, vorsilben);
  if (dateiHinweis_.isEmpty() && vorsilben.isEmpty())
    dateiHinweis_ = QStringLiteral("Die Einheitendatei nennt keine Vorsilben (Abschnitt [_SI]).");
  HinweisZeigen();
  IndexSetzen(ComboRubrik, Umrechnen::ZuletztLesen(EinheitenDatei, QStringLiteral("Rubrik"), QStringLiteral("11")));
}

void Rechner::ComboRubrik_Click() {
  const QString rubrik = ComboRubrik->currentText();
  const QStringList einheiten =
      ComboRubrik->currentIndex() < 0 ? QStringList() : Umrechnen::Einheiten(Umrechnen::ZeilenLesen(EinheitenDatei), rubrik);
  for (QComboBox* liste : ComboEinheit) ListeFuellen(liste, einheiten);
  befUmrechnen_Click();

  for (int i = 0; i < 2; ++i) {
    IndexSetzen(ComboSI[i], 8);
    IndexSetzen(ComboSI[i], Umrechnen::ZuletztLesen(EinheitenDatei, rubrik + QStringLiteral("_LastSI%1").arg(i + 1),
                                                    QStringLiteral("10")));
  }
  for (int i = 0; i < 2; ++i) {
    IndexSetzen(ComboEinheit[i], 0);
    IndexSetzen(ComboEinheit[i], Umrechnen::ZuletztLesen(EinheitenDatei,
                                                         rubrik + QStringLiteral("_LastEinheit%1").arg(i + 1),
                                                         QStringLiteral("0")));
  }
}

void Rechner::befUmrechnen_Click() {
  // A burst of changes leads to one conversion; a running timer is not started again.
  if (!TimerUmrechnen->isActive()) TimerUmrechnen->start();
}

void Rechner::TimerUmrechnen_Timer() {
  TimerUmrechnen->stop();
  TimerUmrechnen->setInterval(333);
  if (EinheitenDatei.isEmpty()) return;

  befNoCheck->setVisible(ComboEinheit[0]->currentText().startsWith(QLatin1Char(' ')) ||
                         ComboEinheit[1]->currentText().startsWith(QLatin1Char(' ')));
  const QString rubrik = ComboRubrik->currentText();
  umrechnungsHinweis_.clear();
  if (ComboRubrik->currentIndex() < 0) {
    HinweisZeigen();
    return;
  }
  if (ComboEinheit[0]->count() == 0) {
    umrechnungsHinweis_ = QStringLiteral("Die Rubrik »%1« enthält keine Einheiten.").arg(rubrik);
    HinweisZeigen();
    return;
  }

  Umrechnen::Eingabe eingabe;
  eingabe.rubrik = rubrik;
  eingabe.wert = txtWert[0]->text();
  for (int i = 0; i < 2; ++i) {
    eingabe.vorsilbe[i] = ComboSI[i]->currentText();
    eingabe.einheit[i] = ComboEinheit[i]->currentText();
  }
  const Umrechnen::Ergebnis erg = Umrechnen::Berechnen(EinheitenDatei, eingabe);
  for (int i = 0; i < 2; ++i)
    if (erg.vorsilbeUnbekannt[i]) StrichWaehlen(ComboSI[i]);

  ErgebnisRoh = Laufzeit::ZahlText(erg.wert);
  const QString angezeigt = Laufzeit::Format(erg.wert, Zahlenformat);
  if (txtWert[1]->text() != angezeigt) txtWert[1]->setText(angezeigt);
  umrechnungsHinweis_ = erg.hinweis;
  HinweisZeigen();

  Umrechnen::ZuletztSchreiben(EinheitenDatei, QStringLiteral("Rubrik"), ComboRubrik->currentIndex());
  const char* const endung[4] = {"_LastSI1", "_LastSI2", "_LastEinheit1", "_LastEinheit2"};
  QComboBox* const liste[4] = {ComboSI[0], ComboSI[1], ComboEinheit[0], ComboEinheit[1]};
  for (int i = 0; i < 4; ++i)
    if (liste[i]->currentIndex() >= 0)
      Umrechnen::ZuletztSchreiben(EinheitenDatei, rubrik + QString::fromLatin1(endung[i]), liste[i]->currentIndex());
}

void Rechner::HinweisZeigen() {
  const QString text = umrechnungsHinweis_.isEmpty() ? dateiHinweis_ : umrechnungsHinweis_;
  bezHinweis->setText(text);
  bezHinweis->setVisible(!text.isEmpty());
}

void Rechner::mnuUmrechnenSIReset_Click() {
  for (QComboBox* liste : ComboSI) StrichWaehlen(liste);
}

void Rechner::mnuUmrechnenEinheitReset_Click() {
  for (QComboBox* liste : ComboEinheit) IndexSetzen(liste, 0);
}

void Rechner::mnuUmrechnenAustauschen_Click() {
  const int e0 = ComboEinheit[0]->currentIndex(), e1 = ComboEinheit[1]->currentIndex();
  IndexSetzen(ComboEinheit[0], e1);
  IndexSetzen(ComboEinheit[1], e0);
  const int s0 = ComboSI[0]->currentIndex(), s1 = ComboSI[1]->currentIndex();
  IndexSetzen(ComboSI[0], s1);
  IndexSetzen(ComboSI[1], s0);
}

void Rechner::mnuUmrechnenEinheitenEdit_Click() {
  const QString pfad = EinheitenDatei.isEmpty() ? Z_Alles::PfadVerbinden(Z_Alles::ordnerDat, Umrechnen::DateiName)
                                                : EinheitenDatei;
  QStringList befehl = Umrechnen::EditorBefehl(pfad);
  const QString programm = befehl.takeFirst();
  if (!Plattform::ProgrammStarten(programm, befehl))
    Plattform::MsgBox(QStringLiteral("Der Editor »%1« konnte nicht gestartet werden. Die Einheitendatei liegt "
                                     "hier:~%2").arg(programm, pfad).replace(QLatin1Char('~'), QLatin1Char('\n')),
                      Plattform::vbOKOnly | Plattform::vbExclamation, QStringLiteral("Einheiten bearbeiten"));
}

// ---- The main window's command ------------------------------------------------------------------

void Rechner::PulRechner_Click() {
  Hauptfenster* h = Hauptfenster::Instanz();
  Oeffnen(h ? h->markierterText() : QString());
}

void Rechner::Registrieren() {
  HauptfensterHaken::MitHauptfenster([](Hauptfenster& h) {
    h.befehlEintragen(QStringLiteral("&Weiteres"), QStringLiteral("&Taschenrechner..."),
                      [] { Rechner::PulRechner_Click(); }, QKeySequence(Qt::SHIFT | Qt::Key_F1),
                      Hauptfenster::ImPopup | Hauptfenster::InLeiste, QStringLiteral("PulRechner"));
  });
  HauptfensterHaken::Eintragen(HauptfensterHaken::Punkt::EndeEntladen, [] { Rechner::Entladen(); });
}
