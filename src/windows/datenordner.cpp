#include "windows/datenordner.h"

#include <QClipboard>
#include <QCloseEvent>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTime>
#include <QTimer>
#include <QVBoxLayout>

#include "foundation/dienste.h"
#include "foundation/hauptfenster.h"
#include "foundation/z_alles.h"
#include "foundation/z_listjobs.h"
#include "platform/dialoge.h"
#include "platform/drucker.h"
#include "platform/laufzeit.h"
#include "platform/system.h"
#include "platform/textdatei.h"
#include "printing/z_textandrucker.h"
#include "services/diagnose.h"
#include "services/hilfe.h"
#include "services/neustart.h"
#include "services/version.h"
#include "windows/fenster_intern.h"
#include "windows/hilfsfenster.h"

namespace {

const QString kAllgemein = QStringLiteral("Allgemein");
const QString kSchreibtest = QStringLiteral("Schreibtest");
const QString kDatenMuster = QStringLiteral("*.inf;*.t??");  // notepad descriptions and notes
const QString kTitel = QStringLiteral("Daten-Ordner");
const QString kCrLf = QStringLiteral("\r\n");

double sekundenSeitMitternacht() { return double(QTime(0, 0).secsTo(Plattform::Jetzt().time())); }

QString striche(int n) { return QString(n, u'-'); }

QString desktopOrdnerWahl(QWidget* besitzer, const QString& titel) {
  // Not QFileDialog::getExistingDirectory: that keeps the dialog on the stack with an owner.
  QPointer<QFileDialog> d = new QFileDialog(besitzer, titel);
  d->setFileMode(QFileDialog::Directory);
  d->setOption(QFileDialog::ShowDirsOnly);
  const bool ok = d->exec() == QDialog::Accepted;  // Rejected when it went with its owner
  const QStringList gewaehlt = ok ? d->selectedFiles() : QStringList();
  delete d;
  return gewaehlt.value(0);
}

QStringList listenEintraege(const QListWidget* liste) {
  QStringList l;
  for (int i = 0; i < liste->count(); ++i) l << liste->item(i)->text();
  return l;
}

}  // namespace

namespace OrdnerBericht {

QString Text(const QString& kopf, const Abschnitt abschnitte[3], const QString& herkunft,
             const QString& diagnose) {
  QString t = QString(kopf).replace(kCrLf, QStringLiteral(" ")) + QStringLiteral("~~~");
  for (int i : {1, 2, 0}) {
    const Abschnitt& a = abschnitte[i];
    t += QStringLiteral("--- ") + (a.rahmen.trimmed() + QLatin1Char(' ') + striche(80)).left(80) +
         QStringLiteral("~~");
    t += a.info + QStringLiteral("~~");
    t += a.pfad + QStringLiteral("~~");
    if (!a.fehler.isEmpty()) t += a.fehler + QStringLiteral("~~");
    if (a.listeSichtbar) {
      t += QStringLiteral("Folgende Dateien gefunden:~~");
      for (const QString& d : a.dateien) t += d + QStringLiteral("; ");
      t = Z_String::RTrimZeichen(t, QStringLiteral("; "));
    }
    t += QStringLiteral("~~~");
  }
  t += QStringLiteral("--- Sonstiges ") + striche(80) + QStringLiteral("~~") + herkunft;
  t += QStringLiteral("~~~--- ") + (QStringLiteral("Debug ") + striche(80)).left(80) + QStringLiteral("~~") +
       diagnose + QStringLiteral("~~");
  return Z_Alles::MeldungsText(t);
}

QStringList Dateien(const QString& ordner, const QString& muster, bool* ok) {
  const QFileInfo info(ordner);
  const bool lesbar = !ordner.isEmpty() && info.isDir() && info.isReadable();
  if (ok) *ok = lesbar;
  if (!lesbar) return {};
  QStringList filter;
  for (const QString& m : muster.split(u';', Qt::SkipEmptyParts))
    filter << (m.trimmed() == QStringLiteral("*.*") ? QStringLiteral("*") : m.trimmed());
  // Without QDir::CaseSensitive the patterns match in any case: files copied from Windows
  // often carry upper-case names (DORMIK.INI, NOTIZEN.T01).
  return QDir(ordner).entryList(filter, QDir::Files, QDir::Name | QDir::IgnoreCase);
}

bool DateiSchreibtest(const QString& datei) {
  QString wert = Laufzeit::Format(sekundenSeitMitternacht(), QStringLiteral("0"));
  // A fresh value: a write that failed must not read back an equal one left from before.
  if (Z_Alles::IniLesen(datei, kAllgemein, kSchreibtest, QStringLiteral("?")) == wert)
    wert = Laufzeit::Format(sekundenSeitMitternacht() + 1, QStringLiteral("0"));
  Z_Alles::IniSchreiben(datei, kAllgemein, kSchreibtest, wert);
  return Z_Alles::IniLesen(datei, kAllgemein, kSchreibtest, QStringLiteral("?")) == wert;
}

}  // namespace OrdnerBericht

DatenOrdner::DatenOrdner(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("DatenOrdner"));

  static const char* const rahmen[3] = {"Einstellungs-Datei", "Programm-Ordner", "Daten-Ordner"};
  static const char* const infos[3] = {"In dieser Datei werden wesentliche Einstellungen abgelegt:",
                                       "Das Programm ist installiert im Ordner:",
                                       "Das Programm liest und schreibt Daten im Ordner:"};
  static const char* const knoepfe[3] = {"Einstellungs-Datei anzeigen...", "Folgende Dateien gefunden...",
                                         "Folgende Daten-Dateien gefunden..."};
  static const char* const tipps[3] = {"Einstellungs-Datei anzeigen...", "Programm-Ordner anzeigen...",
                                       "Daten-Ordner anzeigen..."};

  auto* leiste = new QMenuBar(this);
  QMenu* bericht = leiste->addMenu(QStringLiteral("&Bericht"));
  mnuBericht[0] = bericht->addAction(QStringLiteral("&Kopieren"));
  mnuBericht[0]->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_C));
  mnuBericht[1] = bericht->addAction(QStringLiteral("&Drucken"));
  mnuBericht[1]->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
  bericht->addSeparator();
  mnuZurück = bericht->addAction(QStringLiteral("&Zurück"));
  mnuZurück->setShortcut(QKeySequence(Qt::Key_F12));
  QMenu* hilfe = leiste->addMenu(QStringLiteral("&Hilfe"));
  mnuHilfe = hilfe->addAction(QStringLiteral("&Hilfe..."));
  mnuHilfe->setShortcut(QKeySequence(Qt::Key_F1));
  for (int i = 0; i < 2; ++i) connect(mnuBericht[i], &QAction::triggered, this, [this, i] { mnuBericht_Click(i); });
  connect(mnuZurück, &QAction::triggered, this, &DatenOrdner::mnuZurück_Click);
  connect(mnuHilfe, &QAction::triggered, this, &DatenOrdner::mnuHilfe_Click);

  Label1 = new QLabel(QStringLiteral("Die folgende Übersicht zeigt, in welchem Order Daten abgelegt werden, das "
                                     "Programm installiert ist und Einstellungen gespeichert werden."),
                      this);
  Label1->setObjectName(QStringLiteral("Label1"));
  Label1->setWordWrap(true);

  auto* layout = new QVBoxLayout(this);
  layout->setMenuBar(leiste);
  layout->addWidget(Label1);
  for (int i = 0; i < 3; ++i) {
    Frame1[i] = new QGroupBox(QString::fromUtf8(rahmen[i]), this);
    Frame1[i]->setObjectName(QStringLiteral("Frame1_%1").arg(i));
    bezInfo[i] = new QLabel(QString::fromUtf8(infos[i]), Frame1[i]);
    bezInfo[i]->setObjectName(QStringLiteral("bezInfo%1").arg(i));
    bezInfo[i]->setWordWrap(true);
    bezDo[i] = new QLabel(QStringLiteral("---"), Frame1[i]);
    bezDo[i]->setObjectName(QStringLiteral("bezDo%1").arg(i));
    QFont fett = bezDo[i]->font();
    fett.setBold(true);
    bezDo[i]->setFont(fett);
    bezDo[i]->setTextFormat(Qt::PlainText);
    bezDo[i]->setWordWrap(true);
    bezError[i] = new QLabel(QStringLiteral("Error"), Frame1[i]);
    bezError[i]->setObjectName(QStringLiteral("bezError%1").arg(i));
    QPalette rot = bezError[i]->palette();
    rot.setColor(QPalette::WindowText, QColor(0xC0, 0, 0));
    bezError[i]->setPalette(rot);
    bezError[i]->setFont(fett);
    befDo[i] = new QPushButton(QString::fromUtf8(knoepfe[i]), Frame1[i]);
    befDo[i]->setObjectName(QStringLiteral("befDo%1").arg(i));
    befDo[i]->setToolTip(QString::fromUtf8(tipps[i]));
    lstDo[i] = new QListWidget(Frame1[i]);
    lstDo[i]->setObjectName(QStringLiteral("lstDo%1").arg(i));
    lstDo[i]->setSelectionMode(QAbstractItemView::MultiSelection);
    lstDo[i]->setFlow(QListView::TopToBottom);
    lstDo[i]->setWrapping(true);
    lstDo[i]->setResizeMode(QListView::Adjust);
    lstDo[i]->setFixedHeight(i == 1 ? 78 : 96);
    auto* g = new QGridLayout(Frame1[i]);
    g->addWidget(bezInfo[i], 0, 0, 1, 2);
    g->addWidget(bezDo[i], 1, 0, 1, 2);
    g->addWidget(bezError[i], 2, 0, 1, 2);
    g->addWidget(befDo[i], 3, 0, Qt::AlignTop);
    g->addWidget(lstDo[i], 3, 1);
    g->setColumnStretch(1, 1);
    layout->addWidget(Frame1[i]);
    connect(befDo[i], &QPushButton::clicked, this, [this, i] { befDo_Click(i); });
    bezDo[i]->installEventFilter(this);
    bezInfo[i]->installEventFilter(this);
  }
  // The settings folder's files are read all the same, but not shown.
  lstDo[0]->setVisible(false);

  befDatenOrdnerVerlegen = new QPushButton(QStringLiteral("Daten-Ordner-Zeiger verlegen..."), this);
  befDatenOrdnerVerlegen->setObjectName(QStringLiteral("befDatenOrdnerVerlegen"));
  befOk = new QPushButton(QStringLiteral("&Ok"), this);
  befOk->setObjectName(QStringLiteral("befOk"));
  befOk->setDefault(true);
  connect(befDatenOrdnerVerlegen, &QPushButton::clicked, this, &DatenOrdner::befDatenOrdnerVerlegen_Click);
  connect(befOk, &QPushButton::clicked, this, &DatenOrdner::befOk_Click);
  auto* unten = new QHBoxLayout;
  unten->addWidget(befDatenOrdnerVerlegen);
  unten->addStretch(1);
  unten->addWidget(befOk);
  layout->addStretch(1);
  layout->addLayout(unten);

  TimerReadData = new QTimer(this);
  TimerReadData->setObjectName(QStringLiteral("TimerReadData"));
  TimerReadData->setSingleShot(true);
  TimerReadData->setInterval(333);
  connect(TimerReadData, &QTimer::timeout, this, &DatenOrdner::TimerReadData_Timer);
  resize(660, 560);
  Form_Load();
}

void DatenOrdner::Form_Load() {
  Hilfsfenster::Intern::SymbolUebernehmen(this);
  setWindowTitle(Z_Alles::ProduktName + QStringLiteral(" - Ordner"));
  if (const QScreen* s = QGuiApplication::primaryScreen()) {
    const QRect frei = s->availableGeometry();
    move(frei.center() - QPoint(width() / 2, height() / 2));
  }
  for (QLabel* l : bezError) {
    l->clear();
    l->setVisible(false);
  }
  if (!TimerReadData->isActive()) TimerReadData->start();
}

void DatenOrdner::TimerReadData_Timer() {
  using namespace Z_Alles;
  TimerReadData->stop();
  Plattform::Sanduhr sanduhr;
  if (VersionsText.isEmpty()) VersionsNummer();
  Label1->setText(QStringLiteral("Das Programm ") + ProduktName + QStringLiteral(" in der Version ") +
                  VersionsText + kCrLf + QStringLiteral("erwartet Dateien in den folgenden Ordnern..."));
  auto fuellen = [](QListWidget* liste, const QStringList& dateien) {
    liste->clear();
    liste->addItems(dateien);
  };

  // Settings file.
  bezDo[0]->setText(PfadVerbinden(ordnerSub, QStringLiteral("Dormik.ini")));
  fuellen(lstDo[0], OrdnerBericht::Dateien(ordnerSub, QStringLiteral("*.*")));
  if (!OrdnerBericht::DateiSchreibtest(IniDateiPfad(QString())))
    bezError[0]->setText(QStringLiteral("Keine Schreibrechte in dieser Datei !!!"));

  // Program folder.
  const QString prg = IniLesen({}, {}, QStringLiteral("OrdnerPrg"), QString());
  bezDo[1]->setText(prg);
  const QString programmDatei = Plattform::ProgrammName();
  QString info = QStringLiteral("In diesem Ordner befindet sich u. a. die Programm-Datei »") + programmDatei +
                 QStringLiteral("«:");
  if (prg.isEmpty() || !QFileInfo(PfadVerbinden(prg, programmDatei)).isFile())
    info += QStringLiteral(" (Datei nicht gefunden!)");
  bezInfo[1]->setText(info);
  fuellen(lstDo[1], OrdnerBericht::Dateien(prg, QStringLiteral("*.*")));
  Z_ListJobs::ListSelectMatching(lstDo[1], programmDatei, true);
  if (!Z_Alles::OrdnerSchreibtest(prg)) bezError[1]->setText(QStringLiteral("Keine Schreibrechte im Ordner."));

  // Data folder.
  befDo[2]->setText(QStringLiteral("Folgende Dateien gefunden..."));
  bezInfo[2]->setText(QStringLiteral("Das Programm ") + ProduktName +
                      QStringLiteral(" liest und schreibt Daten in diesem Ordner:"));
  const QString dat = ordnerDat.isEmpty() ? QStringLiteral("???") : ordnerDat;
  fuellen(lstDo[2], ordnerDat.isEmpty() ? QStringList() : OrdnerBericht::Dateien(ordnerDat, kDatenMuster));
  bezDo[2]->setText(dat);
  if (!Z_Alles::OrdnerSchreibtest(ordnerDat))
    bezError[2]->setText(QStringLiteral("Keine Schreibrechte im Daten-Ordner !!!"));

  for (QLabel* l : bezDo) l->setToolTip(l->text());
  // A passed test leaves no empty line in the section.
  for (QLabel* l : bezError) l->setVisible(!l->text().isEmpty());
  if (DebugModus == 1) debugAbschnitte();
}

void DatenOrdner::debugAbschnitte() {
  // Like every other log write: nothing in a read-only run.
  if (Z_Alles::NurLesen || Z_Alles::DebugDatei.isEmpty()) return;
  QString t = kCrLf;
  for (int i = 0; i < 3; ++i) {
    t += QStringLiteral("*** Daten-Ordner // ") + Frame1[i]->title().trimmed() + QStringLiteral(" ***") + kCrLf;
    t += bezInfo[i]->text() + kCrLf + bezDo[i]->text() + kCrLf;
    if (lstDo[i]->count() > 0) t += Z_ListJobs::ListJoin(lstDo[i], QStringLiteral("|")) + kCrLf;
    t += kCrLf;
  }
  if (!Plattform::TextAnhaengen(Z_Alles::DebugDatei, t))
    qWarning("Debug-Datei nicht beschreibbar: %s", qPrintable(Z_Alles::DebugDatei));
}

void DatenOrdner::befDo_Click(int index) {
  if (index < 0 || index > 2) return;
  Plattform::Sanduhr sanduhr;
  if (index == 0) Hilfsfenster::DateiBearbeiten(bezDo[0]->text());
  else Hilfsfenster::OrdnerAnzeigen(bezDo[index]->text());
  Z_Alles::Warten(1);
}

QString DatenOrdner::BrowseForFolder(QWidget* besitzer, const QString& titel) {
  auto waehlen = dienste.ordnerWaehlen ? dienste.ordnerWaehlen : &desktopOrdnerWahl;
  return waehlen(besitzer, titel.isEmpty() ? QStringLiteral("Wählen Sie einen Ordner aus") : titel);
}

void DatenOrdner::befDatenOrdnerVerlegen_Click() {
  using namespace Z_Alles;
  const QString titel = QStringLiteral("Daten-Ordner-Zeiger verlegen");
  const QString warnung =
      QStringLiteral("Mit Hilfe dieser Funktion können Sie den Zeiger (nicht die Dateien) auf die "
                     "Daten-Dateien verändern.~") +
      QStringLiteral("Zur Zeit erwartet das Programm die Daten im Ordner '%1'.~~") +
      QStringLiteral("Wenn Sie diesen Zeiger verstellen, findet das Programm evtl. Ihre Daten nicht wieder.~"
                     "Setzten Sie diese Funktion also ganz bewusst ein.~~")
          .toUpper() +
      QStringLiteral("Möchten Sie fortfahren?");
  if (Meldung(warnung, Plattform::vbOKCancel | Plattform::vbQuestion | Plattform::vbDefaultButton2, titel,
              {ordnerDat}) != Plattform::vbOK)
    return;
  const QString neu = BrowseForFolder(this, QStringLiteral("Daten-Ordner-Zeiger"));
  if (neu.isEmpty()) return;

  // A pointer to a folder the next start cannot use would only move the data out of reach.
  if (!QDir().mkpath(neu) || !QFileInfo(neu).isDir()) {
    Meldung(QStringLiteral("Der Ordner »%1« lässt sich nicht anlegen.~~Der Daten-Ordner-Zeiger bleibt unverändert."),
            Plattform::vbExclamation, titel, {QDir::toNativeSeparators(neu)});
    return;
  }
  // The restart ends the program without its orderly exit: the note must be on disk first.
  if (Hauptfenster* h = Hauptfenster::Instanz(); h && !h->notizSichern()) {
    Meldung(QStringLiteral("Die aktuelle Notiz konnte nicht gespeichert werden.~~Der Daten-Ordner-Zeiger bleibt "
                           "unverändert, damit kein Text verloren geht."),
            Plattform::vbExclamation, titel);
    return;
  }
  const QString gespeichert = IniSchreiben({}, {}, QStringLiteral("OrdnerDat"), neu);
  if (IniLesen({}, {}, QStringLiteral("OrdnerDat"), QStringLiteral("?")) != gespeichert) {
    Meldung(QStringLiteral("Der Daten-Ordner-Zeiger konnte nicht in der Einstellungs-Datei »%1« gespeichert "
                           "werden.~~Das Programm arbeitet weiter mit dem bisherigen Daten-Ordner."),
            Plattform::vbExclamation, titel, {QDir::toNativeSeparators(IniDateiPfad(QString()))});
    return;
  }
  Meldung(QStringLiteral("Der Daten-Ordner-Zeiger wurde geändert.~~Das Programm wird jetzt neu gestartet."),
          Plattform::vbInformation, QStringLiteral("Daten-Ordner-Zeiger wurde verlegt"));
  if (dienste.neustart) dienste.neustart();
  else NeustartJob();
  done(QDialog::Accepted);
}

void DatenOrdner::bezDo_DblClick(int index) {
  if (index < 0 || index > 2) return;
  QString t = bezInfo[index]->text() + kCrLf + kCrLf + bezDo[index]->text();
  if (index == 2) t += kCrLf + kCrLf + Z_Alles::ordnerDatHerkunft;
  Plattform::MsgBox(t, Plattform::vbInformation, kTitel);
}

void DatenOrdner::bezInfo_DblClick(int index) {
  if (index < 0 || index > 2) return;
  Plattform::MsgBox(bezInfo[index]->text() + kCrLf + kCrLf + bezDo[index]->text() + kCrLf + kCrLf +
                        Z_Alles::ordnerDatHerkunft,
                    Plattform::vbInformation, kTitel);
}

QString DatenOrdner::BerichtText() const {
  OrdnerBericht::Abschnitt a[3];
  for (int i = 0; i < 3; ++i)
    a[i] = {Frame1[i]->title(), bezInfo[i]->text(), bezDo[i]->text(), bezError[i]->text(),
            listenEintraege(lstDo[i]), i != 0};
  return OrdnerBericht::Text(Label1->text(), a, Z_Alles::ordnerDatHerkunft, Z_Alles::DiagnoseBericht());
}

void DatenOrdner::mnuBericht_Click(int index) {
  if (index < 0 || index > 1) return;
  QString text;
  {
    Plattform::Sanduhr sanduhr;
    text = BerichtText();
  }
  if (index == 1) {
    berichtDrucken(text);
    return;
  }
  QClipboard* ablage = QGuiApplication::clipboard();
  if (ablage) {
    ablage->clear();
    ablage->setText(text);
  }
  // Reported as copied only when it is there.
  if (!ablage || ablage->text() != text) {
    Plattform::MsgBox(QStringLiteral("Der Bericht konnte nicht in die Zwischenablage kopiert werden: "
                                     "die Zwischenablage ist nicht verfügbar."),
                      Plattform::vbExclamation, kTitel);
    return;
  }
  Plattform::MsgBox(QStringLiteral("Bericht wurde in die Zwischenablage kopiert"), Plattform::vbInformation);
}

void DatenOrdner::berichtDrucken(const QString& text) {
  Plattform::Drucker& p = Plattform::Printer();
  p.setDokumentName(Z_Alles::ProduktName + QStringLiteral(" - Ordner"));
  p.setFontSize(10);
  const Z_TextAnDrucker::Seitenlauf lauf = Z_TextAnDrucker::SeitenDrucken(text, 1, 2, -1, -1);
  const bool beendet = p.EndDoc();
  // A cancelled printer error has been shown already.
  if (lauf == Z_TextAnDrucker::Seitenlauf::Abgebrochen) {
    p.FehlerLoeschen();
    return;
  }
  if (!beendet || p.Fehler()) {
    Plattform::MsgBox(QStringLiteral("Der Bericht konnte nicht gedruckt werden.\r\n\r\n") + p.FehlerText(),
                      Plattform::vbExclamation, kTitel);
    p.FehlerLoeschen();
    return;
  }
  if (p.Info().pdf && !p.LetzteDatei().isEmpty())
    Plattform::MsgBox(QStringLiteral("Der Bericht wurde als PDF-Datei gespeichert:\r\n\r\n") +
                          QDir::toNativeSeparators(p.LetzteDatei()),
                      Plattform::vbInformation, kTitel);
}

void DatenOrdner::mnuHilfe_Click() { Z_Alles::HilfeZeigen(7000); }

void DatenOrdner::befOk_Click() { done(QDialog::Accepted); }

void DatenOrdner::mnuZurück_Click() { done(QDialog::Accepted); }

void DatenOrdner::reject() { mnuZurück_Click(); }

void DatenOrdner::closeEvent(QCloseEvent* ereignis) {
  ereignis->ignore();
  mnuZurück_Click();
}

bool DatenOrdner::eventFilter(QObject* objekt, QEvent* ereignis) {
  if (ereignis->type() == QEvent::MouseButtonDblClick) {
    for (int i = 0; i < 3; ++i) {
      if (objekt == bezDo[i]) {
        bezDo_DblClick(i);
        return true;
      }
      if (objekt == bezInfo[i]) {
        bezInfo_DblClick(i);
        return true;
      }
    }
  }
  return QDialog::eventFilter(objekt, ereignis);
}
