#include "windows/tips.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QStyle>
#include <QTime>
#include <QVBoxLayout>

#include "foundation/z_alles.h"
#include "platform/dialoge.h"
#include "platform/laufzeit.h"
#include "platform/system.h"
#include "platform/textdatei.h"
#include "windows/fenster_intern.h"
#include "windows/hilfsfenster.h"

namespace TippsDatei {

namespace {
// An entry of the history: "." and the index in at least four digits.
QString eintrag(int i) { return QLatin1Char('.') + QString::number(i).rightJustified(4, u'0'); }
}  // namespace

QStringList Lesen(const QString& pfad, QString* fehler) {
  QStringList tipps;
  const QString anzeige = QDir::toNativeSeparators(pfad);
  if (!Z_Alles::DateiExistiert(pfad)) {
    if (fehler) *fehler = QStringLiteral("Die Tipp-Datei »%1« wurde nicht gefunden.").arg(anzeige);
    return tipps;
  }
  bool gelesen = false;
  const QString text = Plattform::TextLesen(pfad, &gelesen);
  if (!gelesen) {
    if (fehler) *fehler = QStringLiteral("Die Tipp-Datei »%1« lässt sich nicht lesen.").arg(anzeige);
    return tipps;
  }
  // A NUL character left after decoding means no text file: its "lines" would be noise.
  if (text.contains(QChar(0))) {
    if (fehler) *fehler = QStringLiteral("Die Tipp-Datei »%1« ist keine Textdatei.").arg(anzeige);
    return tipps;
  }
  static const QRegularExpression zeilenende(QStringLiteral("\r\n|\r|\n"));
  for (const QString& roh : text.split(zeilenende)) {
    const QString z = roh.trimmed();
    if (z.isEmpty() || z.startsWith(u'[') || z.startsWith(u';') || z.contains(u'=')) continue;
    tipps << z;
  }
  return tipps;
}

QString Aufbereiten(const QString& tipp, const QString& url) {
  QString t = tipp.trimmed();
  if (t.isEmpty()) return t;  // no lone "." for an empty tip
  t = Z_Alles::Ersetzen(t, QStringLiteral("~"), QStringLiteral("~~"));
  t = Z_Alles::MeldungsText(t);
  t = Z_Alles::Ersetzen(t, QStringLiteral("{URL}"), url);
  if (!t.endsWith(u'.') && !t.endsWith(u'!') && !t.endsWith(u'?')) t += u'.';
  return t;
}

int Ziehen(int anzahl, const QString& verlauf) {
  for (int versuch = 1;; ++versuch) {
    const double r = Plattform::Zufall();
    const int i = int(r * ((anzahl - 1) + 0.5));
    if (versuch > 9999) return 1;
    if (i >= 1 && !verlauf.contains(eintrag(i))) return i;
  }
}

QString VerlaufMit(int i, const QString& verlauf) { return (eintrag(i) + verlauf).left(50); }

}  // namespace TippsDatei

Tips::Tips(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("Tips"));
  setWindowTitle(QStringLiteral("Willkommen"));

  // The tip sits on a white sheet with a bulb, like the tip windows users know.
  auto* blatt = new QFrame(this);
  blatt->setObjectName(QStringLiteral("Blatt"));
  blatt->setFrameShape(QFrame::StyledPanel);
  blatt->setBackgroundRole(QPalette::Base);
  blatt->setAutoFillBackground(true);
  auto* bild = new QLabel(blatt);
  bild->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(32, 32));
  bild->setAlignment(Qt::AlignTop | Qt::AlignHCenter);
  bezTip0 = new QLabel(QStringLiteral("Wussten Sie schon..."), blatt);
  bezTip0->setObjectName(QStringLiteral("bezTip0"));
  QFont fett = bezTip0->font();
  fett.setBold(true);
  fett.setPointSizeF(fett.pointSizeF() * 1.25);
  bezTip0->setFont(fett);
  bezTip0->setWordWrap(true);
  bezTip = new QLabel(QStringLiteral("Tipp"), blatt);
  bezTip->setObjectName(QStringLiteral("bezTip"));
  bezTip->setWordWrap(true);
  bezTip->setAlignment(Qt::AlignTop | Qt::AlignLeft);
  bezTip->setTextFormat(Qt::PlainText);
  bezTip->setTextInteractionFlags(Qt::TextSelectableByMouse);
  bezTip->setMinimumHeight(110);
  auto* text = new QVBoxLayout;
  text->addWidget(bezTip0);
  text->addSpacing(6);
  text->addWidget(bezTip, 1);
  auto* blattLayout = new QHBoxLayout(blatt);
  blattLayout->setContentsMargins(14, 14, 14, 14);
  blattLayout->setSpacing(14);
  blattLayout->addWidget(bild, 0, Qt::AlignTop);
  blattLayout->addLayout(text, 1);

  strgAutoTipp = new QCheckBox(QStringLiteral("&Tipps bei jedem Programm-Start anzeigen"), this);
  strgAutoTipp->setObjectName(QStringLiteral("strgAutoTipp"));
  befNext = new QPushButton(QStringLiteral("&Nächster Tipp"), this);
  befNext->setObjectName(QStringLiteral("befNext"));
  befAbbrechen = new QPushButton(QStringLiteral("&Schließen"), this);
  befAbbrechen->setObjectName(QStringLiteral("befAbbrechen"));
  befAbbrechen->setDefault(true);

  auto* unten = new QHBoxLayout;
  unten->addWidget(strgAutoTipp);
  unten->addStretch(1);
  unten->addWidget(befNext);
  unten->addWidget(befAbbrechen);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(blatt, 1);
  layout->addLayout(unten);
  resize(520, 250);

  // Setting the box from code stores it too, as a click does.
  connect(strgAutoTipp, &QCheckBox::toggled, this, &Tips::strgAutoTipp_Click);
  connect(befNext, &QPushButton::clicked, this, &Tips::befNext_Click);
  connect(befAbbrechen, &QPushButton::clicked, this, &Tips::befAbbrechen_Click);
  Form_Load();
}

void Tips::Form_Load() {
  Datei = Z_Alles::PfadVerbinden(Z_Alles::ordnerPrg, QStringLiteral("Tipps.Bot"));
  fehler_.clear();
  lstTipps = TippsDatei::Lesen(Datei, &fehler_);
  strgAutoTipp->setChecked(Hilfsfenster::Intern::FlagGesetzt(QStringLiteral("AutoTip"), QStringLiteral("1")));
  Hilfsfenster::Intern::SymbolUebernehmen(this);
  befNext_Click();
}

void Tips::befNext_Click() {
  if (lstTipps.isEmpty()) {
    KeineTippsAnzeigen();
    return;
  }
  Plattform::Sanduhr sanduhr;
  QString h = Z_Alles::IniLesen({}, {}, QStringLiteral("TippsZuletzt"), QStringLiteral(".0000"));
  bezTip0->setText(Z_Alles::IniLesen(Datei, QStringLiteral("Infos"), QStringLiteral("Frage"),
                                     QStringLiteral("???")));
  setWindowTitle(Z_Alles::Ersetzen(
      Z_Alles::IniLesen(Datei, QStringLiteral("Infos"), QStringLiteral("Header"), QStringLiteral("Willkommen")),
      QStringLiteral("{Major}"), QString::number(SKRIBON_VERSION_MAJOR).rightJustified(2, u'0')));

  Plattform::System().zufallStart(quint32(QTime(0, 0).secsTo(Plattform::Jetzt().time())));
  const int i = TippsDatei::Ziehen(int(lstTipps.size()), h);
  h = TippsDatei::VerlaufMit(i, h);
  Z_Alles::IniSchreiben({}, {}, QStringLiteral("TippsZuletzt"), h);

  const QString t = i < lstTipps.size() ? lstTipps[i].trimmed() : QString();
  bezTip->setText(TippsDatei::Aufbereiten(t, Hilfsfenster::Homepage()));
}

void Tips::strgAutoTipp_Click() {
  Z_Alles::IniSchreiben({}, {}, QStringLiteral("AutoTip"), Hilfsfenster::Intern::FlagText(strgAutoTipp->isChecked()));
}

void Tips::befAbbrechen_Click() { done(QDialog::Accepted); }

void Tips::KeineTippsAnzeigen() {
  bezTip0->setText(QStringLiteral("Keine Tipps gefunden!"));
  // Why not, where the file says so (missing, no text); otherwise the label stays empty.
  bezTip->setText(fehler_);
  befNext->setEnabled(false);
  strgAutoTipp->setChecked(false);
}

void Tips::reject() { befAbbrechen_Click(); }

void Tips::closeEvent(QCloseEvent* ereignis) {
  ereignis->ignore();
  befAbbrechen_Click();
}
