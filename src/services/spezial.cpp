#include "services/spezial.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include "foundation/z_alles.h"
#include "platform/dialoge.h"
#include "platform/drucker.h"
#include "platform/laufzeit.h"
#include "platform/system.h"
#include "services/dienste_intern.h"
#include "services/version.h"

namespace Z_Alles {

namespace {

const QString kTitel = QStringLiteral("Einstellungen spezial");
const QString kAllgemein = QStringLiteral("Allgemein");

void melden(const QString& text, const QStringList& werte = {}) {
  Meldung(text, Plattform::vbOKOnly | Plattform::vbInformation, kTitel, werte);
}

// On the program's current printer ("PDF-Datei" included), line by line, a new page when the
// next line would not fit. A failing printer is noted in the debug log only.
void drucken(const QStringList& zeilen, int schriftGroesse) {
  Plattform::Drucker& p = Plattform::Printer();
  p.setDokumentName(kTitel);
  p.setFontSize(schriftGroesse);
  const double zeile = p.TextHeight(QString());
  for (const QString& z : zeilen) {
    if (p.CurrentY() + zeile > p.ScaleTop() + p.ScaleHeight()) p.EndPage();
    p.Print(z, true);
  }
  const bool ok = p.EndDoc() && !p.Fehler();
  if (!ok) DebugLog(QStringLiteral("Einstellungen spezial: Ausdruck nicht möglich - ") + p.FehlerText());
  p.FehlerLoeschen();
  if (ok && p.Info().pdf && !p.LetzteDatei().isEmpty())
    Plattform::MsgBox(QStringLiteral("Der Ausdruck wurde als PDF-Datei gespeichert:\r\n\r\n") +
                          QDir::toNativeSeparators(p.LetzteDatei()),
                      Plattform::vbInformation, kTitel);
}

void schreibtest() {
  const Plattform::Sanduhr sanduhr;
  const bool ok = Programmdienste::Intern::EinstellungenSchreibbar();
  melden(QStringLiteral("Der Schreib-/Lesetest für Einstellungen in ~ %1~ist ") +
             (ok ? QStringLiteral("in Ordnung.") : QStringLiteral("fehlerhaft!!!")),
         {ordnerSub + QStringLiteral("/Dormik.ini")});
}

// A file typed without a folder names the settings file of that name in any case ("dormik"
// is Dormik.ini): users of the Windows version type names without regard to case.
QString dateiFeld(const QString& datei) {
  if (datei.isEmpty() || datei.contains(u'/') || datei.contains(u'\\')) return datei;
  const QFileInfo pfad(IniDateiPfad(datei));
  if (pfad.exists()) return datei;
  const QStringList namen = pfad.dir().entryList(QDir::Files);
  for (const QString& n : namen)
    if (n.compare(pfad.fileName(), Qt::CaseInsensitive) == 0) return pfad.dir().filePath(n);
  return datei;
}

}  // namespace

void SchreibschutzEntfernen(const QString& ordner, const QString& muster) {
  const QString o = QFileInfo(ordner).absoluteFilePath();
  if (ordner.trimmed().isEmpty() || o == QStringLiteral("/") || !QFileInfo(o).isDir()) return;
  QDirIterator it(o, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
  while (it.hasNext()) {
    const QFileInfo datei(it.next());
    if (datei.isSymLink() || !Laufzeit::PasstMuster(datei.fileName(), muster)) continue;
    const QFileDevice::Permissions rechte = datei.permissions();
    if (!(rechte & QFileDevice::WriteOwner)) QFile::setPermissions(datei.filePath(), rechte | QFileDevice::WriteOwner);
  }
}

bool EinstellungSpezial() {
  melden(QStringLiteral("Sie möchten spezialle Einstellungen vornehmen? Was bedeutet das?") +
         QStringLiteral("~~Einige Einstellungen sind sehr exotisch und nur für den Einsatz nach Absprache "
                        "gedacht. Diese Funktion ermöglicht die einfache Handhabung dieser Einstellungen.") +
         QStringLiteral("~~*** Wie werden diese speziellen Einstellungen vorgenommen?") +
         QStringLiteral("~~Geben Sie die übermittelten Einstellungen in das Eingabefeld ein. Einige "
                        "Funktionen werden erst wirksam, wenn Sie das Programm neu starten.") +
         QStringLiteral("~~*** Was ist noch zu beachten?") +
         QStringLiteral("~~Die Einstellungen werden in der Regel lokal vorgenommen, d. h. wenn Sie das "
                        "Programm innerhalb einer Netzwerk-Umgebung einsetzen, so müssen Sie die "
                        "Einstellungen bei Bedarf für jede Station vornehmen."));
  const QString antwort =
      Plattform::InputBox(MeldungsText(QStringLiteral("Geben Sie jetzt die Einstellungen ein. Achten Sie "
                                                      "bitte auf das Semikolon.")),
                          kTitel, QString())
          .trimmed();
  if (antwort.isEmpty()) return false;

  const QString befehl = antwort.toLower();
  if (befehl == QStringLiteral("-r")) {
    {
      const Plattform::Sanduhr sanduhr;
      SchreibschutzEntfernen(ordnerPrg, QStringLiteral("*.*"));
      SchreibschutzEntfernen(ordnerDat, QStringLiteral("*.*"));
      SchreibschutzEntfernen(ordnerCfg, QStringLiteral("*.*"));
      SchreibschutzEntfernen(ordnerSub, QStringLiteral("vesk*.ini"));
    }
    melden(QStringLiteral("Es wurde versucht den Schreibschutz zu entfernen.~~Bitte beenden Sie jetzt das "
                          "Programm und starten Sie es neu."));
    return false;
  }
  if (befehl == QStringLiteral("+debug") || befehl == QStringLiteral("-debug")) {
    const bool an = befehl.startsWith(u'+');
    IniSchreiben(QString(), kAllgemein, QStringLiteral("DebugMode"), an ? QStringLiteral("1") : QStringLiteral("0"));
    melden(an ? QStringLiteral("Der Debug-Modus wurde aktiviert.") : QStringLiteral("Der Debug-Modus wurde deaktiviert."));
    return false;
  }
  if (befehl == QStringLiteral("schreibtest")) {
    schreibtest();
    return false;
  }

  // General form: file;section;key;value, missing fields empty, anything after the fourth ";"
  // ignored.
  const QStringList felder = (antwort + QStringLiteral(";;;;;")).split(u';');
  const QString datei = dateiFeld(felder[0]), abschnitt = felder[1], schluessel = felder[2], wert = felder[3];
  if (schluessel.isEmpty()) {
    Plattform::MsgBox(QStringLiteral("Überprüfen Sie bitte noch einmal Ihre Eingabe »") + antwort + QStringLiteral("«."),
                      Plattform::vbOKOnly | Plattform::vbCritical, kTitel);
    return false;
  }
  const QString alt = IniLesen(datei, abschnitt, schluessel, QString());
  const QString neu = IniSchreiben(datei, abschnitt, schluessel, wert);
  const QString bestaetigung =
      MeldungsText(QStringLiteral("Entsprechend Ihrer Eingabe~~»%1«~~wurde der Wert von~~»%2«~~in~~»%3«~~geändert.~~"),
                   {antwort, alt, neu});
  const int frage = Plattform::MsgBox(bestaetigung + QStringLiteral("Wünschen Sie einen Ausdruck?"),
                                      Plattform::vbYesNo | Plattform::vbInformation | Plattform::vbDefaultButton2, kTitel);
  if (frage == Plattform::vbYes) {
    VersionsNummer();
    QStringList zeilen;
    zeilen << QStringLiteral("Einstellung Spezial ") + ProduktName + QStringLiteral(" Version ") + VersionsText
           << QString()
           << QStringLiteral("Datum ") + Laufzeit::Format(Plattform::Jetzt(), QStringLiteral("dd.mm.yyyy hh:nn"))
           << QString() << QString();
    zeilen << QString(bestaetigung).replace(QStringLiteral("\r\n"), QStringLiteral("\n")).split(u'\n');
    drucken(zeilen, 13);
  }
  return true;
}

}  // namespace Z_Alles
