#pragma once
// Small helpers the auxiliary windows share; not for other folders.
#include <QApplication>
#include <QWidget>

#include "foundation/hauptfenster.h"

namespace Hilfsfenster::Intern {

// The hourglass for the length of a block (not without a window system, as in some tests).
struct Sanduhr {
  Sanduhr() {
    if (qobject_cast<QApplication*>(QCoreApplication::instance()))
      QApplication::setOverrideCursor(Qt::WaitCursor);
  }
  ~Sanduhr() {
    if (qobject_cast<QApplication*>(QCoreApplication::instance()))
      QApplication::restoreOverrideCursor();
  }
  Sanduhr(const Sanduhr&) = delete;
  Sanduhr& operator=(const Sanduhr&) = delete;
};

// Every window takes the main window's icon when it loads.
inline void SymbolUebernehmen(QWidget* fenster) {
  if (Hauptfenster* h = Hauptfenster::Instanz()) {
    const QIcon s = h->symbol();
    if (!s.isNull()) fenster->setWindowIcon(s);
  }
}

}  // namespace Hilfsfenster::Intern
