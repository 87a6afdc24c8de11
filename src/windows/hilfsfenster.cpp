#include "windows/hilfsfenster.h"

#include <QKeySequence>
#include <QPointer>
#include <QTabWidget>
#include <QTimer>

#include "foundation/dienste.h"
#include "foundation/hauptfenster.h"
#include "foundation/z_alles.h"
#include "services/links.h"
#include "services/mail.h"
#include "services/z_dos.h"
#include "windows/datenordner.h"
#include "windows/fenster_intern.h"
#include "windows/info.h"
#include "windows/setup.h"
#include "windows/tips.h"


namespace Hilfsfenster {

namespace {

// The about box is loaded once and keeps its content for the run.
QPointer<Info> info_;

QWidget* hauptWidget() {
  Hauptfenster* h = Hauptfenster::Instanz();
  return h ? h->widget() : nullptr;
}

}  // namespace

QString Homepage() { return Z_V_Allgemein::WebAdresse; }
QString KontaktAdresse() { return Z_V_Allgemein::KontaktAdresse; }

void MailAnHersteller(const QString& betreff) { Z_Alles::Mailer(KontaktAdresse(), betreff, QString()); }
void DokumentAnzeigen(const QString& datei) { Z_Alles::DokumentÖffnen(datei); }
void DateiBearbeiten(const QString& datei) { Z_DOS::TextEditorStarten(datei); }
void OrdnerAnzeigen(const QString& ordner) { Z_DOS::OrdnerZeigen(ordner); }

void mnuDatenOrdner_Click() {
  if (Hauptfenster* h = Hauptfenster::Instanz()) h->notizSichern();
  Intern::ModalZeigen<DatenOrdner>(hauptWidget());  // hidden by its own commands, unloaded here
}

void InfoZeigen(QWidget* besitzer) {
  if (!info_) info_ = new Info(hauptWidget());
  // Centred over whoever asked (the main window or the calculator).
  if (besitzer && besitzer->isVisible()) {
    const QRect r = besitzer->frameGeometry();
    info_->move(r.center() - QPoint(info_->width() / 2, info_->height() / 2));
  }
  info_->exec();
}

void PulInfo_Click() { InfoZeigen(hauptWidget()); }

void mnuSetup_Click() {
  Intern::ModalZeigen<Setup>(hauptWidget(), [](Setup& fenster) { fenster.SSTab1->setCurrentIndex(1); });
  if (Hauptfenster* h = Hauptfenster::Instanz()) h->belegungAuffrischen();
}

void mnuTips_Click() {
  Intern::ModalZeigen<Tips>(hauptWidget());  // hidden by its own commands, unloaded here
}

void TippsBeimStart() {
  if (!Intern::FlagGesetzt(QStringLiteral("AutoTip"), QStringLiteral("1"))) return;
  if (Z_Alles::IniLesen({}, {}, QStringLiteral("Stat_Starts"), QStringLiteral("0")).trimmed().toDouble() <= 5)
    return;
  mnuTips_Click();
}

// Later, from the event loop: the box may still be open further down the stack.
void Entladen() {
  if (!info_) return;
  info_->hide();
  info_->deleteLater();
}

void Registrieren() {
  using HauptfensterHaken::Punkt;
  HauptfensterHaken::MitHauptfenster([](Hauptfenster& h) {
    h.befehlEintragen(QStringLiteral("&Weiteres"), QStringLiteral("&Daten-Ordner..."), &mnuDatenOrdner_Click, {},
                      Hauptfenster::NurMenue, QStringLiteral("mnuDatenOrdner"));
    h.befehlEintragen(QStringLiteral("&Weiteres"), QStringLiteral("&Einstellungen..."), &mnuSetup_Click, {},
                      Hauptfenster::NurMenue, QStringLiteral("mnuSetup"));
    h.befehlEintragen(QStringLiteral("&Hilfe"), QStringLiteral("&Tipps..."), &mnuTips_Click, {},
                      Hauptfenster::NurMenue, QStringLiteral("mnuTips"));
    h.befehlEintragen(QStringLiteral("&Hilfe"), QStringLiteral("&Info..."), &PulInfo_Click, {},
                      Hauptfenster::ImPopup | Hauptfenster::InLeiste, QStringLiteral("PulInfo"));
  });
  // Not from inside the first paint: once the event loop has shown the window.
  HauptfensterHaken::Eintragen(Punkt::ErsterPaint, [] {
    QTimer::singleShot(0, [] {
      Hauptfenster* h = Hauptfenster::Instanz();
      if (h && !h->endet()) TippsBeimStart();
    });
  });
  HauptfensterHaken::Eintragen(Punkt::EndeEntladen, &Entladen);
  dienste.infoZeigen = &InfoZeigen;
}

}  // namespace Hilfsfenster
