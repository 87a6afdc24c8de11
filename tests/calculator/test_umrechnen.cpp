// The unit file: lists from the raw lines, first-use copy, remembered choices written back
// byte for byte, the conversion formulas and the editor command.
#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>

#include "calculator/umrechnen.h"
#include "foundation/z_alles.h"
#include "platform/profil.h"
#include "support/fixture.h"

namespace {

using Umrechnen::Einheiten;
using Umrechnen::Rubriken;
using Umrechnen::Vorsilben;

QStringList L(std::initializer_list<const char*> zeilen) {
  QStringList l;
  for (const char* z : zeilen) l << QString::fromUtf8(z);
  return l;
}

class UmrechnenTest : public Testhilfe::SkribonTest {
protected:
  QString datei() const { return datOrdner + "/Rechner.Dat"; }
  void Schreiben(const QByteArray& inhalt) { DateiSchreiben(datei(), inhalt); }
};

// A recording evaluator: numbers only, so the formula texts can be checked exactly.
struct Protokoll {
  QStringList texte;
  Umrechnen::Auswerter auswerter() {
    return [this](QString& t) {
      texte << t;
      if (t.contains("/ (0)")) { t.prepend('%'); return 0.0; }
      if (t.contains('(')) return 42.0;
      const QStringList teile = QString(t).replace(',', '.').split('/');
      const double a = teile[0].toDouble();
      return teile.size() == 2 ? a / teile[1].toDouble() : a;
    };
  }
};

TEST(UnitListen, AusDenRohenZeilen) {
  const QStringList zeilen = L({
      "Kopf ohne Abschnitt", "x=1",
      "[Länge]", "_SIBasis=SI", "m=1", "km=0,001", "Kommentar ohne Gleich", " Elle=1/0,6", "=7", "   =8",
      "[_Versteckt]", "y=2",
      "[Länge ]",        // a header with a trailing blank is a category of its own
      "[Zeit]", "s=1", "[kaputt", "min=1/60",   // a line beginning with "[" ends the section
      "[]", "leer=1",
      "[_si]", "Kilo=1E3", "-=1", "Milli=1E-3", "ohne",
      "[Masse]",
  });
  EXPECT_EQ(Rubriken(zeilen), L({"Länge", "Länge ", "Zeit", "Masse"}));
  EXPECT_EQ(Vorsilben(zeilen), L({"Kilo", "-", "Milli"}));
  EXPECT_EQ(Einheiten(zeilen, "Länge"), L({"m", "km", " Elle"}));
  EXPECT_EQ(Einheiten(zeilen, "Zeit"), L({"s"}));
  EXPECT_TRUE(Einheiten(zeilen, "länge").isEmpty());   // exact letter case
  EXPECT_TRUE(Einheiten(zeilen, "Masse").isEmpty());   // a category without units
  EXPECT_TRUE(Vorsilben(L({"[SI]", "k=1"})).isEmpty());
}

TEST_F(UmrechnenTest, ZeilenendenUndSchlechteDateien) {
  struct Fall { const char* name; QByteArray inhalt; int zeilen; bool ok; bool keinText; };
  const Fall faelle[] = {
      {"CR LF", "[A]\r\nm=1\r\n", 2, true, false},
      {"LF", "[A]\nm=1\n", 2, true, false},
      {"CR", "[A]\rm=1", 2, true, false},
      {"leer", "", 0, true, false},
      {"binaer", QByteArray("[A]\0\x01\x02m=1", 9), 0, true, true},
      {"Windows-1252", "[L\xe4nge]\r\n", 1, true, false},
  };
  for (const auto& f : faelle) {
    Schreiben(f.inhalt);
    bool ok = false, keinText = false;
    const QStringList z = Umrechnen::ZeilenLesen(datei(), &ok, &keinText);
    EXPECT_EQ(z.size(), f.zeilen) << f.name;
    EXPECT_EQ(ok, f.ok) << f.name;
    EXPECT_EQ(keinText, f.keinText) << f.name;
  }
  EXPECT_EQ(Rubriken(Umrechnen::ZeilenLesen(datei())), QStringList{QStringLiteral("Länge")});
  bool ok = true;
  EXPECT_TRUE(Umrechnen::ZeilenLesen(datOrdner + "/fehlt.Dat", &ok).isEmpty());
  EXPECT_FALSE(ok);

  QByteArray gross = "[_SI]\r\n-=1\r\n";
  for (int i = 0; i < 10000; ++i) gross += "[R" + QByteArray::number(i) + "]\r\nm=1\r\n";
  Schreiben(gross);
  const QStringList z = Umrechnen::ZeilenLesen(datei());
  EXPECT_EQ(Rubriken(z).size(), 10000);
  EXPECT_EQ(Einheiten(z, "R9999"), QStringList{"m"});
}

TEST_F(UmrechnenTest, ErsteNutzungKopiertDieMitgelieferteDatei) {
  const QByteArray mitgeliefert = "; eigen\r\n[Länge]\r\nm=1\r\n";
  DateiSchreiben(prgOrdner + "/Rechner.Dat", mitgeliefert);
  EXPECT_EQ(Umrechnen::DateiBereitstellen(), datei());
  EXPECT_EQ(DateiLesen(datei()), mitgeliefert);

  // A file of the user's is never replaced, whatever the case of its name.
  QFile::remove(datei());
  DateiSchreiben(datOrdner + "/rechner.dat", "[Meins]\r\n");
  const QString gefunden = Umrechnen::DateiBereitstellen();
  EXPECT_EQ(QFileInfo(gefunden).fileName().toLower(), "rechner.dat");
  EXPECT_EQ(DateiLesen(gefunden), "[Meins]\r\n");
  EXPECT_FALSE(QFileInfo::exists(datei()));
}

TEST_F(UmrechnenTest, OhneKopieWennNurLesenOderNichtsDa) {
  EXPECT_TRUE(Umrechnen::DateiBereitstellen().isEmpty());

  DateiSchreiben(prgOrdner + "/Rechner.Dat", "[A]\r\n");
  Z_Alles::NurLesen = true;
  EXPECT_EQ(Umrechnen::DateiBereitstellen(), prgOrdner + "/Rechner.Dat");
  EXPECT_FALSE(QFileInfo::exists(datei()));

  // The data folder is a file: the copy fails, the shipped file is still used, the reason is German.
  Z_Alles::NurLesen = false;
  Z_Alles::ordnerDat = wurzel + "/DatenAlsDatei";
  DateiSchreiben(Z_Alles::ordnerDat, "x");
  QString fehler;
  EXPECT_EQ(Umrechnen::DateiBereitstellen(&fehler), prgOrdner + "/Rechner.Dat");
  EXPECT_TRUE(fehler.startsWith("Die Einheitendatei »Rechner.Dat« konnte nicht")) << fehler.toStdString();
}

TEST_F(UmrechnenTest, ZuletztWirdZeichengenauZurueckgeschrieben) {
  const QByteArray vorher =
      "; Kopf  mit   Blanks \r\n[Länge]\r\nm = 1 \r\n km=0,001\r\n\r\n[_SI]\r\n-=1\r\n[_Zuletzt]\r\n"
      "Rubrik=3\r\nLänge_LastEinheit1=0\r\n[Ende]\n  x=y  \r\n";
  Schreiben(vorher);
  Umrechnen::ZuletztSchreiben(datei(), "Rubrik", 0);
  Umrechnen::ZuletztSchreiben(datei(), "Länge_LastEinheit1", 1);
  Umrechnen::ZuletztSchreiben(datei(), "Länge_LastSI1", 10);
  QByteArray erwartet = vorher;
  erwartet.replace("Rubrik=3", "Rubrik=0");
  erwartet.replace("Länge_LastEinheit1=0", "Länge_LastEinheit1=1\r\nLänge_LastSI1=10");
  EXPECT_EQ(DateiLesen(datei()), erwartet);

  EXPECT_EQ(Umrechnen::ZuletztLesen(datei(), "Rubrik", "11"), 0);
  EXPECT_EQ(Umrechnen::ZuletztLesen(datei(), "länge_lasteinheit1", "0"), 1);
  EXPECT_EQ(Umrechnen::ZuletztLesen(datei(), "Zeit_LastSI2", "10"), 10);
  EXPECT_EQ(Umrechnen::ZuletztLesen(datei(), "Zeit_LastSI2", "1E99"), -1);

  // Nothing changed: the file is not written again.
  const QDateTime zeit = QFileInfo(datei()).lastModified();
  QFile(datei()).setFileTime(zeit.addSecs(-100), QFileDevice::FileModificationTime);
  const QDateTime alt = QFileInfo(datei()).lastModified();
  Umrechnen::ZuletztSchreiben(datei(), "Rubrik", 0);
  EXPECT_EQ(QFileInfo(datei()).lastModified(), alt);
}

TEST_F(UmrechnenTest, FormelnMitKlammernUndFaktoren) {
  Schreiben(
      "[Länge]\r\nm=1\r\nkm=0,001\r\n Elle=1/0,6\r\nkaputt=abc\r\n\r\n"
      "[Daten]\r\n_SIBasis=Binaer\r\n_ZwischenRundung=2\r\nByte=1\r\n"
      "[_SI]\r\nKilo=1E3\r\n-=1\r\nMilli=1E-3\r\n"
      "[_Binaer]\r\nKilo=1024\r\n-=1\r\n");
  struct Fall {
    const char* name;
    Umrechnen::Eingabe eingabe;
    const char* formel1;
    bool unbekannt0, unbekannt1, ungeprueft;
    bool hinweis;
  };
  const Fall faelle[] = {
      {"Ausdruck in Klammern", {"Länge", "2+3", {"-", "-"}, {"km", "m"}}, "(2+3) * (1) / (.001)", false, false, false, false},
      {"Vorsilbe Kilo", {"Länge", "2", {"Kilo", "Milli"}, {"m", "m"}}, "(2) * (1E3) / (1)", false, false, false, false},
      {"leerer Wert ist 0", {"Länge", "  ", {"-", "-"}, {"m", "m"}}, "(0) * (1) / (1)", false, false, false, false},
      {"unbekannte Vorsilbe", {"Länge", "1", {"Mega", "-"}, {"m", "m"}}, "(1) * (1) / (1)", true, false, false, false},
      {"eigener Vorsilbenabschnitt", {"Daten", "1", {"Kilo", "Milli"}, {"Byte", "Byte"}}, "(1) * (1024) / (1)", false, true, false, false},
      {"ungepruefte Einheit", {"Länge", "1", {"-", "-"}, {"m", " Elle"}}, "(1) * (1) / (1)", false, false, true, false},
      {"Faktor abc", {"Länge", "1", {"-", "-"}, {"kaputt", "m"}}, "(1) * (1) / (0)", false, false, false, true},
  };
  for (const auto& f : faelle) {
    Protokoll p;
    const auto erg = Umrechnen::Berechnen(datei(), f.eingabe, p.auswerter());
    EXPECT_EQ(erg.formel1.toStdString(), f.formel1) << f.name;
    EXPECT_EQ(erg.vorsilbeUnbekannt[0], f.unbekannt0) << f.name;
    EXPECT_EQ(erg.vorsilbeUnbekannt[1], f.unbekannt1) << f.name;
    EXPECT_EQ(erg.ungeprueft, f.ungeprueft) << f.name;
    EXPECT_EQ(!erg.hinweis.isEmpty(), f.hinweis) << f.name << " " << erg.hinweis.toStdString();
  }
  // The second step gets the base as number text; rounding cuts towards minus infinity.
  Protokoll p;
  auto erg = Umrechnen::Berechnen(datei(), {"Länge", "2", {"-", "Kilo"}, {"m", "km"}}, p.auswerter());
  EXPECT_EQ(erg.formel2.toStdString(), "42 / (1E3) * (.001)");
  EXPECT_EQ(p.texte, L({"1", "0,001", "(2) * (1) / (1)", "42 / (1E3) * (.001)"}));

  const auto rundung = [&](double basis) {
    auto a = [basis](QString& t) { return t.startsWith('(') ? basis : t.toDouble(); };
    return Umrechnen::Berechnen(datei(), {"Daten", "1", {"-", "-"}, {"Byte", "Byte"}}, a).formel2.toStdString();
  };
  EXPECT_EQ(rundung(1.239), "1.23 / (1) * (1)");
  EXPECT_EQ(rundung(-1.231), "-1.24 / (1) * (1)");

  // A refused formula gives 0 and says so.
  Protokoll q;
  erg = Umrechnen::Berechnen(datei(), {"Länge", "1", {"-", "-"}, {"kaputt", "m"}}, q.auswerter());
  EXPECT_EQ(erg.wert, 0);
  EXPECT_TRUE(erg.hinweis.contains("»abc«")) << erg.hinweis.toStdString();
  EXPECT_EQ(Umrechnen::Berechnen(QString(), {}, q.auswerter()).formel1, QString());
}

TEST_F(UmrechnenTest, DoppelteEinheitWirdGemeldet) {
  Schreiben("[Länge]\r\nm=1\r\nM=2\r\n[_SI]\r\n-=1\r\n");
  Protokoll p;
  const auto erg = Umrechnen::Berechnen(datei(), {"Länge", "1", {"-", "-"}, {"M", "m"}}, p.auswerter());
  EXPECT_TRUE(erg.hinweis.contains("mehrmals")) << erg.hinweis.toStdString();
}

TEST_F(UmrechnenTest, EditorBefehlMitPfadAlsEinemArgument) {
  const QString pfad = wurzel + "/Mein Ordner/Rechner.Dat";
  struct Fall { const char* gespeichert; QStringList erwartet; };
  const Fall faelle[] = {
      {"meineditor", {"meineditor", pfad}},
      {"\"/opt/mein editor/bin/ed\" --neu", {"/opt/mein editor/bin/ed", "--neu", pfad}},
  };
  for (const auto& f : faelle) {
    Z_Alles::IniSchreiben("", "Verknüpfung", "PrgTxtEdit", QString::fromUtf8(f.gespeichert));
    EXPECT_EQ(Umrechnen::EditorBefehl(pfad), f.erwartet) << f.gespeichert;
  }
  // The Windows default (missing key, or NotePad.exe from old settings) means the desktop's editor.
  for (const char* windows : {"NotePad", "notepad.exe", "C:\\Windows\\NOTEPAD.EXE", ""}) {
    Z_Alles::IniSchreiben("", "Verknüpfung", "PrgTxtEdit", QString::fromUtf8(windows));
    const QStringList befehl = Umrechnen::EditorBefehl(pfad);
    ASSERT_EQ(befehl.size(), 2) << windows;
    EXPECT_NE(befehl.first().toLower(), "notepad") << windows;
    EXPECT_EQ(befehl.last(), pfad);
  }
}

// The shipped unit file: complete enough for a German user and in the format the converter reads.
TEST(MitgelieferteEinheiten, FormatUndUmfang) {
  const QString pfad = QStringLiteral(SKRIBON_QUELLE) + "/resources/beside/Rechner.Dat";
  bool ok = false, keinText = true;
  const QStringList zeilen = Umrechnen::ZeilenLesen(pfad, &ok, &keinText);
  ASSERT_TRUE(ok) << pfad.toStdString();
  EXPECT_FALSE(keinText);

  const QStringList rubriken = Rubriken(zeilen);
  EXPECT_GE(rubriken.size(), 12);
  for (const char* muss : {"Länge", "Fläche", "Volumen", "Masse", "Zeit", "Geschwindigkeit", "Druck",
                           "Energie", "Leistung", "Datenmenge", "Winkel"})
    EXPECT_TRUE(rubriken.contains(QString::fromUtf8(muss))) << muss;

  const QStringList vorsilben = Vorsilben(zeilen);
  ASSERT_GE(vorsilben.size(), 11);
  EXPECT_EQ(vorsilben[10], "-");
  QStringList klein;
  for (const QString& v : vorsilben) klein << v.toLower();
  klein.removeDuplicates();
  EXPECT_EQ(klein.size(), vorsilben.size()) << "Vorsilben müssen ohne Groß/klein eindeutig sein";

  for (const QString& r : rubriken) {
    const QStringList einheiten = Einheiten(zeilen, r);
    EXPECT_GE(einheiten.size(), 2) << r.toStdString();
    QStringList k;
    for (const QString& e : einheiten) k << e.trimmed().toLower();
    k.removeDuplicates();
    EXPECT_EQ(k.size(), einheiten.size()) << r.toStdString();
  }
  EXPECT_TRUE(zeilen.contains("[_Zuletzt]"));
}

}  // namespace
