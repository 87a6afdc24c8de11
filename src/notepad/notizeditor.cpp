#include "notepad/notizeditor.h"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QPlainTextDocumentLayout>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include "notepad/skribondiv.h"

NotizEditor::NotizEditor(int index, QWidget* parent) : QPlainTextEdit(parent), index_(index) {
  setObjectName(QStringLiteral("Text%1").arg(index));
  setLineWrapMode(index == 1 ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
  // Tab goes on to the note tabs, as in any text box of a form; it never goes into a note.
  setTabChangesFocus(true);
}

int NotizEditor::gespeicherteLaenge() const {
  // characterCount() counts one separator per block, including one after the last block.
  const QTextDocument* d = document();
  return (d->characterCount() - 1) + (d->blockCount() - 1);
}

int NotizEditor::gespeichertePosition() const {
  // Only the text before the caret is needed, not the whole note: paragraph and line
  // separators are the line ends.
  QTextCursor c(document());
  c.setPosition(textCursor().position(), QTextCursor::KeepAnchor);
  const QString vorher = c.selectedText();
  int enden = 0;
  for (const QChar z : vorher)
    if (z == QChar::ParagraphSeparator || z == QChar::LineSeparator) ++enden;
  return int(vorher.size()) + enden;
}

void NotizEditor::textZeigen(const QString& text, int position) {
  // Filling the shown document would lay out and measure it again and again while it grows
  // (each change tells the scroll bars). A document filled apart has no one to tell; the box
  // lays out only what it shows once it takes the document over.
  QTextDocument* alt = document();
  auto* neu = new QTextDocument(this);
  neu->setDocumentLayout(new QPlainTextDocumentLayout(neu));
  neu->setDefaultFont(alt->defaultFont());
  neu->setDefaultTextOption(alt->defaultTextOption());
  neu->setDocumentMargin(alt->documentMargin());
  neu->setUndoRedoEnabled(false);
  neu->setPlainText(text);
  neu->setUndoRedoEnabled(alt->isUndoRedoEnabled());
  neu->setModified(false);
  // The box finds a caret by walking line by line from its top line, laying out each line on
  // the way: it starts at the top of the new text, and then near the caret, so that it lays out
  // hardly more than it shows. Meanwhile nothing is painted or scrolled on screen.
  viewport()->setUpdatesEnabled(false);
  verticalScrollBar()->setValue(0);
  // The box's first document belongs to its inner control, which deletes it on the swap.
  const bool unsere = alt->parent() == this;
  // Taking the document over lays out its first line, and a first line reports a new width,
  // which would measure the end of the text for the scroll bars twice: the box measures it
  // once itself at the end of the swap.
  neu->documentLayout()->blockSignals(true);
  setDocument(neu);
  neu->documentLayout()->blockSignals(false);
  if (unsere) delete alt;
  QTextCursor c(neu);
  c.setPosition(qBound(0, position, neu->characterCount() - 1));
  const int sichtbar = viewport()->height() / qMax(1, fontMetrics().lineSpacing());
  verticalScrollBar()->setValue(c.block().firstLineNumber() - sichtbar / 2);
  setTextCursor(c);
  viewport()->setUpdatesEnabled(true);
}

bool NotizEditor::passtHinein(int neueZeichen) const {
  const QTextCursor c = textCursor();
  int weg = 0;
  if (c.hasSelection()) {
    weg = SkribonDiv::GespeicherteLaenge(c.selectedText().replace(QChar::ParagraphSeparator, QLatin1Char('\n')));
  } else if (overwriteMode() && neueZeichen > 0 && !c.atBlockEnd()) {
    weg = 1;  // overwrite mode replaces the character at the caret
  }
  return gespeicherteLaenge() - weg + neueZeichen <= SkribonDiv::MaxZeichen;
}

void NotizEditor::ablehnen() {
  Q_EMIT zuLang(QStringLiteral("Notiz voll (65.500 Zeichen): Eingabe nicht übernommen."));
}

void NotizEditor::mouseDoubleClickEvent(QMouseEvent* e) {
  QPlainTextEdit::mouseDoubleClickEvent(e);
  Q_EMIT doppelklick();
}

void NotizEditor::keyPressEvent(QKeyEvent* e) {
  const Qt::KeyboardModifiers mods = e->modifiers() & ~Qt::KeypadModifier;
  if (e->key() == Qt::Key_Insert && mods == Qt::NoModifier) {
    Q_EMIT einfuegemodusUmschalten();
    e->accept();
    return;
  }
  if (e->key() == Qt::Key_Tab || e->key() == Qt::Key_Backtab) {
    e->accept();  // a Tab never goes into a note, even with nowhere to go
    return;
  }
  if (!isReadOnly()) {
    int neu = 0;
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
      neu = 2;
      if (mods & Qt::ShiftModifier) {
        // Shift+Enter would put a line separator of its own into the text; a note knows only
        // plain line ends.
        if (!passtHinein(neu)) {
          ablehnen();
        } else {
          textCursor().insertText(QStringLiteral("\n"));
          ensureCursorVisible();
        }
        e->accept();
        return;
      }
    } else if (!e->text().isEmpty() && e->text().at(0).category() != QChar::Other_Control &&
               (!(mods & (Qt::ControlModifier | Qt::MetaModifier)) || (mods & Qt::AltModifier))) {
      // Whatever the box would insert counts: characters beyond the basic plane, joiners and
      // private-use characters too, and AltGr, which some systems report as Ctrl+Alt.
      neu = SkribonDiv::GespeicherteLaenge(e->text());
    }
    if (neu > 0 && !passtHinein(neu)) {
      ablehnen();
      e->accept();
      return;
    }
  }
  QPlainTextEdit::keyPressEvent(e);
}

void NotizEditor::inputMethodEvent(QInputMethodEvent* e) {
  if (!isReadOnly() && !e->commitString().isEmpty() &&
      !passtHinein(SkribonDiv::GespeicherteLaenge(e->commitString()))) {
    ablehnen();
    QInputMethodEvent leer(e->preeditString(), e->attributes());
    QPlainTextEdit::inputMethodEvent(&leer);
    return;
  }
  QPlainTextEdit::inputMethodEvent(e);
}

QString NotizEditor::text() const {
  // toPlainText() would turn non-breaking spaces into plain blanks.
  QString t = document()->toRawText();
  for (QChar& c : t)
    if (c == QChar::ParagraphSeparator || c == QChar::LineSeparator) c = QLatin1Char('\n');
  return t;
}

bool NotizEditor::canInsertFromMimeData(const QMimeData* quelle) const {
  return quelle->hasText();
}

void NotizEditor::insertFromMimeData(const QMimeData* quelle) {
  if (!quelle || !quelle->hasText() || isReadOnly()) return;
  const QString text = SkribonDiv::ZeilenendenZuLf(quelle->text());
  // The whole insert or nothing: a paste cut off somewhere would lose text unnoticed.
  if (!passtHinein(SkribonDiv::GespeicherteLaenge(text))) {
    ablehnen();
    return;
  }
  textCursor().insertText(text);
  ensureCursorVisible();
}
