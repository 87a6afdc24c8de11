#pragma once
// Tests of the auxiliary windows: a test main window, the recording printer, a user name (no
// prompt), and a helper that answers a modal window once it is shown.
#include <QApplication>
#include <QDeadlineTimer>
#include <QDialog>
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
  // Runs aktion on the modal window as soon as one is shown (once). None within 10 s fails the
  // test, and a dialog left open then is closed, so the test ends instead of hanging.
  static void WennModal(std::function<void(QWidget*)> aktion) {
    auto* t = new QTimer;
    t->setInterval(10);
    const QDeadlineTimer frist(10000);
    QObject::connect(t, &QTimer::timeout, [t, aktion, frist] {
      QWidget* w = QApplication::activeModalWidget();
      if (!w && !frist.hasExpired()) return;
      t->stop();
      t->deleteLater();
      if (w) {
        aktion(w);
        return;
      }
      ADD_FAILURE() << "Kein modales Fenster innerhalb von 10 s";
      for (QWidget* offen : QApplication::topLevelWidgets())
        if (auto* d = qobject_cast<QDialog*>(offen); d && d->isVisible()) d->done(QDialog::Rejected);
    });
    t->start();
  }
  Plattform::AufzeichnungsDrucker drucker;
  Testhilfe::TestHauptfenster haupt;
};
