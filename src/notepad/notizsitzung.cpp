#include "notepad/notizsitzung.h"

#include <QDir>
#include <QThread>

#include <cstdio>
#include <iterator>
#include <unistd.h>

#include "foundation/hauptfenster.h"
#include "foundation/z_alles.h"
#include "notepad/skribondiv.h"
#include "platform/dialoge.h"
#include "platform/farben.h"
#include "platform/laufzeit.h"
#include "platform/profil.h"
#include "platform/system.h"
#include "platform/textdatei.h"

using HauptfensterHaken::Punkt;

namespace {

// What held up the quit's settings locks, for the debug log (the user has gone).
void hindernisLoggen(const Plattform::SperrFrist& frist) {
  if (const QString hindernis = frist.hindernis(); !hindernis.isEmpty())
    Z_Alles::DebugLog(QStringLiteral("Beenden ohne Dateisperre: ") + hindernis);
}

const QString kNotizNr = QStringLiteral("NotizNr");  // [Allgemein] of the .inf: the note shown last
const QString kTextFarbe = QStringLiteral("&H80000008");        // window text
const QString kTextHintergrund = QStringLiteral("&H80000005");  // window background

}  // namespace

NotizSitzung::NotizSitzung(NotizAnsicht& ansicht) : ansicht_(ansicht) { umgebungSetzen({}); }

NotizSitzung::~NotizSitzung() {
  Plattform::DialogeAbschalten(false);  // switched off for this session's exit only
}

void NotizSitzung::umgebungSetzen(Umgebung umgebung) {
  umgebung_ = std::move(umgebung);
  if (!umgebung_.schleifenTiefe)
    umgebung_.schleifenTiefe = [] { return QThread::currentThread()->loopLevel(); };
  if (!umgebung_.prozessEnde) umgebung_.prozessEnde = [](int code) { ::_exit(code); };
}

// ---- Notepad and notes --------------------------------------------------------------------------

void NotizSitzung::notizblockOeffnen(const QString& gewuenscht) {
  QString name = gewuenscht;
  // A name no file can bear would fail at every save: the user hears it now, and the default
  // notepad is opened in its place.
  if (const QString grund = NotizSpeicher::NameFehler(name); !grund.isEmpty()) {
    const bool offen = speicher_.anzahl() > 0;
    const qsizetype kurz = name.size() > 60 && name[59].isHighSurrogate() ? 59 : 60;
    const QString gezeigt = name.size() > kurz ? name.left(kurz) + QChar(0x2026) : name;
    Plattform::MsgBox(QStringLiteral("Der Notizblock »%1« kann nicht geöffnet werden.\n\n%2\n\n%3")
                          .arg(gezeigt, grund,
                               offen ? QStringLiteral("Der bisherige Notizblock bleibt geöffnet.")
                                     : QStringLiteral("Es wird der Notizblock »Skribon« geöffnet.")),
                      Plattform::vbExclamation);
    if (offen) return;
    name = QStringLiteral("Skribon");
  }
  if (speicher_.anzahl() > 0 && !sichern(Anlass::Wechsel)) return;
  ansicht_.statusSetzen(QStringLiteral("Notizblock laden..."));
  speicher_.oeffnen(name, SkribonDiv::NotizAnzahl);
  halbOffen_ = true;
  SkribonDiv::NotizblockName = speicher_.name();
  SkribonDiv::NotizKennwort.clear();
  ansicht_.notizblockZeigen();

  bool ok = false;
  int nr = speicher_.allgemeinLesen(kNotizNr, QStringLiteral("1")).trimmed().toInt(&ok);
  if (!ok || nr < 1 || nr > SkribonDiv::NotizAnzahl) nr = 1;
  ansicht_.statusSetzen(QStringLiteral("Bereit"));
  laden(nr);
  halbOffen_ = false;
  ansicht_.reiterZeigen();
  ansicht_.belegungAuffrischen();
}

bool NotizSitzung::wechseln(int nr) {
  if (nr < 1 || nr > SkribonDiv::NotizAnzahl || endet_) return false;
  if (nr == SkribonDiv::NotizNr && speicher_.anzahl() > 0) {
    ansicht_.reiterZeigen();
    return true;
  }
  if (!sichern(Anlass::Wechsel)) {
    ansicht_.reiterZeigen();  // the unsaved note stays in front
    return false;
  }
  laden(nr);
  ansicht_.reiterZeigen();
  ansicht_.belegungAuffrischen();
  return true;
}

void NotizSitzung::laden(int nr) {
  NotizSpeicher::Notiz n;
  QString fehler;
  bool lesbar = speicher_.laden(nr, &n, &fehler);
  if (!lesbar && nr != 1) {
    Plattform::MsgBox(QStringLiteral("Die Notiz %1 kann nicht geöffnet werden.\n\n%2\n\nEs wird "
                                     "die Notiz 1 gezeigt.")
                          .arg(nr)
                          .arg(fehler),
                      Plattform::vbExclamation);
    nr = 1;
    lesbar = speicher_.laden(nr, &n, &fehler);
  }
  SkribonDiv::NotizNr = nr;
  geladen_ = n.schluessel;
  // A note that could not be read must not be written over; an enciphered one cannot be shown.
  geschuetzt_ = n.geschuetzt || !lesbar;
  SkribonDiv::NotizGeändert = false;
  letzterFehler_.clear();
  ansicht_.notizZeigen(n, lesbar, fehler);
}

NotizSchluessel NotizSitzung::schluesselAusEditor() const {
  const QFont f = ansicht_.notizSchrift();
  NotizSchluessel s = geladen_;
  // Stored values stay as they are (a font of the machine that wrote them may be missing here).
  if (s.FontName.trimmed().isEmpty()) s.FontName = f.family();
  if (s.FontSize.trimmed().isEmpty()) s.FontSize = QString::number(f.pointSizeF());
  if (s.FontBold.trimmed().isEmpty()) s.FontBold = f.bold() ? QStringLiteral("1") : QStringLiteral("0");
  if (s.FontItalic.trimmed().isEmpty()) s.FontItalic = f.italic() ? QStringLiteral("1") : QStringLiteral("0");
  if (s.ForeColor.trimmed().isEmpty()) s.ForeColor = Plattform::FarbZahlText(Plattform::FarbZahlLesen(kTextFarbe));
  if (s.BackColor.trimmed().isEmpty()) s.BackColor = Plattform::FarbZahlText(Plattform::FarbZahlLesen(kTextHintergrund));
  s.CrsrPos = QString::number(ansicht_.notizPosition());
  s.Save = Laufzeit::Format(Plattform::Jetzt(), QStringLiteral("dd.mm.yyyy hh:nn:ss"));
  s.Vers = HauptfensterHaken::VersionGespeichert();
  s.WordWrap = SkribonDiv::TextAktiv == 1 ? QStringLiteral("1") : QStringLiteral("0");
  return s;
}

bool NotizSitzung::sichern(Anlass anlass) {
  if (Z_Alles::NurLesen || geschuetzt_ || speicher_.anzahl() == 0) return true;
  if (sichertGerade_) return false;
  sichertGerade_ = true;
  QString fehler, andere;
  bool ok = schreiben(anlass, &fehler, &andere);
  // The boxes come after the write has been taken into account: an exit that runs while one is
  // open finds the note as it is on disk.
  if (!ok)
    ok = sicherungFehlgeschlagen(fehler, anlass);
  else if (!andere.isEmpty() && !stumm_)
    Plattform::MsgBox(QStringLiteral("Die Notiz %1 wurde inzwischen von einem anderen Programm "
                                     "geändert (zum Beispiel von Skribon auf einem anderen "
                                     "Rechner).\n\nIhre Fassung ist gespeichert. Die andere "
                                     "Fassung wurde aufbewahrt in\n»%2«.")
                          .arg(SkribonDiv::NotizNr)
                          .arg(QDir::toNativeSeparators(andere)),
                      Plattform::vbInformation);
  ansicht_.panelsAuffrischen();
  sichertGerade_ = false;
  return ok;
}

void NotizSitzung::zeitSichern() {
  if (endet_ || Z_Alles::NurLesen) return;
  if (SkribonDiv::NotizGeändert) sichern(Anlass::Timer);
}

bool NotizSitzung::schreiben(Anlass anlass, QString* fehler, QString* andere) {
  const int nr = SkribonDiv::NotizNr;
  if (SkribonDiv::NotizGeändert) {
    const NotizSchluessel s = schluesselAusEditor();
    // The exit keeps the shown note's number too: with the note's keys it costs no write of
    // its own.
    QList<QPair<QString, QString>> allgemein;
    if (anlass == Anlass::Ende && !halbOffen_) allgemein.append({kNotizNr, QString::number(benutzerNotiz())});
    if (!speicher_.sichern(nr, ansicht_.notizText(), s, fehler, andere, allgemein)) return false;
    geladen_ = s;
    SkribonDiv::NotizGeändert = false;
    letzterFehler_.clear();
    ansicht_.hinweisLoeschen();
    ansicht_.belegungAuffrischen();
  } else if (anlass != Anlass::Timer) {
    // Nothing typed, but the caret may have moved: that alone is worth keeping.
    const int pos = ansicht_.notizPosition();
    if (pos != geladen_.CrsrPos.trimmed().toInt()) {
      QString f;
      if (speicher_.positionSichern(nr, pos, &f)) geladen_.CrsrPos = QString::number(pos);
      else Z_Alles::DebugLog(QStringLiteral("Cursorposition nicht gespeichert: ") + f);
    }
  }
  return true;
}

bool NotizSitzung::sicherungFehlgeschlagen(const QString& fehler, Anlass anlass) {
  Z_Alles::DebugLog(QStringLiteral("Notiz sichern fehlgeschlagen: ") + fehler);
  const bool wiederholung = fehler == letzterFehler_;
  letzterFehler_ = fehler;
  ansicht_.hinweisZeigen(QStringLiteral("Die Notiz %1 ist nicht gespeichert!").arg(SkribonDiv::NotizNr));
  // The exit tells the user itself; the timer does not repeat a message already shown.
  if (anlass == Anlass::Ende || (anlass == Anlass::Timer && wiederholung)) return false;
  QString wozu;
  if (anlass == Anlass::Wechsel) wozu = QStringLiteral("\n\nDie Notiz bleibt geöffnet.");
  Plattform::MsgBox(QStringLiteral("Die Notiz %1 konnte nicht gespeichert werden.\n\n%2\n\n"
                                   "Der Text bleibt im Fenster erhalten; beim nächsten Sichern "
                                   "wird es erneut versucht.%3")
                        .arg(SkribonDiv::NotizNr)
                        .arg(fehler, wozu),
                    Plattform::vbExclamation);
  return false;
}

// ---- The end ------------------------------------------------------------------------------------
//
// The user's own exit may ask; signals, the end of the desktop session and the remote close have
// no one to ask and go through endeOhneRueckfrage(), the one place that decides how the program
// ends then (see the header for why windows close only from the outermost event loop).

bool NotizSitzung::verschachtelt() const { return umgebung_.schleifenTiefe() > 1; }

void NotizSitzung::beenden(bool ohneRueckfrage) {
  if (sofort_) return;
  if (ohneRueckfrage) endeOhneRueckfrage();
  else if (!endet_) geordnetBeenden(false);
}

void NotizSitzung::endeOhneRueckfrage() {
  // Nobody will answer a box any more: none may stop the exit.
  Plattform::DialogeAbschalten(true);
  if (!endet_ && !verschachtelt()) {
    geordnetBeenden(true);
    return;
  }
  if (endet_ && !endeLaeuft()) {
    // The exit has run to its end and written everything. Outside any event loop the caller is
    // leaving the program already; inside one, something kept the program alive past its exit.
    if (umgebung_.schleifenTiefe() > 0) prozessBeenden(true);
    return;
  }
  // A box or window waits further down the stack, perhaps the exit's own question.
  Z_Alles::DebugLog(QStringLiteral("Beenden ohne Rückfrage, während ein Fenster wartet"));
  const Plattform::SperrFrist sperrFrist;
  const Plattform::OrdnerSyncGebuendelt ordnerSync;  // synced by prozessBeenden
  endet_ = true;
  ansicht_.zeitgeberAnhalten();
  stumm_ = true;
  if (schritt_ == Schritt::Notiz) notizSchrittBeginnen();
  const bool sicher = notizRetten();
  schritteBisEntladen();
  schritt_ = Schritt::Fertig;
  hindernisLoggen(sperrFrist);
  prozessBeenden(sicher);
}

void NotizSitzung::geordnetBeenden(bool ohneRueckfrage) {
  endet_ = true;
  // Locks that cannot be taken hold up the quit by a few seconds in all.
  const Plattform::SperrFrist sperrFrist;
  // Every file of the exit is synced as it replaces the old one; their folders (the data and
  // the settings folder) once each, at the end or before a box waits for the user.
  const Plattform::OrdnerSyncGebuendelt ordnerSync;
  ansicht_.zeitgeberAnhalten();

  // 1. The note. No one may be at the screen to read a message.
  notizSchrittBeginnen();
  stumm_ = ohneRueckfrage;
  const bool gesichert = sichern(Anlass::Ende);
  stumm_ = false;
  if (!gesichert && !endenTrotzFehler(ohneRueckfrage)) {
    endet_ = false;
    schritt_ = Schritt::Notiz;
    ansicht_.zeitgeberStarten();
    return;
  }

  // 2.-6. Settings and the steps of other folders.
  schritteBisEntladen();

  // 7. Every window goes, but only from the outermost event loop.
  schritt_ = Schritt::Fertig;
  if (verschachtelt() || textVerloren_) {
    hindernisLoggen(sperrFrist);
    prozessBeenden(!textVerloren_);
  }
  ansicht_.statusSetzen(QStringLiteral("Beenden..."));
  HauptfensterHaken::Ausfuehren(Punkt::EndeEntladen);
  HauptfensterHaken::Ausfuehren(Punkt::EndeProgramm);
  ansicht_.fensterSchliessen();
  hindernisLoggen(sperrFrist);
}

void NotizSitzung::notizSchrittBeginnen() {
  // Counted as begun before it runs, like the steps after it; every way out says so once.
  schritt_ = Schritt::Einstellungen;
  ansicht_.statusSetzen(QStringLiteral("Beenden... Notiz sichern..."));
  Z_Alles::DebugLog(QStringLiteral("Programm beenden... Notiz sichern..."));
}

bool NotizSitzung::endenTrotzFehler(bool ohneRueckfrage) {
  const int nr = SkribonDiv::NotizNr;
  const QString fehler = letzterFehler_;
  if (!ohneRueckfrage) {
    const int antwort = Plattform::MsgBox(
        QStringLiteral("Die Notiz %1 konnte nicht gespeichert werden.\n\n%2\n\n"
                       "Trotzdem beenden? Der Text wird dann als Notfallkopie gesichert.\n"
                       "Mit »Nein« bleibt Skribon mit dem Text geöffnet.")
            .arg(nr)
            .arg(fehler),
        Plattform::vbYesNo | Plattform::vbExclamation | Plattform::vbDefaultButton2);
    if (antwort != Plattform::vbYes) return false;
  }
  // The text goes where it cannot be lost.
  const QString kopie = notfallKopieSchreiben();
  if (ohneRueckfrage) {
    // No one to keep the program open for: it ends, but not as if all went well.
    textVerloren_ = kopie.isEmpty();
    return true;
  }
  if (kopie.isEmpty()) {
    Plattform::MsgBox(QStringLiteral("Auch die Notfallkopie der Notiz %1 konnte nicht geschrieben "
                                     "werden. Skribon bleibt geöffnet, damit der Text nicht "
                                     "verloren geht.")
                          .arg(nr),
                      Plattform::vbCritical);
    return false;
  }
  Plattform::MsgBox(QStringLiteral("Der Text der Notiz %1 liegt in der Notfallkopie\n»%2«.")
                        .arg(nr)
                        .arg(QDir::toNativeSeparators(kopie)),
                    Plattform::vbInformation);
  return true;
}

void NotizSitzung::schritteBisEntladen() {
  // The steps after the settings, in order: what the status bar says and where other folders
  // hook in.
  static const struct {
    QString status;
    Punkt punkt;
  } kHaken[] = {{QStringLiteral("Beenden... Export..."), Punkt::EndeExport},
                {QStringLiteral("Beenden... Hilfe schließen..."), Punkt::EndeHilfe},
                {QStringLiteral("Beenden... Benutzer abmelden..."), Punkt::EndeAbmelden},
                {QStringLiteral("Beenden... Statistik..."), Punkt::EndeStatistik}};
  static_assert(std::size(kHaken) == int(Schritt::Entladen) - int(Schritt::Export));
  while (schritt_ < Schritt::Entladen) {
    const Schritt schritt = schritt_;
    // Counted as begun before it runs: a signal during a box of this step goes on with the next.
    schritt_ = Schritt(int(schritt) + 1);
    if (schritt == Schritt::Einstellungen) {
      ansicht_.statusSetzen(QStringLiteral("Beenden... Einstellungen sichern..."));
      Z_Alles::DebugLog(QStringLiteral("Programm beenden... Einstellungen sichern..."));
      einstellungenSichern();
    } else if (schritt >= Schritt::Export) {
      const auto& h = kHaken[int(schritt) - int(Schritt::Export)];
      ansicht_.statusSetzen(h.status);
      HauptfensterHaken::Ausfuehren(h.punkt);
    }
  }
}

// The user's note, not the one a walk through the notes has reached.
int NotizSitzung::benutzerNotiz() {
  return SkribonDiv::BenutzerNotizNr > 0 ? SkribonDiv::BenutzerNotizNr : SkribonDiv::NotizNr;
}

void NotizSitzung::einstellungenSichern() {
  if (Z_Alles::NurLesen || !ansicht_.platzSichern()) return;
  // None while the new notepad's note is not loaded yet (NotizNr is still the old notepad's).
  if (speicher_.anzahl() > 0 && !halbOffen_)
    speicher_.allgemeinSchreiben(kNotizNr, QString::number(benutzerNotiz()));
}

bool NotizSitzung::notizRetten() {
  if (Z_Alles::NurLesen || geschuetzt_ || speicher_.anzahl() == 0) return true;
  QString fehler, andere;
  if (schreiben(Anlass::Ende, &fehler, &andere)) return true;
  Z_Alles::DebugLog(QStringLiteral("Notiz sichern fehlgeschlagen: ") + fehler);
  return !notfallKopieSchreiben().isEmpty();
}

QString NotizSitzung::notfallKopieSchreiben() {
  const QString kopie = speicher_.notfallKopie(SkribonDiv::NotizNr, ansicht_.notizText());
  Z_Alles::DebugLog(QStringLiteral("Notiz nicht gespeichert, Notfallkopie: ") +
                    (kopie.isEmpty() ? QStringLiteral("-") : kopie));
  // The text is safe: an exit that runs while the next box is open does not copy it again.
  if (!kopie.isEmpty()) SkribonDiv::NotizGeändert = false;
  return kopie;
}

void NotizSitzung::prozessBeenden(bool textSicher) {
  Z_Alles::DebugLog(textSicher ? QStringLiteral("Programm beendet")
                               : QStringLiteral("Programm beendet, Notiz weder gespeichert noch kopiert"));
  // Every file was written and synced by the file layer, but the folders of the exit's bundle,
  // whose frame is never left; nothing is buffered here but stdio.
  Plattform::OrdnerSyncGebuendelt::jetztSynchronisieren();
  std::fflush(nullptr);
  umgebung_.prozessEnde(textSicher ? 0 : 1);
  ::_exit(textSicher ? 0 : 1);  // a stand-in that returned
}

bool NotizSitzung::sofortBeenden() {
  if (sofort_) return false;
  sofort_ = true;
  endet_ = true;  // the signals, the session end and aboutToQuit find the exit done
  schritt_ = Schritt::Fertig;
  ansicht_.zeitgeberAnhalten();
  return true;
}
