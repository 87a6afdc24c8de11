// The multi-user file and remote close: messages for this user, the release at exit, the flag
// files, the timer's exit request, bad files, and two processes sharing one data folder.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <functional>
#include <iostream>

#include <fcntl.h>
#include <sys/stat.h>

#include "foundation/hauptfenster.h"
#include "foundation/z_alles.h"
#include "platform/ordnerindex.h"
#include "services/netwatch.h"
#include "dienste_test.h"

namespace {

class NetWatchTest : public Testhilfe::DiensteTest {
protected:
  void SetUp() override {
    DiensteTest::SetUp();
    setzen("Allgemein", "User", "Erika Muster");
  }
  QString nw() const { return datOrdner + "/NetWatch.ini"; }
  void nachricht(const QString& benachrichtigen, const QString& user, const QString& datum,
                 const QString& text) {
    QFile::remove(nw());
    Plattform::ProfilCacheLeeren();
    auto w = [&](const QString& a, const QString& s, const QString& v) {
      if (v != "<fehlt>") {
        ASSERT_TRUE(Plattform::ProfilSchreiben(nw(), a, s, v));
      }
    };
    w("Allgemein", "Benachrichtigen", benachrichtigen);
    w("Nachricht", "User", user);
    w("Nachricht", "Date", datum);
    w("Nachricht", "Text", text);
  }
  QString nwLesen(const QString& a, const QString& s) const {
    return Plattform::ProfilLesen(nw(), a, s, "<fehlt>");
  }
};

TEST_F(NetWatchTest, Nachrichten) {
  struct Fall {
    const char* name;
    QString benachrichtigen, user, datum, text;
    bool nurLesen;
    QString gezeigt;  // "" = no box, message stays
  };
  const Fall faelle[] = {
      {"gezeigt", "1", "Erika Muster", "15.01.2026 09:00:00", "Bitte Datei schließen", false, "Bitte Datei schließen"},
      {"-1 schaltet ein, Groß/klein egal", "-1", "erika MUSTER", "15.01.2026 11:00:00", "Hallo", false, "Hallo"},
      {"genau fünf Stunden", "1", "Erika Muster", "15.01.2026 05:30:00", "alt", false, "alt"},
      {"ohne Datum: jetzt", "1", "Erika Muster", "<fehlt>", "neu", false, "neu"},
      {"ohne Text: das Datum", "1", "Erika Muster", "15.01.2026 10:00:00", "<fehlt>", false, "15.01.2026 10:00:00"},
      {"aus", "0", "Erika Muster", "15.01.2026 10:00:00", "x", false, ""},
      {"ohne Zahl aus", "ja", "Erika Muster", "15.01.2026 10:00:00", "x", false, ""},
      {"anderer Benutzer", "1", "Max", "15.01.2026 10:00:00", "x", false, ""},
      {"ohne Empfänger", "1", "", "15.01.2026 10:00:00", "x", false, ""},
      {"sechs Stunden alt", "1", "Erika Muster", "15.01.2026 04:30:00", "x", false, ""},
      {"sechs Stunden voraus", "1", "Erika Muster", "15.01.2026 16:30:00", "x", false, ""},
      {"Datum Unsinn", "1", "Erika Muster", "Unsinn", "x", false, ""},
      {"nur lesen", "1", "Erika Muster", "15.01.2026 10:00:00", "x", true, ""},
  };
  for (const Fall& f : faelle) {
    SCOPED_TRACE(f.name);
    nachricht(f.benachrichtigen, f.user, f.datum, f.text);
    const QByteArray vorher = DateiLesen(nw());
    Z_Alles::NurLesen = f.nurLesen;
    dialoge.gezeigt.clear();
    if (!f.gezeigt.isEmpty()) dialoge.antwort(Plattform::vbOK);
    Z_Alles::NetzNachrichtPrüfen();
    ASSERT_EQ(dialoge.gezeigt.size(), f.gezeigt.isEmpty() ? 0 : 1);
    if (f.gezeigt.isEmpty()) {
      EXPECT_EQ(DateiLesen(nw()), vorher) << "untouched";
      continue;
    }
    const auto& box = dialoge.gezeigt[0];
    EXPECT_EQ(box.text, f.gezeigt);
    EXPECT_EQ(box.titel, "Dormiks-Skribon Datei-Reservierung");
    EXPECT_EQ(box.knoepfe, Plattform::vbInformation | Plattform::vbMsgBoxHelpButton);
    EXPECT_EQ(box.hilfeThema, 3004);
    for (const char* s : {"User", "Text", "Date"}) EXPECT_EQ(nwLesen("Nachricht", s), "") << s;
  }
}

// A box that lets something happen while it is open.
class OffeneBox : public Testhilfe::TestDialoge {
public:
  std::function<void()> waehrend;
  int msgBox(const QString& text, int knoepfe, const QString& titel, int hilfe) override {
    gezeigt.push_back({false, titel, text, knoepfe, hilfe, {}});
    if (waehrend) waehrend();
    return Plattform::vbOK;
  }
};

TEST_F(NetWatchTest, WaehrendDieBoxOffenIst) {
  OffeneBox box;
  Plattform::SetzeDialogDienst(&box);
  // The timer ticks inside the box: the message is not shown a second time.
  nachricht("1", "Erika Muster", "15.01.2026 10:00:00", "Einmal");
  box.waehrend = [] { Z_Alles::NetzNachrichtPrüfen(); };
  Z_Alles::NetzNachrichtPrüfen();
  EXPECT_EQ(box.gezeigt.size(), 1);
  EXPECT_EQ(nwLesen("Nachricht", "Text"), "");

  // Another user leaves a new message meanwhile: it stays for the next tick.
  box.gezeigt.clear();
  nachricht("1", "Erika Muster", "15.01.2026 10:00:00", "Erste");
  box.waehrend = [this] {
    ASSERT_TRUE(Plattform::ProfilSchreiben(nw(), "Nachricht", "Text", "Zweite"));
  };
  Z_Alles::NetzNachrichtPrüfen();
  EXPECT_EQ(nwLesen("Nachricht", "Text"), "Zweite");
  EXPECT_EQ(nwLesen("Nachricht", "User"), "Erika Muster");
  box.waehrend = nullptr;
  Z_Alles::NetzNachrichtPrüfen();
  ASSERT_EQ(box.gezeigt.size(), 2);
  EXPECT_EQ(box.gezeigt[1].text, "Zweite");
  Plattform::SetzeDialogDienst(&dialoge);
}

TEST_F(NetWatchTest, FreigabeBeimBeenden) {
  struct Fall { QString noNetWatch; bool nurLesen; QString user; };
  for (const Fall& f : {Fall{"<fehlt>", false, ""}, Fall{"0", false, ""}, Fall{"-1", false, "<fehlt>"},
                        Fall{"1", false, "<fehlt>"}, Fall{"<fehlt>", true, "<fehlt>"}}) {
    QFile::remove(nw());
    Plattform::ProfilCacheLeeren();
    if (f.noNetWatch != "<fehlt>") {
      ASSERT_TRUE(Plattform::ProfilSchreiben(nw(), "Allgemein", "NoNetWatch", f.noNetWatch));
    }
    Z_Alles::NurLesen = f.nurLesen;
    Z_Alles::NetWatchPruefen(0, "");
    EXPECT_EQ(nwLesen("UserJetzt_", "User"), f.user) << f.noNetWatch.toStdString() << f.nurLesen;
    if (f.nurLesen) {
      EXPECT_FALSE(QFile::exists(nw()));
    }
  }
  Z_Alles::NurLesen = false;
  // Garbage, an empty file, a folder of that name: no box, no crash, nothing thrown away.
  for (const QByteArray& inhalt : {QByteArray("\xff\xfe\0[Nachricht\n=\x01\r\r\n[[]]", 22), QByteArray()}) {
    DateiSchreiben(nw(), inhalt);
    Plattform::ProfilCacheLeeren();
    Z_Alles::NetzNachrichtPrüfen();
    EXPECT_EQ(Z_Alles::FernSchliessenPrüfen(1), 0);
  }
  QFile::remove(nw());
  ASSERT_TRUE(QDir().mkpath(nw()));
  Plattform::ProfilCacheLeeren();
  Z_Alles::NetzNachrichtPrüfen();
  Z_Alles::NetWatchPruefen(0, "");
  EXPECT_TRUE(QFileInfo(nw()).isDir());
  EXPECT_TRUE(dialoge.gezeigt.isEmpty());
}

TEST_F(NetWatchTest, FernSchliessen) {
  const QString allgemein = "Skribon_RmtClose$DoIt.flg";
  struct Fall {
    const char* name;
    QString computername;           // "" = not set: the host name "testrechner"
    QStringList flags;              // paths below the temporary root
    int gefunden;
    QStringList nachStart;          // flags left after the start's mode 0
  };
  const QString win = Z_Alles::WindowsOrdner().mid(wurzel.size());
  const Fall faelle[] = {
      {"keiner", "PC-A", {}, 0, {}},
      {"allgemein", "PC-A", {"/prg/Daten/" + allgemein}, 1, {}},
      {"klein geschrieben", "PC-A", {"/prg/skribon_rmtclose$doit.flg"}, 1, {}},
      {"dieser Rechner", "PC-A", {"/prg/Daten/Skribon_PC-A_RmtClose$DoIt.flg"}, 1, {}},
      {"anderer Rechner", "PC-B", {"/prg/Daten/Skribon_PC-A_RmtClose$DoIt.flg"}, 0,
       {"/prg/Daten/Skribon_PC-A_RmtClose$DoIt.flg"}},
      {"Rechnername statt COMPUTERNAME", "", {"/prg/Daten/Skribon_testrechner_RmtClose$DoIt.flg"}, 1, {}},
      {"Schrägstrich im Namen", "a/b", {"/prg/Daten/Skribon_a_b_RmtClose$DoIt.flg"}, 1, {}},
      {"beide: der allgemeine zuerst", "PC-A",
       {"/prg/Daten/" + allgemein, "/prg/Daten/Skribon_PC-A_RmtClose$DoIt.flg"}, 1,
       {"/prg/Daten/Skribon_PC-A_RmtClose$DoIt.flg"}},
      {"im Windows-Ordner", "PC-A", {win + "/" + allgemein}, 1, {}},
  };
  for (const Fall& f : faelle) {
    SCOPED_TRACE(f.name);
    system.env.remove("COMPUTERNAME");
    if (!f.computername.isEmpty()) system.env["COMPUTERNAME"] = f.computername;
    for (const QString& p : f.flags) DateiSchreiben(wurzel + p, "");
    EXPECT_EQ(Z_Alles::FernSchliessenPrüfen(1), f.gefunden);
    EXPECT_EQ(Z_Alles::FernSchliessenPrüfen(0), 0);
    QStringList uebrig;
    for (const QString& p : f.flags)
      if (QFile::exists(wurzel + p)) uebrig << p;
    EXPECT_EQ(uebrig, f.nachStart);
    // The next tick finds a flag for this copy that the start left.
    EXPECT_EQ(Z_Alles::FernSchliessenPrüfen(1), f.gefunden && !f.nachStart.isEmpty() ? 1 : 0);
    for (const QString& p : f.flags) QFile::remove(wurzel + p);
  }
}

// Flags made, renamed and removed after the first check, in any letter case: each tick sees
// them without reading a watched folder again. Where a folder cannot be watched (as on a
// network share) a change reads it again, once for both flags. A data folder replaced by a new
// one is watched anew.
TEST_F(NetWatchTest, FernSchliessenOhneNeuesLesen) {
  system.env["COMPUTERNAME"] = "PC-A";
  const QString d = datOrdner + "/";
  struct Schritt {
    const char* name;
    std::function<void()> tun;
    int gefunden;
  };
  const Schritt schritte[] = {
      {"klein geschrieben", [&] { DateiSchreiben(d + "skribon_rmtclose$doit.flg", ""); }, 1},
      {"entfernt", [&] { QFile::remove(d + "skribon_rmtclose$doit.flg"); }, 0},
      {"Rechner, gross", [&] { DateiSchreiben(d + "SKRIBON_PC-A_RMTCLOSE$DOIT.FLG", ""); }, 1},
      {"hinaus umbenannt", [&] { QFile::rename(d + "SKRIBON_PC-A_RMTCLOSE$DOIT.FLG", wurzel + "/x"); }, 0},
      {"hinein umbenannt", [&] { QFile::rename(wurzel + "/x", d + "Skribon_rmtClose$DOit.flg"); }, 1},
      {"Ordner dieses Namens", [&] {
         QFile::remove(d + "Skribon_rmtClose$DOit.flg");
         QDir().mkpath(d + "Skribon_RmtClose$DoIt.flg");
       }, 0},
  };
  for (const bool beobachtet : {true, false}) {
    SCOPED_TRACE(beobachtet ? "beobachtet" : "wie im Netz");
    Plattform::SetzeOrdnerBeobachtung(beobachtet);
    // The other folders searched were last changed a minute ago: only the data folder is busy.
    for (const QString& o : {prgOrdner, subOrdner, home, Z_Alles::WindowsOrdner(), Z_Alles::SystemOrdner()}) {
      const struct timespec zeit[2] = {{::time(nullptr) - 60, 0}, {::time(nullptr) - 60, 0}};
      ::utimensat(AT_FDCWD, QFile::encodeName(o).constData(), zeit, 0);
    }
    EXPECT_EQ(Z_Alles::FernSchliessenPrüfen(1), 0);
    for (const Schritt& s : schritte) {
      SCOPED_TRACE(s.name);
      s.tun();
      const quint64 gelesen = Plattform::OrdnerLesevorgaenge();
      EXPECT_EQ(Z_Alles::FernSchliessenPrüfen(1), s.gefunden);
      EXPECT_EQ(Plattform::OrdnerLesevorgaenge() - gelesen, beobachtet ? 0u : 1u);
    }
    ASSERT_TRUE(QDir(datOrdner).removeRecursively());
    ASSERT_TRUE(QDir().mkpath(datOrdner));
    DateiSchreiben(d + "SKRIBON_RmtClose$DoIt.flg", "");
    EXPECT_EQ(Z_Alles::FernSchliessenPrüfen(1), 1) << "neuer Datenordner";
    QFile::remove(d + "SKRIBON_RmtClose$DoIt.flg");
  }
  Plattform::SetzeOrdnerBeobachtung(true);
}

TEST_F(NetWatchTest, ZeitgeberBeendetEinmal) {
  Testhilfe::TestHauptfenster fenster;
  Hauptfenster::SetzeInstanz(&fenster);
  Programmdienste::Registrieren();
  HauptfensterHaken::Ausfuehren(HauptfensterHaken::Punkt::ZeitInfoEnde);
  EXPECT_EQ(fenster.beendet, 0);
  DateiSchreiben(datOrdner + "/Skribon_RmtClose$DoIt.flg", "");
  for (int tick = 0; tick < 3; ++tick) HauptfensterHaken::Ausfuehren(HauptfensterHaken::Punkt::ZeitInfoEnde);
  EXPECT_EQ(fenster.beendet, 1);
}

// ---- Two processes on one data folder -----------------------------------------------------------

// The child's part: started by ZweiProzesse with its own computer name, user and entry names.
TEST_F(NetWatchTest, DISABLED_Kindprozess) {
  Z_Alles::ordnerDat = qEnvironmentVariable("SKRIBON_KIND_DATEN");
  system.env["COMPUTERNAME"] = qEnvironmentVariable("COMPUTERNAME");
  setzen("Allgemein", "User", qEnvironmentVariable("SKRIBON_KIND_USER"));
  const QString praefix = qEnvironmentVariable("SKRIBON_KIND_NAMEN");
  for (int i = 0; i < 40; ++i) Z_Alles::NetWatchPruefen(0, praefix + QString::number(i));
  dialoge.antwort(Plattform::vbOK);
  Z_Alles::NetzNachrichtPrüfen();
  std::cout << "ERGEBNIS zeigt=" << dialoge.gezeigt.size() << " schliessen=" << Z_Alles::FernSchliessenPrüfen(1)
            << std::endl;
}

TEST_F(NetWatchTest, ZweiProzesse) {
  ASSERT_TRUE(Plattform::ProfilSchreiben(nw(), "Allgemein", "Benachrichtigen", "1"));
  ASSERT_TRUE(Plattform::ProfilSchreiben(nw(), "Nachricht", "User", "Anna"));
  ASSERT_TRUE(Plattform::ProfilSchreiben(nw(), "Nachricht", "Date", "15.01.2026 10:00:00"));
  ASSERT_TRUE(Plattform::ProfilSchreiben(nw(), "Nachricht", "Text", "Für Anna"));
  DateiSchreiben(datOrdner + "/Skribon_PC-A_RmtClose$DoIt.flg", "");

  struct Kind { QString rechner, user, namen; std::unique_ptr<QProcess> p; };
  Kind kinder[] = {{"PC-A", "Anna", "a", nullptr}, {"PC-B", "Bert", "b", nullptr}};
  for (Kind& k : kinder) {
    QProcessEnvironment env = kindUmgebung();
    env.insert("SKRIBON_KIND_DATEN", datOrdner);
    env.insert("COMPUTERNAME", k.rechner);
    env.insert("SKRIBON_KIND_USER", k.user);
    env.insert("SKRIBON_KIND_NAMEN", k.namen);
    k.p = std::make_unique<QProcess>();
    k.p->setProcessEnvironment(env);
    k.p->start(QCoreApplication::applicationFilePath(),
               {"--gtest_also_run_disabled_tests", "--gtest_filter=NetWatchTest.DISABLED_Kindprozess"});
  }
  QStringList ergebnisse;
  for (Kind& k : kinder) {
    ASSERT_TRUE(k.p->waitForFinished(60000));
    const QString aus = QString::fromUtf8(k.p->readAllStandardOutput());
    EXPECT_EQ(k.p->exitCode(), 0) << aus.toStdString();
    ergebnisse << aus.section("ERGEBNIS ", 1).section('\n', 0, 0);
  }
  // Anna's copy shows her message and closes on its computer's flag; Bert's does neither.
  EXPECT_EQ(ergebnisse, QStringList({"zeigt=1 schliessen=1", "zeigt=0 schliessen=0"}));
  EXPECT_EQ(nwLesen("Nachricht", "User"), "");
  // Both wrote their entries at the same time; none was lost.
  Plattform::ProfilCacheLeeren();
  const QStringList abschnitte = Plattform::ProfilAbschnitte(nw());
  for (const char* praefix : {"a", "b"})
    for (int i = 0; i < 40; ++i)
      EXPECT_TRUE(abschnitte.contains(QString("UserJetzt_%1%2").arg(praefix).arg(i))) << praefix << i;
}

}  // namespace
