// The version window with a recording HTTP service: the verdicts and the failed checks, the
// history with its entry jumps, the three buttons, the install flow up to a real run of the
// update job against a stand-in setup, and the main window's command.
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QMap>
#include <QProcess>
#include <QPushButton>
#include <QThread>
#include <QTimer>
#include <QtTest/QTest>
#include <functional>
#include <memory>

#include <QLabel>
#include <QPlainTextEdit>

#include "foundation/z_alles.h"
#include "notepad/skribondiv.h"
#include "platform/hersteller.h"
#include "platform/http.h"
#include "platform/job.h"
#include "platform/system.h"
#include "platform/textdatei.h"
#include "support/fixture.h"
#include "windows/versionspruefung.h"

namespace {

// Answers by address; an address it does not know fails like a missing connection.
class TestHttp : public Plattform::HttpDienst {
public:
  Plattform::HttpErgebnis holen(const Plattform::HttpAnfrage& a) override {
    anfragen << a;
    Plattform::HttpErgebnis e;
    if (!seiten.contains(a.adresse)) {
      e.fehler = "Keine Verbindung";
      return e;
    }
    if (seiten[a.adresse].size() > a.hoechstens) {
      e.fehler = "zu groß";
      return e;
    }
    e.ok = true;
    e.status = 200;
    e.laenge = seiten[a.adresse].size();
    if (a.datei.isEmpty()) e.daten = seiten[a.adresse];
    else EXPECT_TRUE(Plattform::BytesSchreibenAtomar(a.datei, seiten[a.adresse]));
    return e;
  }
  QMap<QString, QByteArray> seiten;
  QVector<Plattform::HttpAnfrage> anfragen;
};

const QString kLade = "Lade Versions-Hinweise...";

class VersionsPruefungTest : public Testhilfe::SkribonTest {
protected:
  void SetUp() override {
    SkribonTest::SetUp();
    Plattform::SetzeHttpDienst(&http);
    Hauptfenster::SetzeInstanz(&haupt);
  }
  void TearDown() override {
    VersionsPrüfung::Entladen();
    Hauptfenster::SetzeInstanz(nullptr);
    SkribonTest::TearDown();
  }
  // A window that has run its check against this version file.
  std::unique_ptr<VersionsPrüfung> pruefen(const QByteArray& datei) {
    http.seiten[server + "/versions_info.txt"] = datei;
    auto f = std::make_unique<VersionsPrüfung>();
    f->Form_Load();
    f->TimerInit_Timer();
    return f;
  }
  QByteArray versionsDatei(const QString& online, const QString& extra = {}) {
    return ("[Version]\r\nSkribon=" + online + "\r\n" + extra).toUtf8();
  }

  TestHttp http;
  Testhilfe::TestHauptfenster haupt;
  const QString server = "https://" + Plattform::HerstellerServer();
};

TEST_F(VersionsPruefungTest, UrteileUndFehlgeschlagenePruefungFensterUndKnoepfe) {
  auto f = std::make_unique<VersionsPrüfung>();
  f->Form_Load();
  EXPECT_EQ(f->windowTitle(), "Dormiks-Skribon im Internet / Updates");
  EXPECT_TRUE(f->TimerInit->isActive());
  EXPECT_TRUE(f->TimerInit->isSingleShot());
  EXPECT_EQ(f->TimerInit->interval(), 333);
  EXPECT_EQ(f->befOk[0]->text(), "Online-&Infos zur neuesten Version");
  EXPECT_EQ(f->befOk[1]->text(), "In&stallation der neuesten Version");
  EXPECT_EQ(f->befOk[2]->toolTip(), "Anzeige der Homepage");
  EXPECT_EQ(f->befAbbrechen->text(), "&Zurück");
  // Without a version file the page buttons still open the defaults.
  f->befOk_Click(0);
  f->befOk_Click(2);
  EXPECT_EQ(shell.geoeffnet, QStringList({server.toLower() + "/skribon.htm", server + "/index.htm"}));
  // Without a browser both say so, as a link that cannot open does.
  shell.ergebnis = false;
  for (int knopf : {0, 2}) {
    dialoge.antwort(Plattform::vbOK);
    f->befOk_Click(knopf);
    ASSERT_FALSE(dialoge.gezeigt.isEmpty());
    EXPECT_TRUE(dialoge.gezeigt.last().text.startsWith("Kann nicht geöffnet werden:"));
    EXPECT_TRUE(dialoge.gezeigt.last().text.contains(shell.geoeffnet.last())) << dialoge.gezeigt.last().text.toStdString();
  }
  EXPECT_TRUE(dialoge.alleBeantwortet());
  shell.ergebnis = true;

  // Installed 2026.12.0001.
  struct Fall {
    QString online, minimum, urteil;
    QColor farbe;
  };
  const QColor gruen(192, 255, 192), gelb(255, 255, 192), rot(255, 192, 192);
  const Fall faelle[] = {
      {"2026.12.0001", {}, "Die installierte Version ist aktuell.", gruen},
      {"2025.01.0007", {}, "Die installierte Version ist aktuell.", gruen},
      {"2027.01.0001", {}, "Eine neue Version kann installiert werden.", gelb},
      {"2027.12.0001", {}, "Eine neue Version kann installiert werden.", gelb},
      {"2027.12.0002", {}, "Eine neue Version sollte installiert werden.", rot},
      {"2026.12.0001", "2027.01.0000", "Eine neue Version sollte installiert werden!", rot},
      {"2026.12.0001", "1989.12.0000", "Die installierte Version ist aktuell.", gruen},
  };
  for (const Fall& c : faelle) {
    SCOPED_TRACE((c.online + " " + c.minimum).toStdString());
    auto w = pruefen(versionsDatei(c.online, c.minimum.isEmpty() ? "" : "[VersionMin]\r\nSkribon=" + c.minimum));
    EXPECT_EQ(w->txtInfo1->toPlainText(), "Dormiks-Skribon Version 2026.12.0001 ist aktuell installiert\n"
                                          "Dormiks-Skribon Version " + c.online + " ist online verfügbar\n\nTipp: " +
                                              c.urteil + "\n");
    EXPECT_EQ(w->txtInfo1->palette().color(QPalette::Base), c.farbe);
    EXPECT_TRUE(w->befOk[1]->isEnabled());
    EXPECT_EQ(w->befOk[1]->toolTip(), "Laden und installieren der neuesten Version von der Homepage (-1 B)");
    EXPECT_EQ(w->bezFile->text(), tmpOrdner + "/$$$DP_Vers.txt");
    EXPECT_TRUE(DateiLesen(w->bezFile->text()).endsWith("\r\n"));
  }
  EXPECT_EQ(http.anfragen.last().adresse, server + "/versions_info.txt");

  // Nothing, an error page, another program's file, a version that is no number, no answer:
  // never "aktuell", and no installation.
  for (const QByteArray& datei : {QByteArray(), QByteArray("<html><body>Anmeldung</body></html>"),
                                  QByteArray("[Version]\r\nAnderes=2030.01.0001\r\n"), versionsDatei("garbage"),
                                  QByteArray(300 * 1024, '['), QByteArray("nicht abrufbar")}) {
    SCOPED_TRACE(datei.left(40).toStdString());
    if (datei == "nicht abrufbar") http.seiten.clear();
    auto f = std::make_unique<VersionsPrüfung>();
    if (datei != "nicht abrufbar") http.seiten[server + "/versions_info.txt"] = datei;
    f->Form_Load();
    f->TimerInit_Timer();
    EXPECT_EQ(f->txtInfo1->toPlainText(), kLade + "\n\nEs sind leider keine Versions-Hinweise verfügbar.\n"
                                                  "Evtl. kann keine Internetverbindung hergestellt werden.\n");
    EXPECT_FALSE(f->befOk[1]->isEnabled());
    EXPECT_EQ(f->txtInfo2->toPlainText(), kLade);
  }
}

TEST_F(VersionsPruefungTest, HistorieSpruengeUndSeiten) {
  const QByteArray seite =
      "<h1>Historie</h1>\n<p>Welche Version incl. der Build-Nr. zur Verf&uuml;gung steht finden Sie in</p>\n"
      "<p>dieser</p>\n<p>&Uuml;bersicht.</p>\n<p>START</p>\n<p>@</p>\n<p>Version 2026.12.0001</p>\n"
      "<p>Neu: A &amp; B </p>\n\n\n<p>@</p>\n<p> Version 2026.11.0005</p>\n<p>Fix</p>\n";
  http.seiten["https://h/historie.htm"] = seite;
  auto f = pruefen(versionsDatei("2026.12.0001",
                                 "[SetupSize]\r\nSkribon=1048576\r\n[URL]\r\nSkriboninf=https://h/historie.htm\r\n"
                                 "Home=https://H/Start.htm\r\n[Marker]\r\nStartVrsTxt=START\r\n"));
  const QString erwartet =
      "Die folgende Übersicht zeigt die chronologischen Änderungen des Programms:\n\n"
      "@ Version 2026.12.0001\nNeu: A & B\n\n@ Version 2026.11.0005\nFix";
  EXPECT_EQ(f->txtInfo2->toPlainText(), erwartet);
  EXPECT_EQ(f->befOk[1]->toolTip(), "Laden und installieren der neuesten Version von der Homepage (1 MB)");

  // Right from the top to just after each "@", Left back; other keys move as usual.
  const int erstes = int(erwartet.indexOf('@')) + 1, zweites = int(erwartet.lastIndexOf('@')) + 1;
  auto taste = [&](Qt::Key k) {
    QTest::keyClick(f->txtInfo2, k);
    return f->txtInfo2->textCursor().position();
  };
  EXPECT_EQ(taste(Qt::Key_Right), erstes);
  EXPECT_EQ(taste(Qt::Key_Right), zweites);
  EXPECT_EQ(taste(Qt::Key_Right), zweites);
  EXPECT_EQ(taste(Qt::Key_Left), erstes);
  EXPECT_EQ(taste(Qt::Key_Left), erstes);
  EXPECT_GT(taste(Qt::Key_Down), erstes);

  // Without the marker the whole page; an empty page says so.
  using Versionsabgleich::HistorieAlsText;
  EXPECT_EQ(HistorieAlsText("<b>x</b>\n@\nv1 <i", "FEHLT"), "x\n\n@ v1 <i");
  EXPECT_EQ(HistorieAlsText("<html>\n\n</html>", ""), "Keine Was-Ist-Neu Daten gefunden!");

  // The page buttons: the history address in lower case, the home page as it stands; a page
  // address that is no web address is not opened.
  f->befOk_Click(0);
  f->befOk_Click(2);
  EXPECT_EQ(shell.geoeffnet, QStringList({"https://h/historie.htm", "https://H/Start.htm"}));
  auto g = pruefen(versionsDatei("2026.12.0001", "[URL]\r\nHome=file:///etc/passwd\r\nSkriboninf=/usr/bin/xterm\r\n"));
  shell.geoeffnet.clear();
  g->befOk_Click(0);
  g->befOk_Click(2);
  EXPECT_EQ(shell.geoeffnet, QStringList({server.toLower() + "/skribon.htm", server + "/index.htm"}));
}

TEST_F(VersionsPruefungTest, InstallationBisZumEchtenJob) {
  // Setup and job in a folder of this user's that no one else may enter, not in the data folder.
  const QString privat = home + "/.cache/Dormiks-Programme/Update";
  const QString setup = privat + "/x-Setup_Skribon", jobPfad = privat + "/x-Setup_Job.bat";
  // Arguments the program was started with come back at the restart.
  SkribonDiv::Befehlszeile = {"/OrdnerDat=/srv/a b/'x'", "Datei=Notiz $HOME"};
  // A stand-in setup: notes its arguments; padded past the smallest accepted size.
  QByteArray programm = "#!/bin/sh\nprintf '%s\\n' \"$@\" > \"" + wurzel.toUtf8() + "/setup-lief\"\n";
  programm += "#" + QByteArray(120000 - programm.size() - 2, 'x') + "\n";
  ASSERT_EQ(programm.size(), 120000);
  const QString groesse = QString::number(programm.size());
  auto datei = [&](const QString& adresse, const QString& size) {
    return versionsDatei("2027.01.0001", "[URL]\r\nSkribondl=" + adresse + "\r\n[SetupSize]\r\nSkribon=" + size + "\r\n");
  };
  const QString fehlText = "\nDie neueste Version wurde leider nicht geladen.\n\n"
                           "Evtl. kann keine Internetverbindung hergestellt werden.\n";
  http.seiten["https://h/setup"] = programm;
  http.seiten["https://h/klein"] = QByteArray(99999, 'x');

  // No to the first question: nothing fetched.
  auto f = pruefen(datei("https://h/setup", groesse));
  const int vorher = int(http.anfragen.size());
  dialoge.antwort(Plattform::vbNo);
  f->befOk_Click(1);
  EXPECT_EQ(dialoge.gezeigt.last().titel, "Installation jetzt fortsetzen?");
  EXPECT_EQ(http.anfragen.size(), vorher);

  // Refused addresses, a wrong size, too small, cancel at the second question: no setup left.
  // Without an announced size the download may not exceed 256 MB.
  struct Fall {
    QString adresse, size;
    bool geladen;
    qint64 hoechstens = 0;
  };
  const Fall faelle[] = {{"file:///etc/passwd", "-1", false},
                         {"data:,x", "-1", false},
                         {"https://h/setup", "120001", false, 120001},
                         {"https://h/klein", "-1", false, qint64(256) << 20},
                         {"https://h/fehlt", "-1", false, qint64(256) << 20},
                         {"https://h/setup", "-1", true, qint64(256) << 20},
                         {"http://h/setup", groesse, true, 120000}};
  for (const Fall& c : faelle) {
    SCOPED_TRACE(c.adresse.toStdString());
    auto w = pruefen(datei(c.adresse, c.size));
    http.anfragen.clear();
    dialoge.antwort(Plattform::vbYes);
    if (c.geladen) dialoge.antwort(Plattform::vbCancel);
    w->befOk_Click(1);
    EXPECT_TRUE(w->befOk[1]->isEnabled());
    const QString ende = c.geladen ? QString("Laden der neuesten Version ist abgeschlossen...\n") : fehlText;
    EXPECT_EQ(w->txtInfo2->toPlainText(),
              "Die aktuelle Version wird geladen; der Vorgang kann einige Minuten dauern...\n\n" + ende);
    EXPECT_FALSE(QFile::exists(setup));
    if (c.adresse.startsWith("http")) {
      ASSERT_EQ(http.anfragen.size(), 1);
      EXPECT_TRUE(http.anfragen[0].adresse.startsWith("https://"));
      EXPECT_TRUE(http.anfragen[0].nurHttps);
      EXPECT_EQ(http.anfragen[0].hoechstens, c.hoechstens);
      EXPECT_EQ(http.anfragen[0].datei, setup);
    } else {
      EXPECT_TRUE(http.anfragen.isEmpty());
    }
  }
  EXPECT_EQ(Z_Alles::IniLesen({}, {}, "Stat_UpdIni", "?"), "7");
  EXPECT_EQ(QFileInfo(privat).permissions() & 0x7777, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                                           QFile::ReadUser | QFile::WriteUser | QFile::ExeUser);
  EXPECT_FALSE(Z_Alles::UpdateGestartet);

  // The job cannot be written, then the shell cannot start it: told, the program keeps running.
  for (int fall = 0; fall < 2; ++fall) {
    auto w = pruefen(datei("https://h/setup", groesse));
    if (fall == 0) DateiSchreiben(jobPfad + "/besetzt", "x");
    shell.ergebnis = fall == 0;
    dialoge.antwort(Plattform::vbYes);
    dialoge.antwort(Plattform::vbOK);
    dialoge.antwort(Plattform::vbOK);
    w->befOk_Click(1);
    EXPECT_TRUE(dialoge.gezeigt.last().text.startsWith("Die Installation konnte nicht gestartet werden."));
    EXPECT_FALSE(Z_Alles::UpdateGestartet);
    EXPECT_FALSE(QFile::exists(setup));
    QFile::remove(jobPfad + "/besetzt");
    QDir().rmdir(jobPfad);
  }
  shell.ergebnis = true;
  shell.gestartet.clear();

  // Success: the job is started hidden, the window closes, the update is flagged.
  auto w = pruefen(datei("https://h/setup", groesse));
  w->show();
  dialoge.antwort(Plattform::vbYes);
  dialoge.antwort(Plattform::vbOK);
  w->befOk_Click(1);
  EXPECT_EQ(dialoge.gezeigt.last().titel, "Installation der neuesten Version");
  EXPECT_EQ(dialoge.gezeigt.last().text,
            "Die Skribon-Daten werden jetzt gesichert,\r\ndas Programm beendet\r\nund die neueste Version installiert.");
  EXPECT_TRUE(Z_Alles::UpdateGestartet);
  EXPECT_FALSE(w->isVisible());
  ASSERT_EQ(shell.gestartet.size(), 1);
  EXPECT_EQ(shell.gestartet[0].programm, "/bin/sh");
  EXPECT_EQ(shell.gestartet[0].argumente, QStringList({jobPfad}));
  EXPECT_EQ(shell.gestartet[0].ordner, privat);
  EXPECT_TRUE(QFileInfo(setup).isExecutable());
  EXPECT_EQ(Z_Alles::IniLesen({}, {}, "Stat_UpdRun", "?"), "1");

  // Run the job: the setup gets its switches, the program is started again, all cleaned up.
  DateiSchreiben(prgOrdner + "/" + Plattform::ProgrammName(),
                 "#!/bin/sh\nprintf '%s\\n' \"$PWD\" \"$@\" > \"" + wurzel.toUtf8() + "/neu gestartet\"\n");
  QFile::setPermissions(prgOrdner + "/" + Plattform::ProgrammName(),
                        QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  QProcess p;
  p.start("/bin/sh", {jobPfad});
  ASSERT_TRUE(p.waitForFinished(60000));
  EXPECT_EQ(DateiLesen(wurzel + "/setup-lief"), "/SILENT\n/DIR=" + prgOrdner.toUtf8() + "\n");
  for (int i = 0; i < 200 && !QFile::exists(wurzel + "/neu gestartet"); ++i) QThread::msleep(50);
  EXPECT_EQ(DateiLesen(wurzel + "/neu gestartet"),
            prgOrdner.toUtf8() + "\n/OrdnerDat=/srv/a b/'x'\nDatei=Notiz $HOME\n");
  EXPECT_FALSE(QFile::exists(setup));
  EXPECT_FALSE(QFile::exists(jobPfad));
  EXPECT_TRUE(dialoge.alleBeantwortet());
}

// Runs schritt once the modal window is shown.
void imFenster(std::function<void(VersionsPrüfung*)> schritt) {
  QTimer::singleShot(10, [schritt] {
    VersionsPrüfung* v = VersionsPrüfung::Instanz();
    if (v && v->isVisible()) schritt(v);
    else imFenster(schritt);
  });
}

TEST_F(VersionsPruefungTest, BefehleDesHauptfensters) {
  VersionsPrüfung::Registrieren();
  ASSERT_TRUE(haupt.befehl("mnuHlpWeb"));
  EXPECT_EQ(haupt.befehl("mnuHlpWeb")->menue, "&Hilfe");

  // A start removes what a download cut off by a kill left, not while another copy downloads.
  const QString privat = home + "/.cache/Dormiks-Programme/Update/";
  for (const char* datei : {"x-Setup_Skribon.aBcDeF", "x-Setup_Skribon", "x-Setup_Job.bat"}) DateiSchreiben(privat + datei, "x");
  QLockFile anderer(privat + "x-Setup_Laden.lck");
  ASSERT_TRUE(anderer.tryLock(0));
  HauptfensterHaken::Ausfuehren(HauptfensterHaken::Punkt::StartReadonlytest);
  EXPECT_EQ(QDir(privat).entryList(QDir::Files).size(), 4);
  anderer.unlock();
  HauptfensterHaken::Ausfuehren(HauptfensterHaken::Punkt::StartReadonlytest);
  EXPECT_EQ(QDir(privat).entryList(QDir::Files), QStringList({"x-Setup_Job.bat", "x-Setup_Skribon"}));

  // Closed by its frame: like "Zurück"; no update, no exit.
  http.seiten[server + "/versions_info.txt"] = versionsDatei("2026.12.0001");
  imFenster([](VersionsPrüfung* v) { v->close(); });
  haupt.befehl("mnuHlpWeb")->aktion();
  EXPECT_EQ(VersionsPrüfung::Instanz(), nullptr);
  EXPECT_EQ(haupt.beendet, 0);

  // After a started update the command runs the orderly exit.
  imFenster([](VersionsPrüfung* v) {
    Z_Alles::UpdateGestartet = true;
    v->befAbbrechen_Click();
  });
  haupt.befehl("mnuHlpWeb")->aktion();
  EXPECT_EQ(haupt.beendet, 1);
}

}  // namespace
