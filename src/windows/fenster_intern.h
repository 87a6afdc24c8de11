#pragma once
// Small helpers the auxiliary windows share; not for other folders.
#include <QIcon>
#include <QPointer>
#include <QWidget>
#include <functional>

#include "foundation/hauptfenster.h"
#include "foundation/z_alles.h"

namespace Hilfsfenster::Intern {

// Every window takes the main window's icon when it loads.
inline void SymbolUebernehmen(QWidget* fenster) {
  if (Hauptfenster* h = Hauptfenster::Instanz()) {
    const QIcon s = h->symbol();
    if (!s.isNull()) fenster->setWindowIcon(s);
  }
}

// Shows a modal window and deletes it afterwards. Made on the heap, never on the stack with an
// owner: an owner that goes while the window is open takes it along, and a window on the stack
// would then be destroyed a second time.
template <class Fenster>
void ModalZeigen(QWidget* besitzer, const std::function<void(Fenster&)>& einrichten = {}) {
  QPointer<Fenster> fenster = new Fenster(besitzer);
  if (einrichten) einrichten(*fenster);
  fenster->exec();
  delete fenster;
}

// A flag of the program's settings, read as the main window reads them: any number but 0 is on.
inline bool FlagGesetzt(const QString& schluessel, const QString& vorgabe) {
  return Z_Alles::IniLesen({}, {}, schluessel, vorgabe).trimmed().toDouble() != 0;
}
// A flag as stored.
inline QString FlagText(bool an) { return an ? QStringLiteral("1") : QStringLiteral("0"); }

}  // namespace Hilfsfenster::Intern
