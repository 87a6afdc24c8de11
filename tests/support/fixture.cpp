#include "support/fixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <vector>

#include "foundation/dienste.h"
#include "foundation/globale.h"
#include "foundation/hauptfenster.h"
#include "foundation/z_alles.h"
#include "notepad/skribondiv.h"
#include "platform/ersatz.h"
#include "platform/profil.h"

namespace Testhilfe {

namespace {
std::vector<void (*)()>& resets() {
  static std::vector<void (*)()> r;
  return r;
}
}  // namespace

void RegistriereZuruecksetzen(void (*funktion)()) { resets().push_back(funktion); }

void SkribonTest::SetUp() {
  tmp_ = std::make_unique<QTemporaryDir>();
  ASSERT_TRUE(tmp_->isValid());
  wurzel = tmp_->path();
  home = wurzel + "/home";
  prgOrdner = wurzel + "/prg";
  subOrdner = home + "/.config/Dormiks-Programme";
  datOrdner = prgOrdner + "/Daten";
  tmpOrdner = home + "/.cache/Dormiks-Programme/Temp";
  for (const QString& o : {home, prgOrdner, subOrdner, datOrdner, tmpOrdner})
    ASSERT_TRUE(QDir().mkpath(o));

  altHome_ = qgetenv("HOME");
  altConfig_ = qgetenv("XDG_CONFIG_HOME");
  altCache_ = qgetenv("XDG_CACHE_HOME");
  altData_ = qgetenv("XDG_DATA_HOME");
  qputenv("HOME", home.toUtf8());
  qputenv("XDG_CONFIG_HOME", (home + "/.config").toUtf8());
  qputenv("XDG_CACHE_HOME", (home + "/.cache").toUtf8());
  qputenv("XDG_DATA_HOME", (home + "/.local/share").toUtf8());

  Z_Alles::GlobaleZuruecksetzen();
  Z_Alles::ZustandZuruecksetzen();
  SkribonDiv::Zuruecksetzen();
  HauptfensterHaken::Leeren();
  dienste = {};
  for (auto f : resets()) f();
  Z_Alles::ordnerPrg = prgOrdner;
  Z_Alles::ordnerSub = subOrdner;
  Z_Alles::ordnerDat = datOrdner;
  Z_Alles::ordnerCfg = datOrdner;
  Z_Alles::ordnerTmp = tmpOrdner;
  Z_Alles::DebugDatei = datOrdner + "/Debug.txt";
  Z_Alles::DebugModus = -1;

  system.ordner = home;
  Plattform::ProfilCacheLeeren();
  // Generated jobs run in tests without their waits.
  Plattform::ErsatzEinsetzen({.dialoge = &dialoge, .shell = &shell, .system = &system, .jobPausen = false});
}

void SkribonTest::TearDown() {
  Plattform::ErsatzEinsetzen({});
  Plattform::ProfilCacheLeeren();
  Z_Alles::GlobaleZuruecksetzen();
  auto zurueck = [](const char* name, const QByteArray& wert) {
    if (wert.isNull()) qunsetenv(name); else qputenv(name, wert);
  };
  zurueck("HOME", altHome_);
  zurueck("XDG_CONFIG_HOME", altConfig_);
  zurueck("XDG_CACHE_HOME", altCache_);
  zurueck("XDG_DATA_HOME", altData_);
  tmp_.reset();
}

void SkribonTest::DateiSchreiben(const QString& pfad, const QByteArray& inhalt) {
  QDir().mkpath(QFileInfo(pfad).absolutePath());
  QFile f(pfad);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate)) << pfad.toStdString();
  f.write(inhalt);
}

QProcessEnvironment SkribonTest::kindUmgebung() const {
  const QString tmp = wurzel + "/kinder";
  QDir().mkpath(tmp);
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("TMPDIR", tmp);
  env.insert("QT_QPA_PLATFORM", "offscreen");
  return env;
}

QByteArray SkribonTest::DateiLesen(const QString& pfad) {
  QFile f(pfad);
  if (!f.open(QIODevice::ReadOnly)) return {};
  return f.readAll();
}

}  // namespace Testhilfe
