// Placeholder tokens with an argument: working days, weekday of a date, random picks,
// counters and indexes in the settings file, settings and variables, case conversions, file
// names, ages; the deliberate quirks, and bad input.
#include <QDir>
#include <QFile>
#include <QQueue>
#include <gtest/gtest.h>

#include "foundation/z_alles.h"
#include "printing/z_vario.h"
#include "support/fixture.h"

namespace {

class SkriptSystem : public Testhilfe::TestSystem {
public:
  double zufall() override { return werte.isEmpty() ? TestSystem::zufall() : werte.dequeue(); }
  QQueue<double> werte;
};

class VarioArgumentTest : public Testhilfe::SkribonTest {
protected:
  void SetUp() override {
    SkribonTest::SetUp();
    Z_Vario::Zuruecksetzen();
    Plattform::SetzeSystemDienst(&maschine);
    maschine.uhr = QDateTime(QDate(2026, 1, 15), QTime(9, 5, 7));  // a Thursday
    maschine.ordner = wurzel + "/Ablage";
    QDir().mkpath(maschine.ordner);
    ini = subOrdner + "/Dormik.ini";
  }
  static QString V(const QString& text) { return Z_Vario::VarioErsetzen(text); }
  static QString Lesen(const QString& abschnitt, const QString& schluessel) {
    return Z_Alles::IniLesen(QString(), abschnitt, schluessel, QStringLiteral("?"));
  }
  void Zufall(std::initializer_list<double> r) {
    maschine.werte.clear();
    for (double x : r) maschine.werte.enqueue(x);
  }
  void Datei(const QString& name) { DateiSchreiben(maschine.ordner + "/" + name, "x"); }
  SkriptSystem maschine;
  QString ini;
};

struct Fall { const char* ein; const char* aus; };

void Pruefen(std::initializer_list<Fall> faelle) {
  for (const Fall& f : faelle) {
    SCOPED_TRACE(f.ein);
    EXPECT_EQ(Z_Vario::VarioErsetzen(QString::fromUtf8(f.ein)), QString::fromUtf8(f.aus));
  }
}

TEST_F(VarioArgumentTest, WerktageVoraus) {
  Pruefen({
      {"{wt+0}", "15.01.2026"},
      {"{wt+1}", "16.01.2026"},
      {"{wt+2}", "17.01.2026"},   // Saturday counts as a working day
      {"{wt+3}", "19.01.2026"},   // Sunday does not
      {"{WT+1}", "16.01.2026"},
      {"{wt+10}", "16.01.2026}"}, // one digit: the six characters up to the 0 go
      {"{wt+1} {wt+1}", "16.01.2026 16.01.2026"},
      {"{wt+1} {wt+2}", "16.01.2026 {wt+2}"},  // only the first of its kind
  });
  maschine.uhr = QDateTime(QDate(2026, 1, 16), QTime(12, 0));  // Friday
  Pruefen({{"{wt+2}", "19.01.2026"}, {"{wt+9}", "27.01.2026"}});
}

TEST_F(VarioArgumentTest, WochentagEinesDatums) {
  Pruefen({
      {"{wochentag24.12.2026}", "Donnerstag"},
      {"{Wochentag01.01.2000}", "Samstag"},
      {"am {wochentag24.12.2026} und {wochentag24.12.2026}", "am Donnerstag und Donnerstag"},
      {"{wochentag24.12.2026} {wochentag25.12.2026}", "Donnerstag {wochentag25.12.2026}"},
      {"{wochentag31.02.2026}", "{wochentag31.02.2026}"},
      {"{wochentagmorgen}", "{wochentagmorgen}"},
      {"{wochentag24.12.2026", "{wochentag24.12.2026"},
      {"{wochentag} {wochentag2}", "Donnerstag Do"},
  });
}

TEST_F(VarioArgumentTest, ZufallAusListeGewichteUndKleinschrift) {
  const struct { std::initializer_list<double> r; const char* ein; const char* aus; } faelle[] = {
      // Two items: slot = Int(r * 1.5) + 1, so the last item has half the weight.
      {{0.0}, "{zufall$a,b}", "a"},
      {{0.66}, "{zufall$a,b}", "a"},
      {{0.67}, "{zufall$a,b}", "b"},
      {{0.999}, "{zufall$a,b}", "b"},
      // Three items: Int(r * 2.5) + 1.
      {{0.39}, "{zufall$a,b,c}", "a"},
      {{0.41}, "{zufall$a,b,c}", "b"},
      {{0.79}, "{zufall$a,b,c}", "b"},
      {{0.81}, "{zufall$a,b,c}", "c"},
      {{0.5}, "{zufall$einzig}", "einzig"},
      // Picks come in lower case.
      {{0.9}, "{Zufall$Rot,Grün}", "grün"},
      {{0.1}, "{ZUFALL$ROT,GRÜN}", "rot"},
      // Empty items are skipped; items keep their blanks.
      {{0.0}, "{zufall$,,x, y,}", "x"},
      {{0.99}, "{zufall$,,x, y,}", " y"},
      {{0.5}, "{zufall$,,}", ""},
      // An eleventh item overwrites the tenth.
      {{0.95}, "{zufall$a,b,c,d,e,f,g,h,i,j,k}", "k"},
      {{0.90}, "{zufall$a,b,c,d,e,f,g,h,i,j,k}", "i"},
      // The same token twice gets one pick; a second list stays.
      {{0.0}, "{zufall$a,b} {zufall$a,b}", "a a"},
      {{0.0}, "{zufall$a,b} {zufall$c,d}", "a {zufall$c,d}"},
      {{0.0}, "{zufall$a,b", "{zufall$a,b"},
  };
  for (const auto& f : faelle) {
    SCOPED_TRACE(f.ein);
    Zufall(f.r);
    EXPECT_EQ(V(QString::fromUtf8(f.ein)), QString::fromUtf8(f.aus));
  }
}

TEST_F(VarioArgumentTest, ZaehlerImEinstellungsDatei) {
  EXPECT_EQ(V("Nr. {counter2}"), "Nr. 1");
  EXPECT_EQ(Lesen("Variablen", "VarioCount2"), "1");
  EXPECT_EQ(V("Nr. {Counter2}"), "Nr. 2");
  EXPECT_EQ(V("{COUNTER2}/{counter2}"), "3/3");          // one count per expansion
  EXPECT_EQ(V("{counter1} {counter2}"), "1 {counter2}"); // only the first counter
  EXPECT_EQ(Lesen("Variablen", "VarioCount2"), "3");
  EXPECT_EQ(V("{counter007}"), "1");
  EXPECT_EQ(Lesen("Variablen", "VarioCount7"), "1");
  // A bare counter, or one without a whole number, stays, and no counter moves.
  const QByteArray vorher = DateiLesen(ini);
  Pruefen({
      {"{counter}", "{counter}"},
      {"{Counter} {counter2}", "{Counter} {counter2}"},
      {"{counterabc}", "{counterabc}"},
      {"{counter1.5}", "{counter1.5}"},
      {"{counter-1}", "{counter-1}"},
      {"{counter12345678901234}", "{counter12345678901234}"},
  });
  EXPECT_EQ(DateiLesen(ini), vorher);
}

TEST_F(VarioArgumentTest, ZaehlerMitTextImSchluessel) {
  DateiSchreiben(ini, "[Allgemein]\r\nUser=Erika\r\n[Variablen]\r\nVarioCount5=abc\r\nKunde=Meier\r\n");
  EXPECT_EQ(V("{counter5}"), "1");
  EXPECT_EQ(Lesen("Variablen", "VarioCount5"), "1");
  EXPECT_EQ(Lesen("Variablen", "Kunde"), "Meier");
  EXPECT_EQ(Lesen("Allgemein", "User"), "Erika");
}

TEST_F(VarioArgumentTest, ZyklischerIndex) {
  const struct { const char* token; std::vector<const char*> folge; } faelle[] = {
      {"{index:los,5,7}", {"5", "6", "7", "5", "6"}},
      {"{INDEX:ohne,3}", {"3", "3", "3"}},            // without a max: always the start
      {"{index:null,0,2}", {"1", "2", "0", "1"}},
      {"{index:wirr,abc,def}", {"0", "0"}},           // non-numeric fields are 0
  };
  for (const auto& f : faelle) {
    for (size_t i = 0; i < f.folge.size(); ++i) {
      SCOPED_TRACE(std::string(f.token) + " #" + std::to_string(i));
      EXPECT_EQ(V(QString::fromUtf8(f.token)), QString::fromUtf8(f.folge[i]));
    }
  }
  EXPECT_EQ(Lesen("Variablen", "VarioIndex_los"), "6");
  // The name is stored as written.
  EXPECT_EQ(V("{index:LosNr,1,9} {index:LosNr,1,9} {index:x,1,9}"), "1 1 {index:x,1,9}");
  EXPECT_TRUE(DateiLesen(ini).contains("VarioIndex_LosNr=1")) << DateiLesen(ini).toStdString();
  // A stored value beyond max starts again.
  Z_Alles::IniSchreiben(QString(), "Variablen", "VarioIndex_los", "99");
  EXPECT_EQ(V("{index:los,5,7}"), "5");
}

TEST_F(VarioArgumentTest, EinstellungLesen) {
  DateiSchreiben(ini, "[Test]\r\nFarbe=blau\r\n");
  const QString eigene = wurzel + "/Mappe/Eigene.INI";
  DateiSchreiben(eigene, "[Abschnitt]\r\nWert=42\r\n");
  Pruefen({
      {"{iniread,,Test,Farbe,grau}", "blau"},
      {"{IniRead,,test,FARBE}", "blau"},
      {"{iniread,,Test,Fehlt,grau}", "grau"},
      {"{iniread,,Test,Farbe", "{iniread,,Test,Farbe"},
  });
  // The file name keeps the case the user wrote.
  EXPECT_EQ(V("{iniread," + eigene + ",Abschnitt,Wert,?}"), "42");
}

TEST_F(VarioArgumentTest, Variablen) {
  DateiSchreiben(ini,
                 "[Variablen]\r\nFirma=Meier ; unser Hauptkunde\r\nSelbst=A{variable:Selbst}B\r\n"
                 "Leer=\r\nTab={Tab}\r\n[Andere]\r\nKunde=falsch\r\n");
  const QByteArray vorher = DateiLesen(ini);
  Pruefen({
      {"{variable:Kunde}", "Kunde"},                  // undefined: the name itself
      {"{variable:Firma}", "Meier"},                  // comment cut, trimmed
      {"{Variable:FIRMA}", "Meier"},
      {"{variable:Selbst}", "A{variable:Selbst}B"},   // inserted once, not again
      {"{variable:Leer}x", "x"},
      {"{variable:Tab}", "{Tab}"},                    // control tokens ran before
      {"{variable:Firma} {variable:Kunde}", "Meier {variable:Kunde}"},
      {"{variable:a=b}", "a=b"},                      // no key can hold "=": not looked up
      {"{variable:a;b}", "a"},
      {"{variable:}", ""},
      {"{variable:Firma", "{variable:Firma"},
  });
  EXPECT_EQ(DateiLesen(ini), vorher);
}

TEST_F(VarioArgumentTest, Schreibweisen) {
  Pruefen({
      {"{a7b:Größe: 5 €}", "groesse 5"},
      {"{A7B:  Äpfel & Birnen!! }", "aepfel birnen"},
      {"{a7b:x} {a7b:y}", "x {a7b:y}"},
      {"{aig: straße }", "STRASSE"},
      {"{AIG:Müller}", "MÜLLER"},
      {"{aig:Müller", "{aig:Müller"},
  });
}

TEST_F(VarioArgumentTest, ZufaelligeDatei) {
  Datei("Brief.TXT");
  Datei("notiz.txt");
  Datei(".versteckt.txt");
  QDir().mkpath(maschine.ordner + "/ordner.txt");
  Datei("unter/Plan.md");
  const struct { double r; QString ein; QString aus; } faelle[] = {
      // k = round(r * count); 0 and 1 both take the first file.
      {0.2, "{$*.txt}", "Brief.TXT"},
      {0.3, "{$*.txt}", "Brief.TXT"},
      {0.8, "{$*.txt}", "notiz.txt"},
      {0.5, "{$NOTIZ.TXT}", "notiz.txt"},          // matched without regard to case
      {0.5, "{$*.pdf}", "KeinName.Txt"},
      {0.5, "{$unter/*.MD}", "Plan.md"},
      {0.5, "{$unter\\*.md}", "Plan.md"},
      {0.5, "{$" + wurzel + "/Ablage/unter/*.*}", "Plan.md"},
  };
  for (const auto& f : faelle) {
    SCOPED_TRACE(f.ein.toStdString());
    Zufall({f.r});
    EXPECT_EQ(V(f.ein), f.aus);
  }
}

TEST_F(VarioArgumentTest, AlleDateien) {
  Datei("Brief.TXT");
  Datei("notiz.txt");
  Datei("LIESMICH");
  Datei(".versteckt");
  QDir().mkpath(maschine.ordner + "/Ordner");
  Pruefen({
      {"{&*.txt}", "Brief.TXT notiz.txt"},
      {"{&*.*}", "Brief.TXT LIESMICH notiz.txt"},  // "*.*" is every file, dotless ones too
      {"{&*.pdf}", "KeinName.Txt"},
      {"{&gibtsnicht/*}", "KeinName.Txt"},
  });
}

// The pattern of the file tokens ends at the first "}" of the whole text.
TEST_F(VarioArgumentTest, DateimusterEndetAmErstenSchliessendenKlammer) {
  Datei("notiz.txt");
  Pruefen({
      {"Ende} {$*.txt}", "Ende} {$*.txt}"},
      {"Ende} {&*.txt}", "Ende} {&*.txt}"},
      {"{&*.txt} danach}", "notiz.txt danach}"},
  });
}

TEST_F(VarioArgumentTest, AlterUndAlterInTagen) {
  const QDateTime d(QDate(2026, 1, 15), QTime(9, 5, 7));
  const double seit1999 = double(QDate(1999, 12, 31).daysTo(d.date())) * 86400 + 9 * 3600 + 5 * 60 + 7;
  const QString alter = Z_Alles::DauerText(seit1999, 1).trimmed();
  EXPECT_TRUE(alter.endsWith(" J")) << alter.toStdString();
  EXPECT_EQ(V("{alter:31.12.1999}"), alter);
  EXPECT_EQ(V("seit {ALTER:31.12.1999"), "seit " + alter);  // closing brace added
  // The other direction gives the same distance.
  EXPECT_EQ(V("{alter:16.01.2026 09:05:07}"), Z_Alles::DauerText(86400, 1).trimmed());
  Pruefen({
      {"{alter:Urlaub}", "Urlaub???"},
      {"{alter:31.02.2026}", "31.02.2026???"},
      {"{alterd:14.01.2026}", "1,4"},
      {"{alterd:16.01.2026}", "-0,6"},
      {"{alterd:15.01.2026} {alter:15.01.2026 09:05:07}", "0,4 0 Sek"},
      {"{alterd:heute}", "heute???"},
      {"{alterd:14.01.2026", "1,4"},
      {"{alter:}", "???"},
  });
}

TEST_F(VarioArgumentTest, SchlechteEingabenLiefernTextUndSchonenEinstellungen) {
  DateiSchreiben(ini,
                 "; Kommentar bleibt\r\n[Allgemein]\r\nUser=Erika\r\n[Variablen]\r\nKunde=Meier\r\n"
                 "VarioCount3=7\r\n[Andere]\r\nX=1\r\n");
  Datei("notiz.txt");
  const char* const texte[] = {
      "{", "}", "{{{{", "}}}}{", "{datum", "{counter5", "{index:a,1,3", "{iniread,,Variablen,Kunde",
      "{variable:Kunde", "{a7b:x", "{aig:x", "{$*", "{&*", "{wochentag1.1.2026", "{wt+", "{alter:",
      "{alterd:", "{zufall$a,b", "{variable:{datum}}", "{index:{counter1},1,3}",
      "{counter{counter3}}", "%", "100 % {datum}", "%%%", "{variable:a=b}", "{variable:x;y}",
      "{variable:\r\n[Allgemein]\r\nUser=Fremd}", "{index:a\r\n[Allgemein]\r\nUser=Fremd,1,3}",
      "{index:a=b,1,3}", "{index:[x],1,3}", "{index:g,1e308,1e309}", "{wochentag31.02.2026}",
      "{alter:31.02.2026}", "{alterd:31.02.2026}", "{$*.gibtsnicht}", "{&gibtsnicht/*}",
      "{$}", "{&}", "{$/}", "{iniread}", "{iniread,}", "{zufall$}", "{wt+9}", "{{{counter3}}}",
  };
  for (const char* t : texte) {
    SCOPED_TRACE(t);
    const QString aus = V(QString::fromUtf8(t));
    EXPECT_FALSE(aus.isNull() && QString::fromUtf8(t).size() > 0);
  }
  const struct { const char* ein; const char* aus; } einzelne[] = {
      {"{variable:{datum}}", "15.1.2026"},
      {"{wochentag31.02.2026}", "{wochentag31.02.2026}"},
      {"{$*.gibtsnicht}", "KeinName.Txt"},
      {"{index:a=b,1,3}", "{index:a=b,1,3}"},
      {"{index:[x],1,3}", "{index:[x],1,3}"},
  };
  for (const auto& e : einzelne) {
    SCOPED_TRACE(e.ein);
    EXPECT_EQ(V(e.ein), e.aus);
  }
  const QByteArray inhalt = DateiLesen(ini);
  EXPECT_TRUE(inhalt.startsWith("; Kommentar bleibt\r\n")) << inhalt.toStdString();
  EXPECT_EQ(Lesen("Allgemein", "User"), "Erika");
  EXPECT_EQ(Lesen("Variablen", "Kunde"), "Meier");
  EXPECT_EQ(Lesen("Andere", "X"), "1");
  EXPECT_EQ(Z_Alles::IniLesen(QString(), "Allgemein", "User", "?"), "Erika");
  EXPECT_FALSE(inhalt.contains("Fremd")) << inhalt.toStdString();
}

TEST_F(VarioArgumentTest, GrosserTextMitZehntausendTokens) {
  DateiSchreiben(ini, "[Variablen]\r\nKunde=Meier\r\n[Andere]\r\nX=1\r\n");
  Datei("notiz.txt");
  const char* const tokens[] = {"{datum}", "{kw}", "{variable:Kunde}", "{counter1}", "{index:i,1,5}",
                                "{zufall$a,b}", "{$*.txt}", "{&*.txt}", "{alter:1.1.2000}",
                                "{wochentag1.1.2026}", "{unbekannt}", "%HOME%", "{", "}"};
  QString text;
  text.reserve(1 << 20);
  int n = 0;
  while (text.size() < (1 << 20)) {
    if (n < 10000) text += QString::fromLatin1(tokens[n++ % std::size(tokens)]);
    text += QStringLiteral(" Füllwort ");
    if (n >= 10000) text += QString(200, u'x');
  }
  const QString aus = V(text);
  EXPECT_GT(aus.size(), 1000000);
  EXPECT_FALSE(aus.contains("{datum}"));
  EXPECT_FALSE(aus.contains("{variable:Kunde}"));
  EXPECT_TRUE(aus.contains("Meier"));
  EXPECT_TRUE(aus.contains("{unbekannt}"));
  EXPECT_EQ(Lesen("Variablen", "VarioCount1"), "1");
  EXPECT_EQ(Lesen("Andere", "X"), "1");
}

}  // namespace
