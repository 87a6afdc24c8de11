#pragma once
// Test doubles for the platform services: answered message boxes, recorded shell calls and a
// fixed machine (clock, random numbers, keys, environment).
#include <QDateTime>
#include <QMap>
#include <QQueue>
#include <QString>
#include <QStringList>
#include <QVector>

#include <QAction>
#include <QWidget>
#include <functional>

#include "foundation/hauptfenster.h"
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

// A main window as the other windows see it: a selection, a status panel and the commands
// registered in it, with no notepad behind it. Set it with Hauptfenster::SetzeInstanz.
class TestHauptfenster : public Hauptfenster {
public:
  struct Befehl {
    QString menue, text;
    std::function<void()> aktion;
    QKeySequence taste;
    int orte = 0;
    QString name;
    QAction* action = nullptr;
  };
  TestHauptfenster() = default;
  ~TestHauptfenster() override {
    if (Hauptfenster::Instanz() == this) Hauptfenster::SetzeInstanz(nullptr);
  }

  QWidget* widget() override { return &fenster; }
  QString text() const override { return ganzerText.isEmpty() ? auswahl : ganzerText; }
  QString markierterText() const override { return auswahl; }
  int markierungsLaenge() const override { return int(auswahl.size()); }
  QFont schrift() const override { return font; }
  QString notizblockName() const override { return notizblock; }
  // Opening another notepad: recorded; it fails (the name stays) while oeffnenScheitert is set.
  void notizblockOeffnen(const QString& name) override {
    geoeffneteNotizbloecke << name;
    if (!oeffnenScheitert) notizblock = name;
  }
  // Notes of the fake notepad: texts by number (1-based); choosing one makes it the text.
  int notizAnzahl() const override { return int(notizen.size()); }
  int aktuelleNotiz() const override { return nr; }
  bool notizWaehlen(int n) override {
    if (n < 1 || n > notizAnzahl()) return false;
    nr = n;
    ganzerText = notizen[n - 1];
    gewaehlt << n;
    return true;
  }
  bool notizSichern() override {
    ++gesichert;
    return sichernGelingt;
  }
  QString infoText() const override { return info; }
  void statusSetzen(const QString& t) override { status = t; statusVerlauf << t; }
  QString statusText() const override { return status; }
  QIcon symbol() const override { return {}; }
  QRect geometrie() const override { return rahmen; }
  void belegungAuffrischen() override { ++belegungen; }
  void programmEintragVerbergen(int i) override { if (i >= 0 && i < 4) prgSichtbar[i] = false; }
  bool programmEintragSichtbar(int i) const override { return i >= 0 && i < 4 && prgSichtbar[i]; }
  QAction* befehlEintragen(const QString& menue, const QString& text, std::function<void()> aktion,
                           const QKeySequence& taste, int orte, const QString& name) override {
    auto* a = new QAction(text, &fenster);
    befehle.push_back({menue, text, aktion, taste, orte, name, a});
    QObject::connect(a, &QAction::triggered, [aktion] { if (aktion) aktion(); });
    return a;
  }
  // The registered command of that name or menu text ("&" ignored), or nullptr.
  const Befehl* befehl(const QString& nameOderText) const {
    for (const Befehl& b : befehle)
      if (b.name == nameOderText || QString(b.text).remove(QLatin1Char('&')) ==
                                        QString(nameOderText).remove(QLatin1Char('&')))
        return &b;
    return nullptr;
  }
  bool endet() const override { return beendet > 0 || sofortBeendet > 0; }
  void beenden(bool) override { ++beendet; }
  void sofortBeenden() override { ++sofortBeendet; }

  QWidget fenster;
  QString auswahl, ganzerText, notizblock = QStringLiteral("Skribon"), info, status;
  QStringList statusVerlauf;
  QFont font;
  QRect rahmen{100, 100, 900, 620};
  int belegungen = 0, beendet = 0, sofortBeendet = 0, nr = 1, gesichert = 0;
  bool sichernGelingt = true;
  QStringList notizen;
  QVector<int> gewaehlt;
  QStringList geoeffneteNotizbloecke;
  bool oeffnenScheitert = false;
  bool prgSichtbar[4] = {true, true, true, true};
  QVector<Befehl> befehle;
};

}  // namespace Testhilfe
