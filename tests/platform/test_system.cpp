#include <QTimer>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>

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
