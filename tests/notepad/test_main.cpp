// The main window on the offscreen platform: start-up order, tabs, typing, every save trigger
// byte for byte, enciphered notes, failures that must not lose text, the size limit, word wrap,
// window place, the interface other windows use, the exit and its signals.
#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QDeadlineTimer>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QProcess>
#include <QScreen>
#include <QTest>
#include <QTextCursor>
#include <QTimer>
#include <QToolBar>

#include <csignal>
#include <cstdio>
#include <functional>
#include <memory>

#include "foundation/dienste.h"
#include "foundation/hauptfenster.h"
#include "foundation/z_alles.h"
#include "notepad/main.h"
#include "notepad/notizeditor.h"
#include "notepad/signale.h"
#include "notepad/skribondiv.h"
#include "platform/farben.h"
#include "platform/profil.h"
#include "printing/notizdruck.h"
#include "printing/printerset.h"
#include "services/programmdienste.h"
#include "windows/hilfsfenster.h"
#include "support/fixture.h"
#include "qstring_ausgabe.h"

using HauptfensterHaken::Punkt;


class MainTest : public Testhilfe::SkribonTest {
protected:
  void TearDown() override {
    main.reset();
    SkribonTest::TearDown();
  }
  Main& starten(const QStringList& argumente = {}) {
    SkribonDiv::Befehlszeile = argumente;
    main = std::make_unique<Main>();
    main->Form_Load();
    main->show();
    QApplication::processEvents();
    return *main;
  }
  NotizEditor* editor() const { return main->aktiverText(); }
  // The status text is shown whole in its panel at the window's designed width (the test
  // screen is narrower, so the window opened narrower).
  ::testing::AssertionResult statusPasst() const {
    main->resize(900, main->height());
    QLabel* l = main->panel("Status");
    const int breite = l->fontMetrics().horizontalAdvance(l->text());
    if (breite <= l->contentsRect().width()) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << l->text().toStdString() << ": " << breite << " > "
                                         << l->contentsRect().width();
  }
  // Typing as a keyboard does, umlauts included (QTest::keyClicks knows only ASCII).
  void tippen(const QString& text) {
    for (const QChar c : text) {
      QKeyEvent druck(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
      QApplication::sendEvent(editor(), &druck);
      QKeyEvent los(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
      QApplication::sendEvent(editor(), &los);
    }
  }
  QString dat(const QString& name) const { return datOrdner + "/" + name; }
  QString dormik(const QString& schluessel) const {
    return Plattform::ProfilLesen(subOrdner + "/Dormik.ini", "Skribon", schluessel, "?");
  }
  QString inf(const QString& abschnitt, const QString& schluessel, const QString& datei = "Skribon.inf") const {
    return Plattform::ProfilLesen(dat(datei), abschnitt, schluessel, "?");
  }
  void einstellung(const QString& schluessel, const QString& wert) {
    Plattform::ProfilSchreiben(subOrdner + "/Dormik.ini", "Skribon", schluessel, wert);
  }
  std::unique_ptr<Main> main;
};

// ---- Start-up -----------------------------------------------------------------------------------

TEST_F(MainTest, StartReihenfolge) {
  QStringList protokoll;
  // Each step another folder adds runs right after its progress text, in the overall order.
  auto merken = [&](const char* name) {
    return [&protokoll, name] {
      protokoll << QString("%1 nach »%2«").arg(name, Main::Instanz()->startProtokoll().last());
    };
  };
  HauptfensterHaken::Eintragen(Punkt::StartUeberpruefungen, merken("Länder"));
  HauptfensterHaken::Eintragen(Punkt::StartReadonlytest, merken("Rechte"));
  HauptfensterHaken::Eintragen(Punkt::StartMailFuss, merken("Mail"));
  HauptfensterHaken::Eintragen(Punkt::StartAnmelden, merken("Statistik"));
  HauptfensterHaken::Eintragen(Punkt::StartSperren, merken("Sperren"));
  HauptfensterHaken::Eintragen(Punkt::StartPrivates, merken("Privat"));
  HauptfensterHaken::Eintragen(Punkt::ErsterPaint, [&] { protokoll << "erster Paint"; });
  // The read-only decision comes before the editors are locked.
  HauptfensterHaken::Eintragen(Punkt::StartReadonlytest, [] { Z_Alles::NurLesen = true; });

  starten();
  EXPECT_EQ(main->startProtokoll(),
            QStringList({"Überprüfungen", "Anzahl Skribon", "Textfeld anlegen",
                         "Notiz-Optionsfeld anlegen", "Readonlytest", "Mail-Fußzeile",
                         "Als Benutzer anmelden", "Zeiger auf Hilfedatei",
                         "Notiz-Optionsfeld positionieren", "Sperren wenn nur Leserechte",
                         "Privates", "Datei als Übergabeparameter vorgegeben?", "Notizblock laden",
                         "Main geladen, unload Title"}));
  QApplication::processEvents();
  EXPECT_EQ(protokoll, QStringList({"Länder nach »Überprüfungen«", "Rechte nach »Readonlytest«",
                                    "Mail nach »Mail-Fußzeile«",
                                    "Statistik nach »Als Benutzer anmelden«",
                                    "Sperren nach »Sperren wenn nur Leserechte«",
                                    "Privat nach »Privates«", "erster Paint"}));
  EXPECT_TRUE(editor()->isReadOnly());
  EXPECT_EQ(main->statusText(), "Bereit");
  EXPECT_TRUE(main->Zeit.isActive());
  EXPECT_EQ(main->Zeit.interval(), 60000);
  EXPECT_TRUE(main->ZeitInfo.isActive());
  EXPECT_EQ(main->ZeitInfo.interval(), 1000);
  EXPECT_EQ(main->zeitBelegung.interval(), 100);
  EXPECT_TRUE(main->zeitBelegung.isSingleShot());
  // Showing again does not paint "first" again.
  main->hide();
  main->show();
  QApplication::processEvents();
  EXPECT_EQ(protokoll.count("erster Paint"), 1);
}

TEST_F(MainTest, TabsUndBeschriftungen) {
  struct Fall { QString maxSkribon; int tabs; };
  for (const Fall& f : {Fall{"", 50}, Fall{"60", 60}, Fall{"120", 99}, Fall{"10", 50}, Fall{"nan", 50}}) {
    if (!f.maxSkribon.isEmpty()) einstellung("MaxSkribon", f.maxSkribon);
    DateiSchreiben(dat("Skribon.inf"),
                   "[Note01]\r\nHeader=Einkauf\r\n[Note02]\r\nHeader=Tom & Jerry\r\n"
                   "[Note03]\r\nHeader=Eine sehr lange Überschrift, die nicht auf einen Reiter passt\r\n");
    starten();
    ASSERT_EQ(int(main->Opt.size()), f.tabs) << f.maxSkribon.toStdString();
    EXPECT_EQ(SkribonDiv::NotizAnzahl, f.tabs);
    EXPECT_EQ(main->tabText(1), "Einkauf");
    EXPECT_EQ(main->tabText(2), "Tom && Jerry");
    EXPECT_EQ(main->tabText(3), QString::fromUtf8("Eine sehr lange Übersch…"));
    EXPECT_EQ(main->Opt[2]->toolTip(), "Notiz 3: Eine sehr lange Überschrift, die nicht auf einen Reiter passt");
    EXPECT_EQ(main->tabText(4), "4");
    EXPECT_EQ(main->tabText(f.tabs), QString::number(f.tabs));
    EXPECT_EQ(main->infoText(), "Einkauf");
    EXPECT_TRUE(main->Opt[0]->isChecked());
    // Side by side, in note order, nothing clipped (with the tab style applied).
    main->zeitBelegung_Timer();
    QApplication::processEvents();
    for (int i = 1; i < f.tabs; ++i) {
      EXPECT_LT(main->Opt[i - 1]->x(), main->Opt[i]->x());
      EXPECT_GE(main->Opt[i]->width(), main->Opt[i]->sizeHint().width()) << i;
      EXPECT_GE(main->Opt[i]->width(), main->Opt[i]->fontMetrics().horizontalAdvance(main->Opt[i]->text().remove('&')));
    }
    main->beenden(true);
    main.reset();
    QDir(datOrdner).removeRecursively();
    QDir().mkpath(datOrdner);
  }
}

TEST_F(MainTest, TabFarben) {
  einstellung("ForColStd", "&H000000");
  einstellung("ForColEmpty", "&H808080");
  einstellung("ForColCrypt", "255");
  einstellung("ForColAkt", "&HFF0000");
  einstellung("OptBackcolor", "&HFFFFFF");
  DateiSchreiben(dat("Skribon.t02"), "Inhalt");
  DateiSchreiben(dat("Skribon.t03"), "..??geheim");
  starten();
  EXPECT_TRUE(main->zeitBelegung.isActive());
  main->zeitBelegung_Timer();
  EXPECT_FALSE(main->zeitBelegung.isActive());
  EXPECT_EQ(main->tabFarbe(1), QColor(0, 0, 255));      // current (BGR &HFF0000 = blue)
  EXPECT_EQ(main->tabFarbe(2), QColor(0, 0, 0));        // with text
  EXPECT_EQ(main->tabFarbe(3), QColor(255, 0, 0));      // enciphered (BGR 255 = red)
  EXPECT_EQ(main->tabFarbe(4), QColor(128, 128, 128));  // empty
  // Typing into the empty note and saving: its tab is no longer empty.
  tippen("x");
  ASSERT_TRUE(main->NotizWechseln(2));
  main->zeitBelegung_Timer();
  EXPECT_EQ(main->tabFarbe(1), QColor(0, 0, 0));
  EXPECT_EQ(main->tabFarbe(2), QColor(0, 0, 255));
  // Switching the timer on while it runs does not restart it.
  main->belegungAuffrischen();
  const int rest = main->zeitBelegung.remainingTime();
  // Some time passes, without events: the timer cannot run out meanwhile.
  const QDeadlineTimer frist(5000);
  while (main->zeitBelegung.remainingTime() >= rest && !frist.hasExpired()) QThread::usleep(200);
  main->belegungAuffrischen();
  EXPECT_LT(main->zeitBelegung.remainingTime(), rest);
}

// The options window's defaults ("no keys stored, then close"): no black row, readable captions.
TEST_F(MainTest, TabFarbenMitGestaltetenVorgaben) {
  einstellung("OptBackcolor", "0");
  for (int i = 0; i < 4; ++i)
    einstellung(TabFarben::Schluessel[i],
                QString::number(qint32(Plattform::FarbZahlLesen(TabFarben::Vorgabe[i]))));
  DateiSchreiben(dat("Skribon.t02"), "Inhalt");
  starten();
  main->zeitBelegung_Timer();
  QApplication::processEvents();
  const QColor knopf = main->palette().color(QPalette::Button);
  EXPECT_EQ(main->tabFarbe(3), QColor(0x9F, 0x9F, 0x9F));
  for (int nr : {2, 3}) {
    const QImage bild = main->Opt[nr - 1]->grab().toImage();
    // The tab's face is the button face; its caption stands out from it.
    EXPECT_EQ(bild.pixelColor(bild.width() / 2, 6), knopf) << nr;
    double staerkster = 0;
    for (int y = 0; y < bild.height(); ++y)
      for (int x = 0; x < bild.width(); ++x)
        staerkster = std::max(staerkster, std::abs(qGray(bild.pixel(x, y)) - double(qGray(knopf.rgb()))));
    EXPECT_GT(staerkster, nr == 2 ? 120 : 60) << nr;
  }
  // "Wie Notiz": the tabs take the note's background.
  einstellung("OptBackcolor", "1");
  main->zeitBelegung_Timer();
  const QImage bild = main->Opt[1]->grab().toImage();
  EXPECT_EQ(bild.pixelColor(bild.width() / 2, 6), main->aktiverText()->palette().color(QPalette::Base));
}

TEST_F(MainTest, NotizblockAusBefehlszeile) {
  DateiSchreiben(dat("Arbeit.inf"), "[Allgemein]\r\nNotizNr=3\r\n[Note03]\r\nHeader=Offen\r\n");
  DateiSchreiben(dat("Arbeit.t03"), "weiter\r\nhier");
  starten({"Datei=/irgendwo/anders/Arbeit.inf"});
  EXPECT_EQ(SkribonDiv::NotizblockName, "Arbeit");
  EXPECT_EQ(main->notizblockName(), "Arbeit");
  EXPECT_EQ(SkribonDiv::NotizNr, 3);
  EXPECT_EQ(main->text(), "weiter\r\nhier");
  EXPECT_EQ(main->infoText(), "Offen");
  EXPECT_TRUE(main->windowTitle().contains("Arbeit"));
}

// ---- Typing and saving --------------------------------------------------------------------------

TEST_F(MainTest, TippenMarkiertAlsGeaendert) {
  starten();
  EXPECT_FALSE(SkribonDiv::NotizGeändert);
  main->ZeitInfo_Timer();
  EXPECT_EQ(main->panel("Geaendert")->text(), "");
  tippen("Hallo");
  EXPECT_TRUE(SkribonDiv::NotizGeändert);
  main->ZeitInfo_Timer();
  EXPECT_EQ(main->panel("Geaendert")->text(), " * ");
  EXPECT_EQ(main->panel("Datum")->text(), "15.01.2026");
  EXPECT_EQ(main->panel("Zeit")->text(), "10:30");
  EXPECT_EQ(main->panel("Position")->text(), "Zeile 1, Spalte 6");
  EXPECT_EQ(main->panel("Modus")->text(), "EINFG");
  // Tab never goes into a note; Insert toggles overwrite mode.
  QTest::keyClick(editor(), Qt::Key_Tab);
  EXPECT_EQ(main->text(), "Hallo");
  QTest::keyClick(editor(), Qt::Key_Home);
  QTest::keyClick(editor(), Qt::Key_Insert);
  EXPECT_TRUE(SkribonDiv::Überschreiben);
  tippen("J");
  EXPECT_EQ(main->text(), "Jallo");
  main->ZeitInfo_Timer();
  EXPECT_EQ(main->panel("Modus")->text(), "ÜBERSCHR");
  QTest::keyClick(editor(), Qt::Key_Insert);
  EXPECT_FALSE(SkribonDiv::Überschreiben);
}

TEST_F(MainTest, JederSpeicherAnlassSchreibtDieErwartetenBytes) {
  enum class Anlass { Timer, Wechsel, TabKlick, Ende, Schliessen };
  const std::pair<Anlass, const char*> faelle[] = {
      {Anlass::Timer, "Timer"}, {Anlass::Wechsel, "Wechsel"}, {Anlass::TabKlick, "Tab-Klick"},
      {Anlass::Ende, "Beenden"}, {Anlass::Schliessen, "Fenster schließen"}};
  for (const auto& [anlass, name] : faelle) {
    QDir(datOrdner).removeRecursively();
    QDir().mkpath(datOrdner);
    Plattform::ProfilCacheLeeren();
    starten();
    tippen("Zeile 1");
    QTest::keyClick(editor(), Qt::Key_Return);
    tippen(QString::fromUtf8("Zweite Zeile äß"));
    switch (anlass) {
      case Anlass::Timer: main->Zeit_Timer(); break;
      case Anlass::Wechsel: ASSERT_TRUE(main->NotizWechseln(2)); break;
      case Anlass::TabKlick: QTest::mouseClick(main->Opt[4], Qt::LeftButton); break;
      case Anlass::Ende: main->PulEnde_Click(); break;
      case Anlass::Schliessen: main->close(); break;
    }
    EXPECT_EQ(DateiLesen(dat("Skribon.t01")), QByteArray("Zeile 1\r\nZweite Zeile \xc3\xa4\xc3\x9f")) << name;
    EXPECT_FALSE(SkribonDiv::NotizGeändert) << name;
    EXPECT_EQ(inf("Note01", "Save"), "15.01.2026 10:30:00") << name;
    EXPECT_EQ(inf("Note01", "CrsrPos"), "24") << name;
    EXPECT_EQ(inf("Note01", "WordWrap"), "0") << name;
    EXPECT_EQ(inf("Note01", "Vers"), QString(HauptfensterHaken::BuildVersion()).remove(7, 1)) << name;
    EXPECT_NE(inf("Note01", "FontName"), "?") << name;
    if (anlass == Anlass::TabKlick) {
      EXPECT_EQ(SkribonDiv::NotizNr, 5);
      EXPECT_TRUE(main->Opt[4]->isChecked());
    }
    if (anlass == Anlass::Ende || anlass == Anlass::Schliessen) {
      EXPECT_TRUE(main->endet());
      EXPECT_FALSE(main->isVisible());
      EXPECT_EQ(inf("Allgemein", "NotizNr"), "1");
      EXPECT_NE(dormik("MainForm_Weite"), "?");
    }
    main.reset();
  }
}

TEST_F(MainTest, AndereFassungWirdAufbewahrtUndGemeldet) {
  DateiSchreiben(dat("Skribon.t01"), "gemeinsam");
  starten();
  tippen("meins ");
  // Another program on the same folder saves the note meanwhile.
  NotizSpeicher anderer;
  NotizSpeicher::Notiz n;
  anderer.oeffnen("Skribon", 50);
  ASSERT_TRUE(anderer.laden(1, &n));
  ASSERT_TRUE(anderer.textSichern(1, "deins"));
  dialoge.antwort(Plattform::vbOK);
  ASSERT_TRUE(main->NotizSichern());
  ASSERT_EQ(dialoge.gezeigt.size(), 1);
  const QStringList kopien = QDir(datOrdner).entryList({"*andere Fassung*"});
  ASSERT_EQ(kopien.size(), 1);
  EXPECT_TRUE(dialoge.gezeigt[0].text.contains(dat(kopien[0]))) << dialoge.gezeigt[0].text.toStdString();
  EXPECT_EQ(DateiLesen(dat(kopien[0])), "deins");
  EXPECT_EQ(DateiLesen(dat("Skribon.t01")), "meins gemeinsam");
  // Told once: the next saves of this program are no conflict.
  tippen("x");
  ASSERT_TRUE(main->NotizSichern());
  EXPECT_EQ(dialoge.gezeigt.size(), 1);
}

TEST_F(MainTest, TimerSpeichertNurGeaendertes) {
  DateiSchreiben(dat("Skribon.t01"), "alt");
  starten();
  main->Zeit_Timer();
  EXPECT_EQ(DateiLesen(dat("Skribon.t01")), "alt");
  EXPECT_EQ(inf("Note01", "Save"), "?");
}

TEST_F(MainTest, WechselUndZurueckFindetAllesWieder) {
  DateiSchreiben(dat("Skribon.inf"), "[Note02]\r\nHeader=Zwei\r\nCrsrPos=4\r\n");
  DateiSchreiben(dat("Skribon.t02"), "ab\r\ncd\r\nef");
  starten();
  tippen("eins");
  ASSERT_TRUE(main->NotizWechseln(2));
  EXPECT_EQ(main->text(), "ab\r\ncd\r\nef");
  EXPECT_EQ(editor()->textCursor().position(), 3);  // stored 4 = after "ab" CR LF
  EXPECT_EQ(main->infoText(), "Zwei");
  QTest::keyClick(editor(), Qt::Key_End);
  ASSERT_TRUE(main->NotizWechseln(1));
  EXPECT_EQ(main->text(), "eins");
  EXPECT_EQ(editor()->textCursor().position(), 4);
  EXPECT_EQ(main->infoText(), "Notiz 1");
  // Only the caret moved in note 2: only CrsrPos was written, the text stays as it was.
  EXPECT_EQ(inf("Note02", "CrsrPos"), "6");
  EXPECT_EQ(inf("Note02", "Save"), "?");
  EXPECT_EQ(DateiLesen(dat("Skribon.t02")), "ab\r\ncd\r\nef");
  EXPECT_FALSE(main->NotizWechseln(0));
  EXPECT_FALSE(main->NotizWechseln(51));
}

TEST_F(MainTest, TextZeigenSetztCursorUndZaehltJedesZeilenendeDoppelt) {
  starten();
  NotizEditor* e = editor();
  // A line separator can come in with pasted text; it is stored as a line end like any other.
  const QString text = QStringLiteral("ab\ncd") + QChar(QChar::LineSeparator) + QStringLiteral("ef");
  for (const int pos : {0, 2, 3, 5, 6, 8}) {
    e->textZeigen(text, pos);
    EXPECT_EQ(e->text(), QStringLiteral("ab\ncd\nef"));
    EXPECT_EQ(e->textCursor().position(), pos);
    EXPECT_EQ(e->gespeichertePosition(), SkribonDiv::PositionZuGespeichert(e->text(), pos)) << pos;
  }
  EXPECT_FALSE(e->document()->isUndoAvailable());
}

// Windows-1252, and UTF-8 with one stray byte: read, typed into, saved as UTF-8, every umlaut kept.
TEST_F(MainTest, Windows1252NotizLesenUndAlsUtf8Speichern) {
  const QByteArray faelle[] = {"Gr\xfc\xdf" "e aus \x84Windows\x93\r\n",
                               "Gr\xc3\xbc\xc3\x9f" "e aus \xe2\x80\x9eWindows\x93\r\n"};
  for (const QByteArray& inhalt : faelle) {
    DateiSchreiben(dat("Skribon.t01"), inhalt);
    starten();
    EXPECT_EQ(main->text(), QString::fromUtf8("Grüße aus „Windows“\r\n"));
    QTest::keyClick(editor(), Qt::Key_End, Qt::ControlModifier);
    tippen("!");
    main->PulEnde_Click();
    EXPECT_EQ(DateiLesen(dat("Skribon.t01")),
              QByteArray("Gr\xc3\xbc\xc3\x9f" "e aus \xe2\x80\x9eWindows\xe2\x80\x9c\r\n!"));
    main.reset();
  }
}

TEST_F(MainTest, VerschluesselteNotizNurLesen) {
  const QByteArray geheim("..??\x11\x22\x33 alter Schl\xfc" "ssel");
  DateiSchreiben(dat("Skribon.t02"), geheim);
  DateiSchreiben(dat("Skribon.inf"), "[Note02]\r\nHeader=Geheim\r\nCrsrPos=3\r\n");
  starten();
  ASSERT_TRUE(main->NotizWechseln(2));
  EXPECT_TRUE(main->kennwortNotiz());
  EXPECT_TRUE(editor()->isReadOnly());
  EXPECT_EQ(main->text(), "");
  EXPECT_TRUE(editor()->placeholderText().contains("Kennwort"));
  EXPECT_TRUE(main->statusText().contains("verschlüsselt"));
  EXPECT_EQ(main->infoText(), "Geheim");
  tippen("darf nicht hinein");
  EXPECT_EQ(main->text(), "");
  SkribonDiv::NotizGeändert = true;  // even when something claims a change
  main->Zeit_Timer();
  ASSERT_TRUE(main->NotizWechseln(1));
  EXPECT_FALSE(editor()->isReadOnly());
  ASSERT_TRUE(main->NotizWechseln(2));
  main->PulEnde_Click();
  EXPECT_EQ(DateiLesen(dat("Skribon.t02")), geheim);
  EXPECT_EQ(inf("Note02", "CrsrPos"), "3");
  EXPECT_EQ(inf("Note02", "Save"), "?");
}

TEST_F(MainTest, NotizReiterMitDerTastatur) {
  DateiSchreiben(dat("Skribon.t02"), "zwei");
  DateiSchreiben(dat("Skribon.t50"), "fünfzig");
  starten();
  main->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(main.get()));
  editor()->setFocus();
  tippen("eins");
  // Tab and Shift+Tab go between the note and the current tab; the arrow keys switch notes
  // round the row (the note is saved first) and the row keeps the focus. A note that cannot
  // be saved stays in front with its tab; a click still puts the caret into the note.
  const std::tuple<Qt::Key, int, QWidget*, const char*> schritte[] = {
      {Qt::Key_Tab, 1, main->Opt[0], "eins"},    {Qt::Key_Tab, 1, editor(), "eins"},
      {Qt::Key_Backtab, 1, main->Opt[0], "eins"}, {Qt::Key_Right, 2, main->Opt[1], "zwei"},
      {Qt::Key_Down, 3, main->Opt[2], ""},        {Qt::Key_Up, 2, main->Opt[1], "zwei"},
      {Qt::Key_Left, 1, main->Opt[0], "eins"},    {Qt::Key_Left, 50, main->Opt[49], "fünfzig"},
      {Qt::Key_Right, 1, main->Opt[0], "eins"},   {Qt::Key_Right, 1, main->Opt[0], "eins!"}};
  for (const auto& [taste, nr, fokus, text] : schritte) {
    if (QString(text) == "eins!") {  // the note file becomes a folder: the save fails
      tippen("!");
      QFile::remove(dat("Skribon.t01"));
      QDir().mkpath(dat("Skribon.t01"));
      dialoge.antwort(Plattform::vbOK);
    }
    QTest::keyClick(QApplication::focusWidget(), taste);
    EXPECT_EQ(SkribonDiv::NotizNr, nr) << taste;
    EXPECT_TRUE(main->Opt[nr - 1]->isChecked()) << taste;
    EXPECT_EQ(QApplication::focusWidget(), fokus) << taste << " " << nr;
    EXPECT_EQ(main->text(), QString::fromUtf8(text)) << taste;
  }
  EXPECT_EQ(dialoge.gezeigt.size(), 1);
  QDir(dat("Skribon.t01")).removeRecursively();
  QTest::mouseClick(main->Opt[1], Qt::LeftButton);
  EXPECT_EQ(QApplication::focusWidget(), editor());
  EXPECT_EQ(DateiLesen(dat("Skribon.t01")), "eins!");
}

TEST_F(MainTest, UnlesbareNotizFaelltAufNotiz1Zurueck) {
  QDir().mkpath(dat("Skribon.t04"));  // a folder where the note file should be
  DateiSchreiben(dat("Skribon.t01"), "eins");
  starten();
  dialoge.antwort(Plattform::vbOK);
  EXPECT_TRUE(main->NotizWechseln(4));
  ASSERT_EQ(dialoge.gezeigt.size(), 1);
  EXPECT_TRUE(dialoge.gezeigt[0].text.contains("Skribon.t04")) << dialoge.gezeigt[0].text.toStdString();
  EXPECT_EQ(SkribonDiv::NotizNr, 1);
  EXPECT_EQ(main->text(), "eins");
  EXPECT_TRUE(main->Opt[0]->isChecked());
}

// ---- Failures never lose text -------------------------------------------------------------------

TEST_F(MainTest, SpeicherfehlerBehaeltTextUndVersuchtErneut) {
  struct Fall {
    const char* name;
    std::function<void(const QString&)> blockieren;
    std::function<void(const QString&)> freigeben;
    QString imText;
  };
  const Fall faelle[] = {
      {"Datei statt Datenordner",
       [](const QString& d) { QDir(d).removeRecursively(); DateiSchreiben(d, "x"); },
       [](const QString& d) { QFile::remove(d); QDir().mkpath(d); }, "Skribon.t01"},
      {"Ordner statt Notizdatei", [](const QString& d) { QDir().mkpath(d + "/Skribon.t01"); },
       [](const QString& d) { QDir(d + "/Skribon.t01").removeRecursively(); }, "Skribon.t01"},
  };
  int sekundenSchritte = 0;
  HauptfensterHaken::Eintragen(Punkt::ZeitInfoEnde, [&] { ++sekundenSchritte; });
  for (const Fall& f : faelle) {
    QDir(datOrdner).removeRecursively();
    QDir().mkpath(datOrdner);
    Plattform::ProfilCacheLeeren();
    starten();
    tippen("Wichtiger Text");
    f.blockieren(datOrdner);

    // Timer: one message naming the file; the text and the flag stay.
    dialoge.antwort(Plattform::vbOK);
    main->Zeit_Timer();
    ASSERT_EQ(dialoge.gezeigt.size(), 1) << f.name;
    EXPECT_TRUE(dialoge.gezeigt[0].text.contains(f.imText)) << dialoge.gezeigt[0].text.toStdString();
    EXPECT_TRUE(dialoge.gezeigt[0].text.contains("nicht gespeichert")) << f.name;
    EXPECT_TRUE(SkribonDiv::NotizGeändert);
    EXPECT_EQ(main->text(), "Wichtiger Text");
    EXPECT_TRUE(main->statusText().contains("nicht gespeichert"));
    EXPECT_TRUE(statusPasst());
    // The next minute: tried again, the same message is not repeated.
    main->Zeit_Timer();
    EXPECT_EQ(dialoge.gezeigt.size(), 1);
    // A switch: told again, and the note stays in front.
    dialoge.antwort(Plattform::vbOK);
    EXPECT_FALSE(main->NotizWechseln(3));
    EXPECT_EQ(dialoge.gezeigt.size(), 2);
    EXPECT_EQ(SkribonDiv::NotizNr, 1);
    EXPECT_TRUE(main->Opt[0]->isChecked());
    // Quitting: asked; "No" keeps the program open with the text.
    dialoge.antwort(Plattform::vbNo);
    main->PulEnde_Click();
    EXPECT_EQ(dialoge.gezeigt.size(), 3);
    EXPECT_TRUE(dialoge.gezeigt[2].text.contains("Trotzdem beenden?"));
    EXPECT_FALSE(main->endet());
    EXPECT_TRUE(main->isVisible());
    EXPECT_TRUE(main->Zeit.isActive());
    // The one-second check (the remote close among it) goes on as before the quit.
    sekundenSchritte = 0;
    main->ZeitInfo_Timer();
    EXPECT_EQ(sekundenSchritte, 1);
    // Cause removed: the next trigger saves.
    f.freigeben(datOrdner);
    main->Zeit_Timer();
    EXPECT_FALSE(SkribonDiv::NotizGeändert);
    EXPECT_EQ(main->statusText(), "Bereit");
    EXPECT_EQ(DateiLesen(dat("Skribon.t01")), "Wichtiger Text");
    dialoge.gezeigt.clear();
    main->beenden(true);
    main.reset();
  }
}

TEST_F(MainTest, BeendenTrotzSpeicherfehlerMitNotfallkopie) {
  const QString notfall = Z_Alles::NotfallOrdner();
  // Asked: "end anyway" writes the copy and names its place; without anyone to ask, the
  // copy is written silently.
  for (const bool ohneRueckfrage : {false, true}) {
    QDir(notfall).removeRecursively();
    QDir(datOrdner).removeRecursively();
    QDir().mkpath(datOrdner);
    starten();
    tippen("Rette mich");
    QDir(datOrdner).removeRecursively();
    DateiSchreiben(datOrdner, "kein Ordner");
    if (!ohneRueckfrage) {
      dialoge.antwort(Plattform::vbYes);
      dialoge.antwort(Plattform::vbOK);
    }
    main->beenden(ohneRueckfrage);
    EXPECT_TRUE(main->endet());
    const QStringList kopien = QDir(notfall).entryList({"Skribon.t01-Notfall-*.txt"});
    ASSERT_EQ(kopien.size(), 1);
    const QString pfad = notfall + "/" + kopien[0];
    EXPECT_EQ(DateiLesen(pfad), "Rette mich");
    if (ohneRueckfrage) {
      EXPECT_TRUE(dialoge.gezeigt.isEmpty());
    } else {
      ASSERT_EQ(dialoge.gezeigt.size(), 2);
      EXPECT_TRUE(dialoge.gezeigt[0].text.contains("Trotzdem beenden?"));
      EXPECT_TRUE(dialoge.gezeigt[1].text.contains(pfad)) << dialoge.gezeigt[1].text.toStdString();
    }
    dialoge.gezeigt.clear();
    main.reset();
    QFile::remove(datOrdner);
  }
}

TEST_F(MainTest, ObergrenzeOhneStillesAbschneiden) {
  starten();
  // 65,497 characters plus one line end (two when stored) = 65,499.
  editor()->setPlainText(QString(40000, 'a') + "\n" + QString(25497, 'b'));
  ASSERT_EQ(editor()->gespeicherteLaenge(), 65499);
  QTest::keyClick(editor(), Qt::Key_End, Qt::ControlModifier);
  tippen("c");
  EXPECT_EQ(editor()->gespeicherteLaenge(), 65500);
  tippen("d");
  EXPECT_EQ(editor()->gespeicherteLaenge(), 65500);
  EXPECT_TRUE(main->statusText().contains("65.500")) << main->statusText().toStdString();
  EXPECT_TRUE(statusPasst());
  // The refusal is said until the text changes, and a few seconds at least.
  for (int schritt : {0, 1, 2}) {
    if (schritt == 1) QTest::keyClick(editor(), Qt::Key_Backspace);
    system.tick += schritt == 2 ? 5000 : 0;
    main->ZeitInfo_Timer();
    EXPECT_EQ(main->statusText().startsWith("Notiz voll"), schritt < 2) << schritt;
  }
  tippen("d");
  // Every key that would put text in is refused: beyond the basic plane, a joiner, a
  // private-use character, AltGr reported as Ctrl+Alt.
  const std::pair<QString, Qt::KeyboardModifiers> tasten[] = {
      {QString::fromUtf8("😀"), Qt::NoModifier}, {QString(QChar(0x200D)), Qt::NoModifier},
      {QString(QChar(0xE000)), Qt::NoModifier}, {"@", Qt::ControlModifier | Qt::AltModifier}};
  for (const auto& [zeichen, mods] : tasten) {
    QKeyEvent druck(QEvent::KeyPress, 0, mods, zeichen);
    QApplication::sendEvent(editor(), &druck);
    EXPECT_EQ(editor()->gespeicherteLaenge(), 65500) << zeichen.toStdString();
  }
  QTest::keyClick(editor(), Qt::Key_Backspace);
  QTest::keyClick(editor(), Qt::Key_Return);  // a line end needs two
  EXPECT_EQ(editor()->gespeicherteLaenge(), 65499);
  // A paste that does not fit goes in whole or not at all.
  QApplication::clipboard()->setText("xy");
  editor()->paste();
  EXPECT_EQ(editor()->gespeicherteLaenge(), 65499);
  QApplication::clipboard()->setText("z");
  editor()->paste();
  EXPECT_EQ(editor()->gespeicherteLaenge(), 65500);
  // Replacing a selection may insert as much as it removes.
  QTextCursor c = editor()->textCursor();
  c.setPosition(0);
  c.setPosition(3, QTextCursor::KeepAnchor);
  editor()->setTextCursor(c);
  tippen("XYZ");
  EXPECT_TRUE(main->text().startsWith("XYZa"));
  EXPECT_EQ(editor()->gespeicherteLaenge(), 65500);
  // Everything typed is saved in full.
  main->PulEnde_Click();
  EXPECT_EQ(DateiLesen(dat("Skribon.t01")).size(), 65500);
}

TEST_F(MainTest, UeberlangeNotizWirdNichtGekuerzt) {
  const QByteArray lang(70000, 'q');
  DateiSchreiben(dat("Skribon.t01"), lang);
  starten();
  EXPECT_EQ(editor()->gespeicherteLaenge(), 70000);
  EXPECT_TRUE(main->statusText().contains("65.500"));
  EXPECT_TRUE(statusPasst());
  main->ZeitInfo_Timer();
  EXPECT_EQ(editor()->gespeicherteLaenge(), 70000);
  EXPECT_TRUE(main->statusText().contains("65.500"));
  EXPECT_TRUE(statusPasst());
  // The hint holds for this note only.
  ASSERT_TRUE(main->NotizWechseln(2));
  EXPECT_EQ(main->statusText(), "Bereit");
  ASSERT_TRUE(main->NotizWechseln(1));
  QTest::keyClick(editor(), Qt::Key_End, Qt::ControlModifier);
  tippen("r");  // nothing more goes in
  EXPECT_EQ(editor()->gespeicherteLaenge(), 70000);
  QTest::keyClick(editor(), Qt::Key_Backspace);
  main->PulEnde_Click();
  EXPECT_EQ(DateiLesen(dat("Skribon.t01")).size(), 69999);
}

// ---- Word wrap ----------------------------------------------------------------------------------

TEST_F(MainTest, ZeilenumbruchBehaeltTextMarkierungUndCursor) {
  starten();
  EXPECT_EQ(SkribonDiv::TextAktiv, 0);
  EXPECT_EQ(editor()->lineWrapMode(), QPlainTextEdit::NoWrap);
  tippen("erste Zeile");
  QTest::keyClick(editor(), Qt::Key_Return);
  tippen("zweite Zeile");
  QTextCursor c = editor()->textCursor();
  c.setPosition(15);
  c.setPosition(6, QTextCursor::KeepAnchor);
  editor()->setTextCursor(c);
  const QString vorher = main->text();
  main->TextAktivSetzen(1);
  EXPECT_EQ(SkribonDiv::TextAktiv, 1);
  EXPECT_EQ(editor(), main->Text[1]);
  EXPECT_EQ(editor()->lineWrapMode(), QPlainTextEdit::WidgetWidth);
  EXPECT_EQ(main->text(), vorher);
  EXPECT_EQ(editor()->textCursor().anchor(), 15);
  EXPECT_EQ(editor()->textCursor().position(), 6);
  EXPECT_EQ(main->markierterText(), "Zeile\r\nzwe");
  EXPECT_TRUE(SkribonDiv::NotizGeändert);
  main->ZeitInfo_Timer();
  EXPECT_EQ(main->panel("Umbruch")->text(), "Umbruch");
  main->TextAktivSetzen(0);
  EXPECT_EQ(main->text(), vorher);
  EXPECT_EQ(editor()->textCursor().position(), 6);
  // The note remembers its box.
  main->TextAktivSetzen(1);
  main->PulEnde_Click();
  EXPECT_EQ(inf("Note01", "WordWrap"), "1");
  EXPECT_EQ(dormik("WordWrap"), "1");
}

TEST_F(MainTest, ZeilenumbruchJeNotiz) {
  DateiSchreiben(dat("Skribon.inf"), "[Note02]\r\nWordWrap=1\r\n[Note03]\r\nWordWrap=0\r\n");
  DateiSchreiben(dat("Skribon.t02"), "zwei");
  starten();
  ASSERT_TRUE(main->NotizWechseln(2));
  EXPECT_EQ(SkribonDiv::TextAktiv, 1);
  EXPECT_EQ(main->text(), "zwei");
  ASSERT_TRUE(main->NotizWechseln(3));
  EXPECT_EQ(SkribonDiv::TextAktiv, 0);
  EXPECT_EQ(main->Text[1]->text(), "");  // the hidden box keeps no stale text
}

// ---- Window place -------------------------------------------------------------------------------

TEST_F(MainTest, FensterplatzInTwips) {
  einstellung("MainForm_Links", "1500");
  einstellung("MainForm_Oben", "750");
  einstellung("MainForm_Weite", "9000");
  einstellung("MainForm_Höhe", "6000");
  einstellung("MainForm_State", "0");
  starten();
  EXPECT_EQ(main->size(), QSize(600, 400));
  EXPECT_EQ(main->pos(), QPoint(100, 50));
  main->resize(630, 420);
  main->move(60, 30);
  main->PulEnde_Click();
  EXPECT_EQ(dormik("MainForm_Weite"), "9450");
  EXPECT_EQ(dormik("MainForm_Höhe"), "6300");
  EXPECT_EQ(dormik("MainForm_Links"), "900");
  EXPECT_EQ(dormik("MainForm_Oben"), "450");
  EXPECT_EQ(dormik("MainForm_State"), "0");
}

TEST_F(MainTest, FensterAusBefehlszeileUndAusserhalbDesBildschirms) {
  einstellung("MainForm_Links", "1500");
  einstellung("MainForm_Oben", "750");
  einstellung("MainForm_Weite", "9000");
  einstellung("MainForm_Höhe", "6000");
  starten({"fenster=300,450,9300,4800,0"});
  EXPECT_EQ(main->size(), QSize(620, 320));
  EXPECT_EQ(main->pos(), QPoint(20, 30));
  main->beenden(true);
  main.reset();
  // A place on a screen that is gone comes back onto the screen.
  einstellung("MainForm_Links", "-900000");
  einstellung("MainForm_Oben", "900000");
  starten();
  const QRect schirm = QGuiApplication::primaryScreen()->availableGeometry();
  EXPECT_TRUE(schirm.intersects(QRect(main->pos(), main->size())));
  main->beenden(true);
  main.reset();
  // "nan" reads as a number but is no place: the size stays the default, the window on screen.
  for (const char* schluessel : {"MainForm_Links", "MainForm_Oben", "MainForm_Weite", "MainForm_Höhe", "MainForm_State"})
    einstellung(schluessel, "nan");
  starten();
  EXPECT_EQ(main->height(), 620);
  EXPECT_TRUE(schirm.contains(main->frameGeometry()));
  EXPECT_FALSE(main->windowState() & (Qt::WindowMinimized | Qt::WindowMaximized));
  main->beenden(true);
  main.reset();
  // Larger than the screen, and a header of 5,000 characters: the window fits the screen
  // and is not stored larger.
  einstellung("MainForm_Weite", "900000");
  einstellung("MainForm_Höhe", "900000");
  DateiSchreiben(dat("Skribon.inf"), "[Note01]\r\nHeader=" + QByteArray(5000, 'K') + "\r\n");
  starten();
  EXPECT_LE(main->width(), schirm.width());
  EXPECT_LE(main->height(), schirm.height());
  main->resize(main->size() + QSize(10, 10));
  main->beenden(true);
  EXPECT_LE(dormik("MainForm_Weite").toInt(), schirm.width() * 15);
  EXPECT_LE(dormik("MainForm_Höhe").toInt(), schirm.height() * 15);
}

// ---- What other windows see ---------------------------------------------------------------------

TEST_F(MainTest, SchnittstelleFuerAndereFenster) {
  DateiSchreiben(dat("Skribon.inf"),
                 "[Note01]\r\nHeader=Kopf\r\nFontName=DejaVu Sans Mono\r\nFontSize=13\r\n"
                 "FontBold=True\r\nFontItalic=0\r\n");
  DateiSchreiben(dat("Skribon.t01"), "a\r\nb\r\nc");
  EXPECT_EQ(Hauptfenster::Instanz(), nullptr);
  starten();
  Hauptfenster* h = Hauptfenster::Instanz();
  ASSERT_EQ(h, static_cast<Hauptfenster*>(main.get()));
  EXPECT_EQ(h->text(), "a\r\nb\r\nc");
  QTextCursor c = main->aktiverText()->textCursor();
  c.setPosition(0);
  c.setPosition(3, QTextCursor::KeepAnchor);
  main->aktiverText()->setTextCursor(c);
  EXPECT_EQ(h->markierterText(), "a\r\nb");
  EXPECT_EQ(h->markierungsLaenge(), 4);
  EXPECT_EQ(h->schrift().family(), "DejaVu Sans Mono");
  EXPECT_EQ(h->schrift().pointSizeF(), 13);
  EXPECT_TRUE(h->schrift().bold());
  EXPECT_FALSE(h->schrift().italic());
  EXPECT_EQ(h->notizblockName(), "Skribon");
  EXPECT_EQ(h->infoText(), "Kopf");
  h->statusSetzen("Drucken...");
  EXPECT_EQ(h->statusText(), "Drucken...");
  EXPECT_FALSE(h->symbol().isNull());
  EXPECT_EQ(h->widget(), main.get());

  // The programs menu: four entries, hidden one by one, never shown again from here.
  const QStringList erwartet = {"&Varnisch...", "&Skribon...", "&Ostrup...", "&Lumetrix..."};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(main->mnuPrg[i]->text(), erwartet[i]);
    EXPECT_TRUE(h->programmEintragSichtbar(i));
  }
  h->programmEintragVerbergen(1);
  EXPECT_FALSE(h->programmEintragSichtbar(1));
  EXPECT_FALSE(h->programmEintragSichtbar(7));
  int gestartet = -1;
  dienste.schwesterprogrammStarten = [](int i) { Main::Instanz()->setProperty("gestartet", i); };
  main->mnuPrg[2]->trigger();
  gestartet = main->property("gestartet").toInt();
  EXPECT_EQ(gestartet, 2);

  // Commands of later windows: "&Beenden" stays last in "&Datei"; a new menu is appended.
  int aufrufe = 0;
  QAction* a = h->befehlEintragen("&Datei", "&Drucken...", [&] { ++aufrufe; }, QKeySequence("Ctrl+P"));
  QAction* b = h->befehlEintragen("Extras", "&Rechner...", [&] { aufrufe += 10; });
  EXPECT_EQ(main->mnuDatei->actions().last(), main->mnuBeenden);
  EXPECT_TRUE(main->mnuDatei->actions().contains(a));
  EXPECT_EQ(main->menuBar()->actions().last()->text(), "Extras");
  a->trigger();
  b->trigger();
  EXPECT_EQ(aufrufe, 11);
  EXPECT_EQ(main->menuBar()->actions()[0]->text(), "&Datei");
  EXPECT_EQ(main->menuBar()->actions()[1]->text(), "&Weiteres");
  main.reset();
  EXPECT_EQ(Hauptfenster::Instanz(), nullptr);
}

TEST_F(MainTest, PopupMenueUndSymbolleiste) {
  DateiSchreiben(dat("Skribon.t01"), "erste\r\nzweite Zeile\r\ndritte");
  starten();
  Hauptfenster* h = main.get();
  auto namen = [](const QList<QAction*>& liste) {
    QStringList n;
    for (QAction* a : liste)
      if (a->isSeparator()) n << "-";
      else n << a->objectName();
    return n;
  };
  // Nothing registered yet: only the edit commands and the exit.
  EXPECT_EQ(namen(main->mnuPopup->actions()),
            QStringList({"-", "PulRueckgaengig", "PulWiederholen", "-", "PulAusschneiden", "PulKopieren",
                         "PulEinfuegen", "PulLoeschen", "-", "PulAllesMarkieren", "-", "PulEnde"}));
  EXPECT_EQ(main->mnuPopup->actions()[1]->text(), "&Rückgängig");
  EXPECT_EQ(namen(main->Symbolleiste->actions()), QStringList({"-", "PulEnde"}));
  // Registered in any order, they take their fixed places; PulInfo is not built and not shown.
  int gedruckt = 0;
  h->befehlEintragen("&Datei", "&Drucken...", [&] { ++gedruckt; }, QKeySequence("Ctrl+P"),
                     Hauptfenster::ImPopup | Hauptfenster::InLeiste, "PulDrucken");
  h->befehlEintragen("&Weiteres", "&Taschenrechner...", [] {}, {},
                     Hauptfenster::ImPopup | Hauptfenster::InLeiste, "PulRechner");
  h->befehlEintragen("&Weiteres", "&Sonstiges", [] {}, {}, Hauptfenster::ImPopup, "PulSonstiges");
  EXPECT_EQ(namen(main->mnuPopup->actions()).mid(0, 4),
            QStringList({"PulRechner", "PulDrucken", "PulSonstiges", "-"}));
  EXPECT_EQ(namen(main->Symbolleiste->actions()), QStringList({"PulDrucken", "PulRechner", "-", "PulEnde"}));
  EXPECT_TRUE(main->Symbolleiste->isVisible());
  // A right-click opens it; edit commands follow the editor's state.
  QTest::mouseClick(main->aktiverText()->viewport(), Qt::RightButton);
  main->Text_MouseUp_Rechts({5, 5});
  EXPECT_TRUE(main->mnuPopup->isVisible());
  EXPECT_FALSE(main->mnuPopup->findChild<QAction*>("PulKopieren")->isEnabled());
  main->findChild<QAction*>("PulDrucken")->trigger();
  main->mnuPopup->hide();
  EXPECT_EQ(gedruckt, 1);

  // Ctrl+Alt+G selects the caret's line and hands its text on.
  static QString zeile;
  dienste.zeileMarkiert = [](const QString& t) { zeile = t; };
  QTextCursor c = editor()->textCursor();
  c.setPosition(10);
  editor()->setTextCursor(c);
  editor()->setFocus();
  QTest::keyClick(main.get(), Qt::Key_G, Qt::ControlModifier | Qt::AltModifier);
  EXPECT_EQ(zeile, "zweite Zeile");
  EXPECT_EQ(h->markierterText(), "zweite Zeile");
}

TEST_F(MainTest, DoppelklickMeldetTextUndStelle) {
  DateiSchreiben(dat("Skribon.t01"), "erste\r\n$CpyZA:kopie\r\nletzte");
  starten();
  static QString gemeldet;
  static int stelle = -1;
  dienste.editorDoppelklick = {[](const QString& text, int position) {
    gemeldet = text;
    stelle = position;
    return true;
  }};
  NotizEditor* e = editor();
  QTextCursor c = e->textCursor();
  c.setPosition(10);  // inside the second line
  e->setTextCursor(c);
  const QPoint punkt = e->cursorRect().center();
  QTest::mouseDClick(e->viewport(), Qt::LeftButton, Qt::NoModifier, punkt);
  EXPECT_EQ(gemeldet, "erste\n$CpyZA:kopie\nletzte");
  EXPECT_GE(stelle, 6);
  EXPECT_LE(stelle, 18);
}

// ---- Timers and exit ----------------------------------------------------------------------------

TEST_F(MainTest, ZeitInfoSchritteUndFernSchliessen) {
  QStringList protokoll;
  HauptfensterHaken::Eintragen(Punkt::ZeitInfoAnfang, [&] { protokoll << "Zwischenablage"; });
  HauptfensterHaken::Eintragen(Punkt::ZeitInfoNachrichten, [&] {
    // Third step: date and time are already shown.
    protokoll << "Nachrichten " + Main::Instanz()->panel("Zeit")->text();
  });
  HauptfensterHaken::Eintragen(Punkt::ZeitInfoNachPanels, [&] {
    protokoll << "Reservierung " + Main::Instanz()->panel("Geaendert")->text();
  });
  bool schliessen = false;
  HauptfensterHaken::Eintragen(Punkt::ZeitInfoEnde, [&] {
    protokoll << "Fernschliessen";
    if (schliessen) Hauptfenster::Instanz()->beenden(true);
  });
  starten();
  tippen("x");
  main->ZeitInfo_Timer();
  EXPECT_EQ(protokoll, QStringList({"Zwischenablage", "Nachrichten 10:30", "Reservierung  * ", "Fernschliessen"}));
  schliessen = true;
  main->ZeitInfo_Timer();
  EXPECT_TRUE(main->endet());
  EXPECT_EQ(DateiLesen(dat("Skribon.t01")), "x");
  EXPECT_FALSE(main->ZeitInfo.isActive());
  protokoll.clear();
  main->ZeitInfo_Timer();  // after the exit nothing runs any more
  EXPECT_TRUE(protokoll.isEmpty());
}

TEST_F(MainTest, EndeSchritteInReihenfolgeUndNurEinmal) {
  QStringList protokoll;
  auto schritt = [&](const char* name) {
    return [&protokoll, name, this] {
      protokoll << QString("%1 (Notiz %2, Fenster %3)")
                       .arg(name, QString(DateiLesen(dat("Skribon.t01"))), dormik("MainForm_State"));
    };
  };
  HauptfensterHaken::Eintragen(Punkt::EndeExport, schritt("Export"));
  HauptfensterHaken::Eintragen(Punkt::EndeHilfe, schritt("Hilfe"));
  HauptfensterHaken::Eintragen(Punkt::EndeAbmelden, [&] {
    protokoll << "Abmelden " + Main::Instanz()->statusText();
  });
  HauptfensterHaken::Eintragen(Punkt::EndeStatistik, schritt("Statistik"));
  HauptfensterHaken::Eintragen(Punkt::EndeProgramm, schritt("Programm"));  // added first, runs last
  HauptfensterHaken::Eintragen(Punkt::EndeEntladen, schritt("Entladen"));
  starten();
  tippen("fertig");
  QWidget anderes;
  anderes.show();
  main->PulEnde_Click();
  main->PulEnde_Click();  // a second way out at the same time changes nothing
  main->beenden(true);
  EXPECT_EQ(protokoll, QStringList({"Export (Notiz fertig, Fenster 0)", "Hilfe (Notiz fertig, Fenster 0)",
                                    "Abmelden Beenden... Benutzer abmelden...",
                                    "Statistik (Notiz fertig, Fenster 0)",
                                    "Entladen (Notiz fertig, Fenster 0)",
                                    "Programm (Notiz fertig, Fenster 0)"}));
  EXPECT_FALSE(anderes.isVisible());
  EXPECT_FALSE(main->Zeit.isActive());
  EXPECT_FALSE(main->zeitBelegung.isActive());
}

// After ending at once nothing is written: not by the timers, the exit, signals or the session.
TEST_F(MainTest, SofortBeendenSchreibtNichtsMehr) {
  int schritte = 0;
  HauptfensterHaken::Eintragen(Punkt::EndeStatistik, [&] { ++schritte; });
  starten();
  tippen("ungesichert");
  auto stand = [this] {
    QStringList s;
    for (const QString& ordner : {datOrdner, subOrdner})
      for (const QFileInfo& i : QDir(ordner).entryInfoList(QDir::Files | QDir::Hidden))
        s << i.fileName() + "|" + QString::fromLatin1(DateiLesen(i.filePath()).toHex());
    return s;
  };
  const QStringList vorher = stand();
  Signale::Installieren();
  main->sofortBeenden();
  EXPECT_TRUE(main->endet());
  EXPECT_FALSE(main->Zeit.isActive() || main->ZeitInfo.isActive());
  main->Zeit_Timer();
  main->ZeitInfo_Timer();
  main->beenden(true);
  main->close();
  QMetaObject::invokeMethod(qApp, "aboutToQuit");
  // The signal has been handled once the log says so (the log lies outside the folders compared).
  Z_Alles::DebugDatei = wurzel + "/Debug.txt";
  Z_Alles::DebugModus = 1;
  ::raise(SIGTERM);
  EXPECT_TRUE(QTest::qWaitFor([this] { return DateiLesen(wurzel + "/Debug.txt").contains("Signal zum Beenden"); }, 10000));
  Signale::Entfernen();
  EXPECT_EQ(stand(), vorher);
  EXPECT_EQ(schritte, 0);
}

TEST_F(MainTest, NurLesenSchreibtNichts) {
  HauptfensterHaken::Eintragen(Punkt::StartReadonlytest, [] { Z_Alles::NurLesen = true; });
  DateiSchreiben(dat("Skribon.t01"), "bleibt");
  starten();
  SkribonDiv::NotizGeändert = true;
  main->Zeit_Timer();
  ASSERT_TRUE(main->NotizWechseln(2));
  main->PulEnde_Click();
  EXPECT_EQ(DateiLesen(dat("Skribon.t01")), "bleibt");
  EXPECT_FALSE(QFile::exists(dat("Skribon.inf")));
  EXPECT_EQ(dormik("MainForm_Weite"), "?");
}

TEST_F(MainTest, SigtermSichertDieNotiz) {
  for (int signal : {SIGTERM, SIGHUP, SIGINT}) {
    QFile::remove(dat("Skribon.t01"));
    starten();
    Signale::Installieren();
    tippen(QString("Signal %1").arg(signal));
    ::raise(signal);
    for (int i = 0; i < 100 && !main->endet(); ++i) QTest::qWait(10);
    Signale::Entfernen();
    EXPECT_TRUE(main->endet()) << signal;
    EXPECT_EQ(DateiLesen(dat("Skribon.t01")), QString("Signal %1").arg(signal).toUtf8());
    main.reset();
  }
}

// Runs only as a child of the test below: the main window on its event loop with real boxes,
// brought into the state SKRIBON_KIND_FALL names. Each box is reported on stdout as it opens.
TEST_F(MainTest, KindprozessWartetAufSignal) {
  const QString ziel = qEnvironmentVariable("SKRIBON_KIND_SIGNAL");
  if (ziel.isEmpty()) GTEST_SKIP() << "nur als Kindprozess";
  const QByteArray fall = qgetenv("SKRIBON_KIND_FALL");
  Z_Alles::ordnerDat = ziel;
  // Emergency copies where the test finds them, beside the data folder.
  qputenv("XDG_DATA_HOME", (ziel + ".notfall").toUtf8());
  // The exit steps of the program's services: unloading the windows ends the event loop.
  Programmdienste::Registrieren();
  if (fall == "zweiFassungen") DateiSchreiben(ziel + "/Skribon.t01", "gemeinsam");
  if (fall == "ordner") {
    Plattform::ProfilSchreiben(subOrdner + "/Dormik.ini", "Verknüpfung", "PrgTxtEdit", "/gibt/es/nicht");
    shell.ergebnis = false;
  }
  if (fall == "nachricht") {
    const QString nw = ziel + "/NetWatch.ini";
    Plattform::ProfilSchreiben(nw, "Allgemein", "Benachrichtigen", "1");
    Plattform::ProfilSchreiben(nw, "Nachricht", "User", system.login);
    Plattform::ProfilSchreiben(nw, "Nachricht", "Date", "15.01.2026 10:30:00");
    Plattform::ProfilSchreiben(nw, "Nachricht", "Text", "Bitte Skribon schließen");
  }
  if (fall == "notizblock") {  // the other notepad's note 3 cannot be read: a box waits, half open
    Plattform::ProfilSchreiben(ziel + "/Anderer.inf", "Allgemein", "NotizNr", "3");
    QDir().mkpath(ziel + "/Anderer.t03");
  }
  if (fall == "drucken") {  // the user on note 32 when the print walks through the notes
    Notizdruck::Registrieren();
    Plattform::ProfilSchreiben(ziel + "/Skribon.inf", "Allgemein", "NotizNr", "32");
    DateiSchreiben(ziel + "/Skribon.t01", "Druck");
  }
  if (fall == "schrittFragt")
    HauptfensterHaken::Eintragen(Punkt::EndeStatistik, [ziel] {
      DateiSchreiben(ziel + "/antwort", QByteArray::number(Plattform::MsgBox("Noch etwas?", Plattform::vbYesNo)));
    });
  starten();
  Signale::Installieren();
  tippen("vom Kind");
  ASSERT_TRUE(dialoge.gezeigt.isEmpty()) << dialoge.gezeigt[0].text.toStdString();
  // Owned as in the program: the window deletes itself once closed.
  main->setAttribute(Qt::WA_DeleteOnClose);
  Main* fenster = main.release();
  // Real boxes from here on: each runs an event loop of its own.
  Plattform::SetzeDialogDienst(nullptr);
  QPointer<QWidget> gemeldet;
  bool geklickt = false;
  QTimer melder;
  QObject::connect(&melder, &QTimer::timeout, [&] {
    QWidget* w = QApplication::activeModalWidget();
    if (!w) return;
    QString text = w->windowTitle();
    for (QLabel* l : w->findChildren<QLabel*>()) text += " " + l->text();
    if (w != gemeldet) {
      gemeldet = w;
      std::printf("meldung: %s\n", qPrintable(text.simplified()));
      std::fflush(stdout);
    }
    // Clicked from the event loop, so that this timer sees the boxes the click opens.
    auto klicken = [w, &geklickt](const QString& knopf) {
      geklickt = true;
      for (QAbstractButton* b : w->findChildren<QAbstractButton*>())
        if (b->text().remove('&') == knopf || b->objectName() == knopf)
          QTimer::singleShot(0, b, &QAbstractButton::click);
    };
    if (auto* drucken = qobject_cast<PrinterSet*>(w)) drucken->TimerAutoPrint->stop();  // the walk waits
    if (geklickt) return;
    if (fall == "kopie" && text.contains("Trotzdem beenden?")) klicken("Ja");
    // The folders window, once it has read its folders: "Einstellungs-Datei anzeigen...".
    QLabel* einstellungen = w->findChild<QLabel*>("bezDo0");
    if (fall == "ordner" && einstellungen && !einstellungen->text().isEmpty()) klicken("befDo0");
  });
  melder.start(20);
  QTimer::singleShot(0, [&] {
    if (fall == "frage" || fall == "kopie") {
      QDir(ziel).removeRecursively();
      DateiSchreiben(ziel, "kein Ordner");
    }
    // The data folder stays (the remote close's flag goes there), but the note cannot be written.
    if (fall == "frageImOrdner") {
      QFile::remove(ziel + "/Skribon.t01");
      QDir().mkpath(ziel + "/Skribon.t01/belegt");
    }
    if (fall == "zweiFassungen") {
      NotizSpeicher anderer;
      NotizSpeicher::Notiz n;
      anderer.oeffnen("Skribon", 50);
      anderer.laden(1, &n);
      anderer.textSichern(1, "deins");
    }
    if (fall == "frage" || fall == "frageImOrdner" || fall == "kopie" || fall == "zweiFassungen")
      fenster->mnuBeenden->trigger();
    if (fall == "ordner") Hilfsfenster::mnuDatenOrdner_Click();
    if (fall == "notizblock") fenster->NotizblockOeffnen("Anderer");
    if (fall == "drucken") Notizdruck::mnuNBDrucken_Click();
  });
  std::fputs("bereit\n", stdout);
  std::fflush(stdout);
  QApplication::exec();
  Signale::Entfernen();
}

// A signal, or the remote close, whatever box or window is open: the program ends within seconds,
// with the text in its file or in one emergency copy, and boxes asked on the way do not wait.
TEST_F(MainTest, SignalWaehrendJederMeldungEndetMitGesichertemText) {
  struct Fall {
    const char* name;
    const char* fall;
    int signal;           // 0: the remote-close flag instead
    const char* meldung;  // the box open when it comes, or nullptr
    const char* notiz;    // Skribon.t01 afterwards, or nullptr: one emergency copy holds the text
    const char* notizNr = nullptr;  // "<notepad>=<n>": the note number stored in its index
  };
  const Fall faelle[] = {
      {"keine Meldung, SIGTERM", "ruhe", SIGTERM, nullptr, "vom Kind"},
      {"keine Meldung, SIGHUP", "ruhe", SIGHUP, nullptr, "vom Kind"},
      {"Frage beim Beenden", "frage", SIGTERM, "Trotzdem beenden?", nullptr},
      {"Meldung der Notfallkopie", "kopie", SIGINT, "liegt in der Notfallkopie", nullptr},
      {"zwei Fassungen beim Beenden", "zweiFassungen", SIGTERM, "anderen Programm", "vom Kindgemeinsam"},
      {"Fehler über dem Ordner-Fenster", "ordner", SIGHUP, "Fehler beim Programmstart", "vom Kind"},
      {"Nachricht, dann Fernschließen", "nachricht", 0, "Bitte Skribon schließen", "vom Kind"},
      {"Fernschließen bei der Frage beim Beenden", "frageImOrdner", 0, "Trotzdem beenden?", nullptr},
      {"Fernschließen bei zwei Fassungen beim Beenden", "zweiFassungen", 0, "anderen Programm", "vom Kindgemeinsam"},
      {"Rückfrage in einem Schritt des Endes", "schrittFragt", SIGTERM, nullptr, "vom Kind"},
      {"Notizblock halb geöffnet", "notizblock", SIGTERM, "kann nicht geöffnet werden", "vom Kind", "Anderer=3"},
      {"Notizblock drucken", "drucken", SIGTERM, "Drucken - ", "Druck", "Skribon=32"},
  };
  for (const Fall& f : faelle) {
    SCOPED_TRACE(f.name);
    const QString ziel = wurzel + "/" + f.fall + QString::number(f.signal);
    QDir().mkpath(ziel);
    QProcess kind;
    QProcessEnvironment env = kindUmgebung();
    env.insert("SKRIBON_KIND_SIGNAL", ziel);
    env.insert("SKRIBON_KIND_FALL", f.fall);
    kind.setProcessEnvironment(env);
    kind.start(QCoreApplication::applicationFilePath(), {"--gtest_filter=MainTest.KindprozessWartetAufSignal"});
    ASSERT_TRUE(kind.waitForStarted(10000));
    QByteArray ausgabe;
    auto gesehen = [&] {
      return ausgabe.contains("bereit") &&
             (!f.meldung || QString::fromUtf8(ausgabe).contains(QString::fromUtf8(f.meldung)));
    };
    for (QDeadlineTimer frist(20000); !gesehen() && !frist.hasExpired() && kind.state() == QProcess::Running;) {
      kind.waitForReadyRead(100);
      ausgabe += kind.readAllStandardOutput();
    }
    if (!gesehen()) {
      ADD_FAILURE() << "Zustand nicht erreicht: " << ausgabe.constData();
      continue;  // the process is killed with its QProcess
    }
    if (f.signal) ::kill(pid_t(kind.processId()), f.signal);
    else DateiSchreiben(ziel + "/Skribon_RmtClose$DoIt.flg", {});
    if (!kind.waitForFinished(10000)) {
      ADD_FAILURE() << "läuft 10 s danach noch: " << ausgabe.constData();
      continue;
    }
    EXPECT_EQ(kind.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(kind.exitCode(), 0) << (ausgabe + kind.readAll()).constData();
    QStringList kopien;
    for (QDirIterator it(ziel + ".notfall", {"*-Notfall-*"}, QDir::Files, QDirIterator::Subdirectories); it.hasNext();)
      kopien << it.next();
    if (f.notiz) {
      EXPECT_EQ(DateiLesen(ziel + "/Skribon.t01"), f.notiz);
      EXPECT_TRUE(kopien.isEmpty()) << kopien.join(", ").toStdString();
    } else {
      EXPECT_EQ(kopien.size(), 1) << kopien.join(", ").toStdString();
      for (const QString& k : kopien) EXPECT_EQ(DateiLesen(k), "vom Kind");
    }
    if (QByteArray(f.fall) == "zweiFassungen") {
      EXPECT_EQ(QDir(ziel).entryList({"*andere Fassung*"}).size(), 1);
    }
    if (QByteArray(f.fall) == "schrittFragt") {
      EXPECT_EQ(DateiLesen(ziel + "/antwort"), "7");  // "Nein", and nobody was asked
    }
    if (f.notizNr) {
      const QStringList nr = QString(f.notizNr).split('=');
      EXPECT_EQ(Plattform::ProfilLesen(ziel + "/" + nr[0] + ".inf", "Allgemein", "NotizNr", "?"), nr[1]);
    }
  }
}
