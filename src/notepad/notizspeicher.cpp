#include "notepad/notizspeicher.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "foundation/z_alles.h"
#include "notepad/skribondiv.h"
#include "platform/dateifehler.h"
#include "platform/laufzeit.h"
#include "platform/profil.h"
#include "platform/system.h"
#include "platform/textdatei.h"

namespace {

// A default no stored value can have: tells a missing key from an empty one.
const QString kFehlt = QStringLiteral("\x01fehlt");

QString nativ(const QString& pfad) { return QDir::toNativeSeparators(pfad); }

qint64 dateiGroesse(const QString& pfad) {
  const QFileInfo i(pfad);
  return i.isFile() ? i.size() : -1;
}

// Bytes read from the start of a file (at most n); empty when it cannot be read.
QByteArray dateiAnfang(const QString& pfad, qint64 n) {
  QFile f(pfad);
  if (!f.open(QIODevice::ReadOnly)) return {};
  return f.read(n);
}

// The safety copy of a note: its bytes as they are, on the disk at once when dauerhaft.
bool sicherungAnlegen(const QString& von, const QString& nach, bool dauerhaft) {
  QFile quelle(von);
  if (!quelle.open(QIODevice::ReadOnly)) return false;
  const QByteArray bytes = quelle.readAll();
  if (quelle.error() != QFileDevice::NoError) return false;
  QFile ziel(nach);
  if (!ziel.open(QIODevice::WriteOnly | QIODevice::Truncate) || ziel.write(bytes) != bytes.size() ||
      !ziel.flush())
    return false;
  ziel.close();
  return !dauerhaft || Plattform::DateiSynchronisieren(nach);
}

// A stored value as the settings reader gives it back: trimmed, line breaks and the stand-in
// for double quotes unified, so that an unchanged value is recognised.
QString vergleichsForm(QString wert) {
  wert = wert.trimmed();
  wert.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  wert.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  wert.replace(QLatin1String("**"), QLatin1String("\n"));
  wert.replace(QChar(0x201C), QLatin1Char('"'));
  return wert;
}

}  // namespace

// ---- NotizSchluessel ----------------------------------------------------------------------------

const QStringList& NotizSchluessel::Namen() {
  static const QStringList namen = {
      QStringLiteral("Header"),   QStringLiteral("FontName"),   QStringLiteral("FontSize"),
      QStringLiteral("FontBold"), QStringLiteral("FontItalic"), QStringLiteral("ForeColor"),
      QStringLiteral("BackColor"), QStringLiteral("CrsrPos"),   QStringLiteral("Save"),
      QStringLiteral("Vers"),     QStringLiteral("WordWrap")};
  return namen;
}

QString& NotizSchluessel::feld(int index) {
  QString* felder[] = {&Header,    &FontName, &FontSize, &FontBold, &FontItalic, &ForeColor,
                       &BackColor, &CrsrPos,  &Save,     &Vers,     &WordWrap};
  return *felder[qBound(0, index, 10)];
}

const QString& NotizSchluessel::feld(int index) const {
  return const_cast<NotizSchluessel*>(this)->feld(index);
}

// ---- NotizSpeicher --------------------------------------------------------------------------------

void NotizSpeicher::oeffnen(const QString& name, int anzahl) {
  ordner_ = Z_Alles::ordnerDat;
  anzahl_ = qBound(1, anzahl, SkribonDiv::MaxNotizen);
  uebernommen_ = 0;
  altParameter_.clear();

  // A notepad copied from Windows may be spelled in another case than asked for.
  name_ = name;
  bekannt_.clear();
  if (!QFileInfo(infDatei()).isFile()) {
    // Compared by hand: a name may hold "*" or "?" and must not act as a pattern.
    const QString gesucht = name + QStringLiteral(".inf");
    const QStringList dateien = QDir(ordner_).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    for (const QString& d : dateien) {
      if (d.compare(gesucht, Qt::CaseInsensitive) == 0) {
        name_ = d.left(d.size() - 4);
        break;
      }
    }
  }

  for (int nr = 1; nr <= anzahl_; ++nr)
    if (QFileInfo(parameterDatei(nr)).isFile()) parameterUebernehmen(nr);

  ueberblick_ = QVector<Ueberblick>(anzahl_);
  for (int nr = 1; nr <= anzahl_; ++nr) {
    Ueberblick& u = ueberblick_[nr - 1];
    u.header = schluesselLesen(nr).Header;
    const QString pfad = notizDatei(nr);
    const qint64 groesse = dateiGroesse(pfad);
    if (groesse <= 0) continue;
    // The head of the file tells all the tab row needs; short files are read whole.
    const QByteArray anfang = dateiAnfang(pfad, 256);
    u.geschuetzt = anfang.startsWith(SkribonDiv::KennwortKennung.toLatin1());
    u.leer = !u.geschuetzt && groesse <= 256 && Plattform::TextDekodieren(anfang).trimmed().isEmpty();
  }
}

QString NotizSpeicher::NameFehler(const QString& name) {
  const qsizetype bytes = (name + QStringLiteral(".inf")).toUtf8().size();
  if (bytes <= Plattform::DateinameHoechstBytes) return {};
  return QStringLiteral("Sein Name ist zu lang für einen Dateinamen: mit der Endung ».inf« hat "
                        "er %1 Bytes, erlaubt sind höchstens %2.")
      .arg(bytes)
      .arg(Plattform::DateinameHoechstBytes);
}

QString NotizSpeicher::abschnitt(int nr) const {
  return QStringLiteral("Note") + SkribonDiv::NummerText(nr);
}

QString NotizSpeicher::infDatei() const {
  return Z_Alles::PfadVerbinden(ordner_, name_ + QStringLiteral(".inf"));
}

QString NotizSpeicher::notizDatei(int nr) const {
  return Z_Alles::PfadVerbinden(ordner_, name_ + QStringLiteral(".t") + SkribonDiv::NummerText(nr));
}

QString NotizSpeicher::parameterDatei(int nr) const {
  return Z_Alles::PfadVerbinden(ordner_, name_ + QStringLiteral(".p") + SkribonDiv::NummerText(nr));
}

QString NotizSpeicher::sicherungsDatei() const {
  return Z_Alles::PfadVerbinden(Z_Alles::ordnerTmp, name_ + QStringLiteral(".bak"));
}

const NotizSpeicher::Ueberblick& NotizSpeicher::ueberblick(int nr) const {
  static const Ueberblick leer;
  if (nr < 1 || nr > ueberblick_.size()) return leer;
  return ueberblick_[nr - 1];
}

void NotizSpeicher::ueberblickSetzen(int nr, const QString& text, const QString& header) {
  if (nr < 1 || nr > ueberblick_.size()) return;
  Ueberblick& u = ueberblick_[nr - 1];
  u.header = header;
  u.leer = text.trimmed().isEmpty();
  u.geschuetzt = text.startsWith(SkribonDiv::KennwortKennung);
}

// An old parameter file holds "key=value" lines (section lines and comments are skipped). Its
// keys go into [NoteNN] where that section lacks them, since the .inf is the newer record; the
// file is then renamed to <name>.pNN.alt so it is neither lost nor taken over twice. In a
// read-only run nothing is written and the keys are only used.
void NotizSpeicher::parameterUebernehmen(int nr) {
  bool ok = false;
  const QString inhalt = Plattform::TextLesen(parameterDatei(nr), &ok);
  if (!ok) return;
  QMap<QString, QString> werte;
  for (const QString& roh : inhalt.split(QLatin1Char('\n'))) {
    const QString zeile = roh.trimmed();
    if (zeile.isEmpty() || zeile.startsWith(QLatin1Char(';')) || zeile.startsWith(QLatin1Char('[')))
      continue;
    const int gleich = int(zeile.indexOf(QLatin1Char('=')));
    if (gleich <= 0) continue;
    QString schluessel = zeile.left(gleich).trimmed();
    // Known keys in the spelling the program writes them.
    for (const QString& n : NotizSchluessel::Namen())
      if (n.compare(schluessel, Qt::CaseInsensitive) == 0) schluessel = n;
    bool schonDa = false;
    for (auto it = werte.cbegin(); it != werte.cend(); ++it)
      if (it.key().compare(schluessel, Qt::CaseInsensitive) == 0) schonDa = true;
    if (!schonDa) werte.insert(schluessel, zeile.mid(gleich + 1).trimmed());
  }
  altParameter_.insert(nr, werte);
  if (Z_Alles::NurLesen) return;

  const QString inf = infDatei();
  bool allesGeschrieben = true;
  for (auto it = werte.cbegin(); it != werte.cend(); ++it) {
    bool gefunden = false;
    Plattform::ProfilLesen(inf, abschnitt(nr), it.key(), {}, &gefunden);
    if (gefunden) continue;
    if (!Plattform::ProfilSchreiben(inf, abschnitt(nr), it.key(), it.value()))
      allesGeschrieben = false;
  }
  if (!allesGeschrieben) {
    Z_Alles::DebugLog(QStringLiteral("Parameterdatei nicht übernommen: ") + parameterDatei(nr));
    return;
  }
  QString ziel = parameterDatei(nr) + QStringLiteral(".alt");
  for (int i = 2; QFileInfo::exists(ziel) && i < 1000; ++i)
    ziel = parameterDatei(nr) + QStringLiteral(".alt") + QString::number(i);
  if (QFile::rename(parameterDatei(nr), ziel)) {
    ++uebernommen_;
    Z_Alles::DebugLog(QStringLiteral("Parameterdatei übernommen: ") + parameterDatei(nr));
  }
}

NotizSchluessel NotizSpeicher::schluesselLesen(int nr) const {
  NotizSchluessel s;
  const QString inf = infDatei();
  const auto alt = altParameter_.value(nr);
  const QStringList& namen = NotizSchluessel::Namen();
  for (int i = 0; i < namen.size(); ++i) {
    QString wert = Z_Alles::IniLesen(inf, abschnitt(nr), namen[i], kFehlt);
    if (wert == kFehlt) wert = alt.value(namen[i]);
    s.feld(i) = wert;
  }
  return s;
}

bool NotizSpeicher::laden(int nr, Notiz* notiz, QString* fehler) const {
  *notiz = Notiz{};
  notiz->schluessel = schluesselLesen(nr);
  const QString pfad = notizDatei(nr);
  const QFileInfo info(pfad);
  Plattform::DateiStand stand;
  Plattform::DateiStandLesen(pfad, &stand);
  bekannt_.insert(nr, stand);
  if (!info.exists()) return true;
  if (!info.isFile()) {
    if (fehler)
      *fehler = QStringLiteral("»%1« ist keine Datei und kann nicht als Notiz gelesen werden.")
                    .arg(nativ(pfad));
    return false;
  }
  bool ok = false;
  QString text = Plattform::TextLesen(pfad, &ok);
  if (!ok) {
    if (fehler) *fehler = QStringLiteral("Die Datei »%1« konnte nicht gelesen werden.").arg(nativ(pfad));
    return false;
  }
  notiz->vorhanden = true;
  notiz->geschuetzt = text.startsWith(SkribonDiv::KennwortKennung);
  // An empty note is stored as a single blank; it comes back empty.
  if (text == QLatin1String(" ")) text.clear();
  notiz->text = SkribonDiv::ZeilenendenZuLf(text);
  return true;
}

QString NotizSpeicher::andereFassungAufbewahren(int nr) const {
  const QString stempel = Laufzeit::Format(Plattform::Jetzt(), QStringLiteral("dd.mm.yyyy hh.nn.ss"));
  const QString rest =
      QStringLiteral(" Notiz %1 - andere Fassung vom %2").arg(SkribonDiv::NummerText(nr), stempel);
  // A long notepad name gives way, with room for " (999).txt".
  const QString basis = Plattform::NamensteilKuerzen(
                            name_, Plattform::DateinameHoechstBytes - rest.toUtf8().size() - 10) +
                        rest;
  QString ziel = Z_Alles::PfadVerbinden(ordner_, basis + QStringLiteral(".txt"));
  for (int i = 2; QFileInfo::exists(ziel) && i < 1000; ++i)
    ziel = Z_Alles::PfadVerbinden(ordner_, basis + QStringLiteral(" (%1).txt").arg(i));
  return QFile::copy(notizDatei(nr), ziel) ? ziel : QString();
}

bool NotizSpeicher::textSichern(int nr, const QString& text, QString* fehler, QString* andereFassung) {
  if (andereFassung) andereFassung->clear();
  if (Z_Alles::NurLesen) {
    if (fehler) *fehler = QStringLiteral("Das Programm läuft schreibgeschützt.");
    return false;
  }
  const QString pfad = notizDatei(nr);
  const QString bak = sicherungsDatei();
  // Another program on the same data folder waits while this one checks and writes.
  const Plattform::ProfilSperre sperre(pfad);

  // Another program saved this note since we read it: its text must not vanish under ours.
  Plattform::DateiStand jetzt;
  const bool da = Plattform::DateiStandLesen(pfad, &jetzt);
  const auto gekannt = bekannt_.constFind(nr);
  if (da && gekannt != bekannt_.cend() && !(*gekannt == jetzt)) {
    const QString kopie = andereFassungAufbewahren(nr);
    if (kopie.isEmpty()) {
      if (fehler)
        *fehler = QStringLiteral("Die Notiz wurde inzwischen von einem anderen Programm geändert, "
                                 "und deren Fassung ließ sich nicht aufbewahren.");
      return false;
    }
    Z_Alles::DebugLog(QStringLiteral("Andere Fassung aufbewahrt: ") + kopie);
    if (andereFassung) *andereFassung = kopie;
  }

  // Safety copy of the old text before it is replaced. A folder that takes no new file (a
  // shared folder where only the notes are writable) gets its note written in place, which
  // needs the copy even for a short note.
  const qint64 alt = dateiGroesse(pfad);
  const bool ordnerSchreibbar = Plattform::OrdnerNimmtNeueDateien(ordner_);
  bool kopie = false;
  if (alt >= SkribonDiv::SicherungAbBytes || (alt >= 0 && !ordnerSchreibbar)) {
    QDir().mkpath(Z_Alles::ordnerTmp);
    QFile::remove(bak);
    // Only a note written in place can be lost in a crash: then its copy must be on the disk
    // first. The atomic replace keeps the old file until the new one is whole.
    kopie = sicherungAnlegen(pfad, bak, !ordnerSchreibbar);
    if (!kopie) Z_Alles::DebugLog(QStringLiteral("Sicherheitskopie nicht angelegt: ") + bak);
  }

  // A note that is empty after trimming is stored as one blank, so the file is never empty.
  const QString inhalt = text.trimmed().isEmpty() ? QStringLiteral(" ") : text;
  QString grund;
  Plattform::DateiStand neu;
  const QByteArray bytes = Plattform::TextKodieren(inhalt);
  const bool geschrieben = kopie ? Plattform::BytesSchreibenAnOrt(pfad, bytes, &grund, &neu)
                                 : Plattform::BytesSchreibenAtomar(pfad, bytes, &grund, &neu);
  if (!geschrieben) {
    if (fehler) *fehler = grund.isEmpty() ? QStringLiteral("Die Datei »%1« konnte nicht geschrieben werden.").arg(nativ(pfad)) : grund;
    return false;
  }
  // Another writer right after ours leaves an empty state: its version is kept on the next save.
  bekannt_.insert(nr, neu);
  if (dateiGroesse(pfad) >= SkribonDiv::SicherungAbBytes) QFile::remove(bak);
  return true;
}

bool NotizSpeicher::schluesselSichern(int nr, const NotizSchluessel& schluessel, QString* fehler,
                                      const QList<QPair<QString, QString>>& allgemein) {
  if (Z_Alles::NurLesen) {
    if (fehler) *fehler = QStringLiteral("Das Programm läuft schreibgeschützt.");
    return false;
  }
  QList<QPair<QString, QString>> werte;
  const QStringList& namen = NotizSchluessel::Namen();
  for (int i = 0; i < namen.size(); ++i) werte.append({namen[i], schluessel.feld(i)});
  return werteSichern(nr, werte, fehler, allgemein);
}

bool NotizSpeicher::werteSichern(int nr, const QList<QPair<QString, QString>>& werte, QString* fehler,
                                 const QList<QPair<QString, QString>>& allgemein) {
  const QString inf = infDatei();
  // Held across the comparison, the write and its read-back, so that another program's keys
  // neither get lost nor make a good save look failed.
  const Plattform::ProfilSperre sperre(inf);
  // A key already stored as it is need not be written again.
  QList<Z_Alles::IniWert> geaendert;
  auto vormerken = [&](const QString& teil, const QList<QPair<QString, QString>>& liste) {
    for (const auto& [name, wert] : liste)
      if (vergleichsForm(Z_Alles::IniLesen(inf, teil, name, kFehlt)) != vergleichsForm(wert))
        geaendert.append({teil, name, wert});
  };
  vormerken(abschnitt(nr), werte);
  vormerken(QStringLiteral("Allgemein"), allgemein);
  if (geaendert.isEmpty()) return true;
  // The note's keys in one write: one sync, and a kill leaves all of them old or all new.
  const QStringList gespeichert = Z_Alles::IniSchreiben(inf, geaendert);
  // The settings writer does not report a failure: read back what must now be there.
  for (qsizetype i = 0; i < geaendert.size(); ++i) {
    if (Plattform::ProfilLesen(inf, geaendert[i].abschnitt, geaendert[i].schluessel, kFehlt) ==
        gespeichert[i].left(999))
      continue;
    // The settings writer left its reason with the file layer (a full disk, say).
    const int e = Plattform::LetzterSchreibfehler();
    if (fehler)
      *fehler = QStringLiteral("Die Einstellungen der Notiz konnten nicht in die Datei »%1« "
                               "geschrieben werden%2.")
                    .arg(nativ(inf), e ? QStringLiteral(" (%1)").arg(Plattform::SystemFehlerText(e))
                                       : QString());
    return false;
  }
  return true;
}

bool NotizSpeicher::positionSichern(int nr, int crsrPos, QString* fehler) {
  if (Z_Alles::NurLesen) return false;
  return werteSichern(nr, {{QStringLiteral("CrsrPos"), QString::number(crsrPos)}}, fehler);
}

bool NotizSpeicher::sichern(int nr, const QString& text, const NotizSchluessel& schluessel,
                            QString* fehler, QString* andereFassung,
                            const QList<QPair<QString, QString>>& allgemein) {
  if (andereFassung) andereFassung->clear();
  if (nr < 1 || nr > anzahl_) {
    if (fehler) *fehler = QStringLiteral("Die Notiz %1 gibt es nicht.").arg(nr);
    return false;
  }
  // The text and the keys lie in one folder: it is synced once, after both.
  const Plattform::OrdnerSyncGebuendelt einmal;
  if (!textSichern(nr, text, fehler, andereFassung)) return false;
  ueberblickSetzen(nr, text, schluessel.Header);
  return schluesselSichern(nr, schluessel, fehler, allgemein);
}

QString NotizSpeicher::notfallKopie(int nr, const QString& text) const {
  const QString stempel = Plattform::Jetzt().toString(QStringLiteral("yyyyMMdd-HHmmss"));
  const QString rest =
      QStringLiteral(".t%1-Notfall-%2.txt").arg(SkribonDiv::NummerText(nr), stempel);
  // A long notepad name gives way: the copy must fit where the note itself did not.
  const QString datei =
      Plattform::NamensteilKuerzen(name_, Plattform::DateinameHoechstBytes - rest.toUtf8().size()) +
      rest;
  const QStringList ordner = {Z_Alles::NotfallOrdner(), QDir::homePath()};
  for (const QString& o : ordner) {
    if (o.isEmpty()) continue;
    QDir().mkpath(o);
    const QString pfad = Z_Alles::PfadVerbinden(o, datei);
    if (Plattform::TextSchreiben(pfad, text)) return pfad;
  }
  return {};
}

QString NotizSpeicher::allgemeinLesen(const QString& schluessel, const QString& vorgabe) const {
  return Z_Alles::IniLesen(infDatei(), QStringLiteral("Allgemein"), schluessel, vorgabe);
}

void NotizSpeicher::allgemeinSchreiben(const QString& schluessel, const QString& wert) {
  if (Z_Alles::NurLesen) return;
  if (allgemeinLesen(schluessel, kFehlt) == wert) return;
  Z_Alles::IniSchreiben(infDatei(), QStringLiteral("Allgemein"), schluessel, wert);
}
