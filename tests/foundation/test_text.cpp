// Text helpers: replace-all, message markup, inserting into editors, Z_String.
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>

#include "foundation/z_alles.h"
#include "support/fixture.h"

using namespace Z_Alles;

class Text : public Testhilfe::SkribonTest {};

TEST(Ersetzen, Faelle) {
  struct Fall { QString text, suchen, ersatz, ergebnis; };
  const Fall faelle[] = {
      {"a-b-c", "-", "+", "a+b+c"},
      {"Hallo WELT, hallo welt", "welt", "Du", "Hallo Du, hallo Du"},
      {"aa", "a", "aa", "aaaa"},                  // the insert is not searched again
      {"abab", "ab", "xaby", "xabyxaby"},
      {"xxx", "x", "", ""},
      {"aaa", "aa", "b", "ba"},                   // left to right, no overlap
      {"text", "", "x", "text"},                  // empty search: unchanged
      {"", "a", "b", ""},
      {"kurz", "länger als der Text", "x", "kurz"},
      {"STRASSE straße", "straße", "Weg", "STRASSE Weg"},
      {"{DATUM}", "{datum}", "heute", "heute"},
  };
  for (const Fall& f : faelle)
    EXPECT_EQ(Ersetzen(f.text, f.suchen, f.ersatz), f.ergebnis) << f.text.toStdString();
  const QString original = "abc";
  Ersetzen(original, "b", "x");
  EXPECT_EQ(original, "abc");
}

TEST_F(Text, MeldungsText) {
  struct Fall { QString roh, ergebnis; };
  const Fall faelle[] = {
      {"   Hallo~Welt", "Hallo\r\nWelt"},
      {"Spalte^tWert^T!", "Spalte\tWert\t!"},
      {"Heute ist der {datum}.", "Heute ist der 15.01.2026."},
      {"Stand {DATUM}", "Stand 15.01.2026"},
      {"Zeile ~weiter", "Zeile\r\nweiter"},
      {"Die Datei ´Skribon.inf´ fehlt.", "Die Datei »Skribon.inf« fehlt."},
      {"`eins` und `zwei`", "»eins« und »zwei«"},
      {"nur ein ´ Akzent", "nur ein ´ Akzent"},
      {"´a´ `b` ´c", "»a« »b« ´c"},
      {"a~~~b", "a\r\n\r\nb"},
      {"a~~~~~~b", "a\r\n\r\nb"},
      {"a~~b", "a\r\n\r\nb"},
      {"", ""},
  };
  for (const Fall& f : faelle) EXPECT_EQ(MeldungsText(f.roh), f.ergebnis) << f.roh.toStdString();
  // Values go in after the markup, as they are, and once.
  struct MitWerten { QString vorlage; QStringList werte; QString ergebnis; };
  const MitWerten mitWerten[] = {
      {"Ordner ´%1´~%2", {"/home/a~b/´x´", "%1 ~"}, "Ordner »/home/a~b/´x´«\r\n%1 ~"},
      {"19% auf %3, 100%", {"x"}, "19% auf %3, 100%"},
      {"%2%1", {"a", "b"}, "ba"},
      {"Ende %", {}, "Ende %"},
  };
  for (const MitWerten& f : mitWerten)
    EXPECT_EQ(MeldungsText(f.vorlage, f.werte), f.ergebnis) << f.vorlage.toStdString();
}

TEST_F(Text, TextEinfuegenErsetztDieAuswahl) {
  QPlainTextEdit plain;
  plain.setPlainText("Hallo Welt!");
  QTextCursor c = plain.textCursor();
  c.setPosition(6);
  c.setPosition(10, QTextCursor::KeepAnchor);
  plain.setTextCursor(c);
  TextEinfuegen(&plain, "Du");
  EXPECT_EQ(plain.toPlainText(), "Hallo Du!");
  EXPECT_EQ(plain.textCursor().position(), 8);
  EXPECT_FALSE(plain.textCursor().hasSelection());

  QTextEdit reich;
  reich.setPlainText("abc");
  QTextCursor r = reich.textCursor();
  r.setPosition(1);
  reich.setTextCursor(r);
  TextEinfuegen(&reich, "<b>");
  EXPECT_EQ(reich.toPlainText(), "a<b>bc");  // inserted as plain text
  EXPECT_EQ(reich.textCursor().position(), 4);

  QLineEdit zeile("12 + 3");
  zeile.setSelection(0, 2);
  TextEinfuegen(&zeile, "sin(");
  EXPECT_EQ(zeile.text(), "sin( + 3");
  EXPECT_EQ(zeile.cursorPosition(), 4);

  TextEinfuegen(nullptr, "x");  // no box: nothing happens
}

TEST(ZString, TrimmenZaehlenSchneiden) {
  EXPECT_EQ(Z_String::RTrimZeichen("a.txt; ; ;", "; "), "a.txt");
  EXPECT_EQ(Z_String::RTrimZeichen(";;;", ";"), "");
  EXPECT_EQ(Z_String::RTrimZeichen("abc", ""), "abc");

  EXPECT_EQ(Z_String::AnzahlVorkommen("<p>Text<P>mehr<p>", "<p>"), 3);
  EXPECT_EQ(Z_String::AnzahlVorkommen("aaaa", "aa"), 2);
  EXPECT_EQ(Z_String::AnzahlVorkommen("abc", ""), 0);
  EXPECT_EQ(Z_String::AnzahlVorkommen("", "a"), 0);

  struct Fall { QString text, start, ende, ergebnis; };
  const Fall faelle[] = {
      {"a<b>c<i>d", "<", ">", "ac<i>d"},
      {"vor<!-- x -->nach<!-- y -->", "<!--", "-->", "vornach<!-- y -->"},
      {"A<SCRIPT>x</script>B", "<script>", "</SCRIPT>", "AB"},
      {"ohne Ende <", "<", ">", "ohne Ende <"},
      {"ohne Anfang >", "<", ">", "ohne Anfang >"},
      {"x>y<z", "<", ">", "x>y<z"},   // the end marker must follow the start marker
      {"abc", "", ">", "abc"},
  };
  for (const Fall& f : faelle)
    EXPECT_EQ(Z_String::AbschnittEntfernen(f.text, f.start, f.ende), f.ergebnis) << f.text.toStdString();
}

TEST(ZString, HtmlUndLeerraum) {
  EXPECT_EQ(Z_String::HtmlZuText("<p>Gr&ouml;&szlig;e:&nbsp;&gt; 5 &amp; &quot;gut&quot;</p>", true),
            "Größe: > 5 & \"gut\"");
  EXPECT_EQ(Z_String::HtmlZuText("&auml;&uuml; &amp;gt;", true), "äü &gt;");
  EXPECT_EQ(Z_String::HtmlZuText("a\r\n<b>b</b>    c", true), "a\r\nb c");
  EXPECT_EQ(Z_String::HtmlZuText("a\r\nb\nc", false), "a b c");
  EXPECT_EQ(Z_String::HtmlZuText("1 < 2", true), "1 < 2");

  EXPECT_EQ(Z_String::ZeilenumbruecheTrimmen("\r\n\r\nA\r\n\r\n\r\n\r\nB\r\nC\r\n"), "A\r\n\r\nB\r\nC");
  EXPECT_EQ(Z_String::ZeilenumbruecheTrimmen("\nA\n\n\n\nB\n"), "A\n\nB");
  EXPECT_EQ(Z_String::ZeilenumbruecheTrimmen("\r\n\r\n"), "");

  EXPECT_EQ(Z_String::LeerraumNormalisieren("  \r\n Titel  \r\n   Text \r\n Ende  \r\n"),
            "Titel\r\nText\r\nEnde");
  EXPECT_EQ(Z_String::LeerraumNormalisieren("a  b"), "a  b");
  EXPECT_EQ(Z_String::LeerraumNormalisieren(" \r\n "), "");
}
