// The HTTP client against a small server on 127.0.0.1 inside the test: what counts as content,
// every way a transfer fails (in German), and bodies streamed into a file.
#include <QDir>
#include <QFileInfo>
#include <QMap>
#include <memory>
#include <QTcpServer>
#include <QTcpSocket>

#include "platform/http.h"
#include "support/fixture.h"

namespace {

// Answers GET requests by path: a status with headers and body, or nothing at all (a server
// that hangs).
class KleinerServer {
public:
  enum Art { Normal, Schweigen, OhneLaenge, Auflegen };
  struct Antwort {
    Antwort(int s = 200, QByteArray b = {}, QByteArray k = {}, Art a = Normal)
        : status(s), body(b), kopf(k), art(a) {}
    int status;
    QByteArray body;
    QByteArray kopf;  // extra header lines, each ending in \r\n
    Art art;          // Schweigen: no answer; OhneLaenge: no Content-Length; Auflegen: closes at once
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
    const Antwort a = wege.value(pfad, Antwort{404, "nicht da"});
    if (a.art == Schweigen) return;
    if (a.art == Auflegen) {
      s->disconnectFromHost();
      return;
    }
    QByteArray r = "HTTP/1.1 " + QByteArray::number(a.status) + " X\r\n" + a.kopf;
    if (a.art != OhneLaenge) r += "Content-Length: " + QByteArray::number(a.body.size()) + "\r\n";
    s->write(r + "Connection: close\r\n\r\n" + a.body);
    s->disconnectFromHost();
  }
  QMap<QTcpSocket*, QByteArray> puffer_;
};

class HttpTest : public Testhilfe::SkribonTest {
protected:
  // The process's peak resident memory in bytes.
  static qint64 spitzenSpeicher() {
    QFile f("/proc/self/status");
    if (!f.open(QIODevice::ReadOnly)) return 0;
    for (const QByteArray& z : f.readAll().split('\n'))
      if (z.startsWith("VmHWM:")) return z.mid(6).trimmed().split(' ').value(0).toLongLong() * 1024;
    return 0;
  }
};

TEST_F(HttpTest, AntwortenUndFehlschlaege) {
  KleinerServer srv;
  const QByteArray gross(5000, 'x');
  srv.wege["/ok"] = {200, "[Version]\r\nSkribon=2026.12.0001\r\n"};
  srv.wege["/leer"] = {204, {}};
  srv.wege["/fehlt"] = {404, "<html>Not found</html>"};
  srv.wege["/kaputt"] = {500, "Fehler"};
  srv.wege["/weiter"] = {302, {}, "Location: /ok\r\n"};
  srv.wege["/schleife"] = {302, {}, "Location: /schleife\r\n"};
  srv.wege["/gross"] = {200, gross};
  srv.wege["/ungesagt"] = {200, gross, {}, KleinerServer::OhneLaenge};
  srv.wege["/haengt"] = {200, {}, {}, KleinerServer::Schweigen};
  srv.wege["/auflegen"] = {200, {}, {}, KleinerServer::Auflegen};

  QTcpServer zu;  // a port on which nobody answers
  ASSERT_TRUE(zu.listen(QHostAddress::LocalHost, 0));
  const QString tot = QStringLiteral("http://127.0.0.1:%1/x").arg(zu.serverPort());
  zu.close();

  // datei: the body goes into this file; a failure leaves the older file ("alt") as it was.
  const QString datei = wurzel + "/geladen", keinOrdner = wurzel + "/fehlt/geladen";
  struct Fall {
    QString adresse;
    bool ok;
    QByteArray daten;
    QString fehlerTeil;
    qint64 hoechstens = 1024 * 1024;
    bool nurHttps = false;
    QString datei = {};
  };
  const Fall faelle[] = {
      {srv.adresse("/ok"), true, "[Version]\r\nSkribon=2026.12.0001\r\n", {}},
      {srv.adresse("/leer"), true, {}, {}},
      {srv.adresse("/weiter"), true, "[Version]\r\nSkribon=2026.12.0001\r\n", {}},
      {srv.adresse("/fehlt"), false, {}, "404"},
      {srv.adresse("/kaputt"), false, {}, "500"},
      {srv.adresse("/schleife"), false, {}, "endlos"},
      {srv.adresse("/gross"), false, {}, "zu groß (5000 Bytes)", 1000},
      {srv.adresse("/gross"), true, gross, {}, 5000},
      {srv.adresse("/ungesagt"), false, {}, "zu groß (mehr als 4999 Bytes)", 4999},
      {srv.adresse("/ungesagt"), true, gross, {}, 5000},
      {srv.adresse("/gross"), true, gross, {}, 5000, false, datei},
      {srv.adresse("/gross"), false, {}, "zu groß (5000 Bytes)", 4999, false, datei},
      {srv.adresse("/ungesagt"), false, {}, "zu groß (mehr als 4999 Bytes)", 4999, false, datei},
      {srv.adresse("/fehlt"), false, {}, "404", 5000, false, datei},
      {srv.adresse("/ok"), false, {}, "„" + keinOrdner + "“ kann nicht angelegt werden", 5000, false, keinOrdner},
      {srv.adresse("/haengt"), false, {}, "Der Server antwortet zu langsam."},
      {srv.adresse("/auflegen"), false, {}, "Der Server „127.0.0.1“ hat die Verbindung vorzeitig beendet."},
      {tot, false, {}, "Keine Verbindung zum Server „127.0.0.1“: die Verbindung wurde abgelehnt."},
      {srv.adresse("/ok"), false, {}, "nicht verschlüsselt", 1024, true},
      {"file:///etc/passwd", false, {}, "keine Web-Adresse"},
      {"data:text/plain,[Version]", false, {}, "keine Web-Adresse"},
      {"", false, {}, "keine Web-Adresse"},
  };
  for (const Fall& f : faelle) {
    SCOPED_TRACE((f.adresse + " " + f.datei).toStdString());
    if (f.datei == datei) DateiSchreiben(datei, "alt");
    Plattform::HttpAnfrage a;
    a.adresse = f.adresse;
    a.hoechstens = f.hoechstens;
    a.nurHttps = f.nurHttps;
    a.ruheMs = 400;
    a.gesamtMs = 5000;
    a.datei = f.datei;
    const Plattform::HttpErgebnis e = Plattform::HttpHolen(a);
    EXPECT_EQ(e.ok, f.ok) << e.fehler.toStdString();
    EXPECT_EQ(e.laenge, f.ok ? f.daten.size() : 0);  // nothing of a failed body counts
    if (f.datei.isEmpty()) {
      EXPECT_EQ(e.daten, f.daten);
    } else {
      EXPECT_TRUE(e.daten.isEmpty());
      if (f.datei == datei) {
        EXPECT_EQ(DateiLesen(datei), f.ok ? f.daten : QByteArray("alt"));
      }
      EXPECT_EQ(QDir(QFileInfo(f.datei).path()).entryList(QDir::Files).size(), f.datei == datei ? 1 : 0)
          << "no partial file left";
    }
    if (!f.ok) {
      EXPECT_TRUE(e.fehler.contains(f.fehlerTeil)) << e.fehler.toStdString();
    }
  }
  // Refused addresses never reach the server.
  EXPECT_EQ(srv.anfragen.count("/ok"), 2);
}

// 64 MB without a length into a file: the body is never held in memory as a whole.
TEST_F(HttpTest, GrosseDateiOhneSpeicher) {
  QFile spitze("/proc/self/clear_refs");
  if (!spitze.open(QIODevice::WriteOnly) || spitze.write("5") != 1) GTEST_SKIP() << "no way to reset the peak";
  spitze.close();
  const qint64 gesamt = 64 << 20;
  QTcpServer srv;
  ASSERT_TRUE(srv.listen(QHostAddress::LocalHost, 0));
  QObject::connect(&srv, &QTcpServer::newConnection, [&] {
    QTcpSocket* s = srv.nextPendingConnection();
    auto gesendet = std::make_shared<qint64>(-1);
    // Sends a little at a time, so the server holds no more than a few chunks either.
    auto nachlegen = [s, gesendet, gesamt] {
      if (*gesendet < 0) {
        s->write("HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n");
        *gesendet = 0;
      }
      while (s->bytesToWrite() < (1 << 20) && *gesendet < gesamt) {
        s->write(QByteArray(256 * 1024, 'x'));
        *gesendet += 256 * 1024;
      }
      if (*gesendet >= gesamt && s->bytesToWrite() == 0) s->disconnectFromHost();
    };
    QObject::connect(s, &QTcpSocket::readyRead, s, [s, nachlegen] {
      s->readAll();
      nachlegen();
    });
    QObject::connect(s, &QTcpSocket::bytesWritten, s, nachlegen);
  });
  [[maybe_unused]] const qint64 vorher = spitzenSpeicher();
  Plattform::HttpAnfrage a;
  a.adresse = QStringLiteral("http://127.0.0.1:%1/setup").arg(srv.serverPort());
  a.hoechstens = qint64(1) << 30;
  a.datei = wurzel + "/setup";
  const Plattform::HttpErgebnis e = Plattform::HttpHolen(a);
  ASSERT_TRUE(e.ok) << e.fehler.toStdString();
  EXPECT_EQ(e.laenge, gesamt);
  EXPECT_EQ(QFileInfo(a.datei).size(), gesamt);
#if !defined(__SANITIZE_ADDRESS__)
  // The address sanitizer keeps freed memory in quarantine, so the peak says nothing there.
  EXPECT_LT(spitzenSpeicher() - vorher, gesamt / 2);
#endif
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
