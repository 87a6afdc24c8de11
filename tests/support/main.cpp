// Test main: a QApplication on the offscreen platform, German output independent of the locale.
#include <QApplication>
#include <gtest/gtest.h>

#include "platform/uebersetzung.h"

int main(int argc, char** argv) {
  // A test folder may give the offscreen platform screens of its own ("offscreen:configfile=").
  if (!qgetenv("QT_QPA_PLATFORM").startsWith("offscreen")) qputenv("QT_QPA_PLATFORM", "offscreen");
  ::testing::InitGoogleTest(&argc, argv);
  QApplication app(argc, argv);
  Plattform::DeutschLaden();
  return RUN_ALL_TESTS();
}
