// Text helpers of Z_Alles: replace-all, the message markup and inserting into editor boxes.
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTextEdit>

#include "foundation/z_alles.h"
#include "platform/dialoge.h"
#include "platform/laufzeit.h"
#include "platform/system.h"

namespace Z_Alles {

QString Ersetzen(const QString& text, const QString& suchen, const QString& ersatz) {
  if (text.isEmpty() || suchen.isEmpty()) return text;
  QString aus;
  qsizetype pos = 0;
  qsizetype anzahl = 0;
  const qsizetype hoechstens = text.size();
  while (anzahl < hoechstens) {
    const qsizetype fund = text.indexOf(suchen, pos, Qt::CaseInsensitive);
    if (fund < 0) break;
    aus += QStringView(text).mid(pos, fund - pos);
    aus += ersatz;
    pos = fund + suchen.size();
    ++anzahl;
  }
  if (anzahl == 0) return text;
  aus += QStringView(text).mid(pos);
  return aus;
}

namespace {

// Text between two equal accents goes between » and «; a lone last accent stays.
QString akzenteMarkieren(const QString& text, QChar akzent) {
  QString t = text;
  for (;;) {
    const qsizetype a = t.indexOf(akzent);
    if (a < 0) break;
    const qsizetype e = t.indexOf(akzent, a + 1);
    if (e < 0) break;
    t[a] = QChar(0x00BB);  // »
    t[e] = QChar(0x00AB);  // «
  }
  return t;
}

QString datumHeute() {
  return Laufzeit::Format(Plattform::Jetzt().date(), QStringLiteral("dd.mm.yyyy"));
}

}  // namespace

QString MeldungsText(const QString& text) {
  qsizetype start = 0;
  while (start < text.size() && text[start] == u' ') ++start;
  QString t = text.mid(start);
  t.replace(u'~', QStringLiteral("\r\n"));
  t = Ersetzen(t, QStringLiteral("^t"), QStringLiteral("\t"));
  t = Ersetzen(t, QStringLiteral("{datum}"), datumHeute());
  t.replace(QStringLiteral(" \r\n"), QStringLiteral("\r\n"));
  t = akzenteMarkieren(t, QChar(0x00B4));  // ´
  t = akzenteMarkieren(t, QChar(u'`'));
  const QString drei = QStringLiteral("\r\n\r\n\r\n");
  while (t.contains(drei)) t.replace(drei, QStringLiteral("\r\n\r\n"));
  return t;
}

QString MeldungsText(const QString& vorlage, const QStringList& werte) {
  const QString t = MeldungsText(vorlage);
  QString aus;
  aus.reserve(t.size());
  for (qsizetype i = 0; i < t.size(); ++i) {
    const int nr = i + 1 < t.size() && t[i] == u'%' ? t[i + 1].digitValue() : -1;
    if (nr >= 1 && nr <= werte.size()) {
      aus += werte[nr - 1];
      ++i;
    } else {
      aus += t[i];
    }
  }
  return aus;
}

int Meldung(const QString& vorlage, int knoepfe, const QString& titel, const QStringList& werte, int hilfeThema) {
  return Plattform::MsgBox(MeldungsText(vorlage, werte), knoepfe, titel, hilfeThema);
}

void TextEinfuegen(QWidget* textfeld, const QString& text) {
  if (!textfeld) return;
  if (auto* p = qobject_cast<QPlainTextEdit*>(textfeld)) {
    QTextCursor c = p->textCursor();
    c.insertText(text);
    p->setTextCursor(c);
  } else if (auto* t = qobject_cast<QTextEdit*>(textfeld)) {
    QTextCursor c = t->textCursor();
    c.insertText(text);
    t->setTextCursor(c);
  } else if (auto* l = qobject_cast<QLineEdit*>(textfeld)) {
    l->insert(text);
  } else {
    return;
  }
  textfeld->setFocus();
}

}  // namespace Z_Alles
