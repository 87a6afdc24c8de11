#pragma once
// Every test gets fresh temporary folders for HOME, the XDG folders and the program, settings,
// data and temp folders, the program-wide values and services (foundation/dienste.h) reset, and
// the test doubles installed in the platform; after it the platform has its own services back.
#include <QProcessEnvironment>
#include <QString>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

#include "support/fakes.h"

namespace Testhilfe {

// Reset functions of later folders (their program-wide values); run before every test.
void RegistriereZuruecksetzen(void (*funktion)());

class SkribonTest : public ::testing::Test {
protected:
  void SetUp() override;
  void TearDown() override;

  // Writes bytes to a file below the temporary root (folders created).
  static void DateiSchreiben(const QString& pfad, const QByteArray& inhalt);
  static QByteArray DateiLesen(const QString& pfad);
  // For a child process of this test: offscreen, and its temporary folders inside this test's
  // own, so that a child that is killed or ends at once leaves nothing behind.
  QProcessEnvironment kindUmgebung() const;

  QString wurzel;      // temporary root
  QString home;        // $HOME
  QString prgOrdner;   // Z_Alles::ordnerPrg
  QString subOrdner;   // Z_Alles::ordnerSub (settings)
  QString datOrdner;   // Z_Alles::ordnerDat
  QString tmpOrdner;   // Z_Alles::ordnerTmp
  TestDialoge dialoge;
  TestShell shell;
  TestSystem system;

private:
  std::unique_ptr<QTemporaryDir> tmp_;
  QByteArray altHome_, altConfig_, altCache_, altData_;
};

}  // namespace Testhilfe
