#pragma once
// Small text rules shared by the foundation's own files; not for other folders.
#include <QString>

namespace Z_Alles::Intern {

// Blanks only; tabs and line breaks are part of a value and are kept.
inline QString BlanksTrimmen(const QString& t) {
  qsizetype a = 0, e = t.size();
  while (a < e && t[a] == u' ') ++a;
  while (e > a && t[e - 1] == u' ') --e;
  return t.mid(a, e - a);
}

// A folder without trailing "\" or "/" (a lone "/" stays).
inline QString OhneEndtrenner(QString o) {
  while (o.size() > 1 && (o.back() == u'/' || o.back() == u'\\')) o.chop(1);
  return o;
}

}  // namespace Z_Alles::Intern
