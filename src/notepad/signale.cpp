#include "notepad/signale.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

#include "foundation/hauptfenster.h"
#include "foundation/z_alles.h"

namespace Signale {

namespace {

int paar_[2] = {-1, -1};
QSocketNotifier* melder_ = nullptr;
struct sigaction altTerm_ {}, altHup_ {}, altInt_ {};
bool installiert_ = false;

void handler(int signal) {
  const char c = char(signal);
  // write() is safe in a signal handler; a full pipe only means a wake-up is already pending.
  [[maybe_unused]] const ssize_t n = ::write(paar_[1], &c, 1);
}

void geweckt() {
  char c = 0;
  while (::read(paar_[0], &c, 1) > 0) {
  }
  Z_Alles::DebugLog(QStringLiteral("Signal zum Beenden erhalten"));
  Hauptfenster* h = Hauptfenster::Instanz();
  // Before the main window exists (a box of the start) nothing of the user's is open, and the
  // start would only go on after the box.
  if (!h) ::_exit(0);
  h->beenden(true);
  QCoreApplication::quit();
}

}  // namespace

void Installieren() {
  if (installiert_) return;
  if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, paar_) != 0) return;
  for (int fd : paar_) ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
  melder_ = new QSocketNotifier(paar_[0], QSocketNotifier::Read);
  QObject::connect(melder_, &QSocketNotifier::activated, melder_, [] { geweckt(); });

  struct sigaction sa {};
  sa.sa_handler = handler;
  sigemptyset(&sa.sa_mask);
  sa.sa_flags = SA_RESTART;
  ::sigaction(SIGTERM, &sa, &altTerm_);
  ::sigaction(SIGHUP, &sa, &altHup_);
  ::sigaction(SIGINT, &sa, &altInt_);
  installiert_ = true;
}

void Entfernen() {
  if (!installiert_) return;
  ::sigaction(SIGTERM, &altTerm_, nullptr);
  ::sigaction(SIGHUP, &altHup_, nullptr);
  ::sigaction(SIGINT, &altInt_, nullptr);
  delete melder_;
  melder_ = nullptr;
  ::close(paar_[0]);
  ::close(paar_[1]);
  paar_[0] = paar_[1] = -1;
  installiert_ = false;
}

}  // namespace Signale
