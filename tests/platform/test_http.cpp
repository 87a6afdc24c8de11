// The HTTP client against a small server on 127.0.0.1 inside the test: what counts as content
// and every way a transfer fails.
#include <QMap>
#include <QTcpServer>
#include <QTcpSocket>

#include "platform/http.h"
#include "support/fixture.h"

namespace {

// Answers GET requests by path: a status with headers and body, or nothing at all (a server
// that hangs).
class KleinerServer {
public:
  struct Antwort {
    Antwort(int s = 200, QByteArray b = {}, QByteArray k = {}, bool still = false)
        : status(s), body(b), kopf(k), schweigen(still) {}
    int status;
    QByteArray body;
    QByteArray kopf;  // extra header lines, each ending in \r\n
    bool schweigen;
  };

  KleinerServer() {
    EXPECT_TRUE(server.listen(QHostAddress::LocalHost, 0));
    QObject::connect(&server, &QTcpServer::newConnection, [this] {
      while (QTcpSocket* s = server.nextPendingConnection()) {
        QObject::connect(s, &QTcpSocket::readyRead, s, [this, s] { lesen(s); });
      }
    });
  }
  QString adresse(const QString& pfad) const {
    return QStringLiteral("http://127.0.0.1:%1%2").arg(server.serverPort()).arg(pfad);
  }

  QTcpServer server;
  QMap<QString, Antwort> wege;
  QStringList anfragen;

private:
  void lesen(QTcpSocket* s) {
    QByteArray& puffer = puffer_[s];
    puffer += s->readAll();
    if (!puffer.contains("\r\n\r\n")) return;
    const QString pfad = QString::fromLatin1(puffer.split(' ').value(1));
    puffer.clear();
    anfragen << pfad;
    const Antwort a = wege.value(pfad, Antwort{404, "nicht da", {}, false});
    if (a.schweigen) return;
    QByteArray r = "HTTP/1.1 " + QByteArray::number(a.status) + " X\r\n" + a.kopf +
                   "Content-Length: " + QByteArray::number(a.body.size()) + "\r\nConnection: close\r\n\r\n" + a.body;
    s->write(r);
    s->disconnectFromHost();
  }
  QMap<QTcpSocket*, QByteArray> puffer_;
};

class HttpTest : public Testhilfe::SkribonTest {};

TEST_F(HttpTest, AntwortenUndFehlschlaege) {
  KleinerServer srv;
  srv.wege["/ok"] = {200, "[Version]\r\nSkribon=2026.12.0001\r\n"};
  srv.wege["/leer"] = {204, {}};
  srv.wege["/fehlt"] = {404, "<html>Not found</html>"};
  srv.wege["/kaputt"] = {500, "Fehler"};
  srv.wege["/weiter"] = {302, {}, "Location: /ok\r\n"};
  srv.wege["/schleife"] = {302, {}, "Location: /schleife\r\n"};
  srv.wege["/gross"] = {200, QByteArray(5000, 'x')};
  srv.wege["/haengt"] = {200, {}, {}, true};

  QTcpServer zu;  // a port on which nobody answers
  ASSERT_TRUE(zu.listen(QHostAddress::LocalHost, 0));
  const QString tot = QStringLiteral("http://127.0.0.1:%1/x").arg(zu.serverPort());
  zu.close();

  struct Fall {
    QString adresse;
    bool ok;
    QByteArray daten;
    QString fehlerTeil;
    qint64 hoechstens = 1024 * 1024;
    bool nurHttps = false;
  };
  const Fall faelle[] = {
      {srv.adresse("/ok"), true, "[Version]\r\nSkribon=2026.12.0001\r\n", {}},
      {srv.adresse("/leer"), true, {}, {}},
      {srv.adresse("/weiter"), true, "[Version]\r\nSkribon=2026.12.0001\r\n", {}},
      {srv.adresse("/fehlt"), false, {}, "404"},
      {srv.adresse("/kaputt"), false, {}, "500"},
      {srv.adresse("/schleife"), false, {}, "endlos"},
      {srv.adresse("/gross"), false, {}, "zu groß", 1000},
      {srv.adresse("/gross"), true, QByteArray(5000, 'x'), {}, 5000},
      {srv.adresse("/haengt"), false, {}, "zu langsam"},
      {tot, false, {}, "Keine Verbindung"},
      {srv.adresse("/ok"), false, {}, "nicht verschlüsselt", 1024, true},
      {"file:///etc/passwd", false, {}, "keine Web-Adresse"},
      {"data:text/plain,[Version]", false, {}, "keine Web-Adresse"},
      {"", false, {}, "keine Web-Adresse"},
  };
  for (const Fall& f : faelle) {
    SCOPED_TRACE(f.adresse.toStdString());
    Plattform::HttpAnfrage a;
    a.adresse = f.adresse;
    a.hoechstens = f.hoechstens;
    a.nurHttps = f.nurHttps;
    a.ruheMs = 400;
    a.gesamtMs = 5000;
    const Plattform::HttpErgebnis e = Plattform::HttpHolen(a);
    EXPECT_EQ(e.ok, f.ok) << e.fehler.toStdString();
    EXPECT_EQ(e.daten, f.daten);
    if (!f.ok) {
      EXPECT_TRUE(e.fehler.contains(f.fehlerTeil)) << e.fehler.toStdString();
    }
  }
  // Refused addresses never reach the server.
  EXPECT_EQ(srv.anfragen.count("/ok"), 2);
}

TEST_F(HttpTest, WebAdressen) {
  EXPECT_TRUE(Plattform::IstWebAdresse("https://example.org/a.exe"));
  EXPECT_TRUE(Plattform::IstWebAdresse(" HTTP://example.org "));
  for (const char* a : {"file:///etc/passwd", "data:,x", "ftp://h/x", "javascript:alert(1)", "https://", "www.x.de",
                        "/etc/passwd", ""})
    EXPECT_FALSE(Plattform::IstWebAdresse(a)) << a;
  EXPECT_EQ(Plattform::AlsHttps("HTTP://h/x"), "https://h/x");
  EXPECT_EQ(Plattform::AlsHttps("https://h/x"), "https://h/x");
  EXPECT_EQ(Plattform::AlsHttps("file:///x"), "file:///x");
}

}  // namespace
