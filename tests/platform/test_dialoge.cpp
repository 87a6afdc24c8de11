#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <QDialogButtonBox>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QScreen>
#include <QScrollBar>
#include <functional>
#include <memory>

#include "platform/dialoge.h"
#include "platform/uebersetzung.h"

using namespace Plattform;

namespace {

// Shows a real box, hands it to tun once it is up, returns what zeigen returns.
template <typename F>
auto MitBox(F zeigen, const std::function<void(QWidget*)>& tun) {
  SetzeDialogDienst(nullptr);
  QTimer::singleShot(0, [&] { tun(QApplication::activeModalWidget()); });
  return zeigen();
}

// A key as the keyboard sends it: to the widget with the focus.
void Taste(QWidget* box, Qt::Key taste) { QTest::keyClick(box->focusWidget() ? box->focusWidget() : box, taste); }

}  // namespace

// Return answers with the caller's default button (the first where it names none of the box's),
// also after Help, which opens the help and leaves the box open; Esc and the frame's close
// button give the safe answer, never "Ja".
TEST(EchteMeldung, ReturnVorgabeHilfeUndEsc) {
  static int thema = 0;
  SetzeHilfeAufruf([](int t) { thema = t; });
  const struct { int knoepfe; QVector<int> antworten; int esc; } saetze[] = {
      {vbOKOnly, {vbOK}, vbOK},
      {vbOKCancel, {vbOK, vbCancel}, vbCancel},
      {vbAbortRetryIgnore, {vbAbort, vbRetry, vbIgnore}, vbAbort},
      {vbYesNoCancel, {vbYes, vbNo, vbCancel}, vbCancel},
      {vbYesNo, {vbYes, vbNo}, vbNo},
      {vbRetryCancel, {vbRetry, vbCancel}, vbCancel},
  };
  for (const auto& s : saetze) {
    for (int v = 0; v < 3; ++v) {
      thema = 0;
      EXPECT_EQ(MitBox([&] { return MsgBox("?", s.knoepfe | v << 8 | vbQuestion | vbMsgBoxHelpButton, {}, 7 + v); },
                       [](QWidget* b) {
                         qobject_cast<QMessageBox*>(b)->button(QMessageBox::Help)->click();
                         EXPECT_TRUE(b->isVisible());
                         Taste(b, Qt::Key_Return);
                       }),
                s.antworten.value(v, s.antworten[0]))
          << s.knoepfe << ", Vorgabe " << v + 1;
      EXPECT_EQ(thema, 7 + v);
    }
    EXPECT_EQ(MitBox([&] { return MsgBox("?", s.knoepfe | vbDefaultButton2); }, [](QWidget* b) { Taste(b, Qt::Key_Escape); }),
              s.esc) << s.knoepfe;
    EXPECT_EQ(MitBox([&] { return MsgBox("?", s.knoepfe); }, [](QWidget* b) { b->close(); }), s.esc) << s.knoepfe;
  }
  SetzeHilfeAufruf(nullptr);
}

// No message or input box is larger than the screen: long texts, many lines and words longer
// than a line wrap in a bounded view that scrolls and still holds the whole text.
TEST(EchteMeldung, PasstAufDenBildschirm) {
  QString woerter, zeilen;
  while (woerter.size() < 200000) woerter += "Nachricht an alle Benutzer ";
  for (int i = 0; i < 300; ++i) zeilen += QString("Zeile %1\n").arg(i);
  const struct { QString text; bool ansicht; } faelle[] = {
      {"Kurz.", false}, {woerter, true}, {zeilen, true}, {"http://a.de/" + QString(65000, u'x'), true},
      {"Kann nicht geöffnet werden:\n\nhttp://a.de/" + QString(300, u'y'), true},
  };
  for (const auto& f : faelle) {
    for (const bool eingabe : {false, true}) {
      const std::string name = std::to_string(f.text.size()) + (eingabe ? " Eingabe" : " Meldung");
      auto pruefen = [&](QWidget* box) {
        EXPECT_TRUE(box->screen()->availableGeometry().contains(box->frameGeometry())) << name;
        auto* ansicht = box->findChild<QPlainTextEdit*>("Meldungstext");
        EXPECT_EQ(ansicht != nullptr, f.ansicht) << name;
        if (ansicht) {
          EXPECT_EQ(ansicht->toPlainText(), f.text) << name;
          EXPECT_EQ(ansicht->horizontalScrollBar()->maximum(), 0) << name;
        }
        if (eingabe) QTest::keyClicks(box->focusWidget(), "neu");  // replaces the default
        Taste(box, f.ansicht ? Qt::Key_Return : Qt::Key_Escape);
      };
      bool abgebrochen = false;
      if (eingabe)
        EXPECT_EQ(MitBox([&] { return InputBox(f.text, "Test", "Vorgabe", &abgebrochen); }, pruefen),
                  f.ansicht ? "neu" : "") << name;
      else
        EXPECT_EQ(MitBox([&] { return MsgBox(f.text, vbOKCancel | vbInformation); }, pruefen),
                  f.ansicht ? vbOK : vbCancel) << name;
      EXPECT_EQ(abgebrochen, eingabe && !f.ansicht) << name;
    }
  }
}

// Qt's own texts read German: the edit menu of a text box and the standard buttons.
TEST(Uebersetzung, QtsEigeneTexteSindDeutsch) {
  ASSERT_TRUE(Plattform::DeutschLaden()) << "Qt-Übersetzungen (qt6-translations-l10n) fehlen";
  QLineEdit feld;
  feld.setText("x");
  std::unique_ptr<QMenu> menue(feld.createStandardContextMenu());
  QStringList texte;
  for (QAction* a : menue->actions()) texte << a->text().remove('&').section('\t', 0, 0);
  EXPECT_TRUE(texte.contains("Einfügen")) << texte.join('|').toStdString();
  QDialogButtonBox knoepfe(QDialogButtonBox::Cancel | QDialogButtonBox::Yes);
  EXPECT_EQ(knoepfe.button(QDialogButtonBox::Cancel)->text().remove('&'), "Abbrechen");
}
