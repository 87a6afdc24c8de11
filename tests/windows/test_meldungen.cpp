// The program as a whole: every message reaches the user without its markup (with the values
// in it as they are), and no menu has two entries on one access key.
#include <QMenuBar>
#include <QPushButton>
#include <functional>

#include "calculator/rechner.h"
#include "notepad/main.h"
#include "platform/profil.h"
#include "printing/printerset.h"
#include "services/links.h"
#include "services/netwatch.h"
#include "services/spezial.h"
#include "services/z_dos.h"
#include "services/z_v_allgemein.h"
#include "verdrahtung.h"
#include "windows/datenordner.h"
#include "windows/fenster_test.h"

namespace {

using namespace Plattform;

TEST_F(FensterTest, MeldungenOhneMarkup) {
  shell.ergebnis = false;  // nothing opens: the boxes that say so
  // Values that hold the markup's characters themselves.
  const QString sub = Z_Alles::ordnerSub, link = "http://www.a.de/~hans/´x´";
  Z_Alles::ordnerDat = wurzel + "/Daten~alt ´1´";
  Z_Alles::ordnerSub = wurzel + "/Einst`2`~";
  QDir().mkpath(Z_Alles::ordnerDat);
  DatenOrdner fenster;
  fenster.TimerReadData_Timer();
  const struct {
    const char* name;
    std::function<void()> befehl;
    QString wert;  // shown as it is
    QVector<int> antworten;
  } faelle[] = {
      {"Link", [&] { Z_Alles::LinkÖffnen(link); }, link, {vbOK}},
      {"Dokument", [] { Z_Alles::DokumentÖffnen(Z_Alles::ordnerDat + "/a~b"); }, Z_Alles::ordnerDat + "/a~b", {vbOK}},
      {"Musiktitel im Web suchen", [] { Z_DOS::MusikSuchen("Lied"); }, {}, {vbOK}},
      {"Einstellungs-Datei anzeigen...", [&] { fenster.befDo[0]->click(); }, Z_Alles::ordnerSub, {vbOK}},
      {"Daten-Ordner-Zeiger verlegen", [&] { fenster.befDatenOrdnerVerlegen->click(); }, Z_Alles::ordnerDat, {vbCancel}},
      {"Schwesterprogramm fehlt", [] { Z_V_Allgemein::SchwesterprogrammStarten(3); }, {}, {vbOK}},
      {"Einstellungen spezial", [] { Z_Alles::EinstellungSpezial(); }, Z_Alles::ordnerSub, {vbOK, vbOK}},
  };
  for (const auto& f : faelle) {
    dialoge.gezeigt.clear();
    for (int a : f.antworten) dialoge.antwort(a);
    if (f.antworten.size() == 2) dialoge.eingabe("schreibtest");
    f.befehl();
    EXPECT_TRUE(dialoge.alleBeantwortet()) << f.name;
    QString alle;
    for (const auto& box : dialoge.gezeigt) alle += box.text + "\n";
    EXPECT_TRUE(alle.contains(f.wert)) << f.name << ": " << alle.toStdString();
    alle.remove(f.wert);
    for (const char* roh : {"~", "´", "`", "^t", "{datum}"}) EXPECT_FALSE(alle.contains(roh)) << f.name << ": " << alle.toStdString();
  }
  // The message another user leaves is shown as stored.
  Z_Alles::ordnerSub = sub;  // where the user's name is
  for (const char* s : {"Allgemein|Benachrichtigen|1", "Nachricht|User|Erika Muster", "Nachricht|Text|´Wie´~gespeichert"}) {
    const QStringList t = QString(s).split('|');
    ProfilSchreiben(Z_Alles::NetWatchDatei(), t[0], t[1], t[2]);
  }
  dialoge.gezeigt.clear();
  dialoge.antwort(vbOK);
  Z_Alles::NetzNachrichtPrüfen();
  ASSERT_EQ(dialoge.gezeigt.size(), 1);
  EXPECT_EQ(dialoge.gezeigt[0].text, "´Wie´~gespeichert");
}

// The letters after "&" among the entries of a menu or menu bar shown together, each submenu on
// its own (hidden ones too: the calculator shows one of two by page); doubles are reported.
QStringList doppelte(const QString& ort, const QList<QAction*>& eintraege) {
  QStringList fehler;
  QMap<QChar, QString> belegt;
  for (const QAction* a : eintraege) {
    if (a->menu()) fehler << doppelte(ort + " > " + a->text(), a->menu()->actions());
    const QString text = QString(a->text()).remove("&&");
    const qsizetype i = text.indexOf('&');
    if (!a->isVisible() || i < 0 || i + 1 >= text.size()) continue;
    if (belegt.contains(text[i + 1].toLower())) fehler << ort + ": " + belegt[text[i + 1].toLower()] + " / " + a->text();
    belegt[text[i + 1].toLower()] = a->text();
  }
  return fehler;
}

TEST_F(FensterTest, ZugriffstastenEindeutig) {
  Main main;  // every folder registers its commands, as at the program's start
  Verdrahten();
  Rechner rechner;
  DatenOrdner ordner;
  PrinterSet drucker;
  const QStringList fehler = doppelte("Hauptfenster", main.menuBar()->actions()) +
                             doppelte("Kontextmenü", main.mnuPopup->actions()) +
                             doppelte("Rechner", rechner.menuBar()->actions()) +
                             doppelte("Ordner", ordner.findChild<QMenuBar*>()->actions()) +
                             doppelte("Drucker", drucker.findChild<QMenuBar*>()->actions());
  EXPECT_TRUE(fehler.isEmpty()) << fehler.join("\n").toStdString();
  EXPECT_GE(main.mnuPopup->actions().size(), 15);  // the folders' commands were there to check
}

}  // namespace
