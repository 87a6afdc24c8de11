// Settings: the shared settings file Dormik.ini and other INI-format files, with the program's
// file and section rules and its value encoding ("**" for a line break, "“" for a double quote).
#include <QDir>

#include "foundation/z_alles.h"
#include "foundation/intern.h"
#include "platform/laufzeit.h"
#include "platform/profil.h"
#include "platform/registry.h"
#include "platform/system.h"

namespace Z_Alles {

namespace {

const QString kZeilenumbruch = QStringLiteral("\r\n");
const QString kSterne = QStringLiteral("**");
const QChar kAnfuehrung(0x201C);  // “

QString einstellungsOrdner() {
  return ordnerSub.isEmpty() ? Plattform::KonfigBasisOrdner() : ordnerSub;
}

QString abschnittName(const QString& abschnitt) {
  QString a = abschnitt.isEmpty() ? ProgrammTitel : abschnitt;
  // A line break in a section or key name would split the line and corrupt the file.
  a.replace('\r', ' ').replace('\n', ' ');
  return a;
}

QString schluesselName(const QString& schluessel) {
  QString s = schluessel.isEmpty() ? QStringLiteral("NoKey") : schluessel;
  s.replace('\r', ' ').replace('\n', ' ');
  return s;
}

// Every line end becomes "**": a lone CR or LF would otherwise end the line in the file and
// could even start a new section or key.
QString wertKodieren(const QString& wert) {
  QString w = Intern::BlanksTrimmen(wert);
  QString aus;
  aus.reserve(w.size() + 8);
  for (qsizetype i = 0; i < w.size(); ++i) {
    const QChar c = w[i];
    if (c == u'\r') {
      aus += kSterne;
      if (i + 1 < w.size() && w[i + 1] == u'\n') ++i;
    } else if (c == u'\n') {
      aus += kSterne;
    } else if (c == u'"') {
      aus += kAnfuehrung;
    } else {
      aus += c;
    }
  }
  return aus;
}

QString wertDekodieren(QString wert) {
  if (wert.contains(kSterne)) wert.replace(kSterne, kZeilenumbruch);
  if (wert.contains(kAnfuehrung)) wert.replace(kAnfuehrung, QChar(u'"'));
  return wert;
}

QString zahlAlsText(double wert) {
  QString t = Laufzeit::ZahlText(wert);
  if (t.startsWith(u'.')) t.prepend(u'0');
  else if (t.startsWith(u"-.")) t.insert(1, u'0');
  return t;
}

}  // namespace

QString IniDateiPfad(const QString& datei) {
  if (datei.isEmpty()) return einstellungsOrdner() + QStringLiteral("/Dormik.ini");
  QString pfad = datei;
  pfad.replace(u'\\', u'/');
  if (pfad.size() < 4 || pfad[pfad.size() - 4] != u'.') pfad += QStringLiteral(".ini");
  if (pfad.contains(u'/')) return pfad;
  // A bare name: the shared files live in the settings folder, the Windows files in our
  // stand-in Windows folder, and everything else beside them in the settings folder (never
  // the current folder, which changes with the way the program was started).
  if (pfad.compare(u"win.ini", Qt::CaseInsensitive) == 0 ||
      pfad.compare(u"system.ini", Qt::CaseInsensitive) == 0)
    return WindowsOrdner() + u'/' + pfad;
  return einstellungsOrdner() + u'/' + pfad;
}

QString IniLesen(const QString& datei, const QString& abschnitt, const QString& schluessel,
                 const QString& vorgabe) {
  bool gefunden = false;
  const QString wert = Plattform::ProfilLesen(IniDateiPfad(datei), abschnittName(abschnitt),
                                              schluesselName(schluessel), vorgabe, &gefunden);
  if (gefunden) return wertDekodieren(wert);
  // A missing key gives the default without trailing blanks, as the system's reader did.
  qsizetype e = vorgabe.size();
  while (e > 0 && vorgabe[e - 1] == u' ') --e;
  return vorgabe.left(e);
}

QString IniSchreiben(const QString& datei, const QString& abschnitt, const QString& schluessel,
                     const QString& wert) {
  return IniSchreiben(datei, QList<IniWert>{{abschnitt, schluessel, wert}}).constFirst();
}

QStringList IniSchreiben(const QString& datei, const QList<IniWert>& werte) {
  QStringList gespeichert;
  QList<Plattform::ProfilWert> profil;
  for (const IniWert& w : werte) {
    gespeichert.append(wertKodieren(w.wert));
    profil.append({abschnittName(w.abschnitt), schluesselName(w.schluessel), gespeichert.constLast()});
  }
  const QString pfad = IniDateiPfad(datei);
  const Plattform::ProfilSperre sperre(pfad);
  if (!sperre.gesperrt()) DebugLog(QStringLiteral("IniSchreiben ohne Sperre: ") + pfad);
  if (!Plattform::ProfilSchreiben(pfad, profil)) {
    // The keys are named only for the log of a failure, not on every write.
    QStringList namen;
    for (const Plattform::ProfilWert& w : profil)
      namen.append(QStringLiteral("[%1] %2").arg(w.abschnitt, w.schluessel));
    DebugLog(QStringLiteral("IniSchreiben fehlgeschlagen: ") + pfad + u' ' + namen.join(QStringLiteral(", ")));
  }
  return gespeichert;
}

QString IniSchreiben(const QString& datei, const QString& abschnitt, const QString& schluessel,
                     double wert) {
  return IniSchreiben(datei, abschnitt, schluessel, zahlAlsText(wert));
}

QString IniLesenVorgabe(const QString& datei, const QString& abschnitt, const QString& schluessel,
                        const QString& vorgabe) {
  const QString wert = IniLesen(datei, abschnitt, schluessel, QString());
  if (!wert.isEmpty()) return wert;
  IniSchreiben(datei, abschnitt, schluessel, vorgabe);
  return vorgabe;
}

double IniZaehlen(const QString& datei, const QString& abschnitt, const QString& schluessel,
                  double betrag, const QList<IniWert>& dazu) {
  // Read and write under one lock, or two programs counting at once lose a step.
  const Plattform::ProfilSperre sperre(IniDateiPfad(datei));
  const double summe = Laufzeit::Val(IniLesen(datei, abschnitt, schluessel, QString())) + betrag;
  QList<IniWert> werte = {{abschnitt, schluessel, Laufzeit::Format(summe, QStringLiteral("0"))}};
  IniSchreiben(datei, werte + dazu);
  return summe;
}

QString RegEinstellungSchreiben(const QString& abschnitt, const QString& schluessel,
                                const QString& wert) {
  const QString pfad = QStringLiteral("SOFTWARE\\") + Hersteller + u'\\' +
                       (abschnitt.isEmpty() ? ProduktName : abschnitt);
  if (!Plattform::RegistrySchreiben(pfad, schluessel, wert))
    DebugLog(QStringLiteral("RegEinstellungSchreiben fehlgeschlagen: ") + pfad + u' ' + schluessel);
  return wert;
}

QString ProgrammOrdner(const QString& programmAbschnitt, const QString& art) {
  QString appDir = IniLesen(QString(), programmAbschnitt, QStringLiteral("OrdnerPrg"));
  appDir = Intern::OhneEndtrenner(appDir.replace(u'\\', u'/'));
  QString ordner;
  if (art.startsWith(u"dat", Qt::CaseInsensitive)) {
    ordner = IniLesen(QString(), programmAbschnitt, QStringLiteral("OrdnerDat"));
  } else {
    ordner = IniLesen(QString(), programmAbschnitt, QStringLiteral("ordnerPrg"));
    if (ordner.isEmpty()) ordner = IniLesen(QString(), programmAbschnitt, QStringLiteral("Dir"));
  }
  ordner = Ersetzen(ordner, QStringLiteral("{AppDir}"), appDir);
  ordner.replace(u'\\', u'/');
  return Intern::OhneEndtrenner(ordner);
}

}  // namespace Z_Alles
