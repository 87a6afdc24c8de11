// Starting other programs: editor, file manager, browser, and the trash.
#include "services/z_dos.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include "foundation/hauptfenster.h"
#include "foundation/z_alles.h"
#include "platform/dateifehler.h"
#include "platform/dialoge.h"
#include "platform/papierkorb.h"
#include "platform/shell.h"
#include "services/dienste_intern.h"
#include "services/links.h"

namespace Z_DOS {

namespace {

const QString kAbschnitt = QStringLiteral("Verknüpfung");
const QString kMusikDienst = QStringLiteral("https://play.google.com/music/listen#/sr/");

bool starten(const QStringList& teile, const QString& ordner, const QString& anzeige) {
  const Plattform::Sanduhr sanduhr;
  if (!teile.isEmpty() && Plattform::ProgrammStarten(teile.first(), teile.mid(1), ordner)) return true;
  Z_Alles::FehlerBehandlung(Plattform::FehlerDateiNichtGefunden,
                            QStringLiteral("Es ist ein Fehler beim Programmstart von~") + anzeige +
                                QStringLiteral("~") + ordner + QStringLiteral(" aufgetreten."));
  return false;
}

// A program from a settings key that could not be started: the user learns which key to fix.
void nichtGestartet(const QString& programm, const QString& schluessel) {
  Plattform::MsgBox(QStringLiteral("Das Programm »%1« konnte nicht gestartet werden.\r\n\r\n"
                                   "Bitte prüfen Sie den Eintrag %2 im Abschnitt [Verknüpfung] der "
                                   "Einstellungs-Datei Dormik.ini.")
                        .arg(programm, schluessel),
                    Plattform::vbExclamation, Z_Alles::ProgrammTitel);
}

}  // namespace

bool IstWindowsProgramm(const QString& programm, const QString& name) {
  QString datei = programm.trimmed();
  const qsizetype trenner = qMax(datei.lastIndexOf(u'/'), datei.lastIndexOf(u'\\'));
  datei = datei.mid(trenner + 1);
  if (datei.endsWith(QStringLiteral(".exe"), Qt::CaseInsensitive)) datei.chop(4);
  return datei.compare(name, Qt::CaseInsensitive) == 0;
}

QStringList EditorBefehl(const QString& editor, const QString& pfad) {
  const QString e = editor.trimmed();
  // A path with blanks may be stored without quotes of its own.
  QStringList befehl = QFileInfo(e).isFile() ? QStringList{e} : Plattform::BefehlszeileZerlegen(e);
  if (befehl.isEmpty() || IstWindowsProgramm(befehl.first(), QStringLiteral("notepad"))) return {};
  return befehl << pfad;
}

QStringList OrdnerBefehl(const QString& vorlage, const QString& ordner, const QString& titel) {
  QStringList teile = Plattform::BefehlszeileZerlegen(vorlage);
  if (teile.isEmpty() || IstWindowsProgramm(teile.first(), QStringLiteral("explorer"))) return {};
  // Each argument on its own and in one pass: a folder holding "{Caption}" or blanks stays
  // one argument and what it is.
  static const QRegularExpression platzhalter(QStringLiteral("\\{(ordner|caption)\\}"),
                                              QRegularExpression::CaseInsensitiveOption);
  for (QString& teil : teile)
    teil = Programmdienste::Intern::PlatzhalterErsetzen(teil, platzhalter, [&](const QString& name) {
      return name.compare(QStringLiteral("ordner"), Qt::CaseInsensitive) == 0 ? ordner : titel;
    });
  return teile;
}

QString MusikAdresse(const QString& titel) {
  using Z_Alles::Ersetzen;
  QString t = titel.trimmed();
  t = Ersetzen(t, QStringLiteral("(Album der Woche)"), {});
  t = Ersetzen(t, QStringLiteral(" von "), QStringLiteral(" "));
  t = Ersetzen(t, QStringLiteral(" "), QStringLiteral("+"));
  t = Ersetzen(t, QStringLiteral("++"), QStringLiteral("+"));
  static const QString erlaubt = QStringLiteral(
      "0123456789abcdefghijklmnopqrstuvwxyzäöüßABCDEFGHIJKLMNOPQRSTUVWXYZÄÖÜ_-+'()");
  QString gefiltert;
  for (const QChar c : t)
    if (erlaubt.contains(c)) gefiltert += c;
  return kMusikDienst + gefiltert;
}

void TextEditorStarten(const QString& pfad, int warten) {
  (void)warten;  // every caller starts the editor without waiting
  const QString editor = Z_Alles::IniLesen({}, kAbschnitt, QStringLiteral("PrgTxtEdit"),
                                           QStringLiteral("NotePad.exe"));
  const QStringList befehl = EditorBefehl(editor, pfad);
  if (befehl.isEmpty()) {
    Z_Alles::DokumentÖffnen(pfad);
    return;
  }
  starten(befehl, Z_Alles::WindowsOrdner(),
          editor.trimmed() + QStringLiteral(" \"") + pfad + QStringLiteral("\""));
}

bool ProgrammStarten(const QString& befehl, const QString& ordner, int fensterStil) {
  (void)fensterStil;  // the window manager places the new window
  return starten(Plattform::BefehlszeileZerlegen(befehl), ordner, befehl);
}

void OrdnerZeigen(const QString& ordner) {
  const QString vorlage = Z_Alles::IniLesen({}, kAbschnitt, QStringLiteral("DateiManager"),
                                            QStringLiteral("Explorer /e,/root,{Ordner}"));
  const QStringList befehl = OrdnerBefehl(vorlage, ordner, Z_Alles::ProgrammTitel);
  if (befehl.isEmpty()) {
    Z_Alles::DokumentÖffnen(ordner);
    return;
  }
  const Plattform::Sanduhr sanduhr;
  if (!Plattform::ProgrammStarten(befehl.first(), befehl.mid(1)))
    nichtGestartet(befehl.first(), QStringLiteral("DateiManager"));
}

void MusikSuchen(const QString& titel) {
  const QString adresse = MusikAdresse(titel);
  QString browser = Z_Alles::IniLesenVorgabe({}, kAbschnitt, QStringLiteral("GooglePlayBrowser"), {}).trimmed();
  if (browser.isEmpty()) {
    Z_Alles::LinkÖffnen(adresse);
    return;
  }
  // The key names one program, quoted as a whole (a path with blanks).
  if (!browser.startsWith(u'"')) browser.prepend(u'"');
  if (!browser.endsWith(u'"') || browser.size() == 1) browser.append(u'"');
  const QStringList teile = Plattform::BefehlszeileZerlegen(browser);
  const Plattform::Sanduhr sanduhr;
  if (teile.isEmpty() || !Plattform::ProgrammStarten(teile.first(), teile.mid(1) << adresse))
    nichtGestartet(teile.value(0, browser), QStringLiteral("GooglePlayBrowser"));
}

QStringList InPapierkorb(const QString& dateiliste, bool kopieZuerst) {
  (void)kopieZuerst;  // every caller passes false, which changes nothing
  QStringList geblieben;
  for (const QString& pfad : dateiliste.split(QChar(0), Qt::SkipEmptyParts)) {
    const QFileInfo info(pfad);
    if (!info.exists() && !info.isSymLink()) {
      Z_Alles::DebugLog(QStringLiteral("Papierkorb: nicht vorhanden: ") + pfad);
      continue;
    }
    QString grund;
    if (!Plattform::InPapierkorb(pfad, &grund)) {
      Z_Alles::DebugLog(QStringLiteral("Papierkorb: ") + grund);
      geblieben << pfad;
    }
  }
  if (!geblieben.isEmpty()) {
    const QString nl = QStringLiteral("\r\n");
    Plattform::MsgBox(QStringLiteral("Diese Dateien konnten nicht in den Papierkorb verschoben werden "
                                     "und sind noch vorhanden:") + nl + nl + geblieben.join(nl),
                      Plattform::vbExclamation, Z_Alles::ProgrammTitel);
  }
  return geblieben;
}

QStringList NotizblockDateien(const QString& ordner, const QString& name) {
  QStringList dateien;
  if (ordner.isEmpty() || name.trimmed().isEmpty()) return dateien;
  // Exactly the names the notepad's files have: "arbeit.t01" or "Arbeit.T01" belong to no
  // notepad "Arbeit" and stay.
  const QString vorn = name + QLatin1Char('.');
  const QDir d(ordner);
  for (const QString& n : d.entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name)) {
    if (!n.startsWith(vorn)) continue;
    const QString endung = n.mid(vorn.size());
    const bool notiz = endung.size() == 3 && (endung[0] == u't' || endung[0] == u'p') &&
                       endung[1].isDigit() && endung[2].isDigit() && endung[1].unicode() < 128 &&
                       endung[2].unicode() < 128;
    if (notiz || endung == QLatin1String("inf")) dateien << d.filePath(n);
  }
  return dateien;
}

void mnuNBLöschen_Click() {
  Hauptfenster* h = Hauptfenster::Instanz();
  if (!h || Z_Alles::NurLesen) return;
  const QString name = h->notizblockName();
  if (name.trimmed().isEmpty()) return;

  // The notepad shown afterwards: the default one, or another that exists.
  const QString standard = QStringLiteral("Skribon");
  QString anderer;
  if (name != standard) {
    anderer = standard;
  } else {
    for (const QString& inf : QDir(Z_Alles::ordnerDat).entryList({QStringLiteral("*.inf")}, QDir::Files, QDir::Name)) {
      const QString n = QFileInfo(inf).completeBaseName();
      if (n != name && !NotizblockDateien(Z_Alles::ordnerDat, n).isEmpty()) {
        anderer = n;
        break;
      }
    }
  }
  if (anderer.isEmpty()) {
    Plattform::MsgBox(QStringLiteral("Der Notizblock »%1« ist der einzige Notizblock und kann nicht "
                                     "gelöscht werden.").arg(name),
                      Plattform::vbExclamation, QStringLiteral("Notizblock löschen"));
    return;
  }
  const int antwort = Plattform::MsgBox(
      QStringLiteral("Soll der Notizblock »%1« mit allen Notizen gelöscht werden?\r\n\r\nSeine "
                     "Dateien werden in den Papierkorb verschoben.").arg(name),
      Plattform::vbYesNo | Plattform::vbQuestion | Plattform::vbDefaultButton2,
      QStringLiteral("Notizblock löschen"));
  if (antwort != Plattform::vbYes) return;

  // First away from the notepad, so nothing writes its files after they are gone.
  h->notizblockOeffnen(anderer);
  if (h->endet() || h->notizblockName() == name) return;
  const QStringList dateien = NotizblockDateien(Z_Alles::ordnerDat, name);
  const QStringList geblieben = InPapierkorb(dateien.join(QChar(0)) + QChar(0) + QChar(0), false);
  h->statusSetzen(geblieben.isEmpty()
                      ? QStringLiteral("Notizblock »%1« in den Papierkorb verschoben").arg(name)
                      : QStringLiteral("Notizblock »%1« nicht vollständig gelöscht").arg(name));
}

}  // namespace Z_DOS

namespace Programmdienste::Intern {

QString PlatzhalterErsetzen(const QString& teil, const QRegularExpression& muster,
                            const std::function<QString(const QString&)>& wert, bool* ersetzt) {
  QString aus;
  qsizetype pos = 0;
  bool gefunden = false;
  for (auto it = muster.globalMatch(teil); it.hasNext();) {
    const auto treffer = it.next();
    aus += teil.mid(pos, treffer.capturedStart() - pos) + wert(treffer.captured(1));
    pos = treffer.capturedEnd();
    gefunden = true;
  }
  if (ersetzt) *ersetzt = gefunden;
  return aus + teil.mid(pos);
}

}  // namespace Programmdienste::Intern
