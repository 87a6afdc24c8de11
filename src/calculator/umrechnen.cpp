// The unit file and the unit conversion.
#include "calculator/umrechnen.h"

#include <QFile>
#include <QRegularExpression>
#include <QStandardPaths>
#include <cerrno>
#include <cmath>

#include "calculator/z_evaluate2.h"
#include "foundation/z_alles.h"
#include "platform/laufzeit.h"
#include "platform/shell.h"
#include "platform/dateifehler.h"
#include "platform/textdatei.h"

namespace Umrechnen {

namespace {

// The file of that name in a folder, matched without regard to case; empty when none.
QString DateiImOrdner(const QString& ordner) {
  if (ordner.isEmpty()) return {};
  const QStringList namen = Laufzeit::DateienSuchen(ordner, DateiName);
  if (namen.isEmpty()) return {};
  return Z_Alles::PfadVerbinden(ordner, namen.first());
}

bool IstKopfzeile(const QString& zeile) {
  return zeile.startsWith(QLatin1Char('[')) && zeile.endsWith(QLatin1Char(']')) && zeile.size() >= 2;
}

QString Kopfname(const QString& zeile) { return zeile.mid(1, zeile.size() - 2); }

// The text before the first "=" of the lines of one section, starting after line kopf.
QStringList NamenNach(const QStringList& zeilen, qsizetype kopf, bool einstellungenAuslassen) {
  QStringList namen;
  for (qsizetype i = kopf + 1; i < zeilen.size(); ++i) {
    const QString& z = zeilen[i];
    if (z.startsWith(QLatin1Char('['))) break;
    const qsizetype gleich = z.indexOf(QLatin1Char('='));
    if (gleich < 0) continue;
    if (einstellungenAuslassen && z.startsWith(QLatin1Char('_'))) continue;
    const QString name = z.left(gleich);
    // A name of blanks only could not be looked up as a key.
    if (name.trimmed().isEmpty()) continue;
    namen << name;
  }
  return namen;
}

QString Lesen(const QString& pfad, const QString& abschnitt, const QString& schluessel,
              const QString& vorgabe) {
  // Keys are compared trimmed, as the profile reader does; a flagged name keeps its blank only
  // in the lists.
  return Z_Alles::IniLesen(pfad, abschnitt, schluessel.trimmed(), vorgabe);
}

// Evaluates a text; abgelehnt = refused or an arithmetic fault.
double Auswerten(const Auswerter& auswerten, QString text, bool* abgelehnt) {
  double wert;
  bool fehler;
  if (auswerten) {
    const bool vorherMarkiert = text.startsWith(QLatin1Char('%'));
    wert = auswerten(text);
    fehler = !vorherMarkiert && text.startsWith(QLatin1Char('%'));
  } else {
    Z_Evaluate2::Fehler grund = Z_Evaluate2::Fehler::Keiner;
    wert = Z_Evaluate2::Evaluate(text, &grund);
    fehler = grund != Z_Evaluate2::Fehler::Keiner;
  }
  if (abgelehnt) *abgelehnt = fehler || !std::isfinite(wert);
  return std::isfinite(wert) ? wert : 0.0;
}

QString Zahl(double wert) { return Laufzeit::ZahlText(std::isfinite(wert) ? wert : 0.0); }

}  // namespace

QString DateiBereitstellen(QString* fehler) {
  if (fehler) fehler->clear();
  if (DateiImOrdner(Z_Alles::ordnerDat).isEmpty() && !Z_Alles::ordnerDat.isEmpty() && !Z_Alles::NurLesen) {
    const QString mitgeliefert = DateiImOrdner(Z_Alles::ordnerPrg);
    if (!mitgeliefert.isEmpty()) {
      QFile quelle(mitgeliefert);
      QString grund;
      bool gut = quelle.open(QIODevice::ReadOnly);
      if (gut) {
        const QByteArray inhalt = quelle.readAll();
        gut = Plattform::BytesSchreibenAtomar(Z_Alles::PfadVerbinden(Z_Alles::ordnerDat, DateiName),
                                              inhalt, &grund);
      } else {
        grund = Plattform::SystemFehlerText(errno);
      }
      if (!gut) {
        Z_Alles::DebugLog("Rechner.Dat nicht kopiert: " + grund);
        if (fehler)
          *fehler = QStringLiteral("Die Einheitendatei »%1« konnte nicht in den Datenordner kopiert "
                                   "werden: %2").arg(DateiName, grund);
      }
    }
  }
  return Z_Alles::DateiSuchen(DateiName);
}

QStringList ZeilenLesen(const QString& pfad, bool* ok, bool* keinText) {
  if (keinText) *keinText = false;
  bool gelesen = false;
  const QString text = pfad.isEmpty() ? QString() : Plattform::TextLesen(pfad, &gelesen);
  if (ok) *ok = gelesen;
  if (!gelesen || text.isEmpty()) return {};
  if (text.contains(QChar(0))) {
    if (keinText) *keinText = true;
    return {};
  }
  static const QRegularExpression zeilenende(QStringLiteral("\r\n|\n|\r"));
  QStringList zeilen = text.split(zeilenende);
  if (!zeilen.isEmpty() && zeilen.last().isEmpty()) zeilen.removeLast();
  return zeilen;
}

QStringList Rubriken(const QStringList& zeilen) {
  QStringList namen;
  for (const QString& z : zeilen) {
    if (!IstKopfzeile(z) || z.startsWith(QLatin1String("[_"))) continue;
    const QString name = Kopfname(z);
    if (!name.trimmed().isEmpty()) namen << name;
  }
  return namen;
}

QStringList Vorsilben(const QStringList& zeilen) {
  for (qsizetype i = 0; i < zeilen.size(); ++i)
    if (zeilen[i].compare(QLatin1String("[_SI]"), Qt::CaseInsensitive) == 0)
      return NamenNach(zeilen, i, false);
  return {};
}

QStringList Einheiten(const QStringList& zeilen, const QString& rubrik) {
  const QString kopf = QLatin1Char('[') + rubrik + QLatin1Char(']');
  for (qsizetype i = 0; i < zeilen.size(); ++i)
    if (zeilen[i] == kopf) return NamenNach(zeilen, i, true);
  return {};
}

int ZuletztLesen(const QString& pfad, const QString& schluessel, const QString& vorgabe) {
  const double wert = Laufzeit::Val(Lesen(pfad, AbschnittZuletzt, schluessel, vorgabe));
  if (!std::isfinite(wert) || wert < -1e9 || wert > 1e9) return -1;
  return int(std::trunc(wert));
}

void ZuletztSchreiben(const QString& pfad, const QString& schluessel, int index) {
  if (pfad.isEmpty()) return;
  const QString text = QString::number(index);
  if (Lesen(pfad, AbschnittZuletzt, schluessel, QStringLiteral("?")) == text) return;
  Z_Alles::IniSchreiben(pfad, AbschnittZuletzt, schluessel.trimmed(), text);
}

Ergebnis Berechnen(const QString& pfad, const Eingabe& e, const Auswerter& auswerten) {
  Ergebnis erg;
  if (pfad.isEmpty()) return erg;
  erg.ungeprueft = e.einheit[0].startsWith(QLatin1Char(' ')) || e.einheit[1].startsWith(QLatin1Char(' '));

  QString ps = Lesen(pfad, e.rubrik, QStringLiteral("_SIBasis"), QStringLiteral("SI"));
  if (!ps.startsWith(QLatin1Char('_'))) ps.prepend(QLatin1Char('_'));

  QString vorsilbenFaktor[2];
  QString einheitenFaktor[2];
  for (int i = 0; i < 2; ++i) {
    vorsilbenFaktor[i] = Lesen(pfad, ps, e.vorsilbe[i], QString());
    if (vorsilbenFaktor[i].isEmpty()) {
      vorsilbenFaktor[i] = QStringLiteral("1");
      erg.vorsilbeUnbekannt[i] = true;
    }
    const QString faktorText = Lesen(pfad, e.rubrik, e.einheit[i], QStringLiteral("1"));
    bool abgelehnt = false;
    const double faktor = Auswerten(auswerten, faktorText, &abgelehnt);
    einheitenFaktor[i] = Zahl(faktor);
    if ((abgelehnt || faktor == 0) && erg.hinweis.isEmpty())
      erg.hinweis = QStringLiteral("Der Faktor »%1« der Einheit »%2« ist keine gültige Zahl; "
                                   "bitte »%3« prüfen.")
                        .arg(faktorText, e.einheit[i].trimmed(), DateiName);
  }

  // An empty value box means 0, not a refused formula.
  const QString wert = e.wert.trimmed().isEmpty() ? QStringLiteral("0") : e.wert;
  erg.formel1 = QStringLiteral("(%1) * (%2) / (%3)").arg(wert, vorsilbenFaktor[0], einheitenFaktor[0]);
  bool abgelehnt = false;
  double basis = Auswerten(auswerten, erg.formel1, &abgelehnt);

  const QString rundung = Lesen(pfad, e.rubrik, QStringLiteral("_ZwischenRundung"), QString());
  if (!abgelehnt && !rundung.isEmpty()) {
    const double n = std::trunc(Laufzeit::Val(rundung));
    const double skala = std::pow(10.0, n);
    const double gerundet = std::floor(basis * skala) / skala;
    if (std::isfinite(gerundet)) basis = gerundet;
  }

  erg.formel2 = QStringLiteral("%1 / (%2) * (%3)").arg(Zahl(basis), vorsilbenFaktor[1], einheitenFaktor[1]);
  if (!abgelehnt) erg.wert = Auswerten(auswerten, erg.formel2, &abgelehnt);
  if (abgelehnt) {
    erg.wert = 0;
    if (erg.hinweis.isEmpty())
      erg.hinweis = QStringLiteral("Der Wert »%1« lässt sich nicht umrechnen.").arg(e.wert.trimmed());
  }
  if (erg.hinweis.isEmpty()) {
    // A name that appears twice: the settings reader always finds the first one.
    const QStringList einheiten = Einheiten(ZeilenLesen(pfad), e.rubrik);
    for (int i = 0; i < 2 && erg.hinweis.isEmpty(); ++i) {
      int gleich = 0;
      for (const QString& n : einheiten)
        if (n.trimmed().compare(e.einheit[i].trimmed(), Qt::CaseInsensitive) == 0) ++gleich;
      if (gleich > 1)
        erg.hinweis = QStringLiteral("Die Einheit »%1« steht mehrmals in der Rubrik »%2«; es gilt "
                                     "ihr erster Eintrag.").arg(e.einheit[i].trimmed(), e.rubrik);
    }
  }
  return erg;
}

QStringList EditorBefehl(const QString& pfad) {
  const QString gespeichert =
      Z_Alles::IniLesen(QString(), QStringLiteral("Verknüpfung"), QStringLiteral("PrgTxtEdit"),
                        QStringLiteral("NotePad"));
  QStringList befehl = Plattform::BefehlszeileZerlegen(gespeichert);
  QString programm = befehl.isEmpty() ? QString() : befehl.first();
  QString name = Z_Alles::PfadTeil(programm, 3);
  if (name.endsWith(QLatin1String(".exe"), Qt::CaseInsensitive)) name.chop(4);
  // The Windows default names an editor this system does not have: take the desktop's one.
  if (programm.isEmpty() || name.compare(QLatin1String("notepad"), Qt::CaseInsensitive) == 0) {
    befehl.clear();
    for (const char* kandidat : {"gnome-text-editor", "gedit", "kate", "kwrite", "mousepad", "xed",
                                 "pluma", "featherpad", "leafpad", "xdg-open"}) {
      if (!QStandardPaths::findExecutable(QString::fromLatin1(kandidat)).isEmpty()) {
        befehl << QString::fromLatin1(kandidat);
        break;
      }
    }
    if (befehl.isEmpty()) befehl << QStringLiteral("xdg-open");
  }
  befehl << pfad;
  return befehl;
}

}  // namespace Umrechnen
