#pragma once
// Synchronous HTTP GET for the version check and the update download. The caller's window
// stays responsive (a nested event loop runs meanwhile) and shows the busy pointer. A transfer
// has an inactivity timeout, an overall limit and a size cap; a response that is not 2xx, a
// redirect loop or an address other than http(s) is a failed transfer, never content.
// Through one replaceable service, so tests answer it without a network.
#include <QByteArray>
#include <QString>

namespace Plattform {

struct HttpAnfrage {
  QString adresse;
  qint64 hoechstens = 1024 * 1024;  // bytes; more is a failure
  int ruheMs = 20000;               // no data for this long: failure
  int gesamtMs = 120000;            // the whole transfer
  bool nurHttps = false;            // refuse http: and every redirect that leaves https
  // Not empty: the body goes into this file as it arrives instead of into memory (daten stays
  // empty). The file appears only when the transfer succeeded; a failed one leaves an older
  // file of that name as it was.
  QString datei;
};

struct HttpErgebnis {
  bool ok = false;
  int status = 0;     // HTTP status, 0 when none came
  QByteArray daten;   // empty unless ok (and always with datei)
  qint64 laenge = 0;  // bytes of the body, also when it went into the file; 0 unless ok
  QString fehler;     // German reason when not ok
};

class HttpDienst {
public:
  virtual ~HttpDienst() = default;
  virtual HttpErgebnis holen(const HttpAnfrage& anfrage) = 0;
};

void SetzeHttpDienst(HttpDienst* dienst);  // nullptr = the real one
HttpDienst& Http();

inline HttpErgebnis HttpHolen(const HttpAnfrage& anfrage) { return Http().holen(anfrage); }

// True for an absolute http: or https: address with a host.
bool IstWebAdresse(const QString& adresse);
// The address with https: in place of http: (other addresses unchanged).
QString AlsHttps(const QString& adresse);

}  // namespace Plattform
