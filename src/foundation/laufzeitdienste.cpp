// Run-time services: development-environment test, the central error handler, the debug and
// usage logs, waiting, key state and sound cues.
#include <QDir>
#include <QFileInfo>

#include "foundation/dienste.h"
#include "foundation/hauptfenster.h"
#include "foundation/z_alles.h"
#include "platform/dialoge.h"
#include "platform/laufzeit.h"
#include "platform/system.h"
#include "platform/textdatei.h"

namespace Z_Alles {

void ZahlenNamenZuruecksetzen();  // zahlen_namen.cpp

namespace {

quint32 letzterTick = 0;
bool tickGesetzt = false;
int fehlerTiefe = 0;  // an error box is open

QString zeitStempel(const QDateTime& z) {
  return Laufzeit::Format(z, QStringLiteral("dd.mm.yyyy hh:nn:ss"));
}

QString fehlerTipp(int nummer) {
  switch (nummer) {
    case 53:
      return QStringLiteral("Eine Datei wurde nicht gefunden. Bitte prüfen Sie, ob die Datei noch "
                            "vorhanden ist und ob ihr Name stimmt.");
    case 70:
    case 75:
      return QStringLiteral("Der Zugriff wurde verweigert. Vielleicht ist die Datei schreibgeschützt, "
                            "von einem anderen Programm geöffnet, oder Ihnen fehlen die Rechte für "
                            "den Ordner.");
    case 76:
      return QStringLiteral("Der Pfad wurde nicht gefunden. Bitte prüfen Sie, ob der Ordner vorhanden "
                            "und erreichbar ist (Netzlaufwerk verbunden?).");
    case 61:
      return QStringLiteral("Der Datenträger ist voll. Bitte schaffen Sie Platz und versuchen Sie es "
                            "erneut.");
    case 71:
      return QStringLiteral("Der Datenträger ist nicht bereit. Bitte prüfen Sie das Laufwerk.");
    case 7:
      return QStringLiteral("Der Arbeitsspeicher reicht nicht aus. Bitte schließen Sie andere "
                            "Programme und starten Sie Skribon neu.");
    case 11:
      return QStringLiteral("Es wurde durch Null geteilt. Bitte prüfen Sie die eingegebenen Zahlen.");
    case 6:
      return QStringLiteral("Überlauf: eine Zahl ist zu groß für die Berechnung. Bitte prüfen Sie die "
                            "eingegebenen Zahlen.");
    default:
      return {};
  }
}

QString debugKopf() {
  QString k;
  const QString linie(70, u'=');
  k += linie + QStringLiteral("\r\n");
  k += QStringLiteral("%1 - Debug-Protokoll, begonnen %2\r\n")
           .arg(ProgrammTitel, zeitStempel(Plattform::Jetzt()));
  k += QStringLiteral("Version: %1\r\n").arg(HauptfensterHaken::BuildVersion());
  k += QStringLiteral("Programm: %1\r\n").arg(ordnerPrg);
  k += QStringLiteral("Einstellungen: %1\r\n").arg(ordnerSub);
  k += QStringLiteral("Daten: %1 (%2)\r\n").arg(ordnerDat, ordnerDatHerkunft);
  k += QStringLiteral("Temporär: %1\r\n").arg(ordnerTmp);
  if (dienste.diagnoseBericht) k += dienste.diagnoseBericht() + QStringLiteral("\r\n");
  k += linie + QStringLiteral("\r\n");
  return k;
}

}  // namespace

bool InIDE() {
#ifdef NDEBUG
  return false;
#else
  // A developer's debug build runs with SKRIBON_IDE=1 to let errors surface instead of being
  // passed over.
  return qEnvironmentVariable("SKRIBON_IDE") == QStringLiteral("1");
#endif
}

int FehlerBehandlung(int fehlerNummer, const QString& aufruferText, const QString& beschreibung,
                     const QString& quelle) {
  if (fehlerNummer == 0) return 0;

  IniSchreiben(QString(), QStringLiteral("Fehler"), QStringLiteral("Nummer"), double(fehlerNummer));
  IniSchreiben(QString(), QStringLiteral("Fehler"), QStringLiteral("Text"),
               MeldungsText(aufruferText) + (beschreibung.isEmpty() ? QString() : QStringLiteral(" | ") + beschreibung));
  IniSchreiben(QString(), QStringLiteral("Fehler"), QStringLiteral("Quelle"), quelle);
  IniSchreiben(QString(), QStringLiteral("Fehler"), QStringLiteral("Zeit"), zeitStempel(Plattform::Jetzt()));
  DebugLog(QStringLiteral("FEHLER %1: %2 | %3 | %4")
               .arg(fehlerNummer)
               .arg(aufruferText, beschreibung, quelle));

  // A second error while the box is open (a timer step): recorded, and the caller leaves.
  if (fehlerTiefe > 0) return 2;

  const QString nl = QStringLiteral("\r\n");
  QString text = QStringLiteral("Im Programm »%1« ist ein Fehler aufgetreten.").arg(ProgrammTitel);
  text += nl + nl + MeldungsText(aufruferText);
  text += nl + nl + QStringLiteral("Fehlernummer: %1").arg(fehlerNummer);
  if (!beschreibung.isEmpty()) text += nl + QStringLiteral("Beschreibung: ") + beschreibung;
  if (!quelle.isEmpty()) text += nl + QStringLiteral("Quelle: ") + quelle;
  const QString tipp = fehlerTipp(fehlerNummer);
  if (!tipp.isEmpty()) text += nl + nl + QStringLiteral("Tipp: ") + tipp;
  if (dienste.versionsAlter && dienste.versionsAlter() > 2.0 / 12.0)
    text += nl + nl +
            QStringLiteral("Hinweis: Ihre Programmversion ist älter als zwei Monate. Vielleicht ist "
                           "der Fehler in einer neueren Version schon behoben. Bitte prüfen Sie, ob "
                           "es eine neuere Version gibt.");
  const bool senden = bool(dienste.fehlerberichtSenden);
  if (senden)
    text += nl + nl +
            QStringLiteral("Möchten Sie einen Fehlerbericht senden?") + nl + nl +
            QStringLiteral("Ja = Fehlerbericht senden und fortfahren") + nl +
            QStringLiteral("Nein = ohne Fehlerbericht fortfahren") + nl +
            QStringLiteral("Abbrechen = Vorgang abbrechen");
  else
    text += nl + nl + QStringLiteral("Ja oder Nein = fortfahren, Abbrechen = Vorgang abbrechen");

  Ton(QStringLiteral("#SystemHand"));
  ++fehlerTiefe;
  const int antwort = Plattform::MsgBox(text, Plattform::vbYesNoCancel | Plattform::vbCritical,
                                        ProgrammTitel + QStringLiteral(" - Fehler"));
  if (antwort == Plattform::vbYes && senden) {
    QString bericht = text;
    if (dienste.diagnoseBericht) bericht += nl + nl + dienste.diagnoseBericht();
    if (!dienste.fehlerberichtSenden(bericht)) DebugLog(QStringLiteral("Fehlerbericht nicht gesendet"));
  }
  --fehlerTiefe;
  return (antwort == Plattform::vbYes || antwort == Plattform::vbNo) ? 5 : 2;
}

void DebugLog(const QString& text) {
  if (DebugModus == 0)
    DebugModus = Laufzeit::Val(IniLesen(QString(), QStringLiteral("Allgemein"),
                                        QStringLiteral("DebugMode"), QStringLiteral("0"))) > 0
                     ? 1
                     : -1;
  if (NurLesen || DebugModus < 1) return;
  QString datei = DebugDatei;
  if (datei.isEmpty()) {
    if (ordnerDat.isEmpty()) return;  // folders not resolved yet
    datei = ordnerDat + QStringLiteral("/Debug.txt");
  }
  if (text.compare(u"clr", Qt::CaseInsensitive) == 0) {
    tickGesetzt = false;
    Plattform::TextSchreiben(datei, debugKopf());
    return;
  }
  const quint32 tick = Plattform::Tickzaehler();
  const quint32 abstand = tickGesetzt ? tick - letzterTick : 0;  // wraps like the counter
  letzterTick = tick;
  tickGesetzt = true;
  Plattform::TextAnhaengen(datei, QStringLiteral("%1 | %2 | +%3 ms | %4\r\n")
                                      .arg(zeitStempel(Plattform::Jetzt()))
                                      .arg(tick)
                                      .arg(abstand)
                                      .arg(text));
}

void NutzungsLog(const QString& text, const QString& datei) {
  if (NurLesen) return;
  QString pfad = datei.isEmpty() ? ProgrammTitel + QStringLiteral(".use") : datei;
  if (!pfad.contains(u'/') && !pfad.contains(u'\\')) {
    if (ordnerDat.isEmpty()) return;
    pfad = ordnerDat + u'/' + pfad;
  }
  pfad.replace(u'\\', u'/');
  if (!Plattform::TextAnhaengen(pfad, zeitStempel(Plattform::Jetzt()) + QStringLiteral("  ") + text +
                                          QStringLiteral("\r\n")))
    DebugLog(QStringLiteral("NutzungsLog: ") + pfad + QStringLiteral(" nicht beschreibbar"));
}

void Warten(float sekunden) { Plattform::System().warten(double(sekunden)); }
bool IstShift() { return Plattform::System().shiftGedrueckt(); }
bool IstStrg() { return Plattform::System().strgGedrueckt(); }

void Ton(const QString& name) {
  if (name.isEmpty()) return;
  static const QStringList standard = {
      QStringLiteral("#SystemQuestion"), QStringLiteral("#SystemExclamation"),
      QStringLiteral("#SystemHand"),     QStringLiteral("#SystemAsterisk"),
      QStringLiteral("#RingIn"),         QStringLiteral("#RingOut"),
  };
  if (!name.startsWith(u'#') || standard.contains(name, Qt::CaseInsensitive)) {
    // Standard cues beep; an existing sound file is played, anything else beeps.
    Plattform::System().ton(name);
    return;
  }
  // Another cue: its sound file from section Sounds of Win.ini ("file,description").
  QString datei = IniLesen(QStringLiteral("Win.ini"), QStringLiteral("Sounds"), name.mid(1))
                      .section(u',', 0, 0)
                      .trimmed();
  datei.replace(u'\\', u'/');
  if (!datei.isEmpty() && QDir::isRelativePath(datei)) datei = PfadVerbinden(WindowsOrdner(), datei);
  Plattform::System().ton(DateiExistiert(datei) ? datei : name);
}

void ZustandZuruecksetzen() {
  letzterTick = 0;
  tickGesetzt = false;
  fehlerTiefe = 0;
  ZahlenNamenZuruecksetzen();
}

}  // namespace Z_Alles
