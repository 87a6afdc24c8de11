// Every window on a 1280 x 800 screen at 150 % (853 x 533 for the program), with the desktop's
// font and a large one: inside the screen's free area, frame included, and no smaller than its
// contents need; stored places half off the screen come back onto it.
#include <QApplication>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QVBoxLayout>
#include <cctype>
#include <functional>
#include <memory>

#include "calculator/rechner.h"
#include "foundation/z_alles.h"
#include "notepad/main.h"
#include "notepad/titel.h"
#include "platform/druckaufzeichnung.h"
#include "platform/http.h"
#include "platform/profil.h"
#include "printing/printerset.h"
#include "services/hilfe.h"
#include "support/fixture.h"
#include "windows/datenordner.h"
#include "windows/info.h"
#include "windows/setup.h"
#include "windows/tips.h"
#include "windows/versionspruefung.h"

namespace {

struct KeinNetz : Plattform::HttpDienst {
  Plattform::HttpErgebnis holen(const Plattform::HttpAnfrage&) override { return {}; }
};

::testing::AssertionResult passt(QWidget* w) {
  if (!QTest::qWaitForWindowExposed(w)) return ::testing::AssertionFailure() << "nicht gezeigt";
  const QRect r = w->frameGeometry();
  const QSize mindest = w->minimumSizeHint();
  if (w->screen()->availableGeometry().contains(r) && w->size() == w->size().expandedTo(mindest))
    return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "Rahmen " << r.x() << "," << r.y() << " " << r.width() << "x"
                                       << r.height() << ", Inhalt " << mindest.width() << "x" << mindest.height();
}

class FensterGroesse : public Testhilfe::SkribonTest {};

TEST_F(FensterGroesse, JedesFensterPasstAufDenBildschirm) {
  ASSERT_EQ(QGuiApplication::primaryScreen()->availableGeometry().size(), QSize(853, 533));
  Fensterplatz::WaechterEinrichten();
  KeinNetz netz;
  Plattform::AufzeichnungsDrucker drucker;
  Plattform::SetzeHttpDienst(&netz);
  Plattform::SetzeDruckerDienst(&drucker);
  const QFont schrift = QApplication::font();
  auto zeigen = [](QWidget* w) { w->show(); return w; };
  auto loeschen = [](QWidget* w) { delete w; };
  // A window placed half off the screen whose contents need that much room.
  auto inhalt = [&](QSize mindest) {
    auto* w = new QWidget;
    auto* teil = new QWidget;
    teil->setMinimumSize(mindest);
    (new QVBoxLayout(w))->addWidget(teil);
    w->move(-200, 100);
    return zeigen(w);
  };
  const std::tuple<const char*, std::function<QWidget*(Main&)>, std::function<void(QWidget*)>> fenster[] = {
      {"Taschenrechner", [](Main&) { Rechner::Oeffnen({}); return Rechner::Instanz(); },
       [](QWidget*) { Rechner::Entladen(); }},
      {"Optionen", [&](Main& m) { return zeigen(new ::Setup(&m)); }, loeschen},
      {"Ordner", [&](Main& m) { return zeigen(new DatenOrdner(&m)); }, loeschen},
      {"Info", [&](Main& m) { return zeigen(new Info(&m)); }, loeschen},
      {"Tipps", [&](Main& m) { return zeigen(new Tips(&m)); }, loeschen},
      {"Version", [&](Main&) { auto* v = new VersionsPrüfung; v->Form_Load(); return zeigen(v); },
       [](QWidget*) { VersionsPrüfung::Entladen(); }},
      {"Drucken", [&](Main&) { return zeigen(PrinterSet::Laden()); }, [](QWidget*) { PrinterSet::Entladen(); }},
      {"Hilfe", [](Main&) { return HilfeFenster::Zeigen(0); }, loeschen},
      {"Startbild", [](Main&) { auto* t = new Titel; t->Form_Load(); t->Zeit.stop(); return t; },
       [](QWidget* w) { static_cast<Titel*>(w)->entladen(); }},
      // Contents larger than the screen either way, or one way: they scroll that way only.
      {"1000x700", [&](Main&) { return inhalt(QSize(1000, 700)); }, loeschen},
      {"600x700", [&](Main&) { return inhalt(QSize(600, 700)); }, loeschen},
  };
  for (const double faktor : {1.0, 1.5}) {
    QFont gross = schrift;
    gross.setPointSizeF(schrift.pointSizeF() * faktor);
    QApplication::setFont(gross);
    for (const bool gespeichert : {false, true}) {
      // First start: the main window's designed size is larger than this screen. Stored: half off it.
      Plattform::ProfilCacheLeeren();
      QFile::remove(subOrdner + "/Dormik.ini");
      const char* plaetze[][3] = {{"Skribon", "MainForm_Links", "500"}, {"Skribon", "MainForm_Oben", "300"},
                                  {"Skribon", "MainForm_Weite", "1200"}, {"Skribon", "MainForm_Höhe", "500"},
                                  {"Rechner", "Form_Links", "700"},     {"Rechner", "Form_Oben", "450"}};
      for (const auto& p : plaetze)
        if (gespeichert) Z_Alles::IniSchreiben({}, p[0], p[1], QString::number(QString(p[2]).toInt() * 15));
      const std::string fall = (faktor > 1 ? " große Schrift" : "") + std::string(gespeichert ? " gespeichert" : "");
      auto haupt = std::make_unique<Main>();
      haupt->Form_Load();
      haupt->show();
      EXPECT_TRUE(passt(haupt.get())) << "Hauptfenster" << fall;
      for (const auto& [name, oeffnen, schliessen] : fenster) {
        if (gespeichert && std::string(name) != "Taschenrechner") continue;
        QWidget* w = oeffnen(*haupt);
        EXPECT_TRUE(passt(w)) << name << fall;
        auto* rolle = w->findChild<QScrollArea*>("Rollflaeche");
        EXPECT_TRUE(rolle || !std::isdigit(name[0])) << name << fall;
        if (rolle) {
          EXPECT_EQ(rolle->horizontalScrollBar()->isVisible(), name[0] == '1') << name << fall;
        }
        schliessen(w);
      }
      haupt->beenden(true);
    }
  }
  QApplication::setFont(schrift);
  Plattform::SetzeDruckerDienst(nullptr);
  Plattform::SetzeHttpDienst(nullptr);
}

}  // namespace
