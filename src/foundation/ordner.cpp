// Files and folders: existence, search, path parts and the folder resolution at start.
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "foundation/z_alles.h"
#include "foundation/intern.h"
#include "platform/ordnerindex.h"
#include "platform/system.h"

namespace Z_Alles {

namespace {

bool istTrenner(QChar c) { return c == u'/' || c == u'\\'; }

// Creates a folder when missing; true when it is a folder afterwards.
bool ordnerAnlegen(const QString& ordner) {
  if (ordner.isEmpty()) return false;
  const QFileInfo info(ordner);
  if (info.isDir()) return true;
  if (info.exists()) return false;  // a file in the way
  return QDir().mkpath(ordner) && QFileInfo(ordner).isDir();
}

QString xdgDatenOrdner() {
  QString o = qEnvironmentVariable("XDG_DATA_HOME");
  if (o.isEmpty() || !QDir::isAbsolutePath(o)) o = QDir::homePath() + QStringLiteral("/.local/share");
  return o + u'/' + Hersteller + QStringLiteral("/Daten");
}

bool fuerAlleBeschreibbar(const QString& ordner) {
  return QFileInfo(ordner).permissions().testFlag(QFileDevice::WriteOther);
}

// The value of "/OrdnerDat=" among the arguments, quotes removed; empty when none.
QString ordnerDatArgument(const QStringList& argumente) {
  static const QString schalter = QStringLiteral("/OrdnerDat=");
  for (const QString& a : argumente) {
    QString arg = a.trimmed();
    if (arg.startsWith(u'"') && arg.endsWith(u'"') && arg.size() >= 2) arg = arg.mid(1, arg.size() - 2);
    if (!arg.startsWith(schalter, Qt::CaseInsensitive)) continue;
    QString wert = arg.mid(schalter.size()).trimmed();
    if (wert.size() >= 2 && wert.startsWith(u'"') && wert.endsWith(u'"')) wert = wert.mid(1, wert.size() - 2);
    if (!wert.isEmpty()) return wert;
  }
  return {};
}

}  // namespace

bool DateiExistiert(const QString& pfad) {
  if (pfad.isEmpty() || pfad.contains(u'*') || pfad.contains(u'?')) return false;
  if (!QFileInfo(pfad).isFile()) return false;
  QFile f(pfad);
  return f.open(QIODevice::ReadOnly);
}

QString DateiSuchen(const QString& dateiName) {
  if (dateiName.contains(u'/') || dateiName.contains(u'\\'))
    return DateiExistiert(dateiName) ? dateiName : QString();
  return DateiSuchen(QStringList{dateiName});
}

QString DateiSuchen(const QStringList& dateiNamen) {
  const QStringList ordner = {ordnerDat, ordnerPrg, ordnerSub, Plattform::System().aktuellerOrdner(),
                              WindowsOrdner(), SystemOrdner()};
  // Names in settings written on Windows ignore case ("rechner.dat" for Rechner.Dat). The
  // one-second timer searches for files that mostly do not exist: the listings are kept, not
  // read every time.
  const QList<QList<QStringList>> namen = Plattform::NamenOhneGrossKlein(ordner, dateiNamen);
  for (const QList<QStringList>& jeOrdner : namen)
    for (qsizetype i = 0; i < ordner.size(); ++i)
      for (const QString& n : jeOrdner[i])
        if (DateiExistiert(PfadVerbinden(ordner[i], n))) return PfadVerbinden(ordner[i], n);
  return {};
}

QString PfadTeil(const QString& pfad, int modus) {
  qsizetype letzter = -1;
  for (qsizetype i = pfad.size() - 1; i >= 0; --i)
    if (istTrenner(pfad[i])) {
      letzter = i;
      break;
    }
  const QString name = pfad.mid(letzter + 1);
  // A leading dot (".bashrc") names the file; it does not start an extension.
  const qsizetype punkt = name.lastIndexOf(u'.');
  const bool mitEndung = punkt > 0;
  switch (modus) {
    case -2: {
      if (pfad.size() >= 2 && pfad[1] == u':' && pfad[0].isLetter()) return pfad.left(2);
      if (pfad.size() > 2 && istTrenner(pfad[0]) && istTrenner(pfad[1])) {
        // "\\server\share\..." -> "\\server\share"
        qsizetype t1 = -1;
        for (qsizetype i = 2; i < pfad.size(); ++i)
          if (istTrenner(pfad[i])) {
            t1 = i;
            break;
          }
        if (t1 < 0) return pfad;
        for (qsizetype i = t1 + 1; i < pfad.size(); ++i)
          if (istTrenner(pfad[i])) return pfad.left(i);
        return pfad;
      }
      return {};
    }
    case -1: return letzter < 0 ? QString() : pfad.left(letzter);
    case 0: return letzter < 0 ? QString() : pfad.left(letzter + 1);
    case 1: return mitEndung ? name.left(punkt) : name;
    case 2: return mitEndung ? name.mid(punkt + 1) : QString();
    case 3: return name;
    default: return {};
  }
}

QString WindowsOrdner() { return Intern::OhneEndtrenner(Plattform::WindowsOrdnerPfad()); }
QString SystemOrdner() { return Intern::OhneEndtrenner(Plattform::SystemOrdnerPfad()); }

QString PfadVerbinden(const QString& ordner, const QString& name) {
  if (ordner.isEmpty()) return name;
  if (name.isEmpty()) return ordner;
  qsizetype a = 0;
  while (a < name.size() && istTrenner(name[a])) ++a;
  QString o = ordner;
  while (!o.isEmpty() && istTrenner(o.back())) o.chop(1);
  return o + u'/' + name.mid(a);
}

QString NotfallOrdner() { return xdgDatenOrdner(); }

void OrdnerInit(const QStringList& argumente) {
  // Settings folder: created so that the first write of Dormik.ini succeeds.
  ordnerSub = Intern::OhneEndtrenner(Plattform::KonfigBasisOrdner());
  QDir().mkpath(ordnerSub);

  ordnerPrg = Intern::OhneEndtrenner(Plattform::ProgrammOrdnerPfad());
  IniSchreiben(QString(), ProgrammTitel, QStringLiteral("OrdnerPrg"), ordnerPrg);

  // Data folder: command line, else the program's setting, else beside the program.
  ordnerDatPara = ordnerDatArgument(argumente);
  ordnerDatGewuenscht.clear();
  QString dat;
  if (!ordnerDatPara.isEmpty()) {
    dat = ordnerDatPara;
    ordnerDatHerkunft = QStringLiteral("Befehlszeile");
  } else {
    dat = IniLesen(QString(), ProgrammTitel, QStringLiteral("OrdnerDat")).trimmed();
    if (!dat.isEmpty()) {
      dat = Ersetzen(dat, QStringLiteral("{AppDir}"), ordnerPrg);
      ordnerDatHerkunft = QStringLiteral("Einstellung OrdnerDat");
    } else {
      dat = ordnerPrg + QStringLiteral("/Daten");
      ordnerDatHerkunft = QStringLiteral("Vorgabe");
    }
  }
  dat.replace(u'\\', u'/');
  dat = Intern::OhneEndtrenner(dat);
  QString ersatzHinweis;
  if (!ordnerAnlegen(dat)) {
    // An installed program folder is usually not writable: keep the notes in a folder of the
    // user's own instead of failing every save. The setting itself is left as it is.
    const QString ersatz = xdgDatenOrdner();
    ordnerAnlegen(ersatz);
    ersatzHinweis = QStringLiteral("Datenordner »%1« ließ sich nicht anlegen, ersatzweise »%2«").arg(dat, ersatz);
    ordnerDatHerkunft += QStringLiteral(" – ") + ersatzHinweis;
    ordnerDatGewuenscht = dat;
    dat = ersatz;
  }
  ordnerDat = dat;
  ordnerCfg = ordnerDat;
  DebugDatei = ordnerDat + QStringLiteral("/Debug.txt");
  IniSchreiben(QString(), ProgrammTitel, QStringLiteral("OrdnerDat#"), ordnerDat);

  // Temp folder: the shared TmpSrv setting, else Tmp/Temp, else a private folder of the user's.
  QString tmp = IniLesen(QString(), QStringLiteral("Verknüpfung"), QStringLiteral("TmpSrv")).trimmed();
  tmp.replace(u'\\', u'/');
  tmp = Intern::OhneEndtrenner(tmp);
  if (!tmp.isEmpty() && !ordnerAnlegen(tmp)) {
    DebugLog(QStringLiteral("OrdnerInit: TmpSrv »") + tmp + QStringLiteral("« nicht nutzbar"));
    tmp.clear();
  }
  if (tmp.isEmpty()) {
    for (const char* variable : {"Tmp", "Temp"}) {
      QString t = Plattform::Umgebung(QString::fromLatin1(variable)).trimmed();
      t = Intern::OhneEndtrenner(t.replace(u'\\', u'/'));
      if (t.isEmpty() || !QFileInfo(t).isDir()) continue;
      // Safety copies have predictable names: never in a folder everybody may write to.
      if (fuerAlleBeschreibbar(t)) {
        DebugLog(QStringLiteral("OrdnerInit: %1 »%2« ist für alle beschreibbar, nicht genutzt")
                     .arg(QString::fromLatin1(variable), t));
        continue;
      }
      tmp = t;
      break;
    }
  }
  if (tmp.isEmpty()) tmp = Intern::OhneEndtrenner(Plattform::CacheTempOrdner());
  ordnerTmp = tmp;

  if (!ersatzHinweis.isEmpty()) DebugLog(QStringLiteral("OrdnerInit: ") + ersatzHinweis);
  DebugLog(QStringLiteral("OrdnerInit: Prg=%1 | Sub=%2 | Dat=%3 (%4) | Tmp=%5")
               .arg(ordnerPrg, ordnerSub, ordnerDat, ordnerDatHerkunft, ordnerTmp));
}

}  // namespace Z_Alles
