// Mail: the address check, the prepared mail, the "mailto:" text, the mail program's command,
// and what the Mailer hands to the desktop or starts.
#include <gtest/gtest.h>

#include "foundation/z_alles.h"
#include "platform/dialoge.h"
#include "services/mail.h"
#include "support/fixture.h"
#include "dienste_test.h"  // resets the services between tests

namespace {

class MailTest : public Testhilfe::SkribonTest {
protected:
  void SetUp() override {
    SkribonTest::SetUp();
    ini("[Allgemein]\r\nUser=Max Muster\r\n");
  }
  void ini(const QByteArray& inhalt) { DateiSchreiben(subOrdner + "/Dormik.ini", inhalt); }
};

TEST_F(MailTest, AdressPruefung) {
  const struct { const char* adresse; bool gut; } faelle[] = {
      {"ab", false},           {"a@b.c", true},          {"x+y_z@sub.beispiel.de", true},
      {"abc", false},          {"a@bcd", false},         {"a.b@cd", false},
      {"a@.bc", false},        {"a@b.c.", false},        {"a@b@c.de", false},
      {"a b@c.de", false},     {"a/b@c.de", false},      {"a*b@c.de", false},
      {"müller@x.de", false},  {"a\tb@c.de", false},     {"http://a@b.de", false},
  };
  for (const auto& f : faelle)
    EXPECT_EQ(Z_Alles::EmailPrüfen(QString::fromUtf8(f.adresse)), f.gut) << f.adresse;
}

TEST_F(MailTest, VorbereitungUndMailtoText) {
  Z_V_Allgemein::MailFuss = "--\r\nFuß";
  const struct { const char *an, *betreff, *text, *url; } faelle[] = {
      {" Info@X.de ", "Frage? Ja.", "50% Rabatt #1\r\nZeile \"zwei\" C:\\pfad & Grüße",
       "mailto:info@x.de?subject=Frage%3F%20Ja%2E&body=50%25%20Rabatt%20%231%0D%0AZeile%20%27zwei%27"
       "%20C%3A%5Cpfad%20%26%20Gr%C3%BC%C3%9Fe"},
      // Leading and trailing line ends go; the signature brings two line breaks and the footer.
      {"a@b.de", "", "\r\n\r\nGruß{signatur}\r\n",
       "mailto:a@b.de?subject=eMail%20von%20Max%20Muster&body=Gru%C3%9F%0D%0A%0D%0A--%0D%0AFu%C3%9F"},
      // An address cannot add fields of its own; a subject is one line.
      {"x@y.de?body=boese&cc=z@w.de#", "Zeile\r\neins\nzwei", "",
       "mailto:x@y.de%3Fbody=boese%26cc=z@w.de%23?subject=Zeile%20eins%20zwei"},
      {"a@b.de", "<b>{x}|`^", "~", "mailto:a@b.de?subject=%3Cb%3E%7Bx%7D%7C%60%5E"},
  };
  for (const auto& f : faelle) {
    SCOPED_TRACE(f.url);
    const auto m = Z_Alles::MailVorbereiten(QString::fromUtf8(f.an), QString::fromUtf8(f.betreff),
                                            QString::fromUtf8(f.text));
    EXPECT_EQ(Z_Alles::MailtoAdresse(m), QString::fromUtf8(f.url));
  }
}

TEST_F(MailTest, BefehlAusVorlage) {
  Z_Alles::MailTeile m;
  m.an = "a@b.de";
  m.betreff = "x {To} \"q\"";
  m.text = "rm -rf ~; $(reboot) {BodyAsFile}";
  const struct { const char* vorlage; QStringList befehl; } faelle[] = {
      {"\"/opt/mail prog/mailer\" -compose \"to={TO},subject={sub}\" --body {Body} {Attach} {tocc}"
       " --file={BodyAsFile} {Unbekannt} \"\"",
       {"/opt/mail prog/mailer", "-compose", "to=a@b.de,subject=x {To} \"q\"", "--body",
        "rm -rf ~; $(reboot) {BodyAsFile}", "--file=/t/body.tmp", "{Unbekannt}", ""}},
      {"mailer {SendMode}{from}", {"mailer"}},
      {"", {}},
  };
  for (const auto& f : faelle)
    EXPECT_EQ(Z_Alles::MailBefehl(f.vorlage, m, "/t/body.tmp"), f.befehl) << f.vorlage;
}

// Empty values (a mail from a link has no body and no attachment) never shift the arguments:
// what the template quotes stays an argument; an unquoted placeholder that comes out empty is
// gone, as on any command line.
TEST_F(MailTest, LeereWerteVerschiebenKeineArgumente) {
  Z_Alles::MailTeile m;
  m.an = "a@b.de";
  m.betreff = "s";
  const struct { const char* vorlage; QStringList befehl; } faelle[] = {
      {"m --sub \"{Sub}\" --body \"{Body}\" --att \"{Attach}\" --cc \"{tocc}\"",
       {"m", "--sub", "s", "--body", "", "--att", "", "--cc", ""}},
      {"m \"{SendMode}{from}\" {tobcc} \"--att={Attach}\" x\"{Body}\"",
       {"m", "", "--att=", "x"}},
      {"m \"{To}\"{Attach} {Body}{Attach} -z", {"m", "a@b.de", "-z"}},
  };
  for (const auto& f : faelle)
    EXPECT_EQ(Z_Alles::MailBefehl(f.vorlage, m, {}), f.befehl) << f.vorlage;
}

TEST_F(MailTest, MailerUebergibtAnDesktopOderMailprogramm) {
  // No template: the desktop's mail handler, then half a second for it.
  EXPECT_TRUE(Z_Alles::Mailer("A@B.de", "Betreff", "Text"));
  EXPECT_EQ(shell.geoeffnet, QStringList{"mailto:a@b.de?subject=Betreff&body=Text"});
  EXPECT_DOUBLE_EQ(system.gewartet, 0.5);

  // "$NoSend" sends nothing at all.
  EXPECT_FALSE(Z_Alles::Mailer(" $NOSEND", "x", "y"));
  EXPECT_EQ(shell.geoeffnet.size(), 1);

  // A template: the program with its arguments, the body in its file, the stored wait.
  ini("[Allgemein]\r\nUser=Max\r\n[Verknüpfung]\r\nMailerSendExtern=mailer --to {To} --text {BodyAsFile}\r\n");
  system.gewartet = 0;
  EXPECT_TRUE(Z_Alles::Mailer("a@b.de", "s", "Zeile 1~Zeile 2"));
  ASSERT_EQ(shell.gestartet.size(), 1);
  const QString datei = tmpOrdner + "/MailerSendExternBody.tmp";
  EXPECT_EQ(shell.gestartet[0].programm, "mailer");
  EXPECT_EQ(shell.gestartet[0].argumente, QStringList({"--to", "a@b.de", "--text", datei}));
  EXPECT_EQ(DateiLesen(datei), "Zeile 1\r\nZeile 2\r\n");
  EXPECT_NEAR(system.gewartet, 1.001, 1e-6);
  EXPECT_EQ(Z_Alles::IniLesen({}, "Verknüpfung", "MailerSendExternWaitMS"), "1001");

  // A mail program that cannot start: the error handler says so, the result is false.
  shell.ergebnis = false;
  dialoge.antwort(Plattform::vbNo);
  EXPECT_FALSE(Z_Alles::Mailer("a@b.de", "s", "t"));
  ASSERT_EQ(dialoge.gezeigt.size(), 1);
  EXPECT_TRUE(dialoge.gezeigt[0].text.contains("'eMail versenden (Mailer)'"));
  EXPECT_TRUE(dialoge.gezeigt[0].text.contains("»mailer«"));
}

TEST_F(MailTest, FehlendeAnlageUndFehlerbericht) {
  dialoge.antwort(Plattform::vbOK);
  EXPECT_TRUE(Z_Alles::Mailer("a@b.de", "s", "t", false, "/gibt/es/nicht.pdf"));
  ASSERT_EQ(dialoge.gezeigt.size(), 1);
  EXPECT_TRUE(dialoge.gezeigt[0].text.contains("»/gibt/es/nicht.pdf«"));

  EXPECT_TRUE(Z_Alles::FehlerberichtSenden("Fehler 53"));
  EXPECT_TRUE(shell.geoeffnet.last().startsWith("mailto:info@dormiks-programme.de?subject=Fehlerbericht%20"));
  EXPECT_TRUE(shell.geoeffnet.last().endsWith("&body=Fehler%2053"));
}

TEST_F(MailTest, Fusszeile) {
  system.uhr = QDateTime(QDate(2026, 3, 7), QTime(8, 0));
  const QString linie = QString(50, u'_') + "\r\n\r\n";
  EXPECT_EQ(Z_V_Allgemein::MailFussText(),
            linie + "Dormiks-Programme\r\nSkribon, Varnisch, Ostrup und Lumetrix\r\n"
                    "Internet: https://www.dormiks-programme.de/\r\neMail: info@dormiks-programme.de\r\n" +
                linie + "Wenn Sie Bezug auf diese eMail nehmen, dann bitte\r\n"
                        "diesen Text mit an die Antwort haengen.   Danke.\r\n" +
                linie + "eMail vom 07.03.2026");
}

}  // namespace
