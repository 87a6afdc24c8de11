// Version texts, release age and copyright line, and what the splash gets of them.
#include "foundation/dienste.h"
#include "foundation/hauptfenster.h"
#include "foundation/z_alles.h"
#include "services/version.h"
#include "dienste_test.h"

namespace {

using Testhilfe::DiensteTest;

TEST_F(DiensteTest, VersionsTexteUndAlter) {
  EXPECT_EQ(Z_Alles::VersionsTextAus(2025, 4, 1933), "2025.04.1933");
  EXPECT_EQ(Z_Alles::VersionsNrAus(2025, 4, 1933), "2025.041933");
  EXPECT_EQ(Z_Alles::VersionsTextAus(2026, 12, 1), "2026.12.0001");

  struct Fall { int major, minor, jahr, monat; double alter; };
  const Fall faelle[] = {
      {2025, 4, 2026, 12, 1 + 8.0 / 13},  // December still below the next January
      {2025, 4, 2025, 4, 0},              // this month
      {2027, 1, 2026, 6, 0},              // a release in the future
      {25, 4, 2025, 5, 1.0 / 13},         // a two-digit year
      {2025, 12, 2026, 1, 2.0 / 13},
  };
  for (const Fall& f : faelle)
    EXPECT_NEAR(Z_Alles::VersionsAlterAus(f.major, f.minor, f.jahr, f.monat), f.alter, 1e-5)
        << f.major << "." << f.minor << " in " << f.monat << "/" << f.jahr;

  // The build's own numbers, the clock through the system service.
  EXPECT_EQ(Z_Alles::VersionsNummer(), Z_Alles::VersionsNr);
  EXPECT_EQ(Z_Alles::VersionsText, HauptfensterHaken::BuildVersion());
  system.uhr = QDateTime(QDate(SKRIBON_VERSION_MAJOR + 1, SKRIBON_VERSION_MINOR, 1), QTime(12, 0));
  EXPECT_NEAR(Z_Alles::VersionsAlter(), 1.0, 1e-5);
}

TEST_F(DiensteTest, CopyrightZeile) {
  EXPECT_EQ(Z_Alles::CopyrightZeile("Copyright © 1994-2026~Dormiks~"), "Copyright © 1994-2026\r\nDormiks\r\n");
  EXPECT_EQ(Z_Alles::CopyrightZeile("ohne Zeichen"), "ohne Zeichen");
  const QString eigene = Z_Alles::CopyrightZeile(Z_Alles::CopyrightText());
  EXPECT_TRUE(eigene.startsWith("Copyright © " + QString::number(SKRIBON_VERSION_MAJOR))) << eigene.toStdString();
  EXPECT_FALSE(eigene.contains('~'));

  // The splash and the error handler get them through the services set.
  Programmdienste::Registrieren();
  EXPECT_EQ(HauptfensterHaken::Version(), HauptfensterHaken::BuildVersion());
  EXPECT_EQ(dienste.copyrightZeile(), eigene);
  ASSERT_TRUE(dienste.versionsAlter);
  EXPECT_GE(dienste.versionsAlter(), 0.0);
}

}  // namespace
