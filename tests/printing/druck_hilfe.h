#pragma once
// Printing tests: the recording printers in place, a test main window holding a note, and the
// print settings window answered once it is shown.
#include <QApplication>
#include <QPushButton>
#include <QTimer>
#include <functional>
#include <ostream>

#include "foundation/z_alles.h"
#include "platform/druckaufzeichnung.h"
#include "platform/drucker.h"
#include "printing/printerset.h"
#include "printing/z_alles_druck.h"
#include "support/fixture.h"

// Readable texts in failure messages.
inline void PrintTo(const QString& text, std::ostream* aus) { *aus << '"' << text.toStdString() << '"'; }
inline void PrintTo(const QStringList& liste, std::ostream* aus) {
  *aus << '{' << liste.join(QStringLiteral("|")).toStdString() << '}';
}

namespace Druckhilfe {

class DruckTest : public Testhilfe::SkribonTest {
protected:
  void SetUp() override {
    SkribonTest::SetUp();
    Plattform::SetzeDruckerDienst(&aufzeichnung);
    Z_Alles::PresetName.clear();
    Z_Alles::IniSchreiben({}, "Allgemein", "User", "Erika Muster");
    haupt.info = "Einkauf";
    haupt.font = QFont("Serif", 10);
    Hauptfenster::SetzeInstanz(&haupt);
  }
  void TearDown() override {
    PrinterSet::Entladen();
    Hauptfenster::SetzeInstanz(nullptr);
    SkribonTest::TearDown();
  }
  QStringList texte() const { return aufzeichnung.mitOrt(); }
  static QString prn(const QString& abschnitt, const QString& schluessel) {
    return Z_Alles::IniLesen(PrinterSet::Datei, abschnitt, schluessel, "?");
  }
  Plattform::AufzeichnungsDrucker aufzeichnung;
  Testhilfe::TestHauptfenster haupt;
};

// Runs the action on the print settings window each time it is shown (default: OK).
class Bediener {
public:
  explicit Bediener(std::function<void(PrinterSet*)> a = [](PrinterSet* f) { f->befOk->click(); })
      : aktion(std::move(a)) {
    uhr.setInterval(2);
    QObject::connect(&uhr, &QTimer::timeout, [this] {
      PrinterSet* f = PrinterSet::Instanz();
      if (!f || !f->isVisible()) return;
      ++gezeigt;
      titel << f->windowTitle();
      aktion(f);
    });
    uhr.start();
  }
  std::function<void(PrinterSet*)> aktion;
  QTimer uhr;
  int gezeigt = 0;
  QStringList titel;
};

}  // namespace Druckhilfe
