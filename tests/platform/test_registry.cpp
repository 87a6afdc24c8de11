#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>

#include "platform/profil.h"
#include "platform/registry.h"
#include "platform/system.h"
#include "support/fixture.h"

using namespace Plattform;

class RegistryTest : public Testhilfe::SkribonTest {};

TEST_F(RegistryTest, EinAbschnittJeSchluesselpfad) {
  EXPECT_EQ(RegistryDatei(), home + "/.config/Dormiks-Programme/Registry.ini");
  // On a first start the settings folder may not exist yet.
  ASSERT_TRUE(QDir(KonfigBasisOrdner()).removeRecursively());

  const QString pfad = "SOFTWARE\\Dormiks-Programme\\Dormiks-Skribon";
  EXPECT_EQ(RegistryLesen(pfad, "Ordner", "vorgabe"), "vorgabe");
  ASSERT_TRUE(RegistrySchreiben(pfad, "Ordner", "/daten/notizen"));
  ASSERT_TRUE(RegistrySchreiben("SOFTWARE\\Dormiks-Programme\\Anderes", "Ordner", "anders"));
  ASSERT_TRUE(RegistrySchreiben(pfad, {}, "standard"));

  EXPECT_EQ(DateiLesen(RegistryDatei()),
            QByteArray("[SOFTWARE\\Dormiks-Programme\\Dormiks-Skribon]\r\nOrdner=/daten/notizen\r\n"
                       "@=standard\r\n\r\n[SOFTWARE\\Dormiks-Programme\\Anderes]\r\nOrdner=anders\r\n"));
  // Key paths and names match without regard to case, as in the registry.
  EXPECT_EQ(RegistryLesen("software\\dormiks-programme\\DORMIKS-SKRIBON", "ORDNER"), "/daten/notizen");
  EXPECT_EQ(RegistryLesen(pfad, {}), "standard");
  EXPECT_EQ(RegistryLesen(pfad, "Fehlt"), QString());
  EXPECT_EQ(ProfilAbschnitte(RegistryDatei()).size(), 2);
}

TEST_F(RegistryTest, OrdnerStattDateiMeldetFehler) {
  ASSERT_TRUE(QDir().mkpath(RegistryDatei()));
  EXPECT_FALSE(RegistrySchreiben("SOFTWARE\\X", "a", "1"));
  EXPECT_EQ(RegistryLesen("SOFTWARE\\X", "a", "d"), "d");
  EXPECT_TRUE(QFileInfo(RegistryDatei()).isDir());
}
