#pragma once
// Shared within the program services, not for other folders: what they remember during a run
// (reset for tests by Programmdienste::Zuruecksetzen) and helpers more than one of them uses.
#include <QString>
#include <functional>

class QRegularExpression;

namespace Programmdienste::Intern {
void StatistikZuruecksetzen();
void NetWatchZuruecksetzen();

// Replaces each match of muster in one command argument by wert(first capture), in one pass:
// a value that holds a placeholder, a blank or a quote stays what it is. ersetzt (optional)
// tells whether anything matched.
QString PlatzhalterErsetzen(const QString& teil, const QRegularExpression& muster,
                            const std::function<QString(const QString&)>& wert, bool* ersetzt = nullptr);
}  // namespace Programmdienste::Intern
