#pragma once
// What the window benchmarks share: the folders their program works in, and their main.
#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>

#include "foundation/z_alles.h"

// A temporary root with the settings, temp and data folders, HOME and the XDG folders pointing
// into it, the debug log off.
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

// Runs the benchmarks on Qt's offscreen platform (or the one QT_QPA_PLATFORM names, to measure on
// a real X server), after vorbereiten() made their files (the folders it returns are removed at
// the end).
inline int BenchFensterMain(int argc, char** argv, QTemporaryDir* (*vorbereiten)()) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const std::unique_ptr<QTemporaryDir> wurzel(vorbereiten());
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
