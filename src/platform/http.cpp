// The real HTTP client on QtNetwork: one GET per call, waited for in a nested event loop.
#include "platform/http.h"

#include <QApplication>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPointer>
#include <QSaveFile>
#include <QTimer>
#include <QUrl>
#include <optional>

#include "platform/dialoge.h"

namespace Plattform {

namespace {

HttpErgebnis fehlschlag(const QString& text, int status = 0) {
  HttpErgebnis e;
  e.fehler = text;
  e.status = status;
  return e;
}

// Our own German text for each failure: Qt's texts are English where its translations are not
// installed.
QString netzFehlerText(QNetworkReply::NetworkError fehler, const QString& server) {
  using E = QNetworkReply;
  switch (fehler) {
    case E::ConnectionRefusedError:
      return QStringLiteral("Keine Verbindung zum Server „%1“: die Verbindung wurde abgelehnt.").arg(server);
    case E::RemoteHostClosedError:
      return QStringLiteral("Der Server „%1“ hat die Verbindung vorzeitig beendet.").arg(server);
    case E::HostNotFoundError:
      return QStringLiteral("Keine Verbindung zum Server „%1“: der Name wurde nicht gefunden.").arg(server);
    case E::SslHandshakeFailedError:
      return QStringLiteral("Keine sichere Verbindung zum Server „%1“: sein Zertifikat oder seine "
                            "Verschlüsselung wurde nicht angenommen.")
          .arg(server);
    case E::TemporaryNetworkFailureError:
    case E::NetworkSessionFailedError:
    case E::BackgroundRequestNotAllowedError:
      return QStringLiteral("Keine Verbindung zum Server „%1“: das Netzwerk ist nicht verfügbar.").arg(server);
    case E::ProxyConnectionRefusedError:
    case E::ProxyConnectionClosedError:
    case E::ProxyNotFoundError:
    case E::ProxyTimeoutError:
    case E::ProxyAuthenticationRequiredError:
    case E::UnknownProxyError:
      return QStringLiteral("Keine Verbindung zum Server „%1“: der Proxy-Server ist nicht erreichbar oder "
                            "verlangt eine Anmeldung.")
          .arg(server);
    case E::ContentAccessDenied:
    case E::ContentOperationNotPermittedError:
    case E::AuthenticationRequiredError:
      return QStringLiteral("Der Server „%1“ verweigert den Zugriff.").arg(server);
    case E::ContentNotFoundError:
    case E::ContentGoneError:
      return QStringLiteral("Die Datei wurde auf dem Server „%1“ nicht gefunden.").arg(server);
    case E::ProtocolUnknownError:
    case E::ProtocolInvalidOperationError:
    case E::ProtocolFailure:
    case E::ContentConflictError:
    case E::UnknownContentError:
    case E::InternalServerError:
    case E::OperationNotImplementedError:
    case E::ServiceUnavailableError:
    case E::UnknownServerError:
      return QStringLiteral("Der Server „%1“ antwortete fehlerhaft.").arg(server);
    default:
      return QStringLiteral("Keine Verbindung zum Server „%1“ (Netzwerkfehler %2).").arg(server).arg(int(fehler));
  }
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

    // Written beside its final name and put in place only when complete.
    std::optional<QSaveFile> datei;
    if (!anfrage.datei.isEmpty()) {
      datei.emplace(anfrage.datei);
      if (!datei->open(QIODevice::WriteOnly))
        return fehlschlag(QStringLiteral("Die Datei „%1“ kann nicht angelegt werden.").arg(anfrage.datei));
    }

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
    // Into a file, at most this much is held in memory at a time.
    if (datei) antwort->setReadBufferSize(1024 * 1024);

    QEventLoop schleife;
    QString grund;
    QByteArray daten;
    qint64 laenge = 0;
    auto abbrechen = [&](const QString& text) {
      if (grund.isEmpty()) grund = text;
      if (antwort) antwort->abort();
    };
    auto lesen = [&] {
      if (!antwort || !antwort->isOpen() || !grund.isEmpty()) return;
      const QByteArray stueck = antwort->readAll();
      laenge += stueck.size();
      if (laenge > anfrage.hoechstens) {
        abbrechen(QStringLiteral("Die Antwort des Servers ist zu groß (mehr als %1 Bytes).").arg(anfrage.hoechstens));
        return;
      }
      if (!datei) daten += stueck;
      else if (datei->write(stueck) != stueck.size())
        abbrechen(QStringLiteral("Die Datei „%1“ kann nicht geschrieben werden (Datenträger voll?).")
                      .arg(anfrage.datei));
    };
    QObject::connect(antwort, &QNetworkReply::redirected, &schleife, [&](const QUrl& ziel) {
      if (anfrage.nurHttps && ziel.scheme().compare(QLatin1String("https"), Qt::CaseInsensitive) != 0)
        abbrechen(QStringLiteral("Der Server leitete auf eine unverschlüsselte Adresse um."));
    });
    QObject::connect(antwort, &QNetworkReply::metaDataChanged, &schleife, [&] {
      const QVariant angekuendigt = antwort->header(QNetworkRequest::ContentLengthHeader);
      if (angekuendigt.isValid() && angekuendigt.toLongLong() > anfrage.hoechstens)
        abbrechen(QStringLiteral("Die Antwort des Servers ist zu groß (%1 Bytes).").arg(angekuendigt.toLongLong()));
    });
    QObject::connect(antwort, &QNetworkReply::readyRead, &schleife, lesen);
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

    lesen();
    const int status = antwort->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const QNetworkReply::NetworkError fehler = antwort->error();
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
    if (fehler != QNetworkReply::NoError) return fehlschlag(netzFehlerText(fehler, url.host()), status);
    if (datei && !datei->commit())
      return fehlschlag(QStringLiteral("Die Datei „%1“ kann nicht geschrieben werden.").arg(anfrage.datei), status);
    HttpErgebnis e;
    e.ok = true;
    e.status = status;
    e.daten = daten;
    e.laenge = laenge;
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
