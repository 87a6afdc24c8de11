// The family's sibling programs, and the wiring of this folder's services into the main window.
#include "services/z_v_allgemein.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPointer>

#include "foundation/dienste.h"
#include "foundation/hauptfenster.h"
#include "foundation/z_alles.h"
#include "platform/dateifehler.h"
#include "platform/dialoge.h"
#include "platform/shell.h"
#include "platform/system.h"
#include "services/hilfe.h"
#include "services/mail.h"
#include "services/z_dos.h"

namespace Z_V_Allgemein {

namespace {

const Schwester kSchwestern[4] = {
    {QStringLiteral("varnisch;Varnisch.exe"), QStringLiteral("Varnisch")},
    {QStringLiteral("skribon;Skribon.exe"), QStringLiteral("Skribon")},
    {QStringLiteral("Ostrup;Ostrup_Eingabe.exe"), QStringLiteral("Ostrup")},
    {QStringLiteral("lumetrix;Lumetrix.exe"), QStringLiteral("Lumetrix")},
};

// The executable in its folder: the stored name, or the same without ".exe", in any case.
QString ausfuehrbareDatei(const QString& ordner, const QString& exe) {
  QStringList namen{exe};
  if (exe.endsWith(QStringLiteral(".exe"), Qt::CaseInsensitive)) namen << exe.left(exe.size() - 4);
  for (const QString& n : namen) {
    const QString p = Z_Alles::PfadVerbinden(ordner, n);
    if (Z_Alles::DateiExistiert(p)) return p;
  }
  const QStringList vorhanden = QDir(ordner).entryList(QDir::Files, QDir::Name);
  for (const QString& n : namen)
    for (const QString& v : vorhanden)
      if (v.compare(n, Qt::CaseInsensitive) == 0 && Z_Alles::DateiExistiert(Z_Alles::PfadVerbinden(ordner, v)))
        return Z_Alles::PfadVerbinden(ordner, v);
  return {};
}

QPointer<QAction> loeschBefehl;

}  // namespace

const Schwester* SchwesterEintrag(int index) {
  return index >= 0 && index < 4 ? &kSchwestern[index] : nullptr;
}

QString ProgrammPfad(int index) {
  const Schwester* s = SchwesterEintrag(index);
  if (!s) return {};
  Z_Alles::DebugLog(QStringLiteral("Prg.Extern.#1 Exe=") + s->zeile);
  const qsizetype trenner = s->zeile.indexOf(u';');
  const QString abschnitt = s->zeile.left(trenner);
  const QString exe = s->zeile.mid(trenner + 1);
  const QString ordner = Z_Alles::ProgrammOrdner(abschnitt, QStringLiteral("Prg"));
  Z_Alles::DebugLog(QStringLiteral("Prg.Extern.#2 Ini=") + ordner);
  const QString pfad = ordner.isEmpty() ? QString() : ausfuehrbareDatei(ordner, exe);
  Z_Alles::DebugLog(QStringLiteral("Prg.Extern.#3 Run=") + pfad);
  return pfad;
}

void SchwesterprogrammStarten(int index) {
  const Schwester* s = SchwesterEintrag(index);
  if (!s) return;
  QString pfad;
  {
    const Plattform::Sanduhr sanduhr;
    pfad = ProgrammPfad(index);
    if (!pfad.isEmpty()) {
      // The file is there: a start that fails is refused, not a file that is missing.
      const bool ausfuehrbar = QFileInfo(pfad).isExecutable();
      if (!ausfuehrbar || !Plattform::ProgrammStarten(pfad, {}, QFileInfo(pfad).absolutePath()))
        Z_Alles::FehlerBehandlung(
            Plattform::FehlerZugriffVerweigert,
            QStringLiteral("Es ist ein Fehler beim Starten des Dormiks-Programms aufgetreten."),
            QStringLiteral("»%1« ist vorhanden, kann aber nicht gestartet werden").arg(pfad) +
                (ausfuehrbar ? QStringLiteral(".")
                             : QStringLiteral(": Die Datei ist nicht als ausführbar gekennzeichnet.")));
      return;
    }
  }
  Z_Alles::Meldung(QStringLiteral("Das Programm ´%1´ ist auf diesem System nicht installiert.~~Sie können die "
                                  "aktuelle Version kostenlos aus dem Internet unter der URL %2 laden.~~Starten "
                                  "Sie %1 bitte nach der Installation einmal manuell, damit Skribon es auf "
                                  "Ihrem System finden kann."),
                   Plattform::vbExclamation | Plattform::vbOKOnly, s->name + QStringLiteral(" nicht installiert."),
                   {s->name, DownloadAdresse});
}

bool IstEigenerEintrag(const QString& pfad, const QString& eigenerName) {
  return !eigenerName.isEmpty() && (pfad + QLatin1Char(' ')).contains(eigenerName, Qt::CaseInsensitive);
}

void ProgrammMenueAktualisieren() {
  Hauptfenster* h = Hauptfenster::Instanz();
  if (!h) return;
  const Plattform::Sanduhr sanduhr;
  const QString eigener = Plattform::ProgrammName();
  for (int i = 0; i < 4; ++i)
    if (IstEigenerEintrag(ProgrammPfad(i), eigener)) h->programmEintragVerbergen(i);
}

void Registrieren() {
  using namespace HauptfensterHaken;
  MitHauptfenster([](Hauptfenster& haupt) {
    Hauptfenster* h = &haupt;
    loeschBefehl = h->befehlEintragen(QStringLiteral("&Datei"), QStringLiteral("Notizblock &löschen..."),
                                      [] { Z_DOS::mnuNBLöschen_Click(); }, {}, Hauptfenster::NurMenue,
                                      QStringLiteral("mnuNBLöschen"));
    h->befehlEintragen(QStringLiteral("&Weiteres"), QStringLiteral("&Musiktitel im Web suchen"),
                       [] {
                         if (Hauptfenster* f = Hauptfenster::Instanz()) Z_DOS::MusikSuchen(f->markierterText());
                       },
                       {}, Hauptfenster::ImPopup, QStringLiteral("mnuMarkGooglePlay"));
    h->befehlEintragen(QStringLiteral("&Hilfe"), QStringLiteral("&Hilfe..."), [] { Z_Alles::HilfeZeigen(0); },
                       QKeySequence(Qt::Key_F1), Hauptfenster::NurMenue, QStringLiteral("mnuHilfe"));
  });
  Eintragen(Punkt::StartMailFuss, [] { MailFussSetzen(); });
  Eintragen(Punkt::StartSperren, [] {
    if (loeschBefehl) loeschBefehl->setEnabled(!Z_Alles::NurLesen);
  });
  Eintragen(Punkt::MenueWeiteres, [] { ProgrammMenueAktualisieren(); });
  Eintragen(Punkt::EndeHilfe, [] { Z_Alles::HilfeZeigen(-1); });

  dienste.schwesterprogrammStarten = &Z_V_Allgemein::SchwesterprogrammStarten;
  dienste.zeileMarkiert = &Z_DOS::MusikSuchen;
  dienste.fehlerberichtSenden = &Z_Alles::FehlerberichtSenden;
  Plattform::SetzeHilfeAufruf([](int thema) { Z_Alles::HilfeZeigen(thema); });
}

}  // namespace Z_V_Allgemein
