#include "windows/versionspruefung.h"

#include <QAction>
#include <QCoreApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLockFile>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "foundation/hauptfenster.h"
#include "foundation/z_alles.h"
#include "notepad/skribondiv.h"
#include "platform/dialoge.h"
#include "platform/hersteller.h"
#include "platform/http.h"
#include "platform/job.h"
#include "platform/laufzeit.h"
#include "platform/shell.h"
#include "platform/system.h"
#include "platform/textdatei.h"
#include "services/diagnose.h"
#include "services/links.h"
#include "services/version.h"

// ---- The check's logic ------------------------------------------------------------------------

namespace Versionsabgleich {

namespace {
const QString kKeineDaten = QStringLiteral("Keine Was-Ist-Neu Daten gefunden!");

QString oftErsetzen(QString t, const QString& was, const QString& wodurch, int mal) {
  for (int i = 0; i < mal; ++i) t.replace(was, wodurch);
  return t;
}
}  // namespace

double VersionsZahl(const QString& text) {
  QString t = text;
  t.remove(u'.');
  qsizetype i = 0;
  while (i < t.size() && t[i] == u' ') ++i;
  double zahl = 0;
  for (; i < t.size() && t[i] >= u'0' && t[i] <= u'9'; ++i) zahl = zahl * 10 + (t[i].unicode() - u'0');
  return zahl < 1990000000.0 ? 0 : zahl;
}

Urteil VersionsUrteil(double installiert, double online, double minimum) {
  static const QColor gruen(192, 255, 192), gelb(255, 255, 192), rot(255, 192, 192);
  Urteil u;
  // Each rule that holds overrides the one before.
  if (installiert >= online) u = {QStringLiteral("Die installierte Version ist aktuell."), gruen};
  if (online - installiert > 0) u = {QStringLiteral("Eine neue Version kann installiert werden."), gelb};
  if (online - installiert > 1000000) u = {QStringLiteral("Eine neue Version sollte installiert werden."), rot};
  if (installiert < minimum) u = {QStringLiteral("Eine neue Version sollte installiert werden!"), rot};
  return u;
}

QString HistorieAlsText(const QString& html, const QString& marker) {
  // Each "<" through the next ">" goes; from an unclosed "<" on, the text stays as it is.
  QString t = html;
  for (qsizetype a = t.indexOf(u'<'); a >= 0; a = t.indexOf(u'<', a)) {
    const qsizetype e = t.indexOf(u'>', a + 1);
    if (e < 0) break;
    t.remove(a, e - a + 1);
  }
  t = Z_String::HtmlZuText(t, true);
  const QString nl = QStringLiteral("\r\n");
  t.remove(u'\r');
  t.replace(u'\n', nl);
  t.replace(QStringLiteral(" \r\n"), nl).replace(QStringLiteral("\r\n "), nl);
  t = oftErsetzen(t, QStringLiteral("\r\n\r\n"), nl, 5);
  t.replace(QStringLiteral("\r\n@\r\n"), QStringLiteral("\r\n\r\n@ "));
  t = Z_String::LeerraumNormalisieren(Z_String::ZeilenumbruecheTrimmen(t));
  t = oftErsetzen(t, QStringLiteral("\r\n\r\n\r\n"), QStringLiteral("\r\n\r\n"), 9);
  if (!marker.isEmpty()) {
    const qsizetype m = t.indexOf(marker);
    if (m >= 0) t = t.mid(m + marker.size());
  }
  if (t.isEmpty()) t = kKeineDaten;
  t.remove(u'\r');
  return t;
}

int EintragSprung(const QString& text, int position, bool rechts) {
  int p = position;
  for (;;) {
    p += rechts ? 1 : -1;
    if (p < 1 || p > text.size()) return -1;
    if (text[p - 1] == u'@') return p;
  }
}

Plattform::Job UpdateAuftrag(const QString& setup, const QString& programmOrdner, const QString& programm,
                             const QStringList& argumente, qint64 pid) {
  Plattform::Job job;
  job.echo(QStringLiteral("Warte kurz bis Programm beendet ist..."))
      .pause(4)
      .prozessAbwarten(pid, 60)
      .echo(QStringLiteral("Starte Setup"))
      .starten(setup, {QStringLiteral("/SILENT"), QStringLiteral("/DIR=") + programmOrdner}, true)
      .echo(QStringLiteral("Warte kurz bis Setup beendet ist..."))
      .pause(4)
      .echo(QStringLiteral("Starte Programm wieder..."))
      .ordnerWechseln(programmOrdner)
      .starten(programm, argumente, false)
      .echo(QStringLiteral("Aufraeumen"))
      .loeschen(setup);
  return job;
}

QString SetupName() { return QStringLiteral("x-Setup_") + Z_Alles::ProgrammTitel; }

QString VersionsAdresse() {
  return QStringLiteral("https://") + Plattform::HerstellerServer() + u'/' + VersionsDatei;
}

}  // namespace Versionsabgleich

// ---- The window -------------------------------------------------------------------------------

namespace {

VersionsPrüfung* instanz_ = nullptr;

const QString kLade = QStringLiteral("Lade Versions-Hinweise...");
const QString kKeineVerbindung = QStringLiteral("Evtl. kann keine Internetverbindung hergestellt werden.");

// A page address from the version file: only a web address is opened, anything else (a local
// file, a program) falls back to the maker's default.
QString seitenAdresse(const QString& gelesen, const QString& vorgabe) {
  const QString t = gelesen.trimmed();
  return Plattform::IstWebAdresse(t) ? t : vorgabe;
}

// Held in the update folder while a copy of the program downloads the setup. A download cut
// off by a kill leaves its temporary "<setup>.XXXXXX" there (where the file system has no
// unnamed temporary files); a start that finds the lock free removes such leftovers.
const QString kLadeSperre = QStringLiteral("x-Setup_Laden.lck");

bool ladeSperreNehmen(QLockFile& sperre) {
  sperre.setStaleLockTime(0);  // a download may take half an hour: only a holder gone frees it
  return sperre.tryLock(0);
}

void abgebrocheneDownloadsEntfernen() {
  using namespace Versionsabgleich;
  // Usually there is nothing: looked for without creating or syncing anything at start.
  const QDir dir(Plattform::PrivaterOrdnerPfad(UpdateOrdnerName));
  const QString temporaere = SetupName() + QStringLiteral(".??????");
  if (dir.entryList({temporaere, kLadeSperre}, QDir::Files).isEmpty()) return;
  // Only in a folder of this user's own; the lock of a copy gone is taken over and goes with it.
  if (Plattform::PrivaterOrdner(UpdateOrdnerName).isEmpty()) return;
  QLockFile sperre(dir.filePath(kLadeSperre));
  if (!ladeSperreNehmen(sperre)) return;
  for (const QString& name : dir.entryList({temporaere}, QDir::Files)) QFile::remove(dir.filePath(name));
}

}  // namespace

VersionsPrüfung::VersionsPrüfung(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("VersionsPruefung"));
  setWindowTitle(QStringLiteral("Hompage & Versions-Prüfung"));
  resize(760, 520);

  static const char* const texte[3][2] = {
      {"Online-&Infos zur neuesten Version", "Infos zur neuesten Version von der Homepage"},
      {"In&stallation der neuesten Version", "Laden und installieren der neuesten Version von der Homepage (*)"},
      {"&Homepage", "Anzeige der Homepage"}};
  auto* knoepfe = new QVBoxLayout;
  for (int i = 0; i < 3; ++i) {
    befOk[i] = new QPushButton(QString::fromUtf8(texte[i][0]), this);
    befOk[i]->setToolTip(QString::fromUtf8(texte[i][1]));
    befOk[i]->setMinimumHeight(40);
    befOk[i]->setAutoDefault(false);
    connect(befOk[i], &QPushButton::clicked, this, [this, i] { befOk_Click(i); });
    knoepfe->addWidget(befOk[i]);
  }
  knoepfe->addStretch(1);
  befAbbrechen = new QPushButton(QStringLiteral("&Zurück"), this);
  befAbbrechen->setMinimumHeight(32);
  connect(befAbbrechen, &QPushButton::clicked, this, [this] { befAbbrechen_Click(); });
  knoepfe->addWidget(befAbbrechen);

  auto neueBox = [this] {
    auto* box = new QPlainTextEdit(this);
    box->setReadOnly(true);
    // Read-only, but with a caret the arrow keys can move.
    box->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    return box;
  };
  txtInfo1 = neueBox();
  txtInfo1->setFixedHeight(txtInfo1->fontMetrics().lineSpacing() * 6 + 12);
  txtInfo2 = neueBox();
  txtInfo2->installEventFilter(this);
  bezFile = new QLabel(this);
  bezFile->setVisible(false);

  auto* texteSpalte = new QVBoxLayout;
  texteSpalte->addWidget(txtInfo1);
  texteSpalte->addWidget(txtInfo2, 1);
  auto* haupt = new QHBoxLayout(this);
  haupt->addLayout(texteSpalte, 1);
  haupt->addLayout(knoepfe);

  TimerInit = new QTimer(this);
  TimerInit->setSingleShot(true);
  TimerInit->setInterval(333);
  connect(TimerInit, &QTimer::timeout, this, [this] { TimerInit_Timer(); });
}

VersionsPrüfung::~VersionsPrüfung() {
  if (instanz_ == this) instanz_ = nullptr;
}

VersionsPrüfung* VersionsPrüfung::Instanz() { return instanz_; }

void VersionsPrüfung::Entladen() {
  if (!instanz_) return;
  VersionsPrüfung* fenster = instanz_;
  instanz_ = nullptr;
  fenster->Form_QueryUnload(1);
  // Later, from the event loop: it may still be open further down the stack.
  fenster->hide();
  fenster->deleteLater();
}

void VersionsPrüfung::mnuHlpWeb_Click() {
  Entladen();
  QCoreApplication::processEvents();
  Hauptfenster* h = Hauptfenster::Instanz();
  if (h && h->endet()) return;
  instanz_ = new VersionsPrüfung(h ? h->widget() : nullptr);
  instanz_->Form_Load();
  instanz_->exec();
  Entladen();
  h = Hauptfenster::Instanz();
  if (Z_Alles::UpdateGestartet && h && !h->endet()) h->beenden(false);
}

void VersionsPrüfung::Registrieren() {
  HauptfensterHaken::MitHauptfenster([](Hauptfenster& h) {
    h.befehlEintragen(QStringLiteral("&Hilfe"), QStringLiteral("Internet / &Updates..."),
                      [] { VersionsPrüfung::mnuHlpWeb_Click(); }, {}, Hauptfenster::NurMenue,
                      QStringLiteral("mnuHlpWeb"));
  });
  HauptfensterHaken::Eintragen(HauptfensterHaken::Punkt::EndeEntladen, [] { VersionsPrüfung::Entladen(); });
  HauptfensterHaken::Eintragen(HauptfensterHaken::Punkt::StartReadonlytest, abgebrocheneDownloadsEntfernen);
}

void VersionsPrüfung::Form_Load() {
  instanz_ = this;
  if (Hauptfenster* h = Hauptfenster::Instanz()) {
    const QRect r = h->geometrie();
    move(r.left() + (r.width() - width()) / 2, r.top() + (r.height() - height()) / 2);
    setWindowIcon(h->symbol());
  }
  setWindowTitle(Z_Alles::ProduktName + QStringLiteral(" im Internet / Updates"));
  if (!TimerInit->isActive()) TimerInit->start();
}

bool VersionsPrüfung::Form_QueryUnload(int modus) { return modus == 0; }

void VersionsPrüfung::closeEvent(QCloseEvent* ereignis) {
  if (Form_QueryUnload(0)) {
    ereignis->ignore();
    befAbbrechen_Click();
  }
}

void VersionsPrüfung::reject() { befAbbrechen_Click(); }

bool VersionsPrüfung::eventFilter(QObject* objekt, QEvent* ereignis) {
  if (objekt == txtInfo2 && ereignis->type() == QEvent::KeyPress)
    return txtInfo2_KeyDown(static_cast<QKeyEvent*>(ereignis)->key());
  return QDialog::eventFilter(objekt, ereignis);
}

void VersionsPrüfung::zeigerBeschaeftigt(bool an) {
  if (!an) sanduhr_.reset();
  else if (!sanduhr_) sanduhr_.emplace();
}

void VersionsPrüfung::hintergrund(const QColor& farbe) {
  QPalette p = txtInfo1->palette();
  p.setColor(QPalette::Base, farbe);
  txtInfo1->setPalette(p);
}

void VersionsPrüfung::anhaengen(QPlainTextEdit* box, const QString& text) {
  QTextCursor c = box->textCursor();
  c.movePosition(QTextCursor::End);
  c.insertText(text);
  box->setTextCursor(c);
}

bool VersionsPrüfung::vorbei() const {
  Hauptfenster* h = Hauptfenster::Instanz();
  return h && h->endet();
}

void VersionsPrüfung::TimerInit_Timer() {
  using namespace Versionsabgleich;
  TimerInit->stop();
  zeigerBeschaeftigt(true);
  txtInfo2->setPlainText(kLade);
  QCoreApplication::processEvents();
  QPointer<VersionsPrüfung> selbst(this);
  if (!selbst || vorbei()) return;
  anhaengen(txtInfo1, kLade + u'\n');
  anhaengen(txtInfo1, QStringLiteral("\n"));

  Plattform::HttpAnfrage anfrage;
  anfrage.adresse = VersionsAdresse();
  anfrage.hoechstens = 256 * 1024;
  const Plattform::HttpErgebnis antwort = Plattform::HttpHolen(anfrage);
  if (!selbst || vorbei()) return;
  const QString pfad = Z_Alles::PfadVerbinden(Z_Alles::ordnerTmp, LokaleKopie);
  bezFile->setText(pfad);

  // A file without this program's version (an error page, a portal's login) is no answer:
  // it must not read as "up to date".
  bool gelesen = false;
  QString online;
  if (antwort.ok && !antwort.daten.trimmed().isEmpty()) {
    QString fehler;
    if (Plattform::TextSchreiben(pfad, Plattform::TextDekodieren(antwort.daten) + QStringLiteral("\r\n"), &fehler)) {
      online = Z_Alles::IniLesen(pfad, QStringLiteral("Version"), Z_Alles::ProgrammTitel, QString());
      gelesen = VersionsZahl(online) > 0;
    } else {
      Z_Alles::DebugLog(QStringLiteral("Versionsprüfung: nicht gespeichert '") + pfad + QStringLiteral("' - ") + fehler);
    }
  }
  if (!gelesen) {
    Z_Alles::DebugLog(QStringLiteral("Versionsprüfung: keine Versions-Hinweise - ") +
                      (antwort.ok ? QStringLiteral("ohne [Version]") : antwort.fehler));
    anhaengen(txtInfo1, QStringLiteral("Es sind leider keine Versions-Hinweise verfügbar.\n"));
    anhaengen(txtInfo1, kKeineVerbindung + u'\n');
    befOk[1]->setEnabled(false);
    zeigerBeschaeftigt(false);
    return;
  }

  const QString installiert = Z_Alles::VersionsTextAus(SKRIBON_VERSION_MAJOR, SKRIBON_VERSION_MINOR,
                                                       SKRIBON_VERSION_REVISION);
  const QString minimum =
      Z_Alles::IniLesen(pfad, QStringLiteral("VersionMin"), Z_Alles::ProgrammTitel, QStringLiteral("0000.00.0000"));
  const double groesse = Laufzeit::Val(
      Z_Alles::IniLesen(pfad, QStringLiteral("SetupSize"), Z_Alles::ProgrammTitel, QStringLiteral("-1")));
  befOk[1]->setToolTip(befOk[1]->toolTip().replace(u'*', Z_Alles::BytesText(groesse) + u'B'));
  const Urteil urteil = VersionsUrteil(VersionsZahl(installiert), VersionsZahl(online), VersionsZahl(minimum));
  txtInfo1->setPlainText(Z_Alles::ProduktName + QStringLiteral(" Version ") + installiert +
                         QStringLiteral(" ist aktuell installiert\n") + Z_Alles::ProduktName +
                         QStringLiteral(" Version ") + online + QStringLiteral(" ist online verfügbar\n\nTipp: ") +
                         urteil.text + u'\n');
  hintergrund(urteil.farbe);

  anhaengen(txtInfo2, QStringLiteral("\nGleich..."));
  QCoreApplication::processEvents();
  if (!selbst || vorbei()) return;
  QString html;
  const QString seite = Z_Alles::IniLesen(pfad, QStringLiteral("Url"), Z_Alles::ProgrammTitel + QStringLiteral("inf"));
  if (!seite.trimmed().isEmpty()) {
    Plattform::HttpAnfrage historie;
    historie.adresse = seite.trimmed();
    historie.hoechstens = 4 * 1024 * 1024;
    const Plattform::HttpErgebnis h = Plattform::HttpHolen(historie);
    if (!selbst || vorbei()) return;
    if (h.ok) html = Plattform::TextDekodieren(h.daten);
    else Z_Alles::DebugLog(QStringLiteral("Versionsprüfung: Historie - ") + h.fehler);
  }
  const QString marker = Z_Alles::IniLesen(pfad, QStringLiteral("Marker"), QStringLiteral("StartVrsTxt"));
  QString t = QStringLiteral("Die folgende Übersicht zeigt die chronologischen Änderungen des Programms:\n") +
              HistorieAlsText(html, marker);
  while (t.contains(QStringLiteral("\n\n\n"))) t.replace(QStringLiteral("\n\n\n"), QStringLiteral("\n\n"));
  t.remove(QStringLiteral("Welche Version incl. der Build-Nr. zur Verfügung steht finden Sie in\ndieser\nÜbersicht."));
  txtInfo2->setPlainText(t);
  txtInfo2->setFocus();
  zeigerBeschaeftigt(false);
}

bool VersionsPrüfung::txtInfo2_KeyDown(int taste) {
  if (taste != Qt::Key_Left && taste != Qt::Key_Right) return false;
  const int ziel =
      Versionsabgleich::EintragSprung(txtInfo2->toPlainText(), txtInfo2->textCursor().position(), taste == Qt::Key_Right);
  if (ziel >= 0) {
    QTextCursor c = txtInfo2->textCursor();
    c.setPosition(ziel);
    txtInfo2->setTextCursor(c);
  }
  return true;
}

void VersionsPrüfung::befOk_Click(int index) {
  txtInfo1->setFocus();
  const QString pfad = bezFile->text();
  const QString server = QStringLiteral("https://") + Plattform::HerstellerServer();
  switch (index) {
    case 0: {
      Z_Alles::DebugLog(QStringLiteral("Versionsprüfung: Infos zur neuesten Version"));
      const QString gelesen = pfad.isEmpty() ? QString()
                                             : Z_Alles::IniLesen(pfad, QStringLiteral("URL"),
                                                                 Z_Alles::ProgrammTitel + QStringLiteral("inf"));
      Z_Alles::DokumentÖffnen(
          seitenAdresse(gelesen, server + u'/' + Z_Alles::ProgrammTitel + QStringLiteral(".htm")).toLower());
      break;
    }
    case 1:
      installieren();
      break;
    case 2: {
      Z_Alles::DebugLog(QStringLiteral("Versionsprüfung: Homepage"));
      const QString gelesen =
          pfad.isEmpty() ? QString() : Z_Alles::IniLesen(pfad, QStringLiteral("URL"), QStringLiteral("Home"));
      Z_Alles::DokumentÖffnen(seitenAdresse(gelesen, server + QStringLiteral("/index.htm")));
      break;
    }
    default:
      break;
  }
}

void VersionsPrüfung::installieren() {
  using namespace Versionsabgleich;
  if (Z_Alles::Meldung(QStringLiteral("Vor jeder neuen Installation ist eine Datensicherung empfehlenswert.~~"
                                     "Möchten Sie die Installation jetzt fortsetzen?"),
                      Plattform::vbYesNo | Plattform::vbInformation | Plattform::vbDefaultButton1,
                      QStringLiteral("Installation jetzt fortsetzen?")) != Plattform::vbYes)
    return;
  if (vorbei()) return;
  Z_Alles::DebugLog(QStringLiteral("Versionsprüfung: Installation der neuesten Version"));
  txtInfo2->setPlainText(
      QStringLiteral("Die aktuelle Version wird geladen; der Vorgang kann einige Minuten dauern...\n\n"));
  txtInfo2->moveCursor(QTextCursor::End);

  const QString pfad = bezFile->text();
  const QString adresse = Z_Alles::IniLesen(pfad, QStringLiteral("URL"), Z_Alles::ProgrammTitel + QStringLiteral("dl"));
  const QString soll =
      Z_Alles::IniLesen(pfad, QStringLiteral("SetupSize"), Z_Alles::ProgrammTitel, QStringLiteral("-1")).trimmed();
  const qint64 sollGroesse = qint64(Laufzeit::Val(soll));
  // Staged where no one else can swap it between download and run.
  QString grund;
  const QString ordner = Plattform::PrivaterOrdner(UpdateOrdnerName, &grund);
  const QString setup = ordner.isEmpty() ? QString() : Z_Alles::PfadVerbinden(ordner, SetupName());
  const QString jobPfad = ordner.isEmpty() ? QString() : Z_Alles::PfadVerbinden(ordner, JobName);
  if (!setup.isEmpty()) QFile::remove(setup);

  befOk[1]->setEnabled(false);
  zeigerBeschaeftigt(true);
  Z_Alles::IniZaehlen(QString(), QString(), QStringLiteral("Stat_UpdIni"), 1);
  Z_Alles::DebugLog(QStringLiteral("Versionsprüfung: Online '") + adresse + u'\'');

  // The setup is run as a program: only over https, from a web address, of the announced size.
  QPointer<VersionsPrüfung> selbst(this);
  if (grund.isEmpty() && !Plattform::IstWebAdresse(adresse)) grund = QStringLiteral("keine Web-Adresse");
  if (grund.isEmpty()) {
    // Straight into the file: a setup may be larger than what should be held in memory.
    Plattform::HttpAnfrage anfrage;
    anfrage.adresse = Plattform::AlsHttps(adresse);
    anfrage.nurHttps = true;
    anfrage.hoechstens = sollGroesse > 0 ? sollGroesse : HoechstGroesse;
    anfrage.ruheMs = 60000;
    anfrage.gesamtMs = 30 * 60 * 1000;
    anfrage.datei = setup;
    QLockFile sperre(Z_Alles::PfadVerbinden(ordner, kLadeSperre));
    ladeSperreNehmen(sperre);  // held by another copy: both download, as ever
    const Plattform::HttpErgebnis antwort = Plattform::HttpHolen(anfrage);
    if (!selbst || vorbei()) {
      QFile::remove(setup);
      return;
    }
    if (!antwort.ok) grund = antwort.fehler;
    else if (sollGroesse != -1 && antwort.laenge != sollGroesse)
      grund = QStringLiteral("Die Größe %1 weicht von der angekündigten %2 ab.").arg(antwort.laenge).arg(sollGroesse);
  }
  Z_Alles::DateiInfo(QStringLiteral("Versionsprüfung: Lokal"), setup, true);
  befOk[1]->setEnabled(true);
  zeigerBeschaeftigt(false);

  const QFileInfo datei(setup);
  if (grund.isEmpty() && (!datei.isFile() || datei.size() < MindestGroesse))
    grund = QStringLiteral("zu klein (%1 Bytes)").arg(datei.exists() ? datei.size() : 0);
  if (!grund.isEmpty()) {
    Z_Alles::DebugLog(QStringLiteral("Versionsprüfung: Laden fehlgeschlagen - ") + grund);
    anhaengen(txtInfo2, QStringLiteral("\nDie neueste Version wurde leider nicht geladen.\n"));
    anhaengen(txtInfo2, u'\n' + kKeineVerbindung + u'\n');
    if (!setup.isEmpty()) QFile::remove(setup);
    return;
  }
  anhaengen(txtInfo2, QStringLiteral("Laden der neuesten Version ist abgeschlossen...\n"));

  if (Z_Alles::Meldung(QStringLiteral("Die %1-Daten werden jetzt gesichert,~das Programm beendet~und die "
                                     "neueste Version installiert."),
                      Plattform::vbOKCancel | Plattform::vbInformation | Plattform::vbDefaultButton1,
                      QStringLiteral("Installation der neuesten Version"), {Z_Alles::ProgrammTitel}) != Plattform::vbOK) {
    QFile::remove(setup);
    return;
  }
  if (!selbst || vorbei()) {
    QFile::remove(setup);
    return;
  }

  QString fehler;
  QFile::setPermissions(setup, QFile::permissions(setup) | QFile::ExeOwner | QFile::ExeUser);
  // Started again as the user started it: "/OrdnerDat=" or a notepad named on the command line
  // must still hold after the update.
  const Plattform::Job job =
      UpdateAuftrag(setup, Z_Alles::ordnerPrg,
                    Z_Alles::PfadVerbinden(Z_Alles::ordnerPrg, Plattform::ProgrammName()), SkribonDiv::Befehlszeile,
                    QCoreApplication::applicationPid());
  bool gestartet = job.schreiben(jobPfad, &fehler);
  if (gestartet) {
    Z_Alles::DateiInfo(QStringLiteral("Versionsprüfung: Job"), jobPfad, true);
    gestartet = Plattform::Job::ausfuehren(jobPfad, ordner);
    if (gestartet) Z_Alles::IniZaehlen(QString(), QString(), QStringLiteral("Stat_UpdRun"), 1);
    else fehler = QStringLiteral("Die Shell /bin/sh ließ sich nicht starten.");
  }
  if (!gestartet) {
    QFile::remove(jobPfad);
    QFile::remove(setup);
    Z_Alles::DebugLog(QStringLiteral("Versionsprüfung: Job nicht gestartet - ") + fehler);
    Plattform::MsgBox(QStringLiteral("Die Installation konnte nicht gestartet werden.\r\n\r\n") + fehler +
                          QStringLiteral("\r\n\r\n") + Z_Alles::ProgrammTitel +
                          QStringLiteral(" bleibt geöffnet; bitte versuchen Sie es später noch einmal."),
                      Plattform::vbOKOnly | Plattform::vbExclamation, QStringLiteral("Installation der neuesten Version"));
    return;
  }
  if (Z_Alles::DebugModus >= 1 && QFile::exists(Z_Alles::DebugDatei)) Plattform::ShellOeffnen(Z_Alles::DebugDatei);
  Z_Alles::UpdateGestartet = true;
  befAbbrechen_Click();
}

void VersionsPrüfung::befAbbrechen_Click() {
  zeigerBeschaeftigt(false);
  QCoreApplication::processEvents();
  done(QDialog::Rejected);
}
