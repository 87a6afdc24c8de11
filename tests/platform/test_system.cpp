#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTimer>
#include <cmath>
#include <functional>
#include <gtest/gtest.h>
#include <limits>
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

// The private folder: made 0700, closed again when others could enter it, refused when a link
// or a file stands in its place.
class PrivaterOrdnerTest : public Testhilfe::SkribonTest {};

TEST_F(PrivaterOrdnerTest, NurFuerDiesenBenutzer) {
  const QString basis = home + "/.cache/Dormiks-Programme";
  const QString anderswo = wurzel + "/anderswo";
  QDir().mkpath(anderswo);
  const QFileDevice::Permissions anderswoRechte = QFileInfo(anderswo).permissions();
  struct Fall {
    const char* name;
    std::function<void(const QString&)> vorher;
    bool ok;
  };
  const Fall faelle[] = {
      {"neu", [](const QString&) {}, true},
      {"offen", [](const QString& p) { QDir().mkpath(p); QFile::setPermissions(p, QFileDevice::Permissions(0x7777)); }, true},
      {"Verweis", [&](const QString& p) { QFile::link(anderswo, p); }, false},
      {"Datei", [](const QString& p) { QFile f(p); f.open(QIODevice::WriteOnly); }, false},
  };
  for (const Fall& f : faelle) {
    SCOPED_TRACE(f.name);
    const QString pfad = basis + "/" + f.name;
    QDir().mkpath(basis);
    f.vorher(pfad);
    QString fehler;
    const QString o = Plattform::PrivaterOrdner(f.name, &fehler);
    EXPECT_EQ(o, f.ok ? pfad : QString());
    EXPECT_EQ(fehler.isEmpty(), f.ok) << fehler.toStdString();
    if (f.ok) {
      struct stat st;
      ASSERT_EQ(::lstat(QFile::encodeName(o).constData(), &st), 0);
      EXPECT_EQ(st.st_mode & 07777, 0700u);
    }
  }
  EXPECT_EQ(QFileInfo(anderswo).permissions(), anderswoRechte) << "a link's target is left alone";
}
