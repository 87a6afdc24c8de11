#include <QGuiApplication>
#include <QPalette>
#include <gtest/gtest.h>

#include "platform/farben.h"

using namespace Plattform;

TEST(FarbZahl, Lesen) {
  struct Fall { const char* text; bool ok; quint32 wert; };
  const Fall faelle[] = {
      {"255", true, 255}, {"0", true, 0}, {"+255", true, 255}, {" 255 ", true, 255},
      {"16777215", true, 0xFFFFFF}, {"-2147483630", true, 0x80000012},
      {"-2147483633", true, 0x8000000F}, {"2147483653", true, 0x80000005},
      {"&HFF", true, 0xFF}, {"&hff", true, 0xFF}, {"&HFF&", true, 0xFF},
      {"&H80000012&", true, 0x80000012}, {"&H8000001E", true, 0x8000001E},
      {"&H00C0FFFF&", true, 0x00C0FFFF}, {"&HC0C0", true, 0xC0C0}, {"&H0", true, 0},
      // not colour numbers
      {"", false, 0}, {"abc", false, 0}, {"&H", false, 0}, {"&H&", false, 0}, {"&HXYZ", false, 0},
      {"&H123456789", false, 0}, {"&H8000001F", false, 0}, {"&H01000000", false, 0},
      {"16777216", false, 0}, {"-1", false, 0}, {"-", false, 0}, {"12.5", false, 0},
      {"0x12", false, 0}, {"99999999999", false, 0}, {"-2147483649", false, 0},
      {"&H-1", false, 0}, {"1 2", false, 0}, {"255&", false, 0},
  };
  for (const auto& f : faelle) {
    bool ok = !f.ok;
    EXPECT_EQ(FarbZahlLesen(QString::fromUtf8(f.text), &ok), f.wert) << f.text;
    EXPECT_EQ(ok, f.ok) << f.text;
  }
  EXPECT_EQ(FarbZahlLesen("&HFF"), 0xFFu);  // without the ok pointer
}

TEST(FarbZahl, TextWieGespeichertUndZurueck) {
  struct Fall { quint32 wert; const char* text; };
  const Fall faelle[] = {
      {0, "0"}, {255, "255"}, {0xFFFFFF, "16777215"}, {0x80000012, "-2147483630"},
      {0x8000000F, "-2147483633"}, {0x80000000, "-2147483648"}, {0x00C0FFFF, "12648447"},
  };
  for (const auto& f : faelle) {
    EXPECT_EQ(FarbZahlText(f.wert).toStdString(), f.text);
    bool ok = false;
    EXPECT_EQ(FarbZahlLesen(FarbZahlText(f.wert), &ok), f.wert) << f.text;
    EXPECT_TRUE(ok) << f.text;
  }
}

TEST(FarbZahl, ZuQColorUndZurueck) {
  struct Fall { quint32 wert; QColor farbe; };
  const Fall faelle[] = {
      {0x0000FF, QColor(255, 0, 0)}, {0x00FF00, QColor(0, 255, 0)}, {0xFF0000, QColor(0, 0, 255)},
      {0x00C0FFFF, QColor(255, 255, 192)}, {0x030201, QColor(1, 2, 3)}, {0, QColor(0, 0, 0)},
      {0xFFFFFF, QColor(255, 255, 255)},
  };
  for (const auto& f : faelle) {
    EXPECT_EQ(ZuQColor(f.wert), f.farbe) << f.wert;
    EXPECT_EQ(AusQColor(f.farbe), f.wert) << f.wert;
  }
  EXPECT_EQ(AusQColor(QColor()), 0u);
  EXPECT_EQ(AusQColor(QColor::fromHsv(0, 255, 255)), 0x0000FFu);  // other colour models too
  EXPECT_EQ(ZuQColor(0x8000001F), QColor(0, 0, 0));  // no such system colour
}

TEST(FarbZahl, SystemfarbenFolgenDerPalette) {
  ASSERT_NE(qobject_cast<QGuiApplication*>(QCoreApplication::instance()), nullptr);
  const QPalette alt = QGuiApplication::palette();
  // Distinct colours per role, so a wrong mapping cannot pass by chance.
  QPalette p;
  struct Rolle { QPalette::ColorRole rolle; QColor farbe; };
  const Rolle rollen[] = {
      {QPalette::Base, QColor(1, 1, 1)},       {QPalette::Text, QColor(2, 2, 2)},
      {QPalette::Button, QColor(3, 3, 3)},     {QPalette::ButtonText, QColor(4, 4, 4)},
      {QPalette::Highlight, QColor(5, 5, 5)},  {QPalette::HighlightedText, QColor(6, 6, 6)},
      {QPalette::Window, QColor(7, 7, 7)},     {QPalette::WindowText, QColor(8, 8, 8)},
      {QPalette::ToolTipBase, QColor(9, 9, 9)}, {QPalette::ToolTipText, QColor(10, 10, 10)},
  };
  for (const auto& r : rollen) p.setColor(QPalette::All, r.rolle, r.farbe);
  QGuiApplication::setPalette(p);
  struct Fall { quint32 wert; QColor farbe; };
  const Fall faelle[] = {
      {0x80000005, QColor(1, 1, 1)},  // window background
      {0x80000008, QColor(2, 2, 2)},  // window text
      {0x8000000F, QColor(3, 3, 3)},  // button face
      {0x80000012, QColor(4, 4, 4)},  // button text
      {0x8000000D, QColor(5, 5, 5)},  // highlight
      {0x8000000E, QColor(6, 6, 6)},  // highlight text
      {0x80000004, QColor(7, 7, 7)},  // menu
      {0x80000007, QColor(8, 8, 8)},  // menu text
      {0x80000018, QColor(9, 9, 9)},  // tool tip background
      {0x80000017, QColor(10, 10, 10)},
  };
  for (const auto& f : faelle) EXPECT_EQ(ZuQColor(f.wert), f.farbe) << std::hex << f.wert;
  QGuiApplication::setPalette(alt);
}
