#include "printing/datensicherung.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QRegularExpression>
#include <QTimer>

#include "foundation/hauptfenster.h"
#include "foundation/z_alles.h"
#include "platform/dialoge.h"
#include "platform/job.h"
#include "printing/z_vario.h"
#include "services/version.h"

namespace Z_Vario {

namespace Sicherung {

namespace {

QString produktMitVersion() {
  Z_Alles::VersionsNummer();
  return Z_Alles::ProduktName + u' ' + Z_Alles::VersionsText;
}

bool istTrenner(QChar c) { return c == u'/' || c == u'\\'; }

// The path with symbolic links resolved as far as it exists, the rest appended: two spellings
// of one folder compare equal, also for a target not made yet.
QString aufgeloest(const QString& pfad) {
  QString p = QDir::cleanPath(pfad);
  QStringList rest;
  while (!QFileInfo::exists(p) && p != QLatin1String("/") && !p.isEmpty()) {
    rest.prepend(QFileInfo(p).fileName());
    p = QFileInfo(p).path();
  }
  QString k = QFileInfo(p).canonicalFilePath();
  if (k.isEmpty()) k = p;
  for (const QString& r : rest) k = Z_Alles::PfadVerbinden(k, r);
  return k;
}

bool liegtIn(const QString& pfad, const QString& ordner) {
  return pfad == ordner || ordner == QLatin1String("/") || pfad.startsWith(ordner + u'/');
}

// A whole folder below T. When T lies in it, T is left out of the copy; when T is the folder
// itself, the copy's own first folder is left out instead.
void ordnerSichern(Plattform::Job& job, const QString& ziel, const QString& ordner) {
  const QString d = ZielFuer(ziel, ordner);
  const QString q = aufgeloest(ordner), t = aufgeloest(ziel);
  if (!liegtIn(t, q)) {
    job.ordnerKopieren(ordner, d, true);
    return;
  }
  QString ohne = t;
  if (t == q) {
    ohne = Z_Alles::PfadVerbinden(t, ZielFuer(QString(), ordner).section(u'/', 0, 0));
  }
  job.ordnerKopieren(q == QLatin1String("/") ? QString() : q, d, true, ohne);
}

// A file pattern ("Vesk*.ini", any case): the files that match now, in one step, each copied
// when newer.
void musterSichern(Plattform::Job& job, const QString& ziel, const QString& ordner, const QString& muster) {
  QDir dir(ordner);
  dir.setNameFilters({muster});
  dir.setFilter(QDir::Files | QDir::Hidden | QDir::System);
  dir.setSorting(QDir::Name | QDir::IgnoreCase);
  QStringList dateien;
  for (const QString& n : dir.entryList()) dateien << Z_Alles::PfadVerbinden(ordner, n);
  if (dateien.isEmpty()) job.kommentar(QStringLiteral("keine Datei: ") + Z_Alles::PfadVerbinden(ordner, muster));
  else job.dateienKopieren(dateien, ZielFuer(ziel, ordner), true);
}

// Waits for the job's outcome and tells the user. One watch at a time: a newer backup's job
// writes the same file.
QPointer<QTimer> waechter_;

void ausgangMelden(const QString& ergebnis, const QString& ziel, const QString& log, const QStringList& anzeige,
                   const QString& ueberschrift) {
  delete waechter_;
  waechter_ = new QTimer(QCoreApplication::instance());
  waechter_->setInterval(500);
  QObject::connect(waechter_, &QTimer::timeout, waechter_, [=] {
    QVector<int> fehlgeschlagen;
    if (!Plattform::Job::ErgebnisLesen(ergebnis, &fehlgeschlagen)) return;
    waechter_->deleteLater();
    waechter_ = nullptr;
    QFile::remove(ergebnis);
    Z_Alles::DebugLog(QStringLiteral("DS: ") + (fehlgeschlagen.isEmpty() ? QStringLiteral("abgeschlossen")
                                                                         : QStringLiteral("fehlgeschlagen")));
    const Hauptfenster* h = Hauptfenster::Instanz();
    if (h && h->endet()) return;
    if (fehlgeschlagen.isEmpty()) {
      Plattform::MsgBox(QStringLiteral("Die Datensicherung nach »%1« ist abgeschlossen.").arg(ziel),
                        Plattform::vbInformation, ueberschrift);
      return;
    }
    QStringList was;
    for (int i : fehlgeschlagen) was << (i >= 0 && i < anzeige.size() ? anzeige[i] : ziel);
    was.removeDuplicates();
    Plattform::MsgBox(QStringLiteral("Die Datensicherung nach »%1« ist fehlgeschlagen.\r\n\r\nNicht oder nicht "
                                     "vollständig gesichert:\r\n%2\r\n\r\nWas dabei schiefging, steht im "
                                     "Protokoll »%3«.")
                          .arg(ziel, was.join(QStringLiteral("\r\n")), log),
                      Plattform::vbExclamation, ueberschrift);
  });
  waechter_->start();
}

}  // namespace

QString ZielVorgabe() {
  return Z_Alles::PfadVerbinden(Z_Alles::ordnerTmp, QStringLiteral("DS ") + Z_Alles::ProduktName +
                                                         QStringLiteral(" {jjjj-mm-tt} {hh-mm}"));
}

QString ZielOrdner(const QString& eingabe, QString* fehler) {
  auto fehlschlag = [&](const QString& text) {
    if (fehler) *fehler = text;
    return QString();
  };
  QString t = eingabe.trimmed();
  if (!t.isEmpty() && istTrenner(t.back())) t.chop(1);
  t = VarioErsetzen(t).trimmed();
  t.replace(u'\\', u'/');
  if (t == QLatin1String("~")) t = QDir::homePath();
  else if (t.startsWith(QLatin1String("~/"))) t = QDir::homePath() + t.mid(1);
  if (t.isEmpty()) return fehlschlag(QStringLiteral("Es wurde kein Zielordner angegeben."));
  if (!QDir::isAbsolutePath(t))
    return fehlschlag(QStringLiteral("Der Zielordner „%1“ ist kein vollständiger Pfad.\r\n\r\nGeben Sie ihn "
                                     "mit „/“ am Anfang an, oder mit „~/“ für einen Ordner in Ihrem "
                                     "persönlichen Ordner.")
                          .arg(t));
  t = QDir::cleanPath(t);
  // The nearest part of the path that exists must be a folder we may write to.
  QString p = t;
  while (!QFileInfo::exists(p) && !QFileInfo(p).isSymLink() && p != QLatin1String("/")) p = QFileInfo(p).path();
  const QFileInfo vorhanden(p);
  if (!vorhanden.isDir())
    return fehlschlag(QStringLiteral("„%1“ ist eine Datei und kein Ordner; dorthin kann nicht gesichert werden.").arg(p));
  if (!vorhanden.isWritable())
    return fehlschlag(QStringLiteral("In den Ordner „%1“ darf nicht geschrieben werden.").arg(p));
  return t;
}

QVector<QString> Quellen(const QString& extra1, const QString& extra2) {
  using namespace Z_Alles;
  QVector<QString> q(10);
  q[0] = ordnerPrg.isEmpty() ? QString() : ordnerPrg + u'/';
  q[1] = ordnerDat.isEmpty() ? QString() : ordnerDat + u'/';
  // Every setting and counter of the program is in this file.
  q[2] = ordnerSub.isEmpty() ? QString() : PfadVerbinden(ordnerSub, QStringLiteral("Dormik.ini"));
  q[3] = ordnerSub.isEmpty() ? QString() : PfadVerbinden(ordnerSub, QStringLiteral("Vesk*.ini"));
  if (!extra1.isEmpty()) q[4] = VarioErsetzen(extra1);
  if (!extra2.isEmpty()) q[5] = VarioErsetzen(extra2);
  return q;
}

QString ZielFuer(const QString& ziel, const QString& quelle) {
  QString q = quelle;
  q.replace(u'\\', u'/');
  static const QRegularExpression laufwerk(QStringLiteral("^[A-Za-z]:"));
  q.remove(laufwerk);
  qsizetype a = 0;
  while (a < q.size() && q[a] == u'/') ++a;
  q = q.mid(a);
  while (q.endsWith(u'/')) q.chop(1);
  if (ziel.isEmpty()) return q;
  return q.isEmpty() ? ziel : Z_Alles::PfadVerbinden(ziel, q);
}

Plattform::Job Auftrag(const QString& ziel, const QVector<QString>& quellen, const QString& ergebnis,
                       QStringList* anzeige, QStringList* zeilen) {
  Plattform::Job job;
  job.titel(QStringLiteral("DS ") + produktMitVersion())
      .leerzeile()
      .kommentar(QStringLiteral("Datensicherung / Kopierjob"))
      .ordnerAnlegen(ziel);
  const qsizetype anfang = job.zeilen().size();
  QStringList liste;
  // One step per source, so a failure can be told by source.
  for (QString q : quellen) {
    if (q.isEmpty()) continue;
    if (istTrenner(q.back())) {
      while (!q.isEmpty() && istTrenner(q.back())) q.chop(1);
      if (q.isEmpty()) q = QStringLiteral("/");
      liste << Z_Alles::PfadVerbinden(q, QStringLiteral("*.*"));
      ordnerSichern(job, ziel, q);
    } else {
      liste << q;
      const QString name = Z_Alles::PfadTeil(q, 3);
      const QString ordner = Z_Alles::PfadTeil(q, -1);
      if (name.contains(u'*') || name.contains(u'?')) musterSichern(job, ziel, ordner.isEmpty() ? "/" : ordner, name);
      else if (QFileInfo(q).isDir()) ordnerSichern(job, ziel, q);
      else job.dateienKopieren({q}, ZielFuer(ziel, ordner), true);
    }
    job.fehlerMerken(int(liste.size()) - 1);
  }
  if (anzeige) *anzeige = liste;
  if (zeilen) *zeilen = job.zeilen().mid(anfang);
  job.leerzeile()
      .leerzeile()
      .kommentar(QStringLiteral("Das wars"))
      .echo(QStringLiteral("*** Das wars ***"))
      .ergebnisSchreiben(ergebnis)
      .pause(9)
      .leerzeile()
      .kommentar(QStringLiteral("Zeige die Datensicherung im Explorer"))
      .nurOhneFehler()
      .ordnerZeigen(ziel)
      .leerzeile()
      .kommentar(QStringLiteral("Abschliessend das Script wieder loeschen"));
  return job;
}

}  // namespace Sicherung

void Datensicherung(const QString& extra1, const QString& extra2) {
  using namespace Sicherung;
  const QString ueberschrift = QStringLiteral("Datensicherung - ") + produktMitVersion();
  const QString vorgabe = Z_Alles::IniLesen(QString(), QString(), QStringLiteral("DSOrdner"), ZielVorgabe());
  bool abgebrochen = false;
  const QString antwort = Plattform::InputBox(
      Z_Alles::MeldungsText(QStringLiteral(
          "Geben Sie eine Laufwerk mit Ordner an, in welchem Programm, Daten und Einstellungen gesichert "
          "werden sollen.~~Das kann ein lokales Laufwerk, ein Ordner im Netzwerk oder auch ein USB-Laufwerk "
          "sein.~~Platzhalter für z. B.~Datum {jjjj-mm-tt} und Uhrzeit {hh-mm} sind möglich.")),
      ueberschrift, vorgabe, &abgebrochen);
  if (abgebrochen || antwort.trimmed().isEmpty()) return;
  // Stored as typed, so the placeholders give a new folder next time.
  Z_Alles::IniSchreiben(QString(), QString(), QStringLiteral("DSOrdner"), antwort);

  QString fehler;
  const QString ziel = ZielOrdner(antwort, &fehler);
  if (ziel.isEmpty()) {
    Plattform::MsgBox(fehler + QStringLiteral("\r\n\r\nDie Datensicherung wurde nicht gestartet."),
                      Plattform::vbOKOnly | Plattform::vbExclamation, ueberschrift);
    return;
  }

  const QString jobPfad = Z_Alles::PfadVerbinden(Z_Alles::ordnerTmp, JobName);
  const QString ergebnis = Z_Alles::PfadVerbinden(Z_Alles::ordnerTmp, ErgebnisName);
  QStringList anzeige, zeilen;
  const Plattform::Job job = Auftrag(ziel, Quellen(extra1, extra2), ergebnis, &anzeige, &zeilen);
  for (const QString& z : zeilen) Z_Alles::DebugLog(QStringLiteral("DS: ") + z);

  // The target and the sources go in as they are: a "~" in a folder name is no line break.
  const QString text =
      Z_Alles::MeldungsText(QStringLiteral("Ganz wichtig: Diese Funktion ist nur eine Zwischenlösung und ersetzt "
                                           "keine Datensicherung anderer Programme oder Ihres gesamten "
                                           "Rechners!!!~~Folgende Dateien werden nach ~")) +
      QStringLiteral("»") + ziel + QStringLiteral("« gesichert:\r\n\r\n") + anzeige.join(QStringLiteral("\r\n")) +
      QStringLiteral("\r\n\r\n") +
      QStringLiteral("Überprüfen Sie nach der Sicherung unbedingt, ob die Daten kopiert wurden!");
  if (Plattform::MsgBox(text, Plattform::vbOKCancel | Plattform::vbExclamation | Plattform::vbDefaultButton1,
                        ueberschrift) != Plattform::vbOK)
    return;

  bool ok = !Z_Alles::ordnerTmp.isEmpty() && QDir().mkpath(Z_Alles::ordnerTmp) && job.schreiben(jobPfad, &fehler);
  QString log;
  if (ok) QFile::remove(ergebnis);
  if (ok && !Plattform::Job::ausfuehrenImFenster(jobPfad, Z_Alles::ordnerTmp, &log)) {
    QFile::remove(jobPfad);
    fehler = QStringLiteral("Die Shell /bin/sh ließ sich nicht starten.");
    ok = false;
  }
  if (!ok) {
    Z_Alles::DebugLog(QStringLiteral("DS: Job nicht gestartet: ") + jobPfad + QStringLiteral(" - ") + fehler);
    Plattform::MsgBox(QStringLiteral("Die Datensicherung konnte nicht gestartet werden.\r\n\r\n") +
                          (fehler.isEmpty() ? QStringLiteral("Der Temp-Ordner „%1“ fehlt.").arg(Z_Alles::ordnerTmp)
                                            : fehler),
                      Plattform::vbOKOnly | Plattform::vbExclamation, ueberschrift);
    return;
  }
  ausgangMelden(ergebnis, ziel, log, anzeige, ueberschrift);
}

void DatensicherungRegistrieren() {
  HauptfensterHaken::MitHauptfenster([](Hauptfenster& h) {
    h.befehlEintragen(QStringLiteral("&Datei"), QStringLiteral("Daten&sicherung..."), [] { Datensicherung(); }, {},
                      Hauptfenster::NurMenue, QStringLiteral("mnuDatensicherung"));
  });
}

}  // namespace Z_Vario
