#include <QTimer>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <pwd.h>
#include <unistd.h>

#include "platform/system.h"

// The real wait: a time that is no number or endless returns at once, yet lets pending
// events run like a wait of zero.
TEST(EchtesSystem, WartenOhneEndlicheZeit) {
  Plattform::SystemDienst echt;
  for (double zeit : {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(),
                      -std::numeric_limits<double>::infinity(), 0.0, -1.0}) {
    bool gelaufen = false;
    QTimer::singleShot(0, [&] { gelaufen = true; });
    echt.warten(zeit);
    EXPECT_TRUE(gelaufen) << zeit;
  }
}

// The login name: from the environment when it has one, else the account's own name (a start
// from a service or a desktop that sets neither variable).
TEST(EchtesSystem, AnmeldenameOhneUmgebung) {
  const QByteArray altUser = qgetenv("USER"), altLogname = qgetenv("LOGNAME");
  const passwd* konto = getpwuid(geteuid());
  ASSERT_NE(konto, nullptr);
  const struct { const char *user, *logname; QString name; } faelle[] = {
      {"", "moritz", "moritz"},
      {nullptr, nullptr, QString::fromLocal8Bit(konto->pw_name)},
      {"", " ", QString::fromLocal8Bit(konto->pw_name)},
  };
  Plattform::SystemDienst echt;
  for (const auto& f : faelle) {
    f.user ? qputenv("USER", f.user) : qunsetenv("USER");
    f.logname ? qputenv("LOGNAME", f.logname) : qunsetenv("LOGNAME");
    EXPECT_EQ(echt.anmeldename().toStdString(), f.name.toStdString()) << (f.user ? f.user : "-") << "/" << (f.logname ? f.logname : "-");
  }
  altUser.isNull() ? qunsetenv("USER") : qputenv("USER", altUser);
  altLogname.isNull() ? qunsetenv("LOGNAME") : qputenv("LOGNAME", altLogname);
}
