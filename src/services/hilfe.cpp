// The help window and the help procedures.
#include "services/hilfe.h"

#include <QAction>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeySequence>
#include <QListWidget>
#include <QScreen>
#include <QSplitter>
#include <QStyle>
#include <QTextBrowser>
#include <QToolBar>
#include <QUrl>

#include "foundation/hauptfenster.h"
#include "foundation/z_alles.h"
#include "platform/dialoge.h"
#include "platform/shell.h"

// Resources of a static library are registered by hand, outside every namespace.
static void hilfeSeitenLaden() { Q_INIT_RESOURCE(hilfe); }

namespace {
const QString kWurzel = QStringLiteral("qrc:/hilfe/");
const QString kStart = QStringLiteral("index.html");
}  // namespace

QPointer<HilfeFenster> HilfeFenster::instanz_;

const QList<HilfeFenster::Thema>& HilfeFenster::Themen() {
  static const QList<Thema> themen = {
      {6001, kStart, QStringLiteral("Skribon im Überblick")},
      {1003, QStringLiteral("farben.html"), QStringLiteral("Farben der Notiz-Auswahlfelder")},
      {3005, QStringLiteral("drucker.html"), QStringLiteral("Drucken und Druckerauswahl")},
      {3004, QStringLiteral("mehrbenutzer.html"), QStringLiteral("Mehrere Benutzer, ein Daten-Ordner")},
      {7000, QStringLiteral("ordner.html"), QStringLiteral("Die Ordner des Programms")},
  };
  return themen;
}

QString HilfeFenster::SeiteFuer(int kontext) {
  for (const Thema& t : Themen())
    if (t.kontext == kontext) return t.datei;
  return kStart;
}

HilfeFenster::HilfeFenster(QWidget* parent) : QMainWindow(parent, Qt::Window) {
  hilfeSeitenLaden();
  setObjectName(QStringLiteral("HilfeFenster"));
  setAttribute(Qt::WA_DeleteOnClose, false);
  setWindowTitle(Z_Alles::ProgrammTitel + QStringLiteral(" - Hilfe"));
  if (Hauptfenster* h = Hauptfenster::Instanz()) setWindowIcon(h->symbol());

  lstInhalt = new QListWidget;
  lstInhalt->setObjectName(QStringLiteral("lstInhalt"));
  for (const Thema& t : Themen()) {
    auto* eintrag = new QListWidgetItem(style()->standardIcon(QStyle::SP_FileIcon), t.titel, lstInhalt);
    eintrag->setData(Qt::UserRole, t.datei);
  }
  lstInhalt->setMinimumWidth(lstInhalt->sizeHintForColumn(0) + 24);

  txtHilfe = new QTextBrowser;
  txtHilfe->setObjectName(QStringLiteral("txtHilfe"));
  // Pages of the help are followed here; addresses outside it go to the desktop.
  txtHilfe->setOpenLinks(false);
  txtHilfe->document()->setDefaultStyleSheet(QStringLiteral(
      "h1 { font-size: x-large; margin-bottom: 8px; }"
      "h2 { font-size: large; margin-top: 14px; }"
      "p, li { margin-top: 3px; margin-bottom: 3px; }"
      "code, .taste { font-family: monospace; }"
      "table.tasten td { padding: 2px 12px 2px 0px; vertical-align: top; }"));
  txtHilfe->document()->setDocumentMargin(14);

  auto* teiler = new QSplitter;
  teiler->addWidget(lstInhalt);
  teiler->addWidget(txtHilfe);
  teiler->setStretchFactor(1, 1);
  teiler->setChildrenCollapsible(false);
  setCentralWidget(teiler);
  teiler->setSizes({lstInhalt->minimumWidth(), 1000});

  auto* leiste = addToolBar(QStringLiteral("Navigation"));
  leiste->setObjectName(QStringLiteral("leiste"));
  leiste->setMovable(false);
  leiste->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
  befZurueck = leiste->addAction(style()->standardIcon(QStyle::SP_ArrowBack), QStringLiteral("&Zurück"));
  befZurueck->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Left));
  befVor = leiste->addAction(style()->standardIcon(QStyle::SP_ArrowForward), QStringLiteral("&Vorwärts"));
  befVor->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Right));
  befStart = leiste->addAction(style()->standardIcon(QStyle::SP_DirHomeIcon), QStringLiteral("&Inhalt"));
  befStart->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Home));
  leiste->addSeparator();
  befSchliessen = leiste->addAction(style()->standardIcon(QStyle::SP_DialogCloseButton),
                                    QStringLiteral("&Schließen"));
  befSchliessen->setShortcut(QKeySequence(Qt::Key_Escape));
  befZurueck->setEnabled(false);
  befVor->setEnabled(false);

  connect(befZurueck, &QAction::triggered, txtHilfe, &QTextBrowser::backward);
  connect(befVor, &QAction::triggered, txtHilfe, &QTextBrowser::forward);
  connect(befStart, &QAction::triggered, this, [this] { ThemaZeigen(0); });
  connect(befSchliessen, &QAction::triggered, this, &QWidget::close);
  connect(txtHilfe, &QTextBrowser::backwardAvailable, befZurueck, &QAction::setEnabled);
  connect(txtHilfe, &QTextBrowser::forwardAvailable, befVor, &QAction::setEnabled);
  connect(txtHilfe, &QTextBrowser::anchorClicked, this, &HilfeFenster::txtHilfe_AnchorClicked);
  connect(txtHilfe, &QTextBrowser::sourceChanged, this, &HilfeFenster::txtHilfe_SourceChanged);
  connect(lstInhalt, &QListWidget::itemClicked, this, &HilfeFenster::lstInhalt_Click);
  connect(lstInhalt, &QListWidget::itemActivated, this, &HilfeFenster::lstInhalt_Click);

  resize(860, 600);
}

HilfeFenster* HilfeFenster::Instanz() { return instanz_.data(); }

HilfeFenster* HilfeFenster::Zeigen(int kontext) {
  const bool neu = !instanz_;
  if (neu) {
    Hauptfenster* h = Hauptfenster::Instanz();
    instanz_ = new HilfeFenster(h ? h->widget() : nullptr);
  }
  HilfeFenster* f = instanz_.data();
  f->ThemaZeigen(kontext);
  if (neu) {
    // Beside the main window's centre (else the screen's), moved and shrunk into the screen.
    Hauptfenster* h = Hauptfenster::Instanz();
    const QRect bezug = h ? h->geometrie() : QRect();
    QScreen* schirm = QGuiApplication::primaryScreen();
    const QPoint mitte = bezug.isValid() ? bezug.center() + QPoint(40, 40)
                         : schirm        ? schirm->availableGeometry().center()
                                         : QPoint();
    f->move(mitte - QPoint(f->width() / 2, f->height() / 2));
    Fensterplatz::Einpassen(f);
  }
  if (f->isMinimized()) f->showNormal();
  else f->show();
  f->raise();
  f->activateWindow();
  return f;
}

void HilfeFenster::Schliessen() {
  if (!instanz_) return;
  HilfeFenster* f = instanz_.data();
  instanz_.clear();
  f->close();
  f->deleteLater();
}

void HilfeFenster::ThemaZeigen(int kontext) {
  txtHilfe->setSource(QUrl(kWurzel + SeiteFuer(kontext)));
}

QString HilfeFenster::seite() const { return txtHilfe->source().fileName(); }

void HilfeFenster::lstInhalt_Click() {
  if (QListWidgetItem* e = lstInhalt->currentItem()) {
    const QUrl ziel(kWurzel + e->data(Qt::UserRole).toString());
    if (txtHilfe->source() != ziel) txtHilfe->setSource(ziel);
  }
}

void HilfeFenster::txtHilfe_AnchorClicked(const QUrl& ziel) {
  const QUrl absolut = txtHilfe->source().resolved(ziel);
  if (absolut.scheme() == QLatin1String("qrc")) {
    txtHilfe->setSource(absolut);
    return;
  }
  Plattform::ShellOeffnen(ziel.toString());
}

void HilfeFenster::txtHilfe_SourceChanged(const QUrl& quelle) {
  const QString datei = quelle.fileName();
  const QString titel = txtHilfe->documentTitle();
  setWindowTitle(Z_Alles::ProgrammTitel + QStringLiteral(" - Hilfe") +
                 (titel.isEmpty() ? QString() : QStringLiteral(": ") + titel));
  const QSignalBlocker sperre(lstInhalt);
  for (int i = 0; i < lstInhalt->count(); ++i)
    if (lstInhalt->item(i)->data(Qt::UserRole).toString() == datei) {
      lstInhalt->setCurrentRow(i);
      return;
    }
  lstInhalt->clearSelection();
}

namespace Z_Alles {

namespace {

// The program's own help file, by the name the main window registers.
bool eigeneHilfe(const QString& datei) {
  return datei.trimmed().isEmpty() ||
         QFileInfo(datei.trimmed()).fileName().compare(QStringLiteral("Skribon.chm"), Qt::CaseInsensitive) == 0;
}

}  // namespace

void HilfeZeigen(int kontext, const QString& hilfeDatei) {
  if (kontext == -1) {
    HilfeFenster::Schliessen();
    return;
  }
  if (kontext < -1) return;
  if (eigeneHilfe(hilfeDatei)) {
    HilfeFenster::Zeigen(kontext);
    return;
  }
  const QString art = hilfeDatei.trimmed().right(4).toLower();
  if (art != QLatin1String(".chm") && art != QLatin1String(".hlp")) return;
  if (!DateiExistiert(hilfeDatei.trimmed())) {
    Plattform::MsgBox(QStringLiteral("Kann die Hilfe »") + hilfeDatei + QStringLiteral("« nicht finden."),
                      Plattform::vbExclamation, ProgrammTitel);
    return;
  }
  if (!Plattform::ShellOeffnen(hilfeDatei.trimmed()))
    Plattform::MsgBox(QStringLiteral("Die Hilfe »") + hilfeDatei +
                          QStringLiteral("« kann auf diesem System nicht angezeigt werden: für "
                                         "diese Art von Hilfedatei ist kein Programm eingerichtet."),
                      Plattform::vbExclamation, ProgrammTitel);
}

void HilfeThemaZeigen() { HilfeZeigen(6001); }

}  // namespace Z_Alles
