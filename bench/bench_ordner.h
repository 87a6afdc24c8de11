#pragma once
// The folders a benchmark's program works in: a temporary root with the settings, temp and data
// folders, HOME and the XDG folders pointing into it, the debug log off.
#include <QDir>
#include <QTemporaryDir>

#include "foundation/z_alles.h"

inline QTemporaryDir* BenchOrdnerAnlegen() {
  auto* wurzel = new QTemporaryDir;
  const QString w = wurzel->path();
  for (const char* o : {"/home/.config/Dormiks-Programme", "/home/.cache/Dormiks-Programme/Temp", "/prg/Daten"})
    QDir().mkpath(w + o);
  qputenv("HOME", (w + "/home").toUtf8());
  qputenv("XDG_CONFIG_HOME", (w + "/home/.config").toUtf8());
  qputenv("XDG_CACHE_HOME", (w + "/home/.cache").toUtf8());
  qputenv("XDG_DATA_HOME", (w + "/home/.local/share").toUtf8());
  Z_Alles::ordnerPrg = w + "/prg";
  Z_Alles::ordnerSub = w + "/home/.config/Dormiks-Programme";
  Z_Alles::ordnerDat = w + "/prg/Daten";
  Z_Alles::ordnerCfg = Z_Alles::ordnerDat;
  Z_Alles::ordnerTmp = w + "/home/.cache/Dormiks-Programme/Temp";
  Z_Alles::DebugDatei = Z_Alles::ordnerDat + "/Debug.txt";
  Z_Alles::DebugModus = -1;
  return wurzel;
}
