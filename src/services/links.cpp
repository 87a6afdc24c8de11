// Recognising and opening links in notes.
#include "services/links.h"

#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QRegularExpression>
#include <QUrl>

#include "foundation/hauptfenster.h"
#include "foundation/z_alles.h"
#include "platform/dialoge.h"
#include "platform/laufzeit.h"
#include "platform/shell.h"
#include "services/mail.h"

namespace Z_Alles {

namespace {

const QString kAbschnitt = QStringLiteral("Verknüpfung");
bool laeuft = false;  // a call is waiting (list pauses, mail): the next double-click does nothing

// What one web address of a note hands to the opener: an http, https or ftp address as written,
// or an address without a scheme with "https://" in front; "" for anything else. A note may come
// from anyone sharing the data folder, so no other scheme (file:, smb:, javascript:, one with a
// web prefix somewhere behind it) reaches the desktop's opener.
QString webAdresse(const QString& stueck) {
  QString t = stueck.trimmed();
  const QString klein = t.toLower();
  const qsizetype schema = klein.indexOf(QStringLiteral("://"));
  if (schema >= 0) {
    const QStringView s = QStringView(klein).left(schema);
    if (s != u"http" && s != u"https" && s != u"ftp") return {};
  } else {
    // "mailto:", "javascript:" or "c:\" name a scheme or a drive; "www.a.de:8080" a port.
    static const QRegularExpression anderesSchema(QStringLiteral("^[a-z][a-z0-9+.-]*:(?![0-9])"));
    if (t.isEmpty() || !t[0].isLetterOrNumber() || anderesSchema.match(klein).hasMatch()) return {};
    // A mail address at a web server ("info@www.a.de"): the server's site, not a login to it.
    if (EmailPrüfen(klein)) t = t.mid(t.indexOf(u'@') + 1);
    t.prepend(QStringLiteral("https://"));
  }
  const QUrl url(t, QUrl::TolerantMode);
  return url.isValid() && !url.host().isEmpty() ? t : QString();
}

bool istWeb(const QString& t) {
  const qsizetype n = t.size();
  const bool praefix =
      (t.contains(QStringLiteral("https://")) && n >= 17) ||
      ((t.contains(QStringLiteral("http://")) || t.contains(QStringLiteral("ftp://"))) && n >= 16) ||
      (t.contains(QStringLiteral("www.")) && n >= 8) ||
      ((t.contains(QStringLiteral("www2.")) || t.contains(QStringLiteral("www3."))) && n >= 9);
  if (!praefix) return false;
  // Each address of a "|" list must be one.
  bool eine = false;
  for (const QString& stueck : t.split(u'|')) {
    if (stueck.trimmed().isEmpty()) continue;
    if (webAdresse(stueck).isEmpty()) return false;
    eine = true;
  }
  return eine;
}

// A program named as in old notes ("C:\Tools\x.exe"): the file itself, or the same name
// without ".exe".
QString programmDatei(const QString& name) {
  if (DateiExistiert(name)) return name;
  if (name.endsWith(QStringLiteral(".exe"), Qt::CaseInsensitive)) {
    const QString ohne = name.left(name.size() - 4);
    if (DateiExistiert(ohne)) return ohne;
  }
  return {};
}

bool ende() {
  Hauptfenster* h = Hauptfenster::Instanz();
  return h && h->endet();
}

void nichtGeoeffnet(const QStringList& ziele) {
  if (ziele.isEmpty() || ende()) return;
  Meldung(QStringLiteral("Kann nicht geöffnet werden:~~%1~~Für diese Art von Verknüpfung ist auf diesem "
                         "System kein Programm eingerichtet."),
          Plattform::vbExclamation, ProgrammTitel, {ziele.join(QStringLiteral("\r\n"))});
}

void aufAblage(const QString& text) {
  QClipboard* ablage = QGuiApplication::clipboard();
  ablage->clear();
  ablage->setText(text);
}

}  // namespace

int LinkTyp(const QString& text) {
  const QString getrimmt = text.trimmed();
  const QString t = getrimmt.toLower();
  int typ = 0;
  if (text.size() >= 6 && Laufzeit::IstDatum(t)) typ |= LinkDatum;
  if (EmailPrüfen(t)) typ |= LinkEmail;
  if (istWeb(t)) typ |= LinkWeb;
  if (typ) return typ;
  // Files are looked up as written: the file system here tells upper from lower case.
  if (DateiExistiert(getrimmt)) return LinkDatei;
  const qsizetype exe = t.indexOf(QStringLiteral(".exe "));
  if (exe >= 1 && !programmDatei(getrimmt.left(getrimmt.indexOf(u' '))).isEmpty()) return LinkProgramm;
  return 0;
}

bool LinkÖffnen(const QString& eingabe) {
  if (laeuft) return false;
  laeuft = true;
  struct Frei {
    ~Frei() { laeuft = false; }
  } frei;

  QString text = eingabe;
  if (text.size() >= 3) {
    // Punctuation after a link in a sentence.
    text = text.trimmed();
    if (text.endsWith(u'.')) text.chop(1);
    if (text.endsWith(u',')) text.chop(1);
  }
  int typ = LinkTyp(text);
  const QString klein = text.toLower();
  bool geoeffnet = false;
  QStringList fehlgeschlagen;

  if (typ & LinkEmail) {
    if (Mailer(text, {}, {})) geoeffnet = true;
  }

  if ((typ & LinkWeb) && klein.contains(VideoPraefix)) {
    QString lader = IniLesen({}, kAbschnitt, QStringLiteral("YouTubeDownloader")).trimmed();
    const QString vorher = IniLesen({}, kAbschnitt, QStringLiteral("YouTubeDownloaderPre")).trimmed();
    if (!DateiExistiert(lader)) lader.clear();
    if (!lader.isEmpty()) {
      if (!vorher.isEmpty()) {
        const QStringList befehl = Plattform::BefehlszeileZerlegen(vorher);
        if (befehl.isEmpty() || !Plattform::ProgrammStarten(befehl.first(), befehl.mid(1)))
          fehlgeschlagen << vorher;
        Warten(1.0f);
        if (ende()) return geoeffnet;
      }
      aufAblage(text.trimmed());
      if (Plattform::ProgrammStarten(lader, {text}))
        geoeffnet = true;
      else
        fehlgeschlagen << lader;
      typ &= ~LinkWeb;
    }
  }

  if (typ & LinkWeb) {
    if (text.contains(u'|')) {
      bool schonEines = false;
      for (const QString& stueck : text.split(u'|')) {
        if (stueck.trimmed().isEmpty()) continue;
        const QString ziel = webAdresse(stueck);
        if (!Plattform::ShellOeffnen(ziel)) fehlgeschlagen << ziel;
        // The first browser start needs more time before the next page can join it.
        Warten(schonEines ? 0.9f : 3.1f);
        schonEines = true;
        if (ende()) return true;
      }
      geoeffnet = true;
    } else {
      const QString ziel = webAdresse(text);
      if (Plattform::ShellOeffnen(ziel)) geoeffnet = true;
      else fehlgeschlagen << ziel;
    }
  }

  if (typ & LinkDatei) {
    if (Plattform::ShellOeffnen(text.trimmed())) geoeffnet = true;
    else fehlgeschlagen << text.trimmed();
  }

  if (typ & LinkProgramm) {
    // Only the named program runs; the rest of the line are its arguments, not a command.
    const QString t = text.trimmed();
    const qsizetype blank = t.indexOf(u' ');
    const QString programm = programmDatei(t.left(blank));
    if (Plattform::ProgrammStarten(programm, Plattform::BefehlszeileZerlegen(t.mid(blank + 1)),
                                   QFileInfo(programm).absolutePath()))
      geoeffnet = true;
    else
      fehlgeschlagen << t;
  }

  if (klein.trimmed().startsWith(QStringLiteral("$cpyza"))) {
    const QString t = text.trimmed();
    const qsizetype doppelpunkt = t.indexOf(u':');
    aufAblage(MeldungsText(doppelpunkt >= 0 ? t.mid(doppelpunkt + 1) : t).trimmed());
  }

  nichtGeoeffnet(fehlgeschlagen);
  return geoeffnet;
}

bool DokumentÖffnen(const QString& pfad) {
  if (pfad.isEmpty()) return false;
  bool ok = false;
  {
    const Plattform::Sanduhr sanduhr;
    ok = Plattform::ShellOeffnen(pfad);
  }
  if (!ok) {
    DebugLog(QStringLiteral("DokumentÖffnen: nicht geöffnet: ") + pfad);
    nichtGeoeffnet({pfad});
  }
  return ok;
}

QString WortAnStelle(const QString& text, int position) {
  auto trenner = [](QChar c) { return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r'; };
  const int p = qBound(0, position, int(text.size()));
  int anfang = p;
  while (anfang > 0 && !trenner(text[anfang - 1])) --anfang;
  int ende = p;
  while (ende < text.size() && !trenner(text[ende])) ++ende;
  return text.mid(anfang, ende - anfang);
}

bool EditorDoppelklick(const QString& text, int position) {
  const QString wort = WortAnStelle(text, position);
  if (wort.isEmpty()) return false;
  LinkÖffnen(wort);
  return true;
}

}  // namespace Z_Alles
