#include "windows/info.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <cmath>

#include "foundation/hauptfenster.h"
#include "foundation/z_alles.h"
#include "platform/dialoge.h"
#include "platform/drucker.h"
#include "platform/laufzeit.h"
#include "platform/shell.h"
#include "platform/system.h"
#include "platform/systeminfo.h"
#include "services/statistik.h"
#include "services/version.h"
#include "windows/datenordner.h"
#include "windows/fenster_intern.h"
#include "windows/hilfsfenster.h"

namespace {

constexpr int kTitelBand = 80;     // the band at the top in which the product name is painted
constexpr int kTitelRand = 60;     // what the title leaves free of the window's width
constexpr double kTitelStart = 30; // the title's design size in points
constexpr double kTitelHoechst = 36;

const QString kTab = QStringLiteral("\t");

QString bildschirmText() {
  const QScreen* s = QGuiApplication::primaryScreen();
  if (!s) return QStringLiteral("unbekannt");
  QString t = QStringLiteral("%1 x %2 Pixel, %3 Bit Farbtiefe, %4 dpi")
                  .arg(s->size().width())
                  .arg(s->size().height())
                  .arg(s->depth())
                  .arg(qRound(s->logicalDotsPerInch()));
  const qsizetype anzahl = QGuiApplication::screens().size();
  if (anzahl > 1) t += QStringLiteral(" (%1 Bildschirme)").arg(anzahl);
  return t;
}

QString schriftenText() {
  const QFont f = QGuiApplication::font();
  return QStringLiteral("%1 Schriftfamilien, Standard: %2 %3 pt")
      .arg(QFontDatabase::families().size())
      .arg(f.family())
      .arg(f.pointSizeF());
}

QString druckerText() {
  const QString standard = Plattform::DruckerVerwaltung().standard();
  if (standard.isEmpty() || standard == Plattform::PdfDruckerName)
    return QStringLiteral("kein Drucker eingerichtet (Ausdrucke als PDF-Datei)");
  return standard;
}

}  // namespace

namespace InfoZeilen {

QStringList MemoDateien(const QString& ordner, const QString& muster) {
  QStringList dateien;
  for (const QString& name : OrdnerBericht::Dateien(ordner, muster)) dateien << Z_Alles::PfadVerbinden(ordner, name);
  return dateien;
}

QStringList Erstellen() {
  using namespace Z_Alles;
  if (VersionsText.isEmpty()) VersionsNummer();
  QStringList z;
  z << QStringLiteral("Benutzername") + kTab + Benutzername();
  z << QStringLiteral("Programm-Version") + kTab + VersionsText;
  const QFileInfo exe(Plattform::ProgrammDatei());
  if (exe.isFile()) {
    const QDateTime datum = exe.lastModified();
    z << QStringLiteral("Programm vom") + kTab + datum.toString(QStringLiteral("dd.MM.yyyy")) +
             QStringLiteral(" (Alter: ") + DauerText(double(datum.secsTo(Plattform::Jetzt())), 0) +
             QStringLiteral(")");
    z << QStringLiteral("Programm-Datei") + kTab + QDir::toNativeSeparators(exe.absoluteFilePath());
  }
  const QString system = Plattform::BetriebssystemText();
  z << QStringLiteral("Betriebssystem") + kTab + (system.isEmpty() ? QStringLiteral("unbekannt") : system);
  z << QStringLiteral("Bildschirm") + kTab + bildschirmText();
  z << QStringLiteral("Schriftarten") + kTab + schriftenText();
  z << QStringLiteral("Drucker") + kTab + druckerText();
  const double laufzeit = Plattform::SystemLaufzeitSekunden();
  if (laufzeit >= 0) z << QStringLiteral("System läuft seit") + kTab + DauerText(laufzeit, 0);
  // Paths as they are: on this file system a re-capitalised path names another folder.
  z << QStringLiteral("Programm-Ordner") + kTab + ordnerPrg;
  z << QStringLiteral("Daten-Ordner") + kTab + ordnerDat;
  z << QStringLiteral("$:Einstellungen") + kTab + PfadVerbinden(ordnerSub, QStringLiteral("Dormik.ini"));
  QStringList memos;
  const QString eigene = ProgrammTitel + QStringLiteral("_Memo.*");
  for (const auto& [ordner, muster] : {std::pair{ordnerDat, eigene}, std::pair{ordnerPrg, eigene},
                                       std::pair{ordnerDat, QStringLiteral("$Memo.*")},
                                       std::pair{ordnerPrg, QStringLiteral("$Memo.*")}})
    for (const QString& d : MemoDateien(ordner, muster))
      if (!memos.contains(d)) memos << d;  // data and program folder may be one folder
  for (const QString& d : memos) z << QStringLiteral("$:") + kTab + d;
  return z;
}

}  // namespace InfoZeilen

Info::Info(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("Info"));
  setWindowTitle(QStringLiteral("Programm-Informationen"));

  CopyrightName = new QLabel(this);
  CopyrightName->setObjectName(QStringLiteral("CopyrightName"));
  CopyrightName->setAlignment(Qt::AlignCenter);
  CopyrightEmail = new QLabel(this);
  CopyrightEmail->setObjectName(QStringLiteral("CopyrightEmail"));
  CopyrightWww = new QLabel(this);
  CopyrightWww->setObjectName(QStringLiteral("CopyrightWww"));
  for (QLabel* l : {CopyrightEmail, CopyrightWww}) {
    l->setCursor(Qt::PointingHandCursor);
    QPalette p = l->palette();
    p.setColor(QPalette::WindowText, p.color(QPalette::Link));
    l->setPalette(p);
    QFont f = l->font();
    f.setUnderline(true);
    l->setFont(f);
  }
  CopyrightEmail->setToolTip(QStringLiteral("E-Mail an den Hersteller schreiben"));
  CopyrightWww->setToolTip(QStringLiteral("Homepage des Herstellers öffnen"));
  CopyrightHinweis = new QLabel(QStringLiteral("Dieses Programm ist urheberrechtlich geschützt."), this);
  CopyrightHinweis->setObjectName(QStringLiteral("CopyrightHinweis"));
  CopyrightHinweis->setAlignment(Qt::AlignCenter);

  Frame1 = new QGroupBox(this);
  Frame1->setObjectName(QStringLiteral("Frame1"));
  SysInfo = new QTreeWidget(Frame1);
  SysInfo->setObjectName(QStringLiteral("SysInfo"));
  SysInfo->setColumnCount(2);
  SysInfo->setHeaderHidden(true);
  SysInfo->setRootIsDecorated(false);
  SysInfo->setAlternatingRowColors(true);
  SysInfo->setSelectionBehavior(QAbstractItemView::SelectRows);
  SysInfo->setTextElideMode(Qt::ElideMiddle);
  SysInfo->header()->setStretchLastSection(true);
  (new QVBoxLayout(Frame1))->addWidget(SysInfo);

  befDebug = new QPushButton(QStringLiteral("Debug-Infos..."), this);
  befDebug->setObjectName(QStringLiteral("befDebug"));
  befDebug->setToolTip(QStringLiteral("Infos zum internen Ablauf des Programms - dient der Fehlersuche"));
  befAbbrechen = new QPushButton(QStringLiteral("Ok"), this);
  befAbbrechen->setObjectName(QStringLiteral("befAbbrechen"));
  befAbbrechen->setDefault(true);

  auto* adressen = new QHBoxLayout;
  adressen->addStretch(1);
  adressen->addWidget(CopyrightEmail);
  adressen->addWidget(new QLabel(QStringLiteral("·"), this));
  adressen->addWidget(CopyrightWww);
  adressen->addStretch(1);
  auto* knoepfe = new QHBoxLayout;
  knoepfe->addWidget(befDebug);
  knoepfe->addStretch(1);
  knoepfe->addWidget(befAbbrechen);
  auto* layout = new QVBoxLayout(this);
  layout->addSpacing(kTitelBand - layout->contentsMargins().top());
  layout->addWidget(CopyrightName);
  layout->addLayout(adressen);
  layout->addWidget(CopyrightHinweis);
  layout->addWidget(Frame1, 1);
  layout->addLayout(knoepfe);
  resize(600, 480);

  connect(befAbbrechen, &QPushButton::clicked, this, &Info::befAbbrechen_Click);
  connect(befDebug, &QPushButton::clicked, this, &Info::befDebug_Click);
  connect(SysInfo, &QTreeWidget::itemDoubleClicked, this, [this] { SysInfo_DblClick(); });
  installEventFilter(this);
  for (QWidget* w : findChildren<QWidget*>()) w->installEventFilter(this);
  Form_Load();
}

double Info::TitelGroesse(int fensterBreite, double titelBreiteBei30) {
  if (titelBreiteBei30 <= 0) return kTitelStart;
  return std::min(kTitelHoechst, (fensterBreite - kTitelRand) * kTitelStart / titelBreiteBei30);
}

void Info::Form_Load() {
  using namespace Z_Alles;
  if (VersionsText.isEmpty()) VersionsNummer();
  setWindowTitle(QStringLiteral("Infos über ") + ProgrammTitel + QStringLiteral(" · Version ") + VersionsText);
  Hilfsfenster::Intern::SymbolUebernehmen(this);

  QString copyright = CopyrightZeile(CopyrightText());
  const qsizetype komma = copyright.indexOf(QStringLiteral(", "));
  if (komma >= 0) copyright.replace(komma, 2, QStringLiteral("\r\n"));
  CopyrightName->setText(copyright);
  CopyrightEmail->setText(Hilfsfenster::KontaktAdresse() + QLatin1Char(' '));
  CopyrightWww->setText(QLatin1Char(' ') + Hilfsfenster::Homepage());

  SysInfo->clear();
  for (const QString& zeile : InfoZeilen::Erstellen()) {
    const qsizetype tab = zeile.indexOf(kTab);
    QString bezeichnung = zeile.left(tab), wert = tab < 0 ? QString() : zeile.mid(tab + 1);
    const bool datei = bezeichnung.startsWith(QStringLiteral("$:"));
    if (datei) bezeichnung = bezeichnung.mid(2).isEmpty() ? QStringLiteral("Memo") : bezeichnung.mid(2);
    auto* item = new QTreeWidgetItem(SysInfo, {bezeichnung, wert});
    item->setData(0, Qt::UserRole, zeile);
    item->setToolTip(1, wert);
    if (datei) {
      item->setForeground(1, palette().color(QPalette::Link));
      item->setToolTip(1, wert + QStringLiteral("\n(Doppelklick öffnet die Datei)"));
    }
  }
  // The label column at about 70 dialog units, wide enough for the longest label.
  SysInfo->resizeColumnToContents(0);
  SysInfo->setColumnWidth(0, std::max(SysInfo->columnWidth(0) + 12, fontMetrics().averageCharWidth() * 18));

  if (DateiExistiert(DebugDatei))
    befDebug->setToolTip(QStringLiteral("Debug-Infos gespeichert unter »") + QDir::toNativeSeparators(DebugDatei) +
                         QStringLiteral("«..."));
}

QStringList Info::Zeilen() const {
  QStringList z;
  for (int i = 0; i < SysInfo->topLevelItemCount(); ++i)
    z << SysInfo->topLevelItem(i)->data(0, Qt::UserRole).toString();
  return z;
}

void Info::SysInfo_DblClick() {
  const QTreeWidgetItem* item = SysInfo->currentItem();
  if (!item) return;
  QString t = item->data(0, Qt::UserRole).toString();
  if (t.startsWith(QStringLiteral("$:"))) {
    const qsizetype tab = t.indexOf(kTab);
    if (tab >= 0) t = t.mid(tab + 1);
    if (Z_Alles::DateiExistiert(t)) {
      Hilfsfenster::DokumentAnzeigen(t);
      return;
    }
  }
  Plattform::MsgBox(t.replace(kTab, QStringLiteral("\r\n")), Plattform::vbInformation, windowTitle());
}

void Info::befDebug_Click() {
  using namespace Z_Alles;
  if (DebugModus < 1) {
    DebugModus = 1;
    DebugLog(QStringLiteral("clr"));
  }
  if (!DateiExistiert(DebugDatei)) {
    Plattform::MsgBox(QDir::toNativeSeparators(DebugDatei) + QStringLiteral(" nicht gefunden."),
                      Plattform::vbCritical, QStringLiteral("Debug"));
    return;
  }
  // Says so when no program can show it.
  Hilfsfenster::DokumentAnzeigen(DebugDatei);
}

void Info::CopyrightEmail_Click() {
  if (Z_Alles::VersionsText.isEmpty()) Z_Alles::VersionsNummer();
  Hilfsfenster::MailAnHersteller(Z_Alles::ProduktName + QStringLiteral(" V") + Z_Alles::VersionsText);
}

void Info::CopyrightWww_Click() { Plattform::ShellOeffnen(Hilfsfenster::Homepage()); }

void Info::CopyrightHinweis_DblClick() {
  Plattform::MsgBox(Z_Alles::StatistikText(0), Plattform::vbInformation,
                    Z_Alles::ProgrammTitel + QStringLiteral(", Anwender-Statistik"));
}

bool Info::Form_KeyPress(QChar taste) {
  if (taste == QChar(27) || taste == QChar(13) || taste == QChar(32)) {
    befAbbrechen_Click();
    return true;
  }
  if (taste != u'@') return false;
  bool abgebrochen = false;
  const QString antwort = Plattform::InputBox(QStringLiteral("Legen Sie ein neues Format für das Hauptfenster fest."),
                                              QStringLiteral("Größe des Hauptfensters"),
                                              QStringLiteral("720x540"), &abgebrochen);
  const qsizetype x = antwort.indexOf(u'x');
  if (abgebrochen || antwort.isEmpty() || x < 0) return true;
  const double breite = Laufzeit::Val(antwort.left(x)), hoehe = Laufzeit::Val(antwort.mid(x + 1));
  if (!std::isfinite(breite) || !std::isfinite(hoehe) || breite <= 100 || hoehe <= 100) return true;
  Hauptfenster* h = Hauptfenster::Instanz();
  QWidget* haupt = h ? h->widget() : nullptr;
  if (!haupt) return true;
  // Twips as stored elsewhere: 15 a pixel across, 15.25 down.
  int w = int(std::lround(breite * 15 / Fensterplatz::TwipsJePixel));
  int hh = int(std::lround(hoehe * 15.25 / Fensterplatz::TwipsJePixel));
  QScreen* schirm = haupt->screen() ? haupt->screen() : QGuiApplication::primaryScreen();
  QRect frei = schirm ? schirm->availableGeometry() : QRect(0, 0, w, hh);
  // Never larger than the screen: a window beyond its edges cannot be moved back by the user.
  w = std::min(w, frei.width());
  hh = std::min(hh, frei.height());
  haupt->resize(w, hh);
  const QRect rahmen = haupt->frameGeometry();
  haupt->move(frei.center() - QPoint(rahmen.width() / 2, rahmen.height() / 2));
  Fensterplatz::Einpassen(haupt);  // its frame too
  befAbbrechen_Click();
  return true;
}

void Info::befAbbrechen_Click() { done(QDialog::Accepted); }

void Info::reject() { befAbbrechen_Click(); }

void Info::closeEvent(QCloseEvent* ereignis) {
  ereignis->ignore();
  befAbbrechen_Click();
}

void Info::paintEvent(QPaintEvent* ereignis) {
  QDialog::paintEvent(ereignis);
  QPainter p(this);
  p.setRenderHint(QPainter::TextAntialiasing);
  QFont f(QStringLiteral("Arial"));
  f.setBold(true);
  f.setPointSizeF(kTitelStart);
  const QString titel = Z_Alles::ProduktName;
  f.setPointSizeF(TitelGroesse(width(), QFontMetricsF(f, this).horizontalAdvance(titel)));
  p.setFont(f);
  const QFontMetricsF m(f, this);
  const double x = (width() - m.horizontalAdvance(titel)) / 2;
  const double y = (kTitelBand - m.height()) / 2 + m.ascent();
  p.setPen(QColor(0x66, 0x66, 0x66));
  p.drawText(QPointF(x, y), titel);
  p.setPen(QColor(255, 153, 51));
  p.drawText(QPointF(x - 2, y - 2), titel);
}

bool Info::eventFilter(QObject* objekt, QEvent* ereignis) {
  if (ereignis->type() == QEvent::KeyPress) {
    const QString text = static_cast<QKeyEvent*>(ereignis)->text();
    if (!text.isEmpty() && Form_KeyPress(text.at(0))) return true;
  } else if (ereignis->type() == QEvent::MouseButtonRelease) {
    if (objekt == CopyrightEmail) CopyrightEmail_Click();
    else if (objekt == CopyrightWww) CopyrightWww_Click();
  } else if (ereignis->type() == QEvent::MouseButtonDblClick && objekt == CopyrightHinweis) {
    CopyrightHinweis_DblClick();
    return true;
  }
  return QDialog::eventFilter(objekt, ereignis);
}
