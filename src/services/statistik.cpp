#include "services/statistik.h"

#include <QFile>
#include <QFileInfo>
#include <cmath>

#include "foundation/z_alles.h"
#include "notepad/skribondiv.h"
#include "platform/dialoge.h"
#include "platform/laufzeit.h"
#include "platform/system.h"
#include "platform/textdatei.h"
#include "services/dienste_intern.h"
#include "services/netwatch.h"
#include "services/version.h"

namespace Z_Alles {

namespace {

using Programmdienste::Intern::MinutenGrenzen;
using Programmdienste::Intern::ZahlWert;

const QString kAllgemein = QStringLiteral("Allgemein");
const QString kZeitMuster = QStringLiteral("dd.mm.yyyy hh:nn:ss");

LaenderFormat eigenesFormat_;
LaenderFormat* format_ = nullptr;
bool endeGelaufen_ = false;
bool startGezaehlt_ = false;  // this run's start is in Stat_StartLast

// How much of a hint file is shown: a binary or huge file must not make a box the size of a
// screen or hold control characters.
constexpr qsizetype kHinweisGrenze = 2000;

QString programmWert(const QString& schluessel) { return IniLesen(QString(), QString(), schluessel); }

bool istSchreibgeschuetzt(const QString& pfad) {
  return !(QFile::permissions(pfad) & QFileDevice::WriteOwner);
}

QString ersteDatei(const QString& ordner, const QString& muster) {
  if (ordner.isEmpty()) return {};
  const QStringList namen = Laufzeit::DateienSuchen(ordner, muster);
  return namen.isEmpty() ? QString() : PfadVerbinden(ordner, namen.first());
}

// The hint file's lines, each followed by "~"; control characters dropped.
QString hinweisZeilen(const QString& pfad) {
  QString text = Plattform::TextLesen(pfad).left(kHinweisGrenze * 2);
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
  QStringList zeilen = text.split(u'\n');
  if (!zeilen.isEmpty() && zeilen.last().isEmpty()) zeilen.removeLast();  // the last line's end
  QString aus;
  for (QString z : zeilen) {
    z.removeIf([](QChar c) { return c.category() == QChar::Other_Control && c != u'\t'; });
    aus += z + u'~';
  }
  if (aus.size() > kHinweisGrenze) aus = aus.left(kHinweisGrenze) + QStringLiteral(" ...~");
  return aus;
}

}  // namespace

// ---- Regional settings ------------------------------------------------------------------------

QString LaenderFormat::zahl(double wert, const QString& muster) { return Laufzeit::Format(wert, muster); }
QString LaenderFormat::zahlText(double wert) { return Laufzeit::ZahlText(wert).replace(u'.', u','); }
bool LaenderFormat::istDatum(const QString& text) { return Laufzeit::IstDatum(text); }
QString LaenderFormat::kurzesDatum(const QDate& datum) {
  return Laufzeit::Format(datum, QStringLiteral("dd.mm.yyyy"));
}
QString LaenderFormat::datumZeitText(const QDateTime& zeit) { return Laufzeit::Format(zeit, kZeitMuster); }

void SetzeLaenderFormat(LaenderFormat* format) { format_ = format; }
LaenderFormat& Laenderformat() { return format_ ? *format_ : eigenesFormat_; }

QString LaenderEinstellungPruefen() {
  LaenderFormat& f = Laenderformat();
  QString warnung;
  const QString dezimal = f.zahl(1.0 / 3.0, QStringLiteral(".0")).left(1);
  const QString gruppe = f.zahl(1000, QStringLiteral("0,000")).mid(1, 1);
  if (dezimal != QStringLiteral(",") || gruppe != QStringLiteral("."))
    warnung += QStringLiteral(
                   "Als Dezimaltrennzeichen sollte ein Komma und als Gruppierungszeichen ein Punkt "
                   "eingestellt sein.~Es könnte sein, dass Berechnungen und Zahlenformatierungen "
                   "falsch durchgeführt werden! Der Bruch 10000/3 wird z. B. als ") +
               f.zahl(10000.0 / 3.0, QStringLiteral("#,##0.00")) + QStringLiteral(" formatiert.~~");
  const QString probe = QStringLiteral("31.12.1997");
  if (!f.istDatum(probe) || f.kurzesDatum(QDate(1997, 12, 31)).mid(2, 1) != QStringLiteral("."))
    warnung += QStringLiteral("Als Datumsformat sollte die Form tt.mm.jjjj gewählt werden. ") +
               QStringLiteral("~Es könnte sein, dass Berechnungen und Formatierungen falsch "
                              "durchgeführt werden! Das heutige Datum wird z. B. als '") +
               f.kurzesDatum(Plattform::Jetzt().date()) + QStringLiteral("' formatiert.~~");
  if (!warnung.isEmpty()) {
    warnung = ProgrammTitel + QStringLiteral(" Version ") + QString::number(SKRIBON_VERSION_MAJOR) +
              u'.' + QStringLiteral("%1").arg(SKRIBON_VERSION_MINOR, 2, 10, QLatin1Char('0')) +
              QStringLiteral(" erwartet eine Ländereinstellung, wie sie im deutschsprachigen Gebiet "
                             "üblich ist.~~") +
              warnung +
              QStringLiteral("Die Einstellungen können Sie innerhalb der~Systemsteuerung / Regions- "
                             "und Sprachoptionen bzw. Ländereinstellungen vornehmen.") +
              QStringLiteral("~~Möchten Sie diesen Hinweis als Erinnerung weiterhin angezeigt "
                             "bekommen? Dieses wird empfohlen!");
    warnung = MeldungsText(warnung);
  }
  const double hinweis = ZahlWert(IniLesen(QString(), kAllgemein, QStringLiteral("LänderHinweis"), QStringLiteral("1")));
  if (hinweis != 0 && !warnung.isEmpty()) {
    const int antwort = Plattform::MsgBox(
        warnung, Plattform::vbYesNo | Plattform::vbCritical | Plattform::vbDefaultButton1,
        ProgrammTitel + QStringLiteral(" - bitte Ländereinstellung überprüfen"));
    if (antwort == Plattform::vbNo)
      IniSchreiben(QString(), kAllgemein, QStringLiteral("LänderHinweis"), QStringLiteral("0"));
  }
  return warnung;
}

// ---- Read-only decision -------------------------------------------------------------------------

void SchreibrechtePruefen() {
  DebugLog(QStringLiteral("Prüfe Schreib-/Leserechte"));
  NurLesen = false;

  // 1. The command line.
  if (SkribonDiv::Befehlszeile.join(u' ').toLower().contains(QStringLiteral("readonly"))) NurLesen = true;

  // 2. The notepad index file write-protected.
  QString inf = ersteDatei(ordnerDat, QStringLiteral("*.inf"));
  if (inf.isEmpty()) inf = ersteDatei(ordnerPrg, QStringLiteral("*.inf"));
  if (!inf.isEmpty() && DateiExistiert(inf) && istSchreibgeschuetzt(inf)) NurLesen = true;

  // 3. The hint file; its lines tell the user why.
  const QString hinweis = ersteDatei(ordnerPrg, QStringLiteral("ReadOnly.txt"));
  if (!hinweis.isEmpty() && DateiExistiert(hinweis)) {
    NurLesen = true;
    const QString zeilen = hinweisZeilen(hinweis);
    if (!QString(zeilen).remove(u'~').trimmed().isEmpty())
      Meldung(zeilen, Plattform::vbOKOnly | Plattform::vbInformation, ProduktName + QStringLiteral(", nur Leserechte"));
  }

  // 4. Write and read back. The value must differ from the one stored: a write that failed
  // would otherwise read back the old, equal value and pass.
  const float sekunden = float(QTime(0, 0).secsTo(Plattform::Jetzt().time()));
  const float wert = sekunden * float(Plattform::Zufall()) * 1000.0f;
  QString probe = Laufzeit::Format(double(wert), QStringLiteral("0"));
  if (IniLesen(QString(), kAllgemein, QStringLiteral("Schreibtest"), QStringLiteral("?")) == probe)
    probe = Laufzeit::Format(double(wert) + 1, QStringLiteral("0"));
  IniSchreiben(QString(), kAllgemein, QStringLiteral("Schreibtest"), probe);
  if (IniLesen(QString(), kAllgemein, QStringLiteral("Schreibtest"), QStringLiteral("?")) != probe) NurLesen = true;

  DebugLog(QStringLiteral("Nur Leserechte: ") + (NurLesen ? QStringLiteral("Wahr") : QStringLiteral("Falsch")));
}

// ---- Statistics ---------------------------------------------------------------------------------

void StartStatistik() {
  const QDateTime jetzt = Plattform::Jetzt();
  VersionsNummer();
  // One write for the whole start.
  QList<IniWert> dazu;
  if (!Laufzeit::IstDatum(programmWert(QStringLiteral("Stat_StartFirst"))))
    dazu.append({QString(), QStringLiteral("Stat_StartFirst"), Laufzeit::Format(jetzt.date(), QStringLiteral("dd.mm.yyyy"))});
  dazu.append({QString(), QStringLiteral("Stat_StartLast"), Laufzeit::Format(jetzt, kZeitMuster)});
  dazu.append({QStringLiteral("Version"), ProgrammTitel, VersionsText});
  IniZaehlen(QString(), QString(), QStringLiteral("Stat_Starts"), 1, dazu);
  startGezaehlt_ = true;
  FernSchliessenPrüfen(0);
  const double mwst = ZahlWert(IniLesen(QString(), kAllgemein, QStringLiteral("MwSt")));
  MwStSatz = mwst > 0 ? float(mwst) : 19.0f;
}

void EndeStatistik() {
  // The exit may be reached twice (a remote close during a closing dialog): the run's minutes
  // count once.
  if (endeGelaufen_) return;
  endeGelaufen_ = true;
  const QDateTime jetzt = Plattform::Jetzt();
  const QString start = IniLesen(QString(), QString(), QStringLiteral("Stat_StartLast"),
                                 Laufzeit::Format(jetzt, kZeitMuster));
  bool ok = false;
  const QDateTime startZeit = Laufzeit::DatumLesen(start, &ok);
  // A clock set back must not take minutes away. Ended before this run's start was counted (in
  // a box at start), the last start is the previous run's: none of its minutes are this run's.
  const qint64 minuten = ok && startGezaehlt_ ? std::max<qint64>(0, MinutenGrenzen(startZeit, jetzt)) : 0;
  const bool mitOrt = !InIDE();
  if (mitOrt && VersionsNr.isEmpty()) VersionsNummer();
  // One write for the whole end.
  QList<IniWert> dazu;
  if (mitOrt)
    dazu = {{QString(), QStringLiteral("Dir"), ordnerPrg},
            {QString(), QStringLiteral("Ver"), VersionsNr},
            {QString(), QStringLiteral("VerBit"), QStringLiteral("32") + VersionsNr}};
  IniZaehlen(QString(), QString(), QStringLiteral("Stat_RunMinutes"), double(minuten), dazu);
  if (!mitOrt) return;
  // The folder as it is: on a file system that tells case apart a re-capitalised path would
  // name a folder that does not exist.
  RegEinstellungSchreiben(QString(), QStringLiteral("Dir"), ordnerPrg);
}

QString StatistikText(int modus) {
  const QString erster = programmWert(QStringLiteral("Stat_StartFirst"));
  bool ok = false;
  const QDateTime ersterTag = erster.isEmpty() ? QDateTime() : Laufzeit::DatumLesen(erster, &ok);
  QString t;
  if (ok) {
    const QDateTime jetzt = Plattform::Jetzt();
    const double starts = ZahlWert(programmWert(QStringLiteral("Stat_Starts")));
    const double lauf = ZahlWert(programmWert(QStringLiteral("Stat_RunMinutes"))) * 60;
    const QString nutzText = programmWert(QStringLiteral("Stat_UseMinutes"));
    const double nutz = ZahlWert(nutzText) * 60;
    // Day 0 (the first start's own day) or a first start in the future: no basis for averages.
    const qint64 tage = ersterTag.date().daysTo(jetzt.date());
    auto proTag = [&](bool mitNutzzeit) {
      QString s = ZahlMitEinheit(starts / double(tage), 0) + QStringLiteral("Starts pro Tag und ") +
                  DauerText(lauf / double(tage), 0);
      if (mitNutzzeit && !nutzText.isEmpty())
        s += QStringLiteral(" [") + DauerText(nutz / double(tage), 0) + QStringLiteral(" Nutzzeit]");
      return s + QStringLiteral(" pro Tag.");
    };
    if (modus == 2) {
      if (tage > 0) t = proTag(false);
    } else {
      const qint64 alter = QDateTime(ersterTag.date(), QTime(0, 0)).secsTo(jetzt);
      t = QStringLiteral("Seit dem ") + erster;
      // A first start dated in the future (a clock set wrong) has no age to show.
      if (alter >= 0) t += QStringLiteral(" (vor ") + DauerText(double(alter), 1) + u')';
      t += QStringLiteral(" wurde das Programm ") + Laufzeit::Format(starts, QStringLiteral("#,##0")) + QStringLiteral(" mal gestartet und ") +
          QStringLiteral("lief dabei ") + DauerText(lauf, 0);
      if (!nutzText.isEmpty()) t += QStringLiteral(" [") + DauerText(nutz, 0) + QStringLiteral(" Nutzzeit]");
      t += QStringLiteral(".\r\n");
      if (tage > 0) t += QStringLiteral("~Das entspricht durchschnittlich ") + proTag(true);
    }
  }
  t = MeldungsText(t);
  return t.isEmpty() ? QStringLiteral("Sorry, aber keine Datengrundlage vorhanden.") : t;
}

}  // namespace Z_Alles

namespace Programmdienste::Intern {

bool EinstellungenSchreibbar() {
  using namespace Z_Alles;
  const QString wert = NeueGuid();
  IniSchreiben(QString(), kAllgemein, QStringLiteral("Schreibtest"), wert);
  return IniLesen(QString(), kAllgemein, QStringLiteral("Schreibtest"), QStringLiteral("?")) == wert;
}

qint64 MinutenGrenzen(const QDateTime& a, const QDateTime& b) {
  auto minute = [](const QDateTime& z) {
    const qint64 s = z.toSecsSinceEpoch();
    return s >= 0 ? s / 60 : (s - 59) / 60;
  };
  return minute(b) - minute(a);
}

double ZahlWert(const QString& text) {
  const double v = Laufzeit::Val(text);
  return std::isfinite(v) ? v : 0.0;
}

void StatistikZuruecksetzen() {
  Z_Alles::endeGelaufen_ = false;
  Z_Alles::startGezaehlt_ = false;
  Z_Alles::format_ = nullptr;
  Z_Alles::VersionsText.clear();
  Z_Alles::VersionsNr.clear();
}
}  // namespace Programmdienste::Intern
