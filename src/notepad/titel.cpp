#include "notepad/titel.h"

#include <QApplication>
#include <QFile>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QPointer>
#include <QScreen>
#include <QVBoxLayout>

#include <optional>

#include "foundation/dienste.h"
#include "foundation/hauptfenster.h"
#include "foundation/z_alles.h"
#include "notepad/main.h"
#include "notepad/skribondiv.h"
#include "platform/profil.h"
#include "platform/system.h"

namespace {
Titel* instanz_ = nullptr;
// From the splash until the main window shows: settings locks that cannot be taken hold up the
// start by a few seconds in all, not by seconds per settings write.
std::optional<Plattform::SperrFrist> startFrist_;

QString copyrightText() {
  if (dienste.copyrightZeile) return dienste.copyrightZeile();
  return QStringLiteral("© %1 %2").arg(SKRIBON_VERSION_MAJOR).arg(Z_Alles::Hersteller);
}

QString ordnerText() {
  return QStringLiteral("Programmordner: %1\nDatenordner: %2\nEinstellungen: %3\nTemp: %4")
      .arg(Z_Alles::ordnerPrg, Z_Alles::ordnerDat, Z_Alles::ordnerSub, Z_Alles::ordnerTmp);
}
}  // namespace

Titel::Titel(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint) {
  instanz_ = this;
  setObjectName(QStringLiteral("Titel"));
  setWindowTitle(Z_Alles::ProduktName);
  setWindowIcon(SkribonDiv::ProgrammSymbol());

  auto* rahmen = new QFrame(this);
  rahmen->setFrameShape(QFrame::Box);
  rahmen->setObjectName(QStringLiteral("TitelRahmen"));
  rahmen->setStyleSheet(QStringLiteral(
      "#TitelRahmen { background: #fbfaf4; border: 1px solid #6f7f8f; }"
      "QLabel { color: #1f2a36; background: transparent; }"));
  auto* aussen = new QVBoxLayout(this);
  aussen->setContentsMargins(0, 0, 0, 0);
  aussen->addWidget(rahmen);

  auto* zeilen = new QVBoxLayout(rahmen);
  zeilen->setContentsMargins(24, 18, 24, 14);
  zeilen->setSpacing(6);

  auto* kopf = new QHBoxLayout;
  auto* bild = new QLabel(rahmen);
  bild->setPixmap(SkribonDiv::ProgrammSymbol().pixmap(64, 64));
  kopf->addWidget(bild, 0, Qt::AlignTop);
  auto* texte = new QVBoxLayout;
  bezProdukt = new QLabel(Z_Alles::ProduktName, rahmen);
  bezProdukt->setObjectName(QStringLiteral("bezProdukt"));
  QFont gross = bezProdukt->font();
  gross.setPointSizeF(gross.pointSizeF() * 1.9);
  gross.setBold(true);
  bezProdukt->setFont(gross);
  bezVersion = new QLabel(rahmen);
  bezVersion->setObjectName(QStringLiteral("bezVersion"));
  texte->addWidget(bezProdukt);
  texte->addWidget(bezVersion);
  texte->addStretch();
  kopf->addSpacing(12);
  kopf->addLayout(texte, 1);
  zeilen->addLayout(kopf);

  bezInfo = new QLabel(rahmen);
  bezInfo->setObjectName(QStringLiteral("bezInfo"));
  bezInfo->setWordWrap(true);
  bezInfo->setMinimumHeight(bezInfo->fontMetrics().height() * 2);
  bezInfo->setTextInteractionFlags(Qt::TextSelectableByMouse);
  zeilen->addWidget(bezInfo, 1);

  bezCopyright = new QLabel(rahmen);
  bezCopyright->setObjectName(QStringLiteral("bezCopyright"));
  QFont klein = bezCopyright->font();
  klein.setPointSizeF(klein.pointSizeF() * 0.9);
  bezCopyright->setFont(klein);
  zeilen->addWidget(bezCopyright);

  Zeit.setInterval(200);
  connect(&Zeit, &QTimer::timeout, this, &Titel::Zeit_Timer);
}

Titel::~Titel() {
  if (instanz_ == this) instanz_ = nullptr;
}

Titel* Titel::Instanz() { return instanz_; }

void Titel::Form_Load() {
  startFrist_.emplace();
  // The splash reads settings and may show the folders: they are resolved first.
  if (Z_Alles::ordnerDat.isEmpty()) Z_Alles::OrdnerInit(SkribonDiv::Befehlszeile);

  bezVersion->setText(QStringLiteral("Version ") + HauptfensterHaken::Version());
  bezCopyright->setText(copyrightText());
  adjustSize();
  resize(qMax(width(), 460), qMax(height(), 200));
  if (QScreen* s = QGuiApplication::primaryScreen()) {
    const QRect frei = s->availableGeometry();
    move(frei.center() - QPoint(width() / 2, height() / 2));
  }

  const bool aus = Z_Alles::IniLesen({}, {}, QStringLiteral("TitelAus"), QStringLiteral("0")).trimmed() ==
                   QLatin1String("1");
  if (!aus || Plattform::System().strgGedrueckt()) show();
  Zeit.start();
}

void Titel::fortschritt(const QString& text) {
  if (entladen_) return;
  bezInfo->setText(text);
  if (isVisible()) bezInfo->repaint();
}

void Titel::entladen() {
  if (entladen_) return;
  entladen_ = true;
  Zeit.stop();
  hide();
  if (instanz_ == this) instanz_ = nullptr;
  deleteLater();
}

void Titel::Zeit_Timer() {
  if (entladen_) return;
  Plattform::SystemDienst& sys = Plattform::System();
  const bool strg = sys.strgGedrueckt();
  const bool alt = sys.altGedrueckt();
  const bool shift = sys.shiftGedrueckt();

  if ((strg && shift) || SkribonDiv::DebugAusBefehlszeile(SkribonDiv::Befehlszeile)) {
    Z_Alles::DebugModus = 1;
    if (!Z_Alles::DebugDatei.isEmpty()) QFile::remove(Z_Alles::DebugDatei);
  }
  if (strg && alt) {
    if (!isVisible()) show();
    bezInfo->setText(ordnerText());
    adjustSize();
    zaehler_ = 0;
    return;
  }
  if (strg && !shift) {
    if (!isVisible()) show();
    bezInfo->setText(dienste.statistikText
                         ? dienste.statistikText(2)
                         : QStringLiteral("Es liegt noch keine Nutzungsstatistik vor."));
    adjustSize();
    zaehler_ = 0;
    return;
  }

  ++zaehler_;
  if (zaehler_ == 1 && !main_) {
    // No tick while the main window loads: a message box there runs the event loop, and the
    // splash must not unload itself under this very call.
    Zeit.stop();
    QPointer<Titel> selbst(this);
    Main* m = new Main;
    main_ = m;
    m->setAttribute(Qt::WA_DeleteOnClose);
    if (Z_Alles::IniLesen({}, {}, QStringLiteral("NoWinStateSet"), QStringLiteral("0")).trimmed() !=
        QLatin1String("1"))
      m->StartZustandSetzen(windowState());
    m->Form_Load();
    if (!m->endet()) m->show();
    const QString hindernis = startFrist_ ? startFrist_->hindernis() : QString();
    startFrist_.reset();
    if (!hindernis.isEmpty()) {
      Z_Alles::DebugLog(QStringLiteral("Start ohne Dateisperre: ") + hindernis);
      if (!m->endet())
        m->statusSetzen(QStringLiteral("Einstellungen ohne Dateisperre gespeichert: ") + hindernis);
    }
    if (selbst && !entladen_) Zeit.start();
  } else if (zaehler_ >= 2) {
    entladen();
  }
}
