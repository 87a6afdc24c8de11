#pragma once
// One of the main window's two editor boxes Text(0) (no word wrap) and Text(1) (word wrap).
// Tab is swallowed, Insert without modifiers toggles overwrite mode, and input that would make
// the note longer than a stored note may be is refused (the box says why; nothing is cut).
#include <QPlainTextEdit>

class NotizEditor : public QPlainTextEdit {
  Q_OBJECT
public:
  explicit NotizEditor(int index, QWidget* parent = nullptr);

  int index() const { return index_; }
  // The whole text with "\n" line ends, every other character as typed.
  QString text() const;
  // Length as stored: a line end counts as two characters.
  int gespeicherteLaenge() const;
  // The caret position as stored: every line end before it counts as two characters.
  int gespeichertePosition() const;
  // Shows text ("\n" line ends) with the caret at position, as setPlainText and setTextCursor
  // would, but faster: see the definition.
  void textZeigen(const QString& text, int position);
  // Whether inserting text with this stored length in place of the selection stays in bounds.
  bool passtHinein(int neueZeichen) const;

Q_SIGNALS:
  // Insert without modifiers was pressed (Text_KeyDown).
  void einfuegemodusUmschalten();
  // Input was refused because the note would be too long.
  void zuLang(const QString& hinweis);
  // A double-click, after the box has selected the word under the mouse.
  void doppelklick();

protected:
  void keyPressEvent(QKeyEvent* e) override;
  void mouseDoubleClickEvent(QMouseEvent* e) override;
  void inputMethodEvent(QInputMethodEvent* e) override;
  void insertFromMimeData(const QMimeData* quelle) override;
  bool canInsertFromMimeData(const QMimeData* quelle) const override;

private:
  void ablehnen();
  int index_;
};
