#include "services/neustart.h"

#include <QApplication>
#include <QFile>
#include <QWidget>

#include "foundation/hauptfenster.h"
#include "foundation/z_alles.h"
#include "platform/dialoge.h"
#include "platform/job.h"
#include "platform/system.h"

namespace Z_Alles {

namespace {
const QString kJobName = QStringLiteral("x-Setup_Job.cmd");
}

void FensterEntladen() {
  QWidget* haupt = Hauptfenster::Instanz() ? Hauptfenster::Instanz()->widget() : nullptr;
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w != haupt && w->isVisible()) w->close();
  QCoreApplication::processEvents();
}

void AllesEntladen() {
  FensterEntladen();
  QCoreApplication::quit();
}

Plattform::Job NeustartAuftrag(const QString& programm, qint64 pid) {
  Plattform::Job job;
  job.kommentar(ProduktName + QStringLiteral(" - Restart"))
      .echo(QStringLiteral("Warte kurz bis Programm beendet ist"))
      .pause(4)
      .prozessAbwarten(pid, 30)
      .echo(QStringLiteral("..."))
      .echo(QStringLiteral("Starte Programm"))
      .ordnerWechseln(ordnerPrg)
      .starten(programm, {}, false)
      .echo(QStringLiteral("Aufraeumen"));
  return job;
}

void NeustartJob(const QString& programm) {
  const Plattform::Job job =
      NeustartAuftrag(programm.isEmpty() ? Plattform::ProgrammDatei() : programm,
                      QCoreApplication::applicationPid());
  QString fehler, pfad;
  bool ok = false;
  for (const QString& ordner : {ordnerPrg, ordnerTmp}) {
    if (ordner.isEmpty()) continue;
    pfad = PfadVerbinden(ordner, kJobName);
    if ((ok = job.schreiben(pfad, &fehler))) break;
    DebugLog(QStringLiteral("Neustart-Job nicht geschrieben: ") + pfad + QStringLiteral(" - ") + fehler);
  }
  if (ok && !Plattform::Job::ausfuehren(pfad)) {
    ok = false;
    QFile::remove(pfad);
    fehler = QStringLiteral("Die Shell /bin/sh ließ sich nicht starten.");
  }
  if (!ok)
    Plattform::MsgBox(QStringLiteral("Skribon kann sich nicht selbst neu starten.\r\n\r\n") + fehler +
                          QStringLiteral("\r\n\r\nDer neue Datenordner ist gespeichert. Skribon wird "
                                         "jetzt beendet; bitte starten Sie es danach selbst wieder."),
                      Plattform::vbOKOnly | Plattform::vbExclamation, ProduktName);
  if (Hauptfenster* h = Hauptfenster::Instanz()) h->sofortBeenden();
}

}  // namespace Z_Alles
