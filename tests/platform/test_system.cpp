#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTimer>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <pwd.h>
#include <unistd.h>
#include <sys/stat.h>

#include "platform/system.h"
#include "support/fixture.h"

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

class PrivaterOrdnerTest : public Testhilfe::SkribonTest {};

// The private folder: made 0700, closed again when others could enter it, refused when a link
// or a file stands in its place (the link's target left alone).
TEST_F(PrivaterOrdnerTest, NurFuerDiesenBenutzer) {
  const QString basis = home + "/.cache/Dormiks-Programme/", anderswo = wurzel + "/anderswo";
  QDir().mkpath(anderswo);
  const QFileDevice::Permissions vorher = QFileInfo(anderswo).permissions();
  QDir().mkpath(basis + "offen");
  QFile::setPermissions(basis + "offen", QFileDevice::Permissions(0x7777));
  QFile::link(anderswo, basis + "Verweis");
  QFile(basis + "Datei").open(QIODevice::WriteOnly);
  for (const QString name : {"neu", "offen", "Verweis", "Datei"}) {
    const bool ok = name == "neu" || name == "offen";
    QString fehler;
    EXPECT_EQ(Plattform::PrivaterOrdner(name, &fehler), ok ? basis + name : QString()) << name.toStdString();
    EXPECT_EQ(fehler.isEmpty(), ok) << fehler.toStdString();
    struct stat st;
    if (ok && ::lstat(QFile::encodeName(basis + name).constData(), &st) == 0) {
      EXPECT_EQ(st.st_mode & 07777, 0700u);
    }
  }
  EXPECT_EQ(QFileInfo(anderswo).permissions(), vorher);
}
