// The editor's double-click copy command: a line that begins with the copy marker holds a text
// to be put on the clipboard, with message markup and placeholders expanded.
#include <QClipboard>
#include <QGuiApplication>

#include "foundation/z_alles.h"
#include "printing/z_vario.h"

namespace Z_Vario {

std::optional<QString> KopierText(const QString& zeile) {
  const QString text = zeile.trimmed();
  if (!text.startsWith(KopierMarke, Qt::CaseInsensitive)) return std::nullopt;
  const qsizetype doppelpunkt = text.indexOf(QLatin1Char(':'));
  const QString rest = doppelpunkt >= 0 ? text.mid(doppelpunkt + 1) : text;
  // The markup runs on what the user wrote; the placeholders come last, so values they insert
  // (file names with "~", settings texts) reach the clipboard as they are. The markup knows a
  // date token of its own: braces are hidden from it, so every token here means what it means
  // in a note.
  const QChar versteckt(0xE000);  // a private-use character; not used when the line holds one
  QString markiert = rest;
  const bool verstecken = !markiert.contains(versteckt);
  if (verstecken) markiert.replace(QLatin1Char('{'), versteckt);
  markiert = Z_Alles::MeldungsText(markiert).trimmed();
  if (verstecken) markiert.replace(versteckt, QLatin1Char('{'));
  return VarioErsetzen(markiert);
}

std::optional<QString> KopierTextAnStelle(const QString& editorText, int position) {
  const int p = qBound(0, position, int(editorText.size()));
  auto zeilenende = [](QChar c) { return c == u'\n' || c == u'\r'; };
  int anfang = p;
  while (anfang > 0 && !zeilenende(editorText[anfang - 1])) --anfang;
  int ende = p;
  while (ende < editorText.size() && !zeilenende(editorText[ende])) ++ende;
  return KopierText(editorText.mid(anfang, ende - anfang));
}

bool KopierBefehl(const QString& editorText, int position) {
  const auto text = KopierTextAnStelle(editorText, position);
  if (!text) return false;
  QClipboard* ablage = QGuiApplication::clipboard();
  ablage->clear();
  ablage->setText(*text);
  return true;
}

}  // namespace Z_Vario
