// The real HTTP client on QtNetwork: one GET per call, waited for in a nested event loop.
#include "platform/http.h"

#include <QApplication>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPointer>
#include <QTimer>
#include <QUrl>

#include "platform/dialoge.h"

namespace Plattform {

namespace {

HttpErgebnis fehlschlag(const QString& text, int status = 0) {
  HttpErgebnis e;
  e.fehler = text;
  e.status = status;
  return e;
}

class EchtesHttp : public HttpDienst {
public:
  HttpErgebnis holen(const HttpAnfrage& anfrage) override {
    const QString adresse = anfrage.adresse.trimmed();
    if (!IstWebAdresse(adresse))
      return fehlschlag(QStringLiteral("Die Adresse „%1“ ist keine Web-Adresse (http/https).").arg(adresse));
    const QUrl url(adresse);
    if (anfrage.nurHttps && url.scheme().compare(QLatin1String("https"), Qt::CaseInsensitive) != 0)
      return fehlschlag(QStringLiteral("Die Adresse „%1“ ist nicht verschlüsselt (https).").arg(adresse));

    const Sanduhr zeiger;  // while the transfer runs
    QNetworkAccessManager netz;
    QNetworkRequest req(url);
    // A redirect from https to http is refused; a loop ends after a few steps.
    req.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    req.setMaximumRedirectsAllowed(8);
    req.setTransferTimeout(std::max(1, anfrage.ruheMs));
    req.setHeader(QNetworkRequest::UserAgentHeader,
                  QStringLiteral("Skribon/%1.%2.%3")
                      .arg(SKRIBON_VERSION_MAJOR)
                      .arg(SKRIBON_VERSION_MINOR)
                      .arg(SKRIBON_VERSION_REVISION));
    QPointer<QNetworkReply> antwort = netz.get(req);

    QEventLoop schleife;
    QString grund;
    QByteArray daten;
    auto abbrechen = [&](const QString& text) {
      if (grund.isEmpty()) grund = text;
      if (antwort) antwort->abort();
    };
    QObject::connect(antwort, &QNetworkReply::redirected, &schleife, [&](const QUrl& ziel) {
      if (anfrage.nurHttps && ziel.scheme().compare(QLatin1String("https"), Qt::CaseInsensitive) != 0)
        abbrechen(QStringLiteral("Der Server leitete auf eine unverschlüsselte Adresse um."));
    });
    QObject::connect(antwort, &QNetworkReply::metaDataChanged, &schleife, [&] {
      const QVariant laenge = antwort->header(QNetworkRequest::ContentLengthHeader);
      if (laenge.isValid() && laenge.toLongLong() > anfrage.hoechstens)
        abbrechen(QStringLiteral("Die Antwort des Servers ist zu groß (%1 Bytes).").arg(laenge.toLongLong()));
    });
    QObject::connect(antwort, &QNetworkReply::readyRead, &schleife, [&] {
      if (!antwort->isOpen()) return;
      daten += antwort->readAll();
      if (daten.size() > anfrage.hoechstens)
        abbrechen(QStringLiteral("Die Antwort des Servers ist zu groß (mehr als %1 Bytes).").arg(anfrage.hoechstens));
    });
    QObject::connect(antwort, &QNetworkReply::finished, &schleife, &QEventLoop::quit);
    QTimer gesamt;
    gesamt.setSingleShot(true);
    QObject::connect(&gesamt, &QTimer::timeout, &schleife, [&] {
      abbrechen(QStringLiteral("Der Server antwortet zu langsam."));
    });
    gesamt.start(std::max(1, anfrage.gesamtMs));
    if (!antwort->isFinished()) schleife.exec();
    gesamt.stop();
    if (!antwort) return fehlschlag(QStringLiteral("Die Verbindung wurde abgebrochen."));

    if (antwort->isOpen()) daten += antwort->readAll();
    const int status = antwort->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const QNetworkReply::NetworkError fehler = antwort->error();
    const QString fehlerText = antwort->errorString();
    antwort->deleteLater();
    if (!grund.isEmpty()) return fehlschlag(grund, status);
    if (fehler == QNetworkReply::OperationCanceledError || fehler == QNetworkReply::TimeoutError)
      return fehlschlag(QStringLiteral("Der Server antwortet zu langsam."), status);
    if (fehler == QNetworkReply::TooManyRedirectsError)
      return fehlschlag(QStringLiteral("Der Server leitet endlos um."), status);
    if (fehler == QNetworkReply::InsecureRedirectError)
      return fehlschlag(QStringLiteral("Der Server leitete auf eine unverschlüsselte Adresse um."), status);
    if (status != 0 && (status < 200 || status > 299))
      return fehlschlag(QStringLiteral("Der Server antwortete mit dem Status %1.").arg(status), status);
    if (fehler != QNetworkReply::NoError)
      return fehlschlag(QStringLiteral("Keine Verbindung zum Server: ") + fehlerText, status);
    if (daten.size() > anfrage.hoechstens)
      return fehlschlag(QStringLiteral("Die Antwort des Servers ist zu groß."), status);
    HttpErgebnis e;
    e.ok = true;
    e.status = status;
    e.daten = daten;
    return e;
  }
};

EchtesHttp echtes_;
HttpDienst* dienst_ = nullptr;

}  // namespace

void SetzeHttpDienst(HttpDienst* dienst) { dienst_ = dienst; }
HttpDienst& Http() { return dienst_ ? *dienst_ : echtes_; }

bool IstWebAdresse(const QString& adresse) {
  const QUrl url(adresse.trimmed(), QUrl::StrictMode);
  const QString schema = url.scheme().toLower();
  return url.isValid() && (schema == QLatin1String("http") || schema == QLatin1String("https")) &&
         !url.host().isEmpty();
}

QString AlsHttps(const QString& adresse) {
  const QString t = adresse.trimmed();
  if (t.startsWith(QLatin1String("http:"), Qt::CaseInsensitive)) return QStringLiteral("https:") + t.mid(5);
  return t;
}

}  // namespace Plattform
