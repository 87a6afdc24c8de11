// Colour numbers as the Windows version stores them in its settings and note files, which
// this program reads and writes alike.
#include "farben.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QPalette>
#include <limits>

namespace Plattform {

namespace {

constexpr quint32 kSystemBit = 0x80000000u;
constexpr int kSystemAnzahl = 31;  // system colour indexes 0 .. 30

// Each system colour: the palette entry that plays its part on this desktop, and the
// Windows default used when no GUI application (and so no palette) exists.
struct SystemFarbe {
  QPalette::ColorGroup gruppe;
  QPalette::ColorRole rolle;  // NoRole: no palette entry, the default always applies
  quint8 r, g, b;
};

constexpr QPalette::ColorGroup A = QPalette::Active;
constexpr QPalette::ColorGroup D = QPalette::Disabled;

const SystemFarbe kSystemFarben[kSystemAnzahl] = {
    {A, QPalette::Button, 200, 200, 200},            //  0 scroll bar
    {A, QPalette::NoRole, 58, 110, 165},             //  1 desktop
    {A, QPalette::Highlight, 153, 180, 209},         //  2 active caption
    {A, QPalette::Mid, 191, 205, 219},               //  3 inactive caption
    {A, QPalette::Window, 240, 240, 240},            //  4 menu
    {A, QPalette::Base, 255, 255, 255},              //  5 window background
    {A, QPalette::Shadow, 100, 100, 100},            //  6 window frame
    {A, QPalette::WindowText, 0, 0, 0},              //  7 menu text
    {A, QPalette::Text, 0, 0, 0},                    //  8 window text
    {A, QPalette::HighlightedText, 0, 0, 0},         //  9 caption text
    {A, QPalette::Button, 180, 180, 180},            // 10 active border
    {A, QPalette::Button, 244, 247, 252},            // 11 inactive border
    {A, QPalette::Dark, 171, 171, 171},              // 12 application work space
    {A, QPalette::Highlight, 0, 120, 215},           // 13 highlight
    {A, QPalette::HighlightedText, 255, 255, 255},   // 14 highlight text
    {A, QPalette::Button, 240, 240, 240},            // 15 button face
    {A, QPalette::Dark, 160, 160, 160},              // 16 button shadow
    {D, QPalette::Text, 109, 109, 109},              // 17 grey text
    {A, QPalette::ButtonText, 0, 0, 0},              // 18 button text
    {A, QPalette::WindowText, 0, 0, 0},              // 19 inactive caption text
    {A, QPalette::Light, 255, 255, 255},             // 20 button highlight
    {A, QPalette::Shadow, 105, 105, 105},            // 21 3D dark shadow
    {A, QPalette::Midlight, 227, 227, 227},          // 22 3D light
    {A, QPalette::ToolTipText, 0, 0, 0},             // 23 tool tip text
    {A, QPalette::ToolTipBase, 255, 255, 225},       // 24 tool tip background
    {A, QPalette::NoRole, 0, 0, 0},                  // 25 unused
    {A, QPalette::Link, 0, 102, 204},                // 26 hot-track
    {A, QPalette::Highlight, 185, 209, 234},         // 27 caption gradient, active
    {A, QPalette::Mid, 215, 228, 242},               // 28 caption gradient, inactive
    {A, QPalette::Highlight, 51, 153, 255},          // 29 menu highlight
    {A, QPalette::Window, 240, 240, 240},            // 30 menu bar
};

bool IstFarbe(quint64 wert) {
  return wert <= 0xFFFFFFu || (wert >= kSystemBit && wert < kSystemBit + kSystemAnzahl);
}

bool NurZiffern(QStringView t, int basis) {
  if (t.isEmpty()) return false;
  for (QChar c : t) {
    const bool ziffer = c >= u'0' && c <= u'9';
    const bool hex = (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
    if (!(ziffer || (basis == 16 && hex))) return false;
  }
  return true;
}

}  // namespace

quint32 FarbZahlLesen(const QString& text, bool* ok) {
  const QString t = text.trimmed();
  quint64 wert = 0;
  bool gut = false;
  if (t.startsWith(QLatin1String("&H"), Qt::CaseInsensitive)) {
    // "&HFF", "&H80000012&". Always read as an unsigned 32-bit number: "&HC0C0" is the colour
    // 0xC0C0, never the negative 16-bit number the runtime made of it without the "&".
    QStringView ziffern = QStringView(t).mid(2);
    if (ziffern.endsWith(u'&')) ziffern.chop(1);
    if (ziffern.size() <= 8 && NurZiffern(ziffern, 16)) wert = ziffern.toULongLong(&gut, 16);
  } else {
    QStringView ziffern(t);
    const bool negativ = ziffern.startsWith(u'-');
    if (negativ || ziffern.startsWith(u'+')) ziffern = ziffern.mid(1);
    if (ziffern.size() <= 10 && NurZiffern(ziffern, 10)) {
      const qint64 betrag = ziffern.toLongLong(&gut, 10);
      const qint64 zahl = negativ ? -betrag : betrag;
      // Negative numbers are the 32-bit form of system colours ("-2147483633").
      if (gut && zahl >= std::numeric_limits<qint32>::min() && zahl <= qint64(0xFFFFFFFFu))
        wert = quint32(zahl);
      else
        gut = false;
    }
  }
  gut = gut && IstFarbe(wert);
  if (ok) *ok = gut;
  return gut ? quint32(wert) : 0;
}

QString FarbZahlText(quint32 farbe) { return QString::number(qint32(farbe)); }

QColor ZuQColor(quint32 farbe) {
  if (farbe & kSystemBit) {
    const quint32 index = farbe & ~kSystemBit;
    if (index >= quint32(kSystemAnzahl)) return QColor(0, 0, 0);  // as the system answers
    const SystemFarbe& s = kSystemFarben[index];
    if (s.rolle != QPalette::NoRole && qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
      return QGuiApplication::palette().color(s.gruppe, s.rolle);
    return QColor(s.r, s.g, s.b);
  }
  return QColor(int(farbe & 0xFF), int((farbe >> 8) & 0xFF), int((farbe >> 16) & 0xFF));
}

quint32 AusQColor(const QColor& farbe) {
  if (!farbe.isValid()) return 0;
  const QColor c = farbe.toRgb();
  return quint32(c.red()) | (quint32(c.green()) << 8) | (quint32(c.blue()) << 16);
}

}  // namespace Plattform
