// Durations, scaled numbers, byte sizes, masks, names, the user's name and the GUID.
#include <QRegularExpression>

#include "foundation/z_alles.h"
#include "support/fixture.h"

using namespace Z_Alles;

class ZahlenNamen : public Testhilfe::SkribonTest {};

TEST(Zahlen, DauerText) {
  struct Fall { double sekunden; int modus; QString text; };
  const Fall faelle[] = {
      {0, 0, "0 Sekunden"},       {1, 0, "1 Sekunde"},         {1, 1, "1 Sek"},
      {45, 0, "45 Sekunden"},     {59, 1, "59 Sek"},           {60, 1, "1 Min"},
      {90, 1, "1,5 Min"},         {90, 0, "1,5 Minuten"},      {-120, 1, "2 Min"},
      {3600, 0, "1 Stunden"},     {5400, 2, "1,5 Stunden"},    {7200, 1, "2 Std"},
      {86400, 1, "1 Tg"},         {3 * 86400 + 43200, 0, "3,5 Tage"},
      {365 * 86400.0, 1, "1 J"},  {2 * 365 * 86400.0, 0, "2 Jahre"},
      {1e12, 1, "68,1 J"},        // capped at 2147483000 seconds
      {119.99, 1, "2 Min"},       // rounded before the decimal is chosen
  };
  for (const Fall& f : faelle)
    EXPECT_EQ(DauerText(f.sekunden, f.modus), f.text) << f.sekunden << " / " << f.modus;
  EXPECT_EQ(DauerText(std::numeric_limits<double>::infinity(), 1), "68,1 J");
  EXPECT_EQ(DauerText(std::nan(""), 1), "?");
}

TEST(Zahlen, ZahlMitEinheit) {
  struct Fall { double wert; int modus; QString text; };
  const Fall faelle[] = {
      {5, 0, "5 "},            {999, 0, "999 "},          {-7, 0, "7 "},
      {0.5, 0, "0,5 "},        {0.05, 0, "0,05 "},        {0.005, 0, "0,005 "},
      {0, 0, "0,000 "},        {1234, 0, "1 k"},          {2500000, 0, "3 M"},
      {2500000, 1, "3 Mio"},   {7.2e9, 1, "7 Mrd"},       {4e12, 1, "4 Bio"},
      {5e15, 1, "5 Brd"},      {5e18, 1, "5000 Brd"},     {1500, 1, "2 Tsd"},
      {3e15, 0, "3 p"},        {1e30, 0, "1000000 Yotta"}, {1e21, 0, "1 Zetta"},
  };
  for (const Fall& f : faelle)
    EXPECT_EQ(ZahlMitEinheit(f.wert, f.modus), f.text) << f.wert << " / " << f.modus;
  EXPECT_EQ(ZahlMitEinheit(std::numeric_limits<double>::infinity(), 0), "? ");
}

TEST(Zahlen, BytesTextUndZahlFormat) {
  struct Fall { double bytes; QString text; };
  const Fall faelle[] = {
      {0, "0 "},          {1023, "1023 "},      {-1, "-1 "},          {1024, "1 K"},
      {1536, "1,5 K"},    {1024 * 1024 * 2.25, "2,25 M"},             {1048575, "1.024 K"},
      {1e9, "953,67 M"},  {1099511627776.0, "1 T"},                   {1234.0, "1,21 K"},
  };
  for (const Fall& f : faelle) EXPECT_EQ(BytesText(f.bytes), f.text) << f.bytes;

  struct Maske { double wert; QString maske, text; };
  const Maske masken[] = {
      {1234, "0000000", "   1234"}, {0, "0000000", "      0"}, {5.5, "000.00", "  5,50"},
      {0.25, "000.00", "  0,25"},   {-12, "0000", " -12"},     {12345678, "0000", "12345678"},
  };
  for (const Maske& m : masken) EXPECT_EQ(ZahlFormat(m.wert, m.maske), m.text) << m.wert;
}

TEST_F(ZahlenNamen, DatumUndNamen) {
  EXPECT_EQ(DatumName(1, "WT"), "Sonntag");
  EXPECT_EQ(DatumName(5, "wt"), "Donnerstag");
  EXPECT_EQ(DatumName(7, "Wt"), "Samstag");
  EXPECT_EQ(DatumName(0, "WT"), "");
  EXPECT_EQ(DatumName(8, "WT"), "");
  EXPECT_EQ(DatumName(3, "XY"), "");
  EXPECT_EQ(DatumsStempel(0), "26.01");
  system.uhr = QDateTime(QDate(2009, 11, 3), QTime(8, 0));
  EXPECT_EQ(DatumsStempel(0), "09.11");

  struct Fall { QString roh, ergebnis; };
  const Fall faelle[] = {
      {"hans VON der müller", "Hans von der Müller"},
      {"ANNA-LENA schmidt", "Anna-lena Schmidt"},
      {"straße und weg", "Straße und Weg"},
      {"über den wolken", "über den Wolken"},
      {"  zwei  blanks ", "  Zwei  Blanks "},
      {"haus am see für alle", "Haus am See für Alle"},
      {"", ""},
  };
  for (const Fall& f : faelle) EXPECT_EQ(NameSchreibweise(f.roh), f.ergebnis) << f.roh.toStdString();
}

TEST_F(ZahlenNamen, BenutzernameQuellen) {
  IniSchreiben("", "Allgemein", "User", "Erika Mustermann");
  EXPECT_EQ(Benutzername(), "Erika Mustermann");

  IniSchreiben("", "Allgemein", "User", "");
  system.login = "  max muster ";
  EXPECT_EQ(Benutzername(), "Max Muster");
  EXPECT_EQ(WindowsAnmeldename(), "max muster");

  system.login.clear();
  system.env["STATION"] = "platz 7";
  EXPECT_EQ(Benutzername(), "Platz 7");
  system.env["userid"] = "kennung";
  EXPECT_EQ(Benutzername(), "Kennung");  // USERID comes before Station
  EXPECT_TRUE(dialoge.gezeigt.isEmpty());
}

TEST_F(ZahlenNamen, BenutzernameWirdEinmalErfragt) {
  system.login.clear();
  dialoge.eingabe("", true);  // cancelled
  EXPECT_EQ(Benutzername(), "");
  EXPECT_EQ(Benutzername(), "");  // no second prompt in this run
  EXPECT_EQ(dialoge.gezeigt.size(), 1);
  EXPECT_TRUE(dialoge.gezeigt[0].eingabe);

  ZustandZuruecksetzen();
  dialoge.eingabe("  Lisa Lustig ");
  EXPECT_EQ(Benutzername(), "Lisa Lustig");
  EXPECT_EQ(IniLesen("", "Allgemein", "User"), "Lisa Lustig");
  EXPECT_EQ(Benutzername(), "Lisa Lustig");
  EXPECT_EQ(dialoge.gezeigt.size(), 2);
}

TEST_F(ZahlenNamen, Guid) {
  const QRegularExpression form("^\\{[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}\\}$");
  const QString a = NeueGuid(), b = NeueGuid();
  EXPECT_TRUE(form.match(a).hasMatch()) << a.toStdString();
  EXPECT_NE(a, b);
  const QString g = UserGUID();
  EXPECT_TRUE(form.match(g).hasMatch());
  EXPECT_EQ(IniLesen("", "Allgemein", "UserGUID"), g);
  EXPECT_EQ(UserGUID(), g);
  IniSchreiben("", "Allgemein", "UserGUID", "{VORHANDEN}");
  EXPECT_EQ(UserGUID(), "{VORHANDEN}");
}
