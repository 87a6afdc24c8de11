#include <QAccessible>
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

// Shows a real box and hands it to druecken as soon as it is up; returns the box's answer.
int MitEchterBox(const QString& text, int knoepfe, const std::function<void(QWidget*)>& druecken,
                 int hilfeThema = 0) {
  SetzeDialogDienst(nullptr);
  QTimer::singleShot(0, [&] {
    QWidget* box = QApplication::activeModalWidget();
    if (!box) {
      ADD_FAILURE() << "keine Meldung offen";
      if (QWidget* w = QApplication::activeModalWidget()) w->close();
      return;
    }
    druecken(box);
  });
  return MsgBox(text, knoepfe, "Test", hilfeThema);
}

// A key as the keyboard sends it: to the widget with the focus.
void Taste(QWidget* box, Qt::Key taste) {
  QWidget* ziel = box->focusWidget() ? box->focusWidget() : box;
  QTest::keyClick(ziel, taste);
}

struct Satz { int knoepfe; QVector<int> antworten; int nachEsc; };
const Satz kSaetze[] = {
    {vbOKOnly, {vbOK}, vbOK},
    {vbOKCancel, {vbOK, vbCancel}, vbCancel},
    {vbAbortRetryIgnore, {vbAbort, vbRetry, vbIgnore}, vbAbort},
    {vbYesNoCancel, {vbYes, vbNo, vbCancel}, vbCancel},
    {vbYesNo, {vbYes, vbNo}, vbNo},
    {vbRetryCancel, {vbRetry, vbCancel}, vbCancel},
};

}  // namespace

// Return answers with the button the caller named as default (the first where it names none
// of the box's buttons); Esc and the frame's close button with the safe answer, never "Ja".
TEST(EchteMeldung, ReturnVorgabeUndEsc) {
  const int vorgaben[] = {vbDefaultButton1, vbDefaultButton2, vbDefaultButton3};
  for (const Satz& s : kSaetze) {
    for (int v = 0; v < 3; ++v) {
      const int erwartet = s.antworten.value(v, s.antworten[0]);
      const int antwort = MitEchterBox("Wirklich?", s.knoepfe | vorgaben[v] | vbQuestion,
                                       [](QWidget* box) { Taste(box, Qt::Key_Return); });
      EXPECT_EQ(antwort, erwartet) << "Knöpfe " << s.knoepfe << ", Vorgabe " << v + 1;
    }
    EXPECT_EQ(MitEchterBox("Wirklich?", s.knoepfe | vbDefaultButton2,
                           [](QWidget* box) { Taste(box, Qt::Key_Escape); }),
              s.nachEsc)
        << s.knoepfe;
    EXPECT_EQ(MitEchterBox("Wirklich?", s.knoepfe, [](QWidget* box) { box->close(); }), s.nachEsc)
        << s.knoepfe;
  }
}

// Help opens the help and leaves the box open; the buttons read German and name themselves.
TEST(EchteMeldung, HilfeLaesstOffen) {
  static int thema = 0;
  SetzeHilfeAufruf([](int t) { thema = t; });
  QStringList texte;
  bool offen = false;
  const int antwort = MitEchterBox("Wirklich?", vbYesNoCancel | vbDefaultButton2 | vbMsgBoxHelpButton, [&](QWidget* w) {
    auto* box = qobject_cast<QMessageBox*>(w);
    ASSERT_NE(box, nullptr);
    for (QAbstractButton* b : box->buttons())
      texte << b->text().remove('&') + "/" + QAccessible::queryAccessibleInterface(b)->text(QAccessible::Name);
    box->button(QMessageBox::Help)->click();
    offen = box->isVisible();
    Taste(box, Qt::Key_Return);
  }, 4711);
  SetzeHilfeAufruf(nullptr);
  EXPECT_EQ(thema, 4711);
  EXPECT_TRUE(offen);
  EXPECT_EQ(antwort, vbNo);
  texte.sort();
  EXPECT_EQ(texte.join('|').toStdString(), "Abbrechen/Abbrechen|Hilfe/Hilfe|Ja/Ja|Nein/Nein");
}

// No box is larger than the screen: long texts, many lines and words longer than a line wrap
// within a bounded view that scrolls; the whole text is still there to read and copy.
TEST(EchteMeldung, PasstAufDenBildschirm) {
  QString woerter;
  while (woerter.size() < 200000) woerter += "Nachricht an alle Benutzer ";
  QString zeilen;
  for (int i = 0; i < 300; ++i) zeilen += QString("Zeile %1\r\n").arg(i);
  const QString link = "http://a.de/" + QString(65000, u'x');
  const struct { QString text; bool ansicht; } faelle[] = {
      {"Kurz.", false}, {woerter, true}, {zeilen, true}, {link, true},
      {"Kann nicht geöffnet werden:\r\n\r\nhttp://a.de/" + QString(300, u'y'), true},
  };
  for (const auto& f : faelle) {
    for (const bool eingabe : {false, true}) {
      const QString name = QString("%1 Zeichen, %2").arg(f.text.size()).arg(eingabe ? "Eingabe" : "Meldung");
      auto pruefen = [&](QWidget* box) {
        const QRect frei = box->screen()->availableGeometry();
        EXPECT_TRUE(frei.contains(box->frameGeometry())) << name.toStdString() << ": "
            << box->frameGeometry().width() << "x" << box->frameGeometry().height();
        auto* ansicht = box->findChild<QPlainTextEdit*>("Meldungstext");
        EXPECT_EQ(ansicht != nullptr, f.ansicht) << name.toStdString();
        if (ansicht) {
          EXPECT_EQ(ansicht->toPlainText(), QString(f.text).replace("\r\n", "\n")) << name.toStdString();
          EXPECT_EQ(ansicht->horizontalScrollBar()->maximum(), 0) << name.toStdString();
        }
        Taste(box, Qt::Key_Escape);
      };
      if (eingabe) {
        SetzeDialogDienst(nullptr);
        QTimer::singleShot(0, [&] { pruefen(QApplication::activeModalWidget()); });
        bool abgebrochen = false;
        InputBox(f.text, "Test", "Vorgabe", &abgebrochen);
        EXPECT_TRUE(abgebrochen) << name.toStdString();
      } else {
        EXPECT_EQ(MitEchterBox(f.text, vbOKOnly | vbInformation, pruefen), vbOK) << name.toStdString();
      }
    }
  }
}

// The input box: Return takes the typed text, Esc cancels with an empty text.
TEST(EchteEingabe, ReturnUndEsc) {
  SetzeDialogDienst(nullptr);
  for (const bool esc : {false, true}) {
    QTimer::singleShot(0, [&] {
      QWidget* box = QApplication::activeModalWidget();
      ASSERT_NE(box, nullptr);
      EXPECT_EQ(box->focusWidget()->metaObject()->className(), std::string("QLineEdit"));
      QTest::keyClicks(box->focusWidget(), "neu");  // replaces the selected default
      QTest::keyClick(box->focusWidget(), esc ? Qt::Key_Escape : Qt::Key_Return);
    });
    bool abgebrochen = !esc;
    EXPECT_EQ(InputBox("Satz?", "Test", "19", &abgebrochen), esc ? "" : "neu");
    EXPECT_EQ(abgebrochen, esc);
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
