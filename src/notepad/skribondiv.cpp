#include "notepad/skribondiv.h"

#include <QRegularExpression>
#include <cmath>

#include "foundation/z_alles.h"

namespace SkribonDiv {

void Zuruecksetzen() {
  NotizblockName = QStringLiteral("Skribon");
  NotizAnzahl = StandardNotizen;
  NotizNr = 1;
  NotizGeändert = false;
  TextAktiv = 0;
  Überschreiben = false;
  SuchText.clear();
  NotizKennwort.clear();
  HilfeDatei.clear();
  Befehlszeile.clear();
  NotizblockDruck = false;
  BenutzerNotizNr = 0;
}

QIcon ProgrammSymbol() {
  // Built once: adding a file decodes it, and every window of a start shows the icon. Never
  // destroyed, so no pixmap outlives the application at exit.
  static const QIcon* const symbol = [] {
    auto* s = new QIcon;
    for (int groesse : {16, 32, 48, 64, 128})
      s->addFile(QStringLiteral(":/skribon-%1.png").arg(groesse), QSize(groesse, groesse));
    s->addFile(QStringLiteral(":/skribon.png"), QSize(256, 256));
    return s;
  }();
  return *symbol;
}

QString NummerText(int nr) { return QStringLiteral("%1").arg(nr, 2, 10, QLatin1Char('0')); }

int NotizAnzahlAusText(const QString& gespeichert) {
  bool ok = false;
  const double d = gespeichert.trimmed().toDouble(&ok);
  // "nan" reads as a number too, and compares false with either bound.
  if (!ok || std::isnan(d)) return StandardNotizen;
  if (d < MinNotizen) return MinNotizen;
  if (d > MaxNotizen) return MaxNotizen;
  return int(d);
}

namespace {
// The value after "<wort>=" in the first argument that starts with it.
bool wertNach(const QStringList& argumente, const QString& wort, QString* wert) {
  for (const QString& a : argumente) {
    const QString t = a.trimmed();
    if (t.startsWith(wort, Qt::CaseInsensitive)) {
      *wert = t.mid(wort.size()).trimmed();
      return true;
    }
  }
  return false;
}
}  // namespace

QString NotizblockAusBefehlszeile(const QStringList& argumente) {
  QString wert;
  if (!wertNach(argumente, QStringLiteral("Datei="), &wert)) return {};
  if (wert.size() >= 2 && wert.startsWith('"') && wert.endsWith('"')) wert = wert.mid(1, wert.size() - 2);
  // Only the name counts: the notepad always lives in the data folder.
  return Z_Alles::PfadTeil(wert, 1).trimmed();
}

bool DebugAusBefehlszeile(const QStringList& argumente) {
  for (const QString& a : argumente)
    if (a.contains(QLatin1String("#debug"), Qt::CaseInsensitive)) return true;
  return false;
}

bool FensterAusBefehlszeile(const QStringList& argumente, int* links, int* oben, int* weite,
                            int* hoehe, int* zustand) {
  QString wert;
  if (!wertNach(argumente, QStringLiteral("fenster="), &wert)) return false;
  static const QRegularExpression trenner(QStringLiteral("[,;\\s]+"));
  const QStringList teile = wert.split(trenner, Qt::SkipEmptyParts);
  if (teile.size() < 4) return false;
  int z[5] = {0, 0, 0, 0, 0};
  for (int i = 0; i < teile.size() && i < 5; ++i) {
    bool ok = false;
    z[i] = teile[i].toInt(&ok);
    if (!ok) return false;
  }
  if (z[2] <= 0 || z[3] <= 0 || z[4] < 0 || z[4] > 2) return false;
  *links = z[0];
  *oben = z[1];
  *weite = z[2];
  *hoehe = z[3];
  *zustand = z[4];
  return true;
}

int GespeicherteLaenge(const QString& text) { return int(text.size() + text.count(QLatin1Char('\n'))); }

int PositionZuGespeichert(const QString& text, int position) {
  position = qBound(0, position, int(text.size()));
  return position + int(QStringView(text).left(position).count(QLatin1Char('\n')));
}

int PositionAusGespeichert(const QString& text, int gespeichert) {
  if (gespeichert <= 0) return 0;
  int rest = gespeichert;
  int i = 0;
  for (; i < text.size() && rest > 0; ++i) rest -= (text[i] == QLatin1Char('\n')) ? 2 : 1;
  return i;
}

QString ZeilenendenZuLf(const QString& text) {
  const qsizetype erstes = text.indexOf(QLatin1Char('\r'));
  if (erstes < 0) return text;
  // One pass over the text (every note read goes through here): CR LF and a lone CR become LF.
  QString t(text.size(), Qt::Uninitialized);
  const QChar* q = text.constData();
  const QChar* const ende = q + text.size();
  QChar* z = t.data();
  for (qsizetype i = 0; i < erstes; ++i) *z++ = *q++;
  while (q < ende) {
    if (*q == QLatin1Char('\r')) {
      *z++ = QLatin1Char('\n');
      if (++q < ende && *q == QLatin1Char('\n')) ++q;
    } else {
      *z++ = *q++;
    }
  }
  t.truncate(z - t.constData());
  return t;
}

QString ZeilenendenZuCrLf(const QString& text) {
  QString t = ZeilenendenZuLf(text);
  t.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
  return t;
}

bool WahrheitLesen(const QString& text) {
  const QString t = text.trimmed().toLower();
  return t == QLatin1String("1") || t == QLatin1String("-1") || t == QLatin1String("wahr") ||
         t == QLatin1String("true") || t == QLatin1String("ja");
}

}  // namespace SkribonDiv
