#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <QDialogButtonBox>
#include <QLineEdit>
#include <QMenu>
#include <memory>

#include "platform/dialoge.h"
#include "platform/uebersetzung.h"

using namespace Plattform;

// The real boxes, driven by keys: Esc answers only where the system's box would.
TEST(EchteMeldung, EscAntwortetNurMitAbbrechenOderOk) {
  SetzeDialogDienst(nullptr);
  struct Fall { int knoepfe; int nachEsc; };  // 0: the box stays open
  const Fall faelle[] = {
      {vbOKOnly, vbOK}, {vbOKCancel, vbCancel}, {vbYesNoCancel, vbCancel},
      {vbRetryCancel, vbCancel}, {vbYesNo, 0}, {vbAbortRetryIgnore, 0},
  };
  for (const Fall& f : faelle) {
    bool offenNachEsc = false;
    QTimer::singleShot(0, [&] {
      QWidget* box = QApplication::activeModalWidget();
      ASSERT_NE(box, nullptr);
      QTest::keyClick(box, Qt::Key_Escape);
      box->close();  // the frame's close button
      offenNachEsc = box->isVisible();
      // Still open: answer with its last button ("Nein", "Ignorieren").
      if (offenNachEsc) box->findChildren<QPushButton*>().last()->click();
    });
    const int antwort = MsgBox("Wirklich?", f.knoepfe | vbQuestion);
    if (f.nachEsc) {
      EXPECT_FALSE(offenNachEsc) << f.knoepfe;
      EXPECT_EQ(antwort, f.nachEsc) << f.knoepfe;
    } else {
      EXPECT_TRUE(offenNachEsc) << f.knoepfe;
      EXPECT_EQ(antwort, f.knoepfe == vbYesNo ? vbNo : vbIgnore) << f.knoepfe;
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
