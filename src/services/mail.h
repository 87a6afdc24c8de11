#pragma once
// Mail: the program sends nothing itself. It hands a prepared mail to the mail program named
// in [Verknüpfung] MailerSendExtern (a command template), or opens a "mailto:" address with the
// desktop's mail handler. Also the address check and the mail footer.
#include <QString>

#include "platform/hersteller.h"
#include <QStringList>

namespace Z_Alles {

// Hands a mail over. All callers pass senden=false and leave attachment, copies and sender
// empty; ex only goes into the debug log. False when no mail program could be started.
bool Mailer(const QString& an, const QString& betreff, const QString& text, bool senden = false,
            const QString& anhang = {}, const QString& cc = {}, const QString& bcc = {},
            const QString& von = {}, const QString& ex = {});

// True when the text looks like a mail address (plain ASCII, one "@", a dot after it, ...).
bool EmailPrüfen(const QString& adresse);

// What Mailer sends, prepared: the body with the footer and markup applied, the subject on one
// line (never empty), the address trimmed and lower-cased.
struct MailTeile {
  QString an, betreff, text, anhang, cc, bcc, von;
};
MailTeile MailVorbereiten(const QString& an, const QString& betreff, const QString& text,
                          const QString& anhang = {}, const QString& cc = {},
                          const QString& bcc = {}, const QString& von = {});

// The "mailto:" address of a prepared mail, every character a mail handler could misread
// percent-encoded.
QString MailtoAdresse(const MailTeile& mail);

// The external mail program's command from its template: program first, then its arguments.
// Placeholders ({To}, {Sub}, {Body}, {BodyAsFile}, {SendMode}, {Attach}, {tocc}, {tobcc},
// {from}, any case) are replaced inside each argument in one pass, so a value that holds a
// placeholder or a quote stays what it is. An unquoted argument that held only placeholders with
// empty values is left out; a quoted one stays as an empty argument. Unknown placeholders stay
// as written.
QStringList MailBefehl(const QString& vorlage, const MailTeile& mail, const QString& textDatei);

// Error report by mail to the maker (the error handler's offer).
bool FehlerberichtSenden(const QString& bericht);

}  // namespace Z_Alles

namespace Z_V_Allgemein {

// The maker's contact address, web and download addresses.
inline const QString KontaktAdresse = Plattform::HerstellerKontakt();
inline const QString WebAdresse = Plattform::HerstellerHomepage();
inline const QString DownloadAdresse = Plattform::HerstellerHomepage() + QStringLiteral("download");

// The footer that "{Signatur}" in a mail body stands for; set once at start.
inline QString MailFuss;

QString MailFussText();
void MailFussSetzen();

}  // namespace Z_V_Allgemein
