#include "services/diagnose.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QPrinterInfo>
#include <QScreen>
#include <QTemporaryFile>
#include <QtGlobal>
#include <cmath>

#include "foundation/z_alles.h"
#include "notepad/skribondiv.h"
#include "platform/laufzeit.h"
#include "platform/system.h"
#include "platform/systeminfo.h"
#include "services/dienste_intern.h"
#include "services/statistik.h"
#include "services/version.h"

namespace Z_Alles {

namespace {

using Programmdienste::Intern::EinstellungenSchreibbar;
using Programmdienste::Intern::ZahlWert;

const QString nl = QStringLiteral("\r\n");
const QString kZeitMuster = QStringLiteral("dd.mm.yyyy hh:nn:ss");

// Installation identifiers of the developers' machines.
const QStringList kEntwicklerGuids = {QStringLiteral("{6B1E3F0A-52C4-4D8E-9A17-3C5F0E2B7D41}")};

QString wahr(bool ok) { return ok ? QStringLiteral("true") : QStringLiteral("false !"); }

QString alterText(const QDateTime& seit) {
  return DauerText(double(seit.secsTo(Plattform::Jetzt())), 1);
}

double sekundenSeitMitternacht() { return double(QTime(0, 0).secsTo(Plattform::Jetzt().time())); }

}  // namespace

bool OrdnerSchreibtest(const QString& ordner) {
  if (ordner.isEmpty() || !QFileInfo(ordner).isDir()) return false;
  // Created here and now or not at all: a user's file of that name is neither changed nor
  // deleted. When the drawn name is taken, a free one is made up, so a taken name never reads
  // as a folder without write rights.
  QString datei = PfadVerbinden(ordner, QStringLiteral("$") +
                                            Laufzeit::Format(sekundenSeitMitternacht() * Plattform::Zufall(),
                                                             QStringLiteral("0")) +
                                            QStringLiteral(".txt"));
  QFile neu(datei);
  if (!neu.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
    if (!QFileInfo::exists(datei)) return false;
    QTemporaryFile frei(PfadVerbinden(ordner, QStringLiteral("$XXXXXX.txt")));
    frei.setAutoRemove(false);
    if (!frei.open()) return false;
    datei = frei.fileName();
  }
  neu.close();
  const QString wert = Laufzeit::Format(sekundenSeitMitternacht(), QStringLiteral("0"));
  IniSchreiben(datei, QStringLiteral("Allgemein"), QStringLiteral("Schreibtest"), wert);
  const bool ok = IniLesen(datei, QStringLiteral("Allgemein"), QStringLiteral("Schreibtest"), QStringLiteral("?")) == wert;
  QFile::remove(datei);
  return ok;
}

namespace {

QString zahlText(double v) { return Laufzeit::ZahlText(v); }

QString ordnerZeilen() {
  QString r = nl + nl + QStringLiteral("*** Ordner-Übersicht ***");
  r += nl + QStringLiteral("Aktuell    '") + Plattform::System().aktuellerOrdner() + QStringLiteral("' [$CurDir]");
  r += nl + QStringLiteral("Programm   '") + ordnerPrg + QStringLiteral("' [ordnerPrg] ");
  r += nl + QStringLiteral("Daten.Sub  '") + ordnerSub + QStringLiteral("' ; [ordnerSub] Dormik.ini");
  r += nl + QStringLiteral("Daten      '") + ordnerDat + QStringLiteral("' ; [ordnerDat] *.inf;*.t??");
  if (!ordnerDatPara.isEmpty())
    r += nl + QStringLiteral("Daten.Para '") + ordnerDatPara + QStringLiteral("' ; [ordnerDat] per Parameter gesetzt");
  r += nl + QStringLiteral("Konfig     '") + ordnerCfg + QStringLiteral("' ; [ordnerCfg] ***unused***");
  r += nl + QStringLiteral("Temporär   '") + ordnerTmp + QStringLiteral("' ; [ordnerTmp] ");
  r += nl + QStringLiteral("Windows    '") + WindowsOrdner() + u'\'';
  r += nl + QStringLiteral("System     '") + SystemOrdner() + u'\'';
  r += nl + QStringLiteral("Command$   '") + SkribonDiv::Befehlszeile.join(u' ') + u'\'';
  return r;
}

QString kontrollZeilen() {
  LaenderFormat& f = Laenderformat();
  const QDateTime jetzt = Plattform::Jetzt();
  QString r = nl + nl + QStringLiteral("*** Kontrollen ***");

  const QString bruch = f.zahlText(10000.0 / 3.0);
  const QString muster = f.zahl(10000.0 / 3.0, QStringLiteral("0,000.0"));
  r += nl + QStringLiteral("Check-Num    : ") + bruch + QStringLiteral(" IsNum=") +
       wahr(bruch.left(8) == QStringLiteral("3333,333")) + QStringLiteral(" | ") + muster +
       QStringLiteral(" IsNum=") + wahr(muster == QStringLiteral("3.333,3"));

  // Without a printer the font line cannot be had and is left out.
  const QPrinterInfo drucker = QPrinterInfo::defaultPrinter();
  if (!drucker.isNull()) {
    const qsizetype schirm = QFontDatabase::families().size();
    const qsizetype papier = schirm;  // the printer prints with the desktop's fonts
    r += nl + QStringLiteral("Check-Font   : %1 x Screen | %2 x Printer (%3)").arg(schirm).arg(papier).arg(drucker.printerName());
    if (schirm * papier < 1) r += QStringLiteral(" !");
  }

  if (const QScreen* s = QGuiApplication::primaryScreen()) {
    const QSize g = s->size();
    r += nl + QStringLiteral("Check-Scr.Pix: %1 x %2 Pix").arg(g.width()).arg(g.height());
    if (g.width() < 800 || g.height() < 600) r += u'!';
    const double dpiX = s->logicalDotsPerInchX(), dpiY = s->logicalDotsPerInchY();
    if (dpiX > 0 && dpiY > 0) {
      const double tx = std::round(1440.0 / dpiX * 100) / 100, ty = std::round(1440.0 / dpiY * 100) / 100;
      r += nl + QStringLiteral("Check-Scr.DPI: ") + zahlText(tx) + u'x' + zahlText(ty) + QStringLiteral(" TpP = ") +
           Laufzeit::Format(1440.0 / ((tx + ty) / 2), QStringLiteral("0")) + QStringLiteral(" DPI");
      if (tx < 12 || tx > 15 || ty < 12 || ty > 15) r += u'!';
    }
  }

  const QString unformatiert = f.datumZeitText(jetzt);
  r += nl + QStringLiteral("Check-Zeit   : formatiert='") + Laufzeit::Format(jetzt, kZeitMuster + QStringLiteral(" dddd")) +
       QStringLiteral("' | unformatiert='") + unformatiert + QStringLiteral("' | IsDate=") + wahr(f.istDatum(unformatiert));

  r += nl + QStringLiteral("Check-Wrt.prg: ") + ordnerPrg + QStringLiteral(" | write=") + wahr(OrdnerSchreibtest(ordnerPrg));
  r += nl + QStringLiteral("Check-Wrt.ini: ") + ordnerSub + QStringLiteral("/Dormik.ini | write=") + wahr(EinstellungenSchreibbar());
  r += nl + QStringLiteral("Check-Wrt.dat: ") + ordnerDat + QStringLiteral(" | write=") + wahr(OrdnerSchreibtest(ordnerDat));
  r += nl + QStringLiteral("Check-Wrt.tmp: ") + ordnerTmp + QStringLiteral(" | write=") + wahr(OrdnerSchreibtest(ordnerTmp));
  r += nl + QStringLiteral("Readonly     : ") + (NurLesen ? QStringLiteral("true !") : QStringLiteral("false"));

  const double laufzeit = Plattform::SystemLaufzeitSekunden();
  if (laufzeit >= 0) r += nl + QStringLiteral("Sys UpTime   : ") + DauerText(laufzeit, 1);

  auto wert = [](const QString& s) { return ZahlWert(IniLesen(QString(), QString(), s)); };
  r += nl + QStringLiteral("Stat         : ") + IniLesen(QString(), QString(), QStringLiteral("Stat_StartFirst")) +
       QStringLiteral(" · ") + Laufzeit::Format(wert(QStringLiteral("Stat_Starts")), QStringLiteral("#,##0")) +
       QStringLiteral("x · ") + Laufzeit::Format(wert(QStringLiteral("Stat_RunMinutes")) / 60, QStringLiteral("#,##0")) +
       u'h';
  return r;
}

}  // namespace

QString DateiInfo(const QString& label, const QString& pfad, bool trace) {
  const QString name = label.isEmpty() ? PfadTeil(pfad, 3).leftJustified(12, u' ', true) : label;
  QString rest = u'\'' + pfad + u'\'';
  if (DateiExistiert(pfad)) {
    const QFileInfo info(pfad);
    rest += QStringLiteral(" | exist=true | ") + Laufzeit::Format(double(info.size()), QStringLiteral("#,##0")) +
            QStringLiteral(" Bytes | ") + Laufzeit::Format(info.lastModified(), kZeitMuster) +
            QStringLiteral(" | Alter: ") + alterText(info.lastModified());
  } else {
    rest += QStringLiteral(" | exist=false !");
  }
  if (trace) DebugLog(name.trimmed() + u' ' + rest);
  return name + u' ' + rest;
}

QString DateiVersion(const QString& pfad) { return Plattform::BibliotheksVersion(pfad); }

QString WindowsVersion() { return Plattform::BetriebssystemText(); }

bool IstEntwicklerPC() { return kEntwicklerGuids.contains(UserGUID()); }

QVector<Komponente> Komponenten() {
  QVector<Komponente> liste;
  for (const QString& pfad : Plattform::GeladeneBibliotheken()) {
    const QString name = QFileInfo(pfad).fileName();
    if (name.startsWith(QStringLiteral("libQt6")))
      liste.push_back({pfad, -1, QStringLiteral(QT_VERSION_STR)});
    else if (name.startsWith(QStringLiteral("libstdc++.so")) || name.startsWith(QStringLiteral("libgcc_s.so")) ||
             name.startsWith(QStringLiteral("libc.so")) || name.startsWith(QStringLiteral("libm.so")))
      liste.push_back({pfad, -1, QString()});
  }
  return liste;
}

QString KomponentenZeile(const Komponente& k) {
  const QFileInfo info(k.pfad);
  QString z = info.fileName().leftJustified(15, u' ', true) + u'\t';
  QString bemerkung;
  if (!info.isFile()) {
    bemerkung = QStringLiteral(" ? nicht gefunden !");
  } else {
    const QString version = DateiVersion(k.pfad).trimmed();
    z += Laufzeit::Format(info.lastModified(), kZeitMuster) + QStringLiteral("   ") +
         ZahlFormat(double(info.size()), QStringLiteral("0000000")) + QStringLiteral(" Bytes") +
         QStringLiteral("   Version ") + (version.isEmpty() ? QStringLiteral("?") : version);
    if (k.sollGroesse >= 0 && info.size() != k.sollGroesse)
      bemerkung += QStringLiteral(" (soll=%1").arg(k.sollGroesse) +
                   (info.size() < k.sollGroesse ? QStringLiteral(" <!!!)") : QStringLiteral(" >!)"));
    // Compared as texts, character by character: "6.01.9782" is below "6.01.97822", "?" above
    // every version that begins with a digit.
    if (!k.sollVersion.isNull() && version != k.sollVersion)
      bemerkung += QStringLiteral(" (soll=") + k.sollVersion +
                   (version.compare(k.sollVersion) < 0 ? QStringLiteral(" <!!!)") : QStringLiteral(" >!)"));
  }
  if (!bemerkung.isEmpty()) z += QStringLiteral("     ") + bemerkung.mid(1);
  return z;
}

QString DiagnoseBericht() {
  if (VersionsText.isEmpty()) VersionsNummer();
  const QString programm = Plattform::ProgrammDatei();
  QString r = nl + QStringLiteral("Programm: ") + ProgrammTitel + QStringLiteral(" | ") + programm;
  r += nl + QStringLiteral("Version: ") + VersionsText;
  if (DateiExistiert(programm)) {
    const QFileInfo info(programm);
    r += QStringLiteral(" | vom: ") + Laufzeit::Format(info.lastModified(), kZeitMuster) +
         QStringLiteral(" | Alter: ") + alterText(info.lastModified()) + QStringLiteral(" | Größe: ") +
         QString::number(info.size()) + QStringLiteral(" Bytes");
  }
  r += nl + QStringLiteral("User: '") + Benutzername() + QStringLiteral("' | GUID: '") + UserGUID() +
       QStringLiteral("' | Login: '") + WindowsAnmeldename() + u'\'';
  r += nl + QStringLiteral("Windows: ") + WindowsVersion();

  r += ordnerZeilen();

  r += nl + nl + QStringLiteral("*** Datei-Übersicht ***");
  r += nl + DateiInfo(QString(), ordnerSub + QStringLiteral("/Dormik.ini"), false);
  r += nl + DateiInfo(QString(), ordnerSub + QStringLiteral("/Vesk_Prn.ini"), false);

  r += kontrollZeilen();

  r += nl + nl + QStringLiteral("*** Module (DLLs, OCXs) Übersicht ***");
  for (const Komponente& k : Komponenten()) r += nl + KomponentenZeile(k);
  return r;
}

}  // namespace Z_Alles
