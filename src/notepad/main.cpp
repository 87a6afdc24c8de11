#include "notepad/main.h"

#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QDir>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QShortcut>
#include <QStyle>
#include <QToolBar>
#include <QScopeGuard>
#include <QScrollArea>
#include <QScrollBar>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTextBlock>
#include <QToolButton>
#include <QVBoxLayout>
#include <functional>
#ifndef QT_NO_SESSIONMANAGER
#include <QSessionManager>
#endif

#include "foundation/dienste.h"
#include "foundation/z_alles.h"
#include "notepad/notizeditor.h"
#include "notepad/skribondiv.h"
#include "notepad/titel.h"
#include "notepad/z_systray.h"
#include "platform/dialoge.h"
#include "platform/farben.h"
#include "platform/laufzeit.h"
#include "platform/system.h"
#include "platform/textdatei.h"

using HauptfensterHaken::Punkt;

namespace {

Main* instanz_ = nullptr;

constexpr int kLinkerRand = 120 / Fensterplatz::TwipsJePixel;  // the first tab sits 120 twips from the left
constexpr int kTabZeichen = 24;        // longer headers are shortened on the tab (full in the tip)
constexpr quint32 kVollZeigenMs = 4000;  // "Notiz voll" is shown at least this long

// The pop-up menu's and the toolbar's fixed order of registered commands.
const QStringList kPopupReihe = {QStringLiteral("PulRechner"), QStringLiteral("PulInfo"),
                                 QStringLiteral("PulDrucken")};
const QStringList kLeisteReihe = {QStringLiteral("PulDrucken"), QStringLiteral("PulRechner"),
                                  QStringLiteral("PulInfo")};

// Toolbar icons from the desktop's icon theme; without one the buttons show their text only.
// Qt keeps each theme icon it has looked up, and a theme icon follows a change of theme by itself.
QIcon leistenSymbol(const QString& name) {
  static const QMap<QString, QString> namen = {
      {QStringLiteral("PulDrucken"), QStringLiteral("document-print")},
      {QStringLiteral("PulRechner"), QStringLiteral("accessories-calculator")},
      {QStringLiteral("PulInfo"), QStringLiteral("help-about")},
      {QStringLiteral("PulEnde"), QStringLiteral("application-exit")}};
  const QString n = namen.value(name);
  if (n.isEmpty()) return {};
  QIcon i = QIcon::fromTheme(n);
  if (i.isNull()) i = QIcon::fromTheme(n + QStringLiteral("-symbolic"));
  return i;
}

// The status panel: a long text is cut with "…" (the whole text in its tip) instead of
// widening the window or being clipped mid-letter.
class StatusPanel : public QLabel {
public:
  using QLabel::QLabel;
  QSize minimumSizeHint() const override { return {minimumWidth(), QLabel::minimumSizeHint().height()}; }
  QSize sizeHint() const override { return {minimumWidth(), QLabel::sizeHint().height()}; }

protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    const QRect r = contentsRect();
    const QString t = fontMetrics().elidedText(text(), Qt::ElideRight, r.width());
    style()->drawItemText(&p, r, int(alignment()), palette(), isEnabled(), t, foregroundRole());
  }
};

// A note tab. Like option buttons: the current tab is the row's one stop in the Tab chain,
// and the arrow keys go to the tab before or after it (round the row), switching the note.
class NotizTab : public QToolButton {
public:
  NotizTab(QWidget* eltern, std::function<void(int)> schritt)
      : QToolButton(eltern), schritt_(std::move(schritt)) {}

protected:
  void keyPressEvent(QKeyEvent* e) override {
    if (!(e->modifiers() & ~Qt::KeypadModifier)) {
      switch (e->key()) {
        case Qt::Key_Left:
        case Qt::Key_Up:
          schritt_(-1);
          return;
        case Qt::Key_Right:
        case Qt::Key_Down:
          schritt_(1);
          return;
        default:
          break;
      }
    }
    QToolButton::keyPressEvent(e);
  }

private:
  std::function<void(int)> schritt_;
};

QColor farbeAusEinstellung(const QString& schluessel, const QString& vorgabe) {
  bool ok = false;
  quint32 f = Plattform::FarbZahlLesen(Z_Alles::IniLesen({}, {}, schluessel, vorgabe), &ok);
  if (!ok) f = Plattform::FarbZahlLesen(vorgabe);
  return Plattform::ZuQColor(f);
}

double schriftGroesse(const QString& text) {
  bool ok = false;
  double g = QString(text).replace(QLatin1Char(','), QLatin1Char('.')).trimmed().toDouble(&ok);
  return (ok && g >= 4 && g <= 200) ? g : 0;
}

}  // namespace

// ---- Construction -------------------------------------------------------------------------------

Main::Main(QWidget* parent) : QMainWindow(parent) {
  instanz_ = this;
  Hauptfenster::SetzeInstanz(this);
  Plattform::SetzeDialogBesitzer(this);
  setObjectName(QStringLiteral("Main"));
  setWindowTitle(Z_Alles::ProgrammTitel);
  setWindowIcon(SkribonDiv::ProgrammSymbol());

  // Menus.
  mnuDatei = menuBar()->addMenu(QStringLiteral("&Datei"));
  mnuDatei->setObjectName(QStringLiteral("mnuDatei"));
  mnuDatei->addSeparator();
  mnuBeenden = mnuDatei->addAction(QStringLiteral("&Beenden"));
  mnuBeenden->setObjectName(QStringLiteral("mnuBeenden"));
  connect(mnuBeenden, &QAction::triggered, this, &Main::PulEnde_Click);
  mnuWeiteres = menuBar()->addMenu(QStringLiteral("&Weiteres"));
  mnuWeiteres->setObjectName(QStringLiteral("mnuWeiteres"));
  connect(mnuWeiteres, &QMenu::aboutToShow, this, &Main::mnuWeiteres_Click);
  const QStringList programme = {QStringLiteral("&Varnisch..."), QStringLiteral("&Skribon..."),
                                 QStringLiteral("&Ostrup..."), QStringLiteral("&Lumetrix...")};
  for (int i = 0; i < 4; ++i) {
    mnuPrg[i] = mnuWeiteres->addAction(programme[i]);
    mnuPrg[i]->setObjectName(QStringLiteral("mnuPrg%1").arg(i));
    connect(mnuPrg[i], &QAction::triggered, this, [this, i] { mnuPrg_Click(i); });
  }
  mnuWeiteres->addSeparator();
  menues_.insert(QStringLiteral("&Datei"), mnuDatei);
  menues_.insert(QStringLiteral("&Weiteres"), mnuWeiteres);

  // Toolbar: what other windows register, then the exit.
  PulEnde = new QAction(QStringLiteral("&Beenden"), this);
  PulEnde->setObjectName(QStringLiteral("PulEnde"));
  PulEnde->setIcon(leistenSymbol(QStringLiteral("PulEnde")));
  PulEnde->setToolTip(QStringLiteral("Notiz sichern und Skribon beenden"));
  connect(PulEnde, &QAction::triggered, this, &Main::PulEnde_Click);
  Symbolleiste = addToolBar(QStringLiteral("Symbolleiste"));
  Symbolleiste->setObjectName(QStringLiteral("Symbolleiste"));
  Symbolleiste->setMovable(false);
  Symbolleiste->setFloatable(false);
  Symbolleiste->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
  Symbolleiste->setContextMenuPolicy(Qt::PreventContextMenu);
  leisteAnker_ = Symbolleiste->addSeparator();
  leisteAnker_->setVisible(false);  // shown once commands stand before it
  Symbolleiste->addAction(PulEnde);

  // Pop-up menu of the editor: registered commands, the edit commands, the exit.
  mnuPopup = new QMenu(this);
  mnuPopup->setObjectName(QStringLiteral("mnuPopup"));
  popupAnker_ = mnuPopup->addSeparator();
  auto bearbeiten = [this](const QString& name, const QString& text, const QKeySequence& taste,
                           void (QPlainTextEdit::*wirkung)()) {
    auto* a = mnuPopup->addAction(text);
    a->setObjectName(name);
    a->setShortcut(taste);
    a->setShortcutVisibleInContextMenu(true);
    connect(a, &QAction::triggered, this, [this, wirkung] { (aktiverText()->*wirkung)(); });
    return a;
  };
  bearbeiten(QStringLiteral("PulRueckgaengig"), QStringLiteral("&Rückgängig"), QKeySequence::Undo, &QPlainTextEdit::undo);
  bearbeiten(QStringLiteral("PulWiederholen"), QStringLiteral("Wieder&herstellen"), QKeySequence::Redo, &QPlainTextEdit::redo);
  mnuPopup->addSeparator();
  bearbeiten(QStringLiteral("PulAusschneiden"), QStringLiteral("&Ausschneiden"), QKeySequence::Cut, &QPlainTextEdit::cut);
  bearbeiten(QStringLiteral("PulKopieren"), QStringLiteral("&Kopieren"), QKeySequence::Copy, &QPlainTextEdit::copy);
  bearbeiten(QStringLiteral("PulEinfuegen"), QStringLiteral("&Einfügen"), QKeySequence::Paste, &QPlainTextEdit::paste);
  auto* loeschen = mnuPopup->addAction(QStringLiteral("&Löschen"));
  loeschen->setObjectName(QStringLiteral("PulLoeschen"));
  connect(loeschen, &QAction::triggered, this, [this] { aktiverText()->textCursor().removeSelectedText(); });
  mnuPopup->addSeparator();
  bearbeiten(QStringLiteral("PulAllesMarkieren"), QStringLiteral("Alles aus&wählen"), QKeySequence::SelectAll, &QPlainTextEdit::selectAll);
  mnuPopup->addSeparator();
  mnuPopup->addAction(PulEnde);

  // Ctrl+Alt+G: the line at the caret goes to whoever asked for it.
  auto* strgAltG = new QShortcut(QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_G), this);
  connect(strgAltG, &QShortcut::activated, this, &Main::Form_KeyDown_StrgAltG);

  // Tab row, header label, editor boxes.
  auto* mitte = new QWidget(this);
  auto* spalte = new QVBoxLayout(mitte);
  spalte->setContentsMargins(4, 4, 4, 0);
  spalte->setSpacing(0);

  tabLeiste_ = new QScrollArea(mitte);
  tabLeiste_->setObjectName(QStringLiteral("tabLeiste"));
  tabLeiste_->setFrameShape(QFrame::NoFrame);
  tabLeiste_->setWidgetResizable(true);
  tabLeiste_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  tabLeiste_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  tabLeiste_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
  tabLeiste_->setFocusPolicy(Qt::NoFocus);  // the tabs take the focus, not the row
  tabFlaeche_ = new QWidget;
  tabFlaeche_->setObjectName(QStringLiteral("tabFlaeche"));
  auto* reihe = new QHBoxLayout(tabFlaeche_);
  reihe->setContentsMargins(kLinkerRand, 0, kLinkerRand, 0);
  reihe->setSpacing(1);
  reihe->addStretch(1);
  tabLeiste_->setWidget(tabFlaeche_);
  tabGruppe_ = new QButtonGroup(this);
  tabGruppe_->setExclusive(true);
  connect(tabGruppe_, &QButtonGroup::idClicked, this, &Main::Opt_Click);
  spalte->addWidget(tabLeiste_);

  auto* linie = new QFrame(mitte);
  linie->setFrameShape(QFrame::HLine);
  linie->setFrameShadow(QFrame::Sunken);
  spalte->addWidget(linie);

  bezInfo = new QLabel(mitte);
  bezInfo->setObjectName(QStringLiteral("bezInfo"));
  bezInfo->setTextFormat(Qt::PlainText);
  QFont fett = bezInfo->font();
  fett.setBold(true);
  bezInfo->setFont(fett);
  bezInfo->setContentsMargins(4, 4, 4, 4);
  // A header of any length must not widen the window.
  bezInfo->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  bezInfo->setMinimumWidth(1);
  spalte->addWidget(bezInfo);

  textStapel_ = new QStackedWidget(mitte);
  for (int i = 0; i < 2; ++i) {
    Text[i] = new NotizEditor(i, textStapel_);
    textStapel_->addWidget(Text[i]);
    connect(Text[i], &QPlainTextEdit::textChanged, this, &Main::Text_Change);
    connect(Text[i], &NotizEditor::einfuegemodusUmschalten, this, &Main::Text_KeyDown_Einfuegen);
    connect(Text[i], &NotizEditor::zuLang, this, [this](const QString& t) { warnungSetzen(t, Warnung::Voll); });
    Text[i]->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(Text[i], &QWidget::customContextMenuRequested, this, &Main::Text_MouseUp_Rechts);
    connect(Text[i], &NotizEditor::doppelklick, this, [this, i] {
      dienste.doppelklick(Text[i]->text(), Text[i]->textCursor().position());
    });
  }
  spalte->addWidget(textStapel_, 1);
  setCentralWidget(mitte);

  // Status bar panels: "Status" takes the room that is left.
  auto neuesPanel = [this](const QString& schluessel, int stretch, const QString& muster) {
    QLabel* l = stretch ? new StatusPanel(this) : new QLabel(this);
    l->setObjectName(QStringLiteral("panel") + schluessel);
    l->setContentsMargins(4, 0, 4, 0);
    if (!muster.isEmpty()) l->setMinimumWidth(l->fontMetrics().horizontalAdvance(muster) + 10);
    if (stretch) statusBar()->addWidget(l, stretch);
    else statusBar()->addPermanentWidget(l);
    panels_.insert(schluessel, l);
  };
  neuesPanel(QStringLiteral("Status"), 1, QStringLiteral("Bereit"));
  neuesPanel(QStringLiteral("Position"), 0, QStringLiteral("Zeile 9999, Spalte 9999"));
  neuesPanel(QStringLiteral("Umbruch"), 0, QStringLiteral("Kein Umbruch"));
  neuesPanel(QStringLiteral("Modus"), 0, QStringLiteral("ÜBERSCHR"));
  neuesPanel(QStringLiteral("Geaendert"), 0, QStringLiteral(" * "));
  neuesPanel(QStringLiteral("Datum"), 0, QStringLiteral("88.88.8888"));
  neuesPanel(QStringLiteral("Zeit"), 0, QStringLiteral("88:88"));
  panel(QStringLiteral("Geaendert"))->setAlignment(Qt::AlignCenter);
  // Narrower, the status panels would be drawn over each other.
  setMinimumWidth(statusBar()->minimumSizeHint().width());

  // Timers; their intervals never change.
  Zeit.setInterval(60000);
  ZeitInfo.setInterval(1000);
  zeitBelegung.setInterval(100);
  zeitBelegung.setSingleShot(true);
  connect(&Zeit, &QTimer::timeout, this, &Main::Zeit_Timer);
  connect(&ZeitInfo, &QTimer::timeout, this, &Main::ZeitInfo_Timer);
  connect(&zeitBelegung, &QTimer::timeout, this, &Main::zeitBelegung_Timer);
  zeitInfoWache_.setInterval(1000);
  connect(&zeitInfoWache_, &QTimer::timeout, this, [this] {
    if (!endet() || sitzung_.endeLaeuft()) HauptfensterHaken::Ausfuehren(Punkt::ZeitInfoEnde);
  });

  // The desktop session ends, or the application is told to quit: the orderly exit first.
#ifndef QT_NO_SESSIONMANAGER
  connect(qApp, &QGuiApplication::commitDataRequest, this,
          [this](QSessionManager&) { beenden(true); });
#endif
  connect(qApp, &QCoreApplication::aboutToQuit, this, [this] {
    if (!endet()) beenden(true);
  });

  resize(900, 620);
}

Main::~Main() {
  Z_SysTray::Verbergen();
  if (instanz_ == this) instanz_ = nullptr;
  if (Plattform::DialogBesitzer() == this) Plattform::SetzeDialogBesitzer(nullptr);
}

Main* Main::Instanz() { return instanz_; }

QLabel* Main::panel(const QString& schluessel) const { return panels_.value(schluessel); }

// ---- Start-up -----------------------------------------------------------------------------------

void Main::fortschritt(const QString& text) {
  startProtokoll_ << text;
  if (Titel* t = Titel::Instanz()) t->fortschritt(text);
}

void Main::schritt(const QString& text, Punkt punkt) {
  fortschritt(text);
  HauptfensterHaken::Ausfuehren(punkt);
}

void Main::StartZustandSetzen(Qt::WindowStates zustand) {
  // Only a minimised or maximised start says something; a normal one keeps the stored state.
  zustand &= (Qt::WindowMinimized | Qt::WindowMaximized);
  if (!zustand) return;
  startZustand_ = zustand;
  startZustandGesetzt_ = true;
}

void Main::Form_Load() {
  startProtokoll_.clear();
  // 1. Folders (resolved once; the splash may have done it already).
  if (Z_Alles::ordnerDat.isEmpty()) Z_Alles::OrdnerInit(SkribonDiv::Befehlszeile);
  if (!Z_Alles::ordnerDatGewuenscht.isEmpty()) {
    // Notes saved elsewhere than the user expects would look lost: say where they go.
    Plattform::MsgBox(QStringLiteral("Der Datenordner »%1« konnte nicht angelegt werden.\n\n"
                                     "Die Notizen werden stattdessen im Ordner »%2« gespeichert.")
                          .arg(QDir::toNativeSeparators(Z_Alles::ordnerDatGewuenscht),
                               QDir::toNativeSeparators(Z_Alles::ordnerDat)),
                      Plattform::vbExclamation);
    Z_Alles::ordnerDatGewuenscht.clear();  // told once
  }

  // 2. Checks, then a fresh debug log.
  schritt(QStringLiteral("Überprüfungen"), Punkt::StartUeberpruefungen);
  Z_Alles::DebugLog(QStringLiteral("clr"));

  // 3. Number of note slots.
  fortschritt(QStringLiteral("Anzahl Skribon"));
  SkribonDiv::NotizAnzahl =
      SkribonDiv::NotizAnzahlAusText(Z_Alles::IniLesen({}, {}, QStringLiteral("MaxSkribon"), QStringLiteral("50")));

  // 4. The editor box for the stored word-wrap setting.
  fortschritt(QStringLiteral("Textfeld anlegen"));
  SkribonDiv::TextAktiv =
      SkribonDiv::WahrheitLesen(Z_Alles::IniLesen({}, {}, QStringLiteral("WordWrap"), QStringLiteral("0"))) ? 1 : 0;
  textStapel_->setCurrentIndex(SkribonDiv::TextAktiv);

  // 5. One tab per note slot.
  fortschritt(QStringLiteral("Notiz-Optionsfeld anlegen"));
  tabsAnlegen();

  // 6.-8. Read-only decision, mail footer, start statistics.
  schritt(QStringLiteral("Readonlytest"), Punkt::StartReadonlytest);
  if (!Z_Alles::NurLesen) {
    // What a save killed half-way left behind.
    for (const QString& ordner : {Z_Alles::ordnerDat, Z_Alles::ordnerSub, Z_Alles::ordnerTmp})
      Plattform::AlteTemporaereEntfernen(ordner);
  }
  schritt(QStringLiteral("Mail-Fußzeile"), Punkt::StartMailFuss);
  schritt(QStringLiteral("Als Benutzer anmelden"), Punkt::StartAnmelden);
  statusSetzen(QStringLiteral("Bereit"));

  // 9. The help file beside the program.
  fortschritt(QStringLiteral("Zeiger auf Hilfedatei"));
  SkribonDiv::HilfeDatei = Z_Alles::PfadVerbinden(Z_Alles::ordnerPrg, QStringLiteral("Skribon.chm"));

  // 10. Window place and tab layout.
  fortschritt(QStringLiteral("Notiz-Optionsfeld positionieren"));
  fensterplatzLaden();

  // 11. Nothing may be changed in a read-only run.
  schritt(QStringLiteral("Sperren wenn nur Leserechte"), Punkt::StartSperren);
  for (NotizEditor* t : Text) t->setReadOnly(Z_Alles::NurLesen);

  // 12. Developer-only menus.
  schritt(QStringLiteral("Privates"), Punkt::StartPrivates);

  // 13. The notepad named on the command line, else "Skribon".
  fortschritt(QStringLiteral("Datei als Übergabeparameter vorgegeben?"));
  QString name = SkribonDiv::NotizblockAusBefehlszeile(SkribonDiv::Befehlszeile);
  if (name.isEmpty()) name = QStringLiteral("Skribon");

  // 14. Open it.
  fortschritt(QStringLiteral("Notizblock laden"));
  NotizblockOeffnen(name);

  // 15. Done: the splash goes.
  fortschritt(QStringLiteral("Main geladen, unload Title"));
  if (Titel* t = Titel::Instanz()) t->entladen();

  panelsAuffrischen();
  datumZeitAuffrischen();
  startFertig_ = true;
  if (!Zeit.isActive()) Zeit.start();
  if (!ZeitInfo.isActive()) ZeitInfo.start();
}

void Main::fensterplatzLaden() {
  Fensterplatz::Platz platz = Fensterplatz::Lesen(QStringLiteral("Main"));
  int l = 0, o = 0, w = 0, h = 0, z = 0;
  if (SkribonDiv::FensterAusBefehlszeile(SkribonDiv::Befehlszeile, &l, &o, &w, &h, &z)) {
    platz.links = l / Fensterplatz::TwipsJePixel;
    platz.oben = o / Fensterplatz::TwipsJePixel;
    platz.weite = w / Fensterplatz::TwipsJePixel;
    platz.hoehe = h / Fensterplatz::TwipsJePixel;
    platz.zustand = z;
    platz.mitGroesse = platz.mitPosition = true;
  }
  // Starting minimised from a stored state would hide the program from its user.
  if (platz.zustand == 1) platz.zustand = 0;
  Fensterplatz::Anwenden(this, platz);
  if (startZustandGesetzt_) setWindowState((windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized)) | startZustand_);
}

// ---- Tabs ---------------------------------------------------------------------------------------

void Main::tabsAnlegen() {
  if (!Opt.empty()) return;
  auto* reihe = static_cast<QHBoxLayout*>(tabFlaeche_->layout());
  // The switch saves the current note first; when that fails, the note and its tab stay.
  auto schritt = [this](int richtung) {
    const int n = int(Opt.size());
    NotizWechseln((SkribonDiv::NotizNr - 1 + richtung + n) % n + 1);
  };
  for (int nr = 1; nr <= SkribonDiv::NotizAnzahl; ++nr) {
    auto* b = new NotizTab(tabFlaeche_, schritt);
    b->setObjectName(QStringLiteral("Opt%1").arg(nr));
    b->setCheckable(true);
    b->setFocusPolicy(Qt::NoFocus);  // tabZeigen gives the current tab its place in the chain
    b->setToolButtonStyle(Qt::ToolButtonTextOnly);
    // Each tab as wide as its caption: the row scrolls rather than squeezing captions.
    b->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    b->setText(QString::number(nr));
    tabGruppe_->addButton(b, nr);
    reihe->insertWidget(nr - 1, b);
    Opt.push_back(b);
  }
  // Room for the tabs and, when they do not fit, the scroll bar below them.
  const int hoehe = Opt.front()->sizeHint().height() + 6;
  tabLeiste_->setFixedHeight(hoehe + tabLeiste_->horizontalScrollBar()->sizeHint().height());
}

QString Main::tabText(int nr) const {
  if (nr < 1 || nr > int(Opt.size())) return {};
  return Opt[nr - 1]->text();
}

QColor Main::tabFarbe(int nr) const {
  if (nr < 1 || nr > int(Opt.size())) return {};
  return Opt[nr - 1]->property("tabFarbe").value<QColor>();
}

void Main::tabsBeschriften() {
  for (int nr = 1; nr <= int(Opt.size()); ++nr) {
    const QString header = speicher().ueberblick(nr).header.trimmed();
    QString text = header.isEmpty() ? QString::number(nr) : header;
    if (text.size() > kTabZeichen) text = text.left(kTabZeichen - 1).trimmed() + QChar(0x2026);
    text.replace(QLatin1Char('&'), QLatin1String("&&"));  // no accelerator in a caption
    Opt[nr - 1]->setText(text);
    Opt[nr - 1]->setToolTip(header.isEmpty() ? QStringLiteral("Notiz %1").arg(nr)
                                             : QStringLiteral("Notiz %1: %2").arg(nr).arg(header));
  }
}

void Main::tabZeigen(int nr) {
  if (nr < 1 || nr > int(Opt.size())) return;
  const bool reiheHatFokus = tabFlaeche_->isAncestorOf(QApplication::focusWidget());
  for (int i = 0; i < int(Opt.size()); ++i)
    Opt[i]->setFocusPolicy(i == nr - 1 ? Qt::TabFocus : Qt::NoFocus);
  Opt[nr - 1]->setChecked(true);
  if (reiheHatFokus) Opt[nr - 1]->setFocus(Qt::OtherFocusReason);
  tabLeiste_->ensureWidgetVisible(Opt[nr - 1], 40, 0);
}

void Main::zeitBelegung_Timer() {
  zeitBelegung.stop();
  const QColor std = farbeAusEinstellung(TabFarben::Schluessel[0], TabFarben::Vorgabe[0]);
  const QColor leer = farbeAusEinstellung(TabFarben::Schluessel[1], TabFarben::Vorgabe[1]);
  const QColor krypt = farbeAusEinstellung(TabFarben::Schluessel[2], TabFarben::Vorgabe[2]);
  const QColor akt = farbeAusEinstellung(TabFarben::Schluessel[3], TabFarben::Vorgabe[3]);
  const QColor seite = Text[0]->palette().color(QPalette::Base);
  // OptBackcolor is a flag: the note's own background, else the button face.
  const QString wieNotiz =
      Z_Alles::IniLesen({}, {}, TabFarben::HintergrundSchluessel, TabFarben::HintergrundVorgabe);
  const QColor hinten = wieNotiz.trimmed().toDouble() != 0 ? seite : palette().color(QPalette::Button);
  const QColor rand = palette().color(QPalette::Mid);
  for (int nr = 1; nr <= int(Opt.size()); ++nr) {
    const auto& u = speicher().ueberblick(nr);
    const bool aktuell = nr == SkribonDiv::NotizNr;
    const QColor vorne = aktuell ? akt : u.geschuetzt ? krypt : u.leer ? leer : std;
    // The current tab takes the page's colour, so it reads as the front tab.
    const QString stil =
        QStringLiteral(
            "QToolButton { color: %1; background-color: %2; border: 1px solid %3;"
            " border-bottom: 0px; border-top-left-radius: 5px; border-top-right-radius: 5px;"
            " padding: 3px 8px 3px 8px; margin-top: 3px; }"
            "QToolButton:checked { background-color: %4; margin-top: 0px; padding-bottom: 6px; }"
            "QToolButton:hover:!checked { background-color: %5; }"
            // The tab with the keyboard focus shows it, as the style's own focus frame is gone.
            "QToolButton:focus { border: 1px dotted %1; border-bottom: 0px; text-decoration: underline; }")
            .arg(vorne.name(), hinten.name(), rand.name(), seite.name(), hinten.lighter(108).name());
    QAbstractButton* b = Opt[nr - 1];
    b->setProperty("tabFarbe", vorne);
    if (b->styleSheet() != stil) b->setStyleSheet(stil);
  }
}

// ---- Notepad and notes --------------------------------------------------------------------------

void Main::notizblockZeigen() {
  setWindowTitle(QStringLiteral("%1 - %2").arg(Z_Alles::ProgrammTitel, SkribonDiv::NotizblockName));
  tabsBeschriften();
}

void Main::Opt_Click(int nr) {
  NotizWechseln(nr);
  aktiverText()->setFocus();
}

void Main::notizZeigen(const NotizSpeicher::Notiz& n, bool lesbar, const QString& fehler) {
  const int nr = SkribonDiv::NotizNr;
  laedt_ = true;
  if (!n.schluessel.WordWrap.trimmed().isEmpty()) {
    const int index = SkribonDiv::WahrheitLesen(n.schluessel.WordWrap) ? 1 : 0;
    if (index != SkribonDiv::TextAktiv) {
      Text[SkribonDiv::TextAktiv]->clear();
      SkribonDiv::TextAktiv = index;
      textStapel_->setCurrentIndex(index);
    }
  }
  NotizEditor* t = Text[SkribonDiv::TextAktiv];
  editorEinrichten(n.schluessel);
  if (n.geschuetzt) {
    t->clear();
    t->setPlaceholderText(QStringLiteral(
        "Diese Notiz wurde von einer älteren Programmversion mit einem Kennwort verschlüsselt. "
        "Sie kann hier nicht geöffnet werden und bleibt unverändert gespeichert."));
  } else if (!lesbar) {
    t->clear();
    t->setPlaceholderText(QStringLiteral("Diese Notiz kann nicht gelesen werden:\n") + fehler);
  } else {
    t->setPlaceholderText({});
    t->textZeigen(n.text, SkribonDiv::PositionAusGespeichert(n.text, n.schluessel.CrsrPos.trimmed().toInt()));
    t->centerCursor();
  }
  for (NotizEditor* e : Text) e->setReadOnly(Z_Alles::NurLesen || kennwortNotiz());
  laedt_ = false;

  const QString header = n.schluessel.Header.trimmed();
  bezInfo->setText(header.isEmpty() ? QStringLiteral("Notiz %1").arg(nr) : header);
  bezInfo->setToolTip(bezInfo->text());
  // What was said of the note before does not hold for this one.
  warnungLoeschen();
  if (n.geschuetzt)
    warnungSetzen(QStringLiteral("Notiz %1 ist verschlüsselt und nur lesbar.").arg(nr));
  else if (!lesbar)
    warnungSetzen(QStringLiteral("Notiz %1 kann nicht gelesen werden.").arg(nr));
  else if (t->gespeicherteLaenge() > SkribonDiv::MaxZeichen)
    warnungSetzen(QStringLiteral("Notiz über 65.500 Zeichen: nimmt nichts mehr auf."), Warnung::Groesse);
  panelsAuffrischen();
}

void Main::editorEinrichten(const NotizSchluessel& s) {
  QFont f = QApplication::font();
  if (!s.FontName.trimmed().isEmpty()) f.setFamily(s.FontName.trimmed());
  const double groesse = schriftGroesse(s.FontSize);
  if (groesse > 0) f.setPointSizeF(groesse);
  else if (f.pointSizeF() < 10) f.setPointSizeF(10);
  f.setBold(SkribonDiv::WahrheitLesen(s.FontBold));
  f.setItalic(SkribonDiv::WahrheitLesen(s.FontItalic));
  QPalette p = QApplication::palette(Text[0]);
  bool ok = false;
  const quint32 vorne = Plattform::FarbZahlLesen(s.ForeColor, &ok);
  if (ok) p.setColor(QPalette::Text, Plattform::ZuQColor(vorne));
  const quint32 hinten = Plattform::FarbZahlLesen(s.BackColor, &ok);
  if (ok) p.setColor(QPalette::Base, Plattform::ZuQColor(hinten));
  // A new font lays out the whole text again: only when it differs.
  for (NotizEditor* e : Text) {
    if (e->font() != f) e->setFont(f);
    if (e->palette() != p) e->setPalette(p);
  }
}

QString Main::notizText() const { return aktiverText()->text(); }

int Main::notizPosition() const { return aktiverText()->gespeichertePosition(); }

QFont Main::notizSchrift() const { return aktiverText()->font(); }

void Main::TextAktivSetzen(int index) {
  index = index ? 1 : 0;
  if (index == SkribonDiv::TextAktiv) return;
  NotizEditor* alt = Text[SkribonDiv::TextAktiv];
  NotizEditor* neu = Text[index];
  const QTextCursor c = alt->textCursor();
  const int anker = c.anchor(), pos = c.position();
  const bool hatteFokus = alt->hasFocus();
  laedt_ = true;
  neu->setPlaceholderText(alt->placeholderText());
  neu->setPlainText(alt->text());
  QTextCursor n = neu->textCursor();
  n.setPosition(anker);
  n.setPosition(pos, QTextCursor::KeepAnchor);
  neu->setTextCursor(n);
  alt->clear();
  laedt_ = false;
  SkribonDiv::TextAktiv = index;
  textStapel_->setCurrentIndex(index);
  neu->ensureCursorVisible();
  if (hatteFokus) neu->setFocus();
  panelsAuffrischen();
}

void Main::Text_Change() {
  if (laedt_ || sender() != aktiverText()) return;
  SkribonDiv::NotizGeändert = true;
  if (warnung_ == Warnung::Voll) vollGeaendert_ = true;
}

void Main::Text_KeyDown_Einfuegen() {
  SkribonDiv::Überschreiben = !SkribonDiv::Überschreiben;
  for (NotizEditor* e : Text) e->setOverwriteMode(SkribonDiv::Überschreiben);
  panelsAuffrischen();
}

// ---- Timers -------------------------------------------------------------------------------------

void Main::Zeit_Timer() { sitzung_.zeitSichern(); }

void Main::ZeitInfo_Timer() {
  // A timer does not fire again while its last tick still runs: should a step wait in a box (a
  // message from another user), the watch checks the remote close on the side, so a copy whose
  // user is away still closes.
  if (tickLaeuft_ || endet()) return;
  tickLaeuft_ = true;
  if (!zeitInfoWache_.isActive()) zeitInfoWache_.start();
  const auto freigabe = qScopeGuard([this] {
    tickLaeuft_ = false;
    if (!sitzung_.endeLaeuft()) zeitInfoWache_.stop();
  });

  HauptfensterHaken::Ausfuehren(Punkt::ZeitInfoAnfang);
  if (endet()) return;
  datumZeitAuffrischen();
  HauptfensterHaken::Ausfuehren(Punkt::ZeitInfoNachrichten);
  if (endet()) return;
  // Size guard: a note may hold 65,500 characters. Nothing is cut; the user is told, and the
  // hint goes when the note is short enough again.
  const bool vollBleibt = warnung_ == Warnung::Voll &&
                          (!vollGeaendert_ || Plattform::Tickzaehler() - vollSeit_ < kVollZeigenMs);
  if (!vollBleibt) {
    const int laenge = aktiverText()->gespeicherteLaenge();
    if (laenge > SkribonDiv::MaxZeichen)
      warnungSetzen(QStringLiteral("Notiz über 65.500 Zeichen (%1): bitte kürzen.").arg(laenge),
                    Warnung::Groesse);
    else if (warnung_ == Warnung::Groesse || warnung_ == Warnung::Voll)
      warnungLoeschen();
  }
  panelsAuffrischen();
  HauptfensterHaken::Ausfuehren(Punkt::ZeitInfoNachPanels);
  if (endet()) return;
  HauptfensterHaken::Ausfuehren(Punkt::ZeitInfoEnde);
}

void Main::datumZeitAuffrischen() {
  const QDateTime jetzt = Plattform::Jetzt();
  panel(QStringLiteral("Datum"))->setText(Laufzeit::Format(jetzt, QStringLiteral("dd.mm.yyyy")));
  panel(QStringLiteral("Zeit"))->setText(Laufzeit::Format(jetzt, QStringLiteral("hh:nn")));
}

void Main::warnungSetzen(const QString& text, Warnung art) {
  statusSetzen(text);
  warnung_ = art;
  if (art == Warnung::Voll) {
    vollSeit_ = Plattform::Tickzaehler();
    vollGeaendert_ = false;
  }
}

void Main::warnungLoeschen() {
  if (warnung_ == Warnung::Keine) return;
  statusSetzen(QStringLiteral("Bereit"));
}

void Main::panelsAuffrischen() {
  const NotizEditor* t = aktiverText();
  const QTextCursor c = t->textCursor();
  panel(QStringLiteral("Position"))
      ->setText(QStringLiteral("Zeile %1, Spalte %2").arg(c.blockNumber() + 1).arg(c.positionInBlock() + 1));
  panel(QStringLiteral("Umbruch"))
      ->setText(SkribonDiv::TextAktiv == 1 ? QStringLiteral("Umbruch") : QStringLiteral("Kein Umbruch"));
  panel(QStringLiteral("Modus"))
      ->setText(SkribonDiv::Überschreiben ? QStringLiteral("ÜBERSCHR") : QStringLiteral("EINFG"));
  panel(QStringLiteral("Geaendert"))->setText(SkribonDiv::NotizGeändert ? QStringLiteral(" * ") : QString());
}

// ---- Exit ---------------------------------------------------------------------------------------
//
// Every way out comes through beenden(), and the note session decides what happens (see
// notizsitzung.h); the window only stops its timers and closes when it is told to.

void Main::PulEnde_Click() { beenden(false); }

void Main::sofortBeenden() {
  if (!sitzung_.sofortBeenden()) return;
  Z_SysTray::Verbergen();
  for (QWidget* w : QApplication::topLevelWidgets()) w->hide();
  QApplication::exit(0);
}

void Main::zeitgeberAnhalten() {
  Zeit.stop();
  ZeitInfo.stop();
  zeitBelegung.stop();
  // The exit may wait in a box of its own (a note that cannot be saved, another program's
  // version): a remote close must end it then as a signal does.
  if (!zeitInfoWache_.isActive()) zeitInfoWache_.start();
}

void Main::zeitgeberStarten() {
  Zeit.start();
  ZeitInfo.start();
  if (!tickLaeuft_) zeitInfoWache_.stop();
}

bool Main::platzSichern() {
  // Before the start has placed the window, its place is not the user's to keep.
  if (!startFertig_) return false;
  // Place and word wrap in one write of the settings file.
  QList<Z_Alles::IniWert> werte = Fensterplatz::Eintraege(QStringLiteral("Main"), Fensterplatz::Von(this));
  werte.append({{}, QStringLiteral("WordWrap"), QString::number(SkribonDiv::TextAktiv)});
  Z_Alles::IniSchreiben({}, werte);
  return true;
}

void Main::fensterSchliessen() {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w != this && w->isVisible()) w->close();
  if (!imCloseEvent_) close();
}

void Main::closeEvent(QCloseEvent* e) {
  if (!endet()) {
    imCloseEvent_ = true;
    beenden(false);
    imCloseEvent_ = false;
  }
  // While the exit waits in a box further down the stack the window stays.
  if (endet() && !sitzung_.endeLaeuft()) e->accept();
  else e->ignore();
}

bool Main::event(QEvent* e) {
  // Menu items carry no status tips; the empty tip Qt sends while a menu is open would hide
  // the status panels.
  if (e->type() == QEvent::StatusTip) return true;
  return QMainWindow::event(e);
}

void Main::changeEvent(QEvent* e) {
  QMainWindow::changeEvent(e);
  if (e->type() != QEvent::WindowStateChange || !(windowState() & Qt::WindowMinimized) || endet())
    return;
  const QString wert = Z_Alles::IniLesen({}, {}, TabFarben::TraySchluessel, QStringLiteral("0"));
  if (wert.trimmed().toDouble() == 0) return;
  // Without a notification area the window stays in the task bar as usual.
  if (!Z_SysTray::Zeigen(this, windowIcon(), windowTitle())) return;
  QTimer::singleShot(0, this, [this] {
    if (Z_SysTray::Sichtbar()) hide();
  });
}

void Main::showEvent(QShowEvent* e) {
  QMainWindow::showEvent(e);
  if (ersterPaint_) {
    ersterPaint_ = false;
    QTimer::singleShot(0, this, [this] {
      if (endet()) return;
      tabZeigen(SkribonDiv::NotizNr);
      aktiverText()->setFocus();
      HauptfensterHaken::Ausfuehren(Punkt::ErsterPaint);
    });
  }
}

// ---- Menus --------------------------------------------------------------------------------------

void Main::mnuPrg_Click(int index) {
  if (dienste.schwesterprogrammStarten) dienste.schwesterprogrammStarten(index);
}

void Main::mnuWeiteres_Click() { HauptfensterHaken::Ausfuehren(Punkt::MenueWeiteres); }

void Main::programmEintragVerbergen(int index) {
  if (index >= 0 && index < 4) mnuPrg[index]->setVisible(false);
}

bool Main::programmEintragSichtbar(int index) const {
  return index >= 0 && index < 4 && mnuPrg[index]->isVisible();
}

QAction* Main::befehlEintragen(const QString& menue, const QString& text, std::function<void()> aktion,
                               const QKeySequence& taste, int orte, const QString& name) {
  auto* a = new QAction(text, this);
  if (!name.isEmpty()) a->setObjectName(name);
  if (!taste.isEmpty()) {
    a->setShortcut(taste);
    a->setShortcutVisibleInContextMenu(true);
  }
  connect(a, &QAction::triggered, this, [aktion] {
    if (aktion) aktion();
  });
  if (!menue.trimmed().isEmpty()) {
    QMenu* m = nullptr;
    for (auto it = menues_.cbegin(); it != menues_.cend(); ++it)
      if (QString(it.key()).remove(QLatin1Char('&')).compare(QString(menue).remove(QLatin1Char('&')),
                                                               Qt::CaseInsensitive) == 0)
        m = it.value();
    if (!m) {
      m = menuBar()->addMenu(menue);
      menues_.insert(menue, m);
    }
    if (m == mnuDatei) {
      // "&Beenden" stays last, below its separator.
      const QList<QAction*> liste = m->actions();
      m->insertAction(liste.size() >= 2 ? liste[liste.size() - 2] : mnuBeenden, a);
    } else {
      m->addAction(a);
    }
  }
  addAction(a);  // the key works even while the menu is closed
  if (orte & ImPopup) befehlPlatzieren(mnuPopup, popupAnker_, popupBefehle_, name, a);
  if (orte & InLeiste) {
    if (a->icon().isNull()) a->setIcon(leistenSymbol(name));
    befehlPlatzieren(Symbolleiste, leisteAnker_, leisteBefehle_, name, a);
    leisteAnker_->setVisible(true);
  }
  return a;
}

void Main::befehlPlatzieren(QWidget* ziel, QAction* anker, QVector<QPair<QString, QAction*>>& liste,
                            const QString& name, QAction* befehl) {
  const QStringList& reihe = ziel == mnuPopup ? kPopupReihe : kLeisteReihe;
  // Known names keep their order whatever order they register in; others follow them.
  auto rang = [&reihe](const QString& n) {
    const qsizetype i = reihe.indexOf(n);
    return i < 0 ? reihe.size() : i;
  };
  QAction* vor = anker;
  qsizetype stelle = liste.size();
  for (qsizetype i = 0; i < liste.size(); ++i) {
    if (rang(liste[i].first) > rang(name)) {
      vor = liste[i].second;
      stelle = i;
      break;
    }
  }
  ziel->insertAction(vor, befehl);
  liste.insert(stelle, {name, befehl});
}

void Main::Text_MouseUp_Rechts(const QPoint& stelle) {
  NotizEditor* t = qobject_cast<NotizEditor*>(sender());
  if (!t) t = aktiverText();
  const bool schreibbar = !t->isReadOnly();
  const bool markiert = t->textCursor().hasSelection();
  auto setzen = [this](const char* name, bool an) {
    if (QAction* a = mnuPopup->findChild<QAction*>(QLatin1String(name))) a->setEnabled(an);
  };
  setzen("PulRueckgaengig", schreibbar && t->document()->isUndoAvailable());
  setzen("PulWiederholen", schreibbar && t->document()->isRedoAvailable());
  setzen("PulAusschneiden", schreibbar && markiert);
  setzen("PulKopieren", markiert);
  setzen("PulEinfuegen", schreibbar && t->canPaste());
  setzen("PulLoeschen", schreibbar && markiert);
  mnuPopup->popup(t->viewport()->mapToGlobal(stelle));
}

void Main::Form_KeyDown_StrgAltG() {
  NotizEditor* t = aktiverText();
  QTextCursor c = t->textCursor();
  c.movePosition(QTextCursor::StartOfBlock);
  c.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
  t->setTextCursor(c);
  if (dienste.zeileMarkiert) dienste.zeileMarkiert(c.selectedText());
}

// ---- Hauptfenster: what other windows read ------------------------------------------------------

QString Main::text() const { return SkribonDiv::ZeilenendenZuCrLf(aktiverText()->text()); }

QString Main::markierterText() const {
  QString t = aktiverText()->textCursor().selectedText();
  t.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
  t.replace(QChar::LineSeparator, QLatin1Char('\n'));
  return SkribonDiv::ZeilenendenZuCrLf(t);
}

int Main::markierungsLaenge() const { return int(markierterText().size()); }

QFont Main::schrift() const { return aktiverText()->font(); }

QString Main::notizblockName() const { return SkribonDiv::NotizblockName; }

QString Main::infoText() const { return bezInfo->text(); }

void Main::statusSetzen(const QString& text) {
  QLabel* l = panel(QStringLiteral("Status"));
  if (!l) return;
  warnung_ = Warnung::Keine;
  l->setText(text);
  l->setToolTip(text);
  if (l->isVisible()) l->repaint();
}

QString Main::statusText() const { return panel(QStringLiteral("Status"))->text(); }

QIcon Main::symbol() const { return windowIcon(); }

QRect Main::geometrie() const { return frameGeometry(); }

void Main::belegungAuffrischen() {
  if (!endet() && !zeitBelegung.isActive()) zeitBelegung.start();
}
