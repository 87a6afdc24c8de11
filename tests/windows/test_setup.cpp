// The options window: settings in and out, the colour swatches, every way of closing, Ctrl+F1.
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <gtest/gtest.h>

#include "foundation/dienste.h"
#include "platform/farben.h"
#include "platform/profil.h"
#include "windows/fenster_test.h"
#include "windows/hilfsfenster.h"
#include "windows/setup.h"

namespace {

QColor gewaehlt;
int farbDialoge = 0;
QString farbTitel;
bool farbeWaehlen(QWidget*, const QString& titel, QColor& farbe) {
  ++farbDialoge;
  farbTitel = titel;
  if (!gewaehlt.isValid()) return false;
  farbe = gewaehlt;
  return true;
}
int spezialAufrufe = 0;
bool spezial() {
  ++spezialAufrufe;
  return false;
}

class SetupTest : public FensterTest {
protected:
  void SetUp() override {
    FensterTest::SetUp();
    dienste.farbeWaehlen = &farbeWaehlen;
    dienste.einstellungSpezial = &spezial;
    gewaehlt = QColor();
    farbDialoge = spezialAufrufe = 0;
  }
  static QStringList gespeichert() {
    QStringList l;
    for (const char* k : {"OptBackcolor", "Min2Tray", "PrnUeberschrift", "ForColStd", "ForColEmpty",
                          "ForColCrypt", "ForColAkt"})
      l << ini(k);
    return l;
  }
};

TEST_F(SetupTest, EinstellungenHinUndZurueck) {
  struct Fall {
    const char* name;
    QMap<QString, QString> vorher;  // stored before the window opens
    bool backcolor, tray;
    QString kopf;
    QStringList nachher;  // the seven keys after closing
    bool hinweis;
  };
  const QString std = "-2147483630";
  const Fall faelle[] = {
      {"nichts gespeichert", {}, false, false, "{Name} , Seite {Seite}",
       {"0", "0", "{Name} , Seite {Seite}", std, "10461087", "255", std}, false},
      {"hexadezimal", {{"ForColCrypt", "&HFF0000"}, {"OptBackcolor", "1"}, {"Min2Tray", "-1"}}, true, true,
       "{Name} , Seite {Seite}", {"1", "1", "{Name} , Seite {Seite}", std, "10461087", "16711680", std}, false},
      {"keine Farbe", {{"ForColEmpty", "garbage"}, {"PrnUeberschrift", "Kopf {Seite}"}}, false, false,
       "Kopf {Seite}", {"0", "0", "Kopf {Seite}", std, "10461087", "255", std}, true},
  };
  for (const Fall& f : faelle) {
    QFile::remove(Z_Alles::IniDateiPfad({}));
    Plattform::ProfilCacheLeeren();
    for (auto it = f.vorher.cbegin(); it != f.vorher.cend(); ++it) Z_Alles::IniSchreiben({}, {}, it.key(), it.value());
    ::Setup s;
    EXPECT_EQ(s.SSTab1->currentIndex(), 0) << f.name;
    EXPECT_EQ(s.strgOptBackcolor->isChecked(), f.backcolor) << f.name;
    EXPECT_EQ(s.strgMin2Tray->isChecked(), f.tray) << f.name;
    EXPECT_EQ(s.txtÜberschrift->text(), f.kopf) << f.name;
    EXPECT_EQ(!s.bezFarbHinweis->isHidden(), f.hinweis) << f.name;
    if (f.hinweis) {
      EXPECT_TRUE(s.bezFarbHinweis->text().contains("»garbage«"));
    }
    EXPECT_EQ(s.befNoForCol[2]->palette().color(QPalette::ButtonText),
              Plattform::ZuQColor(Plattform::FarbZahlLesen(f.nachher[5])))
        << f.name;
    s.befOk->click();
    EXPECT_EQ(gespeichert(), f.nachher) << f.name;
    EXPECT_FALSE(s.isVisible());
  }
}

TEST_F(SetupTest, FarbwahlSchliessenUndTasten) {
  {
    // A chosen colour is kept by the close box; a cancelled dialog changes nothing.
    ::Setup s;
    s.show();
    gewaehlt = QColor(0x12, 0x34, 0x56);
    s.befNoForCol[1]->click();
    EXPECT_EQ(farbTitel, "Notiz-Farbe für Ohne Inhalt...");
    EXPECT_EQ(haupt.belegungen, 1) << "the tabs are repainted at once";
    gewaehlt = QColor();
    s.befNoForCol[2]->click();
    EXPECT_EQ(haupt.belegungen, 1);
    s.strgMin2Tray->setChecked(true);
    EXPECT_EQ(ini("ForColEmpty"), "?") << "written only on closing";
    EXPECT_FALSE(s.close());
    EXPECT_FALSE(s.isVisible());
    EXPECT_EQ(ini("ForColEmpty"), QString::number(0x563412));
    EXPECT_EQ(ini("ForColCrypt"), "255");
    EXPECT_EQ(ini("Min2Tray"), "1");
  }
  {
    // Esc saves like OK, never a silent discard.
    ::Setup s;
    s.show();
    s.txtÜberschrift->setText("Neu {Seite}");
    QTest::keyClick(s.txtÜberschrift, Qt::Key_Escape);
    EXPECT_FALSE(s.isVisible());
    EXPECT_EQ(ini("PrnUeberschrift"), "Neu {Seite}");
  }
  // Ctrl+F1 alone opens the special settings box.
  ::Setup s;
  s.show();
  s.txtÜberschrift->setFocus();
  QTest::keyRelease(s.txtÜberschrift, Qt::Key_F1, Qt::ControlModifier);
  EXPECT_EQ(spezialAufrufe, 1);
  QTest::keyRelease(s.txtÜberschrift, Qt::Key_F1);
  QTest::keyRelease(&s, Qt::Key_F1, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(spezialAufrufe, 1);
  s.hide();

  // The main window's command: page "Farben", then the tab colours once more.
  Hilfsfenster::Registrieren();
  int seite = -1;
  WennModal([&](QWidget* w) {
    seite = static_cast<::Setup*>(w)->SSTab1->currentIndex();
    static_cast<::Setup*>(w)->befOk->click();
  });
  const int vorher = haupt.belegungen;
  ASSERT_NE(haupt.befehl("Einstellungen..."), nullptr);
  haupt.befehl("Einstellungen...")->action->trigger();
  EXPECT_EQ(seite, 1);
  EXPECT_EQ(haupt.belegungen, vorher + 1);
}

}  // namespace
