#pragma once
// Tests of the auxiliary windows: a test main window, the recording printer, a user name (no
// prompt), and a helper that answers a modal window once it is shown.
#include <QApplication>
#include <QTimer>
#include <functional>
#include <ostream>

#include "foundation/z_alles.h"
#include "platform/druckaufzeichnung.h"
#include "platform/drucker.h"
#include "support/fixture.h"

inline void PrintTo(const QString& text, std::ostream* aus) { *aus << '"' << text.toStdString() << '"'; }
inline void PrintTo(const QStringList& liste, std::ostream* aus) {
  *aus << '{' << liste.join(QStringLiteral("|")).toStdString() << '}';
}

class FensterTest : public Testhilfe::SkribonTest {
protected:
  void SetUp() override {
    SkribonTest::SetUp();
    Plattform::SetzeDruckerDienst(&drucker);
    Z_Alles::IniSchreiben({}, "Allgemein", "User", "Erika Muster");
    Hauptfenster::SetzeInstanz(&haupt);
  }
  void TearDown() override {
    Hauptfenster::SetzeInstanz(nullptr);
    SkribonTest::TearDown();
  }
  static QString ini(const QString& schluessel, const QString& abschnitt = {}) {
    return Z_Alles::IniLesen({}, abschnitt, schluessel, "?");
  }
  // Runs aktion on the modal window as soon as one is shown (once).
  static void WennModal(std::function<void(QWidget*)> aktion) {
    auto* t = new QTimer;
    t->setInterval(10);
    QObject::connect(t, &QTimer::timeout, [t, aktion] {
      if (QWidget* w = QApplication::activeModalWidget()) {
        t->stop();
        t->deleteLater();
        aktion(w);
      }
    });
    t->start();
  }
  Plattform::AufzeichnungsDrucker drucker;
  Testhilfe::TestHauptfenster haupt;
};
