// Z_String: small text helpers for trimming, counting and cleaning up downloaded pages.
#include "foundation/z_alles.h"
#include "foundation/intern.h"

namespace Z_String {

namespace {

bool istUmbruch(QChar c) { return c == u'\r' || c == u'\n'; }

// Length of the line break at pos (CR LF, LF or CR), 0 when none.
qsizetype umbruchLaenge(const QString& t, qsizetype pos) {
  if (pos >= t.size()) return 0;
  if (t[pos] == u'\r') return (pos + 1 < t.size() && t[pos + 1] == u'\n') ? 2 : 1;
  if (t[pos] == u'\n') return 1;
  return 0;
}

}  // namespace

QString RTrimZeichen(const QString& text, const QString& zeichen) {
  qsizetype e = text.size();
  while (e > 0 && zeichen.contains(text[e - 1])) --e;
  return text.left(e);
}

int AnzahlVorkommen(const QString& text, const QString& teil) {
  if (teil.isEmpty()) return 0;
  int anzahl = 0;
  qsizetype pos = 0;
  while ((pos = text.indexOf(teil, pos, Qt::CaseInsensitive)) >= 0) {
    ++anzahl;
    pos += teil.size();
  }
  return anzahl;
}

QString AbschnittEntfernen(const QString& text, const QString& start, const QString& ende) {
  if (start.isEmpty() || ende.isEmpty()) return text;
  const qsizetype a = text.indexOf(start, 0, Qt::CaseInsensitive);
  if (a < 0) return text;
  const qsizetype e = text.indexOf(ende, a + start.size(), Qt::CaseInsensitive);
  if (e < 0) return text;
  return text.left(a) + text.mid(e + ende.size());
}

QString HtmlZuText(const QString& html, bool zeilenumbruecheBehalten) {
  QString t = html;
  if (!zeilenumbruecheBehalten) {
    // In a page, a line break in the source is only white space.
    t.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    t.replace(u'\r', u' ').replace(u'\n', u' ');
  }
  // Tags: from "<" through the next ">"; an unclosed "<" stays.
  QString ohneTags;
  ohneTags.reserve(t.size());
  qsizetype pos = 0;
  for (;;) {
    const qsizetype a = t.indexOf(u'<', pos);
    const qsizetype e = a < 0 ? -1 : t.indexOf(u'>', a + 1);
    if (a < 0 || e < 0) {
      ohneTags += QStringView(t).mid(pos);
      break;
    }
    ohneTags += QStringView(t).mid(pos, a - pos);
    pos = e + 1;
  }
  t = ohneTags;
  // "&amp;" last, so that "&amp;gt;" stays the text "&gt;".
  static const struct { const char16_t* entitaet; const char16_t* zeichen; } entitaeten[] = {
      {u"&nbsp;", u" "},  {u"&gt;", u">"},    {u"&auml;", u"ä"}, {u"&ouml;", u"ö"},
      {u"&uuml;", u"ü"},  {u"&szlig;", u"ß"}, {u"&quot;", u"\""}, {u"&amp;", u"&"},
  };
  for (const auto& e : entitaeten)
    t.replace(QString::fromUtf16(e.entitaet), QString::fromUtf16(e.zeichen));
  for (int durchgang = 0; durchgang < 2; ++durchgang)
    t.replace(QStringLiteral("  "), QStringLiteral(" "));
  return t;
}

QString ZeilenumbruecheTrimmen(const QString& text) {
  qsizetype a = 0, e = text.size();
  while (a < e && istUmbruch(text[a])) ++a;
  while (e > a && istUmbruch(text[e - 1])) --e;
  const QString t = text.mid(a, e - a);
  // A run of more than two line breaks keeps its first two.
  QString aus;
  aus.reserve(t.size());
  qsizetype i = 0;
  while (i < t.size()) {
    qsizetype l = umbruchLaenge(t, i);
    if (l == 0) {
      aus += t[i++];
      continue;
    }
    int zahl = 0;
    while (l > 0) {
      if (zahl < 2) aus += QStringView(t).mid(i, l);
      ++zahl;
      i += l;
      l = umbruchLaenge(t, i);
    }
  }
  return aus;
}

QString LeerraumNormalisieren(const QString& text) {
  qsizetype a = 0, e = text.size();
  auto leer = [](QChar c) { return c == u' ' || c == u'\r' || c == u'\n'; };
  while (a < e && leer(text[a])) ++a;
  while (e > a && leer(text[e - 1])) --e;
  QString t = text.mid(a, e - a);
  for (int durchgang = 0; durchgang < 10; ++durchgang) {
    t = Z_Alles::Intern::BlanksTrimmen(t);
    t.replace(QStringLiteral(" \r"), QStringLiteral("\r"));
    t.replace(QStringLiteral(" \n"), QStringLiteral("\n"));
    t.replace(QStringLiteral("\n "), QStringLiteral("\n"));
    t.replace(QStringLiteral("\r "), QStringLiteral("\r"));
  }
  return t;
}

}  // namespace Z_String
