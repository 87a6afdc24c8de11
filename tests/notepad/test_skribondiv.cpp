// The small rules around notes: numbers, limits, command-line words, caret positions.
#include "foundation/hauptfenster.h"
#include "notepad/skribondiv.h"
#include "support/fixture.h"
#include "qstring_ausgabe.h"

using namespace SkribonDiv;


TEST(SkribonDivRegeln, NotizAnzahlUndNummer) {
  const std::pair<QString, int> faelle[] = {
      {"", 50}, {"abc", 50}, {"50", 50}, {"75", 75}, {" 99 ", 99}, {"100", 99}, {"1000", 99},
      {"49", 50}, {"0", 50}, {"-5", 50}, {"60.7", 60}, {"nan", 50}, {"inf", 99}, {"-inf", 50},
  };
  for (const auto& [text, erwartet] : faelle)
    EXPECT_EQ(NotizAnzahlAusText(text), erwartet) << text.toStdString();
  EXPECT_EQ(NummerText(1), "01");
  EXPECT_EQ(NummerText(9), "09");
  EXPECT_EQ(NummerText(42), "42");
  EXPECT_EQ(NummerText(99), "99");
}

TEST(SkribonDivRegeln, BefehlszeileNotizblock) {
  const std::pair<QStringList, QString> faelle[] = {
      {{}, ""},
      {{"#debug"}, ""},
      {{"Datei=Arbeit"}, "Arbeit"},
      {{"datei=Arbeit.inf"}, "Arbeit"},
      {{"DATEI=/home/x/Daten/Privat.inf"}, "Privat"},
      {{"Datei=C:\\Programme\\Skribon\\Daten\\Alt.inf"}, "Alt"},
      {{"/OrdnerDat=/tmp/x", "Datei=\"Mit Blank.inf\""}, "Mit Blank"},
      {{"Datei="}, ""},
  };
  for (const auto& [argumente, erwartet] : faelle)
    EXPECT_EQ(NotizblockAusBefehlszeile(argumente), erwartet) << argumente.join(' ').toStdString();
  EXPECT_TRUE(DebugAusBefehlszeile({"x", "#DEBUG"}));
  EXPECT_TRUE(DebugAusBefehlszeile({"#debug"}));
  EXPECT_FALSE(DebugAusBefehlszeile({"debug", "Datei=a"}));
}

TEST(SkribonDivRegeln, BefehlszeileFenster) {
  struct Fall {
    QStringList argumente;
    bool ok;
    int l, o, w, h, z;
  };
  const Fall faelle[] = {
      {{"fenster=1500,750,12000,9000"}, true, 1500, 750, 12000, 9000, 0},
      {{"Fenster=0;0;6000;4500;2"}, true, 0, 0, 6000, 4500, 2},
      {{"FENSTER=-300 150 6000 4500 1"}, true, -300, 150, 6000, 4500, 1},
      {{"fenster=1,2,3"}, false, 0, 0, 0, 0, 0},
      {{"fenster=a,b,c,d"}, false, 0, 0, 0, 0, 0},
      {{"fenster=0,0,0,4500"}, false, 0, 0, 0, 0, 0},
      {{"fenster=0,0,100,100,7"}, false, 0, 0, 0, 0, 0},
      {{"Datei=x"}, false, 0, 0, 0, 0, 0},
  };
  for (const Fall& f : faelle) {
    int l = 0, o = 0, w = 0, h = 0, z = 0;
    EXPECT_EQ(FensterAusBefehlszeile(f.argumente, &l, &o, &w, &h, &z), f.ok) << f.argumente.join(' ').toStdString();
    if (f.ok) {
      EXPECT_EQ(l, f.l);
      EXPECT_EQ(o, f.o);
      EXPECT_EQ(w, f.w);
      EXPECT_EQ(h, f.h);
      EXPECT_EQ(z, f.z);
    }
  }
}

TEST(SkribonDivRegeln, PositionenUndLaengen) {
  const QString text = "ab\ncd\n\nef";
  EXPECT_EQ(GespeicherteLaenge(text), 9 + 3);
  EXPECT_EQ(GespeicherteLaenge(""), 0);
  // editor position -> stored position -> back
  const std::pair<int, int> faelle[] = {{0, 0}, {2, 2}, {3, 4}, {5, 6}, {6, 8}, {7, 10}, {9, 12}};
  for (const auto& [editor, gespeichert] : faelle) {
    EXPECT_EQ(PositionZuGespeichert(text, editor), gespeichert) << editor;
    EXPECT_EQ(PositionAusGespeichert(text, gespeichert), editor) << gespeichert;
  }
  // Out of range and in the middle of a line end.
  EXPECT_EQ(PositionZuGespeichert(text, 99), 12);
  EXPECT_EQ(PositionAusGespeichert(text, 99999), int(text.size()));
  EXPECT_EQ(PositionAusGespeichert(text, -4), 0);
  EXPECT_EQ(PositionAusGespeichert(text, 3), 3);  // between CR and LF: after the line end
}

TEST(SkribonDivRegeln, ZeilenendenUndWahrheit) {
  EXPECT_EQ(ZeilenendenZuLf("a\r\nb\rc\nd"), "a\nb\nc\nd");
  EXPECT_EQ(ZeilenendenZuLf("\r\r\n\n\r"), "\n\n\n\n");
  EXPECT_EQ(ZeilenendenZuLf("ohne"), "ohne");
  EXPECT_EQ(ZeilenendenZuCrLf("a\nb\r\nc\rd"), "a\r\nb\r\nc\r\nd");
  for (const char* wahr : {"1", "-1", "True", "wahr", "Ja", " true "}) EXPECT_TRUE(WahrheitLesen(wahr)) << wahr;
  for (const char* falsch : {"0", "", "False", "Falsch", "nein", "2"}) EXPECT_FALSE(WahrheitLesen(falsch)) << falsch;
}

TEST(SkribonDivRegeln, BuildVersion) {
  const QString v = HauptfensterHaken::BuildVersion();
  const QStringList teile = v.split('.');
  ASSERT_EQ(teile.size(), 3) << v.toStdString();
  EXPECT_EQ(teile[0], QString::number(SKRIBON_VERSION_MAJOR));
  EXPECT_EQ(teile[1].size(), 2);
  EXPECT_EQ(teile[2].size(), 4);
  EXPECT_EQ(teile[2].toInt(), SKRIBON_VERSION_REVISION);
}

TEST(SkribonDivRegeln, HakenInReihenfolge) {
  QStringList protokoll;
  using HauptfensterHaken::Punkt;
  HauptfensterHaken::Eintragen(Punkt::EndeHilfe, [&] { protokoll << "a"; });
  HauptfensterHaken::Eintragen(Punkt::EndeHilfe, [&] {
    protokoll << "b";
    // A step added while the place runs waits for the next run.
    HauptfensterHaken::Eintragen(Punkt::EndeHilfe, [&] { protokoll << "c"; });
  });
  HauptfensterHaken::Ausfuehren(Punkt::EndeHilfe);
  HauptfensterHaken::Ausfuehren(Punkt::EndeStatistik);
  EXPECT_EQ(protokoll, QStringList({"a", "b"}));
  EXPECT_EQ(HauptfensterHaken::Anzahl(Punkt::EndeHilfe), 3);
  HauptfensterHaken::Leeren();
  EXPECT_EQ(HauptfensterHaken::Anzahl(Punkt::EndeHilfe), 0);
}
