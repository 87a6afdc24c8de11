// The program as a whole: every message reaches the user without its markup (with the values
// in it as they are), and no menu has two entries on one access key.
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <functional>
#include <memory>

#include "calculator/rechner.h"
#include "notepad/main.h"
#include "platform/profil.h"
#include "printing/notizdruck.h"
#include "printing/printerset.h"
#include "services/links.h"
#include "services/netwatch.h"
#include "services/programmdienste.h"
#include "services/spezial.h"
#include "services/z_dos.h"
#include "services/z_v_allgemein.h"
#include "windows/datenordner.h"
#include "windows/fenster_test.h"
#include "windows/hilfsfenster.h"
#include "windows/versionspruefung.h"

namespace {

using namespace Plattform;

TEST_F(FensterTest, MeldungenOhneMarkup) {
  shell.ergebnis = false;  // nothing opens: the boxes that say so
  // Values that carry the markup's characters themselves.
  Z_Alles::ordnerDat = wurzel + "/Daten~alt ´1´";
  const QString sub = Z_Alles::ordnerSub;  // where the user's name is
  Z_Alles::ordnerSub = wurzel + "/Einst`2`~";
  const QString link = "http://www.a.de/~hans/´x´";
  const QString dokument = Z_Alles::ordnerDat + "/a~b.txt";
  QDir().mkpath(Z_Alles::ordnerDat);
  Plattform::ProfilSchreiben(Z_Alles::ordnerDat + "/NetWatch.ini", "Allgemein", "Benachrichtigen", "1");
  Plattform::ProfilSchreiben(Z_Alles::ordnerDat + "/NetWatch.ini", "Nachricht", "User", "Erika Muster");
  Plattform::ProfilSchreiben(Z_Alles::ordnerDat + "/NetWatch.ini", "Nachricht", "Text", "Wie ´gespeichert´~bleibt");
  DatenOrdner fenster;
  fenster.TimerReadData_Timer();

  struct Fall {
    const char* name;
    std::function<void()> befehl;
    QStringList werte;  // what the boxes show as it is
    QVector<int> antworten;
    QStringList eingaben;
  };
  const Fall faelle[] = {
      {"Link", [&] { Z_Alles::LinkÖffnen(link); }, {link}, {vbOK}, {}},
      {"Dokument", [&] { Z_Alles::DokumentÖffnen(dokument); }, {dokument}, {vbOK}, {}},
      {"Musiktitel im Web suchen", [] { Z_DOS::MusikSuchen("Lied"); }, {}, {vbOK}, {}},
      {"Einstellungs-Datei anzeigen...", [&] { fenster.befDo[0]->click(); }, {Z_Alles::ordnerSub}, {vbOK}, {}},
      {"Daten-Ordner-Zeiger verlegen", [&] { fenster.befDatenOrdnerVerlegen->click(); }, {Z_Alles::ordnerDat},
       {vbCancel}, {}},
      {"Schwesterprogramm fehlt", [] { Z_V_Allgemein::SchwesterprogrammStarten(3); }, {}, {vbOK}, {}},
      {"Einstellungen spezial", [] { Z_Alles::EinstellungSpezial(); }, {Z_Alles::ordnerSub}, {vbOK, vbOK},
       {"schreibtest"}},
  };
  for (const Fall& f : faelle) {
    dialoge.gezeigt.clear();
    for (int a : f.antworten) dialoge.antwort(a);
    for (const QString& e : f.eingaben) dialoge.eingabe(e);
    f.befehl();
    EXPECT_TRUE(dialoge.alleBeantwortet()) << f.name;
    EXPECT_FALSE(dialoge.gezeigt.isEmpty()) << f.name;
    QString alle;
    for (const auto& box : dialoge.gezeigt) {
      alle += box.text;
      QString rest = box.text;
      for (const QString& w : f.werte) rest.remove(QDir::toNativeSeparators(w));
      for (const char* roh : {"~", "´", "`", "^t", "{datum}"})
        EXPECT_FALSE(rest.contains(roh)) << f.name << ": " << box.text.toStdString();
    }
    for (const QString& w : f.werte)
      EXPECT_TRUE(alle.contains(QDir::toNativeSeparators(w))) << f.name << ": " << w.toStdString();
  }
  // The message another user leaves is shown as stored.
  Z_Alles::ordnerSub = sub;
  dialoge.gezeigt.clear();
  dialoge.antwort(vbOK);
  Z_Alles::NetzNachrichtPrüfen();
  ASSERT_EQ(dialoge.gezeigt.size(), 1);
  EXPECT_EQ(dialoge.gezeigt[0].text, "Wie ´gespeichert´~bleibt");
}

// Access keys of every menu of the program: none twice in one menu or menu bar, with every
// part's commands in place.
class ZugriffstastenTest : public Testhilfe::SkribonTest {
protected:
  void TearDown() override {
    haupt.reset();
    SkribonTest::TearDown();
  }
  std::unique_ptr<Main> haupt;
};

// The letters after "&" of a row of entries that are shown at the same time; a letter twice is
// reported. Menus shown in turn (the calculator's pages) are each checked on their own.
QStringList doppelte(const QString& ort, const QList<QAction*>& eintraege) {
  QMap<QChar, QString> belegt;
  QStringList fehler;
  for (const QAction* a : eintraege) {
    if (!a->isVisible() || a->isSeparator()) continue;
    const QString text = QString(a->text()).replace("&&", "");
    const qsizetype i = text.indexOf('&');
    if (i < 0 || i + 1 >= text.size()) continue;
    const QChar taste = text[i + 1].toLower();
    if (belegt.contains(taste)) fehler << ort + ": " + belegt[taste] + " / " + a->text();
    belegt[taste] = a->text();
  }
  for (const QAction* a : eintraege)
    if (a->menu()) fehler << doppelte(ort + " > " + a->text(), a->menu()->actions());
  return fehler;
}

TEST_F(ZugriffstastenTest, KeineDoppeltenInMenues) {
  // Every part registers its commands, as the program's start does.
  haupt = std::make_unique<Main>();
  Rechner::Registrieren();
  Notizdruck::Registrieren();
  Z_V_Allgemein::Registrieren();
  VersionsPrüfung::Registrieren();
  Hilfsfenster::Registrieren();
  Programmdienste::Registrieren();
  Rechner rechner;
  DatenOrdner ordner;
  PrinterSet drucker;

  QStringList fehler = doppelte("Hauptfenster", haupt->menuBar()->actions());
  fehler << doppelte("Kontextmenü", haupt->mnuPopup->actions());
  fehler << doppelte("Rechner", rechner.menuBar()->actions());
  for (QWidget* w : {static_cast<QWidget*>(&ordner), static_cast<QWidget*>(&drucker)})
    for (const QMenuBar* leiste : w->findChildren<QMenuBar*>()) fehler << doppelte(w->windowTitle(), leiste->actions());
  EXPECT_TRUE(fehler.isEmpty()) << fehler.join("\n").toStdString();
  // Everything was there to check.
  EXPECT_GE(haupt->menuBar()->actions().size(), 3);
  EXPECT_GE(haupt->mnuPopup->actions().size(), 12);
}

}  // namespace
