#include "printing/z_textandrucker.h"

#include "foundation/z_alles.h"
#include "printing/z_alles_druck.h"
#include "platform/dialoge.h"
#include "platform/drucker.h"

namespace Z_TextAnDrucker {

namespace {

bool istTrenner(QChar c) {
  static const QString trenner = QStringLiteral("\r -:=/&!?");
  return trenner.contains(c);
}

qsizetype ohneZeilenvorschub(const QString& text) {
  return text.size() - text.count(QLatin1Char('\n'));
}

}  // namespace

QString TextDrucken(QString& text, double x, double y, double rechts, double unten, bool* abgebrochen) {
  Plattform::Drucker& p = Plattform::Printer();
  if (abgebrochen) *abgebrochen = false;
  if (x >= 0) p.setCurrentX(x);
  if (y >= 0) p.setCurrentY(y);
  // The defaults lie inside the printable area however far the origin was shifted.
  if (rechts <= x || rechts < 0) rechts = p.ScaleLeft() + p.ScaleWidth() - 1;
  if (unten <= y || unten < 0) unten = p.ScaleTop() + p.ScaleHeight() - 2 * p.TextHeight(QStringLiteral("Ay"));
  // The font does not change while the page is filled.
  const double zeilenbedarf = 1.5 * p.TextHeight(QStringLiteral("ABCxyz"));

  const qsizetype n = text.size();
  qsizetype pos = 0;
  QString wort;
  do {
    wort.clear();
    while (pos < n) {
      const QChar c = text[pos++];
      if (c == QLatin1Char('\n')) continue;
      wort += c;
      if (istTrenner(c)) break;
    }
    if (p.CurrentX() + p.TextWidth(wort + QStringLiteral("  ")) >= rechts) {
      p.Print(QString(), true);
      if (x >= 0) p.setCurrentX(x);
    }
    if (p.CurrentY() + zeilenbedarf >= unten) {
      text = text.mid(pos);
      return wort + text;
    }
    p.Print(wort, false);
    if (Z_Alles::DruckerFehlerAbbruch(QStringLiteral("Fehler beim Textausdruck #1"),
                                      QStringLiteral("Z_TextAnDrucker"))) {
      if (abgebrochen) *abgebrochen = true;
      text = text.mid(pos);
      return {};
    }
    if (p.CurrentX() < x) p.setCurrentX(x);
  } while (pos < n);
  text.clear();
  return {};
}

Seitenlauf SeitenDrucken(QString text, double x, double y, double rechts, double unten,
                         const std::function<bool(int seite)>& seitenKopf) {
  Plattform::Drucker& p = Plattform::Printer();
  for (int seite = 1; !text.isEmpty(); ++seite) {
    if (seitenKopf && !seitenKopf(seite)) return Seitenlauf::Abgebrochen;
    const qsizetype vorher = ohneZeilenvorschub(text);
    bool abgebrochen = false;
    QString rest = TextDrucken(text, x, y, rechts, unten, &abgebrochen);
    p.EndPage();
    if (abgebrochen) return Seitenlauf::Abgebrochen;
    // Only line feeds of the first word were read: the next page would fare no better.
    if (!rest.isEmpty() && ohneZeilenvorschub(rest) == vorher) {
      p.EndDoc();
      Plattform::MsgBox(QStringLiteral("Der Text passt nicht auf die Seite."), Plattform::vbExclamation,
                        Z_Alles::ProgrammTitel);
      return Seitenlauf::PasstNicht;
    }
    text = std::move(rest);
  }
  return Seitenlauf::Fertig;
}

}  // namespace Z_TextAnDrucker
