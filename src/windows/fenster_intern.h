#pragma once
// Small helpers the auxiliary windows share; not for other folders.
#include <QIcon>
#include <QWidget>

#include "foundation/hauptfenster.h"

namespace Hilfsfenster::Intern {

// Every window takes the main window's icon when it loads.
inline void SymbolUebernehmen(QWidget* fenster) {
  if (Hauptfenster* h = Hauptfenster::Instanz()) {
    const QIcon s = h->symbol();
    if (!s.isNull()) fenster->setWindowIcon(s);
  }
}

}  // namespace Hilfsfenster::Intern
