// Mail hand-over: to the configured mail program as a program with arguments (never through
// a shell), or as a "mailto:" address for the desktop's mail handler.
#include "services/mail.h"

#include <QFileInfo>
#include <QRegularExpression>

#include "foundation/hauptfenster.h"
#include "foundation/z_alles.h"
#include "platform/dateifehler.h"
#include "platform/dialoge.h"
#include "platform/laufzeit.h"
#include "platform/shell.h"
#include "platform/system.h"
#include "platform/textdatei.h"
#include "services/dienste_intern.h"
#include "services/z_v_allgemein.h"

namespace Z_Alles {

namespace {

const QString kAbschnitt = QStringLiteral("Verknüpfung");
const QString kTitel = QStringLiteral("eMail versenden (Mailer)");

// Blanks only: a tab that indents a mail text's first line belongs to it; line breaks are
// handled apart.
QString blankTrim(const QString& t) {
  qsizetype a = 0, e = t.size();
  while (a < e && t[a] == u' ') ++a;
  while (e > a && t[e - 1] == u' ') --e;
  return t.mid(a, e - a);
}

QString prozent(uchar b) {
  return QStringLiteral("%%1").arg(uint(b), 2, 16, QLatin1Char('0')).toUpper();
}

// Subject and body: "%" and "#" first (they would end or garble the address), then the
// characters mail handlers split on.
QString teilKodieren(QString t) {
  t.replace(QLatin1Char('%'), QStringLiteral("%25"));
  t.replace(QLatin1Char('#'), QStringLiteral("%23"));
  for (const QChar c : QStringLiteral(" ,?.!:;&="))
    t.replace(c, prozent(uchar(c.unicode())));
  return t;
}

// An address must not start the query or the fragment or add fields of its own.
QString adresseKodieren(QString t) {
  t.replace(QLatin1Char('%'), QStringLiteral("%25"));
  for (const QChar c : QStringLiteral("#?&"))
    t.replace(c, prozent(uchar(c.unicode())));
  return t;
}

// What a URL may hold as it is; everything else goes as UTF-8 bytes.
bool urlZeichen(QChar c) {
  const char16_t u = c.unicode();
  if ((u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9')) return true;
  return u < 128 && QStringView(u"-._~!$&()*+,;=:@/?%").contains(c);
}

QString restKodieren(const QString& t) {
  QString aus;
  aus.reserve(t.size());
  for (qsizetype i = 0; i < t.size(); ++i) {
    if (urlZeichen(t[i])) {
      aus += t[i];
      continue;
    }
    const qsizetype n = (t[i].isHighSurrogate() && i + 1 < t.size() && t[i + 1].isLowSurrogate()) ? 2 : 1;
    for (const char b : t.mid(i, n).toUtf8()) aus += prozent(uchar(b));
    i += n - 1;
  }
  return aus;
}

QString spur(const QString& kopf, const MailTeile& m, bool senden, const QString& ex) {
  return kopf + QStringLiteral("to-") + m.an + QStringLiteral("|sub-") + m.betreff +
         QStringLiteral("|bdy-") + m.text + QStringLiteral("|mode-") +
         (senden ? QStringLiteral("Wahr") : QStringLiteral("Falsch")) + QStringLiteral("|att-") +
         m.anhang + QStringLiteral("|cc-") + m.cc + QStringLiteral("|bcc-") + m.bcc +
         QStringLiteral("|from-") + m.von + QStringLiteral("|ex-") + ex;
}

QString fehlerText(bool mailto) {
  return QStringLiteral("Es ist ein Fehler bei ~'") + kTitel +
         (mailto ? QStringLiteral(" per MailTo") : QString()) + QStringLiteral("'~ aufgetreten.");
}

}  // namespace

bool EmailPrüfen(const QString& adresse) {
  const QString& a = adresse;
  if (a.size() < 3) return false;
  const qsizetype at = a.indexOf(u'@');
  if (at < 0) return false;
  if (a.indexOf(u'.', at + 1) < 0) return false;
  if (a.contains(QStringLiteral("@."))) return false;
  if (a.indexOf(u'@', at + 1) >= 0) return false;
  if (a.endsWith(u'.')) return false;
  const QString klein = a.toLower();
  if (klein.contains(QStringLiteral("http://")) || klein.contains(QStringLiteral("ftp://"))) return false;
  for (const QChar c : QStringLiteral(" /:,;*&"))
    if (a.contains(c)) return false;
  static const QString erlaubt = QStringLiteral(
      "@ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789.!#$%&'*+-/=?^_`{|}~ ");
  for (const QChar c : a)
    if (!erlaubt.contains(c)) return false;
  return true;
}

MailTeile MailVorbereiten(const QString& an, const QString& betreff, const QString& text,
                          const QString& anhang, const QString& cc, const QString& bcc,
                          const QString& von) {
  MailTeile m;
  QString t = Ersetzen(text, QStringLiteral("{Signatur}"), QStringLiteral("~~") + Z_V_Allgemein::MailFuss);
  t = blankTrim(MeldungsText(t));
  const QString crlf = QStringLiteral("\r\n");
  while (t.startsWith(crlf)) t.remove(0, 2);
  while (t.endsWith(crlf)) t.chop(2);
  t.replace(QLatin1Char('"'), QLatin1Char('\''));
  m.text = t;

  // A subject is one line, whatever line ends it came with.
  QString b = betreff;
  b.replace(crlf, QStringLiteral(" "));
  b.replace(QLatin1Char('\r'), QLatin1Char(' '));
  b.replace(QLatin1Char('\n'), QLatin1Char(' '));
  b = blankTrim(b);
  if (b.isEmpty()) b = QStringLiteral("eMail von ") + Benutzername();
  b.replace(QLatin1Char('"'), QLatin1Char('\''));
  m.betreff = b;

  m.an = blankTrim(an).toLower();
  m.anhang = blankTrim(anhang);
  m.cc = blankTrim(cc);
  m.bcc = blankTrim(bcc);
  m.von = blankTrim(von);
  return m;
}

QString MailtoAdresse(const MailTeile& m) {
  QString url = QStringLiteral("mailto:") + adresseKodieren(m.an) + QStringLiteral("?subject=") +
                teilKodieren(m.betreff);
  if (!m.cc.isEmpty()) url += QStringLiteral("&cc=") + adresseKodieren(m.cc);
  if (!m.bcc.isEmpty()) url += QStringLiteral("&bcc=") + adresseKodieren(m.bcc);
  if (!m.text.isEmpty()) url += QStringLiteral("&body=") + teilKodieren(m.text);
  url.replace(QLatin1Char('\n'), QStringLiteral("%0A"));
  url.replace(QLatin1Char('\r'), QStringLiteral("%0D"));
  url.replace(QLatin1Char('"'), QStringLiteral("%22"));
  url.replace(QLatin1Char('\''), QStringLiteral("%27"));
  url.replace(QLatin1Char('\\'), QStringLiteral("%5C"));
  url.replace(QLatin1Char(' '), QStringLiteral("%20"));
  return restKodieren(url);
}

QStringList MailBefehl(const QString& vorlage, const MailTeile& m, const QString& textDatei) {
  static const QRegularExpression platzhalter(
      QStringLiteral("\\{(to|sub|body|bodyasfile|sendmode|attach|tocc|tobcc|from)\\}"),
      QRegularExpression::CaseInsensitiveOption);
  auto wert = [&](const QString& name) -> QString {
    const QString n = name.toLower();
    if (n == u"to") return m.an;
    if (n == u"sub") return m.betreff;
    if (n == u"body") return m.text;
    if (n == u"bodyasfile") return textDatei;
    if (n == u"attach") return m.anhang;
    if (n == u"tocc") return m.cc;
    if (n == u"tobcc") return m.bcc;
    if (n == u"from") return m.von;
    return {};  // {SendMode}
  };
  QStringList befehl;
  QList<bool> zitiert;
  const QStringList teile = Plattform::BefehlszeileZerlegen(vorlage, &zitiert);
  for (qsizetype i = 0; i < teile.size(); ++i) {
    bool ersetzt = false;
    const QString aus = Programmdienste::Intern::PlatzhalterErsetzen(teile[i], platzhalter, wert, &ersetzt);
    // An unquoted placeholder that comes out empty is gone, as on any command line; a quoted
    // one stays an empty argument, so the arguments after it keep their places.
    if (ersetzt && aus.isEmpty() && !zitiert[i]) continue;
    befehl << aus;
  }
  return befehl;
}

bool Mailer(const QString& an, const QString& betreff, const QString& text, bool senden,
            const QString& anhang, const QString& cc, const QString& bcc, const QString& von,
            const QString& ex) {
  const Plattform::Sanduhr sanduhr;
  DebugLog(spur(QStringLiteral("Mailer.in: "), {an, betreff, text, anhang, cc, bcc, von}, senden, ex));
  if (blankTrim(an).toLower() == QStringLiteral("$nosend")) return false;

  MailTeile m = MailVorbereiten(an, betreff, text, anhang, cc, bcc, von);
  if (!m.anhang.isEmpty() && !QFileInfo(m.anhang).isFile()) {
    Plattform::MsgBox(QStringLiteral("Der Anhang »%1« wurde nicht gefunden. Die eMail wird ohne "
                                     "Anhang vorbereitet.").arg(m.anhang),
                      Plattform::vbExclamation, ProgrammTitel);
    m.anhang.clear();
  }
  DebugLog(spur(QStringLiteral("Mailer.rf: "), m, senden, ex));

  bool uebergeben = false;
  const QString vorlage = blankTrim(IniLesen({}, kAbschnitt, QStringLiteral("MailerSendExtern")));
  if (vorlage.isEmpty()) {
    const QString url = MailtoAdresse(m);
    const bool ohneLoesung = !m.anhang.isEmpty() || !m.von.isEmpty() || senden || url.size() > 1915;
    DebugLog((ohneLoesung ? QStringLiteral("Mailer.do: NoSol-") : QStringLiteral("Mailer.do: MailTo-")) + url);
    uebergeben = Plattform::ShellOeffnen(url);
    if (!uebergeben)
      FehlerBehandlung(5, fehlerText(true),
                       QStringLiteral("Für eMail-Adressen (mailto:) ist auf diesem System kein "
                                      "Mailprogramm eingerichtet."));
    else
      Warten(0.5f);
  } else {
    QString datei;
    if (vorlage.contains(QStringLiteral("{BodyAsFile}"), Qt::CaseInsensitive)) {
      datei = PfadVerbinden(ordnerTmp, QStringLiteral("MailerSendExternBody.tmp"));
      QString grund;
      if (!Plattform::TextSchreiben(datei, m.text + QStringLiteral("\r\n"), &grund) &&
          FehlerBehandlung(Plattform::FehlerPfadZugriff, fehlerText(false), grund) != 5)
        return false;
    }
    const QStringList befehl = MailBefehl(vorlage, m, datei);
    DebugLog(QStringLiteral("Mailer.do: cmd-") + befehl.join(QLatin1Char(' ')));
    if (!befehl.isEmpty()) uebergeben = Plattform::ProgrammStarten(befehl.first(), befehl.mid(1));
    if (!uebergeben) {
      FehlerBehandlung(Plattform::FehlerDateiNichtGefunden, fehlerText(false),
                       QStringLiteral("Das Mailprogramm »%1« aus der Einstellung MailerSendExtern "
                                      "konnte nicht gestartet werden.")
                           .arg(befehl.value(0)));
    } else {
      const double ms = Laufzeit::Val(IniLesenVorgabe({}, kAbschnitt,
                                                      QStringLiteral("MailerSendExternWaitMS"),
                                                      QStringLiteral("1001")));
      // A broken value must not freeze the program: at most a minute.
      if (ms > 0) Warten(float(qMin(ms, 60000.0) / 1000.0));
    }
  }
  DebugLog(QStringLiteral("Mailer.ex: Exit"));
  return uebergeben;
}

bool FehlerberichtSenden(const QString& bericht) {
  return Mailer(Z_V_Allgemein::KontaktAdresse,
                QStringLiteral("Fehlerbericht ") + ProduktName + QStringLiteral(" V") +
                    HauptfensterHaken::Version(),
                bericht);
}

}  // namespace Z_Alles

namespace Z_V_Allgemein {

QString MailFussText() {
  const QString linie = QString(50, u'_') + QStringLiteral("~~");
  QString t = linie;
  t += QStringLiteral("Dormiks-Programme~");
  t += QStringLiteral("Skribon, Varnisch, Ostrup und Lumetrix~");
  t += QStringLiteral("Internet: ") + WebAdresse + QStringLiteral("~");
  t += QStringLiteral("eMail: ") + KontaktAdresse + QStringLiteral("~");
  t += linie;
  t += QStringLiteral("Wenn Sie Bezug auf diese eMail nehmen, dann bitte~");
  t += QStringLiteral("diesen Text mit an die Antwort haengen.   Danke.~");
  t += linie;
  t += QStringLiteral("eMail vom ") + Laufzeit::Format(Plattform::Jetzt(), QStringLiteral("dd.mm.yyyy"));
  return Z_Alles::MeldungsText(t);
}

void MailFussSetzen() { MailFuss = MailFussText(); }

}  // namespace Z_V_Allgemein
