#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTimer>
#include <cmath>
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
