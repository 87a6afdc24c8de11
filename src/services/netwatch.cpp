#include "services/netwatch.h"

#include <QFile>
#include <cmath>

#include "foundation/z_alles.h"
#include "platform/profil.h"
#include "platform/dialoge.h"
#include "platform/laufzeit.h"
#include "platform/system.h"
#include "services/dienste_intern.h"

namespace Z_Alles {

namespace {

const QString kAllgemein = QStringLiteral("Allgemein");
const QString kNachricht = QStringLiteral("Nachricht");
// Stands for a missing key: no settings file holds this character.
const QString kFehlt = QStringLiteral("\u0001");
constexpr int kHilfeThema = 3004;

bool nachrichtLaeuft_ = false;

bool eingeschaltet(const QString& datei, const QString& schluessel) {
  const double v = Laufzeit::Val(IniLesen(datei, kAllgemein, schluessel, QStringLiteral("0")));
  return v != 0 && !std::isnan(v);
}

QString flagName(const QString& mitte) {
  return ProgrammTitel + u'_' + mitte + QStringLiteral("RmtClose$DoIt.flg");
}

}  // namespace

QString NetWatchDatei() { return PfadVerbinden(ordnerDat, QStringLiteral("NetWatch.ini")); }

QString ComputerName() {
  QString name = Plattform::Umgebung(QStringLiteral("COMPUTERNAME")).trimmed();
  if (name.isEmpty()) name = Plattform::System().rechnername().trimmed();
  // The name becomes part of a file name: it must not lead into another folder.
  name.replace(u'/', u'_').replace(u'\\', u'_');
  return name;
}

void NetWatchPruefen(int modus, const QString& name) {
  if (NurLesen || modus != 0 || ordnerDat.isEmpty()) return;
  const QString datei = NetWatchDatei();
  if (eingeschaltet(datei, QStringLiteral("NoNetWatch"))) return;
  const Plattform::ProfilSperre sperre(datei);
  IniSchreiben(datei, QStringLiteral("UserJetzt_") + name, QStringLiteral("User"), QString());
}

void NetzNachrichtPrüfen() {
  // The box lets the timer run: a second check while it is open would show the message again.
  if (nachrichtLaeuft_ || NurLesen || ordnerDat.isEmpty()) return;
  nachrichtLaeuft_ = true;
  struct Freigabe {
    ~Freigabe() { nachrichtLaeuft_ = false; }
  } freigabe;

  const QString datei = NetWatchDatei();
  if (!eingeschaltet(datei, QStringLiteral("Benachrichtigen"))) return;
  const QString an = IniLesen(datei, kNachricht, QStringLiteral("User"));
  // A message without an addressee is for no one (a user whose name is unknown included).
  if (an.trimmed().isEmpty() || an.toLower() != Benutzername().toLower()) return;

  const QDateTime jetzt = Plattform::Jetzt();
  const QString datumGespeichert = IniLesen(datei, kNachricht, QStringLiteral("Date"), kFehlt);
  const QString datum = datumGespeichert == kFehlt
                            ? Laufzeit::Format(jetzt, QStringLiteral("dd.mm.yyyy hh:nn:ss"))
                            : datumGespeichert;
  bool ok = false;
  QDateTime zeit = Laufzeit::DatumLesen(datum, &ok);
  if (!ok) zeit = QDateTime(QDate(1970, 1, 1), QTime(0, 0));
  if (double(std::llabs(Programmdienste::Intern::MinutenGrenzen(zeit, jetzt))) / 60.0 > 5) return;

  const QString textGespeichert = IniLesen(datei, kNachricht, QStringLiteral("Text"), kFehlt);
  const QString text = textGespeichert == kFehlt ? datum : textGespeichert;
  Plattform::MsgBox(text, Plattform::vbOKOnly | Plattform::vbInformation | Plattform::vbMsgBoxHelpButton,
                    ProduktName + QStringLiteral(" Datei-Reservierung"), kHilfeThema);

  // Cleared only when it is still the message shown: another user may have left a new one
  // while the box was open.
  const Plattform::ProfilSperre sperre(datei);
  if (IniLesen(datei, kNachricht, QStringLiteral("User"), kFehlt) != an ||
      IniLesen(datei, kNachricht, QStringLiteral("Date"), kFehlt) != datumGespeichert ||
      IniLesen(datei, kNachricht, QStringLiteral("Text"), kFehlt) != textGespeichert)
    return;
  IniSchreiben(datei, kNachricht, QStringLiteral("User"), QString());
  IniSchreiben(datei, kNachricht, QStringLiteral("Text"), QString());
  IniSchreiben(datei, kNachricht, QStringLiteral("Date"), QString());
}

void NetzReservierungPrüfen() {}

int FernSchliessenPrüfen(int modus) {
  // The general flag first; both with one look at each folder (a busy network folder is
  // searched once a tick).
  const QString flag = DateiSuchen(QStringList{flagName(QString()), flagName(ComputerName() + u'_')});
  if (modus == 0) {
    if (!flag.isEmpty() && !QFile::remove(flag))
      DebugLog(QStringLiteral("Fernschließen-Kennung nicht gelöscht: ") + flag);
    return 0;
  }
  return flag.isEmpty() ? 0 : 1;
}

}  // namespace Z_Alles

namespace Programmdienste::Intern {
void NetWatchZuruecksetzen() { Z_Alles::nachrichtLaeuft_ = false; }
}  // namespace Programmdienste::Intern
