#pragma once
// Test doubles for the platform services: answered message boxes, recorded shell calls and a
// fixed machine (clock, random numbers, keys, environment).
#include <QDateTime>
#include <QMap>
#include <QQueue>
#include <QString>
#include <QStringList>
#include <QVector>

#include "platform/dialoge.h"
#include "platform/shell.h"
#include "platform/system.h"

namespace Testhilfe {

// Message and input boxes: answers are queued; every box shown is recorded. A box with no
// queued answer fails the running test at once and returns Cancel instead of blocking.
class TestDialoge : public Plattform::DialogDienst {
public:
  void antwort(int msgErgebnis) { msgAntworten.enqueue(msgErgebnis); }
  void eingabe(const QString& text, bool abbrechen = false) { eingaben.enqueue({text, abbrechen}); }
  int msgBox(const QString& text, int knoepfe, const QString& titel, int hilfeThema) override;
  QString inputBox(const QString& text, const QString& titel, const QString& vorgabe,
                   bool* abgebrochen) override;
  bool alleBeantwortet() const { return msgAntworten.isEmpty() && eingaben.isEmpty(); }

  QVector<Plattform::DialogAufzeichnung> gezeigt;
  QQueue<int> msgAntworten;
  QQueue<QPair<QString, bool>> eingaben;
};

class TestShell : public Plattform::ShellDienst {
public:
  struct Start { QString programm; QStringList argumente; QString ordner; };
  bool oeffnen(const QString& ziel) override { geoeffnet << ziel; return ergebnis; }
  bool starten(const QString& programm, const QStringList& argumente, const QString& ordner) override {
    gestartet.push_back({programm, argumente, ordner});
    return ergebnis;
  }
  QStringList geoeffnet;
  QVector<Start> gestartet;
  bool ergebnis = true;
};

// A machine with a fixed clock (Thursday 15.01.2026 10:30:00 unless set), a repeatable random
// sequence, settable keys and an environment of its own.
class TestSystem : public Plattform::SystemDienst {
public:
  TestSystem();
  QDateTime jetzt() override { return uhr; }
  quint32 tickzaehler() override { return tick; }
  double zufall() override;
  void zufallStart(quint32 saat) override { zustand = saat ? saat : 1; }
  bool shiftGedrueckt() override { return shift; }
  bool strgGedrueckt() override { return strg; }
  bool altGedrueckt() override { return alt; }
  QString umgebung(const QString& name) override;
  QString aktuellerOrdner() override { return ordner; }
  QString anmeldename() override { return login; }
  QString rechnername() override { return rechner; }
  QString datentraegerName(const QString&) override { return label; }
  void warten(double sekunden) override;
  void ton(const QString& name) override { toene << name; }

  QDateTime uhr;
  quint32 tick = 1000000;
  bool shift = false, strg = false, alt = false;
  QMap<QString, QString> env;  // looked up without regard to case
  QString ordner, login = QStringLiteral("tester"), rechner = QStringLiteral("testrechner"), label;
  QStringList toene;
  double gewartet = 0;
  quint32 zustand = 12345;
};

}  // namespace Testhilfe
