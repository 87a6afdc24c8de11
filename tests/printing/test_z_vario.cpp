// The placeholder engine: every fixed token at four reference times, the tokens replaced only
// when present, the environment pass, the week number and the helpers.
#include <QDir>
#include <QQueue>
#include <QRegularExpression>
#include <gtest/gtest.h>
#include <random>

#include "foundation/z_alles.h"
#include "printing/z_vario.h"
#include "support/fixture.h"

namespace {

const bool registriert = (Testhilfe::RegistriereZuruecksetzen(&Z_Vario::Zuruecksetzen), true);

// A machine whose random numbers are given one by one (the fixed sequence once they run out).
class SkriptSystem : public Testhilfe::TestSystem {
public:
  double zufall() override { return werte.isEmpty() ? TestSystem::zufall() : werte.dequeue(); }
  QQueue<double> werte;
};

class VarioTest : public Testhilfe::SkribonTest {
protected:
  void SetUp() override {
    SkribonTest::SetUp();
    ASSERT_TRUE(registriert);
    Plattform::SetzeSystemDienst(&maschine);
    maschine.ordner = system.ordner;
  }
  void Uhr(int j, int m, int t, int h, int n, int s) { maschine.uhr = QDateTime(QDate(j, m, t), QTime(h, n, s)); }
  static QString V(const QString& text) { return Z_Vario::VarioErsetzen(text); }
  SkriptSystem maschine;
};

// The four reference times of the date table.
struct Zeitpunkt { QDate datum; QTime zeit; const char* name; };
const Zeitpunkt kZeiten[4] = {
    {QDate(2026, 1, 15), QTime(9, 5, 7), "Donnerstag im Januar"},
    {QDate(2023, 12, 31), QTime(23, 59, 58), "Sonntag am Jahresende"},
    {QDate(2024, 2, 29), QTime(14, 0, 9), "29. Februar"},
    {QDate(2025, 12, 30), QTime(18, 45, 0), "Kalenderwoche springt auf 1"},
};

struct DatumsToken {
  const char* tokens;  // several spellings separated by "|"
  const char* wert[4];
};

// clang-format off
const DatumsToken kDatumsTokens[] = {
    {"{K07}",            {"02", "52", "08", "52"}},
    {"{K10}",            {"01", "36", "06", "36"}},
    {"{datum}",          {"15.1.2026", "31.12.2023", "29.2.2024", "30.12.2025"}},
    {"{datum0}",         {"15.01.2026", "31.12.2023", "29.02.2024", "30.12.2025"}},
    {"{kw}",             {"03", "52", "09", "01"}},
    {"{versionakt0}",    {"26.01", "23.12", "24.02", "25.12"}},
    {"{kwj}",            {"03", "52", "09", "52"}},
    {"{kwj2}",           {"04", "52", "10", "52"}},
    {"{kwj3}",           {"03", "51", "09", "51"}},
    {"{kwj4}",           {"04", "52", "08", "52"}},
    {"{kwj5}",           {"05", "50", "10", "50"}},
    {"{kw2}",            {"02", "26", "05", "01"}},
    {"{kw3}",            {"01", "17", "03", "00"}},
    {"{kw4}",            {"01", "13", "02", "00"}},
    {"{kw5}",            {"01", "10", "02", "00"}},
    {"{q}",              {"1", "4", "1", "4"}},
    {"{qr}",             {"I", "IV", "I", "IV"}},
    {"{jjjjq-1m}",       {"2025-4", "2023-4", "2024-1", "2025-4"}},
    {"{jjqr}",           {"26-I", "23-IV", "24-I", "25-IV"}},
    {"{jjjjqr}",         {"2026-I", "2023-IV", "2024-I", "2025-IV"}},
    {"{hh}",             {"09", "23", "14", "18"}},
    {"{hh-mm}",          {"09-05", "23-59", "14-00", "18-45"}},
    {"{hh-mm-ss}",       {"09-05-07", "23-59-58", "14-00-09", "18-45-00"}},
    {"{hh:mm}",          {"09:05", "23:59", "14:00", "18:45"}},
    {"{hh:mm:ss}",       {"09:05:07", "23:59:58", "14:00:09", "18:45:00"}},
    {"{jahr1}|{j}",      {"6", "3", "4", "5"}},
    {"{jahr2}|{jj}|{yy}", {"26", "23", "24", "25"}},
    {"{jahr4}|{jjjj}|{yyyy}", {"2026", "2023", "2024", "2025"}},
    {"{jahrzent}",       {"2", "2", "2", "2"}},
    {"{jahrzent0}",      {"20", "20", "20", "20"}},
    {"{jahrhundert}",    {"20", "20", "20", "20"}},
    {"{jahrhundert+1}",  {"21", "21", "21", "21"}},
    {"{jahrtausend}",    {"2", "2", "2", "2"}},
    {"{jahrtausend+1}",  {"3", "3", "3", "3"}},
    {"{jj-1}",           {"25", "22", "23", "24"}},
    {"{jj-2}",           {"24", "21", "22", "23"}},
    {"{jj+1}",           {"27", "24", "25", "26"}},
    {"{jjjj-1}",         {"2025", "2022", "2023", "2024"}},
    {"{jjjj-2}",         {"2024", "2021", "2022", "2023"}},
    {"{jjjj+1}",         {"2027", "2024", "2025", "2026"}},
    {"{jj-mm-tt}",       {"26-01-15", "23-12-31", "24-02-29", "25-12-30"}},
    {"{jjjj-mm-tt}",     {"2026-01-15", "2023-12-31", "2024-02-29", "2025-12-30"}},
    {"{jjjj-mm}",        {"2026-01", "2023-12", "2024-02", "2025-12"}},
    {"{jjjj-mm-1}",      {"2025-12", "2023-11", "2024-01", "2025-11"}},
    {"{jjjj-mm-2}",      {"2025-11", "2023-10", "2023-12", "2025-10"}},
    {"{jjmmtt}",         {"260115", "231231", "240229", "251230"}},
    {"{jjjjmmtt}",       {"20260115", "20231231", "20240229", "20251230"}},
    {"{jetzt}",          {"Donnerstag, 15. Januar 2026 um 09:05 Uhr", "Sonntag, 31. Dezember 2023 um 23:59 Uhr",
                          "Donnerstag, 29. Februar 2024 um 14:00 Uhr", "Dienstag, 30. Dezember 2025 um 18:45 Uhr"}},
    {"{mm}|{monat0}",    {"01", "12", "02", "12"}},
    {"{mm-1}",           {"12", "11", "01", "11"}},
    {"{mm-2}",           {"11", "10", "12", "10"}},
    {"{monat}|{monatsname}|{mmmm}", {"Januar", "Dezember", "Februar", "Dezember"}},
    {"{m}",              {"1", "12", "2", "12"}},
    {"{monatsname3}|{mmm}", {"Jan", "Dez", "Feb", "Dez"}},
    {"{s}|{sekunde}",    {"7", "58", "9", "0"}},
    {"{ss}|{sekunde0}",  {"07", "58", "09", "00"}},
    {"{n}|{minute}",     {"5", "59", "0", "45"}},
    {"{nn}|{minute0}",   {"05", "59", "00", "45"}},
    {"{stunde}|{h}",     {"9", "23", "14", "18"}},
    {"{stunde0}",        {"09", "23", "14", "18"}},
    {"{tag}|{t}",        {"15", "31", "29", "30"}},
    {"{tag0}|{tt}|{dd}", {"15", "31", "29", "30"}},
    {"{tt-mm-jj}",       {"15-01-26", "31-12-23", "29-02-24", "30-12-25"}},
    {"{tt-mm-jjjj}",     {"15-01-2026", "31-12-2023", "29-02-2024", "30-12-2025"}},
    {"{tt.mm.jj}",       {"15.01.26", "31.12.23", "29.02.24", "30.12.25"}},
    {"{tt.mm.jjjj}",     {"15.01.2026", "31.12.2023", "29.02.2024", "30.12.2025"}},
    {"{uhrzeit}",        {"9:5", "23:59", "14:0", "18:45"}},
    {"{uhrzeit0}",       {"09:05", "23:59", "14:00", "18:45"}},
    {"{wochentag}|{wwww}", {"Donnerstag", "Sonntag", "Donnerstag", "Dienstag"}},
    {"{wochentag2}|{ww}", {"Do", "So", "Do", "Di"}},
};
// clang-format on

TEST_F(VarioTest, JedesDatumsTokenZuJedemZeitpunkt) {
  for (int z = 0; z < 4; ++z) {
    maschine.uhr = QDateTime(kZeiten[z].datum, kZeiten[z].zeit);
    QString alle, erwartetAlle;
    for (const DatumsToken& e : kDatumsTokens) {
      const QString wert = QString::fromUtf8(e.wert[z]);
      for (const QString& token : QString::fromUtf8(e.tokens).split(u'|')) {
        SCOPED_TRACE(std::string(kZeiten[z].name) + " " + token.toStdString());
        EXPECT_EQ(V("<" + token + ">"), "<" + wert + ">");
        // Letter case of the token does not matter.
        EXPECT_EQ(V(token.toUpper()), wert);
        alle += token + u'|';
        erwartetAlle += wert + u'|';
      }
    }
    // All tokens in one text: no replacement disturbs another.
    SCOPED_TRACE(kZeiten[z].name);
    EXPECT_EQ(V(alle), erwartetAlle);
  }
}

TEST_F(VarioTest, FesteTokensOhneDatum) {
  maschine.tick = 4294967295u;
  maschine.label = QStringLiteral("daten archiv   ");
  maschine.ordner = wurzel + "/Arbeit";
  const struct { const char* token; QString wert; } faelle[] = {
      {"{Tab}", "\t"},
      {"{CR}", "\r"},
      {"{LF}", "\n"},
      {"{CRLF}", "\r\n"},
      {"{Back}", "\b"},
      {"{None}", ""},
      {"{Nichts}", ""},
      {"{SysTime}", "4294967295"},
      {"{laufwerk}", ""},
      {"{label}", "Daten Archiv"},
      {"{pfad}", wurzel + "/Arbeit"},
      {"{ordner_cur}", wurzel + "/Arbeit"},
      {"{ordner_app}", prgOrdner},
      {"{ordner_prg}", prgOrdner},
      {"{ordner_dat}", datOrdner},
      {"{ordner_win}", Z_Alles::WindowsOrdner()},
      {"{ordner_sys}", Z_Alles::SystemOrdner()},
      {"{PrgTitel}", "Dormiks-Skribon"},
      {"{PrgName}", "Skribon"},
  };
  for (const auto& f : faelle) {
    SCOPED_TRACE(f.token);
    EXPECT_EQ(V(QString("[") + f.token + "]"), "[" + f.wert + "]");
    EXPECT_EQ(V(QString(f.token).toLower()), f.wert);
  }
  EXPECT_FALSE(Z_Alles::WindowsOrdner().isEmpty());
}

TEST_F(VarioTest, EingesetzteWerteWerdenNichtNochmalsErsetzt) {
  // The folder is inserted before the date tokens run: a token inside it is expanded, but the
  // control tokens, already done, stay.
  maschine.ordner = "/daten/{Tab}/{tag}";
  EXPECT_EQ(V("{pfad}"), "/daten/{Tab}/15");
  // A value holding its own token is inserted once.
  Z_Vario::VarioText = "a{x}b{X}";
  Z_Vario::PlatzhalterErsetzen("{x}", "{x}{x}");
  EXPECT_EQ(Z_Vario::VarioText, "a{x}{x}b{x}{x}");
}

TEST_F(VarioTest, ZufallszahlenJeTokenEigeneZahl) {
  struct Fall { QList<double> r; const char* text; const char* erwartet; };
  const Fall faelle[] = {
      {{0.5, 0.5, 0.5, 0.5, 0.5, 0.5, 0.5, 0.5},
       "{zufall1} {zufall2} {zufall3} {zufall4} {zufall5} {zufall6} {zufall7} {zufall8}",
       "5 50 500 5000 50000 500000 5000000 50000000"},
      {{0.0, 0.0}, "{zufall1}{zufall8}", "000000000"},
      {{0.96}, "{zufall1}", "10"},           // rounded: reaches 10 to the power N
      {{0.1, 0.2}, "{zufall1} {zufall2} {zufall1}", "1 20 1"},  // one draw per token
      {{0.0123}, "{zufall3}", "012"},
  };
  for (const Fall& f : faelle) {
    SCOPED_TRACE(f.text);
    maschine.werte.clear();
    for (double r : f.r) maschine.werte.enqueue(r);
    EXPECT_EQ(V(f.text), f.erwartet);
  }
  // With the machine's own sequence: always a whole number from 0 to 10.
  maschine.werte.clear();
  for (int i = 0; i < 200; ++i) {
    bool ok = false;
    const int z = V("{zufall1}").toInt(&ok);
    ASSERT_TRUE(ok);
    EXPECT_TRUE(z >= 0 && z <= 10) << z;
  }
}

TEST_F(VarioTest, EineReferenzzeitJeAufruf) {
  // A clock that moves on with every look: all tokens of one call still agree.
  class LaufendeUhr : public SkriptSystem {
  public:
    QDateTime jetzt() override { uhr = uhr.addSecs(1); return uhr; }
  } laufend;
  laufend.uhr = QDateTime(QDate(2026, 1, 15), QTime(23, 59, 59, 700));
  Plattform::SetzeSystemDienst(&laufend);
  EXPECT_EQ(V("{datum} {hh:mm:ss} {ss} {jjjj-mm-tt} {uhrzeit0}"), "16.1.2026 00:00:00 00 2026-01-16 00:00");
  EXPECT_FALSE(Z_Vario::VarioDatum.isValid());
  EXPECT_EQ(V("{ss}"), "01");  // each call takes the time at its start
  Plattform::SetzeSystemDienst(&maschine);

  // A preset reference time is used and cleared afterwards.
  Z_Vario::VarioDatum = QDateTime(QDate(2000, 7, 4), QTime(8, 0));
  EXPECT_EQ(V("{datum0} {hh:mm}"), "04.07.2000 08:00");
  EXPECT_FALSE(Z_Vario::VarioDatum.isValid());
  EXPECT_EQ(V("{datum0}"), "15.01.2026");
}

TEST_F(VarioTest, TextGrundregeln) {
  maschine.env["HOME"] = "/home/erika";
  const struct { const char* ein; const char* aus; } faelle[] = {
      {"", ""},
      {"Kein Platzhalter", "Kein Platzhalter"},
      {"Pfad: %HOME%", "Pfad: /home/erika"},         // no brace, still the environment pass
      {"{DATUM} {Datum} {datum}", "15.1.2026 15.1.2026 15.1.2026"},
      {"{datum0}-{datum0}", "15.01.2026-15.01.2026"},
      {"{unbekannt} {datum", "{unbekannt} {datum"},   // no token: stays unchanged
      {"{{datum}}", "{15.1.2026}"},
  };
  for (const auto& f : faelle) {
    SCOPED_TRACE(f.ein);
    const QString ein = QString::fromUtf8(f.ein);
    EXPECT_EQ(V(ein), QString::fromUtf8(f.aus));
    EXPECT_EQ(ein, QString::fromUtf8(f.ein));  // the argument is not changed
  }
  EXPECT_EQ(Z_Vario::VarioText, "{15.1.2026}");  // keeps the last result
}

TEST_F(VarioTest, SonntagSpaetUndFruehGleicheWoche) {
  Uhr(2026, 1, 4, 23, 0, 0);
  const QString spaet = V("{kw}");
  Uhr(2026, 1, 4, 1, 0, 0);
  EXPECT_EQ(V("{kw}"), spaet);
  EXPECT_EQ(spaet, "01");
}

TEST_F(VarioTest, KalenderwocheNachIso8601) {
  EXPECT_EQ(Z_Vario::Kalenderwoche(QDate(2021, 1, 1)), 53);
  EXPECT_EQ(Z_Vario::Kalenderwoche(QDate(2021, 1, 4)), 1);
  EXPECT_EQ(Z_Vario::Kalenderwoche(QDate()), 0);
  for (QDate d(1980, 1, 1); d <= QDate(2060, 12, 31); d = d.addDays(1))
    ASSERT_EQ(Z_Vario::Kalenderwoche(d), d.weekNumber()) << d.toString(Qt::ISODate).toStdString();
}

// The token search against Qt's own, on texts thick with braces and with characters that share
// a brace's low byte (Ż, Ž).
TEST_F(VarioTest, SucheFindetWasIndexOfFindet) {
  std::mt19937 zufall(4711);
  const QString alphabet = QString::fromUtf8("{}ab%ŻŽ");
  auto wort = [&](int laenge) {
    QString w;
    for (int i = 0; i < laenge; ++i) w += alphabet[int(zufall() % alphabet.size())];
    return w;
  };
  for (int runde = 0; runde < 400; ++runde) {
    QString text = wort(int(zufall() % 3000));
    if (runde % 2) text = QString(int(zufall() % 2000), u'{') + text;  // dense braces first
    const QString token = wort(1 + int(zufall() % 6));
    for (qsizetype von : {qsizetype(0), qsizetype(1), text.size() / 2, text.size()}) {
      ASSERT_EQ(Z_Vario::Intern::Finden(text, token, von), text.indexOf(token, von))
          << token.toStdString() << " ab " << von;
    }
  }
  EXPECT_EQ(Z_Vario::Intern::Finden("abc", "", 0), -1);
  EXPECT_EQ(Z_Vario::Intern::Finden("ab", "abc", 0), -1);
}

TEST_F(VarioTest, KlammerInhalt) {
  const struct { const char* text; const char* praefix; int modus; const char* aus; } faelle[] = {
      {"a {Counter12} b", "Counter", 2, "12"},
      {"a {Counter12} b", "Counter", 1, "{counter12}"},
      {"a {Counter12} b", " {COUNTER ", 7, "12"},
      {"{counterAB} {counter2}", "counter", 2, "ab"},     // first occurrence, lower case
      {"{counter} {counter2}", "counter", 2, ""},
      {"{counter5", "counter", 2, ""},                    // no closing brace
      {"{counter5", "counter", 1, ""},
      {"kein Zähler", "counter", 2, ""},
      {"{x}", "{", 2, ""},
      {"{x}", "", 1, ""},
      {"} {index:a,1}", "index:", 2, "a,1"},
  };
  for (const auto& f : faelle) {
    SCOPED_TRACE(std::string(f.text) + " / " + f.praefix);
    EXPECT_EQ(Z_Vario::KlammerInhalt(QString::fromUtf8(f.text), f.praefix, f.modus), QString::fromUtf8(f.aus));
  }
}

TEST_F(VarioTest, Umgebungsvariablen) {
  maschine.env["HOME"] = "/home/erika";
  maschine.env["NAME"] = "Erika";
  maschine.env["ZEIGER"] = "%NAME%";
  for (int i = 1; i <= 9; ++i) maschine.env[QString("V%1").arg(i)] = QString::number(i);
  const struct { const char* ein; const char* aus; } faelle[] = {
      {"%HOME%/x", "/home/erika/x"},
      {"%home% und %Home%", "/home/erika und /home/erika"},   // names without regard to case
      {"%NAME%, %NAME%!", "Erika, Erika!"},
      {"%GIBTSNICHT%x", "x"},
      {"100%% sicher", "100 sicher"},                          // a double sign disappears
      {"%ERRORLEVEL% %HOME%", "%ERRORLEVEL% %HOME%"},           // stays, and blocks the rest
      {"% HOME % %NAME%", "% HOME % %NAME%"},                   // padded name blocks too
      {"50 % Rabatt", "50 % Rabatt"},                           // no partner
      {"%", "%"},
      {"%V1%%V2%%V3%%V4%%V5%%V6%%V7%%V8%%V9%", "12345678%V9%"}, // at most eight rounds
      {"%ZEIGER%", "Erika"},                                   // a value's own pair, next round
      {"{datum} %NAME%", "15.1.2026 Erika"},
  };
  for (const auto& f : faelle) {
    SCOPED_TRACE(f.ein);
    EXPECT_EQ(V(f.ein), f.aus);
  }
  EXPECT_EQ(Z_Vario::UmgebungErsetzen("%NAME%"), "Erika");
}

TEST_F(VarioTest, NurWennVorhanden) {
  DateiSchreiben(subOrdner + "/Dormik.ini", "[Allgemein]\r\nUser=Erika Muster\r\n");
  EXPECT_EQ(V("Von {USERNAME}"), "Von Erika Muster");
  EXPECT_EQ(V("{dormik.ini}"), Z_Alles::IniDateiPfad(QString()));
  EXPECT_TRUE(V("{dormik.ini}").startsWith(subOrdner + "/")) << V("{dormik.ini}").toStdString();

  const QRegularExpression guid("^\\{[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}\\}$");
  const QString g1 = V("{guid}"), g2 = V("{Guid}");
  EXPECT_TRUE(guid.match(g1).hasMatch()) << g1.toStdString();
  EXPECT_NE(g1, g2);
  const QString zwei = V("{guid} {guid}");  // one value per call
  EXPECT_EQ(zwei.left(38), zwei.mid(39));
}

TEST_F(VarioTest, IdSteigtAuchBeiGleicherZeit) {
  Uhr(2026, 1, 15, 9, 5, 7);
  maschine.tick = 5000;
  const double sekunden = double(QDate(1901, 1, 1).daysTo(QDate(2026, 1, 15))) * 86400 + 9 * 3600 + 5 * 60 + 7;
  const QString erste = QString::number(qint64(sekunden) + 5000);
  for (double r : {0.0, 0.0, 0.5}) maschine.werte.enqueue(r);
  EXPECT_EQ(V("{id}"), erste);
  // Same second, same tick, same random number: the formula repeats, the id does not.
  EXPECT_EQ(V("{ID}"), QString::number(erste.toLongLong() + 1));
  // A larger value from the formula is taken as it is.
  EXPECT_EQ(V("{id}"), QString::number(erste.toLongLong() + 50));
  // Both occurrences in one text get the same id.
  const QString zwei = V("{id}/{id}");
  EXPECT_EQ(zwei.section('/', 0, 0), zwei.section('/', 1, 1));
  EXPECT_GT(zwei.section('/', 0, 0).toLongLong(), erste.toLongLong() + 50);
}

}  // namespace
